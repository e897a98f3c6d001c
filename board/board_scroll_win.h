// Scrolling of the question board: both bars, the wheel, and keeping the content aligned on resize.
#pragma once

#include <windows.h>

#include "board/scroll_math.h"

// Sets range and page of both bars from the content size and the board's client size.
void UpdateScrollRanges(HWND board);

// One scroll request on bar SB_HORZ or SB_VERT with a request code (SB_LINEUP ... SB_BOTTOM).
void OnBoardScroll(HWND board, int bar, WORD request);

// Re-ranges the bars and moves the content so it stays where the bars now point.
void OnBoardSize(HWND board);

// What one place that the wheel reaches (the board, the main window) has gathered on each axis.
struct WheelState {
    WheelTotal vertical;
    WheelTotal sideways;
};

// A wheel message (WM_MOUSEWHEEL, WM_MOUSEHWHEEL) at one place, added to what it gathered there.
// Each whole vertical notch posts one line step to the board. The horizontal wheel (to the right
// when positive), and the vertical one with Shift held (down to the right), move the content
// sideways WHEEL_SIDEWAYS_STEP pixels a notch at once. Returns true for a sideways message, which
// the place then keeps to itself.
bool ScrollBoardByWheel(HWND board, UINT message, WPARAM wParam, WheelState& wheel);
