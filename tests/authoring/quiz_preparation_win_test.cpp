// The authoring library as an editor calls it, beside zelbo-pack.exe run on the same files: the same
// problems and bytes, with the places, the progress and the cancelling that the command line leaves
// unseen.
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <vector>

#include "authoring/quiz_build_win.h"
#include "authoring/quiz_extraction_win.h"
#include "platform/win_raii.h"
#include "win_test_support.h"

namespace {

// Lines 1 to 11: a title the header cuts, a missing answer picture, an empty answer, no picture.
const std::string FAULTY = "title = \"Capitales d'Europe, d'Asie et d'Afrique du Nord\"\nkind = \"picture\"\n"
                           "answers_per_question = 1\nreveal = \"picture\"\n[[question]]\nanswers = [\"Paris\"]\n"
                           "picture = \"images/carre.jpg\"\nanswer_picture = \"images/absent.jpg\"\n[[question]]\n"
                           "answers = [\"\"]\npicture = \"images/faux.jpg\"\n";

void WritePictures()
{
    CreateDirectoryA("images", nullptr);
    CopyFileA((BuildFolder() + "\\test-assets\\pack\\small.jpg").c_str(), "images\\carre.jpg", FALSE);
    CopyFileA((BuildFolder() + "\\test-assets\\pack\\alpha.png").c_str(), "images\\alpha.png", FALSE);
    WriteFileBytes("images\\faux.jpg", "pas une image");
}

// A file rewritten with other bytes of the same size, its time of last write kept.
void ReplaceKeepingStamp(const char* path, char fill)
{
    FILETIME written;
    UniqueFile file(CreateFileA(path, GENERIC_READ | FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, 0, nullptr));
    GetFileTime(file.Get(), nullptr, nullptr, &written);
    WriteFileBytes(path, std::string(ReadFileBytes(path).size(), fill));
    SetFileTime(file.Get(), nullptr, nullptr, &written);
}

} // namespace

TEST(AuthoringLibrary, ChecksASourceHeldInMemoryAsCheckDoesAndDecodesOnlyFilesThatChanged)
{
    ScopedTempDirectory folder;
    WritePictures();
    WriteFileBytes("quiz.toml", FAULTY);
    const ToolRun tool = RunTool("check quiz.toml");
    MediaCheckCache cache;
    std::string progress;
    auto check = [&] {
        progress.clear();
        return CheckQuizSource(
            FAULTY, "", {},
            [&](size_t done, size_t total, const std::string& line) {
                progress += std::to_string(done) + "/" + std::to_string(total) + " " + line + "\n";
            },
            nullptr, &cache);
    };
    const QuizCheck first = check();
    std::string printed, places;
    for (const Diagnostic& diagnostic : first.diagnostics) {
        printed += FormatDiagnostic("quiz.toml", diagnostic) + "\n";
        places += std::to_string(diagnostic.place.question) + "." + std::to_string(int(diagnostic.place.field)) + " ";
    }
    EXPECT_EQ(printed + "quiz.toml : 3 erreurs\n", tool.err);
    EXPECT_EQ(places, "0.1 1.14 2.10 2.12 "); // the title, an answer picture, an answer, a picture
    EXPECT_EQ(progress, "1/3 " + tool.out + "2/3 \n3/3 \n");
    // 4 bytes of header, 5 fields of settings, 2 per question, the reveal mode and the colour.
    EXPECT_EQ(first.contentSize, 69u);

    // Its size and time unchanged, a picture is taken as the cache saw it; touched, it is read again.
    ReplaceKeepingStamp("images\\carre.jpg", 'x');
    EXPECT_EQ(check().errors, 3u);
    EXPECT_EQ(progress.substr(0, 6), "1/3 Im");
    WriteFileBytes("images\\carre.jpg", ReadFileBytes("images\\carre.jpg"));
    EXPECT_EQ(check().errors, 4u);
}

TEST(AuthoringLibrary, BuildsTheBytesOfBuildReportingEachPictureUnlessCancelledAndExtractsThem)
{
    ScopedTempDirectory folder;
    WritePictures();
    WriteFileBytes("quiz.toml", "title = \"\u00C9coute\"\nkind = \"picture\"\n[[question]]\nanswers = [\"a\"]\n"
                                "picture = \"images/carre.jpg\"\n[[question]]\nanswers = [\"b\"]\n"
                                "picture = \"images/alpha.png\"\n");
    const std::string player = BuildFolder() + "\\zelbo.exe";
    const ToolRun tool = RunTool("build quiz.toml -o tool.exe --player " + player);
    std::string lines;
    std::atomic<bool> cancel(false);
    const auto build = [&](const char* output) {
        return BuildQuiz(
            "quiz.toml", std::filesystem::u8path(player), output, {},
            [&](size_t, size_t, const std::string& line) { lines += line + "\n"; }, &cancel);
    };
    const QuizBuild built = build("library.exe");
    ASSERT_EQ(built.outcome, BuildOutcome::WRITTEN) << built.error;
    EXPECT_EQ(ReadFileBytes("library.exe"), ReadFileBytes("tool.exe"));
    EXPECT_EQ(lines + "Quiz \u00E9crit : tool.exe (" + CheckSummary(built.check) + ")\n", tool.out);
    cancel = true;
    EXPECT_EQ(build("cancelled.exe").outcome, BuildOutcome::CANCELLED);
    EXPECT_EQ(GetFileAttributesA("cancelled.exe"), INVALID_FILE_ATTRIBUTES);

    const QuizExtraction extraction = ExtractQuiz("library.exe", "source", false);
    ASSERT_TRUE(extraction.ok) << extraction.error;
    EXPECT_EQ(extraction.quiz.title + " " + extraction.quiz.questions[1].picture + " " +
                  std::to_string(extraction.filesWritten),
              "\u00C9coute medias/question-02.jpg 2");
}
