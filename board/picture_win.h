// Pictures from the executable's "IMG" resources, decoded by the platform and scaled into a box.
#pragma once

#include <windows.h>

// Finds, decodes and scales a picture resource; a new bitmap owned by the caller, or null.
HBITMAP LoadScaledPicture(HMODULE module, int resourceId, const char* type, int boxWidth, int boxHeight);

// Decodes image bytes (JPEG, GIF, BMP) into a full-size bitmap owned by the caller, or null.
HBITMAP DecodePicture(const void* bytes, DWORD count);

// A new bitmap of source scaled by one factor to fit the box; the source is left unchanged.
HBITMAP ScaleBitmapToBox(HBITMAP source, int boxWidth, int boxHeight);

// Hands a bitmap over to a picture control, which owns what it shows: the bitmap it showed before is
// deleted, and so is this one when the control keeps a copy of its own instead.
void ShowPicture(HWND control, HBITMAP bitmap);
