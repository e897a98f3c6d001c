#include "board/picture_win.h"

HBITMAP LoadScaledPicture(HMODULE, int, const char*, int, int)
{
    return nullptr;
}

HBITMAP DecodePicture(const void*, DWORD)
{
    return nullptr;
}

HBITMAP ScaleBitmapToBox(HBITMAP, int, int)
{
    return nullptr;
}
