#include "authoring/source_text.h"

#include <cstdio>

#include "authoring/cp1252.h"
#include "authoring/text_encoding.h"
#include "authoring/wording.h"

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

} // namespace

SourceText DecodeSourceFile(const std::string& bytes)
{
    const DecodedText decoded = DecodeTextFile(bytes);
    if (decoded.ok && decoded.encoding != TextEncoding::WINDOWS_1252)
        return {true, decoded.utf8, 0, {}};
    if (decoded.encoding == TextEncoding::UTF16_LE || decoded.encoding == TextEncoding::UTF16_BE)
        return Failure(LineAt(decoded.utf8, decoded.utf8.size()), decoded.error + ".");
    const std::string text = bytes.compare(0, 3, UTF8_MARK) == 0 ? bytes.substr(3) : bytes;
    const size_t zero = text.find('\0');
    if (zero != std::string::npos)
        return Failure(
            LineAt(text, zero),
            "le fichier contient des octets nuls : sans doute de l'UTF-16 enregistré sans marque d'ordre des octets.");
    // Not UTF-8, and no zero byte: there is a first byte that UTF-8 cannot read.
    const size_t bad = InvalidUtf8Offset(text);
    const auto byte = static_cast<unsigned char>(text[bad]);
    char code[8];
    std::snprintf(code, sizeof(code), "0x%02X", byte);
    bool allDefined = true;
    for (char c : text)
        allDefined = allDefined && Cp1252Defines(static_cast<unsigned char>(c));
    if (allDefined)
        return Failure(LineAt(text, bad), "le fichier n'est pas en UTF-8 : il semble enregistré en Windows-1252 (« "
                                          "ANSI » dans le Bloc-notes), où l'octet " +
                                              std::string(code) + " de cette ligne est " +
                                              Quoted(Cp1252ToUtf8(std::string(1, static_cast<char>(byte)))) + ".");
    return Failure(LineAt(text, bad),
                   "le fichier n'est pas en UTF-8 : l'octet " + std::string(code) + " de cette ligne ne s'y lit pas.");
}
