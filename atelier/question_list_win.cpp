#include "atelier/question_list_win.h"

#include <algorithm>
#include <string>

#include "atelier/atelier_window_win.h"
#include "atelier/checker_win.h"
#include "atelier/editor_form_win.h"
#include "atelier/thumbnails_win.h"
#include "atelier_resource.h"
#include "atelier/wide_text_win.h"

namespace {

enum ListColumn { NUMBER_COLUMN, ANSWER_COLUMN, QUESTION_COLUMN, MARK_COLUMN, COLUMN_COUNT };
const wchar_t* const COLUMN_TITLES[COLUMN_COUNT] = {L"N°", L"Réponse", L"Question", L"État"};

// While the program selects rows itself, the list's notices wait for the whole selection.
bool g_selecting = false;

// Rows of a picture quiz are as high as their thumbnails.
bool ShowsThumbnails()
{
    return g_atelier.document.Quiz().mediaKind == MEDIA_PICTURE;
}

// An answer and, modestly, how many other texts it accepts: "Charles de Gaulle (+2)".
std::string AnswerCell(const SourceQuestion& question, int p)
{
    const size_t others = question.variants[p].size();
    return question.answers[p] + (others ? " (+" + std::to_string(others) + ")" : "");
}

std::wstring CellText(int question, int column)
{
    const QuizSource& quiz = g_atelier.document.Quiz();
    const SourceQuestion& shown = quiz.questions[static_cast<size_t>(question)];
    switch (column) {
    case NUMBER_COLUMN:
        return std::to_wstring(question + 1);
    case ANSWER_COLUMN:
        return Utf8ToWide(quiz.answersPerQuestion == 2 ? AnswerCell(shown, 0) + " / " + AnswerCell(shown, 1)
                                                       : AnswerCell(shown, 0));
    case QUESTION_COLUMN:
        if (quiz.mediaKind == MEDIA_TEXT || shown.picture.empty())
            return Utf8ToWide(shown.text);
        return Utf8ToWide(shown.picture.substr(shown.picture.find_last_of("/\\") + 1));
    default:
        return ProblemMarkOf(question + 1);
    }
}

void FillCell(NMLVDISPINFOW* info)
{
    LVITEMW& item = info->item;
    if (item.iItem < 0 || static_cast<size_t>(item.iItem) >= g_atelier.document.Quiz().questions.size())
        return;
    if (item.mask & LVIF_TEXT) {
        const std::wstring text = CellText(item.iItem, item.iSubItem);
        lstrcpynW(item.pszText, text.c_str(), item.cchTextMax);
    }
    if ((item.mask & LVIF_IMAGE) && item.iSubItem == 0)
        item.iImage = ShowsThumbnails()
                          ? ListImageOf(g_atelier.document.Quiz().questions[static_cast<size_t>(item.iItem)].picture)
                          : I_IMAGENONE;
}

// The width a column needs to show a text whole, in the list's font and margins.
int ColumnWidthFor(const std::wstring& text)
{
    return static_cast<int>(
               SendMessageW(g_atelier.list, LVM_GETSTRINGWIDTHW, 0, reinterpret_cast<LPARAM>(text.c_str()))) +
           2 * g_atelier.metrics.charWidth;
}

// The width a column needs to show its title and every cell whole.
int NeededWidth(int column)
{
    int widest = ColumnWidthFor(COLUMN_TITLES[column]);
    const int count = static_cast<int>(g_atelier.document.Quiz().questions.size());
    for (int question = 0; question < count; ++question)
        widest = std::max(widest, ColumnWidthFor(CellText(question, column)));
    return widest;
}

int FocusedRow()
{
    return static_cast<int>(SendMessageW(g_atelier.list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
}

void OnSelectionChanged()
{
    if (g_selecting)
        return;
    const QuestionSet selection = SelectedQuestions();
    g_atelier.document.Select(selection);
    const int focused = FocusedRow();
    const bool focusedSelected = std::find(selection.begin(), selection.end(), focused) != selection.end();
    ShowQuestion(selection.empty() ? -1 : focusedSelected ? focused : selection.front());
}

} // namespace

HWND CreateQuestionList(HWND parent)
{
    return CreateReportList(parent, IDC_QUESTION_LIST, L"Questions", LVS_OWNERDATA,
                            {COLUMN_TITLES[0], COLUMN_TITLES[1], COLUMN_TITLES[2], COLUMN_TITLES[3]});
}

void RefreshQuestionList()
{
    HWND list = g_atelier.list;
    SendMessageW(list, LVM_SETIMAGELIST, LVSIL_SMALL,
                 reinterpret_cast<LPARAM>(ShowsThumbnails() ? ThumbnailImages() : nullptr));
    // Every thumbnail is asked for at once, so that they are ready before the maker scrolls to them.
    if (ShowsThumbnails())
        for (const SourceQuestion& question : g_atelier.document.Quiz().questions)
            ListImageOf(question.picture);
    const auto count = static_cast<WPARAM>(g_atelier.document.Quiz().questions.size());
    SendMessageW(list, LVM_SETITEMCOUNT, count, LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL);
    // The kind decides what the columns give room to.
    SizeQuestionColumns();
    InvalidateRect(list, nullptr, FALSE);
}

void SizeQuestionColumns()
{
    RECT client;
    GetClientRect(g_atelier.list, &client);
    const int thumbnail = ShowsThumbnails() ? g_atelier.metrics.dpi * 44 / 96 : 0;
    const int number = thumbnail + NeededWidth(NUMBER_COLUMN), mark = NeededWidth(MARK_COLUMN);
    // Room is kept for a vertical scroll bar yet to come, so that none horizontal follows it.
    const bool scrolls = GetWindowLongPtrW(g_atelier.list, GWL_STYLE) & WS_VSCROLL;
    const int rest = std::max(8 * g_atelier.metrics.charWidth, static_cast<int>(client.right) - number - mark -
                                                                   (scrolls ? 0 : GetSystemMetrics(SM_CXVSCROLL)));
    // The answers come first: the question gives up width down to its title's before they are cut,
    // and the answers take what is spare.
    const int questionNeeded = NeededWidth(QUESTION_COLUMN);
    const int question = std::min(
        questionNeeded, std::max(ColumnWidthFor(COLUMN_TITLES[QUESTION_COLUMN]), rest - NeededWidth(ANSWER_COLUMN)));
    const int widths[COLUMN_COUNT] = {number, rest - question, question, mark};
    for (int i = 0; i < COLUMN_COUNT; ++i)
        SendMessageW(g_atelier.list, LVM_SETCOLUMNWIDTH, i, widths[i]);
}

QuestionSet SelectedQuestions()
{
    QuestionSet selection;
    for (int row = -1; (row = static_cast<int>(SendMessageW(g_atelier.list, LVM_GETNEXTITEM, static_cast<WPARAM>(row),
                                                            LVNI_SELECTED))) >= 0;)
        selection.push_back(row);
    return selection;
}

void SelectQuestions(const QuestionSet& selection)
{
    HWND list = g_atelier.list;
    g_selecting = true;
    LVITEMW state = {};
    state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    state.state = 0;
    SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&state));
    const int count = static_cast<int>(g_atelier.document.Quiz().questions.size());
    bool first = true;
    for (int row : selection) {
        if (row < 0 || row >= count)
            continue;
        state.state = LVIS_SELECTED | (first ? LVIS_FOCUSED : 0);
        SendMessageW(list, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&state));
        if (first)
            SendMessageW(list, LVM_ENSUREVISIBLE, row, FALSE);
        first = false;
    }
    g_selecting = false;
    OnSelectionChanged();
}

int QuestionAtPoint(POINT windowPoint)
{
    POINT point = windowPoint;
    MapWindowPoints(g_atelier.window, g_atelier.list, &point, 1);
    RECT client;
    GetClientRect(g_atelier.list, &client);
    if (!PtInRect(&client, point))
        return -1;
    LVHITTESTINFO hit = {};
    hit.pt = point;
    const int row = static_cast<int>(SendMessageW(g_atelier.list, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
    return row >= 0 ? row : static_cast<int>(g_atelier.document.Quiz().questions.size());
}

LRESULT OnQuestionListNotify(const NMHDR* header)
{
    switch (header->code) {
    case LVN_GETDISPINFOW:
        FillCell(reinterpret_cast<NMLVDISPINFOW*>(const_cast<NMHDR*>(header)));
        return 0;
    case LVN_ITEMCHANGED:
        if (reinterpret_cast<const NMLISTVIEW*>(header)->uChanged & LVIF_STATE)
            OnSelectionChanged();
        return 0;
    case LVN_ODSTATECHANGED:
        OnSelectionChanged();
        return 0;
    case LVN_KEYDOWN:
        // Suppr deletes questions here only: in a field it deletes text.
        if (reinterpret_cast<const NMLVKEYDOWN*>(header)->wVKey == VK_DELETE)
            PostMessageW(g_atelier.window, WM_COMMAND, IDM_DELETE_QUESTIONS, 0);
        return 0;
    default:
        return 0;
    }
}
