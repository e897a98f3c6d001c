// Scroll arithmetic of the question board: bar ranges from the content and client sizes, and the
// position each scroll request asks for. Positions are pixel offsets of the content.
#pragma once

enum class ScrollAxis { HORIZONTAL, VERTICAL };

// Request codes as the scroll bars send them (low word of the scroll message's wParam).
enum ScrollRequest : int {
    SCROLL_LINE_BACK = 0, // line up / line left
    SCROLL_LINE_FORWARD = 1,
    SCROLL_PAGE_BACK = 2,
    SCROLL_PAGE_FORWARD = 3,
    SCROLL_THUMB_POSITION = 4,
    SCROLL_THUMB_TRACK = 5,
    SCROLL_TO_START = 6, // top / left
    SCROLL_TO_END = 7,   // bottom / right
};

// A vertical line step is a comfortable reading step; a horizontal one is a single pixel.
constexpr int VERTICAL_LINE_STEP = 50;
constexpr int HORIZONTAL_LINE_STEP = 1;

// One notch of a mouse wheel, in the wheel messages' delta units.
constexpr int WHEEL_NOTCH = 120;
// Pixels a notch moves the content sideways: the horizontal line step, one pixel, would make the
// wheel useless there, and a text quiz's answer boxes lie off to the right.
constexpr int WHEEL_SIDEWAYS_STEP = 50;

// What one bar is told when the board is laid out.
struct ScrollRange {
    int maximum;        // the range runs from 0 to this
    int page;           // the bar's page size
    bool resetPosition; // the content fits: the position goes back to 0
};

// Range of one bar for a content extent and the client extent along the same axis. The bar's
// largest position (maximum - page + 1) is then exactly content - client, so the last pixel of the
// content reaches the window's edge and no further; when the content fits, the page covers the
// whole range and the bar shows disabled. Degenerate contents (0 or 1 pixel) give an empty range
// rather than a negative one.
ScrollRange ComputeScrollRange(int content, int client);

// What the scroll bar reports before a request.
struct ScrollBarState {
    int minimum;
    int maximum;
    int page;
    int position;
    int trackPosition;
};

// The largest position a bar accepts: maximum - page + 1 (a page of 0 counts as 1), never below
// the minimum.
int LargestScrollPosition(const ScrollBarState& bar);

// The position that a request asks for, limited to the minimum and the largest position, which is
// where the bar would put it anyway. Unknown codes (end of scroll) keep the position.
int RequestedScrollPosition(ScrollAxis axis, int request, const ScrollBarState& bar);

// The position pixels further on (back when negative), limited in the same way.
int ShiftedScrollPosition(const ScrollBarState& bar, int pixels);

// What a wheel has turned since its last whole notch, for one place it reaches and one axis.
// Precision touchpads and fine wheels send a fraction of a notch at a time, a fast spin several
// notches in one message.
struct WheelTotal {
    int rest;
};

// Adds a wheel delta and returns the whole notches now reached (positive: up, or right for the
// horizontal wheel), keeping the rest for the next delta. A turn the other way starts afresh, so a
// change of direction answers at once instead of first paying off what the other way left.
int AddWheelDelta(WheelTotal& total, int delta);
