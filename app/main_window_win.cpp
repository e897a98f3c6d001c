#include "app/main_window_win.h"

#include "answers/answers_file_win.h"
#include "board/board_scroll_win.h"
#include "board/media_win.h"
#include "board/picture_loading_win.h"
#include "board/question_board_win.h"
#include "content/quiz_data_win.h"
#include "header/header_panel_win.h"
#include "platform/text_1252_win.h"
#include "resource.h"

HWND g_headerPanel = nullptr;
HWND g_questionBoard = nullptr;
HBRUSH g_mainBrush = nullptr;

namespace {

constexpr int HEADER_BAND_HEIGHT = 49;
constexpr int VERSION_LABEL_CREATED_X = 725;

// What the wheel turned over the main window, and over what passes wheel messages on to it.
WheelState g_mainWheel = {};

// The system's icons and cursors are named by number; the number serves the wide calls as it is.
LPCWSTR SystemResource(LPCSTR id)
{
    return reinterpret_cast<LPCWSTR>(id);
}

void MoveIfPresent(HWND window, int x, int y, int width, int height, UINT flags)
{
    if (window)
        SetWindowPos(window, nullptr, x, y, width, height, flags);
}

LRESULT OnMainCreate(HWND window)
{
    RECT client;
    GetClientRect(window, &client);
    // Created outside the window; the first WM_SIZE moves it into the bottom-right corner.
    CreateLabel(window, VERSION_LABEL_TEXT, VERSION_LABEL_CREATED_X, client.bottom - 16, 130, 15, IDC_VERSION_LABEL);
    HICON icon = LoadIconW(nullptr, SystemResource(IDI_QUESTION));
    SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    return 0;
}

LRESULT OnMainSize(HWND window, WPARAM sizeType)
{
    if (sizeType == SIZE_MINIMIZED)
        return 0;
    RECT client;
    GetClientRect(window, &client);
    const int width = client.right;
    const int height = client.bottom;
    MoveIfPresent(g_questionBoard, 5, 50, width - 11, height - 68, SWP_NOZORDER);
    MoveIfPresent(g_headerPanel, 5, 2, width - 11, HEADER_BAND_HEIGHT, SWP_NOZORDER);
    MoveIfPresent(GetDlgItem(window, IDC_VERSION_LABEL), width - 145, height - 16, 170, 15,
                  SWP_NOACTIVATE | SWP_NOOWNERZORDER);
    return 0;
}

LRESULT OnMainClose()
{
    SaveAnswers(g_questionBoard);
    // Pictures still being decoded are abandoned now: each one decoded would post the board a
    // notice, and the quit message waits until no notice is pending.
    StopBoardPictures(g_questionBoard);
    // Clip files are numbered by question ("zelbo3.mp3"); a clip file without a number is no
    // longer written by any player, but one left in the quiz's folder by an earlier player would
    // otherwise stay there for good, so every close clears it away.
    DeleteFileW(L"zelbo.mp3");
    PostQuitMessage(0);
    return 0;
}

// Windows ends a session (shut-down, restart for updates, sign-out) without closing the window: the
// answers are saved here or lost. Nobody could answer a message box now, so a failure stays silent.
LRESULT OnMainEndSession(WPARAM ending)
{
    if (ending)
        SaveAnswers(g_questionBoard, SaveReport::NEVER);
    return 0;
}

LRESULT OnMainCommand(WPARAM wParam)
{
    // The header panel hands its "Sauver" button on: it saves like F2 in an answer box.
    if (wParam == MAKEWPARAM(IDC_SAVE, BN_CLICKED))
        SaveAnswers(g_questionBoard);
    return 0;
}

LRESULT OnMainCtlColorStatic(HDC dc, HWND control)
{
    if (GetWindowLongPtrW(control, GWL_ID) != IDC_VERSION_LABEL)
        return 0;
    SetTextColor(dc, RGB(0, 0, 0));
    return reinterpret_cast<LRESULT>(g_mainBrush);
}

void CentreOnDesktop(HWND window)
{
    RECT desktop;
    RECT own;
    GetWindowRect(GetDesktopWindow(), &desktop);
    GetWindowRect(window, &own);
    const int x = desktop.left + ((desktop.right - desktop.left) - (own.right - own.left)) / 2;
    const int y = desktop.top + ((desktop.bottom - desktop.top) - (own.bottom - own.top)) / 2;
    SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}

} // namespace

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        return OnMainCreate(window);
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    case WM_SIZE:
        return OnMainSize(window, wParam);
    case WM_CLOSE:
        return OnMainClose();
    case WM_QUERYENDSESSION:
        return TRUE;
    case WM_ENDSESSION:
        return OnMainEndSession(wParam);
    case WM_COMMAND:
        return OnMainCommand(wParam);
    case WM_CTLCOLORSTATIC:
        return OnMainCtlColorStatic(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_MOUSEWHEEL:
    case WM_MOUSEHWHEEL:
        ForwardMouseWheel(g_questionBoard, message, wParam);
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

void CreateLabel(HWND parent, const wchar_t* text, int x, int y, int width, int height, int id)
{
    HWND label = CreateWindowExW(0, L"Static", text, WS_CHILD | WS_VISIBLE, x, y, width, height, parent,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
    SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), TRUE);
}

void ForwardMouseWheel(HWND board, UINT message, WPARAM wParam)
{
    ScrollBoardByWheel(board, message, wParam, g_mainWheel);
}

bool RegisterMainWindowClass(HINSTANCE instance)
{
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.style = CS_DBLCLKS;
    windowClass.lpfnWndProc = MainWindowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconW(nullptr, SystemResource(IDI_APPLICATION));
    windowClass.hIconSm = LoadIconW(nullptr, SystemResource(IDI_APPLICATION));
    windowClass.hCursor = LoadCursorW(nullptr, SystemResource(IDC_ARROW));
    // System colour index 0 plus one: the window background takes the scroll-bar colour.
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_SCROLLBAR + 1));
    windowClass.lpszClassName = MAIN_WINDOW_CLASS;
    return RegisterClassExW(&windowClass) != 0;
}

HWND StartPlayer(HINSTANCE instance)
{
    g_mainBrush = CreateSolidBrush(MAIN_BRUSH_COLOUR);
    g_quiz = new QuizData();
    g_quiz->LoadContent();
    MediaStartup();

    HWND mainWindow =
        CreateWindowExW(0, MAIN_WINDOW_CLASS, WideFrom1252(g_quiz->title).c_str(), WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                        CW_USEDEFAULT, MAIN_WINDOW_WIDTH, MAIN_WINDOW_HEIGHT, nullptr, nullptr, instance, nullptr);
    CentreOnDesktop(mainWindow);

    g_headerPanel = CreateDialogParamW(instance, MAKEINTRESOURCEW(IDD_HEADER_PANEL), mainWindow, HeaderPanelProc, 0);
    ShowWindow(g_headerPanel, SW_SHOWNORMAL);
    g_quiz->headerPanel = g_headerPanel;

    g_questionBoard =
        CreateDialogParamW(instance, MAKEINTRESOURCEW(IDD_QUESTION_BOARD), mainWindow, QuestionBoardProc, 0);
    ShowWindow(mainWindow, SW_SHOWNORMAL);
    ShowWindow(g_questionBoard, SW_SHOWNORMAL);
    return mainWindow;
}

int RunMessageLoop()
{
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        // Only the board gets dialog keyboard handling: Tab never wanders into the header panel.
        if (IsDialogMessageW(g_questionBoard, &message))
            continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}

void ShutDownPlayer(HWND mainWindow)
{
    EndDialog(g_questionBoard, 0);
    // When the loop ended without WM_CLOSE, the picture threads end here, before the quiz record goes.
    StopBoardPictures(g_questionBoard);
    DestroyWindow(g_headerPanel);
    MediaCleanup(mainWindow);
    DeleteObject(g_mainBrush);
    g_mainBrush = nullptr;
    delete g_quiz;
    g_quiz = nullptr;
}

int RunPlayer(HINSTANCE instance)
{
    if (!RegisterMainWindowClass(instance))
        return 0;
    HWND mainWindow = StartPlayer(instance);
    const int exitCode = RunMessageLoop();
    ShutDownPlayer(mainWindow);
    return exitCode;
}
