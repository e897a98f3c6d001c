// Where the header panel's right-hand controls go for a panel width: they keep their distance
// from the right edge, and the explanation takes what is left between the title block and them.
#pragma once

#include <array>

struct HeaderPlacement {
    int id;
    int x;
    int y;
    int width;
    int height;
    bool repaint; // the control is invalidated after the move
};

constexpr int HEADER_MOVED_CONTROLS = 6;

// The moves in the order they are made. A panel narrower than the fixed blocks gives the
// explanation no width rather than a negative one.
std::array<HeaderPlacement, HEADER_MOVED_CONTROLS> HeaderLayout(int panelWidth);
