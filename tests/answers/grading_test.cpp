#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <tuple>
#include <vector>

#include "answers/grading.h"
#include "answers/judging_rules.h"

using namespace std::string_literals;

namespace {

const std::string A259(259, 'A'), A258(258, 'A'), a259(259, 'a'), a400(400, 'a'), spaced = "  " + a259;
// Each verdict, then pairs of expected and typed texts that get it. Spaces around the typed text
// go, after it is cut to 259 bytes; tabs and accents are bytes like any other.
const std::vector<const char*> ladder[] = {
    {VERDICT_RIGHT, "Paris", "  paris ", "caf\xE9", "CAF\xE9", A259.c_str(), a400.c_str(), a400.c_str(), A259.c_str()},
    {VERDICT_UNKNOWN, "Paris", "   ", "Paris", "", "", "   ", "Paris", nullptr},
    {VERDICT_ANAGRAM, "Paris", "Prais", "Le Chat", "chat le"},
    {VERDICT_ALMOST, "Paris", "Pari", "Paris", "aris", "Le Chat", "lechat", "porte-monnaie", "porte monnaie", "Paris",
     "\tParis", "Paris ", "Paris ", "caf\xE9", "caf\xC9", "Ete", "\xC9te", A258.c_str(), a259.c_str()},
    {VERDICT_NEARLY, "Paris", "Pxrxs", "Paris", " \tParis\t ", "\xE9t\xE9", "\xC9T\xC9", A259.c_str(), spaced.c_str()},
    // The containment scan resumes at the mismatching character: ABAC is not found in XABABACX.
    {VERDICT_TOO_LONG, "Paris", "Paris France", "ABAC", "XXXABACX"},
    // From ten expected characters, over 70 % typed (anywhere in it) is "Trop court", over 50 % "pas loin".
    {VERDICT_TOO_SHORT, "Grand Canal", "nd Canal", "ABCDEFGHIJK", "ABCDEFGH", "ABCDEFGHIJKLMNOPQRST", "ABCDEFGHIJKLMNO",
     "ABCDEFGHIJKLMNOPQRST", "FGHIJKLMNOPQRST"},
    {VERDICT_NOT_FAR, "Grand Canal", "d Canal", "ABCDEFGHIJ", "ABCDEFG", "ABCDEFGHIJKLMNOPQRST", "ABCDEFGHIJKLMN",
     "ABCDEFGHIJKL", "ABCDEFG", "ABCDEFGHIJKLMNOPQRST", "DEFGHIJKLMNOP"},
    // Close in spelling when the distance is under a fifth of the longer length, whichever it is.
    {VERDICT_GOOD_IDEA, "Pomme-de-terre nouvelle", "Pomme de terre nouvele", "ABCDEFGHIJKLMNOP", "ABCDEFGHIJKLMXYZ",
     "ABCDEFGHIJKLMNOP", "XBCDEFGHIJKLMN", "XBCDEFGHIJKLMN", "ABCDEFGHIJKLMNOP"},
    {VERDICT_WRONG, "", "abc", nullptr, "Paris", "Grand Canal", "Canal", "ABAC", "XABABACX", "ABCDEFGHI", "ABCDEF",
     "ABCDEFGHIJKL", "ABCDEF", "ABCDEFGHIJKLMNO", "ABCDEFGHIJKLXYZ", "ABCDEFGHIJKLMNOPQRST", "XXXXEFGHIJKLMNOPQRSTUV"}};

// A box's variants as the quiz keeps them: one after the other, each ended by a zero byte.
BoxVariants Variants(const std::string& packed)
{
    return {packed.data(), static_cast<int>(std::count(packed.begin(), packed.end(), '\0'))};
}

} // namespace

TEST(GradeAnswer, VerdictLadder)
{
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

// GradeAnswer is this grading without variants and with strict accents: the ladder above holds for it.
TEST(GradeAnswer, VariantsAndForgivenAccents)
{
    // Behind a farther stored answer, each expected text of the ladder reached as a variant gets the
    // same verdict; a farther variant changes nothing.
    const std::string far(259, '\x01');
    for (const std::vector<const char*>& row : ladder) {
        for (size_t i = 1; i + 1 < row.size(); i += 2) {
            const char *expected = row[i], *typed = row[i + 1];
            SCOPED_TRACE(std::string(expected ? expected : "null") + " / " + (typed ? typed : "null"));
            EXPECT_EQ(GradeAnswerWithVariants(expected, Variants(far + '\0'), false, typed), row[0]);
            if (expected) {
                EXPECT_EQ(GradeAnswerWithVariants(far.c_str(), Variants(far + '\0' + expected + '\0'), false, typed),
                          row[0]);
            }
        }
    }

    const std::string OE259(259, '\x8C'), OE258 = OE259.substr(1) + "O", spaces(300, ' ');
    const struct {
        const char* stored;
        std::string variants;
        bool forgiven;
        const char* typed;
        const char* verdict;
    } cases[] = {// The nearest accepted text gives the verdict: one letter short of a variant.
                 {"Charles de Gaulle", "De Gaulle\0G\xE9n\xE9ral de Gaulle\0"s, false, "De Gaule", VERDICT_ALMOST},
                 {"Charles de Gaulle", "", false, "De Gaule", VERDICT_WRONG},
                 {"Charles de Gaulle", "De Gaulle\0"s, false, "  de gaulle ", VERDICT_RIGHT},
                 {"Gen\xE8ve", "Genf\0Geneve\0"s, false, "geneve", VERDICT_RIGHT},
                 {"Paris", "Lutece\0"s, true, spaces.c_str(), VERDICT_UNKNOWN},
                 // Equally near: the stored answer first, then the variants in their order.
                 {"ABC", "ABD\0"s, false, "ACB", VERDICT_ANAGRAM},
                 {"ABD", "ABC\0"s, false, "ACB", VERDICT_NEARLY},
                 {"XXXXXX", "ABD\0ABC\0"s, false, "ACB", VERDICT_NEARLY},
                 // Accents forgiven: equality and every step of the ladder on both texts folded.
                 {"\311cole", "", true, "ECOLE", VERDICT_RIGHT},
                 {"Ecole", "", true, "\351cole", VERDICT_RIGHT},
                 {"\311cole", "", true, "ecloe", VERDICT_ANAGRAM},
                 {"\214dipe", "", true, "oedipe", VERDICT_RIGHT},
                 {"Stra\337e", "", true, "STRASSE", VERDICT_RIGHT},
                 {"No\xEBl", "Noe\0"s, true, "noel", VERDICT_RIGHT},
                 {"Colombey", "Colombey-les-Deux-\xC9glises\0"s, true, "colombey-les deux eglises", VERDICT_NEARLY},
                 // Folding lengthens a text past 259 bytes, and all of it is graded.
                 {OE259.c_str(), "", true, OE259.c_str(), VERDICT_RIGHT},
                 {OE259.c_str(), "", true, OE258.c_str(), VERDICT_ALMOST}};
    for (const auto& c : cases)
        EXPECT_STREQ(GradeAnswerWithVariants(c.stored, Variants(c.variants), c.forgiven, c.typed), c.verdict)
            << c.typed;

    // Each accented letter to its plain letters, capitals and small letters alike; the rest stays.
    const std::pair<std::string, std::string> folds[] = {
        {"\xC0\xC1\xC2\xC3\xC4\xC5\xC6\xC7\xC8\xC9\xCA\xCB\xCC\xCD\xCE\xCF\xD1\xD2\xD3\xD4\xD5\xD6\xD8\xD9\xDA\xDB"
         "\xDC\xDD\x9F\x8C",
         "AAAAAAAECEEEEIIIINOOOOOOUUUUYYOE"},
        {"\xE0\xE1\xE2\xE3\xE4\xE5\xE6\xE7\xE8\xE9\xEA\xEB\xEC\xED\xEE\xEF\xF1\xF2\xF3\xF4\xF5\xF6\xF8\xF9\xFA\xFB"
         "\xFC\xFD\xFF\x9C\xDF",
         "aaaaaaaeceeeeiiiinoooooouuuuyyoess"},
        {"\x8A\x9A\x8E\x9E\xD0\xF0\xDE\xFE\xD7\xF7\xB5 aZ09|", "\x8A\x9A\x8E\x9E\xD0\xF0\xDE\xFE\xD7\xF7\xB5 aZ09|"}};
    for (const auto& [text, plain] : folds) {
        char folded[FOLDED_TEXT_SIZE];
        EXPECT_EQ(std::string(folded, FoldAccents(folded, text.data(), text.size())), plain);
        EXPECT_EQ(std::strlen(folded), plain.size());
    }
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
