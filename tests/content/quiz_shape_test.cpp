#include <gtest/gtest.h>

#include <tuple>

#include "content/quiz_limits.h"
#include "content/quiz_shape.h"

TEST(QuizShape, BoxesAndAnswerLinesFollowTheKindAndTheAnswerCount)
{
    // Media kind (0 text to 3 video), answers per question, boxes made and answer lines read per
    // question, lines saved for 7 questions.
    const std::tuple<int, int, int, int, int> cases[] = {
        {0, 1, 1, 1, 7},  {0, 2, 1, 1, 14}, {1, 1, 1, 1, 7},  {1, 2, 2, 2, 14}, {2, 2, 2, 2, 14}, {3, 1, 1, 1, 7},
        {1, 3, 0, 3, 21}, {3, 0, 0, 0, 0},  {1, -1, 0, 0, 0}, {4, 1, 0, 0, 7},  {-1, 2, 0, 0, 14}};
    for (const auto& [kind, answers, boxes, lines, saved] : cases) {
        EXPECT_EQ(BoxesPerQuestion(kind, answers), boxes) << kind << " " << answers;
        EXPECT_EQ(AnswerLinesPerQuestion(kind, answers), lines) << kind << " " << answers;
        EXPECT_EQ(AnswerBoxCount(kind, 7, answers), 7 * boxes) << kind << " " << answers;
        EXPECT_EQ(AnswerBoxCount(kind, -3, answers), 0) << kind << " " << answers;
        EXPECT_EQ(SavedAnswerLineCount(7, answers), saved) << kind << " " << answers;
    }
    EXPECT_EQ(SavedAnswerLineCount(-2, 2), 0);
    for (int perQuestion : {1, 2}) {
        for (int k = 1; k <= MAX_QUESTIONS * perQuestion; ++k) {
            const BoxPosition back = BoxPositionOf(perQuestion, k);
            ASSERT_EQ(back.question, (k - 1) / perQuestion + 1);
            ASSERT_EQ(BoxNumber(perQuestion, back.question, back.answer), k);
        }
    }
    EXPECT_EQ(BoxPositionOf(0, 5).question, 0);
    EXPECT_EQ(BoxPositionOf(1, 0).question, 0);
}

TEST(QuizShape, WhatAFoundQuestionReveals)
{
    const bool text[] = {false, false, true, true, false}, picture[] = {false, true, false, true, false};
    for (int mode = 0; mode < 5; ++mode)
        EXPECT_TRUE(RevealsText(mode) == text[mode] && RevealsPicture(mode) == picture[mode]) << mode;
}
