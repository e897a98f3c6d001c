// The question board's build under Wine: controls, rectangles, pictures, restored answers.
#include "tests/board/board_fixture_win.h"

#include <cstring>
#include <string>
#include <vector>

namespace {

using QuestionBoardTest = BoardFixture;

// The answers file of this very program: its name with "txt" for its last three characters.
const char ANSWERS_FILE[] = "question_board_win_test.txt";

struct ExpectedChild {
    const char* className;
    int id;
    int x, y, width, height;
    const char* text;
};

void ExpectChildren(const std::vector<BoardChild>& children, const std::vector<ExpectedChild>& expected)
{
    ASSERT_EQ(children.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        const std::string what = "child " + std::to_string(i) + " (id " + std::to_string(expected[i].id) + ")";
        EXPECT_STREQ(children[i].className.c_str(), expected[i].className) << what;
        EXPECT_EQ(children[i].id, expected[i].id) << what;
        ExpectRect(children[i].rect, expected[i].x, expected[i].y, expected[i].width, expected[i].height, what);
        if (expected[i].text) {
            EXPECT_EQ(children[i].text, expected[i].text) << what;
        }
    }
}

LONG StyleOf(HWND window)
{
    return static_cast<LONG>(GetWindowLongPtrA(window, GWL_STYLE));
}

// Wine drops WS_BORDER from an edit box's style as read back; everything else must match.
void ExpectStyle(HWND window, DWORD style, const char* what)
{
    EXPECT_EQ(static_cast<DWORD>(StyleOf(window)) & ~WS_BORDER, style & ~WS_BORDER) << what;
}

void AddPictureQuestions(QuizData& quiz, int count)
{
    for (int i = 1; i <= count; ++i) {
        const std::string n = std::to_string(i);
        quiz.AddQuestion(("un" + n).c_str(), ("deux" + n).c_str(), "");
    }
}

TEST_F(QuestionBoardTest, TextQuizRowsShowEachQuestion)
{
    Quiz().mediaKind = MEDIA_TEXT;
    Quiz().questionCount = 3;
    Quiz().AddQuestion("Paris", "", "Capitale de la France ?");
    Quiz().AddQuestion("100", "", "100 % de quoi ?");
    Quiz().AddQuestion("Rome", "", "Capitale de l'Italie ?");
    Build();

    ExpectChildren(Children(), {
                                   {"Static", IDC_NUMBER_LABEL, 26, 7, 19, 17, "1."},
                                   {"Static", IDC_QUESTION_TEXT, 50, 5, 550, 20, "Capitale de la France ?"},
                                   {"Edit", 4001, 610, 5, 100, 20, ""},
                                   {"Static", 5001, 720, 5, 100, 20, "?"},
                                   {"Static", IDC_NUMBER_LABEL, 26, 32, 19, 17, "2."},
                                   {"Static", IDC_QUESTION_TEXT, 50, 30, 550, 20, "100 % de quoi ?"},
                                   {"Edit", 4002, 610, 30, 100, 20, ""},
                                   {"Static", 5002, 720, 30, 100, 20, "?"},
                                   {"Static", IDC_NUMBER_LABEL, 26, 57, 19, 17, "3."},
                                   {"Static", IDC_QUESTION_TEXT, 50, 55, 550, 20, "Capitale de l'Italie ?"},
                                   {"Edit", 4003, 610, 55, 100, 20, ""},
                                   {"Static", 5003, 720, 55, 100, 20, "?"},
                               });
    EXPECT_EQ(g_contentWidth, 850);
    EXPECT_EQ(g_contentHeight, 80);

    const std::vector<BoardChild> children = Children();
    ExpectStyle(children[0].window, 0x50000002, "number label");
    ExpectStyle(children[1].window, 0x50800201, "question text");
    ExpectStyle(children[2].window, 0x50810081, "answer box");
    ExpectStyle(children[3].window, 0x50800201, "verdict field");
    EXPECT_EQ(FontOf(children[0].window), nullptr);
    EXPECT_EQ(FontOf(children[1].window), GetStockObject(DEFAULT_GUI_FONT));
    EXPECT_EQ(FontOf(children[2].window), Quiz().answerFont);
    EXPECT_EQ(FontOf(children[3].window), nullptr);
    EXPECT_NE(Quiz().answerFont, nullptr);
    EXPECT_EQ(Score(), " 0 / 3");
}

TEST_F(QuestionBoardTest, TextQuizWithTwoAnswersHasOneBoxPerQuestion)
{
    Quiz().mediaKind = MEDIA_TEXT;
    Quiz().questionCount = 2;
    Quiz().answersPerQuestion = 2;
    Quiz().AddQuestion("A", "B", "q1");
    Quiz().AddQuestion("C", "D", "q2");
    Build();

    EXPECT_NE(Item(4002), nullptr);
    EXPECT_EQ(Item(4003), nullptr);
    EXPECT_EQ(ChildRect(Item(4002)).top, 30);
    EXPECT_EQ(FontOf(Item(5002)), nullptr);
    EXPECT_EQ(g_contentWidth, 910);
    EXPECT_EQ(g_contentHeight, 55);
}

TEST_F(QuestionBoardTest, QuestionsWithoutNodesShowEmptyTexts)
{
    // A record whose content failed to load: two questions announced, none stored.
    Quiz().mediaKind = MEDIA_TEXT;
    WriteFileBytes(ANSWERS_FILE, "x\r\n");
    Build();

    const std::vector<BoardChild> texts = ChildrenWithId(IDC_QUESTION_TEXT);
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0].text, "");
    EXPECT_EQ(Text(4001), "x");
    EXPECT_EQ(Text(5001), "?");
    EXPECT_EQ(Score(), " 0 / 2");
}

TEST_F(QuestionBoardTest, PicturesAreCentredInLinesOfThree)
{
    Quiz().mediaKind = MEDIA_PICTURE;
    Quiz().questionCount = 7;
    AddPictureQuestions(Quiz(), 7);
    Build();

    // Line 1: 260 x 195, 150 x 260 and 260 x 130, so H = 260. Line 2: only question 5 has a picture
    // (260 x 130). Line 3: question 7 (260 x 195) and picture 408, which no question shows, 260 high.
    struct Case {
        int question;
        int x, y, width, height;
        bool picture;
    } cases[] = {
        {1, 46, 37, 260, 195, true},   {2, 391, 5, 150, 260, true},   {3, 626, 70, 260, 130, true},
        {4, 46, 335, 260, 130, false}, {5, 336, 335, 260, 130, true}, {6, 626, 335, 260, 130, false},
        {7, 46, 567, 260, 195, true},
    };
    for (const Case& c : cases) {
        const std::string what = "picture " + std::to_string(c.question);
        HWND picture = Item(IDC_PICTURE_BASE + c.question);
        ASSERT_NE(picture, nullptr) << what;
        ExpectRect(ChildRect(picture), c.x, c.y, c.width, c.height, what);
        ExpectStyle(picture, 0x5080020E, what.c_str());
        const SIZE size = BitmapSize(PictureOf(picture));
        if (c.picture) {
            EXPECT_EQ(size.cx, c.width) << what;
            EXPECT_EQ(size.cy, c.height) << what;
        } else {
            EXPECT_EQ(PictureOf(picture), nullptr) << what;
        }
    }
    // Answer areas at line top + H + 10.
    ExpectRect(ChildRect(Item(4001)), 46, 275, 260, 20, "box 1");
    ExpectRect(ChildRect(Item(5001)), 46, 294, 260, 20, "verdict 1");
    ExpectRect(ChildRect(Item(4005)), 336, 475, 260, 20, "box 5");
    ExpectRect(ChildRect(Item(4007)), 46, 805, 260, 20, "box 7");
    EXPECT_EQ(FontOf(Item(5001)), nullptr);
    EXPECT_EQ(Item(IDC_REVEAL_BASE + 1), nullptr);
    EXPECT_TRUE(ChildrenWithId(IDC_ANSWER_CAPTION).empty());
    const std::vector<BoardChild> numbers = ChildrenWithId(IDC_NUMBER_LABEL);
    ASSERT_EQ(numbers.size(), 7u);
    ExpectRect(numbers[6].rect, 18, 807, 27, 17, "number 7");
    EXPECT_EQ(numbers[6].text, "7.");
    EXPECT_EQ(g_contentWidth, 910);
    EXPECT_EQ(g_contentHeight, 865);
}

TEST_F(QuestionBoardTest, TwoAnswersAddCaptionsAndRevealLabels)
{
    Quiz().mediaKind = MEDIA_PICTURE;
    Quiz().questionCount = 7;
    Quiz().answersPerQuestion = 2;
    Quiz().revealMode = REVEAL_TEXT;
    std::strcpy(Quiz().answerLabel1, "Pr\xE9nom - Nom");
    std::strcpy(Quiz().answerLabel2, "Manga / Anime");
    AddPictureQuestions(Quiz(), 7);
    Build();

    const std::vector<BoardChild> captions = ChildrenWithId(IDC_ANSWER_CAPTION);
    ASSERT_EQ(captions.size(), 6u); // two per board line
    const int answerTops[] = {275, 555, 965};
    for (int line = 0; line < 3; ++line) {
        ExpectRect(captions[2 * line].rect, 3, answerTops[line] + 2, 95, 20, "caption 1");
        ExpectRect(captions[2 * line + 1].rect, 3, answerTops[line] + 22, 95, 20, "caption 2");
        EXPECT_EQ(captions[2 * line].text, "Pr\xE9nom - Nom");
        EXPECT_EQ(captions[2 * line + 1].text, "Manga / Anime");
        EXPECT_EQ(FontOf(captions[2 * line].window), GetStockObject(DEFAULT_GUI_FONT));
    }
    // Question 5, second column of the second line: boxes 9 and 10.
    ExpectRect(ChildRect(Item(IDC_PICTURE_BASE + 5)), 396, 415, 260, 130, "picture 5");
    ExpectRect(ChildRect(Item(4009)), 396, 555, 201, 20, "box 9");
    ExpectRect(ChildRect(Item(5009)), 596, 555, 60, 20, "verdict 9");
    ExpectRect(ChildRect(Item(4010)), 396, 574, 201, 20, "box 10");
    ExpectRect(ChildRect(Item(5010)), 596, 574, 60, 20, "verdict 10");
    ExpectRect(ChildRect(Item(IDC_REVEAL_BASE + 5)), 396, 601, 260, 65, "reveal 5");
    ExpectStyle(Item(IDC_REVEAL_BASE + 5), 0x50000001, "reveal label");
    EXPECT_EQ(FontOf(Item(5009)), GetStockObject(DEFAULT_GUI_FONT));
    EXPECT_EQ(FontOf(Item(IDC_REVEAL_BASE + 5)), GetStockObject(DEFAULT_GUI_FONT));
    EXPECT_EQ(Item(4015), nullptr);
    EXPECT_EQ(g_contentWidth, 970);
    EXPECT_EQ(g_contentHeight, 1105);
}

TEST_F(QuestionBoardTest, PictureQuizWithThreeAnswersCreatesNoBoxes)
{
    Quiz().mediaKind = MEDIA_PICTURE;
    Quiz().questionCount = 2;
    Quiz().answersPerQuestion = 3;
    AddPictureQuestions(Quiz(), 2);
    Build();

    for (const BoardChild& child : Children())
        EXPECT_STRNE(child.className.c_str(), "Edit") << child.id;
    EXPECT_EQ(Item(5001), nullptr);
    EXPECT_NE(Item(IDC_PICTURE_BASE + 2), nullptr);
}

TEST_F(QuestionBoardTest, EmptyQuizHasOnlyTheMargin)
{
    Quiz().mediaKind = MEDIA_PICTURE;
    Quiz().questionCount = 0;
    Quiz().answersPerQuestion = 2;
    Build();
    EXPECT_TRUE(Children().empty());
    EXPECT_EQ(g_contentWidth, 80);
    EXPECT_EQ(g_contentHeight, 0);
}

TEST_F(QuestionBoardTest, RestoredAnswersAreReadLineByLineAndJudged)
{
    struct Case {
        const char* name;
        int mediaKind;
        int answersPerQuestion;
        std::string file;
        std::vector<std::string> boxes;    // texts of boxes 4001.. after the build
        std::vector<std::string> verdicts; // texts of fields 5001..
        const char* score;
    } cases[] = {
        {"fewer lines than boxes",
         MEDIA_TEXT,
         1,
         "  paris\r\nfoo\r\n",
         {"Paris", "foo", ""},
         {"BRAVO", "FAUX", "?"},
         " 1 / 3"},
        {"LF-only line ends run on to the next CR",
         MEDIA_TEXT,
         1,
         "Paris\nLyon\r\nRome\r\n",
         {"Paris\nLyon", "Rome", ""},
         {"Trop long", "FAUX", "?"},
         " 0 / 3"},
        {"an extra line is ignored",
         MEDIA_TEXT,
         1,
         "Paris\r\nLyon\r\nRome\r\nNice\r\n",
         {"Paris", "Lyon", "Rome"},
         {"BRAVO", "BRAVO", "BRAVO"},
         " 3 / 3"},
        {"bytes between CR and LF are dropped",
         MEDIA_TEXT,
         1,
         "Paris\rxx\nlyon",
         {"Paris", "Lyon", ""},
         {"BRAVO", "BRAVO", "?"},
         " 2 / 3"},
        {"two answers per question, two lines per question",
         MEDIA_PICTURE,
         2,
         "Paris\r\nP\r\nLyon\r\nL\r\n",
         {"Paris", "P", "Lyon", "L", "", ""},
         {"BRAVO", "BRAVO", "BRAVO", "BRAVO", "?", "?"},
         " 2 / 3"},
        {"a text quiz with two answers keeps one line per box",
         MEDIA_TEXT,
         2,
         "Paris\r\nLyon\r\nRome\r\n",
         {"Paris", "Lyon", "Rome"},
         {"BRAVO", "BRAVO", "BRAVO"},
         " 3 / 3"},
        {"an empty file", MEDIA_TEXT, 1, "", {"", "", ""}, {"?", "?", "?"}, " 0 / 3"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScopedTempDirectory directory;
        WriteFileBytes(ANSWERS_FILE, c.file);
        SetUp();
        Quiz().mediaKind = c.mediaKind;
        Quiz().questionCount = 3;
        Quiz().answersPerQuestion = c.answersPerQuestion;
        Quiz().AddQuestion("Paris", "P", "");
        Quiz().AddQuestion("Lyon", "L", "");
        Quiz().AddQuestion("Rome", "R", "");
        Build();
        for (size_t i = 0; i < c.boxes.size(); ++i) {
            EXPECT_EQ(Text(4001 + static_cast<int>(i)), c.boxes[i]) << "box " << i + 1;
            EXPECT_EQ(Text(5001 + static_cast<int>(i)), c.verdicts[i]) << "verdict " << i + 1;
        }
        EXPECT_EQ(Item(4001 + static_cast<int>(c.boxes.size())), nullptr);
        EXPECT_EQ(Score(), c.score);
        TearDown();
    }
}

TEST_F(QuestionBoardTest, SkippedAnswersStillTakeTheirLines)
{
    // Three answers per picture question: no boxes, but three lines per question are read, so the
    // file is neither misread nor left open.
    WriteFileBytes(ANSWERS_FILE, "a\r\nb\r\nc\r\n");
    Quiz().mediaKind = MEDIA_PICTURE;
    Quiz().questionCount = 1;
    Quiz().answersPerQuestion = 3;
    AddPictureQuestions(Quiz(), 1);
    Build();
    // The build released the file: it can be replaced at once.
    WriteFileBytes(ANSWERS_FILE, "z\r\n");
    EXPECT_EQ(ReadFileBytes(ANSWERS_FILE), "z\r\n");
}

TEST_F(QuestionBoardTest, TheBoardKeepsNoBitmapItDoesNotShow)
{
    // Line 3 of seven questions measures picture 408, which no cell shows: it must be released, and
    // the bitmaps that the pictures show go with the board.
    Quiz().mediaKind = MEDIA_PICTURE;
    Quiz().questionCount = 7;
    AddPictureQuestions(Quiz(), 7);
    CreateHost();
    const DWORD before = GdiObjectCount();
    if (before == 0)
        GTEST_SKIP() << "this Wine reports no GDI object counts";
    CreateBoard();
    const DWORD built = GdiObjectCount();
    DestroyWindow(Board());
    const DWORD after = GdiObjectCount();
    // Five pictures shown and the answer font, then only the font, which the record owns.
    EXPECT_EQ(built - before, 6u);
    EXPECT_EQ(after - before, 1u);
}

} // namespace
