// Scrolling the question board under Wine: bar ranges, every request, resizing and the wheel.
#include <gtest/gtest.h>

#include <initializer_list>
#include <vector>

#include "app/main_window_win.h"
#include "board/board_scroll_win.h"
#include "board/question_board_win.h"
#include "content/quiz_data_win.h"
#include "resource.h"
#include "win_test_support.h"

namespace {

constexpr char HOST_CLASS[] = "ZelboScrollTestHost";
constexpr int CONTENT_WIDTH = 1000;
constexpr int CONTENT_HEIGHT = 2000;
constexpr int CLIENT_WIDTH = 400;
constexpr int CLIENT_HEIGHT = 300;
// Probes placed in the content: one at its top-left corner, one forming its last row.
constexpr int TOP_PROBE = 9990;
constexpr int BOTTOM_PROBE = 9991;
constexpr int PROBE_SIZE = 20;

class BoardScrollTest : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        RegisterPlainWindowClass(HOST_CLASS);
        RegisterMainWindowClass(GetModuleHandle(nullptr));
    }

    void SetUp() override
    {
        // A quiz without questions: the board builds nothing, and the content is set here.
        m_quiz.questionCount = 0;
        m_quiz.answersPerQuestion = 1;
        g_quiz = &m_quiz;
    }

    void TearDown() override
    {
        g_questionBoard = nullptr;
        if (m_board)
            DestroyWindow(m_board);
        if (m_parent)
            DestroyWindow(m_parent);
        MSG message;
        while (PeekMessage(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }
        g_quiz = nullptr;
    }

    // The board in a parent window: a bare window, or the program's main window, whose wheel
    // handling adds its own step.
    void CreateBoard(bool inMainWindow, int contentWidth = CONTENT_WIDTH, int contentHeight = CONTENT_HEIGHT)
    {
        m_parent = inMainWindow ? CreateWindowExA(0, MAIN_WINDOW_CLASS, "", WS_OVERLAPPEDWINDOW, 0, 0, 700, 600,
                                                  nullptr, nullptr, GetModuleHandle(nullptr), nullptr)
                                : CreateWindowExA(0, HOST_CLASS, "", WS_OVERLAPPEDWINDOW, 0, 0, 700, 600, nullptr,
                                                  nullptr, GetModuleHandle(nullptr), nullptr);
        ASSERT_NE(m_parent, nullptr);
        m_board = CreateDialogParamA(GetModuleHandle(nullptr), MAKEINTRESOURCEA(IDD_QUESTION_BOARD), m_parent,
                                     QuestionBoardProc, 0);
        ASSERT_NE(m_board, nullptr);
        if (inMainWindow)
            g_questionBoard = m_board;
        g_contentWidth = contentWidth;
        g_contentHeight = contentHeight;
        CreateWindowExA(0, "Static", "", WS_CHILD | WS_VISIBLE, 0, 0, PROBE_SIZE, PROBE_SIZE, m_board,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(TOP_PROBE)), GetModuleHandle(nullptr), nullptr);
        CreateWindowExA(0, "Static", "", WS_CHILD | WS_VISIBLE, contentWidth - PROBE_SIZE, contentHeight - PROBE_SIZE,
                        PROBE_SIZE, PROBE_SIZE, m_board, reinterpret_cast<HMENU>(static_cast<INT_PTR>(BOTTOM_PROBE)),
                        GetModuleHandle(nullptr), nullptr);
        UpdateScrollRanges(m_board);
        SizeClient(CLIENT_WIDTH, CLIENT_HEIGHT);
        // Only a visible window moves its children when it scrolls.
        ShowWindow(m_parent, SW_SHOWNORMAL);
        ShowWindow(m_board, SW_SHOWNORMAL);
    }

    // Sizes the board so that its client area is exactly width x height; both bars always take
    // their room, so the frame does not change with the size.
    void SizeClient(int width, int height)
    {
        RECT window;
        RECT client;
        GetWindowRect(m_board, &window);
        GetClientRect(m_board, &client);
        const int frameWidth = (window.right - window.left) - client.right;
        const int frameHeight = (window.bottom - window.top) - client.bottom;
        SetWindowPos(m_board, nullptr, 0, 0, width + frameWidth, height + frameHeight, SWP_NOMOVE | SWP_NOZORDER);
        GetClientRect(m_board, &client);
        ASSERT_EQ(client.right, width);
        ASSERT_EQ(client.bottom, height);
    }

    SCROLLINFO Bar(int bar) const
    {
        SCROLLINFO info = {};
        info.cbSize = sizeof(info);
        info.fMask = SIF_ALL;
        GetScrollInfo(m_board, bar, &info);
        return info;
    }

    RECT Probe(int id) const { return ChildRect(GetDlgItem(m_board, id)); }

    // The content's top-left corner must sit at minus the bars' positions.
    void ExpectContentAtBars() const
    {
        const RECT top = Probe(TOP_PROBE);
        EXPECT_EQ(top.left, -GetScrollPos(m_board, SB_HORZ));
        EXPECT_EQ(top.top, -GetScrollPos(m_board, SB_VERT));
    }

    QuizData m_quiz;
    HWND m_parent = nullptr;
    HWND m_board = nullptr;
};

TEST_F(BoardScrollTest, RangesForContentLargerAndSmallerThanTheClient)
{
    const struct {
        int contentWidth;
        int contentHeight;
        int maxH;
        int pageH;
        int maxV;
        int pageV;
    } cases[] = {
        {CONTENT_WIDTH, CONTENT_HEIGHT, 998, CLIENT_WIDTH - 1, 1998, CLIENT_HEIGHT - 1},
        {250, 120, 248, 249, 118, 119},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.contentWidth << " x " << c.contentHeight);
        CreateBoard(false, c.contentWidth, c.contentHeight);
        const SCROLLINFO horizontal = Bar(SB_HORZ);
        const SCROLLINFO vertical = Bar(SB_VERT);
        EXPECT_EQ(horizontal.nMin, 0);
        EXPECT_EQ(horizontal.nMax, c.maxH);
        EXPECT_EQ(static_cast<int>(horizontal.nPage), c.pageH);
        EXPECT_EQ(vertical.nMin, 0);
        EXPECT_EQ(vertical.nMax, c.maxV);
        EXPECT_EQ(static_cast<int>(vertical.nPage), c.pageV);
        DestroyWindow(m_board);
        DestroyWindow(m_parent);
        m_board = m_parent = nullptr;
    }
}

struct RequestSequence {
    int bar;
    std::vector<WORD> requests;
    int expected;
};

TEST_F(BoardScrollTest, EveryRequestInBothDirections)
{
    constexpr int LAST_V = CONTENT_HEIGHT - CLIENT_HEIGHT;
    constexpr int LAST_H = CONTENT_WIDTH - CLIENT_WIDTH;
    constexpr int PAGE_V = CLIENT_HEIGHT - 1;
    constexpr int PAGE_H = CLIENT_WIDTH - 1;
    const RequestSequence cases[] = {
        {SB_VERT, {SB_LINEDOWN, SB_LINEDOWN, SB_LINEUP}, 50},
        {SB_VERT, {SB_LINEUP}, 0},
        {SB_VERT, {SB_PAGEDOWN}, PAGE_V},
        {SB_VERT, {SB_PAGEUP}, 0},
        {SB_VERT, {SB_BOTTOM}, LAST_V},
        {SB_VERT, {SB_BOTTOM, SB_LINEDOWN}, LAST_V},
        {SB_VERT, {SB_BOTTOM, SB_PAGEUP}, LAST_V - PAGE_V},
        {SB_VERT, {SB_BOTTOM, SB_TOP}, 0},
        {SB_VERT, {SB_LINEDOWN, SB_THUMBPOSITION, SB_ENDSCROLL}, 50},
        {SB_HORZ, {SB_LINERIGHT, SB_LINERIGHT, SB_LINERIGHT, SB_LINELEFT}, 2},
        {SB_HORZ, {SB_LINELEFT}, 0},
        {SB_HORZ, {SB_PAGERIGHT}, PAGE_H},
        {SB_HORZ, {SB_RIGHT, SB_PAGELEFT}, LAST_H - PAGE_H},
        {SB_HORZ, {SB_RIGHT}, LAST_H},
        {SB_HORZ, {SB_RIGHT, SB_LINERIGHT}, LAST_H},
        {SB_HORZ, {SB_RIGHT, SB_LEFT}, 0},
        {SB_HORZ, {SB_LINERIGHT, SB_THUMBPOSITION, SB_ENDSCROLL}, 1},
    };
    CreateBoard(false);
    for (const RequestSequence& c : cases) {
        SCOPED_TRACE(testing::Message() << (c.bar == SB_VERT ? "vertical, " : "horizontal, ") << c.requests.size()
                                        << " requests ending with " << c.requests.back());
        // Back to the origin of both bars first.
        SendMessageA(m_board, WM_VSCROLL, SB_TOP, 0);
        SendMessageA(m_board, WM_HSCROLL, SB_LEFT, 0);
        const UINT message = c.bar == SB_VERT ? WM_VSCROLL : WM_HSCROLL;
        for (WORD request : c.requests)
            SendMessageA(m_board, message, request, 0);
        EXPECT_EQ(GetScrollPos(m_board, c.bar), c.expected);
        EXPECT_EQ(GetScrollPos(m_board, c.bar == SB_VERT ? SB_HORZ : SB_VERT), 0);
        ExpectContentAtBars();
    }
}

TEST_F(BoardScrollTest, BottomShowsTheLastRowAtTheBottomEdge)
{
    CreateBoard(false);
    SendMessageA(m_board, WM_VSCROLL, SB_BOTTOM, 0);
    SendMessageA(m_board, WM_HSCROLL, SB_RIGHT, 0);
    const RECT last = Probe(BOTTOM_PROBE);
    EXPECT_EQ(last.bottom, CLIENT_HEIGHT);
    EXPECT_EQ(last.right, CLIENT_WIDTH);
}

TEST_F(BoardScrollTest, ResizingKeepsTheContentAligned)
{
    CreateBoard(false);
    SendMessageA(m_board, WM_VSCROLL, SB_BOTTOM, 0);

    // Enlarged at the end of the content: the position drops and no gap opens below the last row.
    SizeClient(CLIENT_WIDTH, 500);
    EXPECT_EQ(GetScrollPos(m_board, SB_VERT), CONTENT_HEIGHT - 500);
    EXPECT_EQ(Probe(BOTTOM_PROBE).bottom, 500);
    ExpectContentAtBars();

    // Shrunk again: the bar keeps the position it has.
    SizeClient(CLIENT_WIDTH, CLIENT_HEIGHT);
    EXPECT_EQ(GetScrollPos(m_board, SB_VERT), CONTENT_HEIGHT - 500);
    ExpectContentAtBars();

    // Larger than the whole content: back to 0, with the content at the top-left corner.
    SendMessageA(m_board, WM_HSCROLL, SB_RIGHT, 0);
    SizeClient(CONTENT_WIDTH + 10, CONTENT_HEIGHT + 10);
    EXPECT_EQ(GetScrollPos(m_board, SB_VERT), 0);
    EXPECT_EQ(GetScrollPos(m_board, SB_HORZ), 0);
    ExpectContentAtBars();
    for (WORD request : {SB_LINEDOWN, SB_PAGEDOWN, SB_BOTTOM}) {
        SendMessageA(m_board, WM_VSCROLL, request, 0);
        SendMessageA(m_board, WM_HSCROLL, request, 0);
        EXPECT_EQ(GetScrollPos(m_board, SB_VERT), 0) << request;
        EXPECT_EQ(GetScrollPos(m_board, SB_HORZ), 0) << request;
    }
    ExpectContentAtBars();

    // Shrunk back: the bars are active again, from 0.
    SizeClient(CLIENT_WIDTH, CLIENT_HEIGHT);
    SendMessageA(m_board, WM_VSCROLL, SB_LINEDOWN, 0);
    EXPECT_EQ(GetScrollPos(m_board, SB_VERT), 50);
    ExpectContentAtBars();
}

struct WheelCase {
    bool inMainWindow;
    short delta;
    int expected;
};

TEST_F(BoardScrollTest, WheelNotches)
{
    // Through the board alone a notch posts one line step; in the program the board leaves the
    // message unhandled, the dialog manager passes it on to the main window, which posts a second.
    const WheelCase cases[] = {
        {false, -120, 50}, {true, -120, 100}, {true, 120, 0}, {true, -240, 0}, {true, 240, 0}, {true, -60, 0},
    };
    for (const WheelCase& c : cases) {
        SCOPED_TRACE(testing::Message() << (c.inMainWindow ? "main window, " : "bare parent, ") << c.delta);
        CreateBoard(c.inMainWindow);
        SendMessageA(m_board, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(c.delta)), 0);
        PumpMessages();
        EXPECT_EQ(GetScrollPos(m_board, SB_VERT), c.expected);
        ExpectContentAtBars();
        if (c.expected == 100) {
            SendMessageA(m_board, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_NOTCH), 0);
            PumpMessages();
            EXPECT_EQ(GetScrollPos(m_board, SB_VERT), 0);
        }
        TearDown();
        SetUp();
    }
}

} // namespace
