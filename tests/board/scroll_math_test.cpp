#include "board/scroll_math.h"

#include <gtest/gtest.h>

namespace {

struct RangeCase {
    int content;
    int client;
    ScrollRange expected;
};

TEST(ScrollRange, FollowsContentAndClient)
{
    const RangeCase cases[] = {
        {1000, 300, {998, 299, false}},                            // taller than the window
        {301, 300, {299, 299, false}},                             // one row hidden
        {300, 300, {298, 299, true}},                              // exactly fits
        {200, 300, {198, 199, true}},                              // smaller
        {1, 300, {0, 0, true}},                                    // degenerate contents never give a negative range
        {0, 300, {0, 0, true}},         {500, 0, {498, 0, false}}, // a window with no client area (minimised)
    };
    for (const RangeCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.content << " in " << c.client);
        const ScrollRange range = ComputeScrollRange(c.content, c.client);
        EXPECT_EQ(range.maximum, c.expected.maximum);
        EXPECT_EQ(range.page, c.expected.page);
        EXPECT_EQ(range.resetPosition, c.expected.resetPosition);
    }
}

TEST(ScrollRange, LastPixelReachesTheEdgeAndNoFurther)
{
    // From a 2-pixel client up: a 1-pixel client gives a page of 0, which the bar treats as 1.
    for (int client = 2; client <= 40; ++client) {
        for (int content = 0; content <= 120; ++content) {
            const ScrollRange range = ComputeScrollRange(content, client);
            const ScrollBarState bar = {0, range.maximum, range.page, 0, 0};
            const int expected = content > client ? content - client : 0;
            ASSERT_EQ(LargestScrollPosition(bar), expected) << content << " in " << client;
        }
    }
}

struct RequestCase {
    ScrollAxis axis;
    int request;
    int position;
    int trackPosition;
    int expected;
};

// A bar of 1000 pixels of content in a 300-pixel window: range 0..998, page 299, largest 700.
constexpr int MAXIMUM = 998;
constexpr int PAGE = 299;

TEST(ScrollRequest, StepTableForBothBars)
{
    constexpr ScrollAxis V = ScrollAxis::VERTICAL;
    constexpr ScrollAxis H = ScrollAxis::HORIZONTAL;
    const RequestCase cases[] = {
        {V, SCROLL_LINE_BACK, 300, 0, 250},
        {V, SCROLL_LINE_FORWARD, 300, 0, 350},
        {V, SCROLL_PAGE_BACK, 300, 0, 1},
        {V, SCROLL_PAGE_FORWARD, 300, 0, 599},
        {V, SCROLL_THUMB_POSITION, 300, 420, 300},
        {V, SCROLL_THUMB_TRACK, 300, 420, 420},
        {V, SCROLL_TO_START, 300, 0, 0},
        {V, SCROLL_TO_END, 300, 0, 700},
        {V, 8, 300, 420, 300}, // end of scroll
        {H, SCROLL_LINE_BACK, 300, 0, 299},
        {H, SCROLL_LINE_FORWARD, 300, 0, 301},
        {H, SCROLL_PAGE_BACK, 300, 0, 1},
        {H, SCROLL_PAGE_FORWARD, 300, 0, 599},
        {H, SCROLL_THUMB_POSITION, 300, 420, 300},
        {H, SCROLL_THUMB_TRACK, 300, 420, 420},
        {H, SCROLL_TO_START, 300, 0, 0},
        {H, SCROLL_TO_END, 300, 0, 700},
        {H, 8, 300, 420, 300},
    };
    for (const RequestCase& c : cases) {
        SCOPED_TRACE(testing::Message() << (c.axis == V ? "vertical " : "horizontal ") << c.request);
        const ScrollBarState bar = {0, MAXIMUM, PAGE, c.position, c.trackPosition};
        EXPECT_EQ(RequestedScrollPosition(c.axis, c.request, bar), c.expected);
    }
}

TEST(ScrollRequest, ClampedAtBothEnds)
{
    constexpr ScrollAxis V = ScrollAxis::VERTICAL;
    constexpr ScrollAxis H = ScrollAxis::HORIZONTAL;
    const RequestCase cases[] = {
        {V, SCROLL_LINE_BACK, 20, 0, 0},       {V, SCROLL_LINE_BACK, 0, 0, 0},
        {V, SCROLL_LINE_FORWARD, 690, 0, 700}, {V, SCROLL_LINE_FORWARD, 700, 0, 700},
        {V, SCROLL_PAGE_BACK, 100, 0, 0},      {V, SCROLL_PAGE_FORWARD, 600, 0, 700},
        {V, SCROLL_THUMB_TRACK, 0, 900, 700},  {V, SCROLL_THUMB_TRACK, 0, -5, 0},
        {H, SCROLL_LINE_BACK, 0, 0, 0},        {H, SCROLL_LINE_FORWARD, 700, 0, 700},
        {H, SCROLL_PAGE_FORWARD, 699, 0, 700},
    };
    for (const RequestCase& c : cases) {
        SCOPED_TRACE(testing::Message() << (c.axis == V ? "vertical " : "horizontal ") << c.request << " from "
                                        << c.position);
        const ScrollBarState bar = {0, MAXIMUM, PAGE, c.position, c.trackPosition};
        EXPECT_EQ(RequestedScrollPosition(c.axis, c.request, bar), c.expected);
    }
}

TEST(ScrollRequest, ContentThatFitsNeverMoves)
{
    const ScrollRange range = ComputeScrollRange(200, 300);
    const ScrollBarState bar = {0, range.maximum, range.page, 0, 150};
    for (ScrollAxis axis : {ScrollAxis::VERTICAL, ScrollAxis::HORIZONTAL}) {
        for (int request = SCROLL_LINE_BACK; request <= SCROLL_TO_END + 1; ++request)
            EXPECT_EQ(RequestedScrollPosition(axis, request, bar), 0) << request;
    }
}

} // namespace
