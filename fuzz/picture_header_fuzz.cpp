// The picture header reader on arbitrary bytes. A size is read from a prefix of the file only, so
// bytes appended after a picture never change what is read; a read size is always positive.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "board/picture_header.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // An exact-size copy, so that reading one byte too far is caught by the sanitizer.
    const std::vector<uint8_t> bytes(data, data + size);
    const PictureHeader header = ReadPictureHeader(bytes.data(), bytes.size());
    if (header.format == PictureFormat::UNKNOWN) {
        if (header.width != 0 || header.height != 0)
            std::abort();
        return 0;
    }
    if (header.width <= 0 || header.height <= 0)
        std::abort();
    if (header.format != PictureFormat::BMP && (header.width > 65535 || header.height > 65535))
        std::abort();
    std::vector<uint8_t> longer(bytes);
    longer.insert(longer.end(), {0xFF, 0xD9, 0xFF, 0xC0, 0x00});
    const PictureHeader again = ReadPictureHeader(longer.data(), longer.size());
    if (again.format != header.format || again.width != header.width || again.height != header.height)
        std::abort();
    return 0;
}
