// Saving the answers under Wine: name and place of the file, its bytes, and what a failed save
// leaves behind.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "answers/answers_file_win.h"
#include "content/quiz_data_win.h"
#include "platform/win_raii.h"
#include "resource.h"
#include "win_test_support.h"

namespace {

constexpr char HOST_CLASS[] = "ZelboSaveTestHost";
// This program is save_answers_win_test.exe, so its answers file is:
constexpr char ANSWERS_FILE[] = "save_answers_win_test.txt";
constexpr char PREVIOUS[] = "ancienne r\xE9ponse\r\n\r\n";

std::set<std::string> FilesInCurrentDirectory()
{
    std::set<std::string> names;
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA("*", &entry);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            names.insert(entry.cFileName);
    } while (FindNextFileA(search, &entry));
    FindClose(search);
    return names;
}

// Fails the third write of a save; the ones before it go through.
int g_writeCalls = 0;
BOOL WINAPI FailingThirdWrite(HANDLE file, LPCVOID data, DWORD size, LPDWORD written, LPOVERLAPPED overlapped)
{
    if (++g_writeCalls == 3) {
        *written = 0;
        SetLastError(ERROR_DISK_FULL);
        return FALSE;
    }
    return WriteFile(file, data, size, written, overlapped);
}

// Reports success but writes one byte less than asked, as a full disk may.
BOOL WINAPI ShortWrite(HANDLE file, LPCVOID data, DWORD size, LPDWORD written, LPOVERLAPPED overlapped)
{
    ++g_writeCalls;
    return WriteFile(file, data, size > 0 ? size - 1 : 0, written, overlapped);
}

class SaveAnswersTest : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        RegisterPlainWindowClass(HOST_CLASS);
    }

    void SetUp() override
    {
        g_quiz = &m_quiz;
        ClearRecordedMessages();
        g_writeCalls = 0;
    }

    void TearDown() override
    {
        SetAnswersWriter(nullptr);
        if (m_board)
            DestroyWindow(m_board);
        g_quiz = nullptr;
    }

    // A stand-in for the board holding only what the save reads: the answer boxes 4001 and up.
    void CreateBoard(int questions, int answersPerQuestion, const std::vector<std::string>& texts = {})
    {
        m_quiz.questionCount = questions;
        m_quiz.answersPerQuestion = answersPerQuestion;
        m_board = CreateWindowExA(0, HOST_CLASS, "", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr, nullptr,
                                  GetModuleHandle(nullptr), nullptr);
        for (int k = 1; k <= questions * answersPerQuestion; ++k) {
            const std::string text = k <= static_cast<int>(texts.size()) ? texts[k - 1] : "";
            CreateWindowExA(0, "edit", text.c_str(), WS_CHILD | ES_AUTOHSCROLL, 0, 0, 100, 20, m_board,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_ANSWER_BASE + k)),
                            GetModuleHandle(nullptr), nullptr);
        }
    }

    // After a save that must not have happened: the previous file whole, nothing else, no message.
    void ExpectPreviousFileKept()
    {
        EXPECT_EQ(ReadFileBytes(ANSWERS_FILE), PREVIOUS);
        EXPECT_EQ(FilesInCurrentDirectory(), std::set<std::string>{ANSWERS_FILE});
        EXPECT_TRUE(RecordedMessages().empty());
    }

    QuizData m_quiz;
    HWND m_board = nullptr;
};

TEST_F(SaveAnswersTest, EmptyBoxesInTheCurrentDirectory)
{
    ScopedTempDirectory directory;
    CreateBoard(7, 2);
    SaveAnswers(m_board);
    std::string expected;
    for (int line = 0; line < 14; ++line)
        expected += "\r\n";
    EXPECT_EQ(ReadFileBytes(ANSWERS_FILE), expected);
    EXPECT_EQ(expected.size(), 28u);
    EXPECT_EQ(FilesInCurrentDirectory(), std::set<std::string>{ANSWERS_FILE});

    // The current directory, not the program's folder.
    char module[MAX_PATH];
    GetModuleFileNameA(nullptr, module, MAX_PATH);
    std::string besideProgram = module;
    besideProgram = besideProgram.substr(0, besideProgram.find_last_of('\\') + 1) + ANSWERS_FILE;
    EXPECT_FALSE(FileExists(besideProgram));
}

TEST_F(SaveAnswersTest, OneLinePerBoxInIdOrder)
{
    const std::string longest(259, 'a');
    const std::string tooLong = std::string(259, 'b') + std::string(41, 'c');
    const struct {
        int questions;
        int answersPerQuestion;
        std::vector<std::string> texts;
        std::string expected;
    } cases[] = {
        {3, 1, {"Paris", "", "Rome"}, "Paris\r\n\r\nRome\r\n"},
        {2, 2, {"Tokyo", "Japon", "", "Kenya"}, "Tokyo\r\nJapon\r\n\r\nKenya\r\n"},
        {1,
         1,
         {"  Mus\xE9"
          "e d'Orsay "},
         "  Mus\xE9"
         "e d'Orsay \r\n"},
        {2, 1, {longest, tooLong}, longest + "\r\n" + std::string(259, 'b') + "\r\n"},
        {0, 1, {}, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.questions << " x " << c.answersPerQuestion);
        ScopedTempDirectory directory;
        WriteFileBytes(ANSWERS_FILE, PREVIOUS);
        CreateBoard(c.questions, c.answersPerQuestion, c.texts);
        SaveAnswers(m_board);
        EXPECT_EQ(ReadFileBytes(ANSWERS_FILE), c.expected);
        SaveAnswers(m_board);
        EXPECT_EQ(ReadFileBytes(ANSWERS_FILE), c.expected);
        EXPECT_EQ(FilesInCurrentDirectory(), std::set<std::string>{ANSWERS_FILE});
        DestroyWindow(m_board);
        m_board = nullptr;
    }
}

TEST_F(SaveAnswersTest, NoBoardSavesNothing)
{
    ScopedTempDirectory directory;
    m_quiz.questionCount = 3;
    SaveAnswers(nullptr);
    EXPECT_TRUE(FilesInCurrentDirectory().empty());
    WriteFileBytes(ANSWERS_FILE, PREVIOUS);
    SaveAnswers(nullptr);
    ExpectPreviousFileKept();
}

TEST_F(SaveAnswersTest, FileHeldOpenByAnotherProgramIsKept)
{
    ScopedTempDirectory directory;
    WriteFileBytes(ANSWERS_FILE, PREVIOUS);
    CreateBoard(2, 1, {"Lyon", "Nice"});
    {
        UniqueFile held(CreateFileA(ANSWERS_FILE, GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(held);
        SaveAnswers(m_board);
    }
    ExpectPreviousFileKept();
}

TEST_F(SaveAnswersTest, ReadOnlyFileIsKept)
{
    ScopedTempDirectory directory;
    WriteFileBytes(ANSWERS_FILE, PREVIOUS);
    ASSERT_TRUE(SetFileAttributesA(ANSWERS_FILE, FILE_ATTRIBUTE_READONLY));
    CreateBoard(2, 1, {"Lyon", "Nice"});
    SaveAnswers(m_board);
    SetFileAttributesA(ANSWERS_FILE, FILE_ATTRIBUTE_NORMAL);
    ExpectPreviousFileKept();
}

TEST_F(SaveAnswersTest, ReadOnlyDirectoryKeepsThePreviousFile)
{
    ScopedTempDirectory directory;
    WriteFileBytes(ANSWERS_FILE, PREVIOUS);
    ASSERT_TRUE(SetFileAttributesA(".", FILE_ATTRIBUTE_READONLY));
    {
        UniqueFile probe(
            CreateFileA("probe", GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_FLAG_DELETE_ON_CLOSE, nullptr));
        if (probe) {
            SetFileAttributesA(".", FILE_ATTRIBUTE_NORMAL);
            GTEST_SKIP() << "this platform lets the process write into a read-only directory";
        }
    }
    CreateBoard(2, 1, {"Lyon", "Nice"});
    SaveAnswers(m_board);
    SetFileAttributesA(".", FILE_ATTRIBUTE_NORMAL);
    ExpectPreviousFileKept();
}

TEST_F(SaveAnswersTest, FailedWriteKeepsThePreviousFileWhole)
{
    const struct {
        AnswersWriter writer;
        int callsMade; // the save stops at the first write that fails
    } cases[] = {{FailingThirdWrite, 3}, {ShortWrite, 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.callsMade);
        ScopedTempDirectory directory;
        WriteFileBytes(ANSWERS_FILE, PREVIOUS);
        CreateBoard(5, 1, {"un", "deux", "trois", "quatre", "cinq"});
        g_writeCalls = 0;
        SetAnswersWriter(c.writer);
        SaveAnswers(m_board);
        EXPECT_EQ(g_writeCalls, c.callsMade);
        ExpectPreviousFileKept();

        // The disk recovers: the next save goes through.
        SetAnswersWriter(nullptr);
        SaveAnswers(m_board);
        EXPECT_EQ(ReadFileBytes(ANSWERS_FILE), "un\r\ndeux\r\ntrois\r\nquatre\r\ncinq\r\n");
        DestroyWindow(m_board);
        m_board = nullptr;
    }
}

} // namespace
