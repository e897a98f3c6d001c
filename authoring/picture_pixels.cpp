#include "authoring/picture_pixels.h"

std::vector<uint8_t> FlattenOnWhite(const std::vector<uint8_t>& bgra, PixelSize size)
{
    const size_t count = static_cast<size_t>(size.width) * size.height;
    std::vector<uint8_t> bgr(count * 3);
    for (size_t i = 0; i < count && i * 4 + 3 < bgra.size(); ++i) {
        const uint8_t alpha = bgra[i * 4 + 3];
        for (int c = 0; c < 3; ++c)
            bgr[i * 3 + c] = BlendOnWhite(bgra[i * 4 + c], alpha);
    }
    return bgr;
}

std::vector<uint8_t> ScaleDownBgr(const std::vector<uint8_t>& bgr, PixelSize from, PixelSize to)
{
    std::vector<uint8_t> out(static_cast<size_t>(to.width) * to.height * 3);
    if (bgr.size() < static_cast<size_t>(from.width) * from.height * 3)
        return out;
    for (unsigned y = 0; y < to.height; ++y) {
        const uint64_t y0 = uint64_t{y} * from.height / to.height;
        uint64_t y1 = uint64_t{y + 1} * from.height / to.height;
        if (y1 <= y0)
            y1 = y0 + 1;
        for (unsigned x = 0; x < to.width; ++x) {
            const uint64_t x0 = uint64_t{x} * from.width / to.width;
            uint64_t x1 = uint64_t{x + 1} * from.width / to.width;
            if (x1 <= x0)
                x1 = x0 + 1;
            uint64_t sums[3] = {0, 0, 0};
            for (uint64_t sy = y0; sy < y1; ++sy) {
                const uint8_t* row = &bgr[(sy * from.width + x0) * 3];
                for (uint64_t sx = x0; sx < x1; ++sx, row += 3)
                    for (int c = 0; c < 3; ++c)
                        sums[c] += row[c];
            }
            const uint64_t area = (y1 - y0) * (x1 - x0);
            uint8_t* target = &out[(size_t{y} * to.width + x) * 3];
            for (int c = 0; c < 3; ++c)
                target[c] = static_cast<uint8_t>((sums[c] + area / 2) / area);
        }
    }
    return out;
}
