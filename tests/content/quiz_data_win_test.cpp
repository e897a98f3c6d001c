// The quiz record and its question list.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "content/quiz_colour.h"
#include "content/quiz_data_win.h"
#include "win_test_support.h"

namespace {

COLORREF BrushColour(HBRUSH brush)
{
    LOGBRUSH description = {};
    GetObject(brush, sizeof(description), &description);
    return description.lbColor;
}

} // namespace

TEST(QuizData, StartsWithTheDefaultsAndAnEmptyList)
{
    QuizData quiz;
    EXPECT_EQ(quiz.mediaKind, MEDIA_TEXT);
    EXPECT_STREQ(quiz.title, "nom du zelbo");
    EXPECT_STREQ(quiz.creator, " createur");
    EXPECT_STREQ(quiz.explanation, "");
    EXPECT_EQ(quiz.questionCount, 2);
    EXPECT_EQ(quiz.answersPerQuestion, 1);
    EXPECT_EQ(quiz.revealMode, REVEAL_NOTHING);
    EXPECT_EQ(quiz.secondAnswerOptional, 1);
    EXPECT_STREQ(quiz.codes[0], "");
    EXPECT_STREQ(quiz.codes[MAX_QUESTIONS - 1], "");
    EXPECT_STREQ(quiz.mediaFolder, "");
    EXPECT_EQ(quiz.headerPanel, nullptr);
    EXPECT_EQ(quiz.answerFont, nullptr);
    EXPECT_NE(quiz.scoreFont, nullptr);
    EXPECT_EQ(quiz.questionHead, nullptr);
    EXPECT_EQ(quiz.questionTail, nullptr);
    // Questions are counted, but no node exists yet.
    EXPECT_EQ(quiz.QuestionAt(0), nullptr);
    EXPECT_EQ(quiz.QuestionAt(5), nullptr);

    LOGFONTA scoreFont = {};
    GetObjectA(quiz.scoreFont, sizeof(scoreFont), &scoreFont);
    EXPECT_EQ(scoreFont.lfHeight, 25);
    EXPECT_EQ(scoreFont.lfWeight, FW_NORMAL);
}

TEST(QuizData, BrushesHaveTheirColours)
{
    QuizData quiz;
    const struct {
        HBRUSH brush;
        COLORREF colour;
    } cases[] = {
        {quiz.backgroundBrush, 0x00965F5A}, {quiz.wrongBrush, 0x000000FF},   {quiz.rightBrush, 0x0000FF00},
        {quiz.anagramBrush, 0x000064FF},    {quiz.closeBrush, 0x0026CBFF},   {quiz.questionTextBrush, 0x00C0FFFF},
    };
    for (const auto& c : cases)
        EXPECT_EQ(BrushColour(c.brush), c.colour);
    EXPECT_EQ(quiz.backgroundColor, 0x00965F5Au);
    EXPECT_EQ(quiz.backgroundRed, 90);
    EXPECT_EQ(quiz.backgroundGreen, 95);
    EXPECT_EQ(quiz.backgroundBlue, 150);
}

TEST(QuizData, AddQuestionLinksAtTheTail)
{
    QuizData quiz;
    quiz.AddQuestion("un", "", "premier");
    quiz.AddQuestion("deux", "zwei", "second");
    quiz.AddQuestion("trois", "", "troisi\xE8me");
    QuestionNode* first = quiz.questionHead;
    QuestionNode* third = quiz.questionTail;
    ASSERT_NE(first, nullptr);
    ASSERT_NE(third, nullptr);
    QuestionNode* second = first->next;
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->next, third);
    EXPECT_EQ(third->prev, second);
    EXPECT_EQ(second->prev, first);
    EXPECT_EQ(first->prev, nullptr);
    EXPECT_EQ(third->next, nullptr);
    EXPECT_STREQ(second->answer1, "deux");
    EXPECT_STREQ(second->answer2, "zwei");
    EXPECT_STREQ(second->questionText, "second");
    EXPECT_STREQ(second->revealText, "");
    EXPECT_STREQ(third->questionText, "troisi\xE8me");
}

TEST(QuizData, AddQuestionCutsLongTextsTo259Bytes)
{
    QuizData quiz;
    const std::string longText(400, 'x');
    quiz.AddQuestion(longText.c_str(), longText.c_str(), longText.c_str());
    EXPECT_EQ(std::string(quiz.questionHead->answer1), std::string(259, 'x'));
    EXPECT_EQ(std::string(quiz.questionHead->questionText), std::string(259, 'x'));
}

TEST(QuizData, QuestionAtClampsToTheLastNode)
{
    QuizData quiz;
    quiz.AddQuestion("a", "", "0");
    quiz.AddQuestion("b", "", "1");
    quiz.AddQuestion("c", "", "2");
    const struct {
        int index;
        const char* text;
    } cases[] = {{0, "0"}, {1, "1"}, {2, "2"}, {3, "2"}, {95, "2"}, {1000000, "2"}};
    for (const auto& c : cases) {
        QuestionNode* node = quiz.QuestionAt(c.index);
        ASSERT_NE(node, nullptr) << c.index;
        EXPECT_STREQ(node->questionText, c.text) << c.index;
    }
}

TEST(QuizData, SampleQuizSharesItsSecondNodeWithQuestionsTwoToSeven)
{
    QuizData quiz;
    quiz.LoadSampleQuiz();
    EXPECT_STREQ(quiz.title, "Nom du zelbo");
    EXPECT_STREQ(quiz.creator, "Createur zelbo");
    EXPECT_STREQ(quiz.explanation, "Explications du zelbo");
    EXPECT_STREQ(quiz.answerLabel1, "Pr\xE9nom - Nom");
    EXPECT_STREQ(quiz.answerLabel2, "Manga / Anime");
    EXPECT_EQ(quiz.questionCount, 7);
    EXPECT_EQ(quiz.answersPerQuestion, 2);
    EXPECT_EQ(quiz.revealMode, REVEAL_TEXT_AND_PICTURE);
    EXPECT_EQ(quiz.mediaKind, MEDIA_PICTURE);
    EXPECT_EQ(quiz.secondAnswerOptional, 1);
    EXPECT_STREQ(quiz.codes[0], "");
    ASSERT_NE(quiz.questionHead, nullptr);
    QuestionNode* second = quiz.questionHead->next;
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second, quiz.questionTail);
    for (int index = 1; index <= 6; ++index)
        EXPECT_EQ(quiz.QuestionAt(index), second) << index;
    EXPECT_STREQ(second->answer1, "test");
    EXPECT_STREQ(second->answer2, "test");
    EXPECT_STREQ(second->questionText, "emplacement");
}

TEST(QuizData, SampleColourKeepsTheFiveColourFieldsTogether)
{
    QuizData quiz;
    quiz.LoadSampleQuiz();
    EXPECT_EQ(quiz.backgroundColor, 0x00A3CB35u);
    EXPECT_EQ(quiz.backgroundColor,
              MakeQuizColour(quiz.backgroundRed, quiz.backgroundGreen, quiz.backgroundBlue));
    EXPECT_EQ(BrushColour(quiz.backgroundBrush), 0x00A3CB35u);
    // Red 53 is dark but green 203 is not: the board's labels stay black.
    EXPECT_FALSE(QuizLabelsAreWhite(quiz.backgroundRed, quiz.backgroundGreen));
}

TEST(QuizData, DestructionReleasesEveryBrushFontAndNode)
{
    const DWORD before = GdiObjectCount();
    {
        auto quiz = std::make_unique<QuizData>();
        quiz->LoadSampleQuiz();
        quiz->SetBackgroundColour(1, 2, 3);
        EXPECT_EQ(GdiObjectCount(), before + 7);
    }
    EXPECT_EQ(GdiObjectCount(), before);
}

TEST(QuizData, ReleasingTheListEmptiesHeadAndTail)
{
    QuizData quiz;
    quiz.AddQuestion("a", "", "q");
    quiz.AddQuestion("b", "", "q");
    quiz.ReleaseQuestions();
    EXPECT_EQ(quiz.questionHead, nullptr);
    EXPECT_EQ(quiz.questionTail, nullptr);
    EXPECT_EQ(quiz.QuestionAt(0), nullptr);
}
