// Pixel work of the picture preparation, on plain buffers: the platform's imaging component only
// decodes and encodes.
#pragma once

#include <cstdint>
#include <vector>

#include "authoring/media_format.h"

// 32-bit BGRA pixels (straight alpha, rows packed) to 24-bit BGR on a white background.
std::vector<uint8_t> FlattenOnWhite(const std::vector<uint8_t>& bgra, PixelSize size);

// Reduces packed 24-bit BGR pixels to a size no larger in either direction; every target pixel is
// the average of the source area it covers, so thin lines and text survive the reduction.
std::vector<uint8_t> ScaleDownBgr(const std::vector<uint8_t>& bgr, PixelSize from, PixelSize to);
