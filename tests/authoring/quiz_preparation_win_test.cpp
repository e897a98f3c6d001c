// The authoring library as an editor calls it, beside zelbo-pack.exe run on the same files: the same
// problems and bytes, with the places, the progress and the cancelling that the command line leaves
// unseen.
#include <gtest/gtest.h>

#include <atomic>
#include <string>

#include "authoring/quiz_build_win.h"
#include "authoring/quiz_extraction_win.h"
#include "authoring/resources_win.h"
#include "platform/win_raii.h"
#include "win_test_support.h"

namespace {

// Files held by another program, as antivirus software holds a new executable: the copy of the
// player fails to open this many more times. The waits between tries are written down, not waited.
int g_heldOpenings = 0;
std::string g_waits;

const HeldFileCalls HELD_CALLS = {[](LPCWSTR file, BOOL deleteExisting) -> HANDLE {
                                      if (g_heldOpenings-- > 0) {
                                          SetLastError(ERROR_SHARING_VIOLATION);
                                          return nullptr;
                                      }
                                      return BeginUpdateResourceW(file, deleteExisting);
                                  },
                                  EndUpdateResourceW, MoveFileExW,
                                  [](DWORD milliseconds) { g_waits += std::to_string(milliseconds) + " "; }};

} // namespace

TEST(AuthoringLibrary, ChecksAndBuildsAsTheToolDoesWithPlacesProgressCacheAndCancel)
{
    ScopedTempDirectory folder;
    CreateDirectoryA("images", nullptr);
    CopyFileA((BuildFolder() + "\\test-assets\\pack\\small.jpg").c_str(), "images\\carre.jpg", FALSE);
    CopyFileA((BuildFolder() + "\\test-assets\\pack\\alpha.png").c_str(), "images\\alpha.png", FALSE);
    WriteFileBytes("images\\faux.jpg", "pas une image");
    // Lines 1 to 11: a title the header cuts, a missing answer picture, an empty answer, no picture.
    const std::string faulty = "title = \"Capitales d'Europe, d'Asie et d'Afrique du Nord\"\nkind = \"picture\"\n"
                               "answers_per_question = 1\nreveal = \"picture\"\n[[question]]\nanswers = [\"Paris\"]\n"
                               "picture = \"images/carre.jpg\"\nanswer_picture = \"images/absent.jpg\"\n"
                               "[[question]]\nanswers = [\"\"]\npicture = \"images/faux.jpg\"\n";
    WriteFileBytes("faulty.toml", faulty);
    const ToolRun checked = RunTool("check faulty.toml");
    MediaCheckCache cache;
    std::string lines;
    const MediaProgress progress = [&lines](size_t done, size_t total, const std::string& line) {
        lines += std::to_string(done) + "/" + std::to_string(total) + " " + line + "\n";
    };
    const QuizCheck check = CheckQuizSource(faulty, "", {}, progress, nullptr, &cache);
    std::string printed, places;
    for (const Diagnostic& diagnostic : check.diagnostics) {
        printed += FormatDiagnostic("faulty.toml", diagnostic) + "\n";
        places += std::to_string(diagnostic.place.question) + "." + std::to_string(int(diagnostic.place.field)) + " ";
    }
    EXPECT_EQ(printed + "faulty.toml : 3 erreurs\n", checked.err);
    EXPECT_EQ(places, "0.1 1.14 2.10 2.12 "); // the title, an answer picture, an answer, a picture
    EXPECT_EQ(lines, "1/3 " + checked.out + "2/3 \n3/3 \n");
    // 4 bytes of header, 5 fields of settings, 2 per question, the reveal mode and the colour.
    EXPECT_EQ(check.contentSize, 69u);

    // Its size and time of last write kept, a picture is taken as the cache saw it; written, it is read.
    FILETIME written;
    UniqueFile carre(CreateFileA("images\\carre.jpg", GENERIC_READ | FILE_WRITE_ATTRIBUTES,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr));
    GetFileTime(carre.Get(), nullptr, nullptr, &written);
    WriteFileBytes("images\\carre.jpg", std::string(ReadFileBytes("images\\carre.jpg").size(), 'x'));
    SetFileTime(carre.Get(), nullptr, nullptr, &written);
    EXPECT_EQ(CheckQuizSource(faulty, "", {}, progress, nullptr, &cache).errors, 3u);
    carre.Reset();
    WriteFileBytes("images\\carre.jpg", ReadFileBytes("images\\carre.jpg"));
    EXPECT_EQ(CheckQuizSource(faulty, "", {}, progress, nullptr, &cache).errors, 4u);

    // A build writes the tool's bytes, reporting each picture as the tool prints it, or nothing at all.
    WriteFileBytes("quiz.toml", "title = \"\u00C9coute\"\nkind = \"picture\"\n[[question]]\nanswers = [\"a\"]\n"
                                "picture = \"images/alpha.png\"\n");
    const std::string player = BuildFolder() + "\\zelbo.exe";
    const std::filesystem::path playerPath = std::filesystem::u8path(player);
    const ToolRun built = RunTool("build quiz.toml -o tool.exe --player " + player);
    std::atomic<bool> cancel(false);
    lines.clear();
    const HeldFileCalls platformCalls = SetHeldFileCalls(HELD_CALLS);
    g_heldOpenings = 2;
    const QuizBuild build = BuildQuiz("quiz.toml", playerPath, "library.exe", {}, progress, &cancel);
    ASSERT_EQ(build.outcome, BuildOutcome::WRITTEN) << build.error;
    EXPECT_EQ(g_waits, "100 200 ");
    EXPECT_EQ(ReadFileBytes("library.exe"), ReadFileBytes("tool.exe"));
    // A quiz still running (its file shared for reading only) is not replaced, after a few seconds of
    // tries; nothing is left beside it.
    g_waits.clear();
    UniqueFile running(CreateFileA("library.exe", GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    const QuizBuild held = BuildQuiz("quiz.toml", playerPath, "library.exe", {}, nullptr, nullptr);
    running.Reset();
    SetHeldFileCalls(platformCalls);
    EXPECT_EQ(held.error,
              "impossible de remplacer library.exe : le fichier library.exe reste ouvert dans un autre "
              "programme (le quiz, s'il est lanc\u00E9, ou un antivirus qui l'examine) : fermez le quiz s'il "
              "est ouvert, puis recommencez ; library.exe n'a pas \u00E9t\u00E9 modifi\u00E9");
    EXPECT_EQ(g_waits, "100 200 400 800 1600 ");
    EXPECT_EQ(ReadFileBytes("library.exe"), ReadFileBytes("tool.exe"));
    EXPECT_EQ(FilesHere(), "faulty.toml library.exe quiz.toml tool.exe");
    EXPECT_EQ(lines + "Quiz \u00E9crit : tool.exe (" + CheckSummary(build.check) + ")\n", "1/1 " + built.out);
    cancel = true;
    EXPECT_EQ(BuildQuiz("quiz.toml", playerPath, "stopped.exe", {}, progress, &cancel).outcome,
              BuildOutcome::CANCELLED);
    EXPECT_EQ(GetFileAttributesA("stopped.exe"), INVALID_FILE_ATTRIBUTES);

    const QuizExtraction extraction = ExtractQuiz("library.exe", "source", false);
    EXPECT_EQ(extraction.quiz.title + " " + extraction.quiz.questions[0].picture, "\u00C9coute medias/question-01.jpg");
}
