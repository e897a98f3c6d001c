#include <gtest/gtest.h>

#include <string>

#include "board/picture_header.h"

namespace {

using Bytes = std::string;

Bytes Segment(unsigned char marker, const Bytes& payload)
{
    const size_t length = payload.size() + 2;
    return Bytes("\xFF") + static_cast<char>(marker) + static_cast<char>(length >> 8) +
           static_cast<char>(length & 0xFF) + payload;
}

// A frame header of marker for width x height, three components.
Bytes Frame(unsigned char marker, int width, int height)
{
    const char fields[] = {8,
                           static_cast<char>(height >> 8),
                           static_cast<char>(height),
                           static_cast<char>(width >> 8),
                           static_cast<char>(width),
                           3};
    return Segment(marker, Bytes(fields, sizeof(fields)) + Bytes(9, '\x11'));
}

const Bytes SOI = "\xFF\xD8";
const Bytes JFIF = Segment(0xE0, Bytes("JFIF\0\1\1\0\0\1\0\1\0\0", 14));
// An EXIF segment carrying a 160 x 120 thumbnail, markers and all.
const Bytes EXIF = Segment(0xE1, Bytes("Exif\0\0", 6) + SOI + Frame(0xC0, 160, 120) + "\xFF\xD9");
const Bytes TABLE = Segment(0xC4, Bytes(20, '\x01'));
const Bytes SCAN = Segment(0xDA, Bytes(10, '\x00'));

Bytes Le16(int value)
{
    return {static_cast<char>(value), static_cast<char>(value >> 8)};
}

// A logical screen with a two-colour table, a graphic control extension, then the first image.
Bytes Gif(const char* version, int screenWidth, int screenHeight, int width, int height)
{
    return Bytes(version) + Le16(screenWidth) + Le16(screenHeight) + Bytes("\x80\0\0\1\2\3\4\5\6", 9) +
           Bytes("\x21\xF9\x04\x01\0\0\x05\0\x2C\0\0\0\0", 13) + Le16(width) + Le16(height) +
           Bytes("\0\x02\x02\x44\x01\0\x3B", 7);
}

Bytes Le32(int value)
{
    const auto v = static_cast<unsigned>(value);
    return {static_cast<char>(v), static_cast<char>(v >> 8), static_cast<char>(v >> 16), static_cast<char>(v >> 24)};
}

Bytes Bmp(int infoSize, int width, int height)
{
    return Bytes("BM") + Le32(0) + Le32(0) + Le32(54) + Le32(infoSize) + Le32(width) + Le32(height) +
           Bytes(static_cast<size_t>(infoSize > 12 ? infoSize - 12 : 0), '\x01');
}

Bytes CoreBmp(int width, int height)
{
    return Bytes("BM") + Le32(0) + Le32(0) + Le32(26) + Le32(12) + Bytes{static_cast<char>(width), 0} +
           Bytes{static_cast<char>(height), 0} + Bytes("\1\0\x18\0", 4);
}

} // namespace

TEST(ReadPictureHeader, ReadsTheSizeOfEveryKindOfHeader)
{
    const Bytes baseline = SOI + JFIF + Segment(0xDB, Bytes(65, '\x02')) + Frame(0xC0, 640, 480) + TABLE + SCAN;
    const Bytes progressive = SOI + JFIF + TABLE + Frame(0xC2, 3000, 2000) + SCAN;
    const struct {
        const char* what;
        Bytes bytes;
        PictureFormat format;
        int width, height;
    } cases[] = {
        {"baseline JPEG", baseline, PictureFormat::JPEG, 640, 480},
        {"JPEG after EXIF with a thumbnail", SOI + EXIF + JFIF + Frame(0xC1, 4000, 3000) + SCAN, PictureFormat::JPEG,
         4000, 3000},
        {"progressive JPEG after its tables", progressive, PictureFormat::JPEG, 3000, 2000},
        {"arithmetic-table segment is no frame", SOI + Segment(0xCC, "ab") + Frame(0xC9, 9, 7), PictureFormat::JPEG, 9,
         7},
        {"fill bytes and restart markers", SOI + "\xFF\xFF\xFF\xD0" + Frame(0xC0, 1, 65535), PictureFormat::JPEG, 1,
         65535},
        {"GIF 89a: its first image", Gif("GIF89a", 200, 150, 120, 80), PictureFormat::GIF, 120, 80},
        {"GIF 87a", Gif("GIF87a", 640, 1, 640, 1), PictureFormat::GIF, 640, 1},
        {"bottom-up BMP", Bmp(40, 100, 50), PictureFormat::BMP, 100, 50},
        {"top-down BMP", Bmp(40, 100, -50), PictureFormat::BMP, 100, 50},
        {"version 5 BMP", Bmp(124, 7, -3), PictureFormat::BMP, 7, 3},
        {"core-header BMP", CoreBmp(40, 30), PictureFormat::BMP, 40, 30},
        // Headers that read no size.
        {"scan before the frame", SOI + JFIF + SCAN + Frame(0xC0, 8, 8), PictureFormat::UNKNOWN, 0, 0},
        {"end of image", SOI + "\xFF\xD9" + Frame(0xC0, 8, 8), PictureFormat::UNKNOWN, 0, 0},
        {"height defined later", SOI + Frame(0xC0, 640, 0), PictureFormat::UNKNOWN, 0, 0},
        {"segment length below 2", SOI + "\xFF\xE0\x00\x01" + Frame(0xC0, 8, 8), PictureFormat::UNKNOWN, 0, 0},
        {"JPEG with no frame", SOI + JFIF + TABLE, PictureFormat::UNKNOWN, 0, 0},
        {"other GIF version", Gif("GIF88a", 8, 8, 8, 8), PictureFormat::UNKNOWN, 0, 0},
        {"GIF image without a width", Gif("GIF89a", 8, 8, 0, 8), PictureFormat::UNKNOWN, 0, 0},
        {"GIF without an image", Bytes("GIF89a\1\0\1\0\0\0\0\x3B", 14), PictureFormat::UNKNOWN, 0, 0},
        {"BMP without a width", Bmp(40, 0, 50), PictureFormat::UNKNOWN, 0, 0},
        {"BMP height beyond an int", Bmp(40, 8, INT32_MIN), PictureFormat::UNKNOWN, 0, 0},
        {"unknown BMP header", Bmp(13, 8, 8), PictureFormat::UNKNOWN, 0, 0},
        {"PNG", Bytes("\x89PNG\r\n\x1A\n\0\0\0\x0DIHDR\0\0\1\0\0\0\1\0", 24), PictureFormat::UNKNOWN, 0, 0},
        {"empty", "", PictureFormat::UNKNOWN, 0, 0},
    };
    for (const auto& c : cases) {
        const PictureHeader header =
            ReadPictureHeader(reinterpret_cast<const uint8_t*>(c.bytes.data()), c.bytes.size());
        EXPECT_EQ(header.format, c.format) << c.what;
        EXPECT_EQ(header.width, c.width) << c.what;
        EXPECT_EQ(header.height, c.height) << c.what;
    }
}

TEST(ReadPictureHeader, AHeaderCutShortReadsNoSize)
{
    const Bytes pictures[] = {SOI + EXIF + Frame(0xC2, 3000, 2000), Gif("GIF89a", 300, 520, 30, 52), Bmp(40, 100, -50),
                              CoreBmp(40, 30)};
    for (const Bytes& whole : pictures) {
        // Every cut before the last byte of the size; the copy keeps the reader inside the cut.
        const size_t sizeEnd = whole[0] == 'G' ? 36 : whole[0] == 'B' ? (whole[14] == 12 ? 22 : 26) : whole.size() - 10;
        for (size_t cut = 0; cut < sizeEnd; ++cut) {
            const Bytes part = whole.substr(0, cut);
            const PictureHeader header = ReadPictureHeader(reinterpret_cast<const uint8_t*>(part.data()), part.size());
            EXPECT_EQ(header.format, PictureFormat::UNKNOWN) << whole.size() << " bytes cut at " << cut;
        }
        const Bytes part = whole.substr(0, sizeEnd);
        EXPECT_NE(ReadPictureHeader(reinterpret_cast<const uint8_t*>(part.data()), part.size()).format,
                  PictureFormat::UNKNOWN);
    }
}
