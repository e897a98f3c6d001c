#include "board/board_scroll_win.h"

#include "board/question_board_win.h"
#include "board/scroll_math.h"

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
    SetScrollPos(board, bar, RequestedScrollPosition(axis, request, state), TRUE);
    // The content moves by what the bar really took, so the two never disagree.
    const int moved = state.position - GetScrollPos(board, bar);
    if (moved == 0)
        return;
    if (axis == ScrollAxis::VERTICAL)
        ScrollWindow(board, 0, moved, nullptr, nullptr);
    else
        ScrollWindow(board, moved, 0, nullptr, nullptr);
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

void OnBoardMouseWheel(HWND board, WPARAM wParam)
{
    const short delta = static_cast<short>(HIWORD(wParam));
    if (delta == WHEEL_NOTCH)
        PostMessageW(board, WM_VSCROLL, SB_LINEUP, 0);
    else if (delta == -WHEEL_NOTCH)
        PostMessageW(board, WM_VSCROLL, SB_LINEDOWN, 0);
}
