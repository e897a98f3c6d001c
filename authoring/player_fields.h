// The player's fields of fixed size that show the quiz's short texts, and how much of a text such
// a field shows. The tool measures texts with the player's fonts to warn of what would be cut.
#pragma once

#include <cstddef>
#include <functional>
#include <string>

enum class PlayerField { TITLE, CREATOR, EXPLANATION, CODE, ANSWER_LABEL };

// The stock fonts the player gives its fields: the system font, or the default GUI font.
enum class PlayerFont { SYSTEM, GUI };

struct FieldShape {
    const char* place; // French, for messages: where the field stands in the player
    PlayerFont font;
    int width;  // pixels the text may take
    int height; // pixels: as many lines show as whole lines of the font fit
    bool wraps; // a static text breaks its lines between words; the code's edit box does not
};

const FieldShape& ShapeOf(PlayerField field);

// Width in pixels of a text (code page 1252) in the field's font.
using MeasureText = std::function<int(const std::string&)>;

// How many bytes of text, from its start, show in a field width pixels wide and lines lines
// high: a wrapping field breaks its lines at spaces, as the player's static texts do, and a word
// wider than a line is cut at the field's edge; a field that does not wrap shows what fits on its
// one line. text.size() when it all shows.
size_t ShownLength(const std::string& text, int width, int lines, bool wraps, const MeasureText& measure);
