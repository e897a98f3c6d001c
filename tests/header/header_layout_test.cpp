#include "header/header_layout.h"

#include <gtest/gtest.h>

#include "resource.h"

// The right-hand controls keep their distance from the right edge; the explanation takes what is
// left, and none of it in a panel narrower than the fixed blocks.
TEST(HeaderLayout, RightHandControlsFollowThePanelsWidth)
{
    const HeaderPlacement expected[] = {
        {IDC_WEB_LINK, 866, 0, 115, 18, false},    {IDC_BY_LABEL, 866, 25, 26, 18, false},
        {IDC_CREATOR, 893, 25, 105, 18, true},     {IDC_SAVE, 796, 25, 55, 18, true},
        {IDC_EXPLANATION, 110, 19, 676, 28, true}, {IDC_RULE_RIGHT, 855, 0, 1, 50, true}};
    const auto layout = HeaderLayout(1000);
    for (int i = 0; i < HEADER_MOVED_CONTROLS; ++i) {
        const HeaderPlacement& a = layout[i];
        const HeaderPlacement& e = expected[i];
        EXPECT_TRUE(a.id == e.id && a.x == e.x && a.y == e.y && a.width == e.width && a.height == e.height &&
                    a.repaint == e.repaint)
            << "control " << i;
    }
    for (int width : {325, 324, 100, 0})
        EXPECT_EQ(HeaderLayout(width)[4].width, width == 325 ? 1 : 0) << width;
}
