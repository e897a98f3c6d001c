#include "board/board_colours_win.h"

#include <cstring>

#include "answers/grading.h"
#include "content/quiz_colour.h"
#include "content/quiz_data_win.h"
#include "content/quiz_shape.h"
#include "platform/text_1252_win.h"
#include "resource.h"

namespace {

constexpr COLORREF QUESTION_TEXT_BACKGROUND = RGB(255, 255, 192);
constexpr COLORREF WHITE = RGB(255, 255, 255);
constexpr COLORREF BLACK = RGB(0, 0, 0);

COLORREF BrushColour(HBRUSH brush)
{
    LOGBRUSH description = {};
    GetObjectW(brush, sizeof(description), &description);
    return description.lbColor;
}

// The verdict is read back from the field itself: the text on screen is the only record of how
// an answer was judged.
HBRUSH VerdictBrush(HWND field)
{
    char verdict[QUIZ_TEXT_SIZE] = {};
    GetWindowText1252(field, verdict, sizeof(verdict));
    if (std::strcmp(verdict, VERDICT_UNKNOWN) == 0)
        return nullptr;
    if (std::strcmp(verdict, VERDICT_RIGHT) == 0)
        return g_quiz->rightBrush;
    if (std::strcmp(verdict, VERDICT_WRONG) == 0)
        return g_quiz->wrongBrush;
    if (std::strcmp(verdict, VERDICT_ANAGRAM) == 0)
        return g_quiz->anagramBrush;
    return g_quiz->closeBrush;
}

bool InRange(LONG_PTR id, int base, int count)
{
    return id > base && id <= base + count;
}

} // namespace

HBRUSH OnBoardCtlColorStatic(HDC dc, HWND control)
{
    const LONG_PTR id = GetWindowLongPtrW(control, GWL_ID);
    if (id == IDC_NUMBER_LABEL || id == IDC_ANSWER_CAPTION) {
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, QuizLabelsAreWhite(g_quiz->backgroundRed, g_quiz->backgroundGreen) ? WHITE : BLACK);
        return g_quiz->backgroundBrush;
    }
    if (InRange(id, IDC_VERDICT_BASE,
                AnswerBoxCount(g_quiz->mediaKind, g_quiz->questionCount, g_quiz->answersPerQuestion))) {
        HBRUSH brush = VerdictBrush(control);
        if (brush)
            SetBkColor(dc, BrushColour(brush));
        return brush;
    }
    if (id == IDC_QUESTION_TEXT) {
        SetBkColor(dc, QUESTION_TEXT_BACKGROUND);
        return g_quiz->questionTextBrush;
    }
    if (InRange(id, IDC_REVEAL_BASE, g_quiz->questionCount)) {
        SetBkColor(dc, g_quiz->backgroundColor);
        return g_quiz->backgroundBrush;
    }
    return nullptr;
}
