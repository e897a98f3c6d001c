// Conversion between UTF-8 (the quiz source, the tool's console) and Windows code page 1252 (the
// player's texts).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

struct Cp1252Result {
    bool ok;
    std::string text;
    // On failure: byte offset in the input of the first character that could not be converted.
    size_t errorOffset;
};

// UTF-8 to code page 1252. Fails on malformed UTF-8 and on characters the code page cannot hold.
Cp1252Result Utf8ToCp1252(const std::string& utf8);

// The same with "?" for each character the code page cannot hold and each malformed byte: the
// player's bytes of texts that the check refuses, which still count for the size of the content.
std::string Utf8ToCp1252Approximately(const std::string& utf8);

// Offset of the first malformed UTF-8 sequence in text, or std::string::npos when it is all valid.
size_t InvalidUtf8Offset(const std::string& text);

// Whether the code page gives the byte a character: it leaves 0x81, 0x8D, 0x8F, 0x90 and 0x9D out.
bool Cp1252Defines(unsigned char byte);

// Decodes the UTF-8 sequence at text[pos] into *codePoint; returns its length, or 0 when it is
// malformed (overlong, a surrogate, past U+10FFFF or cut short by the end of the text).
size_t DecodeUtf8(const std::string& text, size_t pos, uint32_t* codePoint);
void AppendUtf8(std::string& out, uint32_t codePoint);

// Code page 1252 to UTF-8. The five bytes that the code page leaves undefined (0x81, 0x8D, 0x8F,
// 0x90, 0x9D) become the C1 control characters of the same value, as Windows converts them.
std::string Cp1252ToUtf8(const std::string& cp1252);
