// The size of a picture read from the first bytes of its file, without decoding it: the board plans
// every line from these sizes and shows itself before the pixels are decoded.
#pragma once

#include <cstddef>
#include <cstdint>

enum class PictureFormat { UNKNOWN, JPEG, GIF, BMP };

struct PictureHeader {
    PictureFormat format; // UNKNOWN when the header does not read
    int width;
    int height;
};

// Reads the size of
// - a JPEG: from its first frame header (baseline, extended, progressive or lossless), past any
//   APPn, EXIF, comment or table segment, each skipped by its length, so a thumbnail inside an
//   EXIF segment is never taken for the picture;
// - a GIF (87a or 89a): its first image, past the colour table and any extension;
// - a BMP: from either header kind (the 12-byte core header or the larger ones), top-down or
//   bottom-up, the height then being the absolute value.
// Anything else, a header cut short, a JPEG whose data starts before its frame header, and a side
// of 0 or less give {UNKNOWN, 0, 0}. Never reads outside bytes[0, count).
PictureHeader ReadPictureHeader(const uint8_t* bytes, size_t count);
