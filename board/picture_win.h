// Pictures from the executable's "IMG" resources, decoded by the platform and scaled into a box.
#pragma once

#include <windows.h>

// Finds, decodes and scales a picture resource; a new bitmap owned by the caller, or null.
HBITMAP LoadScaledPicture(HMODULE module, int resourceId, const char* type, int boxWidth, int boxHeight);

// Decodes image bytes (JPEG, GIF, BMP) into a full-size bitmap owned by the caller, or null.
HBITMAP DecodePicture(const void* bytes, DWORD count);

// A new bitmap of source scaled by one factor to fit the box; the source is left unchanged.
HBITMAP ScaleBitmapToBox(HBITMAP source, int boxWidth, int boxHeight);
