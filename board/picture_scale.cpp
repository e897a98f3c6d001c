#include "board/picture_scale.h"

#include <algorithm>
#include <cstdint>

PictureSize ScaledSize(int width, int height, int boxWidth, int boxHeight)
{
    if (width <= 0 || height <= 0 || boxWidth <= 0 || boxHeight <= 0)
        return {0, 0};

    // boxWidth / width <= boxHeight / height, compared without division.
    const int64_t w = width, h = height, boxW = boxWidth, boxH = boxHeight;
    PictureSize size;
    if (boxW * h <= boxH * w) {
        size.width = boxWidth;
        size.height = static_cast<int>(h * boxW / w);
    } else {
        size.width = static_cast<int>(w * boxH / h);
        size.height = boxHeight;
    }
    size.width = std::max(size.width, 1);
    size.height = std::max(size.height, 1);
    return size;
}
