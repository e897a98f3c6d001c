// What a picture or clip file holds, told by its first bytes, and how the tool stores pictures.
#pragma once

#include <cstdint>
#include <string>

#include "content/quiz_limits.h"

enum class MediaFormat { UNKNOWN, JPEG, GIF, BMP, PNG, TIFF, MP3, AVI };

MediaFormat SniffMediaFormat(const std::string& bytes);

// The player reads the sizes of these three from their headers and decodes them with the
// platform's imaging component.
bool PlayerReadsPicture(MediaFormat format);

// File extension (with its dot) under which an extracted resource is written.
const char* MediaExtension(MediaFormat format);

// Pictures are shown in a 260-pixel box; twice that keeps them sharp on a scaled-up screen while
// keeping the quiz light.
constexpr unsigned MAX_STORED_PICTURE_SIDE = 2 * PICTURE_BOX_SIZE;

// A picture's size in pixels, as the tool reads and stores it.
struct PixelSize {
    unsigned width;
    unsigned height;
};

// The largest size of the same aspect ratio that fits limit x limit; a picture that already fits
// keeps its size. Neither side becomes 0.
PixelSize FitPicture(PixelSize size, unsigned limit);

enum class PictureAction {
    KEEP,     // stored byte for byte
    REENCODE, // same size, re-encoded as JPEG because the player cannot read the format
    SCALE,    // scaled down to fit and re-encoded as JPEG
};

PictureAction ChoosePictureAction(MediaFormat format, PixelSize size, bool keepPictures);

// A channel of a picture with transparency laid on a white background: JPEG has no alpha, and a
// transparent area turning black would hide a drawing's lines.
constexpr uint8_t BlendOnWhite(uint8_t channel, uint8_t alpha)
{
    return static_cast<uint8_t>((channel * alpha + 255 * (255 - alpha) + 127) / 255);
}

// The player must carry no COFF symbol table: the resource updater moves the sections after the
// resources but not the table's pointer, after which tools reject the file. Clears the pointer
// and the count in a PE image held in memory; false when the bytes are not a PE image.
bool ClearCoffSymbolTable(std::string& image);
