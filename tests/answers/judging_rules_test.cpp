#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "answers/judging_rules.h"

TEST(JudgingRules, ExpectedAnswerByAnswerNumber)
{
    EXPECT_STREQ(ExpectedAnswer("un", "deux", 1), "un");
    EXPECT_STREQ(ExpectedAnswer("un", "deux", 2), "deux");
    EXPECT_EQ(ExpectedAnswer("un", "deux", 3), nullptr);
    EXPECT_EQ(ExpectedAnswer("un", "deux", 0), nullptr);
}

TEST(JudgingRules, StoredAnswerMatchIgnoresPlainCaseOnly)
{
    struct Case {
        const char* box;
        const char* expected;
        bool match;
    } cases[] = {
        {"paris", "Paris", true},
        {"PARIS", "Paris", true},
        {"  paris", "Paris", false}, // untrimmed: the rewrite after a right answer makes it match
        {"Paris ", "Paris", false},
        {"\xE9t\xE9", "\xC9T\xC9", false}, // accented letters are not folded
        {"", "", true},
        {"x", nullptr, false},
        {"ae", "\xE6", false}, // byte comparison: no linguistic expansion of the ligature
    };
    for (const Case& c : cases)
        EXPECT_EQ(MatchesStoredAnswer(c.box, c.expected), c.match) << "'" << c.box << "'";
}

TEST(JudgingRules, SolvedQuestionsFromVerdicts)
{
    struct Case {
        int boxesPerQuestion;
        int secondAnswerOptional;
        std::vector<bool> right; // box k at index k - 1
        int questionCount;
        int solved;
    } cases[] = {
        {1, 1, {true, false, true}, 3, 2},
        {1, 0, {false, false}, 2, 0},
        // Two answers, second optional: the first answer decides.
        {2, 1, {true, false, false, true, true, true}, 3, 2},
        // Two answers, both needed.
        {2, 0, {true, false, false, true, true, true}, 3, 1},
        // Any value but 1 makes the second answer count.
        {2, 2, {true, false}, 1, 0},
        {0, 1, {}, 4, 0},
        {1, 1, {}, 0, 0},
    };
    for (const Case& c : cases) {
        std::vector<int> asked;
        const int solved =
            CountSolvedQuestions(c.questionCount, c.boxesPerQuestion, c.secondAnswerOptional, [&](int box) {
                asked.push_back(box);
                return c.right.at(static_cast<size_t>(box - 1));
            });
        EXPECT_EQ(solved, c.solved) << c.boxesPerQuestion << " boxes, optional " << c.secondAnswerOptional;
        for (int box : asked) {
            EXPECT_GE(box, 1);
            EXPECT_LE(box, c.questionCount * c.boxesPerQuestion);
        }
    }
}

TEST(JudgingRules, ScoreAndCodeTexts)
{
    char score[32];
    FormatScore(score, sizeof(score), 3, 25);
    EXPECT_STREQ(score, " 3 / 25");
    FormatScore(score, sizeof(score), 0, 0);
    EXPECT_STREQ(score, " 0 / 0");

    static char codes[MAX_QUESTIONS][QUIZ_TEXT_SIZE];
    std::strcpy(codes[0], "ALPHA");
    std::strcpy(codes[2], "GAMMA");
    std::strcpy(codes[MAX_QUESTIONS - 1], "LAST");
    EXPECT_STREQ(CodeForScore(codes, 0), "      ");
    EXPECT_STREQ(CodeForScore(codes, 1), "ALPHA");
    EXPECT_STREQ(CodeForScore(codes, 2), ""); // a quiz without that code shows nothing once solved
    EXPECT_STREQ(CodeForScore(codes, 3), "GAMMA");
    EXPECT_STREQ(CodeForScore(codes, MAX_QUESTIONS), "LAST");
    EXPECT_STREQ(CodeForScore(codes, MAX_QUESTIONS + 1), "");
}

TEST(JudgingRules, RevealModes)
{
    struct Case {
        int mode;
        bool text, picture;
    } cases[] = {{0, false, false}, {1, false, true},  {2, true, false},
                 {3, true, true},   {4, false, false}, {-1, false, false}};
    for (const Case& c : cases) {
        EXPECT_EQ(RevealsText(c.mode), c.text) << c.mode;
        EXPECT_EQ(RevealsPicture(c.mode), c.picture) << c.mode;
    }
}
