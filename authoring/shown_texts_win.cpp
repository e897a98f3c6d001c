#include "authoring/shown_texts_win.h"

#include <windows.h>

#include <algorithm>

#include "authoring/cp1252.h"
#include "authoring/wording.h"
#include "platform/text_1252_win.h"
#include "platform/win_raii.h"

namespace {

HGDIOBJ StockFontOf(PlayerFont font)
{
    return GetStockObject(font == PlayerFont::SYSTEM ? SYSTEM_FONT : DEFAULT_GUI_FONT);
}

} // namespace

std::vector<Diagnostic> CheckShownTexts(const std::vector<ShownText>& texts)
{
    std::vector<Diagnostic> warnings;
    UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
    if (!dc)
        return warnings;
    for (const ShownText& shown : texts) {
        const FieldShape& shape = ShapeOf(shown.field);
        // Measured as the player draws its texts: the stored bytes read in code page 1252, whatever
        // the system's, then given to the wide functions.
        ScopedSelection font(dc.Get(), StockFontOf(shape.font));
        TEXTMETRICW metrics;
        if (!GetTextMetricsW(dc.Get(), &metrics) || metrics.tmHeight <= 0)
            continue;
        const int lines = std::max(1, shape.height / static_cast<int>(metrics.tmHeight));
        auto measure = [&](const std::string& text) {
            const WideString wide = WideFrom1252(text.c_str());
            SIZE size = {0, 0};
            GetTextExtentPoint32W(dc.Get(), wide.data(), static_cast<int>(wide.size()), &size);
            return static_cast<int>(size.cx);
        };
        const size_t shownLength = ShownLength(shown.text, shape.width, lines, shape.wraps, measure);
        if (shownLength >= shown.text.size())
            continue;
        const std::string part = Cp1252ToUtf8(shown.text.substr(0, shownLength));
        const size_t end = part.find_last_not_of(' ');
        warnings.push_back({true, shown.line,
                            shown.what + " dépasse " + shape.place + " (" + std::to_string(shape.width) +
                                " pixels sur " + Plural(lines, "ligne") + ") : " +
                                (end == std::string::npos ? "rien ne s'en affiche"
                                                          : "seul " + Quoted(part.substr(0, end + 1)) + " s'affiche"),
                            0, shown.place});
    }
    return warnings;
}
