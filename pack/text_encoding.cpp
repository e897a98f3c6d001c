#include "pack/text_encoding.h"

#include <cstdint>

#include "pack/cp1252.h"

namespace {

bool StartsWith(const std::string& bytes, const char* prefix, size_t length)
{
    return bytes.compare(0, length, prefix, length) == 0;
}

bool IsUtf8(const std::string& bytes)
{
    uint32_t codePoint = 0;
    for (size_t pos = 0; pos < bytes.size();) {
        const size_t length = DecodeUtf8(bytes, pos, &codePoint);
        if (length == 0)
            return false;
        pos += length;
    }
    return true;
}

DecodedText Refused(const char* error)
{
    DecodedText decoded;
    decoded.error = error;
    return decoded;
}

DecodedText DecodeUtf16(const std::string& bytes, TextEncoding encoding)
{
    if (bytes.size() % 2 != 0)
        return Refused("texte UTF-16 tronqu\xC3\xA9 (nombre impair d'octets)");
    const bool bigEndian = encoding == TextEncoding::UTF16_BE;
    auto unitAt = [&bytes, bigEndian](size_t pos) {
        const auto first = static_cast<unsigned char>(bytes[pos]);
        const auto second = static_cast<unsigned char>(bytes[pos + 1]);
        return static_cast<uint32_t>(bigEndian ? first << 8 | second : second << 8 | first);
    };
    DecodedText decoded;
    decoded.encoding = encoding;
    for (size_t pos = 2; pos < bytes.size(); pos += 2) {
        uint32_t unit = unitAt(pos);
        if (unit >= 0xD800 && unit <= 0xDBFF && pos + 3 < bytes.size()) {
            const uint32_t low = unitAt(pos + 2);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                unit = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
                pos += 2;
            }
        }
        if (unit >= 0xD800 && unit <= 0xDFFF)
            return Refused("texte UTF-16 ab\xC3\xAEm\xC3\xA9 (demi-caract\xC3\xA8re isol\xC3\xA9)");
        AppendUtf8(decoded.utf8, unit);
    }
    decoded.ok = true;
    return decoded;
}

} // namespace

DecodedText DecodeTextFile(const std::string& bytes)
{
    if (StartsWith(bytes, "\xFF\xFE", 2))
        return DecodeUtf16(bytes, TextEncoding::UTF16_LE);
    if (StartsWith(bytes, "\xFE\xFF", 2))
        return DecodeUtf16(bytes, TextEncoding::UTF16_BE);
    if (bytes.find('\0') != std::string::npos)
        return Refused("ce n'est pas un fichier texte (il contient des octets nuls)");
    DecodedText decoded;
    decoded.ok = true;
    const std::string body = bytes.substr(StartsWith(bytes, "\xEF\xBB\xBF", 3) ? 3 : 0);
    if (IsUtf8(body)) {
        decoded.utf8 = body;
    } else {
        decoded.encoding = TextEncoding::WINDOWS_1252;
        decoded.utf8 = Cp1252ToUtf8(body);
    }
    return decoded;
}

const char* EncodingName(TextEncoding encoding)
{
    switch (encoding) {
    case TextEncoding::UTF16_LE:
    case TextEncoding::UTF16_BE:
        return "UTF-16";
    case TextEncoding::WINDOWS_1252:
        return "Windows-1252";
    case TextEncoding::UTF8:
        break;
    }
    return "UTF-8";
}
