// Where every control of the editor's window goes, worked out from the font and the screen's DPI
// so that the window reads the same at any scaling and any size from its minimum up.
#pragma once

#include <functional>
#include <string>
#include <vector>

struct LayoutMetrics {
    int dpi = 96;
    int lineHeight = 16; // of the window's font
    int charWidth = 7;   // its average character width
    // Width of a text in the window's font, for the buttons.
    std::function<int(const std::string& utf8)> textWidth;
};

// Which parts of the question's form show: they follow the quiz's kind, answers and reveal.
struct FormShape {
    bool secondAnswer = false;
    bool questionText = false;
    bool picture = true;
    bool answerPicture = false;
    bool revealText = false;
    bool building = false; // the build's progress strip above the status line
};

struct Box {
    int left, top, right, bottom;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
};

struct PlacedControl {
    int id;
    Box box; // for a drop-down list, the closed field
};

// Every visible control of the client area above the status line, width x height pixels. Controls
// left out are hidden.
std::vector<PlacedControl> LayOutWindow(int width, int height, const LayoutMetrics& metrics, const FormShape& shape);

// The smallest client area (above the status line) in which nothing is cut or overlaps.
struct ClientSize {
    int width, height;
};
ClientSize MinimumClientSize(const LayoutMetrics& metrics, const FormShape& shape);

// The French text of a label or a button ("" for any other control), UTF-8: the window shows it
// and the layout measures it.
const char* ControlText(int id);
