#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <tuple>
#include <vector>

#include "answers/grading.h"
#include "answers/judging_rules.h"

TEST(GradeAnswer, VerdictLadder)
{
    const std::string A259(259, 'A'), A258(258, 'A'), a259(259, 'a'), a400(400, 'a'), spaced = "  " + a259;
    // Each verdict, then pairs of expected and typed texts that get it. Spaces around the typed text
    // go, after it is cut to 259 bytes; tabs and accents are bytes like any other.
    const std::vector<const char*> ladder[] = {
        {VERDICT_RIGHT, "Paris", "  paris ", "caf\xE9", "CAF\xE9", A259.c_str(), a400.c_str(), a400.c_str(),
         A259.c_str()},
        {VERDICT_UNKNOWN, "Paris", "   ", "Paris", "", "", "   ", "Paris", nullptr},
        {VERDICT_ANAGRAM, "Paris", "Prais", "Le Chat", "chat le"},
        {VERDICT_ALMOST, "Paris", "Pari", "Paris", "aris", "Le Chat", "lechat", "porte-monnaie", "porte monnaie",
         "Paris", "\tParis", "Paris ", "Paris ", "caf\xE9", "caf\xC9", "Ete", "\xC9te", A258.c_str(), a259.c_str()},
        {VERDICT_NEARLY, "Paris", "Pxrxs", "Paris", " \tParis\t ", "\xE9t\xE9", "\xC9T\xC9", A259.c_str(),
         spaced.c_str()},
        // The containment scan resumes at the mismatching character: ABAC is not found in XABABACX.
        {VERDICT_TOO_LONG, "Paris", "Paris France", "ABAC", "XXXABACX"},
        // From ten expected characters, over 70 % typed (anywhere in it) is "Trop court", over 50 % "pas loin".
        {VERDICT_TOO_SHORT, "Grand Canal", "nd Canal", "ABCDEFGHIJK", "ABCDEFGH", "ABCDEFGHIJKLMNOPQRST",
         "ABCDEFGHIJKLMNO", "ABCDEFGHIJKLMNOPQRST", "FGHIJKLMNOPQRST"},
        {VERDICT_NOT_FAR, "Grand Canal", "d Canal", "ABCDEFGHIJ", "ABCDEFG", "ABCDEFGHIJKLMNOPQRST", "ABCDEFGHIJKLMN",
         "ABCDEFGHIJKL", "ABCDEFG", "ABCDEFGHIJKLMNOPQRST", "DEFGHIJKLMNOP"},
        // Close in spelling when the distance is under a fifth of the longer length, whichever it is.
        {VERDICT_GOOD_IDEA, "Pomme-de-terre nouvelle", "Pomme de terre nouvele", "ABCDEFGHIJKLMNOP", "ABCDEFGHIJKLMXYZ",
         "ABCDEFGHIJKLMNOP", "XBCDEFGHIJKLMN", "XBCDEFGHIJKLMN", "ABCDEFGHIJKLMNOP"},
        {VERDICT_WRONG, "", "abc", nullptr, "Paris", "Grand Canal", "Canal", "ABAC", "XABABACX", "ABCDEFGHI", "ABCDEF",
         "ABCDEFGHIJKL", "ABCDEF", "ABCDEFGHIJKLMNO", "ABCDEFGHIJKLXYZ", "ABCDEFGHIJKLMNOPQRST",
         "XXXXEFGHIJKLMNOPQRSTUV"}};
    for (const std::vector<const char*>& row : ladder) {
        ASSERT_EQ(row.size() % 2, 1u) << row[0];
        for (size_t i = 1; i + 1 < row.size(); i += 2) {
            // The pointer itself is compared: callers may rely on getting one of the named arrays.
            EXPECT_EQ(GradeAnswer(row[i], row[i + 1]), row[0])
                << (row[i] ? row[i] : "null") << " / " << (row[i + 1] ? row[i + 1] : "null");
        }
    }
    char expected[] = "Grand Canal", typed[] = "  grand canal  ";
    EXPECT_EQ(GradeAnswer(expected, typed), VERDICT_RIGHT);
    EXPECT_EQ(std::string(expected) + "/" + typed, "Grand Canal/  grand canal  "); // left unchanged
}

TEST(JudgingRules, WhatABoxIsCheckedAgainstAndWhenAQuestionIsSolved)
{
    EXPECT_TRUE(std::string(ExpectedAnswer("un", "deux", 1)) + ExpectedAnswer("un", "deux", 2) == "undeux");
    EXPECT_TRUE(ExpectedAnswer("un", "deux", 3) == nullptr && ExpectedAnswer("un", "deux", 0) == nullptr);
    // Box text and stored answer: untrimmed, a to z folded only, compared byte for byte.
    const std::tuple<const char*, const char*, bool> matches[] = {
        {"paris", "Paris", true},    {"PARIS", "paris", true},   {"", "", true},
        {"  paris", "Paris", false}, {"Paris ", "Paris", false}, {"\xE9t\xE9", "\xC9T\xC9", false},
        {"ae", "\xE6", false},       {"x", nullptr, false}};
    for (const auto& [box, stored, match] : matches)
        EXPECT_EQ(MatchesStoredAnswer(box, stored), match) << box;
    // Boxes per question, second answer optional (1) or not (any other value), the boxes that read
    // "BRAVO" (R), question count, questions solved.
    const std::tuple<int, int, std::string, int, int> cases[] = {
        {1, 1, "R-R", 3, 2}, {2, 1, "R--RRR", 3, 2}, {2, 0, "R--RRR", 3, 1}, {2, 2, "R-", 1, 0}, {0, 1, "", 4, 0}};
    for (const auto& [boxes, optional, right, questions, solved] : cases) {
        const auto isRight = [&right = right](int box) { return right.at(static_cast<size_t>(box - 1)) == 'R'; };
        EXPECT_EQ(CountSolvedQuestions(questions, boxes, optional, isRight), solved) << boxes << " " << optional;
    }
    char score[32];
    FormatScore(score, sizeof(score), 3, 25);
    EXPECT_STREQ(score, " 3 / 25");
    static char codes[MAX_QUESTIONS][QUIZ_TEXT_SIZE] = {"ALPHA", "", "GAMMA"};
    std::strcpy(codes[MAX_QUESTIONS - 1], "LAST");
    // Six spaces before any question is solved; a missing code shows nothing once solved.
    const char* const shown[] = {"      ", "ALPHA", "", "GAMMA"};
    for (int solved = 0; solved < 4; ++solved)
        EXPECT_STREQ(CodeForScore(codes, solved), shown[solved]) << solved;
    EXPECT_STREQ(CodeForScore(codes, MAX_QUESTIONS), "LAST");
    EXPECT_STREQ(CodeForScore(codes, MAX_QUESTIONS + 1), "");
}
