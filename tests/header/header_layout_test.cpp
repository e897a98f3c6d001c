#include "header/header_layout.h"

#include <gtest/gtest.h>

#include "resource.h"

namespace {

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
