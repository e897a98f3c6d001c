#include "header/header_layout.h"

#include <algorithm>

#include "resource.h"

namespace {

// The explanation starts after the left block and the title margin and stops before the
// "Sauver" button and the link block.
constexpr int EXPLANATION_X = 110;
constexpr int EXPLANATION_RIGHT_MARGIN = 324;

} // namespace

std::array<HeaderPlacement, HEADER_MOVED_CONTROLS> HeaderLayout(int panelWidth)
{
    const int w = panelWidth;
    return {{
        {IDC_WEB_LINK, w - 134, 0, 115, 18, false},
        {IDC_BY_LABEL, w - 134, 25, 26, 18, false},
        {IDC_CREATOR, w - 107, 25, 105, 18, true},
        {IDC_SAVE, w - 204, 25, 55, 18, true},
        {IDC_EXPLANATION, EXPLANATION_X, 19, std::max(w - EXPLANATION_RIGHT_MARGIN, 0), 28, true},
        {IDC_RULE_RIGHT, w - 145, 0, 1, 50, true},
    }};
}
