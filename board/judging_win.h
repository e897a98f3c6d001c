// Judging an answer box: verdict, rewrite, reveal, score and code; the answer boxes' keys.
#pragma once

#include <windows.h>

struct QuizData;

void JudgeAnswer(QuizData* quiz, HWND board, int boxId);

// Recounts the solved questions from the verdict fields; writes score and code into the header.
void UpdateScore(QuizData* quiz, HWND board);

LRESULT CALLBACK AnswerBoxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam);

// While the board builds it judges every box itself, once its question's controls exist: the score
// is then counted once, when the build ends, and the focus passing from box to box as they are
// created judges nothing. Recounting the score reads every verdict field, so doing it for each of
// 192 boxes would cost more than decoding the pictures.
class ScopedBoardBuild {
public:
    ScopedBoardBuild(QuizData* quiz, HWND board);
    ~ScopedBoardBuild();
    ScopedBoardBuild(const ScopedBoardBuild&) = delete;
    ScopedBoardBuild& operator=(const ScopedBoardBuild&) = delete;

private:
    QuizData* m_quiz;
    HWND m_board;
};

// F1: tries the box's text on every unsolved box, then gives the focus back to the box.
void TryAnswerEverywhere(HWND box);
