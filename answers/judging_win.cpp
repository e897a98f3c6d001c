#include "answers/judging_win.h"

void JudgeAnswer(QuizData*, HWND, int) {}

void UpdateScore(QuizData*, HWND) {}

LRESULT CALLBACK AnswerBoxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProc(box, message, wParam, lParam);
}

void TryAnswerEverywhere(HWND) {}
