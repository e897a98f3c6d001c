#include "board/board_scroll_win.h"

void UpdateScrollRanges(HWND) {}

void OnBoardScroll(HWND, int, WORD) {}

void OnBoardSize(HWND) {}

void OnBoardMouseWheel(HWND, WPARAM) {}
