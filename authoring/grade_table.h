// Grading many answers at once: a UTF-8 table of "expected<TAB>typed" lines, one verdict per line.
#pragma once

#include <string>

struct GradeTableResult {
    bool ok;
    std::string verdicts; // UTF-8, one line per input line ("\n"), when ok
    std::string error;    // French, with the line number, when not ok
};

// A UTF-8 byte-order mark is skipped and CR LF line ends are accepted. A line is split at its first
// tab, so the typed text may hold tabs of its own (the player keeps them); the expected text may
// hold variants, as GradeToUtf8 takes them. A blank line gives a blank line. Texts are converted to
// code page 1252 as the player holds them; a character that the code page lacks, or a line without
// a tab, stops the table with an error naming its line.
GradeTableResult GradeTable(const std::string& utf8, bool accentsForgiven);

// One answer box, in code page 1252: its stored answer followed by the variants it accepts, each
// after a "|" ("Charles de Gaulle|De Gaulle"; an empty one is left out, as a quiz never carries
// one), and the text typed. The verdict in UTF-8.
std::string GradeToUtf8(const std::string& accepted, const std::string& typed, bool accentsForgiven);
