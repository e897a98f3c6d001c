#include "board/board_layout.h"

#include <algorithm>

#include "content/quiz_limits.h"
#include "resource.h"

namespace {

// Text rows.
constexpr int ROW_STEP = 25;
constexpr int TEXT_CONTENT_WIDTH = 830;

// Cells.
constexpr int CELL_PITCH = 290;
constexpr int CELL_LEFT = 46;
constexpr int CELL_LEFT_WITH_CAPTIONS = 106;
constexpr int PICTURE_BLOCK_GAP = 10;
constexpr int VIDEO_FRAME_HEIGHT = 200;
constexpr int VIDEO_BLOCK_HEIGHT = 210;
constexpr int MEDIA_ANSWER_OFFSET = 20;
constexpr int LINE_GAP = 60;
constexpr int LINE_GAP_WITH_REVEAL = 140;
constexpr int CELL_CONTENT_WIDTH = 890;

void Add(QuestionPlan& plan, BoardItem item, int id, BoardRect rect)
{
    plan.items.push_back({item, id, rect});
}

void PlanTextRow(const BoardShape& shape, int q, int y, QuestionPlan& plan)
{
    const int k = BoxNumber(BoxesPerQuestion(shape.mediaKind, shape.answersPerQuestion), q, 1);
    Add(plan, BoardItem::NumberLabel, IDC_NUMBER_LABEL, {26, y + 2, 19, 17});
    Add(plan, BoardItem::QuestionText, IDC_QUESTION_TEXT, {50, y, 550, 20});
    Add(plan, BoardItem::AnswerBox, IDC_ANSWER_BASE + k, {610, y, 100, 20});
    Add(plan, BoardItem::VerdictField, IDC_VERDICT_BASE + k, {720, y, 100, 20});
    plan.answerTop = y;
}

struct CellBlock {
    int height;
    int answerOffset;
    int answerWidth;
};

CellBlock CellBlockOf(int mediaKind, int lineHeight)
{
    switch (mediaKind) {
    case MEDIA_PICTURE:
        return {lineHeight + PICTURE_BLOCK_GAP, 0, CELL_WIDTH};
    case MEDIA_AUDIO:
        return {0, MEDIA_ANSWER_OFFSET, CELL_WIDTH - MEDIA_ANSWER_OFFSET};
    default:
        return {VIDEO_BLOCK_HEIGHT, MEDIA_ANSWER_OFFSET, CELL_WIDTH - MEDIA_ANSWER_OFFSET};
    }
}

void PlanCell(const BoardShape& shape, int q, int lineTop, int lineHeight, CellPicture picture, QuestionPlan& plan)
{
    const int column = (q - 1) % QUESTIONS_PER_BOARD_LINE;
    const bool twoAnswers = shape.answersPerQuestion == 2;
    const int x = (twoAnswers ? CELL_LEFT_WITH_CAPTIONS : CELL_LEFT) + CELL_PITCH * column;
    const int y = lineTop;
    const CellBlock block = CellBlockOf(shape.mediaKind, lineHeight);

    if (shape.mediaKind == MEDIA_PICTURE) {
        // A picture is centred in its cell and in the line's height; a missing one leaves an empty
        // frame as wide as the cell and as high as the line.
        const BoardRect rect = picture.loaded
                                   ? BoardRect{x + (CELL_WIDTH - picture.width) / 2,
                                               y + (lineHeight - picture.height) / 2, picture.width, picture.height}
                                   : BoardRect{x, y, CELL_WIDTH, lineHeight};
        Add(plan, BoardItem::Picture, IDC_PICTURE_BASE + q, rect);
    } else {
        const int side = shape.mediaKind == MEDIA_VIDEO ? CELL_WIDTH : 0;
        const int height = shape.mediaKind == MEDIA_VIDEO ? VIDEO_FRAME_HEIGHT : 0;
        Add(plan, BoardItem::MediaFrame, IDC_PICTURE_BASE + q, {x, y, side, height});
    }

    const int a = y + block.height;
    plan.answerTop = a;
    if (twoAnswers && column == 0) {
        Add(plan, BoardItem::AnswerCaption1, IDC_ANSWER_CAPTION, {3, a + 2, 95, 20});
        Add(plan, BoardItem::AnswerCaption2, IDC_ANSWER_CAPTION, {3, a + 22, 95, 20});
    }
    Add(plan, BoardItem::NumberLabel, IDC_NUMBER_LABEL, {x - 28, a + 2, 27, 17});
    if (shape.mediaKind != MEDIA_PICTURE) {
        Add(plan, BoardItem::PlayButton, IDC_PLAY_BASE + q, {x, a, 20, 20});
        Add(plan, BoardItem::StopButton, IDC_STOP_BASE + q, {x, a + 20, 20, 19});
    }
    const int boxX = x + block.answerOffset;
    const int width = block.answerWidth;
    if (shape.answersPerQuestion == 1) {
        Add(plan, BoardItem::AnswerBox, IDC_ANSWER_BASE + q, {boxX, a, width, 20});
        Add(plan, BoardItem::VerdictField, IDC_VERDICT_BASE + q, {boxX, a + 19, width, 20});
    } else if (twoAnswers) {
        for (int p = 1; p <= 2; ++p) {
            const int k = BoxNumber(2, q, p);
            const int top = a + 19 * (p - 1);
            Add(plan, BoardItem::AnswerBox, IDC_ANSWER_BASE + k, {boxX, top, width - 59, 20});
            Add(plan, BoardItem::VerdictField, IDC_VERDICT_BASE + k, {boxX + width - 60, top, 60, 20});
        }
    }
    if (RevealsText(shape.revealMode))
        Add(plan, BoardItem::RevealLabel, IDC_REVEAL_BASE + q, {x, a + 46, CELL_WIDTH, 65});
}

} // namespace

bool StartsBoardLine(int question)
{
    return question % QUESTIONS_PER_BOARD_LINE == 1;
}

bool EndsBoardLine(int question)
{
    return question % QUESTIONS_PER_BOARD_LINE == 0;
}

int BoardLineHeight(const CellPicture* pictures, int count)
{
    int height = 0;
    for (int i = 0; i < count; ++i) {
        if (pictures[i].loaded)
            height = std::max(height, pictures[i].height);
    }
    return height;
}

QuestionPlan PlanQuestion(const BoardShape& shape, int question, int lineTop, int lineHeight, CellPicture picture)
{
    QuestionPlan plan;
    plan.answerTop = lineTop;
    plan.answerLines = AnswerLinesPerQuestion(shape.mediaKind, shape.answersPerQuestion);
    if (UsesTextLayout(shape.mediaKind))
        PlanTextRow(shape, question, lineTop, plan);
    else if (UsesCellLayout(shape.mediaKind))
        PlanCell(shape, question, lineTop, lineHeight, picture, plan);
    return plan;
}

void AdvanceAfterQuestion(const BoardShape& shape, int question, int answerTop, BoardProgress& progress)
{
    if (UsesTextLayout(shape.mediaKind)) {
        progress.lineTop += ROW_STEP;
        progress.contentWidth = TEXT_CONTENT_WIDTH;
        progress.contentHeight = progress.lineTop;
        return;
    }
    if (!UsesCellLayout(shape.mediaKind))
        return;
    const int lineBottom = answerTop + (RevealsText(shape.revealMode) ? LINE_GAP_WITH_REVEAL : LINE_GAP);
    if (EndsBoardLine(question))
        progress.lineTop = lineBottom;
    if (StartsBoardLine(question)) {
        progress.contentWidth = CELL_CONTENT_WIDTH;
        progress.contentHeight = lineBottom;
    }
}

int ContentWidthMargin(int answersPerQuestion)
{
    return answersPerQuestion == 2 ? 80 : 20;
}
