// The question board under Wine as a player meets it: built as the layout plans it, saved answers
// restored and judged, the answer boxes' keys, the colours of its labels, and scrolling.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "app/main_window_win.h"
#include "board/question_board_win.h"
#include "board/scroll_math.h"
#include "resource.h"
#include "win_test_support.h"

namespace {

std::vector<TestQuestion> Questions(int count)
{
    const TestQuestion cycle[] = {{"Paris", "P", "Capitale ?", "vu"}, {"Lyon", "L", "", ""}, {"Rome", "R", "?", ""}};
    std::vector<TestQuestion> questions;
    for (int i = 0; i < count; ++i)
        questions.push_back(cycle[i % 3]);
    return questions;
}

TEST(QuestionBoard, EveryLayoutIsBuiltAsPlannedWithItsSavedAnswersJudgedAndNoBitmapLeft)
{
    // The program's pictures 401 to 408 make lines of several heights, with missing pictures and one
    // past the last of seven questions that still counts for its line. Each saved answer fills the
    // next box and is judged at once; "box verdict|" per box.
    const struct {
        int mediaKind, answersPerQuestion, revealMode, questionCount, records;
        const char *file, *boxes, *score;
    } cases[] = {{MEDIA_TEXT, 1, REVEAL_NOTHING, 3, 3, "  paris\r\nfoo\r\n", "Paris BRAVO|foo FAUX| ?|", " 1 / 3"},
                 // A text row has one box whatever the answer count: one line each.
                 {MEDIA_TEXT, 2, REVEAL_NOTHING, 3, 3, "Paris\r\nLyon\r\nRome\r\n",
                  "Paris BRAVO|Lyon BRAVO|Rome BRAVO|", " 3 / 3"},
                 // Without question records there is nothing to judge against.
                 {MEDIA_TEXT, 1, REVEAL_NOTHING, 2, 0, "Paris\r\n", "Paris ?| ?|", " 0 / 2"},
                 {MEDIA_PICTURE, 1, REVEAL_PICTURE, 7, 7, "", " ?| ?| ?| ?| ?| ?| ?|", " 0 / 7"},
                 {MEDIA_PICTURE, 2, REVEAL_TEXT, 7, 7, "Paris\r\nP\r\nLyon\r\nL\r\n",
                  "Paris BRAVO|P BRAVO|Lyon BRAVO|L BRAVO| ?| ?| ?| ?| ?| ?| ?| ?| ?| ?|", " 2 / 7"},
                 // Three answers: no box, but the file is read all the same.
                 {MEDIA_PICTURE, 3, REVEAL_NOTHING, 2, 2, "a\r\nb\r\nc\r\n", "", " 0 / 2"},
                 {MEDIA_PICTURE, 2, REVEAL_TEXT_AND_PICTURE, 0, 0, "Paris\r\n", "", " 0 / 0"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "kind " << c.mediaKind << ", answers " << c.answersPerQuestion);
        ScopedTempDirectory folder;
        WriteFileBytes(OwnAnswersFile(), c.file);
        auto quiz = MakeQuiz(c.mediaKind, c.answersPerQuestion, c.revealMode, Questions(c.records));
        quiz->questionCount = c.questionCount;
        std::strcpy(quiz->answerLabel1, "Pr\xE9nom - Nom");
        std::strcpy(quiz->answerLabel2, "Manga / Anime");
        const DWORD bitmaps = GdiObjectCount(OBJ_BITMAP);
        {
            TestPlayer player(std::move(quiz));
            ExpectBoardFollowsPlan(player.board, *g_quiz);
            std::string boxes;
            for (int k = 1; player.Item(IDC_ANSWER_BASE + k); ++k)
                boxes += player.Text(IDC_ANSWER_BASE + k) + " " + player.Text(IDC_VERDICT_BASE + k) + "|";
            EXPECT_EQ(boxes, c.boxes);
            EXPECT_EQ(player.HeaderText(IDC_SCORE), c.score);
            EXPECT_TRUE(DeleteFileA(OwnAnswersFile().c_str())) << "the build keeps the answers file open";
        }
        // What the board showed went with it; what it only measured, at once.
        EXPECT_EQ(GdiObjectCount(OBJ_BITMAP), bitmaps);
    }
    // The sample quiz's questions 2 to 7 share one record.
    ScopedTempDirectory folder;
    auto sample = std::make_unique<QuizData>();
    sample->LoadSampleQuiz();
    TestPlayer player(std::move(sample));
    player.Type(IDC_ANSWER_BASE + 13, "test");
    EXPECT_EQ(player.Text(IDC_VERDICT_BASE + 13), "BRAVO");
}

TEST(QuestionBoard, AnswerBoxesJudgeOnEnterAndOnLeavingAndTryEverywhereOnF1)
{
    ScopedTempDirectory folder;
    auto quiz = MakeQuiz(
        MEDIA_TEXT, 1, REVEAL_NOTHING,
        {{"Paris", "", "Capitale ?", ""}, {"Lyon", "", "", ""}, {"Grand Canal", "", "", ""}, {"Lyon", "", "", ""}});
    for (int i = 0; i < 3; ++i)
        std::strcpy(quiz->codes[i], ("CODE" + std::to_string(i + 1)).c_str());
    TestPlayer player(std::move(quiz));
    // What the player sees of a box: its text, its verdict, the score and code, the verdict's
    // background colour (or "-" for no brush of the program's).
    auto seen = [&](int box) {
        const auto [brush, mode, background, text] = PaintOf(QuestionBoardProc, player.Item(box + 1000));
        char colour[16];
        wsprintfA(colour, brush && mode == OPAQUE && text == UNTOUCHED ? " %06x" : " -", background);
        return player.Text(box) + " " + player.Text(box + 1000) + player.HeaderText(IDC_SCORE) + " " +
               player.HeaderText(IDC_CODE) + colour;
    };
    const struct {
        int box;
        const char* typed;
        UINT message; // how Enter arrives: released, only pressed, or released with Alt held
        const char* seen;
    } steps[] = {{4001, "  paris", WM_KEYUP, "Paris BRAVO 1 / 4 CODE1 00ff00"},
                 {4002, "LYON", WM_KEYUP, "Lyon BRAVO 2 / 4 CODE2 00ff00"},
                 // A solved box is not locked: a wrong edit takes its question back out of the score.
                 {4002, "Lyonnais", WM_KEYUP, "Lyonnais Trop long 1 / 4 CODE1 26cbff"},
                 {4001, "Prais", WM_KEYUP, "Prais Anagramme 0 / 4        0064ff"},
                 {4003, "nd Canal", WM_KEYUP, "nd Canal Trop court 0 / 4        26cbff"},
                 {4002, "Marseille", WM_KEYUP, "Marseille FAUX 0 / 4        0000ff"},
                 {4001, "Pari", WM_KEYUP, "Pari Quasiment 0 / 4        26cbff"},
                 {4001, "Paris", WM_KEYDOWN, "Paris Quasiment 0 / 4        26cbff"},
                 {4001, "   ", WM_KEYUP, "    ? 0 / 4        -"},
                 {4001, "paris", WM_SYSKEYUP, "Paris BRAVO 1 / 4 CODE1 00ff00"}};
    for (const auto& step : steps) {
        SetWindowText1252(player.Item(step.box), step.typed);
        // The release judges, and tells the box it was handled.
        EXPECT_TRUE(player.Key(step.box, VK_RETURN, step.message) == 1 || step.message == WM_KEYDOWN);
        EXPECT_EQ(seen(step.box), step.seen);
    }
    // Enter and Tab never reach the text.
    EXPECT_EQ(SendMessageW(player.Item(4001), WM_CHAR, '\r', 1) + SendMessageW(player.Item(4001), WM_CHAR, '\t', 1), 0);
    EXPECT_EQ(player.Text(4001), "Paris");
    // The question text is on pale yellow, the numbers on the quiz colour; the boxes are the system's.
    EXPECT_EQ(PaintOf(QuestionBoardProc, player.Item(IDC_QUESTION_TEXT)),
              Paint(INT_PTR(g_quiz->questionTextBrush), OPAQUE, RGB(255, 255, 192), UNTOUCHED));
    EXPECT_EQ(PaintOf(QuestionBoardProc, player.Item(IDC_NUMBER_LABEL)),
              Paint(INT_PTR(g_quiz->backgroundBrush), TRANSPARENT, UNTOUCHED, RGB(0, 0, 0)));
    EXPECT_EQ(PaintOf(QuestionBoardProc, player.Item(4001)), Paint(0, OPAQUE, UNTOUCHED, UNTOUCHED));

    // Gaining the focus selects the whole text; losing it judges, an emptied box too.
    SetWindowText1252(player.Item(4004), "lyon");
    SetFocus(player.Item(4004));
    DWORD start = 1, end = 0;
    SendMessageW(player.Item(4004), EM_GETSEL, WPARAM(&start), LPARAM(&end));
    EXPECT_TRUE(start == 0 && end == 4);
    SetFocus(player.Item(4001));
    EXPECT_EQ(player.Text(4004) + " " + player.Text(5004), "Lyon BRAVO");
    SetFocus(player.Item(4004));
    SetWindowText1252(player.Item(4004), "");
    SetFocus(player.Item(4001));
    EXPECT_EQ(player.Text(5004), "?");

    // F1 tries the box's text on every unsolved box, solved ones aside, and gives the focus back.
    SetFocus(player.Item(4002));
    SetWindowText1252(player.Item(4002), "lyon");
    player.Key(4002, VK_F1);
    EXPECT_EQ(GetFocus(), player.Item(4002));
    std::string boxes;
    for (int k = 1; k <= 4; ++k)
        boxes += player.Text(4000 + k) + " " + player.Text(5000 + k) + ", ";
    EXPECT_EQ(boxes, "Paris BRAVO, Lyon BRAVO, lyon FAUX, Lyon BRAVO, ");
    EXPECT_EQ(player.HeaderText(IDC_SCORE) + player.HeaderText(IDC_CODE), " 3 / 4CODE3");
}

TEST(QuestionBoard, ScrollsWithTheBarsTheKeysTheWheelAndTheWindowSize)
{
    ScopedTempDirectory folder;
    TestPlayer player(MakeQuiz(MEDIA_TEXT, 1, REVEAL_NOTHING, Questions(22)));
    HWND board = player.board;
    const RECT origin = ChildRect(GetWindow(board, GW_CHILD));
    RECT client;
    auto position = [&](int bar) { return GetScrollPos(board, bar); };
    // The content sits where the bars say, and each bar spans the content for the client it has.
    auto expectAligned = [&] {
        const RECT first = ChildRect(GetWindow(board, GW_CHILD));
        EXPECT_TRUE(first.left == origin.left - position(SB_HORZ) && first.top == origin.top - position(SB_VERT));
        GetClientRect(board, &client);
        for (int bar : {SB_HORZ, SB_VERT}) {
            SCROLLINFO info = {};
            info.cbSize = sizeof(info);
            info.fMask = SIF_ALL;
            GetScrollInfo(board, bar, &info);
            const ScrollRange range = bar == SB_HORZ ? ComputeScrollRange(g_contentWidth, client.right)
                                                     : ComputeScrollRange(g_contentHeight, client.bottom);
            EXPECT_TRUE(info.nMax == range.maximum && int(info.nPage) == range.page) << bar;
        }
    };
    auto scroll = [&](UINT message, WORD request, int expected) {
        SendMessageW(board, message, request, 0);
        EXPECT_EQ(position(message == WM_VSCROLL ? SB_VERT : SB_HORZ), expected) << "request " << request;
        expectAligned();
    };
    expectAligned();
    const int lastV = g_contentHeight - client.bottom, lastH = g_contentWidth - client.right;
    const int page = client.bottom - 1;
    ASSERT_LT(page, lastV);
    scroll(WM_HSCROLL, SB_LINERIGHT, 1);
    scroll(WM_VSCROLL, SB_PAGEDOWN, page);
    scroll(WM_VSCROLL, SB_TOP, 0);
    scroll(WM_VSCROLL, SB_LINEDOWN, 50);
    scroll(WM_VSCROLL, SB_BOTTOM, lastV);
    scroll(WM_HSCROLL, SB_RIGHT, lastH);
    scroll(WM_HSCROLL, SB_LEFT, 0);
    scroll(WM_VSCROLL, SB_TOP, 0);

    // The page keys of an answer box scroll the board a page, and judge nothing.
    SetWindowText1252(player.Item(4001), "Paris");
    const std::pair<WPARAM, int> keys[] = {{VK_NEXT, page}, {VK_PRIOR, 0}, {VK_DOWN, page}, {VK_UP, 0}};
    for (const auto& [key, expected] : keys) {
        player.Key(4001, key);
        EXPECT_EQ(position(SB_VERT), expected) << "key " << key;
    }
    EXPECT_EQ(player.Text(5001), "?");

    // Wheel turns as touchpads, fine, fast and notched wheels send them, each from the top left, and
    // where they take the board. Vertically the board and the main window each step it a line per
    // whole notch (over the header only the main window does); sideways 50 pixels a notch.
    const struct {
        UINT message;
        WORD keys;
        std::vector<short> deltas;
        int lines, pixels;
    } turns[] = {{WM_MOUSEWHEEL, 0, {-40, -40, -40}, 1, 0},
                 {WM_MOUSEWHEEL, 0, {-30, -30, -30, -30}, 1, 0},
                 {WM_MOUSEWHEEL, 0, {-240}, 2, 0},
                 {WM_MOUSEWHEEL, 0, {-60, 60}, 0, 0},
                 {WM_MOUSEWHEEL, 0, {-120, -120, 120}, 1, 0},
                 {WM_MOUSEHWHEEL, 0, {40, 40, 40, 60}, 0, 50},
                 {WM_MOUSEHWHEEL, 0, {240, -120}, 0, 50},
                 {WM_MOUSEWHEEL, MK_SHIFT, {-60, -60}, 0, 50}};
    for (HWND target : {board, player.Item(4001), player.header}) {
        for (const auto& turn : turns) {
            SCOPED_TRACE(testing::Message() << GetDlgCtrlID(target) << ": " << turn.deltas[0] << "...");
            scroll(WM_VSCROLL, SB_TOP, 0);
            scroll(WM_HSCROLL, SB_LEFT, 0);
            for (short delta : turn.deltas)
                SendMessageW(target, turn.message, MAKEWPARAM(turn.keys, WORD(delta)), 0);
            PumpMessages();
            EXPECT_EQ(position(SB_VERT), turn.lines * (target == player.header ? 50 : 100));
            EXPECT_EQ(position(SB_HORZ), turn.pixels);
            expectAligned();
        }
    }

    // Enlarged at the end of the content, the board shows no gap below the last row; shrunk, it keeps
    // its place; larger than the content, nothing scrolls until it is made small again.
    auto resize = [&](int width, int height) {
        SetWindowPos(player.main, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER);
        expectAligned();
    };
    scroll(WM_VSCROLL, SB_BOTTOM, lastV);
    resize(MAIN_WINDOW_WIDTH, MAIN_WINDOW_HEIGHT + 100);
    const int enlarged = g_contentHeight - client.bottom;
    EXPECT_EQ(position(SB_VERT), enlarged);
    resize(MAIN_WINDOW_WIDTH, MAIN_WINDOW_HEIGHT);
    EXPECT_EQ(position(SB_VERT), enlarged);
    scroll(WM_HSCROLL, SB_RIGHT, lastH);
    resize(1000, 740);
    ASSERT_TRUE(client.bottom > g_contentHeight && client.right > g_contentWidth);
    for (WORD request : {SB_LINEDOWN, SB_PAGEDOWN, SB_BOTTOM}) {
        scroll(WM_VSCROLL, request, 0);
        scroll(WM_HSCROLL, request, 0);
    }
    resize(MAIN_WINDOW_WIDTH, MAIN_WINDOW_HEIGHT);
    scroll(WM_VSCROLL, SB_LINEDOWN, 50);
}

} // namespace
