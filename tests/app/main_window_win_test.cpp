// The main window under Wine: size, centring, caption, layout, wheel, close and shut-down.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/main_window_win.h"
#include "content/quiz_data_win.h"
#include "resource.h"
#include "win_test_support.h"

namespace {

// The class is registered once per process, whichever test runs first.
void EnsureMainWindowClass()
{
    static const bool registered = RegisterMainWindowClass(GetModuleHandle(nullptr));
    ASSERT_TRUE(registered);
}

class MainWindowTest : public testing::Test {
protected:
    static void SetUpTestSuite() { EnsureMainWindowClass(); }

    void SetUp() override
    {
        m_mainWindow = StartPlayer(GetModuleHandle(nullptr));
        ASSERT_NE(m_mainWindow, nullptr);
        PumpMessages();
    }

    void TearDown() override
    {
        PostMessage(m_mainWindow, WM_CLOSE, 0, 0);
        RunMessageLoop();
        ShutDownPlayer(m_mainWindow);
        DestroyWindow(m_mainWindow);
        DiscardQuitMessages();
    }

    static void DiscardQuitMessages()
    {
        MSG message;
        while (PeekMessage(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }
    }

    // Client size of the main window after a resize of the outer window.
    void ResizeOuter(int width, int height)
    {
        SetWindowPos(m_mainWindow, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER);
        PumpMessages();
    }

    RECT Client() const
    {
        RECT client;
        GetClientRect(m_mainWindow, &client);
        return client;
    }

    HWND m_mainWindow = nullptr;
    ScopedTempDirectory m_directory;
};

void ExpectRect(HWND window, int x, int y, int width, int height, const char* what)
{
    const RECT rect = ChildRect(window);
    EXPECT_EQ(rect.left, x) << what;
    EXPECT_EQ(rect.top, y) << what;
    EXPECT_EQ(rect.right - rect.left, width) << what;
    EXPECT_EQ(rect.bottom - rect.top, height) << what;
}

void ExpectLayout(HWND mainWindow, const RECT& client)
{
    const int w = client.right;
    const int h = client.bottom;
    ExpectRect(g_questionBoard, 5, 50, w - 11, h - 68, "board");
    ExpectRect(g_headerPanel, 5, 2, w - 11, 49, "header panel");
    ExpectRect(GetDlgItem(mainWindow, IDC_VERSION_LABEL), w - 145, h - 16, 170, 15, "version label");
}

// Scroll requests that the wheel handling posted to the board, in order.
std::vector<WPARAM> TakePostedScrollRequests(HWND board)
{
    std::vector<WPARAM> requests;
    MSG message;
    while (PeekMessage(&message, board, WM_VSCROLL, WM_VSCROLL, PM_REMOVE))
        requests.push_back(message.wParam);
    return requests;
}

} // namespace

TEST_F(MainWindowTest, OpensCentredWithTheQuizTitleAndClass)
{
    RECT window;
    GetWindowRect(m_mainWindow, &window);
    EXPECT_EQ(window.right - window.left, MAIN_WINDOW_WIDTH);
    EXPECT_EQ(window.bottom - window.top, MAIN_WINDOW_HEIGHT);

    RECT desktop;
    GetWindowRect(GetDesktopWindow(), &desktop);
    EXPECT_EQ(window.left, desktop.left + ((desktop.right - desktop.left) - MAIN_WINDOW_WIDTH) / 2);
    EXPECT_EQ(window.top, desktop.top + ((desktop.bottom - desktop.top) - MAIN_WINDOW_HEIGHT) / 2);
    if (desktop.right == 1024 && desktop.bottom == 768) {
        EXPECT_EQ(window.left, 240);
        EXPECT_EQ(window.top, 196);
    }

    // Without a content resource the sample quiz's title is the caption.
    EXPECT_EQ(WindowText(m_mainWindow), "Nom du zelbo");
    char className[64] = {};
    GetClassNameA(m_mainWindow, className, sizeof(className));
    EXPECT_STREQ(className, MAIN_WINDOW_CLASS);
    EXPECT_EQ(GetClassLongPtr(m_mainWindow, GCL_STYLE), static_cast<ULONG_PTR>(CS_DBLCLKS));
    EXPECT_EQ(GetWindowLongPtr(m_mainWindow, GWL_STYLE) & WS_OVERLAPPEDWINDOW, WS_OVERLAPPEDWINDOW);
    EXPECT_TRUE(IsWindowVisible(m_mainWindow));
    EXPECT_TRUE(IsWindowVisible(g_questionBoard));
    EXPECT_TRUE(IsWindowVisible(g_headerPanel));
    EXPECT_EQ(g_quiz->headerPanel, g_headerPanel);
}

TEST_F(MainWindowTest, VersionLabelSaysTheVersionInTheDefaultGuiFont)
{
    HWND label = GetDlgItem(m_mainWindow, IDC_VERSION_LABEL);
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(WindowText(label), "R\xE9" "alis\xE9 avec la version 2.1.2");
    EXPECT_EQ(reinterpret_cast<HGDIOBJ>(SendMessage(label, WM_GETFONT, 0, 0)), GetStockObject(DEFAULT_GUI_FONT));

    HDC dc = GetDC(label);
    const LRESULT brush = SendMessage(m_mainWindow, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                      reinterpret_cast<LPARAM>(label));
    EXPECT_EQ(reinterpret_cast<HBRUSH>(brush), g_mainBrush);
    EXPECT_EQ(GetTextColor(dc), RGB(0, 0, 0));
    // Any other static of the main window gets no brush of the program's.
    EXPECT_EQ(SendMessage(m_mainWindow, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                          reinterpret_cast<LPARAM>(g_headerPanel)),
              0);
    ReleaseDC(label, dc);
}

TEST_F(MainWindowTest, LaysBothDialogsAndTheLabelOutOnEveryResize)
{
    ExpectLayout(m_mainWindow, Client());
    const SIZE sizes[] = {{800, 600}, {400, 300}, {544, 375}, {1000, 700}};
    for (const SIZE& size : sizes) {
        ResizeOuter(size.cx, size.cy);
        SCOPED_TRACE(testing::Message() << size.cx << " x " << size.cy);
        ExpectLayout(m_mainWindow, Client());
    }
}

TEST_F(MainWindowTest, MinimisingLeavesTheLayoutAndRestoringLaysItOutAgain)
{
    ResizeOuter(700, 500);
    const RECT before = ChildRect(g_questionBoard);
    const RECT clientBefore = Client();

    ShowWindow(m_mainWindow, SW_MINIMIZE);
    PumpMessages();
    const RECT minimised = ChildRect(g_questionBoard);
    EXPECT_TRUE(EqualRect(&before, &minimised));

    // A minimise notification alone moves nothing, whatever size it reports.
    SendMessage(m_mainWindow, WM_SIZE, SIZE_MINIMIZED, MAKELPARAM(10, 10));
    const RECT afterNotification = ChildRect(g_questionBoard);
    EXPECT_TRUE(EqualRect(&before, &afterNotification));

    ShowWindow(m_mainWindow, SW_RESTORE);
    PumpMessages();
    EXPECT_EQ(Client().right, clientBefore.right);
    ExpectLayout(m_mainWindow, Client());

    ShowWindow(m_mainWindow, SW_MAXIMIZE);
    PumpMessages();
    ExpectLayout(m_mainWindow, Client());
}

TEST_F(MainWindowTest, SizeNotificationWithoutDialogsStillMovesTheLabel)
{
    const HWND board = g_questionBoard;
    const HWND panel = g_headerPanel;
    const RECT boardBefore = ChildRect(board);
    g_questionBoard = nullptr;
    g_headerPanel = nullptr;

    SetWindowPos(m_mainWindow, nullptr, 0, 0, 640, 480, SWP_NOMOVE | SWP_NOZORDER);
    const RECT client = Client();
    const RECT boardAfter = ChildRect(board);
    EXPECT_TRUE(EqualRect(&boardBefore, &boardAfter));
    ExpectRect(GetDlgItem(m_mainWindow, IDC_VERSION_LABEL), client.right - 145, client.bottom - 16, 170, 15,
               "version label");

    g_questionBoard = board;
    g_headerPanel = panel;
}

TEST_F(MainWindowTest, OnlyExactWheelNotchesPostALineStepToTheBoard)
{
    TakePostedScrollRequests(g_questionBoard);
    const struct {
        short delta;
        std::vector<WPARAM> posted;
    } cases[] = {
        {120, {SB_LINEUP}}, {-120, {SB_LINEDOWN}}, {240, {}}, {-240, {}}, {30, {}}, {60, {}}, {0, {}},
    };
    for (const auto& c : cases) {
        SendMessage(m_mainWindow, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(c.delta)), 0);
        EXPECT_EQ(TakePostedScrollRequests(g_questionBoard), c.posted) << "delta " << c.delta;
    }
}

TEST_F(MainWindowTest, ANotchOverAnAnswerBoxMovesTheBoardTwoLineSteps)
{
    HWND box = GetDlgItem(g_questionBoard, IDC_ANSWER_BASE + 1);
    ASSERT_NE(box, nullptr);
    TakePostedScrollRequests(g_questionBoard);
    // The board posts one step and leaves the message unhandled; the main window posts the second.
    SendMessage(box, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-120)), 0);
    EXPECT_EQ(TakePostedScrollRequests(g_questionBoard), (std::vector<WPARAM>{SB_LINEDOWN, SB_LINEDOWN}));
    SendMessage(box, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(60)), 0);
    EXPECT_TRUE(TakePostedScrollRequests(g_questionBoard).empty());
}

TEST_F(MainWindowTest, ForwardedWheelStepsArePostedNotSent)
{
    ForwardMouseWheel(g_questionBoard, MAKEWPARAM(0, static_cast<WORD>(-120)));
    MSG message;
    ASSERT_TRUE(PeekMessage(&message, g_questionBoard, WM_VSCROLL, WM_VSCROLL, PM_REMOVE));
    EXPECT_EQ(message.wParam, static_cast<WPARAM>(SB_LINEDOWN));
    EXPECT_EQ(message.lParam, 0);
}

TEST_F(MainWindowTest, CloseDeletesTheLeftoverClipAndPostsQuitWithoutDestroying)
{
    WriteFileBytes("zelbo.mp3", "ID3");
    SendMessage(m_mainWindow, WM_CLOSE, 0, 0);
    EXPECT_FALSE(FileExists("zelbo.mp3"));
    EXPECT_TRUE(IsWindow(m_mainWindow));

    MSG message;
    ASSERT_TRUE(PeekMessage(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(message.wParam, 0u);

    // Closing again with no clip file around is just as quiet.
    SendMessage(m_mainWindow, WM_CLOSE, 0, 0);
    EXPECT_TRUE(PeekMessage(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

TEST_F(MainWindowTest, DestroyPostsQuit)
{
    SendMessage(m_mainWindow, WM_DESTROY, 0, 0);
    MSG message;
    EXPECT_TRUE(PeekMessage(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

// The whole run, start to quit, leaves no GDI object behind once its windows are gone.
TEST(PlayerRun, ShutDownReleasesEveryGdiObject)
{
    EnsureMainWindowClass();
    ScopedTempDirectory directory;
    // Warm-up run: the first use of fonts, cursors and system colours allocates objects the
    // process keeps for good, which are not the program's to release.
    for (int run = 0; run < 2; ++run) {
        const DWORD before = GdiObjectCount();
        HWND mainWindow = StartPlayer(GetModuleHandle(nullptr));
        ASSERT_NE(mainWindow, nullptr);
        PumpMessages();
        // The record's brushes and fonts and the main brush, at least.
        EXPECT_GE(GdiObjectCount(), before + 8);
        PostMessage(mainWindow, WM_CLOSE, 0, 0);
        EXPECT_EQ(RunMessageLoop(), 0);
        ShutDownPlayer(mainWindow);
        DestroyWindow(mainWindow);
        PumpMessages();
        EXPECT_EQ(g_quiz, nullptr);
        EXPECT_EQ(g_mainBrush, nullptr);
        if (run == 1) {
            EXPECT_EQ(GdiObjectCount(), before);
        }
    }
}
