#include "authoring/wording.h"

#include <cstdint>
#include <cstdio>

std::string Plural(size_t count, const char* word)
{
    return std::to_string(count) + " " + word + (count > 1 ? "s" : "");
}

std::string Quoted(const std::string& text)
{
    return "« " + text + " »";
}

std::string DescribeCharacter(const std::string& utf8, size_t offset)
{
    const auto lead = static_cast<unsigned char>(utf8[offset]);
    size_t length = lead < 0xC0 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    if (offset + length > utf8.size())
        length = utf8.size() - offset;
    const std::string character = utf8.substr(offset, length);
    uint32_t codePoint = lead;
    if (length > 1) {
        codePoint = lead & (0x7F >> length);
        for (size_t i = 1; i < length; ++i)
            codePoint = codePoint << 6 | (static_cast<unsigned char>(utf8[offset + i]) & 0x3F);
    }
    char code[16];
    std::snprintf(code, sizeof(code), "U+%04X", static_cast<unsigned>(codePoint));
    return "« " + character + " » (" + code + ")";
}
