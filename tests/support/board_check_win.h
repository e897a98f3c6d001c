// The real board's controls checked against what the layout functions plan.
#pragma once

#include <windows.h>

#include "content/quiz_data_win.h"

// Checks every control of the board, in creation order, against what the layout functions plan for
// the quiz (class, id, rectangle, text, font, picture), then the content size.
void ExpectBoardFollowsPlan(HWND board, const QuizData& quiz);
