#include "header/header_layout.h"

#include <gtest/gtest.h>

#include "resource.h"

namespace {

struct Expected {
    int id;
    int x;
    int y;
    int width;
    int height;
};

void ExpectLayout(int panelWidth, const Expected (&expected)[HEADER_MOVED_CONTROLS])
{
    const auto layout = HeaderLayout(panelWidth);
    for (int i = 0; i < HEADER_MOVED_CONTROLS; ++i) {
        SCOPED_TRACE(testing::Message() << "width " << panelWidth << ", control " << expected[i].id);
        EXPECT_EQ(layout[i].id, expected[i].id);
        EXPECT_EQ(layout[i].x, expected[i].x);
        EXPECT_EQ(layout[i].y, expected[i].y);
        EXPECT_EQ(layout[i].width, expected[i].width);
        EXPECT_EQ(layout[i].height, expected[i].height);
    }
}

TEST(HeaderLayout, RightBlockFollowsTheRightEdge)
{
    // The panel of a 544-pixel main window has a client area 523 pixels wide.
    ExpectLayout(523, {{IDC_WEB_LINK, 389, 0, 115, 18},
                       {IDC_BY_LABEL, 389, 25, 26, 18},
                       {IDC_CREATOR, 416, 25, 105, 18},
                       {IDC_SAVE, 319, 25, 55, 18},
                       {IDC_EXPLANATION, 110, 19, 199, 28},
                       {IDC_RULE_RIGHT, 378, 0, 1, 50}});
    ExpectLayout(1000, {{IDC_WEB_LINK, 866, 0, 115, 18},
                        {IDC_BY_LABEL, 866, 25, 26, 18},
                        {IDC_CREATOR, 893, 25, 105, 18},
                        {IDC_SAVE, 796, 25, 55, 18},
                        {IDC_EXPLANATION, 110, 19, 676, 28},
                        {IDC_RULE_RIGHT, 855, 0, 1, 50}});
}

TEST(HeaderLayout, NarrowPanelLeavesTheExplanationNoWidth)
{
    for (int width : {324, 323, 100, 0}) {
        const auto layout = HeaderLayout(width);
        EXPECT_EQ(layout[4].id, IDC_EXPLANATION);
        EXPECT_EQ(layout[4].width, 0) << width;
    }
    EXPECT_EQ(HeaderLayout(325)[4].width, 1);
}

} // namespace
