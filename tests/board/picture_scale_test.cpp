#include <gtest/gtest.h>

#include "board/picture_scale.h"

TEST(ScaledSize, OneFactorFitsThePictureIntoTheBox)
{
    const struct {
        int width, height, boxWidth, boxHeight;
        int scaledWidth, scaledHeight;
    } cases[] = {
        {800, 600, 260, 260, 260, 195},
        {100, 50, 260, 260, 260, 130},
        {300, 520, 260, 260, 150, 260},
        {26, 13, 260, 260, 260, 130},
        {260, 260, 260, 260, 260, 260},
        {1000, 1000, 260, 260, 260, 260},
        {3, 3, 260, 260, 260, 260},
        // Truncated, not rounded: 260 * 2 / 3 = 173.33 and 260 * 199 / 300 = 172.47.
        {300, 200, 260, 260, 260, 173},
        {300, 199, 260, 260, 260, 172},
        {7, 3, 260, 260, 260, 111},
        // Non-square boxes limit on whichever side is tighter.
        {800, 600, 400, 100, 133, 100},
        {800, 600, 100, 400, 100, 75},
        // Sizes whose factor is not exact in binary still fill the box on the limiting side.
        {3999, 3998, 260, 260, 260, 259},
        {49, 3, 260, 260, 260, 15},
        // A thread-like picture keeps one pixel rather than none.
        {5000, 1, 260, 260, 260, 1},
        {1, 5000, 260, 260, 1, 260},
    };
    for (const auto& c : cases) {
        const PictureSize size = ScaledSize(c.width, c.height, c.boxWidth, c.boxHeight);
        EXPECT_EQ(size.width, c.scaledWidth)
            << c.width << "x" << c.height << " in " << c.boxWidth << "x" << c.boxHeight;
        EXPECT_EQ(size.height, c.scaledHeight)
            << c.width << "x" << c.height << " in " << c.boxWidth << "x" << c.boxHeight;
    }
}

TEST(ScaledSize, EmptySizesGiveNothing)
{
    const int cases[][4] = {
        {0, 600, 260, 260}, {800, 0, 260, 260}, {-800, 600, 260, 260}, {800, 600, 0, 260}, {800, 600, 260, -1}};
    for (const auto& c : cases) {
        const PictureSize size = ScaledSize(c[0], c[1], c[2], c[3]);
        EXPECT_EQ(size.width, 0);
        EXPECT_EQ(size.height, 0);
    }
}
