#include "board/board_scroll_win.h"

#include <cstdlib>

#include "board/question_board_win.h"

namespace {

void SetBarRange(HWND board, int bar, const ScrollRange& range)
{
    if (range.resetPosition)
        SetScrollPos(board, bar, 0, FALSE);
    SCROLLINFO info = {};
    info.cbSize = sizeof(info);
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_DISABLENOSCROLL;
    info.nMin = 0;
    info.nMax = range.maximum;
    info.nPage = static_cast<UINT>(range.page);
    SetScrollInfo(board, bar, &info, TRUE);
}

ScrollBarState ReadBar(HWND board, int bar)
{
    SCROLLINFO info = {};
    info.cbSize = sizeof(info);
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_TRACKPOS;
    GetScrollInfo(board, bar, &info);
    return {info.nMin, info.nMax, static_cast<int>(info.nPage), info.nPos, info.nTrackPos};
}

// Moves the bar from what it showed to position, then the content by what the bar really took, so
// the two never disagree.
void MoveBar(HWND board, int bar, const ScrollBarState& state, int position)
{
    SetScrollPos(board, bar, position, TRUE);
    const int moved = state.position - GetScrollPos(board, bar);
    if (moved == 0)
        return;
    if (bar == SB_VERT)
        ScrollWindow(board, 0, moved, nullptr, nullptr);
    else
        ScrollWindow(board, moved, 0, nullptr, nullptr);
}

} // namespace

void UpdateScrollRanges(HWND board)
{
    RECT client;
    GetClientRect(board, &client);
    SetBarRange(board, SB_HORZ, ComputeScrollRange(g_contentWidth, client.right));
    SetBarRange(board, SB_VERT, ComputeScrollRange(g_contentHeight, client.bottom));
}

void OnBoardScroll(HWND board, int bar, WORD request)
{
    const ScrollAxis axis = bar == SB_VERT ? ScrollAxis::VERTICAL : ScrollAxis::HORIZONTAL;
    const ScrollBarState state = ReadBar(board, bar);
    MoveBar(board, bar, state, RequestedScrollPosition(axis, request, state));
}

void OnBoardSize(HWND board)
{
    const int oldVertical = GetScrollPos(board, SB_VERT);
    const int oldHorizontal = GetScrollPos(board, SB_HORZ);
    UpdateScrollRanges(board);
    // A bar reset to 0, or lowered to its new largest position, takes the content with it: a
    // window enlarged at the end of the content shows no gap below the last row.
    const int dx = oldHorizontal - GetScrollPos(board, SB_HORZ);
    const int dy = oldVertical - GetScrollPos(board, SB_VERT);
    if (dx != 0 || dy != 0)
        ScrollWindow(board, dx, dy, nullptr, nullptr);
}

bool ScrollBoardByWheel(HWND board, UINT message, WPARAM wParam, WheelState& wheel)
{
    const int delta = static_cast<short>(HIWORD(wParam));
    const bool horizontal = message == WM_MOUSEHWHEEL;
    if (horizontal || (GET_KEYSTATE_WPARAM(wParam) & MK_SHIFT)) {
        const int notches = AddWheelDelta(wheel.sideways, horizontal ? delta : -delta);
        if (notches != 0) {
            const ScrollBarState state = ReadBar(board, SB_HORZ);
            MoveBar(board, SB_HORZ, state, ShiftedScrollPosition(state, notches * WHEEL_SIDEWAYS_STEP));
        }
        return true;
    }
    const int notches = AddWheelDelta(wheel.vertical, delta);
    for (int step = 0; step < std::abs(notches); ++step)
        PostMessageW(board, WM_VSCROLL, notches > 0 ? SB_LINEUP : SB_LINEDOWN, 0);
    return false;
}
