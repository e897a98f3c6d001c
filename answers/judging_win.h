// Judging an answer box: verdict, rewrite, reveal, score and code; the answer boxes' keys.
#pragma once

#include <windows.h>

struct QuizData;

void JudgeAnswer(QuizData* quiz, HWND board, int boxId);

// Recounts the solved questions from the verdict fields; writes score and code into the header.
void UpdateScore(QuizData* quiz, HWND board);

LRESULT CALLBACK AnswerBoxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam);

// F1: tries the box's text on every unsolved box, then gives the focus back to the box.
void TryAnswerEverywhere(HWND box);
