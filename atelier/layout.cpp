#include "atelier/layout.h"

#include <algorithm>

#include "atelier_resource.h"

namespace {

struct ControlTextEntry {
    int id;
    const char* text;
};

const ControlTextEntry CONTROL_TEXTS[] = {
    {IDC_SETTINGS_HEADING, "Réglages du quiz"},
    {IDC_TITLE_LABEL, "&Titre :"},
    {IDC_CREATOR_LABEL, "A&uteur :"},
    {IDC_EXPLANATION_LABEL, "&Consigne :"},
    {IDC_KIND_LABEL, "&Genre :"},
    {IDC_ANSWER_COUNT_LABEL, "Ré&ponses :"},
    {IDC_ACCENTS, "Accepter les réponses sa&ns accents"},
    {IDC_LABELS_LABEL, "&Légendes des deux cases :"},
    {IDC_REVEAL_LABEL, "Une question trouvée &dévoile :"},
    {IDC_COLOUR_LABEL, "Couleur du quiz :"},
    {IDC_COLOUR, "Co&uleur…"},
    {IDC_CODES_LABEL, "C&odes, un par ligne (score 1, 2…) :"},
    {IDC_QUESTIONS_HEADING, "&Questions"},
    {IDC_ADD_QUESTION, "&Ajouter"},
    {IDC_ADD_PICTURES, "Ajouter des &images…"},
    {IDC_DELETE_QUESTIONS, "&Supprimer"},
    {IDC_MOVE_UP, "&Monter"},
    {IDC_MOVE_DOWN, "D&escendre"},
    {IDC_FORM_HEADING, "Question"},
    {IDC_ANSWER_1_LABEL, "&Réponse :"},
    {IDC_ANSWER_2_LABEL, "Réponse &2 :"},
    {IDC_VARIANTS_1_LABEL, "Autres réponses acceptées :"},
    {IDC_VARIANTS_2_LABEL, "Autres réponses acceptées :"},
    {IDC_TEXT_LABEL, "Te&xte de la question :"},
    {IDC_PICTURE_LABEL, "Image ou clip :"},
    {IDC_PICTURE_CHOOSE, "C&hoisir…"},
    {IDC_PICTURE_REMOVE, "Reti&rer"},
    {IDC_ANSWER_PICTURE_LABEL, "Image dévoilée :"},
    {IDC_ANSWER_PICTURE_CHOOSE, "Choisir…"},
    {IDC_ANSWER_PICTURE_REMOVE, "Retirer"},
    {IDC_REVEAL_TEXT_LABEL, "Texte dé&voilé :"},
    {IDC_TRY_ANSWER_LABEL, "&Vérifier une réponse :"},
    {IDC_PROBLEMS_HEADING, "Pro&blèmes"},
    {IDC_BUILD_CANCEL, "Annuler"},
};

// Stacks rows down a column: labels, fields and blocks of a given height.
class Column {
public:
    Column(std::vector<PlacedControl>& placed, int left, int top, int width, const LayoutMetrics& metrics)
        : m_placed(placed), m_left(left), m_top(top), m_width(width), m_metrics(metrics)
    {
    }

    int Top() const { return m_top; }
    void Skip(int height) { m_top += height; }
    void Place(int id, int left, int width, int height)
    {
        m_placed.push_back({id, {m_left + left, m_top, m_left + left + width, m_top + height}});
    }
    // A label, then its field under it, across the column.
    void Field(int labelId, int fieldId, int fieldHeight)
    {
        Label(labelId);
        Place(fieldId, 0, m_width, fieldHeight);
        m_top += fieldHeight + Gap();
    }
    // Two labels side by side, their fields under them.
    void Pair(int leftLabel, int leftField, int rightLabel, int rightField, int fieldHeight)
    {
        const int half = (m_width - Gap()) / 2;
        Place(leftLabel, 0, half, m_metrics.lineHeight);
        Place(rightLabel, m_width - half, half, m_metrics.lineHeight);
        m_top += m_metrics.lineHeight + Gap() / 2;
        Place(leftField, 0, half, fieldHeight);
        Place(rightField, m_width - half, half, fieldHeight);
        m_top += fieldHeight + Gap();
    }
    void Label(int id)
    {
        Place(id, 0, m_width, m_metrics.lineHeight);
        m_top += m_metrics.lineHeight + Gap() / 2;
    }
    // Buttons from left to right, on as many rows as they need; returns the height taken.
    int Buttons(const std::vector<int>& ids, int left, int width)
    {
        const int start = m_top;
        int x = 0;
        for (int id : ids) {
            const int w = std::min(width, ButtonWidth(m_metrics, id));
            if (x > 0 && x + w > width) {
                x = 0;
                m_top += ButtonHeight(m_metrics) + Gap() / 2;
            }
            Place(id, left + x, w, ButtonHeight(m_metrics));
            x += w + Gap();
        }
        m_top += ButtonHeight(m_metrics);
        return m_top - start;
    }
    int Gap() const { return std::max(4, m_metrics.charWidth * 3 / 4); }

    static int FieldHeight(const LayoutMetrics& metrics) { return metrics.lineHeight + 2 * Scaled(metrics, 4); }
    static int ButtonHeight(const LayoutMetrics& metrics) { return metrics.lineHeight + 2 * Scaled(metrics, 5); }
    static int ButtonWidth(const LayoutMetrics& metrics, int id)
    {
        return metrics.textWidth(ControlText(id)) + 2 * metrics.charWidth + Scaled(metrics, 4);
    }
    static int Scaled(const LayoutMetrics& metrics, int pixelsAt96) { return pixelsAt96 * metrics.dpi / 96; }

private:
    std::vector<PlacedControl>& m_placed;
    int m_left, m_top, m_width;
    const LayoutMetrics& m_metrics;
};

struct Columns {
    int margin, settings, list, form; // widths
};

// The widest of the texts, each alone on its line or sharing it with another (halves).
int WidestText(const LayoutMetrics& metrics, std::initializer_list<int> whole, std::initializer_list<int> halves)
{
    int widest = 0;
    for (int id : whole)
        widest = std::max(widest, metrics.textWidth(ControlText(id)));
    for (int id : halves)
        widest = std::max(widest, 2 * metrics.textWidth(ControlText(id)) + metrics.charWidth);
    return widest;
}

// The settings and the form are as wide as their longest texts, and never narrower than a field
// holds a usual answer; the list takes the rest.
Columns ColumnWidths(int width, const LayoutMetrics& metrics)
{
    Columns columns;
    columns.margin = metrics.charWidth * 3 / 2;
    // The check box's text follows its box.
    const int accents = metrics.textWidth(ControlText(IDC_ACCENTS)) + 3 * metrics.charWidth;
    columns.settings = std::max({34 * metrics.charWidth, accents,
                                 WidestText(metrics,
                                            {IDC_TITLE_LABEL, IDC_CREATOR_LABEL, IDC_EXPLANATION_LABEL,
                                             IDC_LABELS_LABEL, IDC_REVEAL_LABEL, IDC_CODES_LABEL},
                                            {IDC_KIND_LABEL, IDC_ANSWER_COUNT_LABEL})});
    columns.form =
        std::max(44 * metrics.charWidth,
                 WidestText(metrics, {IDC_TEXT_LABEL, IDC_REVEAL_TEXT_LABEL, IDC_TRY_ANSWER_LABEL},
                            {IDC_ANSWER_2_LABEL, IDC_VARIANTS_1_LABEL, IDC_PICTURE_LABEL, IDC_ANSWER_PICTURE_LABEL}));
    columns.list = width - 4 * columns.margin - columns.settings - columns.form;
    return columns;
}

int ProblemsHeight(const LayoutMetrics& metrics)
{
    // A header and five rows.
    return 6 * (metrics.lineHeight + Column::Scaled(metrics, 6));
}

int BuildStripHeight(const LayoutMetrics& metrics)
{
    return Column::ButtonHeight(metrics);
}

// The settings, top to bottom; the codes take what is left. Returns the height they need.
int LayOutSettings(Column& column, int width, int bottom, const LayoutMetrics& metrics)
{
    const int start = column.Top();
    const int field = Column::FieldHeight(metrics);
    const int half = (width - column.Gap()) / 2;
    column.Label(IDC_SETTINGS_HEADING);
    column.Field(IDC_TITLE_LABEL, IDC_TITLE, field);
    column.Field(IDC_CREATOR_LABEL, IDC_CREATOR, field);
    column.Field(IDC_EXPLANATION_LABEL, IDC_EXPLANATION, field);
    column.Pair(IDC_KIND_LABEL, IDC_KIND, IDC_ANSWER_COUNT_LABEL, IDC_ANSWER_COUNT, field);
    column.Place(IDC_ACCENTS, 0, width, metrics.lineHeight);
    column.Skip(metrics.lineHeight + column.Gap());
    column.Label(IDC_LABELS_LABEL);
    column.Place(IDC_LABEL_1, 0, half, field);
    column.Place(IDC_LABEL_2, width - half, half, field);
    column.Skip(field + column.Gap());
    column.Field(IDC_REVEAL_LABEL, IDC_REVEAL, field);
    column.Label(IDC_COLOUR_LABEL);
    const int button = Column::ButtonHeight(metrics);
    column.Place(IDC_COLOUR_SWATCH, 0, 2 * button, button);
    column.Buttons({IDC_COLOUR}, 2 * button + column.Gap(), width - 2 * button - column.Gap());
    column.Skip(column.Gap());
    column.Label(IDC_CODES_LABEL);
    const int minimumCodes = 3 * metrics.lineHeight + Column::Scaled(metrics, 8);
    column.Place(IDC_CODES, 0, width, std::max(minimumCodes, bottom - column.Top()));
    return column.Top() - start + minimumCodes;
}

// The form of the selected question. pictureSide: the side of each picture's preview.
int LayOutForm(Column& column, int width, const FormShape& shape, int pictureSide, const LayoutMetrics& metrics)
{
    const int start = column.Top();
    const int field = Column::FieldHeight(metrics);
    column.Label(IDC_FORM_HEADING);
    column.Pair(IDC_ANSWER_1_LABEL, IDC_ANSWER_1, IDC_VARIANTS_1_LABEL, IDC_VARIANTS_1, field);
    if (shape.secondAnswer)
        column.Pair(IDC_ANSWER_2_LABEL, IDC_ANSWER_2, IDC_VARIANTS_2_LABEL, IDC_VARIANTS_2, field);
    if (shape.questionText)
        column.Field(IDC_TEXT_LABEL, IDC_TEXT, field);
    if (shape.picture || shape.answerPicture) {
        const int half = (width - column.Gap()) / 2;
        const int top = column.Top();
        int bottom = top;
        const int parts[2][5] = {
            {shape.picture, IDC_PICTURE_LABEL, IDC_PICTURE_VIEW, IDC_PICTURE_NAME, IDC_PICTURE_CHOOSE},
            {shape.answerPicture, IDC_ANSWER_PICTURE_LABEL, IDC_ANSWER_PICTURE_VIEW, IDC_ANSWER_PICTURE_NAME,
             IDC_ANSWER_PICTURE_CHOOSE}};
        for (int i = 0; i < 2; ++i) {
            if (!parts[i][0])
                continue;
            const int left = i * (width - half);
            column.Skip(top - column.Top());
            column.Place(parts[i][1], left, half, metrics.lineHeight);
            column.Skip(metrics.lineHeight + column.Gap() / 2);
            column.Place(parts[i][2], left, std::min(half, pictureSide), pictureSide);
            column.Skip(pictureSide + column.Gap() / 2);
            column.Place(parts[i][3], left, half, metrics.lineHeight);
            column.Skip(metrics.lineHeight + column.Gap() / 2);
            column.Buttons({parts[i][4], parts[i][4] + 1}, left, half);
            bottom = std::max(bottom, column.Top());
        }
        column.Skip(bottom - column.Top() + column.Gap());
    }
    if (shape.revealText)
        column.Field(IDC_REVEAL_TEXT_LABEL, IDC_REVEAL_TEXT, field);
    column.Field(IDC_TRY_ANSWER_LABEL, IDC_TRY_ANSWER, field);
    column.Place(IDC_VERDICT, 0, width, 2 * metrics.lineHeight);
    column.Skip(2 * metrics.lineHeight);
    return column.Top() - start;
}

int SmallestPicture(const LayoutMetrics& metrics)
{
    return Column::Scaled(metrics, 64);
}

int LargestPicture(const LayoutMetrics& metrics)
{
    return Column::Scaled(metrics, 128);
}

} // namespace

const char* ControlText(int id)
{
    for (const ControlTextEntry& entry : CONTROL_TEXTS)
        if (entry.id == id)
            return entry.text;
    return "";
}

std::vector<PlacedControl> LayOutWindow(int width, int height, const LayoutMetrics& metrics, const FormShape& shape)
{
    std::vector<PlacedControl> placed;
    const Columns columns = ColumnWidths(width, metrics);
    const int margin = columns.margin;
    int bottom = height - margin;
    if (shape.building) {
        // The build's progress: what it does, its bar, and the button that stops it.
        const int strip = BuildStripHeight(metrics);
        const int cancel = Column::ButtonWidth(metrics, IDC_BUILD_CANCEL);
        const int bar = std::min(width / 3, 40 * metrics.charWidth);
        const int top = bottom - strip;
        const int textTop = top + (strip - metrics.lineHeight) / 2;
        placed.push_back({IDC_BUILD_CANCEL, {width - margin - cancel, top, width - margin, bottom}});
        placed.push_back(
            {IDC_BUILD_PROGRESS,
             {width - 2 * margin - cancel - bar, top + strip / 4, width - 2 * margin - cancel, bottom - strip / 4}});
        placed.push_back(
            {IDC_BUILD_LABEL, {margin, textTop, width - 3 * margin - cancel - bar, textTop + metrics.lineHeight}});
        bottom = top - margin / 2;
    }
    const int problemsTop = bottom - ProblemsHeight(metrics);
    placed.push_back({IDC_PROBLEM_LIST, {margin, problemsTop, width - margin, bottom}});
    const int problemsHeadingTop = problemsTop - metrics.lineHeight - margin / 3;
    placed.push_back(
        {IDC_PROBLEMS_HEADING, {margin, problemsHeadingTop, width - margin, problemsHeadingTop + metrics.lineHeight}});
    const int columnsBottom = problemsHeadingTop - margin / 2;

    Column settings(placed, margin, margin, columns.settings, metrics);
    LayOutSettings(settings, columns.settings, columnsBottom, metrics);

    const int listLeft = 2 * margin + columns.settings;
    Column list(placed, listLeft, margin, columns.list, metrics);
    list.Label(IDC_QUESTIONS_HEADING);
    const int listTop = list.Top();
    std::vector<PlacedControl> buttons;
    Column buttonRows(buttons, listLeft, 0, columns.list, metrics);
    const int buttonsHeight = buttonRows.Buttons(
        {IDC_ADD_QUESTION, IDC_ADD_PICTURES, IDC_DELETE_QUESTIONS, IDC_MOVE_UP, IDC_MOVE_DOWN}, 0, columns.list);
    const int buttonsTop = columnsBottom - buttonsHeight;
    for (PlacedControl& button : buttons) {
        button.box.top += buttonsTop;
        button.box.bottom += buttonsTop;
        placed.push_back(button);
    }
    placed.push_back({IDC_QUESTION_LIST, {listLeft, listTop, listLeft + columns.list, buttonsTop - list.Gap()}});

    // The previews take what height the form leaves, within their bounds.
    const int formLeft = width - margin - columns.form;
    std::vector<PlacedControl> unused;
    Column measure(unused, 0, 0, columns.form, metrics);
    const int fixed = LayOutForm(measure, columns.form, shape, 0, metrics);
    const int side = std::clamp(columnsBottom - margin - fixed, SmallestPicture(metrics),
                                std::min(LargestPicture(metrics), (columns.form - measure.Gap()) / 2));
    Column form(placed, formLeft, margin, columns.form, metrics);
    LayOutForm(form, columns.form, shape, side, metrics);
    return placed;
}

ClientSize MinimumClientSize(const LayoutMetrics& metrics, const FormShape& shape)
{
    const Columns columns = ColumnWidths(0, metrics);
    const int listMinimum = 30 * metrics.charWidth;
    std::vector<PlacedControl> unused;
    Column settings(unused, 0, 0, columns.settings, metrics);
    const int settingsHeight = LayOutSettings(settings, columns.settings, 0, metrics);
    Column form(unused, 0, 0, columns.form, metrics);
    const int formHeight = LayOutForm(form, columns.form, shape, SmallestPicture(metrics), metrics);
    const int below = metrics.lineHeight + columns.margin / 3 + columns.margin / 2 + ProblemsHeight(metrics) +
                      (shape.building ? BuildStripHeight(metrics) + columns.margin / 2 : 0);
    return {4 * columns.margin + columns.settings + columns.form + listMinimum,
            2 * columns.margin + std::max(settingsHeight, formHeight) + below};
}
