#include "authoring/text_encoding.h"

#include <cstdint>

#include "authoring/cp1252.h"

namespace {

bool StartsWith(const std::string& bytes, const char* prefix, size_t length)
{
    return bytes.compare(0, length, prefix, length) == 0;
}

DecodedText Refused(const char* error)
{
    DecodedText decoded;
    decoded.error = error;
    return decoded;
}

// A file cut inside a character, or holding half of a surrogate pair, is refused with the text
// read before the fault, so that its line can be told.
DecodedText DecodeUtf16(const std::string& bytes, TextEncoding encoding)
{
    const bool bigEndian = encoding == TextEncoding::UTF16_BE;
    auto unitAt = [&bytes, bigEndian](size_t pos) {
        const auto first = static_cast<unsigned char>(bytes[pos]);
        const auto second = static_cast<unsigned char>(bytes[pos + 1]);
        return static_cast<uint32_t>(bigEndian ? first << 8 | second : second << 8 | first);
    };
    DecodedText decoded;
    decoded.encoding = encoding;
    size_t pos = 2;
    for (; pos + 1 < bytes.size(); pos += 2) {
        uint32_t unit = unitAt(pos);
        if (unit >= 0xD800 && unit <= 0xDBFF && pos + 3 < bytes.size()) {
            const uint32_t low = unitAt(pos + 2);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                unit = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
                pos += 2;
            }
        }
        if (unit >= 0xD800 && unit <= 0xDFFF)
            break;
        AppendUtf8(decoded.utf8, unit);
    }
    decoded.ok = pos == bytes.size();
    if (!decoded.ok)
        decoded.error = "le fichier, en UTF-16, s'interrompt au milieu d'un caractère";
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
    if (InvalidUtf8Offset(body) == std::string::npos) {
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
