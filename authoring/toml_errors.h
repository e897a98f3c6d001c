// The TOML parser's errors, given in English at the place where it noticed them, turned into the
// tool's French messages at the place where the quiz maker has to look.
#pragma once

#include <string>

struct ParserError {
    int line;
    int column;
    std::string message; // French, without the file and line prefix
};

// description: the parser's own text ("Error while parsing array: expected comma or closing ']',
// saw '['"); text: the UTF-8 source it read; line and column: where it stopped, from 1.
ParserError TranslateTomlError(const std::string& description, const std::string& text, int line, int column);

// The parser misreads a character beyond ASCII where it expects no text (its test for Unicode
// spaces reaches a branch it declares unreachable): a key with an accent, a text between French
// quotation marks. The source is parsed first with each such character replaced by "$", which
// only texts and comments may hold; an error found there is the source's own, at the same line
// and column, and TranslateTomlError names the character that stands there.
std::string WithAsciiStandIns(const std::string& utf8);
