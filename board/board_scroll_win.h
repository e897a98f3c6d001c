// Scrolling of the question board: both bars, the wheel, and keeping the content aligned on resize.
#pragma once

#include <windows.h>

// One notch of a mouse wheel, in WM_MOUSEWHEEL delta units.
constexpr int WHEEL_NOTCH = 120;

// Sets range and page of both bars from the content size and the board's client size.
void UpdateScrollRanges(HWND board);

// One scroll request on bar SB_HORZ or SB_VERT with a request code (SB_LINEUP ... SB_BOTTOM).
void OnBoardScroll(HWND board, int bar, WORD request);

// Re-ranges the bars and moves the content so it stays where the bars now point.
void OnBoardSize(HWND board);

// Posts one vertical line step to the board for an exact wheel notch.
void OnBoardMouseWheel(HWND board, WPARAM wParam);
