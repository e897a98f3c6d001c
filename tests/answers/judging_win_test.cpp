// Judging real answer boxes under Wine: verdicts, rewrites, reveals, score, code and the boxes' keys.
#include "tests/board/board_fixture_win.h"

#include <cstring>
#include <string>
#include <vector>

#include "board/judging_win.h"

namespace {

class JudgingTest : public BoardFixture {
protected:
    // A text quiz: Paris, Lyon, Grand Canal, and two codes.
    void BuildTextQuiz()
    {
        Quiz().mediaKind = MEDIA_TEXT;
        Quiz().questionCount = 3;
        Quiz().AddQuestion("Paris", "", "Capitale ?");
        Quiz().AddQuestion("Lyon", "", "Ville des lumi\xE8res ?");
        Quiz().AddQuestion("Grand Canal", "", "Venise ?");
        std::strcpy(Quiz().codes[0], "CODE1");
        std::strcpy(Quiz().codes[1], "CODE2");
        Build();
    }

    // One picture question with two answers.
    void BuildTwoAnswerQuiz(int secondAnswerOptional)
    {
        Quiz().mediaKind = MEDIA_PICTURE;
        Quiz().questionCount = 1;
        Quiz().answersPerQuestion = 2;
        Quiz().secondAnswerOptional = secondAnswerOptional;
        Quiz().revealMode = REVEAL_TEXT;
        Quiz().AddQuestion("Paris", "France", "");
        std::strcpy(Quiz().QuestionAt(0)->revealText, "vu");
        Build();
    }

    LRESULT KeyUp(int boxId, WPARAM key, UINT message = WM_KEYUP)
    {
        return SendMessageA(Item(boxId), message, key, 0xC0000001);
    }
};

TEST_F(JudgingTest, EnterGradesTheBoxAndRewritesARightAnswer)
{
    struct Case {
        int box;
        const char* typed;
        const char* verdict;
        const char* boxAfter;
        const char* score;
        const char* code;
    } cases[] = {
        {4001, "  paris", "BRAVO", "Paris", " 1 / 3", "CODE1"},
        {4002, "LYON", "BRAVO", "Lyon", " 1 / 3", "CODE1"},
        {4001, "Prais", "Anagramme", "Prais", " 0 / 3", "      "},
        {4003, "nd Canal", "Trop court", "nd Canal", " 0 / 3", "      "},
        {4001, "   ", "?", "   ", " 0 / 3", "      "},
        {4002, "Marseille", "FAUX", "Marseille", " 0 / 3", "      "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        SetUp();
        BuildTextQuiz();
        TypeAndEnter(c.box, c.typed);
        EXPECT_EQ(Text(c.box + 1000), c.verdict);
        EXPECT_EQ(Text(c.box), c.boxAfter);
        EXPECT_EQ(Score(), c.score);
        EXPECT_EQ(Code(), c.code);
        TearDown();
    }
}

TEST_F(JudgingTest, ScoreAndCodeFollowEveryJudging)
{
    BuildTextQuiz();
    TypeAndEnter(4001, "Paris");
    TypeAndEnter(4002, "lyon");
    EXPECT_EQ(Score(), " 2 / 3");
    EXPECT_EQ(Code(), "CODE2");
    // A solved box is not locked: a wrong edit takes the question back out of the score.
    TypeAndEnter(4002, "Lyonnais");
    EXPECT_EQ(Text(5002), "Trop long");
    EXPECT_EQ(Score(), " 1 / 3");
    EXPECT_EQ(Code(), "CODE1");
    TypeAndEnter(4001, "Pari");
    EXPECT_EQ(Text(5001), "Quasiment");
    EXPECT_EQ(Score(), " 0 / 3");
    EXPECT_EQ(Code(), "      ");
}

TEST_F(JudgingTest, RevealTextNeedsTheBoxToHoldTheStoredAnswer)
{
    Quiz().mediaKind = MEDIA_PICTURE;
    Quiz().questionCount = 2;
    Quiz().revealMode = REVEAL_TEXT;
    Quiz().AddQuestion("Paris", "", "");
    Quiz().AddQuestion("Lyon", "", "");
    std::strcpy(Quiz().QuestionAt(0)->revealText, "vu 1");
    std::strcpy(Quiz().QuestionAt(1)->revealText, "vu 2");
    Build();
    // Surrounding spaces grade right but do not match yet; the rewrite makes the next judging reveal.
    TypeAndEnter(4001, "  paris");
    EXPECT_EQ(Text(5001), "BRAVO");
    EXPECT_EQ(Text(IDC_REVEAL_BASE + 1), "");
    KeyUp(4001, VK_RETURN);
    EXPECT_EQ(Text(IDC_REVEAL_BASE + 1), "vu 1");
    // Lower case matches at once.
    TypeAndEnter(4002, "lyon");
    EXPECT_EQ(Text(IDC_REVEAL_BASE + 2), "vu 2");
    // A wrong verdict empties the reveal again.
    TypeAndEnter(4001, "Rome");
    EXPECT_EQ(Text(IDC_REVEAL_BASE + 1), "");
}

TEST_F(JudgingTest, TwoAnswerQuestions)
{
    struct Case {
        int secondAnswerOptional;
        const char* first;
        const char* second;
        const char* score;
        const char* reveal;
    } cases[] = {
        {1, "Paris", "", " 1 / 1", ""},         // counted on the first answer alone...
        {1, "Paris", "France", " 1 / 1", "vu"}, // ...but revealed only when both match
        {1, "Lyon", "France", " 0 / 1", ""},    // a right second answer alone counts nothing
        {0, "Paris", "", " 0 / 1", ""},         {0, "Paris", "france", " 1 / 1", "vu"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.secondAnswerOptional << " " << c.first << "/" << c.second);
        SetUp();
        BuildTwoAnswerQuiz(c.secondAnswerOptional);
        TypeAndEnter(4001, c.first);
        TypeAndEnter(4002, c.second);
        EXPECT_EQ(Score(), c.score);
        EXPECT_EQ(Text(IDC_REVEAL_BASE + 1), c.reveal);
        TearDown();
    }
}

TEST_F(JudgingTest, SolvedQuestionShowsItsAnswerPicture)
{
    Quiz().mediaKind = MEDIA_PICTURE;
    Quiz().questionCount = 2;
    Quiz().revealMode = REVEAL_PICTURE;
    Quiz().AddQuestion("Paris", "", "");
    Quiz().AddQuestion("Lyon", "", "");
    Build();
    HWND picture1 = Item(IDC_PICTURE_BASE + 1);
    HWND picture2 = Item(IDC_PICTURE_BASE + 2);
    const HBITMAP question1 = PictureOf(picture1);
    const HBITMAP question2 = PictureOf(picture2);
    ASSERT_NE(question1, nullptr);

    TypeAndEnter(4001, "Paris");
    const HBITMAP answer1 = PictureOf(picture1);
    EXPECT_NE(answer1, question1);
    EXPECT_EQ(BitmapSize(answer1).cx, 260);
    EXPECT_EQ(BitmapSize(answer1).cy, 130);
    // The control owned the question's picture; it is gone with the replacement.
    EXPECT_EQ(BitmapSize(question1).cx, 0);

    // Question 2 has no answer picture: its own stays.
    TypeAndEnter(4002, "Lyon");
    EXPECT_EQ(PictureOf(picture2), question2);
    EXPECT_EQ(BitmapSize(question2).cy, 195);

    // A wrong answer later leaves the revealed picture in place.
    TypeAndEnter(4001, "Rome");
    EXPECT_EQ(PictureOf(picture1), answer1);
}

TEST_F(JudgingTest, LeavingABoxJudgesIt)
{
    BuildTextQuiz();
    SetFocus(Item(4003));
    SetWindowTextA(Item(4001), "paris");
    SetFocus(Item(4001));
    ASSERT_EQ(GetFocus(), Item(4001));
    // Gaining the focus selects the whole text.
    DWORD start = 1, end = 0;
    SendMessageA(Item(4001), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 0u);
    EXPECT_EQ(end, 5u);
    EXPECT_EQ(Text(5001), "?");
    SetFocus(Item(4002));
    EXPECT_EQ(Text(5001), "BRAVO");
    EXPECT_EQ(Text(4001), "Paris");
    // Leaving an empty box judges it too.
    SetFocus(Item(4003));
    EXPECT_EQ(Text(5002), "?");
}

TEST_F(JudgingTest, OnlyTheReleaseOfEnterJudges)
{
    BuildTextQuiz();
    SetWindowTextA(Item(4001), "Paris");
    SendMessageA(Item(4001), WM_KEYDOWN, VK_RETURN, 1);
    EXPECT_EQ(Text(5001), "?");
    // Enter and Tab never reach the text.
    EXPECT_EQ(SendMessageA(Item(4001), WM_CHAR, '\r', 1), 0);
    EXPECT_EQ(SendMessageA(Item(4001), WM_CHAR, '\t', 1), 0);
    EXPECT_EQ(Text(4001), "Paris");
    EXPECT_EQ(KeyUp(4001, VK_RETURN), 1);
    EXPECT_EQ(Text(5001), "BRAVO");
    // With Alt held the release comes as a system key and judges all the same.
    SetWindowTextA(Item(4002), "Lyon");
    KeyUp(4002, VK_RETURN, WM_SYSKEYUP);
    EXPECT_EQ(Text(5002), "BRAVO");
}

// Scroll requests that reach the board, recorded by a subclass in front of its dialog procedure.
std::vector<WPARAM> g_scrollRequests;
WNDPROC g_boardProc = nullptr;

LRESULT CALLBACK RecordingBoardProc(HWND board, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_VSCROLL)
        g_scrollRequests.push_back(wParam);
    return CallWindowProcA(g_boardProc, board, message, wParam, lParam);
}

TEST_F(JudgingTest, PageKeysAskTheBoardToScrollWithoutJudging)
{
    BuildTextQuiz();
    g_boardProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(Board(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(RecordingBoardProc)));
    SetWindowTextA(Item(4001), "Paris");
    struct Case {
        WPARAM key;
        WPARAM request;
    } cases[] = {{VK_NEXT, SB_PAGEDOWN}, {VK_DOWN, SB_PAGEDOWN}, {VK_PRIOR, SB_PAGEUP}, {VK_UP, SB_PAGEUP}};
    for (const Case& c : cases) {
        g_scrollRequests.clear();
        KeyUp(4001, c.key);
        EXPECT_EQ(g_scrollRequests, std::vector<WPARAM>{c.request}) << "key " << c.key;
    }
    EXPECT_EQ(Text(5001), "?");
    SetWindowLongPtrA(Board(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_boardProc));
}

TEST_F(JudgingTest, F1TriesTheTextOnEveryUnsolvedBox)
{
    Quiz().mediaKind = MEDIA_TEXT;
    Quiz().questionCount = 4;
    Quiz().AddQuestion("A", "", "");
    Quiz().AddQuestion("B", "", "");
    Quiz().AddQuestion("A", "", "");
    Quiz().AddQuestion("C", "", "");
    Build();
    TypeAndEnter(4004, "c");
    ASSERT_EQ(Text(5004), "BRAVO");

    SetFocus(Item(4002));
    SetWindowTextA(Item(4002), "a");
    KeyUp(4002, VK_F1);
    EXPECT_EQ(GetFocus(), Item(4002));
    const char* boxes[] = {"A", "a", "A", "C"};
    const char* verdicts[] = {"BRAVO", "Quasiment", "BRAVO", "BRAVO"};
    for (int k = 1; k <= 4; ++k) {
        EXPECT_EQ(Text(4000 + k), boxes[k - 1]) << "box " << k;
        EXPECT_EQ(Text(5000 + k), verdicts[k - 1]) << "box " << k;
    }
    EXPECT_EQ(Score(), " 3 / 4");
}

TEST_F(JudgingTest, F1WhenEverythingIsSolvedChangesNothing)
{
    BuildTextQuiz();
    TypeAndEnter(4001, "Paris");
    TypeAndEnter(4002, "Lyon");
    TypeAndEnter(4003, "Grand Canal");
    SetFocus(Item(4002));
    SetWindowTextA(Item(4002), "Lyon");
    KeyUp(4002, VK_F1);
    EXPECT_EQ(GetFocus(), Item(4002));
    EXPECT_EQ(Text(4001), "Paris");
    EXPECT_EQ(Text(4003), "Grand Canal");
    EXPECT_EQ(Score(), " 3 / 3");
}

} // namespace
