// Colours of the board's labels under Wine: quiz colour, verdict colours, question texts.
#include <gtest/gtest.h>

#include "answers/grading.h"
#include "board/board_colours_win.h"
#include "content/quiz_data_win.h"
#include "resource.h"
#include "win_test_support.h"

namespace {

constexpr char HOST_CLASS[] = "ZelboColourTestHost";
constexpr COLORREF UNTOUCHED = RGB(1, 2, 3);

class BoardColoursTest : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        RegisterPlainWindowClass(HOST_CLASS);
    }

    void SetUp() override
    {
        m_quiz.questionCount = 3;
        m_quiz.answersPerQuestion = 2;
        g_quiz = &m_quiz;
        m_board = CreateWindowExA(0, HOST_CLASS, "", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr, nullptr,
                                  GetModuleHandle(nullptr), nullptr);
        m_dc = CreateCompatibleDC(nullptr);
    }

    void TearDown() override
    {
        DeleteDC(m_dc);
        DestroyWindow(m_board);
        g_quiz = nullptr;
    }

    HWND Label(int id, const char* text = "")
    {
        return CreateWindowExA(0, "Static", text, WS_CHILD, 0, 0, 50, 20, m_board,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandle(nullptr), nullptr);
    }

    // Asks for the colours with a DC in a known state, as the control would.
    HBRUSH ColoursOf(HWND label)
    {
        SetBkMode(m_dc, OPAQUE);
        SetBkColor(m_dc, UNTOUCHED);
        SetTextColor(m_dc, UNTOUCHED);
        return OnBoardCtlColorStatic(m_dc, label);
    }

    QuizData m_quiz;
    HWND m_board = nullptr;
    HDC m_dc = nullptr;
};

TEST_F(BoardColoursTest, VerdictFieldsTakeTheirVerdictsColour)
{
    const struct {
        const char* verdict;
        HBRUSH QuizData::*brush;
        COLORREF colour;
    } cases[] = {
        {VERDICT_RIGHT, &QuizData::rightBrush, RGB(0, 255, 0)},
        {VERDICT_WRONG, &QuizData::wrongBrush, RGB(255, 0, 0)},
        {VERDICT_ANAGRAM, &QuizData::anagramBrush, RGB(255, 100, 0)},
        {VERDICT_TOO_LONG, &QuizData::closeBrush, RGB(255, 203, 38)},
        {VERDICT_GOOD_IDEA, &QuizData::closeBrush, RGB(255, 203, 38)},
        {"bravo", &QuizData::closeBrush, RGB(255, 203, 38)}, // compared exactly, case included
    };
    // The first and the last verdict field of the quiz.
    for (int id : {IDC_VERDICT_BASE + 1, IDC_VERDICT_BASE + 6}) {
        HWND field = Label(id);
        for (const auto& c : cases) {
            SCOPED_TRACE(testing::Message() << id << " " << c.verdict);
            SetWindowTextA(field, c.verdict);
            EXPECT_EQ(ColoursOf(field), m_quiz.*c.brush);
            EXPECT_EQ(GetBkColor(m_dc), c.colour);
            EXPECT_EQ(GetTextColor(m_dc), UNTOUCHED);
        }
        SetWindowTextA(field, VERDICT_UNKNOWN);
        EXPECT_EQ(ColoursOf(field), nullptr);
        EXPECT_EQ(GetBkColor(m_dc), UNTOUCHED);
    }
}

TEST_F(BoardColoursTest, NumberLabelsAndCaptionsReadOnTheQuizColour)
{
    const struct {
        uint8_t red;
        uint8_t green;
        uint8_t blue;
        COLORREF text;
    } cases[] = {
        {10, 20, 30, RGB(255, 255, 255)}, {59, 59, 255, RGB(255, 255, 255)}, {50, 200, 0, RGB(0, 0, 0)},
        {50, 200, 255, RGB(0, 0, 0)},     {60, 10, 0, RGB(0, 0, 0)},         {53, 203, 163, RGB(0, 0, 0)},
    };
    for (int id : {IDC_NUMBER_LABEL, IDC_ANSWER_CAPTION}) {
        HWND label = Label(id);
        for (const auto& c : cases) {
            SCOPED_TRACE(testing::Message()
                         << id << " colour " << int(c.red) << "," << int(c.green) << "," << int(c.blue));
            m_quiz.SetBackgroundColour(c.red, c.green, c.blue);
            EXPECT_EQ(ColoursOf(label), m_quiz.backgroundBrush);
            EXPECT_EQ(GetBkMode(m_dc), TRANSPARENT);
            EXPECT_EQ(GetTextColor(m_dc), c.text);
        }
    }
}

TEST_F(BoardColoursTest, QuestionTextRevealLabelsAndOthers)
{
    m_quiz.SetBackgroundColour(90, 95, 150);
    HWND question = Label(IDC_QUESTION_TEXT);
    EXPECT_EQ(ColoursOf(question), m_quiz.questionTextBrush);
    EXPECT_EQ(GetBkColor(m_dc), 0x00C0FFFFu);
    EXPECT_EQ(GetTextColor(m_dc), UNTOUCHED);

    for (int id : {IDC_REVEAL_BASE + 1, IDC_REVEAL_BASE + 6}) {
        HWND reveal = Label(id);
        EXPECT_EQ(ColoursOf(reveal), m_quiz.backgroundBrush) << id;
        EXPECT_EQ(GetBkColor(m_dc), m_quiz.backgroundColor) << id;
        EXPECT_EQ(GetTextColor(m_dc), UNTOUCHED) << id;
    }

    // Past the quiz's boxes, pictures and media frames: the dialog's defaults.
    for (int id : {IDC_VERDICT_BASE, IDC_VERDICT_BASE + 7, IDC_REVEAL_BASE + 7, IDC_PICTURE_BASE + 1, 7}) {
        HWND other = Label(id, VERDICT_RIGHT);
        EXPECT_EQ(ColoursOf(other), nullptr) << id;
        EXPECT_EQ(GetBkColor(m_dc), UNTOUCHED) << id;
        EXPECT_EQ(GetBkMode(m_dc), OPAQUE) << id;
    }
}

} // namespace
