#include <gtest/gtest.h>

#include <vector>

#include "board/board_layout.h"
#include "content/quiz_limits.h"
#include "resource.h"

// Found by argument lookup, so beside BoardRect in the global namespace.
static std::ostream& operator<<(std::ostream& out, const BoardRect& r)
{
    return out << "(" << r.x << ", " << r.y << ", " << r.width << " x " << r.height << ")";
}

namespace {

struct Expected {
    BoardItem item;
    int id;
    BoardRect rect;
};

void ExpectItems(const QuestionPlan& plan, const std::vector<Expected>& expected)
{
    ASSERT_EQ(plan.items.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(plan.items[i].item, expected[i].item) << "item " << i;
        EXPECT_EQ(plan.items[i].id, expected[i].id) << "item " << i;
        EXPECT_EQ(plan.items[i].rect, expected[i].rect) << "item " << i;
    }
}

constexpr CellPicture NO_PICTURE = {false, 0, 0};

// Runs the build's arithmetic over a whole quiz; lineHeights gives H of each board line.
BoardProgress RunBoard(const BoardShape& shape, const std::vector<int>& lineHeights,
                       std::vector<int>* lineTops = nullptr)
{
    BoardProgress progress;
    for (int q = 1; q <= shape.questionCount; ++q) {
        const int line = (q - 1) / QUESTIONS_PER_BOARD_LINE;
        const int height = line < static_cast<int>(lineHeights.size()) ? lineHeights[line] : 0;
        if (lineTops && StartsBoardLine(q))
            lineTops->push_back(progress.lineTop);
        const QuestionPlan plan = PlanQuestion(shape, q, progress.lineTop, height, {true, 260, height});
        AdvanceAfterQuestion(shape, q, plan.answerTop, progress);
    }
    progress.contentWidth += ContentWidthMargin(shape.answersPerQuestion);
    return progress;
}

} // namespace

TEST(BoxNumbering, BoxesAndLinesFollowTheLayout)
{
    struct Case {
        int mediaKind, answersPerQuestion, boxesPerQuestion, linesPerQuestion;
    } cases[] = {
        {MEDIA_TEXT, 1, 1, 1},
        {MEDIA_TEXT, 2, 1, 1},
        {MEDIA_PICTURE, 1, 1, 1},
        {MEDIA_PICTURE, 2, 2, 2},
        {MEDIA_AUDIO, 2, 2, 2},
        {MEDIA_VIDEO, 1, 1, 1},
        {MEDIA_PICTURE, 3, 0, 3},
        {MEDIA_VIDEO, 0, 0, 0},
        {MEDIA_PICTURE, -1, 0, 0},
        {4, 1, 0, 0},
        {-1, 2, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "kind " << c.mediaKind << ", answers " << c.answersPerQuestion);
        EXPECT_EQ(BoxesPerQuestion(c.mediaKind, c.answersPerQuestion), c.boxesPerQuestion);
        EXPECT_EQ(AnswerLinesPerQuestion(c.mediaKind, c.answersPerQuestion), c.linesPerQuestion);
        EXPECT_EQ(AnswerBoxCount(c.mediaKind, 7, c.answersPerQuestion), 7 * c.boxesPerQuestion);
        EXPECT_EQ(AnswerBoxCount(c.mediaKind, 0, c.answersPerQuestion), 0);
        EXPECT_EQ(AnswerBoxCount(c.mediaKind, -3, c.answersPerQuestion), 0);
    }
}

TEST(BoxNumbering, BoxNumberAndPositionAreInverse)
{
    for (int perQuestion : {1, 2}) {
        int k = 0;
        for (int q = 1; q <= MAX_QUESTIONS; ++q) {
            for (int p = 1; p <= perQuestion; ++p) {
                ++k;
                ASSERT_EQ(BoxNumber(perQuestion, q, p), k);
                const BoxPosition back = BoxPositionOf(perQuestion, k);
                ASSERT_EQ(back.question, q);
                ASSERT_EQ(back.answer, p);
            }
        }
    }
    // Two answers: an odd box is the first answer, an even box the second.
    EXPECT_EQ(BoxPositionOf(2, 13).question, 7);
    EXPECT_EQ(BoxPositionOf(2, 13).answer, 1);
    EXPECT_EQ(BoxPositionOf(2, 14).answer, 2);
    EXPECT_EQ(BoxPositionOf(0, 5).question, 0);
    EXPECT_EQ(BoxPositionOf(1, 0).question, 0);
}

TEST(BoardLayout, TextRowsStack25PixelsApart)
{
    const BoardShape shape{MEDIA_TEXT, 4, 2, 3};
    // Box and verdict ids follow the question even with two answers: a row has one box.
    ExpectItems(PlanQuestion(shape, 3, 55, 0, NO_PICTURE),
                {{BoardItem::NumberLabel, IDC_NUMBER_LABEL, {26, 57, 19, 17}},
                 {BoardItem::QuestionText, IDC_QUESTION_TEXT, {50, 55, 550, 20}},
                 {BoardItem::AnswerBox, 4003, {610, 55, 100, 20}},
                 {BoardItem::VerdictField, 5003, {720, 55, 100, 20}}});
    BoardProgress progress;
    for (int q = 1; q <= 4; ++q) {
        EXPECT_EQ(PlanQuestion(shape, q, progress.lineTop, 0, NO_PICTURE).items[1].rect.y, 5 + 25 * (q - 1));
        AdvanceAfterQuestion(shape, q, progress.lineTop, progress);
    }
}

TEST(BoardLayout, PictureCellsWithOneAnswer)
{
    const BoardShape shape{MEDIA_PICTURE, 7, 1, 0};
    // Third column, line at 335 of height 130, a picture of 150 x 100 centred in the cell and line.
    ExpectItems(PlanQuestion(shape, 6, 335, 130, {true, 150, 100}),
                {{BoardItem::Picture, 9906, {626 + 55, 335 + 15, 150, 100}},
                 {BoardItem::NumberLabel, IDC_NUMBER_LABEL, {598, 477, 27, 17}},
                 {BoardItem::AnswerBox, 4006, {626, 475, 260, 20}},
                 {BoardItem::VerdictField, 5006, {626, 494, 260, 20}}});
}

TEST(BoardLayout, MissingPictureIsAnEmptyFrameOfTheLineHeight)
{
    const BoardShape shape{MEDIA_PICTURE, 7, 1, 0};
    const QuestionPlan plan = PlanQuestion(shape, 4, 335, 130, NO_PICTURE);
    EXPECT_EQ(plan.items[0].rect, (BoardRect{46, 335, 260, 130}));
    EXPECT_EQ(plan.answerTop, 475);
    // No picture on the whole line: frames of no height, answers right under the line top.
    EXPECT_EQ(PlanQuestion(shape, 4, 335, 0, NO_PICTURE).items[0].rect, (BoardRect{46, 335, 260, 0}));
}

TEST(BoardLayout, TwoAnswersAddCaptionsOnTheFirstColumnOnly)
{
    const BoardShape shape{MEDIA_PICTURE, 7, 2, 2};
    ExpectItems(PlanQuestion(shape, 4, 415, 195, {true, 260, 195}),
                {{BoardItem::Picture, 9904, {106, 415, 260, 195}},
                 {BoardItem::AnswerCaption1, IDC_ANSWER_CAPTION, {3, 622, 95, 20}},
                 {BoardItem::AnswerCaption2, IDC_ANSWER_CAPTION, {3, 642, 95, 20}},
                 {BoardItem::NumberLabel, IDC_NUMBER_LABEL, {78, 622, 27, 17}},
                 {BoardItem::AnswerBox, 4007, {106, 620, 201, 20}},
                 {BoardItem::VerdictField, 5007, {306, 620, 60, 20}},
                 {BoardItem::AnswerBox, 4008, {106, 639, 201, 20}},
                 {BoardItem::VerdictField, 5008, {306, 639, 60, 20}},
                 {BoardItem::RevealLabel, 8004, {106, 666, 260, 65}}});
    const QuestionPlan second = PlanQuestion(shape, 5, 415, 195, {true, 260, 195});
    EXPECT_EQ(second.items[0].rect.x, 396);
    EXPECT_EQ(second.items[1].item, BoardItem::NumberLabel);
}

TEST(BoardLayout, AudioAndVideoCellsCarryButtons)
{
    const BoardShape audio{MEDIA_AUDIO, 3, 1, 0};
    ExpectItems(PlanQuestion(audio, 2, 5, 0, NO_PICTURE), {{BoardItem::MediaFrame, 9902, {336, 5, 0, 0}},
                                                           {BoardItem::NumberLabel, IDC_NUMBER_LABEL, {308, 7, 27, 17}},
                                                           {BoardItem::PlayButton, 6002, {336, 5, 20, 20}},
                                                           {BoardItem::StopButton, 7002, {336, 25, 20, 19}},
                                                           {BoardItem::AnswerBox, 4002, {356, 5, 240, 20}},
                                                           {BoardItem::VerdictField, 5002, {356, 24, 240, 20}}});
    const BoardShape video{MEDIA_VIDEO, 3, 2, 0};
    ExpectItems(PlanQuestion(video, 3, 5, 0, NO_PICTURE),
                {{BoardItem::MediaFrame, 9903, {686, 5, 260, 200}},
                 {BoardItem::NumberLabel, IDC_NUMBER_LABEL, {658, 217, 27, 17}},
                 {BoardItem::PlayButton, 6003, {686, 215, 20, 20}},
                 {BoardItem::StopButton, 7003, {686, 235, 20, 19}},
                 {BoardItem::AnswerBox, 4005, {706, 215, 181, 20}},
                 {BoardItem::VerdictField, 5005, {886, 215, 60, 20}},
                 {BoardItem::AnswerBox, 4006, {706, 234, 181, 20}},
                 {BoardItem::VerdictField, 5006, {886, 234, 60, 20}}});
}

TEST(BoardLayout, OddAnswerCountsAndUnknownKindsCreateNoBoxes)
{
    const QuestionPlan three = PlanQuestion({MEDIA_PICTURE, 3, 3, 2}, 1, 5, 100, NO_PICTURE);
    for (const PlacedItem& item : three.items) {
        EXPECT_NE(item.item, BoardItem::AnswerBox);
        EXPECT_NE(item.item, BoardItem::VerdictField);
    }
    EXPECT_EQ(three.answerLines, 3);
    const QuestionPlan unknown = PlanQuestion({7, 3, 1, 0}, 1, 5, 100, NO_PICTURE);
    EXPECT_TRUE(unknown.items.empty());
    EXPECT_EQ(unknown.answerLines, 0);
}

TEST(BoardLayout, LineTopsAdvanceByTheTallestPicture)
{
    struct Case {
        BoardShape shape;
        std::vector<int> lineHeights;
        std::vector<int> lineTops;
    } cases[] = {
        // H + 70 without reveal labels, H + 150 with them.
        {{MEDIA_PICTURE, 7, 1, 0}, {260, 130, 195}, {5, 335, 535}},
        {{MEDIA_PICTURE, 7, 1, 2}, {260, 130, 195}, {5, 415, 695}},
        {{MEDIA_PICTURE, 7, 2, 1}, {0, 10, 0}, {5, 75, 155}},
        {{MEDIA_AUDIO, 7, 1, 0}, {}, {5, 65, 125}},
        {{MEDIA_VIDEO, 6, 1, 3}, {}, {5, 355}},
    };
    for (const Case& c : cases) {
        std::vector<int> tops;
        RunBoard(c.shape, c.lineHeights, &tops);
        EXPECT_EQ(tops, c.lineTops) << "kind " << c.shape.mediaKind << ", reveal " << c.shape.revealMode;
    }
    const CellPicture line[] = {{true, 260, 195}, {false, 0, 0}, {true, 150, 260}};
    EXPECT_EQ(BoardLineHeight(line, 3), 260);
    EXPECT_EQ(BoardLineHeight(line + 1, 1), 0);
}

TEST(BoardLayout, ContentSizes)
{
    struct Case {
        BoardShape shape;
        std::vector<int> lineHeights;
        int width, height;
    } cases[] = {
        {{MEDIA_TEXT, 4, 1, 0}, {}, 850, 105},
        {{MEDIA_TEXT, 4, 2, 3}, {}, 910, 105},
        {{MEDIA_TEXT, 0, 1, 0}, {}, 20, 0},
        {{MEDIA_PICTURE, 0, 2, 0}, {}, 80, 0},
        {{MEDIA_PICTURE, 7, 1, 0}, {260, 130, 260}, 910, 865},
        {{MEDIA_PICTURE, 7, 1, 2}, {260, 130, 260}, 910, 1105},
        // A full last line: the height comes from its first cell.
        {{MEDIA_PICTURE, 6, 2, 0}, {260, 130}, 970, 535},
        {{MEDIA_AUDIO, 4, 1, 0}, {}, 910, 125},
        {{MEDIA_VIDEO, 3, 2, 3}, {}, 970, 355},
        {{9, 5, 1, 0}, {}, 20, 0},
    };
    for (const Case& c : cases) {
        const BoardProgress progress = RunBoard(c.shape, c.lineHeights);
        EXPECT_EQ(progress.contentWidth, c.width) << "kind " << c.shape.mediaKind << ", " << c.shape.questionCount;
        EXPECT_EQ(progress.contentHeight, c.height) << "kind " << c.shape.mediaKind << ", " << c.shape.questionCount;
    }
}
