#include "authoring/media_format.h"

#include <cstring>

namespace {

bool StartsWith(const std::string& bytes, const char* prefix, size_t length, size_t at = 0)
{
    return bytes.size() >= at + length && std::memcmp(bytes.data() + at, prefix, length) == 0;
}

uint32_t ReadLe32(const std::string& bytes, size_t at)
{
    uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
    return value;
}

// An MPEG audio frame header of layer III: eleven sync bits, then a version other than the
// reserved one, layer bits 01, and a bit-rate index that is neither free-form nor invalid.
bool IsMp3FrameHeader(const std::string& bytes)
{
    if (bytes.size() < 4)
        return false;
    const auto b0 = static_cast<unsigned char>(bytes[0]);
    const auto b1 = static_cast<unsigned char>(bytes[1]);
    const auto b2 = static_cast<unsigned char>(bytes[2]);
    const bool sync = b0 == 0xFF && (b1 & 0xE0) == 0xE0;
    const bool version = (b1 >> 3 & 3) != 1;
    const bool layer3 = (b1 >> 1 & 3) == 1;
    const unsigned bitRate = b2 >> 4;
    return sync && version && layer3 && bitRate != 0 && bitRate != 15;
}

} // namespace

MediaFormat SniffMediaFormat(const std::string& bytes)
{
    if (StartsWith(bytes, "\xFF\xD8\xFF", 3))
        return MediaFormat::JPEG;
    if (StartsWith(bytes, "GIF87a", 6) || StartsWith(bytes, "GIF89a", 6))
        return MediaFormat::GIF;
    if (StartsWith(bytes, "BM", 2) && bytes.size() >= 26)
        return MediaFormat::BMP;
    if (StartsWith(bytes, "\x89PNG\r\n\x1A\n", 8))
        return MediaFormat::PNG;
    if (StartsWith(bytes, "II*\0", 4) || StartsWith(bytes, "MM\0*", 4))
        return MediaFormat::TIFF;
    if (StartsWith(bytes, "RIFF", 4) && StartsWith(bytes, "AVI ", 4, 8))
        return MediaFormat::AVI;
    if (StartsWith(bytes, "ID3", 3) || IsMp3FrameHeader(bytes))
        return MediaFormat::MP3;
    return MediaFormat::UNKNOWN;
}

bool PlayerReadsPicture(MediaFormat format)
{
    return format == MediaFormat::JPEG || format == MediaFormat::GIF || format == MediaFormat::BMP;
}

const char* MediaExtension(MediaFormat format)
{
    switch (format) {
    case MediaFormat::JPEG:
        return ".jpg";
    case MediaFormat::GIF:
        return ".gif";
    case MediaFormat::BMP:
        return ".bmp";
    case MediaFormat::PNG:
        return ".png";
    case MediaFormat::TIFF:
        return ".tif";
    case MediaFormat::MP3:
        return ".mp3";
    case MediaFormat::AVI:
        return ".avi";
    case MediaFormat::UNKNOWN:
        break;
    }
    return ".bin";
}

PixelSize FitPicture(PixelSize size, unsigned limit)
{
    if (size.width <= limit && size.height <= limit)
        return size;
    // Whole-number arithmetic: the limiting side lands exactly on the limit.
    if (size.width >= size.height) {
        const auto height = static_cast<unsigned>(static_cast<uint64_t>(size.height) * limit / size.width);
        return {limit, height ? height : 1};
    }
    const auto width = static_cast<unsigned>(static_cast<uint64_t>(size.width) * limit / size.height);
    return {width ? width : 1, limit};
}

PictureAction ChoosePictureAction(MediaFormat format, PixelSize size, bool keepPictures)
{
    const bool tooLarge = size.width > MAX_STORED_PICTURE_SIDE || size.height > MAX_STORED_PICTURE_SIDE;
    if (!keepPictures && tooLarge)
        return PictureAction::SCALE;
    if (!PlayerReadsPicture(format))
        return PictureAction::REENCODE;
    return PictureAction::KEEP;
}

bool ClearCoffSymbolTable(std::string& image)
{
    if (!StartsWith(image, "MZ", 2) || image.size() < 0x40)
        return false;
    const uint32_t peOffset = ReadLe32(image, 0x3C);
    // Signature (4), machine (2), section count (2), time stamp (4), symbol table pointer (4),
    // symbol count (4).
    if (peOffset > image.size() || image.size() - peOffset < 24 || !StartsWith(image, "PE\0\0", 4, peOffset))
        return false;
    std::memset(&image[peOffset + 12], 0, 8);
    return true;
}
