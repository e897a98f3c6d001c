#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "board/board_layout.h"
#include "board/picture_scale.h"
#include "board/scroll_math.h"
#include "content/quiz_limits.h"

namespace {

// "top A:" and the plan's items, each as a letter for its kind, its control id and its rectangle.
std::string Describe(const QuestionPlan& plan)
{
    std::string text = "top " + std::to_string(plan.answerTop) + ":";
    for (const PlacedItem& placed : plan.items) {
        const BoardRect& r = placed.rect;
        text += std::string(" ") + "NTCcPF>#AVR"[static_cast<int>(placed.item)] + std::to_string(placed.id) + " " +
                std::to_string(r.x) + "," + std::to_string(r.y) + "," + std::to_string(r.width) + "," +
                std::to_string(r.height);
    }
    return text;
}

// The controls of a question, in creation order, for a row or a cell whose line starts at lineTop.
TEST(BoardLayout, ControlsOfAQuestion)
{
    struct Placement {
        BoardShape shape;
        int question, lineTop, lineHeight;
        CellPicture picture;
    };
    constexpr CellPicture NONE = {false, 0, 0};
    const std::pair<Placement, std::string> cases[] = {
        // Box and verdict ids follow the question even with two answers: a text row has one box.
        {{{MEDIA_TEXT, 4, 2, 3}, 3, 55, 0, NONE},
         "top 55: N153 26,57,19,17 T3000 50,55,550,20 A4003 610,55,100,20 V5003 720,55,100,20"},
        // Third column: a picture of 150 x 100 centred in its cell and in a line of height 130.
        {{{MEDIA_PICTURE, 7, 1, 0}, 6, 335, 130, {true, 150, 100}},
         "top 475: P9906 681,350,150,100 N153 598,477,27,17 A4006 626,475,260,20 V5006 626,494,260,20"},
        // A missing picture is an empty frame as wide as the cell and as high as the line.
        {{{MEDIA_PICTURE, 7, 1, 0}, 4, 335, 130, NONE},
         "top 475: P9904 46,335,260,130 N153 18,477,27,17 A4004 46,475,260,20 V5004 46,494,260,20"},
        // Two answers: captions on the first column only; a reveal label for reveal modes 2 and 3.
        {{{MEDIA_PICTURE, 7, 2, 2}, 4, 415, 195, {true, 260, 195}},
         "top 620: P9904 106,415,260,195 C156 3,622,95,20 c156 3,642,95,20 N153 78,622,27,17 A4007 106,620,201,20 "
         "V5007 306,620,60,20 A4008 106,639,201,20 V5008 306,639,60,20 R8004 106,666,260,65"},
        {{{MEDIA_PICTURE, 7, 2, 1}, 5, 5, 0, NONE},
         "top 15: P9905 396,5,260,0 N153 368,17,27,17 A4009 396,15,201,20 V5009 596,15,60,20 A4010 396,34,201,20 "
         "V5010 596,34,60,20"},
        {{{MEDIA_AUDIO, 3, 1, 0}, 2, 5, 0, NONE},
         "top 5: F9902 336,5,0,0 N153 308,7,27,17 >6002 336,5,20,20 #7002 336,25,20,19 A4002 356,5,240,20 "
         "V5002 356,24,240,20"},
        {{{MEDIA_VIDEO, 3, 2, 3}, 3, 5, 0, NONE},
         "top 215: F9903 686,5,260,200 N153 658,217,27,17 >6003 686,215,20,20 #7003 686,235,20,19 "
         "A4005 706,215,181,20 V5005 886,215,60,20 A4006 706,234,181,20 V5006 886,234,60,20 R8003 686,261,260,65"},
        // Three answers make no boxes; an unknown kind makes nothing.
        {{{MEDIA_PICTURE, 3, 3, 0}, 1, 5, 0, NONE}, "top 15: P9901 46,5,260,0 N153 18,17,27,17"},
        {{{7, 3, 1, 0}, 1, 5, 100, NONE}, "top 5:"}};
    for (const auto& [at, expected] : cases)
        EXPECT_EQ(Describe(PlanQuestion(at.shape, at.question, at.lineTop, at.lineHeight, at.picture)), expected);
}

// After each question: the next line's top and the content's size. A text row steps down; a cell
// line sizes the content when it starts and ends below its answers (further with reveal labels)
// after its third question, as high as its tallest loaded picture.
TEST(BoardLayout, TheBoardGrowsQuestionByQuestion)
{
    const std::pair<BoardShape, std::vector<std::vector<int>>> runs[] = {
        {{MEDIA_TEXT, 2, 1, 0}, {{1, 5, 30, 830, 30}, {2, 30, 55, 830, 55}}},
        {{MEDIA_PICTURE, 4, 1, 2}, {{1, 220, 5, 890, 360}, {3, 220, 360, 890, 360}, {4, 500, 360, 890, 640}}}};
    for (const auto& [shape, steps] : runs) {
        BoardProgress progress;
        for (const std::vector<int>& step : steps) {
            AdvanceAfterQuestion(shape, step[0], step[1], progress);
            EXPECT_EQ((std::vector<int>{progress.lineTop, progress.contentWidth, progress.contentHeight}),
                      (std::vector<int>(step.begin() + 2, step.end())))
                << "question " << step[0];
        }
    }
    const CellPicture line[QUESTIONS_PER_BOARD_LINE] = {{true, 150, 100}, {false, 0, 300}, {true, 260, 195}};
    EXPECT_EQ(BoardLineHeight(line, QUESTIONS_PER_BOARD_LINE), 195);
}

// One factor fits the picture into the box: the limiting side gets the box size exactly and the
// other is truncated, never below one pixel. Any side that is not positive gives nothing.
TEST(ScaledSize, OneFactorFitsThePictureIntoTheBox)
{
    const std::tuple<int, int, int, int, int, int> cases[] = {
        {800, 600, 260, 260, 260, 195},   {100, 50, 260, 260, 260, 130},
        {300, 520, 260, 260, 150, 260},   {300, 200, 260, 260, 260, 173},
        {800, 600, 400, 100, 133, 100},   {800, 600, 100, 400, 100, 75},
        {3999, 3998, 260, 260, 260, 259}, {5000, 1, 260, 260, 260, 1},
        {1, 5000, 260, 260, 1, 260},      {2, 1, 1, 1, 1, 1},
        {0, 600, 260, 260, 0, 0},         {800, 0, 260, 260, 0, 0},
        {800, 600, 0, 260, 0, 0},         {800, 600, 260, -1, 0, 0}};
    for (const auto& [width, height, boxWidth, boxHeight, scaledWidth, scaledHeight] : cases) {
        const PictureSize size = ScaledSize(width, height, boxWidth, boxHeight);
        EXPECT_TRUE(size.width == scaledWidth && size.height == scaledHeight)
            << width << "x" << height << " in " << boxWidth << "x" << boxHeight << " gave " << size.width << "x"
            << size.height;
    }
}

// The last pixel of the content reaches the window's edge and no further. Then, for 1000 pixels of
// content in a 300-pixel window (largest position 700), where each request goes.
TEST(ScrollMath, RangesAndRequests)
{
    // Content, client, the range's maximum, page, reset to 0 and the largest position it then allows.
    const std::tuple<int, int, int, int, bool, int> ranges[] = {
        {1000, 300, 998, 299, false, 700}, {301, 300, 299, 299, false, 1}, {300, 300, 298, 299, true, 0},
        {200, 300, 198, 199, true, 0},     {1, 300, 0, 0, true, 0},        {0, 300, 0, 0, true, 0},
        {500, 0, 498, 0, false, 498}}; // a window with no client area (minimised)
    for (const auto& [content, client, maximum, page, reset, largest] : ranges) {
        const ScrollRange range = ComputeScrollRange(content, client);
        EXPECT_TRUE(range.maximum == maximum && range.page == page && range.resetPosition == reset) << content;
        EXPECT_EQ(LargestScrollPosition({0, range.maximum, range.page, 0, 0}), largest) << content;
    }
    constexpr ScrollAxis V = ScrollAxis::VERTICAL, H = ScrollAxis::HORIZONTAL;
    // Axis, request, position, track position, the position asked for.
    const std::tuple<ScrollAxis, int, int, int, int> requests[] = {
        {V, SCROLL_LINE_BACK, 300, 0, 250}, {V, SCROLL_PAGE_FORWARD, 600, 0, 700},
        {V, SCROLL_THUMB_TRACK, 0, -5, 0},  {V, SCROLL_THUMB_POSITION, 300, 420, 300},
        {V, SCROLL_TO_END, 300, 0, 700},    {H, SCROLL_LINE_FORWARD, 300, 0, 301},
        {V, SCROLL_TO_START, 300, 0, 0}};
    for (const auto& [axis, request, position, track, expected] : requests) {
        EXPECT_EQ(RequestedScrollPosition(axis, request, {0, 998, 299, position, track}), expected)
            << (axis == V ? "vertical " : "horizontal ") << request << " from " << position;
    }
    for (const auto& [position, pixels, expected] : {std::tuple{300, 50, 350}, {680, 50, 700}, {20, -50, 0}})
        EXPECT_EQ(ShiftedScrollPosition({0, 998, 299, position, 0}, pixels), expected) << position << " + " << pixels;
}

// Wheel deltas as a touchpad, a fine wheel, a fast spin or a notched wheel send them, and the whole
// notches each one completes.
TEST(ScrollMath, WheelDeltasAddUpToWholeNotches)
{
    const std::pair<std::vector<int>, std::string> turns[] = {{{-40, -40, -40}, "0 0 -1"},
                                                              {{-30, -30, -30, -30}, "0 0 0 -1"},
                                                              {{-240}, "-2"},
                                                              {{-60, 60, 60}, "0 0 1"},
                                                              {{-100, -100, -100}, "0 -1 -1"},
                                                              {{90, 90, -30, 0}, "0 1 0 0"},
                                                              {{120, -120, 120}, "1 -1 1"},
                                                              {{121, -120}, "1 -1"}};
    for (const auto& [deltas, expected] : turns) {
        WheelTotal total = {};
        std::string notches;
        for (int delta : deltas)
            notches += (notches.empty() ? "" : " ") + std::to_string(AddWheelDelta(total, delta));
        EXPECT_EQ(notches, expected) << expected;
    }
}

} // namespace
