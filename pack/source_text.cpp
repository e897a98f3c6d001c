#include "pack/source_text.h"

#include <cstdint>
#include <cstdio>

#include "pack/cp1252.h"
#include "pack/wording.h"

namespace {

const char UTF8_MARK[] = "\xEF\xBB\xBF";
const char SAVE_AS_UTF8[] =
    " Enregistrez-le en UTF-8 : dans le Bloc-notes, Fichier > Enregistrer sous, Encodage : UTF-8.";

SourceText Failure(int line, const std::string& error)
{
    return {false, {}, line, error + SAVE_AS_UTF8};
}

int LineAt(const std::string& text, size_t offset)
{
    int line = 1;
    for (size_t i = 0; i < offset && i < text.size(); ++i)
        line += text[i] == '\n';
    return line;
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

// Notepad's "UTF-16 LE" and "UTF-16 BE" both start with a byte-order mark, skipped here.
SourceText FromUtf16(const std::string& bytes, bool bigEndian)
{
    auto unitAt = [&](size_t i) {
        const auto first = static_cast<unsigned char>(bytes[i]);
        const auto second = static_cast<unsigned char>(bytes[i + 1]);
        return static_cast<uint32_t>(bigEndian ? first << 8 | second : second << 8 | first);
    };
    SourceText result{true, {}, 0, {}};
    int line = 1;
    size_t i = 2;
    for (; i + 1 < bytes.size(); i += 2) {
        uint32_t codePoint = unitAt(i);
        if (codePoint >= 0xD800 && codePoint <= 0xDBFF && i + 3 < bytes.size() && unitAt(i + 2) >= 0xDC00 &&
            unitAt(i + 2) <= 0xDFFF) {
            codePoint = 0x10000 + ((codePoint - 0xD800) << 10) + (unitAt(i + 2) - 0xDC00);
            i += 2;
        } else if (codePoint >= 0xD800 && codePoint <= 0xDFFF) {
            break;
        }
        line += codePoint == '\n';
        AppendUtf8(result.utf8, codePoint);
    }
    if (i < bytes.size())
        return Failure(line, "le fichier, en UTF-16, s'interrompt au milieu d'un caract\xC3\xA8re.");
    return result;
}

} // namespace

SourceText DecodeSourceFile(const std::string& bytes)
{
    if (bytes.compare(0, 2, "\xFF\xFE") == 0 || bytes.compare(0, 2, "\xFE\xFF") == 0)
        return FromUtf16(bytes, bytes[0] == '\xFE');
    const std::string text = bytes.compare(0, 3, UTF8_MARK) == 0 ? bytes.substr(3) : bytes;
    const size_t zero = text.find('\0');
    if (zero != std::string::npos)
        return Failure(LineAt(text, zero),
                       "le fichier contient des octets nuls : sans doute de l'UTF-16 enregistr\xC3\xA9 "
                       "sans marque d'ordre des octets.");
    const size_t bad = InvalidUtf8Offset(text);
    if (bad == std::string::npos)
        return {true, text, 0, {}};

    const auto byte = static_cast<unsigned char>(text[bad]);
    char code[8];
    std::snprintf(code, sizeof(code), "0x%02X", byte);
    bool allDefined = true;
    for (char c : text)
        allDefined = allDefined && Cp1252Defines(static_cast<unsigned char>(c));
    if (allDefined)
        return Failure(LineAt(text, bad), "le fichier n'est pas en UTF-8 : il semble enregistr\xC3\xA9 en Windows-1252 "
                                          "(\xC2\xAB ANSI \xC2\xBB dans le Bloc-notes), o\xC3\xB9 l'octet " +
                                              std::string(code) + " de cette ligne est " +
                                              Quoted(Cp1252ToUtf8(std::string(1, static_cast<char>(byte)))) + ".");
    return Failure(LineAt(text, bad),
                   "le fichier n'est pas en UTF-8 : l'octet " + std::string(code) + " de cette ligne ne s'y lit pas.");
}
