// Pictures made ready for the player through the platform's imaging component (WIC): decoded to
// check them and learn their size, then stored as given, or re-encoded as JPEG when the player
// cannot read their format or when they are larger than the tool stores.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "authoring/media_format.h"

struct PreparedPicture {
    std::string bytes; // what the "IMG" resource will hold
    PixelSize original;
    PixelSize stored;
    PictureAction action;
};

// Needs COM initialised on the thread; each call has imaging objects of its own, so several
// pictures can be prepared at once on different threads. A large JPEG to be scaled down is decoded
// at a reduced size when the imaging component offers it. False with a French message when the
// bytes are no picture that the imaging component can decode, or when re-encoding fails.
bool PreparePicture(const std::string& bytes, bool keepPictures, PreparedPicture* picture, std::string* error);

// A picture decoded to fit side x side pixels (one that fits already keeps its size), as packed
// 24-bit BGR rows, any transparency on white: the editor's previews. Needs COM on the thread, as
// PreparePicture does. False when the bytes are no picture the imaging component decodes.
bool DecodePictureToFit(const std::string& bytes, unsigned side, PixelSize* size, std::vector<uint8_t>* bgr);
