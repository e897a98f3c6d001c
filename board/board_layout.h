// Where every control of the question board goes. Plain arithmetic on the quiz's shape, so that
// every rectangle can be checked without a window; the Win32 build only creates what PlanQuestion
// lists, in the order it lists it.
#pragma once

#include <vector>

#include "content/quiz_shape.h"

struct BoardRect {
    int x;
    int y;
    int width;
    int height;
};

inline bool operator==(const BoardRect& a, const BoardRect& b)
{
    return a.x == b.x && a.y == b.y && a.width == b.width && a.height == b.height;
}

// The kinds of control the board creates. Several share one control id (see PlacedItem::id).
enum class BoardItem {
    NumberLabel,
    QuestionText,
    AnswerCaption1,
    AnswerCaption2,
    Picture,
    MediaFrame,
    PlayButton,
    StopButton,
    AnswerBox,
    VerdictField,
    RevealLabel,
};

struct PlacedItem {
    BoardItem item;
    int id;
    BoardRect rect;
};

// What the build reads from the quiz record.
struct BoardShape {
    int mediaKind;
    int questionCount;
    int answersPerQuestion;
    int revealMode;
};

// Size of a question's scaled picture; loaded false when the resource gave no picture.
struct CellPicture {
    bool loaded;
    int width;
    int height;
};

constexpr int BOARD_FIRST_LINE_TOP = 5;
constexpr int QUESTIONS_PER_BOARD_LINE = 3;
constexpr int CELL_WIDTH = 260;

bool StartsBoardLine(int question);
bool EndsBoardLine(int question);

// Tallest picture of a board line; pictures that did not load count 0.
int BoardLineHeight(const CellPicture* pictures, int count);

// The controls of question q, in creation order (which is also the Tab order), for a row or cell
// whose line starts at lineTop. lineHeight and picture matter for picture quizzes only.
struct QuestionPlan {
    std::vector<PlacedItem> items;
    int answerTop;   // top of the answer area: the row top, or the cell's line top plus its block
    int answerLines; // answers-file lines consumed by the question
};
QuestionPlan PlanQuestion(const BoardShape& shape, int question, int lineTop, int lineHeight, CellPicture picture);

// Line top and content size as the build runs; AdvanceAfterQuestion moves on past question q.
struct BoardProgress {
    int lineTop = BOARD_FIRST_LINE_TOP;
    int contentWidth = 0;
    int contentHeight = 0;
};
void AdvanceAfterQuestion(const BoardShape& shape, int question, int answerTop, BoardProgress& progress);

// The margin added to the content width once every question is built.
int ContentWidthMargin(int answersPerQuestion);
