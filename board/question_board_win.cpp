#include "board/question_board_win.h"

#include "board/board_colours_win.h"
#include "board/board_scroll_win.h"
#include "board/media_win.h"
#include "content/quiz_data_win.h"

int g_contentWidth = 0;
int g_contentHeight = 0;
WNDPROC g_standardEditProc = nullptr;

INT_PTR CALLBACK QuestionBoardProc(HWND board, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        BuildQuestionBoard(board);
        return TRUE;
    case WM_SIZE:
        OnBoardSize(board);
        return 0;
    case WM_HSCROLL:
        OnBoardScroll(board, SB_HORZ, LOWORD(wParam));
        return 0;
    case WM_VSCROLL:
        OnBoardScroll(board, SB_VERT, LOWORD(wParam));
        return 0;
    case WM_MOUSEWHEEL:
        // Left unhandled on purpose: the dialog manager passes the wheel on to the main window.
        OnBoardMouseWheel(board, wParam);
        return 0;
    case WM_COMMAND:
        OnMediaCommand(board, wParam);
        return 0;
    case WM_CTLCOLORDLG:
        return reinterpret_cast<INT_PTR>(g_quiz->backgroundBrush);
    case WM_CTLCOLORSTATIC:
        return reinterpret_cast<INT_PTR>(
            OnBoardCtlColorStatic(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam)));
    default:
        return FALSE;
    }
}

void CreateAnswerFont(QuizData* quiz)
{
    LOGFONTA font = {};
    font.lfHeight = 15;
    font.lfWeight = 100;
    quiz->answerFont = CreateFontIndirectA(&font);
}

void BuildQuestionBoard(HWND board)
{
    g_contentWidth = 0;
    g_contentHeight = 0;
    CreateAnswerFont(g_quiz);
    UpdateScrollRanges(board);
}
