#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "answers/answers_file.h"

namespace {

// Reads count boxes from the bytes, as the board does at start-up.
std::vector<std::string> ReadBoxes(const std::string& bytes, size_t count)
{
    std::vector<std::string> boxes;
    size_t position = 0;
    char text[QUIZ_TEXT_SIZE];
    for (size_t i = 0; i < count; ++i) {
        NextAnswerLine(bytes.data(), bytes.size(), &position, text);
        boxes.emplace_back(text);
    }
    return boxes;
}

} // namespace

TEST(AnswersFileName, LastThreeCharactersOfTheProgramNameBecomeTxt)
{
    const std::string longName = std::string(250, 'n') + ".exe";
    const std::string longFolder = "C:\\" + std::string(200, 'f') + "\\quiz.exe";
    const struct {
        std::string path;
        std::string name;
    } cases[] = {
        {"C:\\Jeux\\Quiz\\zelbo.exe", "zelbo.txt"},
        // The rule replaces three characters whatever they are, dot or not.
        {"C:\\Jeux\\Quiz\\player", "platxt"},
        {"C:\\Jeux\\quiz.v2\\ab.exe", "ab.txt"},
        {"C:\\Jeux\\archive.tar.EXE", "archive.tar.txt"},
        {"\\\\serveur\\partage\\caf\xE9.exe", "caf\xE9.txt"},
        {"zelbo.exe", "zelbo.txt"},
        {"C:/Jeux/zelbo.exe", "zelbo.txt"},
        {"C:\\Jeux\\abc", "txt"},
        {"C:\\Jeux\\ab", "ab.txt"},
        {"C:\\Jeux\\a", "a.txt"},
        {"C:\\" + longName, std::string(250, 'n') + ".txt"},
        {longFolder, "quiz.txt"},
    };
    for (const auto& c : cases) {
        char out[260];
        ASSERT_TRUE(AnswersFileName(c.path.c_str(), out, sizeof(out))) << c.path;
        EXPECT_EQ(std::string(out), c.name) << c.path;
    }
}

TEST(AnswersFileName, RefusesWhatHasNoNameOrDoesNotFit)
{
    char out[16];
    const struct {
        const char* path;
        size_t outSize;
    } cases[] = {
        {"C:\\Jeux\\", sizeof(out)}, {"", sizeof(out)}, {nullptr, sizeof(out)},
        {"C:\\zelbo.exe", 9},        {"C:\\ab", 6},     {"C:\\zelbo.exe", 0},
    };
    for (const auto& c : cases) {
        std::memset(out, 'x', sizeof(out));
        EXPECT_FALSE(AnswersFileName(c.path, out, c.outSize)) << (c.path ? c.path : "null") << " " << c.outSize;
        EXPECT_EQ(out[0], c.outSize > 0 ? '\0' : 'x');
    }
    ASSERT_TRUE(AnswersFileName("C:\\zelbo.exe", out, 10));
    EXPECT_STREQ(out, "zelbo.txt");
}

TEST(AnswersFileName, WorksInPlaceInTheModulePathBuffer)
{
    char buffer[260] = "C:\\Program Files\\Zelbo\\quiz.exe";
    ASSERT_TRUE(AnswersFileName(buffer, buffer, sizeof(buffer)));
    EXPECT_STREQ(buffer, "quiz.txt");
}

TEST(NextAnswerLine, FollowsTheReadingRules)
{
    const std::string longLine(300, 'L');
    const struct {
        const char* what;
        std::string bytes;
        std::vector<std::string> boxes;
    } cases[] = {
        {"one line per box", "Paris\r\nRome\r\n", {"Paris", "Rome"}},
        {"fewer lines than boxes", "Paris\r\n", {"Paris", "", ""}},
        {"more lines than boxes", "Paris\r\nRome\r\nOslo\r\n", {"Paris", "Rome"}},
        {"empty data", "", {"", ""}},
        {"empty lines", "\r\n\r\nOslo\r\n", {"", "", "Oslo"}},
        {"LF alone stays in the text", "Paris\nRome\r\nOslo\r\n", {"Paris\nRome", "Oslo"}},
        {"no line end at all", "Paris", {"Paris", ""}},
        {"CR without LF at the end", "Paris\r\nRome\r", {"Paris", "Rome", ""}},
        {"CR without LF swallows the rest", "Paris\rRome\rOslo", {"Paris", "", ""}},
        {"bytes between CR and LF are dropped", "Paris\r\rxyz\nRome\r\n", {"Paris", "Rome"}},
        {"leading LF", "\nParis\r\n", {"\nParis"}},
        {"long line cut, rest skipped", longLine + "\r\nRome\r\n", {std::string(259, 'L'), "Rome"}},
        {"259 bytes whole", std::string(259, 'x') + "\r\n", {std::string(259, 'x'), ""}},
        {"accented bytes", "caf\xE9 cr\xE8me\r\n", {"caf\xE9 cr\xE8me"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ReadBoxes(c.bytes, c.boxes.size()), c.boxes) << c.what;
}

TEST(NextAnswerLine, PositionOutsideTheDataGivesEmptyText)
{
    const std::string bytes = "Paris\r\n";
    char text[QUIZ_TEXT_SIZE] = "junk";
    size_t position = bytes.size() + 5;
    NextAnswerLine(bytes.data(), bytes.size(), &position, text);
    EXPECT_STREQ(text, "");
    EXPECT_EQ(position, bytes.size() + 5);
}

TEST(AppendAnswerLine, WritesTheTextCutTo259BytesThenCrLf)
{
    std::string content;
    AppendAnswerLine(content, "Paris");
    AppendAnswerLine(content, "");
    AppendAnswerLine(content, nullptr);
    AppendAnswerLine(content, std::string(259, 'a').c_str());
    AppendAnswerLine(content, std::string(300, 'b').c_str());
    EXPECT_EQ(content, "Paris\r\n\r\n\r\n" + std::string(259, 'a') + "\r\n" + std::string(259, 'b') + "\r\n");

    // Seven questions of two empty boxes: 28 bytes of CR LF pairs, read back as fourteen empty boxes.
    std::string empty;
    for (int box = 0; box < 14; ++box)
        AppendAnswerLine(empty, "");
    EXPECT_EQ(empty.size(), 28u);
    EXPECT_EQ(ReadBoxes(empty, 14), std::vector<std::string>(14));
}

TEST(AnswersFile, WhatIsWrittenIsReadBackBoxForBox)
{
    std::mt19937 random(20240611);
    std::uniform_int_distribution<int> lengthOf(0, 300);
    // Every byte but the zero that ends a text and the CR that ends a line; LF included.
    std::uniform_int_distribution<int> byteOf(1, 255);
    for (int round = 0; round < 200; ++round) {
        std::vector<std::string> boxes(1 + round % 20);
        std::string content;
        for (std::string& box : boxes) {
            const int length = lengthOf(random);
            for (int i = 0; i < length; ++i) {
                const int value = byteOf(random);
                box.push_back(static_cast<char>(value == '\r' ? 'r' : value));
            }
            AppendAnswerLine(content, box.c_str());
            if (box.size() > 259)
                box.resize(259);
        }
        // One box more than lines written: the data are used up and it stays empty.
        boxes.emplace_back();
        ASSERT_EQ(ReadBoxes(content, boxes.size()), boxes) << "round " << round;
    }
}

TEST(AnswersFile, ACarriageReturnInABoxCutsOnlyThatBox)
{
    std::string content;
    AppendAnswerLine(content, "Pa\rris");
    AppendAnswerLine(content, "Rome");
    EXPECT_EQ(ReadBoxes(content, 2), (std::vector<std::string>{"Pa", "Rome"}));
}
