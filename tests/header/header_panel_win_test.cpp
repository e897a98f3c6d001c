// The header panel under Wine: its controls, layout, link, colours and the "Sauver" button.
#include <gtest/gtest.h>

#include <string>

#include "app/main_window_win.h"
#include "content/quiz_data_win.h"
#include "header/header_panel_win.h"
#include "resource.h"
#include "win_test_support.h"

namespace {

// The panel sits in the player's main window, which acts on the buttons the panel hands on.
constexpr const char* HOST_CLASS = MAIN_WINDOW_CLASS;

class HeaderPanelTest : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        RegisterMainWindowClass(GetModuleHandle(nullptr));
    }

    void SetUp() override
    {
        m_quiz.questionCount = 25;
        lstrcpyA(m_quiz.title, "Capitales du monde");
        lstrcpyA(m_quiz.creator, "Ren\xE9"
                                 "e");
        lstrcpyA(m_quiz.explanation, "Trouvez la capitale de chaque pays.");
        g_quiz = &m_quiz;
        ClearRecordedWebPages();
        m_host = CreateWindowExA(0, HOST_CLASS, "", WS_OVERLAPPEDWINDOW, 0, 0, 1100, 200, nullptr, nullptr,
                                 GetModuleHandle(nullptr), nullptr);
        ASSERT_NE(m_host, nullptr);
    }

    void TearDown() override
    {
        if (m_panel)
            DestroyWindow(m_panel);
        DestroyWindow(m_host);
        g_quiz = nullptr;
    }

    HWND CreatePanel()
    {
        m_panel = CreateDialogParamA(GetModuleHandle(nullptr), MAKEINTRESOURCEA(IDD_HEADER_PANEL), m_host,
                                     HeaderPanelProc, 0);
        return m_panel;
    }

    // Gives the panel a client area of the given width, as the main window's layout does.
    void SizePanelClient(int clientWidth)
    {
        RECT window;
        RECT client;
        GetWindowRect(m_panel, &window);
        GetClientRect(m_panel, &client);
        const int frame = (window.right - window.left) - client.right;
        SetWindowPos(m_panel, nullptr, 5, 2, clientWidth + frame, 49, SWP_NOZORDER);
    }

    QuizData m_quiz;
    HWND m_host = nullptr;
    HWND m_panel = nullptr;
};

TEST_F(HeaderPanelTest, ControlsStartWithTheirTexts)
{
    ASSERT_NE(CreatePanel(), nullptr);
    const struct {
        int id;
        const char* className;
        std::string text;
    } expected[] = {
        {IDC_WEB_LINK, "Static", MAKER_WEB_PAGE},
        {IDC_BY_LABEL, "Static", "Par :"},
        {IDC_CREATOR, "Static",
         "Ren\xE9"
         "e"},
        {IDC_SAVE, "Button", "Sauver"},
        {IDC_EXPLANATION, "Static", "Trouvez la capitale de chaque pays."},
        {IDC_TITLE, "Static", "Capitales du monde"},
        {IDC_CODE_LABEL, "Static", " Code :"},
        {IDC_SCORE, "Static", " 0 / 25"},
        {IDC_CODE, "Edit", ""},
        {IDC_RULE_H, "Static", ""},
        {IDC_RULE_LEFT, "Static", ""},
        {IDC_RULE_RIGHT, "Static", ""},
    };
    for (const auto& control : expected) {
        HWND window = GetDlgItem(m_panel, control.id);
        ASSERT_NE(window, nullptr) << control.id;
        char className[32] = {};
        GetClassNameA(window, className, sizeof(className));
        EXPECT_EQ(lstrcmpiA(className, control.className), 0) << control.id << ": " << className;
        EXPECT_EQ(WindowText(window), control.text) << control.id;
    }
    EXPECT_TRUE(GetWindowLongA(GetDlgItem(m_panel, IDC_CODE), GWL_STYLE) & ES_READONLY);
    EXPECT_EQ(reinterpret_cast<HFONT>(SendDlgItemMessageA(m_panel, IDC_SCORE, WM_GETFONT, 0, 0)), m_quiz.scoreFont);
}

TEST_F(HeaderPanelTest, ScoreOfAQuizWithoutQuestions)
{
    m_quiz.questionCount = 0;
    ASSERT_NE(CreatePanel(), nullptr);
    EXPECT_EQ(DialogItemText(m_panel, IDC_SCORE), " 0 / 0");
}

TEST_F(HeaderPanelTest, RightBlockFollowsThePanelWidth)
{
    ASSERT_NE(CreatePanel(), nullptr);
    struct Place {
        int id;
        int x;
        int y;
        int width;
        int height;
    };
    const struct {
        int width;
        Place places[7];
    } cases[] = {
        {523,
         {{IDC_WEB_LINK, 389, 0, 115, 18},
          {IDC_BY_LABEL, 389, 25, 26, 18},
          {IDC_CREATOR, 416, 25, 105, 18},
          {IDC_SAVE, 319, 25, 55, 18},
          {IDC_EXPLANATION, 110, 19, 199, 28},
          {IDC_RULE_RIGHT, 378, 0, 1, 50},
          {IDC_TITLE, 110, 3, 220, 18}}},
        {900,
         {{IDC_WEB_LINK, 766, 0, 115, 18},
          {IDC_BY_LABEL, 766, 25, 26, 18},
          {IDC_CREATOR, 793, 25, 105, 18},
          {IDC_SAVE, 696, 25, 55, 18},
          {IDC_EXPLANATION, 110, 19, 576, 28},
          {IDC_RULE_RIGHT, 755, 0, 1, 50},
          {IDC_TITLE, 110, 3, 220, 18}}},
    };
    for (const auto& c : cases) {
        SizePanelClient(c.width);
        RECT client;
        GetClientRect(m_panel, &client);
        ASSERT_EQ(client.right, c.width);
        for (const Place& place : c.places) {
            SCOPED_TRACE(testing::Message() << "width " << c.width << ", control " << place.id);
            const RECT rect = ChildRect(GetDlgItem(m_panel, place.id));
            EXPECT_EQ(rect.left, place.x);
            EXPECT_EQ(rect.top, place.y);
            EXPECT_EQ(rect.right - rect.left, place.width);
            EXPECT_EQ(rect.bottom - rect.top, place.height);
        }
    }
    // The score and code block stays at the left whatever the width.
    const RECT score = ChildRect(GetDlgItem(m_panel, IDC_SCORE));
    EXPECT_EQ(score.left, 10);
    EXPECT_EQ(score.top, 1);
    const RECT code = ChildRect(GetDlgItem(m_panel, IDC_CODE));
    EXPECT_EQ(code.left, 47);
    EXPECT_EQ(code.top, 29);
}

TEST_F(HeaderPanelTest, NarrowPanelHidesTheExplanation)
{
    ASSERT_NE(CreatePanel(), nullptr);
    SizePanelClient(300);
    const RECT rect = ChildRect(GetDlgItem(m_panel, IDC_EXPLANATION));
    EXPECT_EQ(rect.right - rect.left, 0);
}

TEST_F(HeaderPanelTest, LinkIsUnderlinedAndSizedToItsControl)
{
    ASSERT_NE(CreatePanel(), nullptr);
    HWND link = GetDlgItem(m_panel, IDC_WEB_LINK);
    HFONT font = reinterpret_cast<HFONT>(SendMessageA(link, WM_GETFONT, 0, 0));
    ASSERT_NE(font, nullptr);
    LOGFONTA description = {};
    ASSERT_EQ(GetObjectA(font, sizeof(description), &description), static_cast<int>(sizeof(description)));
    EXPECT_EQ(description.lfHeight, -13);
    EXPECT_EQ(description.lfWeight, FW_NORMAL);
    EXPECT_TRUE(description.lfUnderline);

    // The hand is set on the class, so every static text of the program shows it.
    HCURSOR hand = LoadCursorA(GetModuleHandle(nullptr), MAKEINTRESOURCEA(IDR_LINK_CURSOR));
    ASSERT_NE(hand, nullptr);
    EXPECT_EQ(reinterpret_cast<HCURSOR>(GetClassLongPtrA(link, GCLP_HCURSOR)), hand);
    HWND otherLabel =
        CreateWindowExA(0, "Static", "", WS_CHILD, 0, 0, 10, 10, m_host, nullptr, GetModuleHandle(nullptr), nullptr);
    EXPECT_EQ(reinterpret_cast<HCURSOR>(GetClassLongPtrA(otherLabel, GCLP_HCURSOR)), hand);
    DestroyWindow(otherLabel);
}

TEST_F(HeaderPanelTest, LinkOpensThePageOncePerClick)
{
    ASSERT_NE(CreatePanel(), nullptr);
    HWND link = GetDlgItem(m_panel, IDC_WEB_LINK);
    // A double click as the mouse delivers it: press, release, double-click press, release.
    const LPARAM point = MAKELPARAM(5, 5);
    SendMessageA(link, WM_LBUTTONDOWN, MK_LBUTTON, point);
    SendMessageA(link, WM_LBUTTONUP, 0, point);
    ASSERT_EQ(RecordedWebPages().size(), 1u);
    EXPECT_EQ(RecordedWebPages()[0], MAKER_WEB_PAGE);
    SendMessageA(link, WM_LBUTTONDBLCLK, MK_LBUTTON, point);
    SendMessageA(link, WM_LBUTTONUP, 0, point);
    PumpMessages();
    EXPECT_EQ(RecordedWebPages().size(), 1u);

    // Only the plain click of the link counts: a double-click notification or another control's
    // command opens nothing.
    const WPARAM others[] = {MAKEWPARAM(IDC_WEB_LINK, STN_DBLCLK), MAKEWPARAM(IDC_CREATOR, STN_CLICKED),
                             MAKEWPARAM(IDC_WEB_LINK, STN_ENABLE)};
    for (WPARAM command : others)
        SendMessageA(m_panel, WM_COMMAND, command, reinterpret_cast<LPARAM>(link));
    EXPECT_EQ(RecordedWebPages().size(), 1u);
}

TEST_F(HeaderPanelTest, ColoursOfEachControl)
{
    ASSERT_NE(CreatePanel(), nullptr);
    ASSERT_NE(g_headerBrush, nullptr);
    LOGBRUSH brush = {};
    GetObjectA(g_headerBrush, sizeof(brush), &brush);
    EXPECT_EQ(brush.lbColor, RGB(128, 128, 255));
    EXPECT_EQ(reinterpret_cast<HBRUSH>(SendMessageA(m_panel, WM_CTLCOLORDLG, 0, 0)), g_headerBrush);

    constexpr COLORREF UNTOUCHED = RGB(1, 2, 3);
    const struct {
        int id;
        bool painted;
        COLORREF text;
    } cases[] = {
        {IDC_WEB_LINK, true, 0x00FF3232},   {IDC_BY_LABEL, true, UNTOUCHED},    {IDC_CREATOR, true, UNTOUCHED},
        {IDC_EXPLANATION, true, UNTOUCHED}, {IDC_TITLE, true, UNTOUCHED},       {IDC_CODE_LABEL, true, UNTOUCHED},
        {IDC_SCORE, true, UNTOUCHED},       {IDC_CODE, true, UNTOUCHED},        {IDC_RULE_H, false, UNTOUCHED},
        {IDC_RULE_LEFT, false, UNTOUCHED},  {IDC_RULE_RIGHT, false, UNTOUCHED},
    };
    HDC dc = CreateCompatibleDC(nullptr);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.id);
        SetBkMode(dc, OPAQUE);
        SetTextColor(dc, UNTOUCHED);
        // Straight to the procedure: through the dialog manager a FALSE becomes the default brush.
        const INT_PTR result = HeaderPanelProc(m_panel, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                               reinterpret_cast<LPARAM>(GetDlgItem(m_panel, c.id)));
        if (c.painted) {
            EXPECT_EQ(reinterpret_cast<HBRUSH>(result), g_headerBrush);
            EXPECT_EQ(GetBkMode(dc), TRANSPARENT);
        } else {
            EXPECT_EQ(result, 0);
            EXPECT_EQ(GetBkMode(dc), OPAQUE);
        }
        EXPECT_EQ(GetTextColor(dc), c.text);
    }
    DeleteDC(dc);
}

TEST_F(HeaderPanelTest, BrushIsDeletedOnceWithThePanel)
{
    ASSERT_NE(CreatePanel(), nullptr);
    HBRUSH brush = g_headerBrush;
    ASSERT_NE(GetObjectType(brush), 0u);
    DestroyWindow(m_panel);
    m_panel = nullptr;
    EXPECT_EQ(g_headerBrush, nullptr);
    EXPECT_EQ(GetObjectType(brush), 0u);
}

TEST_F(HeaderPanelTest, PanelMadeAgainHoldsNoMoreGdiObjects)
{
    // The first panel creates what the process keeps: the link font and the system's own objects.
    ASSERT_NE(CreatePanel(), nullptr);
    DestroyWindow(m_panel);
    const DWORD before = GdiObjectCount();
    ASSERT_NE(CreatePanel(), nullptr);
    EXPECT_GT(GdiObjectCount(), before); // the panel's brush
    DestroyWindow(m_panel);
    m_panel = nullptr;
    EXPECT_EQ(GdiObjectCount(), before);
}

TEST_F(HeaderPanelTest, SaveButtonWritesTheAnswersFile)
{
    ScopedTempDirectory directory;
    m_quiz.questionCount = 2;
    m_quiz.answersPerQuestion = 1;
    ASSERT_NE(CreatePanel(), nullptr);
    // A stand-in for the board: the save only reads its answer boxes.
    HWND board = CreateWindowExA(0, HOST_CLASS, "", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr, nullptr,
                                 GetModuleHandle(nullptr), nullptr);
    for (int k = 1; k <= 2; ++k)
        CreateWindowExA(0, "edit", k == 1 ? "Paris" : "Rome", WS_CHILD, 0, 0, 100, 20, board,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_ANSWER_BASE + k)), GetModuleHandle(nullptr),
                        nullptr);
    g_questionBoard = board;

    SendDlgItemMessageA(m_panel, IDC_SAVE, BM_CLICK, 0, 0);

    char module[MAX_PATH];
    GetModuleFileNameA(nullptr, module, MAX_PATH);
    std::string name = std::string(module).substr(std::string(module).find_last_of('\\') + 1);
    name.replace(name.size() - 3, 3, "txt");
    EXPECT_EQ(ReadFileBytes(name), "Paris\r\nRome\r\n");
    g_questionBoard = nullptr;
    DestroyWindow(board);
}

} // namespace
