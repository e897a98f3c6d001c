#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "board/picture_header.h"

namespace {

using Bytes = std::string;

Bytes Be16(int value)
{
    return {static_cast<char>(value >> 8), static_cast<char>(value)};
}

Bytes Le16(int value)
{
    return {static_cast<char>(value), static_cast<char>(value >> 8)};
}

Bytes Le32(int value)
{
    return Le16(value) + Le16(value >> 16);
}

Bytes Segment(unsigned char marker, const Bytes& payload)
{
    return "\xFF" + Bytes(1, static_cast<char>(marker)) + Be16(static_cast<int>(payload.size()) + 2) + payload;
}

// A frame header of marker for width x height, three components.
Bytes Frame(unsigned char marker, int width, int height)
{
    return Segment(marker, "\x08" + Be16(height) + Be16(width) + "\x03" + Bytes(9, '\x11'));
}

const Bytes SOI = "\xFF\xD8";
const Bytes JFIF = Segment(0xE0, Bytes("JFIF\0\1\1\0\0\1\0\1\0\0", 14));
// An EXIF segment carrying a 160 x 120 thumbnail, markers and all.
const Bytes EXIF = Segment(0xE1, Bytes("Exif\0\0", 6) + SOI + Frame(0xC0, 160, 120) + "\xFF\xD9");
const Bytes TABLE = Segment(0xC4, Bytes(20, '\x01'));
const Bytes SCAN = Segment(0xDA, Bytes(10, '\x00'));

// A logical screen with a two-colour table, a graphic control extension, then the first image.
Bytes Gif(const char* version, int screenWidth, int screenHeight, int width, int height)
{
    return version + Le16(screenWidth) + Le16(screenHeight) + Bytes("\x80\0\0\1\2\3\4\5\6", 9) +
           Bytes("\x21\xF9\x04\x01\0\0\x05\0\x2C\0\0\0\0", 13) + Le16(width) + Le16(height) +
           Bytes("\0\x02\x02\x44\x01\0\x3B", 7);
}

Bytes Bmp(int infoSize, int width, int height)
{
    const Bytes sides = infoSize == 12 ? Le16(width) + Le16(height) : Le32(width) + Le32(height);
    return "BM" + Le32(0) + Le32(0) + Le32(54) + Le32(infoSize) + sides + Le16(1) + Le16(24) + Bytes(40, '\x01');
}

// Read from an exact copy, so that reading one byte too far is caught by the sanitizer.
PictureHeader Read(const Bytes& bytes)
{
    const std::vector<uint8_t> exact(bytes.begin(), bytes.end());
    return ReadPictureHeader(exact.data(), exact.size());
}

} // namespace

TEST(ReadPictureHeader, ReadsTheSizeOfEveryKindOfHeader)
{
    const Bytes baseline = SOI + JFIF + Segment(0xDB, Bytes(65, '\x02')) + Frame(0xC0, 640, 480) + TABLE + SCAN;
    const Bytes bareGif = "GIF87a" + Le16(640) + Le16(9) + Bytes("\0\0\0\x2C\0\0\0\0", 8) + Le16(640) + Le16(1);
    const struct {
        const char* what;
        Bytes bytes;
        PictureFormat format;
        int width, height;
    } cases[] = {
        {"baseline JPEG", baseline, PictureFormat::JPEG, 640, 480},
        {"JPEG after EXIF with a thumbnail", SOI + EXIF + JFIF + Frame(0xC1, 4000, 3000), PictureFormat::JPEG, 4000,
         3000},
        {"progressive JPEG after its tables", SOI + TABLE + Frame(0xC2, 3000, 2000), PictureFormat::JPEG, 3000, 2000},
        {"arithmetic table, then frame", SOI + Segment(0xCC, "ab") + Frame(0xC9, 9, 7), PictureFormat::JPEG, 9, 7},
        {"fill bytes and restart marker", SOI + "\xFF\xFF\xFF\xD0" + Frame(0xC0, 1, 65535), PictureFormat::JPEG, 1,
         65535},
        {"GIF 89a: its first image", Gif("GIF89a", 200, 150, 120, 80), PictureFormat::GIF, 120, 80},
        {"GIF 87a without colour table", bareGif, PictureFormat::GIF, 640, 1},
        {"bottom-up BMP", Bmp(40, 100, 50), PictureFormat::BMP, 100, 50},
        {"top-down BMP", Bmp(124, 7, -3), PictureFormat::BMP, 7, 3},
        {"core-header BMP", Bmp(12, 40, 30), PictureFormat::BMP, 40, 30},
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
        {"BA, not BM", "BA" + Bmp(40, 8, 8).substr(2), PictureFormat::UNKNOWN, 0, 0},
        {"PNG", Bytes("\x89PNG\r\n\x1A\n\0\0\0\x0DIHDR\0\0\1\0\0\0\1\0", 24), PictureFormat::UNKNOWN, 0, 0},
    };
    for (const auto& c : cases) {
        const PictureHeader header = Read(c.bytes);
        EXPECT_EQ(header.format, c.format) << c.what;
        EXPECT_EQ(header.width, c.width) << c.what;
        EXPECT_EQ(header.height, c.height) << c.what;
    }
}

TEST(ReadPictureHeader, AHeaderCutShortReadsNoSize)
{
    const std::pair<Bytes, size_t> picturesAndSizeEnds[] = {
        {SOI + EXIF + Frame(0xC2, 3000, 2000), SOI.size() + EXIF.size() + 9},
        {Gif("GIF89a", 300, 520, 30, 52), 36},
        {Bmp(40, 100, -50), 26},
        {Bmp(12, 40, 30), 22},
    };
    for (const auto& [whole, sizeEnd] : picturesAndSizeEnds) {
        for (size_t cut = 0; cut < sizeEnd; ++cut)
            EXPECT_EQ(Read(whole.substr(0, cut)).format, PictureFormat::UNKNOWN) << whole.size() << " cut at " << cut;
        EXPECT_NE(Read(whole.substr(0, sizeEnd)).format, PictureFormat::UNKNOWN) << whole.size();
    }
}
