#include "header/header_panel_win.h"

#include "answers/judging_rules.h"
#include "content/quiz_data_win.h"
#include "header/header_layout.h"
#include "platform/text_1252_win.h"
#include "platform/ui_seam_win.h"
#include "resource.h"

HBRUSH g_headerBrush = nullptr;
const wchar_t MAKER_WEB_PAGE[] = L"https://zelbo.fr";

namespace {

HFONT g_linkFont = nullptr;
LONG g_linkFontHeight = 0;

constexpr COLORREF HEADER_COLOUR = RGB(128, 128, 255);
constexpr COLORREF LINK_TEXT_COLOUR = RGB(50, 50, 255);
constexpr DWORD PLAIN_STYLE = WS_CHILD | WS_VISIBLE;
constexpr DWORD RULE_STYLE = WS_CHILD | WS_VISIBLE | WS_BORDER;
// The panel's texts and code box; the rules (120 and up) keep the default colours.
constexpr int FIRST_TEXT_ID = 20;
constexpr int LAST_TEXT_ID = 32;

enum class FontChoice { NONE, GUI, SCORE, LINK };

struct HeaderControl {
    int id;
    const wchar_t* className;
    DWORD style;
    int x;
    int y;
    int width;
    int height;
    FontChoice font;
};

// Creation places; the right-hand ones are moved as soon as the main window lays the panel out.
constexpr HeaderControl HEADER_CONTROLS[] = {
    {IDC_WEB_LINK, L"Static", PLAIN_STYLE | SS_NOTIFY, 736, 5, 115, 18, FontChoice::LINK},
    {IDC_BY_LABEL, L"Static", PLAIN_STYLE, 736, 25, 27, 18, FontChoice::GUI},
    {IDC_CREATOR, L"Static", PLAIN_STYLE, 763, 25, 85, 18, FontChoice::GUI},
    {IDC_SAVE, L"button", PLAIN_STYLE, 666, 25, 55, 18, FontChoice::GUI},
    {IDC_EXPLANATION, L"Static", PLAIN_STYLE, 110, 19, 490, 27, FontChoice::GUI},
    {IDC_TITLE, L"Static", PLAIN_STYLE, 110, 3, 220, 18, FontChoice::NONE},
    {IDC_CODE_LABEL, L"Static", PLAIN_STYLE, 10, 29, 36, 15, FontChoice::GUI},
    {IDC_SCORE, L"Static", PLAIN_STYLE | SS_CENTER, 10, 1, 80, 20, FontChoice::SCORE},
    {IDC_CODE, L"edit", PLAIN_STYLE | ES_READONLY, 47, 29, 50, 16, FontChoice::GUI},
    {IDC_RULE_H, L"Static", RULE_STYLE, 0, 26, 100, 1, FontChoice::NONE},
    {IDC_RULE_LEFT, L"Static", RULE_STYLE, 100, 0, 1, 50, FontChoice::NONE},
    {IDC_RULE_RIGHT, L"Static", RULE_STYLE, 730, 0, 1, 50, FontChoice::NONE},
};

WideString InitialText(int id, const char* score)
{
    switch (id) {
    case IDC_WEB_LINK:
        return MAKER_WEB_PAGE;
    case IDC_BY_LABEL:
        return L"Par :";
    case IDC_CREATOR:
        return WideFrom1252(g_quiz->creator);
    case IDC_SAVE:
        return L"Sauver";
    case IDC_EXPLANATION:
        return WideFrom1252(g_quiz->explanation);
    case IDC_TITLE:
        return WideFrom1252(g_quiz->title);
    case IDC_CODE_LABEL:
        return L" Code :";
    case IDC_SCORE:
        return WideFrom1252(score);
    default:
        return {};
    }
}

void GiveFont(HWND control, FontChoice font)
{
    switch (font) {
    case FontChoice::GUI:
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), TRUE);
        break;
    case FontChoice::SCORE:
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(g_quiz->scoreFont), FALSE);
        break;
    case FontChoice::LINK:
        StyleLink(control);
        break;
    case FontChoice::NONE:
        break;
    }
}

INT_PTR OnHeaderInitDialog(HWND panel)
{
    char score[32];
    FormatScore(score, sizeof(score), 0, g_quiz->questionCount);
    for (const HeaderControl& entry : HEADER_CONTROLS) {
        HWND control =
            CreateWindowExW(0, entry.className, InitialText(entry.id, score).c_str(), entry.style, entry.x, entry.y,
                            entry.width, entry.height, panel, reinterpret_cast<HMENU>(static_cast<INT_PTR>(entry.id)),
                            GetModuleHandleW(nullptr), nullptr);
        GiveFont(control, entry.font);
    }
    g_headerBrush = CreateSolidBrush(HEADER_COLOUR);
    return TRUE;
}

INT_PTR OnHeaderSize(HWND panel)
{
    RECT client;
    GetClientRect(panel, &client);
    for (const HeaderPlacement& place : HeaderLayout(client.right)) {
        // Before WM_INITDIALOG has created the controls there is nothing to move.
        HWND control = GetDlgItem(panel, place.id);
        if (!control)
            continue;
        SetWindowPos(control, HWND_TOP, place.x, place.y, place.width, place.height,
                     SWP_NOACTIVATE | SWP_NOOWNERZORDER);
        if (place.repaint)
            InvalidateRect(control, nullptr, FALSE);
    }
    return FALSE;
}

INT_PTR OnHeaderCommand(HWND panel, WPARAM wParam, LPARAM lParam)
{
    // Only the single click on the link opens the page: a double click arrives as STN_DBLCLK in
    // the high word, after the click that already opened it.
    if (wParam == IDC_WEB_LINK)
        OpenWebPage(MAKER_WEB_PAGE);
    // The panel does not know the board; the window that holds both saves it.
    else if (wParam == MAKEWPARAM(IDC_SAVE, BN_CLICKED))
        SendMessageW(GetParent(panel), WM_COMMAND, wParam, lParam);
    return FALSE;
}

INT_PTR OnHeaderCtlColorStatic(HDC dc, HWND control)
{
    const LONG_PTR id = GetWindowLongPtrW(control, GWL_ID);
    if (id == IDC_WEB_LINK) {
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, LINK_TEXT_COLOUR);
        return reinterpret_cast<INT_PTR>(g_headerBrush);
    }
    if (id >= FIRST_TEXT_ID && id <= LAST_TEXT_ID) {
        SetBkMode(dc, TRANSPARENT);
        return reinterpret_cast<INT_PTR>(g_headerBrush);
    }
    return FALSE;
}

INT_PTR OnHeaderDestroy()
{
    // Both WM_DESTROY and WM_NCDESTROY arrive; the brush goes with the first.
    if (g_headerBrush) {
        DeleteObject(g_headerBrush);
        g_headerBrush = nullptr;
    }
    return FALSE;
}

} // namespace

INT_PTR CALLBACK HeaderPanelProc(HWND panel, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        return OnHeaderInitDialog(panel);
    case WM_SIZE:
        return OnHeaderSize(panel);
    case WM_COMMAND:
        return OnHeaderCommand(panel, wParam, lParam);
    case WM_CTLCOLORDLG:
        return reinterpret_cast<INT_PTR>(g_headerBrush);
    case WM_CTLCOLORSTATIC:
        return OnHeaderCtlColorStatic(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_MOUSEHWHEEL:
        // The main window scrolls the board for the wheel over the panel. The default handling
        // hands the vertical wheel on to it, but not the horizontal one everywhere.
        SendMessageW(GetParent(panel), message, wParam, lParam);
        return TRUE;
    case WM_DESTROY:
    case WM_NCDESTROY:
        return OnHeaderDestroy();
    default:
        return FALSE;
    }
}

void StyleLink(HWND link)
{
    RECT client;
    GetClientRect(link, &client);
    const LONG height = -(client.bottom * 3 / 4);
    // The font lives as long as the process and is shared by every panel made for the same link
    // height, so a panel made again does not add a font each time.
    if (!g_linkFont || g_linkFontHeight != height) {
        LOGFONTW font = {};
        font.lfHeight = height;
        font.lfWeight = FW_NORMAL;
        font.lfUnderline = TRUE;
        g_linkFont = CreateFontIndirectW(&font);
        g_linkFontHeight = height;
    }
    SendMessageW(link, WM_SETFONT, reinterpret_cast<WPARAM>(g_linkFont), FALSE);

    // The cursor belongs to the "Static" class, so every static text of the program shows the
    // hand from now on, not only the link.
    HCURSOR hand = LoadCursorW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_LINK_CURSOR));
    SetClassLongPtrW(link, GCLP_HCURSOR, reinterpret_cast<LONG_PTR>(hand));
}
