#include <gtest/gtest.h>

#include <cstring>
#include <iterator>
#include <string>

#include "answers/grading.h"

namespace {

struct GradeCase {
    const char* expected;
    const char* typed;
    const char* verdict;
};

void ExpectVerdicts(const GradeCase* cases, size_t count)
{
    for (size_t i = 0; i < count; ++i) {
        const GradeCase& c = cases[i];
        // The pointer itself is compared: callers may rely on getting one of the named arrays.
        EXPECT_EQ(GradeAnswer(c.expected, c.typed), c.verdict)
            << "expected [" << c.expected << "] typed [" << c.typed << "] gave " << GradeAnswer(c.expected, c.typed)
            << " instead of " << c.verdict;
    }
}

} // namespace

TEST(GradeAnswer, VerdictsAreSpelledAsThePlayerSeesThem)
{
    const char* const spelled[VERDICT_COUNT] = {"?",
                                                "BRAVO",
                                                "FAUX",
                                                "Anagramme",
                                                "Quasiment",
                                                "Presque",
                                                "Trop long",
                                                "Trop court",
                                                "pas loin",
                                                "y a de l'id\xE9"
                                                "e"};
    for (int i = 0; i < VERDICT_COUNT; ++i)
        EXPECT_STREQ(ALL_VERDICTS[i], spelled[i]);
}

TEST(GradeAnswer, WorkedExamples)
{
    const GradeCase cases[] = {
        {"Paris", "  paris ", VERDICT_RIGHT},
        {"Paris", "   ", VERDICT_UNKNOWN},
        {"Paris", "Prais", VERDICT_ANAGRAM},
        {"Paris", "Pari", VERDICT_ALMOST},
        {"Paris", "Pxrxs", VERDICT_NEARLY},
        {"Paris", "Paris France", VERDICT_TOO_LONG},
        {"Grand Canal", "nd Canal", VERDICT_TOO_SHORT},
        {"Grand Canal", "d Canal", VERDICT_NOT_FAR},
        {"Grand Canal", "Canal", VERDICT_WRONG},
        {"ABCDEFGHIJ", "ABCDEFG", VERDICT_NOT_FAR},
        {"ABCDEFGHI", "ABCDEF", VERDICT_WRONG},
        {"Pomme-de-terre nouvelle", "Pomme de terre nouvele", VERDICT_GOOD_IDEA},
        {"Ecole",
         "\xC9"
         "cole",
         VERDICT_ALMOST},
        {"ABAC", "XABABACX", VERDICT_WRONG},
    };
    ExpectVerdicts(cases, std::size(cases));
}

TEST(GradeAnswer, LengthThresholdsOfTheShortAnswerVerdicts)
{
    const GradeCase cases[] = {
        // Expected length 9: even 66 % typed is wrong.
        {"ABCDEFGHI", "ABCDEF", VERDICT_WRONG},
        // Expected length 10: 60 % is "pas loin"; 70 % is not more than 70 %.
        {"ABCDEFGHIJ", "ABCDEF", VERDICT_NOT_FAR},
        {"ABCDEFGHIJ", "ABCDEFG", VERDICT_NOT_FAR},
        // Expected length 11: the shortest answer that can be "Trop court" at distance 3.
        {"ABCDEFGHIJK", "ABCDEFGH", VERDICT_TOO_SHORT},
        {"ABCDEFGHIJK", "ABCDEFG", VERDICT_NOT_FAR},
        // 70 % exactly and just above.
        {"ABCDEFGHIJKLMNOPQRST", "ABCDEFGHIJKLMN", VERDICT_NOT_FAR},
        {"ABCDEFGHIJKLMNOPQRST", "ABCDEFGHIJKLMNO", VERDICT_TOO_SHORT},
        // 50 % exactly and just above.
        {"ABCDEFGHIJKL", "ABCDEF", VERDICT_WRONG},
        {"ABCDEFGHIJKL", "ABCDEFG", VERDICT_NOT_FAR},
        // The typed part may come from the middle or the end of the expected text.
        {"ABCDEFGHIJKLMNOPQRST", "FGHIJKLMNOPQRST", VERDICT_TOO_SHORT},
    };
    ExpectVerdicts(cases, std::size(cases));
}

TEST(GradeAnswer, OneFifthRuleAtItsEdge)
{
    const GradeCase cases[] = {
        // Distance 3, longer length 15 = 5 * 3: not close enough.
        {"ABCDEFGHIJKLMNO", "ABCDEFGHIJKLXYZ", VERDICT_WRONG},
        // Distance 3, longer length 16 = 5 * 3 + 1.
        {"ABCDEFGHIJKLMNOP", "ABCDEFGHIJKLMXYZ", VERDICT_GOOD_IDEA},
        // The longer of the two lengths counts, whichever text it is.
        {"ABCDEFGHIJKLMNOP", "XBCDEFGHIJKLMN", VERDICT_GOOD_IDEA},
        {"XBCDEFGHIJKLMN", "ABCDEFGHIJKLMNOP", VERDICT_GOOD_IDEA},
        {"ABCDEFGHIJKLMNOPQRST", "XBCDEFGHIJKLMNOPQRSTUV", VERDICT_GOOD_IDEA},
        {"ABCDEFGHIJKLMNOPQRST", "XXXXEFGHIJKLMNOPQRSTUV", VERDICT_WRONG},
    };
    ExpectVerdicts(cases, std::size(cases));
}

TEST(GradeAnswer, CaseSpacesTabsAndAccents)
{
    const GradeCase cases[] = {
        {"Le Chat", "le chat", VERDICT_RIGHT},
        {"Le Chat", "lechat", VERDICT_ALMOST},
        {"Le Chat", "chat le", VERDICT_ANAGRAM},
        {"porte-monnaie", "porte monnaie", VERDICT_ALMOST},
        {"Paris", "\tParis", VERDICT_ALMOST},
        {"Paris", "Paris\t", VERDICT_ALMOST},
        {"Paris", " \tParis\t ", VERDICT_NEARLY},
        // Only the typed text is trimmed, so a stored trailing space is never met exactly.
        {"Paris ", "Paris ", VERDICT_ALMOST},
        {"Paris ", "Paris", VERDICT_ALMOST},
        // Accented letters are compared as bytes: no folding of case or of the accent.
        {"caf\xE9", "CAF\xE9", VERDICT_RIGHT},
        {"caf\xE9", "caf\xC9", VERDICT_ALMOST},
        {"caf\xE9", "cafe", VERDICT_ALMOST},
        {"\xE9t\xE9", "\xC9T\xC9", VERDICT_NEARLY},
        {"Paris", "", VERDICT_UNKNOWN},
        {"", "   ", VERDICT_UNKNOWN},
        {"", "abc", VERDICT_WRONG},
    };
    ExpectVerdicts(cases, std::size(cases));
    EXPECT_EQ(GradeAnswer("Paris", nullptr), VERDICT_UNKNOWN);
    EXPECT_EQ(GradeAnswer(nullptr, "Paris"), VERDICT_WRONG);
}

TEST(GradeAnswer, TextsAreCutTo259Characters)
{
    const std::string upper259(259, 'A');
    const std::string lower259(259, 'a');
    const std::string lower400(400, 'a');
    const std::string upper258(258, 'A');
    const std::string spacedLong = "  " + lower259;
    const GradeCase cases[] = {
        {upper259.c_str(), lower259.c_str(), VERDICT_RIGHT},
        {upper259.c_str(), lower400.c_str(), VERDICT_RIGHT},
        {lower400.c_str(), upper259.c_str(), VERDICT_RIGHT},
        {upper258.c_str(), lower259.c_str(), VERDICT_ALMOST},
        // Cut first, then trimmed, as the text read from an answer box: two characters are lost.
        {upper259.c_str(), spacedLong.c_str(), VERDICT_NEARLY},
    };
    ExpectVerdicts(cases, std::size(cases));
}

TEST(GradeAnswer, ArgumentsAreLeftUnchanged)
{
    char expected[] = "Grand Canal";
    char typed[] = "  grand canal  ";
    EXPECT_EQ(GradeAnswer(expected, typed), VERDICT_RIGHT);
    EXPECT_STREQ(expected, "Grand Canal");
    EXPECT_STREQ(typed, "  grand canal  ");
}

TEST(ToUpperAscii, FoldsOnlyTheLettersAToZ)
{
    char text[] = "az AZ `{@[ 09 \xE9\xE0\xFF\xB5";
    ToUpperAscii(text);
    EXPECT_STREQ(text, "AZ AZ `{@[ 09 \xE9\xE0\xFF\xB5");
}

TEST(SortCharacters, OrdersBytesAsUnsignedValues)
{
    const struct {
        const char* text;
        const char* sorted;
    } cases[] = {
        {"", ""}, {"DCBA", "ABCD"}, {"PARIS", "AIPRS"}, {"\xE9z a", " az\xE9"}, {"\xFF\x01\x80", "\x01\x80\xFF"},
    };
    for (const auto& c : cases) {
        char text[64];
        std::strcpy(text, c.text);
        SortCharacters(text);
        EXPECT_STREQ(text, c.sorted) << c.text;
    }
}

TEST(EditDistance, ClassicDistances)
{
    const std::string a259(259, 'a');
    const std::string b259(259, 'b');
    const std::string a300(300, 'a');
    const struct {
        const char* a;
        const char* b;
        int distance;
    } cases[] = {
        {"", "", 0},
        {"", "ABC", 3},
        {"ABC", "", 3},
        {"AB", "BA", 2},
        {"KITTEN", "SITTING", 3},
        {"FLAW", "LAWN", 2},
        {"PARIS", "PARIS FRANCE", 7},
        {a259.c_str(), b259.c_str(), 259},
        {a300.c_str(), a259.c_str(), 0},
        {a300.c_str(), "", 259},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(EditDistance(c.a, c.b), c.distance) << c.a << " / " << c.b;
        EXPECT_EQ(EditDistance(c.b, c.a), c.distance) << c.b << " / " << c.a;
    }
}

TEST(ContainmentTest, ScanThatNeverStepsBack)
{
    const struct {
        const char* first;
        const char* second;
        int result;
    } cases[] = {
        {"ABAC", "XABABACX", 0}, {"ABAC", "XXXABACX", 2}, {"AAB", "AAAB", 0},  {"ABC", "ABC", 2},
        {"ABC", "ABD", 0},       {"ABC", "XXAB", 0},      {"ABC", "XXABC", 2}, {"XABCX", "ABC", -2},
        {"ABCDE", "CDE", -2},    {"ABCDE", "ABD", 0},     {"", "ABC", 1},      {"", "", 1},
        {"ABC", "", -1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ContainmentTest(c.first, c.second), c.result) << c.first << " / " << c.second;
}
