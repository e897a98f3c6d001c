#include "board/board_colours_win.h"

HBRUSH OnBoardCtlColorStatic(HDC, HWND)
{
    return nullptr;
}
