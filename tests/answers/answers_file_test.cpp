#include <gtest/gtest.h>

#include <algorithm>
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
    // The file's bytes alone, with no terminator after them, so that a read past their end is caught.
    const std::vector<char> file(bytes.begin(), bytes.end());
    while (boxes.size() < count) {
        NextAnswerLine(file.data(), file.size(), &position, text);
        boxes.emplace_back(text);
    }
    return boxes;
}

} // namespace

TEST(AnswersFileName, LastThreeCharactersOfTheProgramNameBecomeTxtInBothForms)
{
    // Each answers file name, then program paths that give it (empty: none). The wide form, as
    // Windows names the program, takes every row; the byte form every row it can hold.
    const WideString longFolder(300, L'f');
    const std::vector<WideString> names[] = {{L"zelbo.txt", L"C:\\Jeux\\Quiz\\zelbo.exe", L"zelbo.exe",
                                              L"C:/Jeux/zelbo.exe", L"\\\\serveur\\partage\\zelbo.exe"},
                                             {L"platxt", L"C:\\Jeux\\Quiz\\player"},
                                             {L"txt", L"C:\\Jeux\\abc"},
                                             {L"a.txt", L"C:\\a"},
                                             {L"ab.txt", L"C:\\Jeux\\quiz.v2\\ab.exe", L"C:\\Jeux\\ab"},
                                             {L"archive.tar.txt", L"C:\\Jeux\\archive.tar.EXE"},
                                             {L"café.txt", L"café.exe"},
                                             {L"Quiz Łódź.txt", L"D:\\Jeux\\Quiz Łódź.exe"},
                                             {L"quiz.txt", L"C:\\" + longFolder + L"\\quiz.exe"},
                                             {L"", L"C:\\Jeux\\", L""}};
    for (const std::vector<WideString>& row : names) {
        for (size_t i = 1; i < row.size(); ++i) {
            EXPECT_TRUE(AnswersFileName(row[i]) == row[0]) << row[0].size() << " " << i;
            if (std::all_of(row[i].begin(), row[i].end(), [](wchar_t c) { return c <= 0xFF; })) {
                EXPECT_EQ(AnswersFileName(std::string(row[i].begin(), row[i].end())),
                          std::string(row[0].begin(), row[0].end()));
            }
        }
    }
}

// What a save that cannot be done says, for the system errors that stop saves where players keep
// their quizzes, and for any other.
TEST(AnswersFile, AFailedSaveNamesTheFileTheReasonAndWhatToDo)
{
    EXPECT_TRUE(SaveFailureMessage(L"E:\\Quiz\\quiz.txt", 19) ==
                L"Vos réponses n'ont pas pu être enregistrées dans le fichier :\nE:\\Quiz\\quiz.txt\n\nLe support est "
                L"protégé en écriture.\n\nPour les garder, copiez le quiz dans un dossier à vous, par exemple "
                L"Documents, et lancez-le depuis ce dossier.");
    const std::pair<uint32_t, WideString> reasons[] = {{5, L"Windows n'autorise pas l'écriture à cet endroit."},
                                                       {32, L"Le fichier est ouvert dans un autre programme."},
                                                       {39, L"Le disque est plein."},
                                                       {112, L"Le disque est plein."},
                                                       {6009, L"Le fichier est en lecture seule."},
                                                       {1234, L"Windows a signalé l'erreur 1234."}};
    for (const auto& [code, reason] : reasons)
        EXPECT_NE(SaveFailureMessage(L"quiz.txt", code).find(L"quiz.txt\n\n" + reason + L"\n\n"), WideString::npos)
            << code;
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
