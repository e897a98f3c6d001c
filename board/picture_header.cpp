#include "board/picture_header.h"

#include <cstring>

namespace {

constexpr PictureHeader NO_HEADER = {PictureFormat::UNKNOWN, 0, 0};

// JPEG markers (the byte after 0xFF).
constexpr uint8_t MARKER_START_OF_IMAGE = 0xD8;
constexpr uint8_t MARKER_END_OF_IMAGE = 0xD9;
constexpr uint8_t MARKER_START_OF_SCAN = 0xDA;
constexpr uint8_t MARKER_TEMPORARY = 0x01;
constexpr uint8_t MARKER_RESTART_FIRST = 0xD0;
constexpr uint8_t MARKER_RESTART_LAST = 0xD7;
// The frame headers are 0xC0 to 0xCF but for these three, which share the range.
constexpr uint8_t MARKER_HUFFMAN_TABLE = 0xC4;
constexpr uint8_t MARKER_RESERVED_JPG = 0xC8;
constexpr uint8_t MARKER_ARITHMETIC_TABLE = 0xCC;

// GIF: the logical screen descriptor ends at byte 13; then come blocks, each led by one byte.
constexpr size_t GIF_SCREEN_END = 13;
constexpr uint8_t GIF_HAS_COLOUR_TABLE = 0x80;
constexpr uint8_t GIF_IMAGE = 0x2C;
constexpr uint8_t GIF_EXTENSION = 0x21;

// BMP information header sizes: the core header stores 16-bit sides, every later one 32-bit.
constexpr uint32_t BMP_CORE_HEADER = 12;
constexpr uint32_t BMP_SMALLEST_INFO_HEADER = 16;
constexpr size_t BMP_FILE_HEADER = 14;

uint32_t BigEndian16(const uint8_t* p)
{
    return static_cast<uint32_t>(p[0]) << 8 | p[1];
}

uint32_t LittleEndian16(const uint8_t* p)
{
    return static_cast<uint32_t>(p[1]) << 8 | p[0];
}

uint32_t LittleEndian32(const uint8_t* p)
{
    return LittleEndian16(p + 2) << 16 | LittleEndian16(p);
}

PictureHeader Sized(PictureFormat format, int64_t width, int64_t height)
{
    if (width <= 0 || height <= 0 || width > INT32_MAX || height > INT32_MAX)
        return NO_HEADER;
    return {format, static_cast<int>(width), static_cast<int>(height)};
}

bool IsFrameHeader(uint8_t marker)
{
    return marker >= 0xC0 && marker <= 0xCF && marker != MARKER_HUFFMAN_TABLE && marker != MARKER_RESERVED_JPG &&
           marker != MARKER_ARITHMETIC_TABLE;
}

bool StandsAlone(uint8_t marker)
{
    return marker == MARKER_TEMPORARY || (marker >= MARKER_RESTART_FIRST && marker <= MARKER_RESTART_LAST);
}

PictureHeader ReadJpeg(const uint8_t* bytes, size_t count)
{
    size_t at = 2;
    while (at < count) {
        // Decoders pass over stray bytes and fill bytes (0xFF repeated) before a marker, and take
        // 0xFF 0x00 for a stray byte too.
        if (bytes[at++] != 0xFF)
            continue;
        while (at < count && bytes[at] == 0xFF)
            ++at;
        if (at == count)
            break;
        const uint8_t marker = bytes[at++];
        if (marker == 0 || StandsAlone(marker))
            continue;
        if (marker == MARKER_START_OF_IMAGE || marker == MARKER_END_OF_IMAGE || marker == MARKER_START_OF_SCAN)
            break;
        if (count - at < 2)
            break;
        const size_t length = BigEndian16(bytes + at);
        if (length < 2)
            break;
        // Frame header: length, sample precision, then the height and the width; what follows them
        // does not matter here.
        if (IsFrameHeader(marker)) {
            if (length < 7 || count - at < 7)
                break;
            return Sized(PictureFormat::JPEG, BigEndian16(bytes + at + 5), BigEndian16(bytes + at + 3));
        }
        if (length > count - at)
            break;
        at += length;
    }
    return NO_HEADER;
}

// The size of the first image: the decoders show that image alone, not the logical screen around it.
PictureHeader ReadGif(const uint8_t* bytes, size_t count)
{
    if (count < GIF_SCREEN_END || (std::memcmp(bytes, "GIF87a", 6) != 0 && std::memcmp(bytes, "GIF89a", 6) != 0))
        return NO_HEADER;
    const uint8_t screenFlags = bytes[10];
    size_t at = GIF_SCREEN_END + ((screenFlags & GIF_HAS_COLOUR_TABLE) ? 3u << ((screenFlags & 7) + 1) : 0);
    while (at < count) {
        const uint8_t block = bytes[at++];
        if (block == GIF_IMAGE) {
            // Left, top, width, height.
            if (count - at < 8)
                break;
            return Sized(PictureFormat::GIF, LittleEndian16(bytes + at + 4), LittleEndian16(bytes + at + 6));
        }
        if (block != GIF_EXTENSION || at == count)
            break;
        // The extension's label, then sub-blocks, each led by its size, up to one of size 0.
        ++at;
        while (at < count && bytes[at] != 0)
            at += 1 + size_t{bytes[at]};
        ++at;
    }
    return NO_HEADER;
}

PictureHeader ReadBmp(const uint8_t* bytes, size_t count)
{
    if (count < BMP_FILE_HEADER + 4)
        return NO_HEADER;
    const uint8_t* info = bytes + BMP_FILE_HEADER;
    const uint32_t infoSize = LittleEndian32(info);
    if (infoSize == BMP_CORE_HEADER && count >= BMP_FILE_HEADER + 8)
        return Sized(PictureFormat::BMP, LittleEndian16(info + 4), LittleEndian16(info + 6));
    if (infoSize < BMP_SMALLEST_INFO_HEADER || count < BMP_FILE_HEADER + 12)
        return NO_HEADER;
    const auto width = static_cast<int32_t>(LittleEndian32(info + 4));
    const auto height = static_cast<int32_t>(LittleEndian32(info + 8));
    // A negative height marks rows stored top-down.
    return Sized(PictureFormat::BMP, width, height < 0 ? -static_cast<int64_t>(height) : height);
}

} // namespace

PictureHeader ReadPictureHeader(const uint8_t* bytes, size_t count)
{
    if (!bytes || count < 2)
        return NO_HEADER;
    if (bytes[0] == 0xFF && bytes[1] == MARKER_START_OF_IMAGE)
        return ReadJpeg(bytes, count);
    if (bytes[0] == 'G')
        return ReadGif(bytes, count);
    if (bytes[0] == 'B' && bytes[1] == 'M')
        return ReadBmp(bytes, count);
    return NO_HEADER;
}
