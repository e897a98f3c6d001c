// A quiz source as Windows editors save it (UTF-8 with or without a byte-order mark, or UTF-16
// with one), turned into the UTF-8 text that the parser reads.
#pragma once

#include <string>

struct SourceText {
    bool ok;
    std::string utf8;  // without a byte-order mark; line ends as in the file
    int errorLine;     // when not ok: the line of the first byte that could not be read (0: none)
    std::string error; // when not ok: French, with how to save the file in UTF-8
};

SourceText DecodeSourceFile(const std::string& bytes);
