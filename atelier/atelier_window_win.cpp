#include "atelier/atelier_window_win.h"

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>

#include "atelier/checker_win.h"
#include "atelier/editor_form_win.h"
#include "atelier/question_list_win.h"
#include "atelier/build_runner_win.h"
#include "atelier/quiz_files_win.h"
#include "atelier/recovery_win.h"
#include "atelier/thumbnails_win.h"
#include "atelier/wide_text_win.h"
#include "atelier_resource.h"
#include "platform/editor_seams_win.h"
#include "version.h"

AtelierState g_atelier;

namespace {

// The list's thumbnails, and how much larger than the smallest layout the window first opens.
constexpr int LIST_THUMBNAIL_SIDE = 40;
constexpr int OPENING_GROWTH_PERCENT = 115;

// Windows 10's per-monitor functions, looked up at run time so that the editor still starts on an
// older system, where the system DPI serves.
UINT DpiOf(HWND window)
{
    using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
    static const auto getDpiForWindow = reinterpret_cast<GetDpiForWindowFunction>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
    if (getDpiForWindow && window) {
        if (const UINT dpi = getDpiForWindow(window))
            return dpi;
    }
    const WindowDc screen(nullptr);
    return static_cast<UINT>(GetDeviceCaps(screen.Get(), LOGPIXELSY));
}

LOGFONTW MessageFontAt(UINT dpi)
{
    using ParametersForDpi = BOOL(WINAPI*)(UINT, UINT, void*, UINT, UINT);
    static const auto forDpi = reinterpret_cast<ParametersForDpi>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "SystemParametersInfoForDpi")));
    NONCLIENTMETRICSW metrics = {};
    metrics.cbSize = sizeof(metrics);
    if (forDpi && forDpi(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0, dpi))
        return metrics.lfMessageFont;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
    const WindowDc screen(nullptr);
    const int systemDpi = GetDeviceCaps(screen.Get(), LOGPIXELSY);
    metrics.lfMessageFont.lfHeight = MulDiv(metrics.lfMessageFont.lfHeight, static_cast<int>(dpi), systemDpi);
    return metrics.lfMessageFont;
}

// The fonts, the measures taken from them and the thumbnails' size, for the window's DPI.
void TakeDpi(UINT dpi)
{
    LOGFONTW font = MessageFontAt(dpi);
    UniqueFont text(CreateFontIndirectW(&font));
    font.lfWeight = FW_BOLD;
    UniqueFont heading(CreateFontIndirectW(&font));
    // The controls take the new fonts before the old ones go.
    SetEditorFont(text.Get(), heading.Get());
    for (HWND control : {g_atelier.list, g_atelier.problems, g_atelier.status})
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(text.Get()), TRUE);
    g_atelier.font = std::move(text);
    g_atelier.headingFont = std::move(heading);
    const WindowDc screen(nullptr);
    const ScopedSelection selected(screen.Get(), g_atelier.font.Get());
    TEXTMETRICW measures = {};
    GetTextMetricsW(screen.Get(), &measures);
    g_atelier.metrics.dpi = static_cast<int>(dpi);
    g_atelier.metrics.lineHeight = measures.tmHeight;
    g_atelier.metrics.charWidth = measures.tmAveCharWidth;
    const HFONT measured = g_atelier.font.Get();
    g_atelier.metrics.textWidth = [measured](const std::string& utf8) {
        const WindowDc dc(nullptr);
        const ScopedSelection selection(dc.Get(), measured);
        const std::wstring wide = Utf8ToWide(utf8);
        SIZE size = {};
        GetTextExtentPoint32W(dc.Get(), wide.c_str(), static_cast<int>(wide.size()), &size);
        return static_cast<int>(size.cx);
    };
    ResizeThumbnailImages(MulDiv(LIST_THUMBNAIL_SIDE, static_cast<int>(dpi), 96));
}

int StatusHeight()
{
    RECT status = {};
    GetWindowRect(g_atelier.status, &status);
    return status.bottom - status.top;
}

// Window size around a client area of width x height, with its menu, at the window's DPI.
SIZE FrameFor(int width, int height)
{
    using AdjustForDpi = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
    static const auto adjustForDpi = reinterpret_cast<AdjustForDpi>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "AdjustWindowRectExForDpi")));
    RECT rect = {0, 0, width, height};
    if (!adjustForDpi || !adjustForDpi(&rect, WS_OVERLAPPEDWINDOW, TRUE, 0, static_cast<UINT>(g_atelier.metrics.dpi)))
        AdjustWindowRectEx(&rect, WS_OVERLAPPEDWINDOW, TRUE, 0);
    return {rect.right - rect.left, rect.bottom - rect.top};
}

void PlaceOpeningWindow(HWND window)
{
    FormShape everything{true, true, true, true, true, false};
    const ClientSize minimum = MinimumClientSize(g_atelier.metrics, everything);
    const SIZE frame = FrameFor(minimum.width * OPENING_GROWTH_PERCENT / 100,
                                minimum.height * OPENING_GROWTH_PERCENT / 100 + StatusHeight());
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof(monitor);
    GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT& work = monitor.rcWork;
    const int width = std::min<int>(frame.cx, work.right - work.left);
    const int height = std::min<int>(frame.cy, work.bottom - work.top);
    SetWindowPos(window, nullptr, work.left + (work.right - work.left - width) / 2,
                 work.top + (work.bottom - work.top - height) / 2, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void SizeProblemColumns()
{
    RECT client;
    GetClientRect(g_atelier.problems, &client);
    const int unit = g_atelier.metrics.charWidth;
    const int widths[] = {11 * unit, 10 * unit, 22 * unit};
    int rest = client.right - GetSystemMetrics(SM_CXVSCROLL);
    for (int i = 0; i < 3; ++i) {
        SendMessageW(g_atelier.problems, LVM_SETCOLUMNWIDTH, i, widths[i]);
        rest -= widths[i];
    }
    SendMessageW(g_atelier.problems, LVM_SETCOLUMNWIDTH, 3, std::max(rest, 30 * unit));
}

bool SameLayout(const std::vector<PlacedControl>& a, const std::vector<PlacedControl>& b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const PlacedControl& x, const PlacedControl& y) {
        return x.id == y.id && x.box.left == y.box.left && x.box.top == y.box.top && x.box.right == y.box.right &&
               x.box.bottom == y.box.bottom;
    });
}

void AddEmptyQuestion()
{
    const QuestionSet selected = SelectedQuestions();
    const int at =
        selected.empty() ? static_cast<int>(g_atelier.document.Quiz().questions.size()) : selected.back() + 1;
    const QuestionSet added = AddQuestions(g_atelier.document, at, {SourceQuestion()});
    if (added.empty())
        return;
    QuizChanged();
    ShowSelection(added);
    SetFocus(Control(IDC_ANSWER_1));
}

void DeleteSelected()
{
    const QuestionSet selected = SelectedQuestions();
    if (selected.empty())
        return;
    const QuestionSet next = DeleteQuestions(g_atelier.document, selected);
    QuizChanged();
    ShowSelection(next);
}

void MoveSelected(int step)
{
    const QuestionSet selected = SelectedQuestions();
    const QuestionSet moved = MoveQuestions(g_atelier.document, selected, step);
    if (moved == selected)
        return;
    QuizChanged();
    ShowSelection(moved);
}

void UndoOrRedo(bool undo)
{
    if (undo ? !g_atelier.document.CanUndo() : !g_atelier.document.CanRedo())
        return;
    const QuestionSet selection = undo ? g_atelier.document.Undo() : g_atelier.document.Redo();
    ShowSettings();
    QuizChanged();
    ShowSelection(selection);
}

void OpenGuide()
{
    wchar_t program[MAX_PATH * 4] = {};
    std::wstring path(program, GetModuleFileNameW(nullptr, program, static_cast<DWORD>(std::size(program))));
    path = path.substr(0, path.find_last_of(L"\\/")) + L"\\docs\\quiz-format.md";
    if (!OpenDocument(path.c_str()))
        ShowNote(g_atelier.window, (L"Le guide du format n'a pas pu être ouvert : " + path).c_str(), L"Zelbo Atelier",
                 true);
}

void ShowAbout()
{
    ShowNote(g_atelier.window,
             L"Zelbo Atelier, version " ZELBO_VERSION_TEXT L"\n\n"
             L"L'éditeur des quiz Zelbo : il fait, vérifie, essaie et fabrique les quiz, exactement comme "
             L"zelbo-pack.",
             L"À propos de Zelbo Atelier", false);
}

void OnCommand(int id)
{
    switch (id) {
    case IDM_NEW:
        NewQuizCommand();
        break;
    case IDM_OPEN:
        OpenCommand();
        break;
    case IDM_SAVE:
        SaveCommand(false);
        break;
    case IDM_SAVE_AS:
        SaveCommand(true);
        break;
    case IDM_IMPORT_TABLE:
        ImportTableCommand();
        break;
    case IDM_ADD_PICTURES:
    case IDC_ADD_PICTURES:
        AddPicturesCommand();
        break;
    case IDM_TRY:
        TryCommand();
        break;
    case IDM_BUILD:
        BuildCommand();
        break;
    case IDM_QUIT:
        PostMessageW(g_atelier.window, WM_CLOSE, 0, 0);
        break;
    case IDM_UNDO:
        UndoOrRedo(true);
        break;
    case IDM_REDO:
        UndoOrRedo(false);
        break;
    case IDM_ADD_QUESTION:
    case IDC_ADD_QUESTION:
        AddEmptyQuestion();
        break;
    case IDM_DELETE_QUESTIONS:
    case IDC_DELETE_QUESTIONS:
        DeleteSelected();
        break;
    case IDM_MOVE_UP:
    case IDC_MOVE_UP:
        MoveSelected(-1);
        break;
    case IDM_MOVE_DOWN:
    case IDC_MOVE_DOWN:
        MoveSelected(+1);
        break;
    case IDM_GUIDE:
        OpenGuide();
        break;
    case IDM_ABOUT:
        ShowAbout();
        break;
    case IDC_BUILD_CANCEL:
        CancelBuild();
        break;
    default:
        break;
    }
}

LRESULT OnCreate(HWND window)
{
    g_atelier.window = window;
    g_atelier.laidOut.clear();
    CreateEditorControls(window);
    g_atelier.list = Control(IDC_QUESTION_LIST);
    g_atelier.problems = Control(IDC_PROBLEM_LIST);
    g_atelier.status =
        CreateWindowExW(0, STATUSCLASSNAMEW, L"", WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0, 0, 0, 0, window,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_STATUS)), GetModuleHandleW(nullptr), nullptr);
    StartThumbnails(window);
    TakeDpi(DpiOf(window));
    StartChecker(window);
    StartRecovery(window);
    DragAcceptFiles(window, TRUE);
    return 0;
}

LRESULT OnDpiChanged(HWND window, WPARAM wParam, const RECT* suggested)
{
    TakeDpi(HIWORD(wParam));
    RefreshQuestionList();
    SetWindowPos(window, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                 suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
    LayOutAtelier();
    return 0;
}

LRESULT OnGetMinMaxInfo(MINMAXINFO* limits)
{
    if (!g_atelier.status)
        return 0;
    const ClientSize minimum = MinimumClientSize(g_atelier.metrics, CurrentFormShape());
    const SIZE frame = FrameFor(minimum.width, minimum.height + StatusHeight());
    limits->ptMinTrackSize = {frame.cx, frame.cy};
    return 0;
}

LRESULT OnNotify(const NMHDR* header)
{
    if (header->idFrom == IDC_QUESTION_LIST)
        return OnQuestionListNotify(header);
    if (header->idFrom == IDC_PROBLEM_LIST)
        return OnProblemListNotify(header);
    return 0;
}

LRESULT OnClose(HWND window)
{
    if (ConfirmDiscardChanges())
        DestroyWindow(window);
    return 0;
}

LRESULT OnDestroy()
{
    StopBuild();
    StopChecker();
    StopThumbnails();
    // The maker saved or gave the changes up: no copy is left to offer back.
    RemoveRecoveryCopy();
    g_atelier.window = nullptr;
    PostQuitMessage(0);
    return 0;
}

// The controls are gone: their fonts go too, before the program's end, not among its static objects.
LRESULT OnNcDestroy(HWND window, WPARAM wParam, LPARAM lParam)
{
    g_atelier.list = g_atelier.problems = g_atelier.status = nullptr;
    g_atelier.font.Reset();
    g_atelier.headingFont.Reset();
    return DefWindowProcW(window, WM_NCDESTROY, wParam, lParam);
}

LRESULT OnThumbnail(LPARAM lParam)
{
    if (OnThumbnailDecoded(lParam)) {
        InvalidateRect(g_atelier.list, nullptr, FALSE);
        InvalidateRect(Control(IDC_PICTURE_VIEW), nullptr, FALSE);
        InvalidateRect(Control(IDC_ANSWER_PICTURE_VIEW), nullptr, FALSE);
    }
    return 0;
}

LRESULT CALLBACK AtelierWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        return OnCreate(window);
    case WM_SIZE:
        LayOutAtelier();
        return 0;
    case WM_GETMINMAXINFO:
        return OnGetMinMaxInfo(reinterpret_cast<MINMAXINFO*>(lParam));
    case WM_DPICHANGED:
        return OnDpiChanged(window, wParam, reinterpret_cast<const RECT*>(lParam));
    case WM_COMMAND:
        if (lParam == 0 || !OnEditorCommand(LOWORD(wParam), HIWORD(wParam)))
            OnCommand(LOWORD(wParam));
        return 0;
    case WM_NOTIFY:
        return OnNotify(reinterpret_cast<const NMHDR*>(lParam));
    case WM_DRAWITEM:
        return OnEditorDrawItem(reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
    case WM_DROPFILES:
        OnDropFiles(reinterpret_cast<HDROP>(wParam));
        return 0;
    case WM_TIMER:
        if (wParam == CHECK_TIMER)
            OnCheckTimer();
        else if (wParam == RECOVERY_TIMER)
            OnRecoveryTimer();
        return 0;
    case WM_APP_CHECKED:
        OnChecked(lParam);
        return 0;
    case WM_APP_THUMBNAIL:
        return OnThumbnail(lParam);
    case WM_APP_BUILD_PROGRESS:
        OnBuildProgress(wParam, lParam);
        return 0;
    case WM_APP_BUILD_DONE:
        OnBuildDone(lParam);
        return 0;
    case WM_CLOSE:
        return OnClose(window);
    case WM_DESTROY:
        return OnDestroy();
    case WM_NCDESTROY:
        return OnNcDestroy(window, wParam, lParam);
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

} // namespace

std::string ControlUtf8(HWND control)
{
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(control, &text[0], static_cast<int>(text.size()))));
    return WideToUtf8(text);
}

void SetControlUtf8(HWND control, const std::string& utf8)
{
    if (ControlUtf8(control) != utf8)
        SetWindowTextW(control, Utf8ToWide(utf8).c_str());
}

HWND Control(int id)
{
    return GetDlgItem(g_atelier.window, id);
}

HWND CreateReportList(HWND parent, int id, const wchar_t* name, DWORD style,
                      std::initializer_list<const wchar_t*> columns)
{
    HWND list =
        CreateWindowExW(WS_EX_CLIENTEDGE, WC_LISTVIEWW, name,
                        WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_SHOWSELALWAYS | style, 0, 0, 0, 0, parent,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
    SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER,
                 LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER);
    int i = 0;
    for (const wchar_t* title : columns) {
        LVCOLUMNW column = {};
        column.mask = LVCF_TEXT | LVCF_SUBITEM;
        column.pszText = const_cast<wchar_t*>(title);
        column.iSubItem = i;
        SendMessageW(list, LVM_INSERTCOLUMNW, i++, reinterpret_cast<LPARAM>(&column));
    }
    return list;
}

bool RegisterAtelierClass(HINSTANCE instance)
{
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = AtelierWindowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_ATELIER));
    windowClass.hIconSm =
        static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_ATELIER), IMAGE_ICON,
                                      GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
    windowClass.lpszMenuName = MAKEINTRESOURCEW(IDR_ATELIER_MENU);
    windowClass.lpszClassName = ATELIER_WINDOW_CLASS;
    return RegisterClassExW(&windowClass) != 0;
}

HWND OpenAtelier(HINSTANCE instance, const std::wstring& commandLineFile, int show)
{
    g_atelier.document = QuizDocument();
    g_atelier.accelerators = LoadAcceleratorsW(instance, MAKEINTRESOURCEW(IDR_ATELIER_ACCELERATORS));
    HWND window = CreateWindowExW(0, ATELIER_WINDOW_CLASS, L"Zelbo Atelier", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                  CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance, nullptr);
    if (!window)
        return nullptr;
    PlaceOpeningWindow(window);
    ReplaceDocument(QuizDocument());
    ShowWindow(window, show);
    UpdateWindow(window);
    RemoveEndedTries();
    if (!OfferRecoveredWork() && !commandLineFile.empty())
        OpenPath(commandLineFile);
    return window;
}

int RunAtelierLoop()
{
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (g_atelier.window && TranslateAcceleratorW(g_atelier.window, g_atelier.accelerators, &message))
            continue;
        // Tab and the labels' Alt keys move between the controls, as in a dialog.
        if (g_atelier.window && IsDialogMessageW(g_atelier.window, &message))
            continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}

void QuizChanged()
{
    RefreshFrame();
    RefreshQuestionList();
    ScheduleCheck();
}

void ShowSelection(const QuestionSet& selection)
{
    RefreshQuestionList();
    SelectQuestions(selection);
    LayOutAtelier();
}

void ReplaceDocument(QuizDocument document)
{
    g_atelier.document = std::move(document);
    g_atelier.problemsFound.clear();
    g_atelier.figures = QuizFigures();
    ShowProblems();
    ShowSettings();
    ShowSelection(g_atelier.document.Quiz().questions.empty() ? QuestionSet{} : QuestionSet{0});
    RefreshFrame();
    CheckNow();
}

void RefreshFrame()
{
    const QuizDocument& document = g_atelier.document;
    SetWindowTextW(g_atelier.window, Utf8ToWide(WindowTitle(document.Path(), document.Modified())).c_str());
    HMENU menu = GetMenu(g_atelier.window);
    EnableMenuItem(menu, IDM_UNDO, document.CanUndo() ? MF_ENABLED : MF_GRAYED);
    EnableMenuItem(menu, IDM_REDO, document.CanRedo() ? MF_ENABLED : MF_GRAYED);
    for (int id : {IDM_TRY, IDM_BUILD})
        EnableMenuItem(menu, id, g_atelier.building ? MF_GRAYED : MF_ENABLED);
    QuizFigures figures = g_atelier.figures;
    figures.questions = document.Quiz().questions.size();
    SendMessageW(g_atelier.status, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(Utf8ToWide(StatusText(figures)).c_str()));
}

void LayOutAtelier()
{
    HWND window = g_atelier.window;
    if (!window || !g_atelier.status)
        return;
    SendMessageW(g_atelier.status, WM_SIZE, 0, 0);
    RECT client;
    GetClientRect(window, &client);
    const std::vector<PlacedControl> placed =
        LayOutWindow(client.right, client.bottom - StatusHeight(), g_atelier.metrics, CurrentFormShape());
    // Most calls change nothing (a question selected like the one before): nothing moves nor flickers.
    if (SameLayout(placed, g_atelier.laidOut))
        return;
    g_atelier.laidOut = placed;
    HDWP moves = BeginDeferWindowPos(64);
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (child == g_atelier.status)
            continue;
        const int id = GetDlgCtrlID(child);
        const auto found =
            std::find_if(placed.begin(), placed.end(), [id](const PlacedControl& control) { return control.id == id; });
        if (found == placed.end()) {
            ShowWindow(child, SW_HIDE);
            continue;
        }
        const Box& box = found->box;
        // A drop-down list is as high as its field and the list it drops.
        const bool combo = id == IDC_KIND || id == IDC_ANSWER_COUNT || id == IDC_REVEAL;
        const int height = combo ? box.Height() * 8 : box.Height();
        moves = DeferWindowPos(moves, child, nullptr, box.left, box.top, box.Width(), height,
                               SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    }
    EndDeferWindowPos(moves);
    // What the controls uncovered is painted again at once.
    InvalidateRect(window, nullptr, TRUE);
    SizeQuestionColumns();
    SizeProblemColumns();
}
