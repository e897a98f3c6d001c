// The scrolling dialog that shows every question of the quiz and its answer boxes.
#pragma once

#include <windows.h>

struct QuizData;

// Size of the scrollable content, fixed by the build.
extern int g_contentWidth;
extern int g_contentHeight;

// The standard edit procedure that every subclassed answer box hands unhandled messages to.
extern WNDPROC g_standardEditProc;

INT_PTR CALLBACK QuestionBoardProc(HWND board, UINT message, WPARAM wParam, LPARAM lParam);

// The answer boxes' font: the default face, height 15, weight 100. Stored in quiz->answerFont.
void CreateAnswerFont(QuizData* quiz);

// Creates every control of the board from g_quiz, restores and judges saved answers, sets the
// scroll ranges. Runs once, for WM_INITDIALOG. Pictures are planned from their headers and decoded
// in the background (picture_loading_win.h).
void BuildQuestionBoard(HWND board);

// Deletes the bitmaps that the board's picture controls own; for the board's WM_DESTROY.
void ReleaseBoardPictures(HWND board);
