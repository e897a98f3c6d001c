#include "board/scroll_math.h"

#include <algorithm>

ScrollRange ComputeScrollRange(int content, int client)
{
    const bool fits = content <= client;
    const int visible = fits ? content : client;
    return {std::max(content - 2, 0), std::max(visible - 1, 0), fits};
}

int RequestedScrollPosition(ScrollAxis axis, int request, const ScrollBarState& bar)
{
    const int line = axis == ScrollAxis::VERTICAL ? VERTICAL_LINE_STEP : HORIZONTAL_LINE_STEP;
    int position = bar.position;
    switch (request) {
    case SCROLL_LINE_BACK:
        position -= line;
        break;
    case SCROLL_LINE_FORWARD:
        position += line;
        break;
    case SCROLL_PAGE_BACK:
        position -= bar.page;
        break;
    case SCROLL_PAGE_FORWARD:
        position += bar.page;
        break;
    case SCROLL_THUMB_TRACK:
        position = bar.trackPosition;
        break;
    case SCROLL_TO_START:
        position = bar.minimum;
        break;
    case SCROLL_TO_END:
        position = bar.maximum;
        break;
    default:
        // The final thumb position and the end of a scroll change nothing: the content already
        // followed the thumb while it was dragged.
        break;
    }
    return std::clamp(position, bar.minimum, LargestScrollPosition(bar));
}

int ShiftedScrollPosition(const ScrollBarState& bar, int pixels)
{
    return std::clamp(bar.position + pixels, bar.minimum, LargestScrollPosition(bar));
}

int LargestScrollPosition(const ScrollBarState& bar)
{
    return std::max(bar.minimum, bar.maximum - std::max(bar.page - 1, 0));
}

int AddWheelDelta(WheelTotal& total, int delta)
{
    if ((delta > 0 && total.rest < 0) || (delta < 0 && total.rest > 0))
        total.rest = 0;
    total.rest += delta;
    const int notches = total.rest / WHEEL_NOTCH;
    total.rest -= notches * WHEEL_NOTCH;
    return notches;
}
