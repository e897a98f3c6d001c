#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "content/quiz_colour.h"
#include "content/quiz_text.h"

TEST(QuizColour, ComponentsMakeAColorref)
{
    EXPECT_EQ(MakeQuizColour(0x35, 0xCB, 0xA3), 0x00A3CB35u);
    EXPECT_EQ(MakeQuizColour(90, 95, 150), 0x00965F5Au);
}

TEST(QuizColour, LabelsTurnWhiteOnlyWhenRedAndGreenAreDark)
{
    struct Case {
        uint8_t red, green;
        bool white;
    } cases[] = {{0, 0, true}, {59, 59, true}, {60, 0, false}, {0, 60, false}, {53, 203, false}, {50, 200, false}};
    for (const Case& c : cases)
        EXPECT_EQ(QuizLabelsAreWhite(c.red, c.green), c.white) << int(c.red) << "," << int(c.green);
}

TEST(QuizText, CopiesAreCutTo259BytesAndTerminated)
{
    char text[QUIZ_TEXT_SIZE];
    std::memset(text, 'x', sizeof(text));
    const std::string longText(300, 'a');
    CopyQuizText(text, longText.c_str());
    EXPECT_EQ(std::string(text), std::string(259, 'a'));

    CopyQuizText(text, nullptr);
    EXPECT_STREQ(text, "");

    CopyQuizText(text, "abc|def", 3);
    EXPECT_STREQ(text, "abc");
}

TEST(TextBuilder, ComposesNumbersAndTexts)
{
    struct Case {
        int value;
        const char* text;
    } cases[] = {{0, "n=0;"},
                 {7, "n=7;"},
                 {96, "n=96;"},
                 {-5, "n=-5;"},
                 {2147483647, "n=2147483647;"},
                 {-2147483647 - 1, "n=-2147483648;"}};
    for (const Case& c : cases) {
        char text[32];
        const bool fits = TextBuilder(text, sizeof(text)).Append("n=").Append(c.value).Append(";").Fits();
        EXPECT_TRUE(fits) << c.value;
        EXPECT_STREQ(text, c.text);
    }
}

TEST(TextBuilder, CutsWhereTheBufferEndsAndSaysSo)
{
    struct Case {
        size_t size;
        bool fits;
        const char* text;
    } cases[] = {{9, true, "ab123cd"}, {8, true, "ab123cd"}, {7, false, "ab123c"}, {4, false, "ab1"}, {1, false, ""}};
    for (const Case& c : cases) {
        char text[16];
        std::memset(text, 'x', sizeof(text));
        const bool fits = TextBuilder(text, c.size).Append("ab").Append(123).Append("cd").Append(nullptr).Fits();
        EXPECT_EQ(fits, c.fits) << c.size;
        EXPECT_STREQ(text, c.text) << c.size;
        EXPECT_EQ(text[c.size], 'x') << "wrote past a buffer of " << c.size;
    }

    char untouched[2] = {'x', 'x'};
    EXPECT_FALSE(TextBuilder(untouched, 0).Append("a").Fits());
    EXPECT_EQ(untouched[0], 'x');
}
