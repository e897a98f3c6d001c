#include "authoring/player_fields.h"

namespace {

// The player's own sizes, at the size its main window opens with (544 x 375). The header's fields
// are made by header/header_panel_win.cpp and moved by header/header_layout.cpp for a panel whose
// client area is 523 pixels wide (the window's client area, 536, less the panel's margins and
// border); the answer captions are placed by board/board_layout.cpp. Only the explanation grows
// with a wider window.
const FieldShape SHAPES[] = {
    // The title has no font of its own: its static text draws in the system font.
    {"la place du titre dans l'en-tête", PlayerFont::SYSTEM, 220, 18, true},
    {"la place de l'auteur dans l'en-tête", PlayerFont::GUI, 105, 18, true},
    // 523 less the 324 pixels the header keeps for its other blocks.
    {"la place de la consigne dans l'en-tête", PlayerFont::GUI, 199, 28, true},
    // The edit box is 50 pixels wide and starts its text 3 pixels in; a letter that passes its
    // right edge is cut.
    {"la case du code", PlayerFont::GUI, 47, 16, false},
    {"la place de la légende", PlayerFont::GUI, 95, 20, true},
};

// The longest prefix of text[start, end) that fits width, from the start: measured widths only
// grow with the length.
size_t FittingEnd(const std::string& text, size_t start, size_t end, int width, const MeasureText& measure)
{
    size_t low = start, high = end;
    while (low < high) {
        const size_t middle = low + (high - low + 1) / 2;
        if (measure(text.substr(start, middle - start)) <= width)
            low = middle;
        else
            high = middle - 1;
    }
    return low;
}

size_t WordEnd(const std::string& text, size_t from)
{
    const size_t space = text.find(' ', from);
    return space == std::string::npos ? text.size() : space;
}

} // namespace

const FieldShape& ShapeOf(PlayerField field)
{
    return SHAPES[static_cast<int>(field)];
}

size_t ShownLength(const std::string& text, int width, int lines, bool wraps, const MeasureText& measure)
{
    if (!wraps)
        return FittingEnd(text, 0, text.size(), width, measure);
    size_t start = 0;
    for (int line = 1; line <= lines; ++line) {
        start = text.find_first_not_of(' ', start); // the spaces at a break show on neither line
        if (start == std::string::npos)
            return text.size();
        size_t end = WordEnd(text, start);
        if (measure(text.substr(start, end - start)) > width)
            return FittingEnd(text, start, end, width, measure);
        while (end < text.size()) {
            const size_t wordStart = text.find_first_not_of(' ', end);
            const size_t next = wordStart == std::string::npos ? text.size() : WordEnd(text, wordStart);
            if (measure(text.substr(start, next - start)) > width)
                break;
            end = next;
        }
        start = end;
    }
    return text.find_first_not_of(' ', start) == std::string::npos ? text.size() : start;
}
