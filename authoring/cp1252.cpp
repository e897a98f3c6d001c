#include "authoring/cp1252.h"

#include <cstdint>

namespace {

// Unicode code points of bytes 0x80 to 0x9F; the rest of the code page equals Latin-1.
constexpr uint16_t HIGH_CONTROL_RANGE[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

uint32_t CodePointOfByte(unsigned char byte)
{
    if (byte >= 0x80 && byte <= 0x9F)
        return HIGH_CONTROL_RANGE[byte - 0x80];
    return byte;
}

bool ByteOfCodePoint(uint32_t codePoint, unsigned char* byte)
{
    if (codePoint < 0x80 || (codePoint >= 0xA0 && codePoint <= 0xFF)) {
        *byte = static_cast<unsigned char>(codePoint);
        return true;
    }
    for (int i = 0; i < 32; ++i) {
        if (HIGH_CONTROL_RANGE[i] == codePoint) {
            *byte = static_cast<unsigned char>(0x80 + i);
            return true;
        }
    }
    return false;
}

// Stops at the first character the code page lacks, or at a malformed sequence, unless asked to
// write "?" for it and go on.
bool ConvertToCp1252(const std::string& utf8, bool approximate, std::string* text, size_t* errorOffset)
{
    text->reserve(utf8.size());
    for (size_t pos = 0; pos < utf8.size();) {
        uint32_t codePoint = 0;
        const size_t length = DecodeUtf8(utf8, pos, &codePoint);
        unsigned char byte = 0;
        if (length == 0 || !ByteOfCodePoint(codePoint, &byte)) {
            if (!approximate) {
                *errorOffset = pos;
                return false;
            }
            byte = '?';
        }
        *text += static_cast<char>(byte);
        pos += length ? length : 1;
    }
    return true;
}

} // namespace

Cp1252Result Utf8ToCp1252(const std::string& utf8)
{
    Cp1252Result result{true, {}, 0};
    if (!ConvertToCp1252(utf8, false, &result.text, &result.errorOffset))
        return {false, {}, result.errorOffset};
    return result;
}

std::string Utf8ToCp1252Approximately(const std::string& utf8)
{
    std::string text;
    size_t unused = 0;
    ConvertToCp1252(utf8, true, &text, &unused);
    return text;
}

std::string Cp1252ToUtf8(const std::string& cp1252)
{
    std::string out;
    out.reserve(cp1252.size() * 2);
    for (char ch : cp1252)
        AppendUtf8(out, CodePointOfByte(static_cast<unsigned char>(ch)));
    return out;
}

size_t DecodeUtf8(const std::string& text, size_t pos, uint32_t* codePoint)
{
    const auto lead = static_cast<unsigned char>(text[pos]);
    size_t length;
    uint32_t value;
    uint32_t minimum;
    if (lead < 0x80) {
        *codePoint = lead;
        return 1;
    } else if ((lead & 0xE0) == 0xC0) {
        length = 2, value = lead & 0x1F, minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, value = lead & 0x0F, minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, value = lead & 0x07, minimum = 0x10000;
    } else {
        return 0;
    }
    if (pos + length > text.size())
        return 0;
    for (size_t i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(text[pos + i]);
        if ((next & 0xC0) != 0x80)
            return 0;
        value = value << 6 | (next & 0x3F);
    }
    if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
        return 0;
    *codePoint = value;
    return length;
}

void AppendUtf8(std::string& out, uint32_t codePoint)
{
    if (codePoint < 0x80) {
        out += static_cast<char>(codePoint);
    } else if (codePoint < 0x800) {
        out += static_cast<char>(0xC0 | codePoint >> 6);
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else if (codePoint < 0x10000) {
        out += static_cast<char>(0xE0 | codePoint >> 12);
        out += static_cast<char>(0x80 | (codePoint >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | codePoint >> 18);
        out += static_cast<char>(0x80 | (codePoint >> 12 & 0x3F));
        out += static_cast<char>(0x80 | (codePoint >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    }
}

size_t InvalidUtf8Offset(const std::string& text)
{
    for (size_t pos = 0; pos < text.size();) {
        uint32_t codePoint = 0;
        const size_t length = DecodeUtf8(text, pos, &codePoint);
        if (length == 0)
            return pos;
        pos += length;
    }
    return std::string::npos;
}

bool Cp1252Defines(unsigned char byte)
{
    return byte < 0x80 || byte > 0x9F || HIGH_CONTROL_RANGE[byte - 0x80] > 0x9F;
}
