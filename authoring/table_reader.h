// Spreadsheets saved as text, as Excel and LibreOffice Calc write them: comma, semicolon or tab
// separated values, fields in double quotes with doubled quotes inside, CR LF or LF line ends.
#pragma once

#include <string>
#include <vector>

struct TableRow {
    int line; // where the row starts in the file, from 1
    std::vector<std::string> fields;
};

struct TableRead {
    bool ok = false;
    char separator = ';';
    std::vector<TableRow> rows; // every row, the header first; rows of empty fields are left out
    int errorLine = 0;
    std::string error; // French, when not ok
};

// utf8: the whole file as UTF-8 text, without a byte-order mark. The separator is the one of ';',
// tab and ',' that the first row holds most often outside quotes (a row holding none is a table of
// one column). A quoted field that runs over a line end is refused: a quiz text holds no line
// break, and an unclosed quote would otherwise swallow the rest of the file.
TableRead ReadTable(const std::string& utf8);
