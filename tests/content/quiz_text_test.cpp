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
