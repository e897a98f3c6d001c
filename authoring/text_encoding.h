// Text files as Windows programs save them: Notepad and the spreadsheets write UTF-8 with or without
// a byte-order mark, UTF-16 with one ("Unicode"), or the ANSI code page, Windows-1252 here.
#pragma once

#include <string>

enum class TextEncoding { UTF8, UTF16_LE, UTF16_BE, WINDOWS_1252 };

struct DecodedText {
    bool ok = false;
    TextEncoding encoding = TextEncoding::UTF8;
    std::string utf8;  // the text without its byte-order mark; when not ok, what was read before the fault
    std::string error; // French, when not ok
};

// A byte-order mark decides; without one, bytes that are valid UTF-8 are UTF-8 and any others are
// read as Windows-1252. A file holding a zero byte outside UTF-16 is not a text file, and UTF-16 of
// an odd length or with an unpaired surrogate is damaged: both are refused.
DecodedText DecodeTextFile(const std::string& bytes);

// "UTF-8", "UTF-16" or "Windows-1252", for messages.
const char* EncodingName(TextEncoding encoding);
