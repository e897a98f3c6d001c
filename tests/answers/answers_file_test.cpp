#include <gtest/gtest.h>

#include <cstring>
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
    while (boxes.size() < count) {
        NextAnswerLine(bytes.data(), bytes.size(), &position, text);
        boxes.emplace_back(text);
    }
    return boxes;
}

} // namespace

TEST(AnswersFileName, LastThreeCharactersOfTheProgramNameBecomeTxt)
{
    // Each answers file name, then program paths that give it (empty: refused).
    const std::string n250(250, 'n');
    const std::vector<std::string> names[] = {
        {"zelbo.txt", "C:\\Jeux\\Quiz\\zelbo.exe", "zelbo.exe", "C:/Jeux/zelbo.exe", "\\\\serveur\\partage\\zelbo.exe"},
        {"platxt", "C:\\Jeux\\Quiz\\player"},
        {"txt", "C:\\Jeux\\abc"},
        {"a.txt", "C:\\a"},
        {"ab.txt", "C:\\Jeux\\quiz.v2\\ab.exe", "C:\\Jeux\\ab"},
        {"archive.tar.txt", "C:\\Jeux\\archive.tar.EXE"},
        {"caf\xE9.txt", "caf\xE9.exe"},
        {n250 + ".txt", "C:\\" + n250 + ".exe"},
        {"quiz.txt", "C:\\" + std::string(200, 'f') + "\\quiz.exe"},
        {"", "C:\\Jeux\\", ""}};
    for (const std::vector<std::string>& row : names) {
        for (size_t i = 1; i < row.size(); ++i) {
            char out[260];
            std::memset(out, 'x', sizeof(out));
            EXPECT_EQ(AnswersFileName(row[i].c_str(), out, sizeof(out)), !row[0].empty()) << row[i];
            EXPECT_EQ(out, row[0]) << row[i];
        }
    }
    char out[10] = "xxx";
    EXPECT_TRUE(AnswersFileName("C:\\zelbo.exe", out, 10) && std::string(out) == "zelbo.txt");
    EXPECT_FALSE(AnswersFileName("C:\\zelbo.exe", out, 9) || out[0] != '\0');
    EXPECT_FALSE(AnswersFileName(nullptr, out, sizeof(out)));
    out[0] = 'x';
    EXPECT_FALSE(AnswersFileName("C:\\zelbo.exe", out, 0) || out[0] != 'x');

    char buffer[260] = "C:\\Program Files\\Zelbo\\quiz.exe";
    EXPECT_TRUE(AnswersFileName(buffer, buffer, sizeof(buffer)) && std::string(buffer) == "quiz.txt");
}

// The bytes of a file, then the boxes read from it, one line each: a bare LF stays in the text, what
// lies between a CR and its LF is dropped, a long line is cut and its rest skipped.
TEST(AnswersFile, LinesAreReadOneBoxEachAndWrittenBack)
{
    const std::string L300(300, 'L'), L259(259, 'L');
    const std::vector<std::string> cases[] = {{"Paris\r\n", "Paris", "", ""},
                                              {"\r\n\r\nOslo\r\n", "", "", "Oslo"},
                                              {"Paris\nRome\r\n\xE9\x01\xFF\r\n", "Paris\nRome", "\xE9\x01\xFF"},
                                              {"Paris", "Paris", ""},
                                              {"Paris\r\nRome\r", "Paris", "Rome", ""},
                                              {"Paris\rRome\rOslo", "Paris", "", ""},
                                              {"Paris\r\rxyz\nRome\r\n", "Paris", "Rome"},
                                              {L300 + "\r\nRome\r\n", L259, "Rome"},
                                              {L259 + "\r\n", L259, ""}};
    for (const std::vector<std::string>& c : cases)
        EXPECT_EQ(ReadBoxes(c[0], c.size() - 1), std::vector<std::string>(c.begin() + 1, c.end())) << c[0];
    char text[QUIZ_TEXT_SIZE] = "junk";
    size_t position = 12;
    NextAnswerLine("Paris\r\n", 7, &position, text);
    EXPECT_TRUE(text[0] == '\0' && position == 12);

    std::string content;
    for (const char* box : {"Paris", "", static_cast<const char*>(nullptr), "Pa\rris", L300.c_str(), "Rome"})
        AppendAnswerLine(content, box);
    EXPECT_EQ(content, "Paris\r\n\r\n\r\nPa\rris\r\n" + L259 + "\r\nRome\r\n");
    // A CR typed into a box cuts that box only.
    EXPECT_EQ(ReadBoxes(content, 6), (std::vector<std::string>{"Paris", "", "", "Pa", L259, "Rome"}));
}
