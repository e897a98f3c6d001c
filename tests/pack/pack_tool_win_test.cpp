// Runs the real zelbo-pack.exe as a child process on quizzes written in a temporary folder, then
// opens what it wrote the way the player does.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "answers/grading.h"
#include "board/picture_win.h"
#include "content/content_format.h"
#include "content/content_loader_win.h"
#include "content/lzw.h"
#include "content/quiz_data_win.h"
#include "pack/cp1252.h"
#include "platform/win_raii.h"
#include "resource.h"
#include "win_test_support.h"

namespace {

struct ToolRun {
    DWORD exitCode;
    std::string out;
    std::string err;
};

std::string BuildFolder()
{
    char path[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path, length);
    folder.resize(folder.find_last_of("\\/")); // .../tests
    folder.resize(folder.find_last_of("\\/")); // the build folder
    return folder;
}

std::string AssetPath(const char* name)
{
    return BuildFolder() + "\\test-assets\\pack\\" + name;
}

// Runs the tool with these arguments in the current directory; its output goes through files.
ToolRun RunTool(const std::vector<std::string>& arguments)
{
    std::string commandLine = "\"" + BuildFolder() + "\\zelbo-pack.exe\"";
    for (const std::string& argument : arguments)
        commandLine += " \"" + argument + "\"";
    SECURITY_ATTRIBUTES inherit = {sizeof(inherit), nullptr, TRUE};
    const std::string outName = "tool-stdout.txt", errName = "tool-stderr.txt";
    ToolRun run{~0u, {}, {}};
    {
        UniqueFile out(
            CreateFileA(outName.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, 0, nullptr));
        UniqueFile err(
            CreateFileA(errName.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, 0, nullptr));
        STARTUPINFOA startup = {};
        startup.cb = sizeof(startup);
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
        startup.hStdOutput = out.Get();
        startup.hStdError = err.Get();
        PROCESS_INFORMATION process = {};
        if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process))
            return run;
        WaitForSingleObject(process.hProcess, 120000);
        GetExitCodeProcess(process.hProcess, &run.exitCode);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    run.out = ReadFileBytes(outName);
    run.err = ReadFileBytes(errName);
    DeleteFileA(outName.c_str());
    DeleteFileA(errName.c_str());
    return run;
}

std::string Describe(const ToolRun& run)
{
    return "exit " + std::to_string(run.exitCode) + "\nstdout:\n" + run.out + "stderr:\n" + run.err;
}

// The resources of a written quiz, opened as data like the player's own module.
class QuizModule {
public:
    explicit QuizModule(const std::string& path)
        : m_module(LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE))
    {
    }
    bool Loaded() const { return static_cast<bool>(m_module); }
    HMODULE Get() const { return m_module.Get(); }

    bool Has(const char* type, int id) const { return FindResourceA(m_module.Get(), MAKEINTRESOURCEA(id), type); }
    std::string Bytes(const char* type, int id) const
    {
        HRSRC found = FindResourceA(m_module.Get(), MAKEINTRESOURCEA(id), type);
        HGLOBAL loaded = found ? LoadResource(m_module.Get(), found) : nullptr;
        const char* data = loaded ? static_cast<const char*>(LockResource(loaded)) : nullptr;
        return data ? std::string(data, SizeofResource(m_module.Get(), found)) : std::string();
    }
    std::string Decoded(int id) const
    {
        const std::string stream = Bytes("PATCH", id);
        unsigned char* output = nullptr;
        int32_t length = 0;
        const int32_t result = LzwDecode(reinterpret_cast<const unsigned char*>(stream.data()),
                                         static_cast<int32_t>(stream.size()), &output, &length);
        std::string decoded =
            result == LZW_OK && output ? std::string(reinterpret_cast<char*>(output), length - 2) : "";
        std::free(output);
        return decoded;
    }

private:
    UniqueModule m_module;
};

SIZE PictureSizeOf(const std::string& bytes)
{
    SIZE size = {0, 0};
    UniqueBitmap bitmap(DecodePicture(bytes.data(), static_cast<DWORD>(bytes.size())));
    BITMAP info;
    if (bitmap && GetObject(bitmap.Get(), sizeof(info), &info))
        size = {info.bmWidth, info.bmHeight};
    return size;
}

bool IsJpeg(const std::string& bytes)
{
    return bytes.compare(0, 3, "\xFF\xD8\xFF") == 0;
}

// A picture quiz of four questions with two answers, every kind of picture input among them.
std::string PictureQuizSource()
{
    auto path = [](const char* name) {
        std::string p = AssetPath(name);
        for (char& c : p)
            if (c == '\\')
                c = '/';
        return "\"" + p + "\"";
    };
    return "title = \"Capitales d'\xC3\x89urope\"\n"
           "creator = \"Camille\"\n"
           "explanation = \"Trouvez la capitale.\"\n"
           "kind = \"picture\"\n"
           "answers_per_question = 2\n"
           "answer_labels = [\"Ville\", \"Pays\"]\n"
           "reveal = \"text+picture\"\n"
           "colour = \"#35CBA3\"\n"
           "codes = [\"BRONZE\", \"ARGENT\", \"OR\", \"PLATINE\"]\n"
           "[[question]]\nanswers = [\"Paris\", \"France\"]\npicture = " +
           path("small.jpg") + "\nreveal_text = \"La Ville Lumi\xC3\xA8re\"\nanswer_picture = " + path("alpha.png") +
           "\n[[question]]\nanswers = [\"Rome\", \"Italie\"]\npicture = " + path("large.jpg") +
           "\n[[question]]\nanswers = [\"Oslo\", \"Norv\xC3\xA8ge\"]\npicture = " + path("flag.gif") +
           "\nanswer_picture = " + path("large.png") +
           "\n[[question]]\nanswers = [\"Berne\", \"Suisse\"]\npicture = " + path("tile.bmp") + "\n";
}

bool HasStrayFiles(const std::string& folder)
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\zpk*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return false;
    FindClose(search);
    return true;
}

} // namespace

TEST(PackTool, BuiltQuizCarriesContentCodesPicturesAndThePlayersResources)
{
    ScopedTempDirectory folder;
    WriteFileBytes("quiz.toml", PictureQuizSource());
    const ToolRun run = RunTool({"build", "quiz.toml", "-o", "quiz.exe", "--player", BuildFolder() + "\\zelbo.exe"});
    ASSERT_EQ(run.exitCode, 0u) << Describe(run);
    EXPECT_NE(run.out.find("Image 2/6 : "), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("1600 \xC3\x97 1000 \xE2\x86\x92 520 \xC3\x97 325"), std::string::npos) << run.out;

    QuizModule quiz("quiz.exe");
    ASSERT_TRUE(quiz.Loaded());
    auto content = std::make_unique<QuizContent>();
    const std::string decoded = quiz.Decoded(IDR_CONTENT);
    ASSERT_EQ(ParseQuizContent(reinterpret_cast<const unsigned char*>(decoded.data()), decoded.size(), content.get()),
              CONTENT_OK);
    EXPECT_STREQ(content->title, "Capitales d'\xC9urope");
    EXPECT_EQ(content->mediaKind, MEDIA_PICTURE);
    EXPECT_EQ(content->questionCount, 4);
    EXPECT_EQ(content->answersPerQuestion, 2);
    EXPECT_STREQ(content->answerLabel2, "Pays");
    EXPECT_STREQ(content->questions[2].answer2, "Norv\xE8ge");
    EXPECT_STREQ(content->questions[0].revealText, "La Ville Lumi\xE8re");
    EXPECT_EQ(content->revealMode, REVEAL_TEXT_AND_PICTURE);
    EXPECT_EQ(content->red, 0x35);
    EXPECT_EQ(content->blue, 0xA3);
    EXPECT_EQ(quiz.Decoded(IDR_CODES), "BRONZE\r\nARGENT\r\nOR\r\nPLATINE\r\n");

    // Pictures the player reads are stored byte for byte; the rest become JPEG of at most 520.
    EXPECT_EQ(quiz.Bytes("IMG", 401), ReadFileBytes(AssetPath("small.jpg")));
    EXPECT_EQ(quiz.Bytes("IMG", 403), ReadFileBytes(AssetPath("flag.gif")));
    EXPECT_EQ(quiz.Bytes("IMG", 404), ReadFileBytes(AssetPath("tile.bmp")));
    struct Converted {
        int id;
        LONG width, height;
    } converted[] = {{10401, 120, 90}, {402, 520, 325}, {10403, 520, 222}};
    for (const Converted& c : converted) {
        const std::string bytes = quiz.Bytes("IMG", c.id);
        EXPECT_TRUE(IsJpeg(bytes)) << c.id;
        const SIZE size = PictureSizeOf(bytes);
        EXPECT_EQ(size.cx, c.width) << c.id;
        EXPECT_EQ(size.cy, c.height) << c.id;
    }
    EXPECT_FALSE(quiz.Has("IMG", 10402));

    // The player's own resources came along.
    EXPECT_TRUE(FindResourceA(quiz.Get(), MAKEINTRESOURCEA(IDD_QUESTION_BOARD), MAKEINTRESOURCEA(5)));
    EXPECT_TRUE(FindResourceA(quiz.Get(), MAKEINTRESOURCEA(IDD_HEADER_PANEL), MAKEINTRESOURCEA(5)));
    EXPECT_TRUE(FindResourceA(quiz.Get(), MAKEINTRESOURCEA(IDI_ZELBO), MAKEINTRESOURCEA(14)));
    EXPECT_TRUE(FindResourceA(quiz.Get(), MAKEINTRESOURCEA(IDI_PLAY), MAKEINTRESOURCEA(14)));
    EXPECT_TRUE(FindResourceA(quiz.Get(), MAKEINTRESOURCEA(IDR_LINK_CURSOR), MAKEINTRESOURCEA(12)));
    EXPECT_TRUE(FindResourceA(quiz.Get(), MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24)));
    EXPECT_TRUE(FindResourceA(quiz.Get(), MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(16)));
    EXPECT_FALSE(HasStrayFiles(folder.Path()));
}

TEST(PackTool, KeepPicturesStoresLargePicturesAsGivenButStillConvertsPng)
{
    ScopedTempDirectory folder;
    WriteFileBytes("quiz.toml", PictureQuizSource());
    const ToolRun run =
        RunTool({"build", "quiz.toml", "-o", "quiz.exe", "--player", BuildFolder() + "\\zelbo.exe", "--keep-pictures"});
    ASSERT_EQ(run.exitCode, 0u) << Describe(run);
    QuizModule quiz("quiz.exe");
    EXPECT_EQ(quiz.Bytes("IMG", 402), ReadFileBytes(AssetPath("large.jpg")));
    const std::string png = quiz.Bytes("IMG", 10403);
    EXPECT_TRUE(IsJpeg(png));
    EXPECT_EQ(PictureSizeOf(png).cx, 700);
}

TEST(PackTool, OneWorkerOrSeveralWriteTheSameQuiz)
{
    ScopedTempDirectory folder;
    WriteFileBytes("quiz.toml", PictureQuizSource());
    const std::string player = BuildFolder() + "\\zelbo.exe";
    const ToolRun one = RunTool({"build", "quiz.toml", "-o", "a.exe", "--player", player, "--jobs", "1"});
    const ToolRun four = RunTool({"build", "quiz.toml", "-o", "b.exe", "--player", player, "--jobs", "4"});
    ASSERT_EQ(one.exitCode, 0u) << Describe(one);
    EXPECT_EQ(ReadFileBytes("a.exe"), ReadFileBytes("b.exe"));
    // The same progress, picture by picture, in question order.
    EXPECT_EQ(one.out.substr(0, one.out.find("Quiz")), four.out.substr(0, four.out.find("Quiz")));
}

TEST(PackTool, ExtractedSourceBuildsTheSameQuiz)
{
    ScopedTempDirectory folder;
    WriteFileBytes("quiz.toml", PictureQuizSource());
    const std::string player = BuildFolder() + "\\zelbo.exe";
    ASSERT_EQ(RunTool({"build", "quiz.toml", "-o", "first.exe", "--player", player}).exitCode, 0u);
    const ToolRun extract = RunTool({"extract", "first.exe", "-o", "extrait"});
    ASSERT_EQ(extract.exitCode, 0u) << Describe(extract);
    EXPECT_TRUE(FileExists("extrait\\quiz.toml"));
    const ToolRun rebuild = RunTool({"build", "extrait\\quiz.toml", "-o", "second.exe", "--player", player});
    ASSERT_EQ(rebuild.exitCode, 0u) << Describe(rebuild);
    EXPECT_EQ(rebuild.err, ""); // the extracted source gives no warning either

    QuizModule first("first.exe"), second("second.exe");
    ASSERT_TRUE(first.Loaded() && second.Loaded());
    for (int id : {IDR_CONTENT, IDR_CODES}) {
        EXPECT_FALSE(first.Bytes("PATCH", id).empty());
        EXPECT_EQ(first.Bytes("PATCH", id), second.Bytes("PATCH", id)) << id;
    }
    for (int q = 1; q <= 5; ++q) {
        for (int id : {IDR_QUESTION_PICTURE_BASE + q, IDR_ANSWER_PICTURE_BASE + q}) {
            EXPECT_EQ(first.Has("IMG", id), second.Has("IMG", id)) << id;
            EXPECT_EQ(first.Bytes("IMG", id), second.Bytes("IMG", id)) << id;
        }
    }
}

TEST(PackTool, BadInputsAreReportedWithTheirLineAndLeaveNothingBehind)
{
    auto asset = [](const char* name) {
        std::string p = AssetPath(name);
        for (char& c : p)
            if (c == '\\')
                c = '/';
        return "\"" + p + "\"";
    };
    const std::string header = "title = \"t\"\ncodes = [\"A\"]\n";
    struct Case {
        std::string source;
        std::string fragment;
    } cases[] = {
        {header + "kind = \"picture\"\n[[question]]\nanswers = [\"a\"]\npicture = \"absent.jpg\"\n",
         "quiz.toml:6: erreur : fichier introuvable"},
        {header + "kind = \"picture\"\n[[question]]\nanswers = [\"a\"]\npicture = " + asset("not-a-picture.jpg") + "\n",
         "quiz.toml:6: erreur : "},
        {header + "kind = \"audio\"\n[[question]]\nanswers = [\"a\"]\npicture = " + asset("small.jpg") + "\n",
         "quiz.toml:6: erreur : "},
        {header + "kind = \"video\"\n[[question]]\nanswers = [\"a\"]\npicture = " + asset("small.jpg") + "\n",
         "n'est pas une vid\xC3\xA9o AVI"},
        {header + "kind = \"text\"\n[[question]]\nanswers = [\"a|b\"]\ntext = \"t\"\n", "quiz.toml:5: erreur : "},
    };
    for (const Case& c : cases) {
        ScopedTempDirectory folder;
        WriteFileBytes("quiz.toml", c.source);
        WriteFileBytes("quiz.exe", "previous");
        const ToolRun check = RunTool({"check", "quiz.toml"});
        EXPECT_NE(check.exitCode, 0u) << c.source;
        EXPECT_NE(check.err.find(c.fragment), std::string::npos) << Describe(check);
        const ToolRun build =
            RunTool({"build", "quiz.toml", "-o", "quiz.exe", "--player", BuildFolder() + "\\zelbo.exe"});
        EXPECT_NE(build.exitCode, 0u);
        EXPECT_EQ(ReadFileBytes("quiz.exe"), "previous");
        EXPECT_FALSE(HasStrayFiles(folder.Path()));
    }
}

TEST(PackTool, ClipsAreCheckedByTheirFirstBytes)
{
    ScopedTempDirectory folder;
    WriteFileBytes("clip.mp3", std::string("ID3\x03\0\0\0\0\0\0", 10) + std::string(64, '\0'));
    WriteFileBytes("clip.avi", std::string("RIFF\x40\0\0\0AVI LIST", 16) + std::string(64, '\0'));
    for (const char* kind : {"audio", "video"}) {
        const bool audio = std::strcmp(kind, "audio") == 0;
        WriteFileBytes("quiz.toml", std::string("title = \"t\"\nkind = \"") + kind +
                                        "\"\ncodes = [\"A\"]\n[[question]]\nanswers = [\"a\"]\npicture = \"" +
                                        (audio ? "clip.mp3" : "clip.avi") + "\"\n");
        const ToolRun run =
            RunTool({"build", "quiz.toml", "-o", "quiz.exe", "--player", BuildFolder() + "\\zelbo.exe"});
        ASSERT_EQ(run.exitCode, 0u) << Describe(run);
        EXPECT_NE(run.out.find("Clip 1/1 : "), std::string::npos) << run.out;
        QuizModule quiz("quiz.exe");
        EXPECT_EQ(quiz.Bytes("IMG", 401), ReadFileBytes(audio ? "clip.mp3" : "clip.avi")) << kind;
    }
}

TEST(PackTool, GradeAgreesWithThePlayersGrading)
{
    ScopedTempDirectory folder;
    // Expected and typed, in code page 1252 as the player holds them.
    const char* pairs[][2] = {
        {"Paris", "  paris "},
        {"Paris", "   "},
        {"Paris", "Prais"},
        {"Paris", "Pari"},
        {"Paris", "Pxrxs"},
        {"Paris", "Paris France"},
        {"Grand Canal", "nd Canal"},
        {"Grand Canal", "d Canal"},
        {"Grand Canal", "Canal"},
        {"Ecole", "\xC9"
                  "cole"},
        {"Pomme-de-terre nouvelle", "Pomme de terre nouvele"},
        {"\x9C"
         "uf",
         "\x8C"
         "UF"},
        {"Le Chat", "chat le"},
        {"ABAC", "XABABACX"},
    };
    std::string table, expected;
    for (auto& pair : pairs) {
        table += Cp1252ToUtf8(pair[0]) + "\t" + Cp1252ToUtf8(pair[1]) + "\r\n";
        expected += Cp1252ToUtf8(GradeAnswer(pair[0], pair[1])) + "\n";
    }
    WriteFileBytes("cas.tsv", table);
    const ToolRun run = RunTool({"grade", "--tsv", "cas.tsv"});
    ASSERT_EQ(run.exitCode, 0u) << Describe(run);
    EXPECT_EQ(run.out, expected);

    const ToolRun one = RunTool({"grade", "Pomme-de-terre nouvelle", "Pomme de terre nouvele"});
    EXPECT_EQ(one.out, "y a de l'id\xC3\xA9"
                       "e\n");
    // Accented arguments reach the tool as wide characters and are graded in code page 1252.
    EXPECT_EQ(RunTool({"grade", "\xC9t\xE9", "\xE9t\xE9"}).out, "Quasiment\n");
    EXPECT_EQ(RunTool({"grade", "\xC9t\xE9", "  \xC9T\xE9 "}).out, "BRAVO\n");

    WriteFileBytes("faux.tsv", "a\tb\nc\t\xE2\x89\xA0\n");
    const ToolRun bad = RunTool({"grade", "--tsv", "faux.tsv"});
    EXPECT_NE(bad.exitCode, 0u);
    EXPECT_NE(bad.err.find("ligne 2"), std::string::npos) << bad.err;
}

TEST(PackTool, CodecOnFiles)
{
    ScopedTempDirectory folder;
    std::string input;
    for (int i = 0; i < 5000; ++i)
        input += static_cast<char>("Zelbo quiz |"[i % 12] + i / 700);
    WriteFileBytes("plain.bin", input);
    ASSERT_EQ(RunTool({"encode", "plain.bin", "packed.lzw"}).exitCode, 0u);
    ASSERT_EQ(RunTool({"decode", "packed.lzw", "back.bin"}).exitCode, 0u);
    EXPECT_EQ(ReadFileBytes("back.bin"), input);

    // A cut stream: what was decoded is still written, and the failure is named.
    const std::string packed = ReadFileBytes("packed.lzw");
    WriteFileBytes("cut.lzw", packed.substr(0, packed.size() / 2));
    const ToolRun cut = RunTool({"decode", "cut.lzw", "partial.bin"});
    EXPECT_NE(cut.exitCode, 0u);
    EXPECT_NE(cut.err.find("LZW_INPUT_EXHAUSTED"), std::string::npos) << cut.err;
    const std::string partial = ReadFileBytes("partial.bin");
    EXPECT_GT(partial.size(), 0u);
    EXPECT_EQ(partial, input.substr(0, partial.size()));

    WriteFileBytes("empty.bin", "");
    const ToolRun empty = RunTool({"encode", "empty.bin", "x.lzw"});
    EXPECT_NE(empty.exitCode, 0u);
    EXPECT_NE(empty.err.find("LZW_INPUT_EXHAUSTED"), std::string::npos) << empty.err;
}

TEST(PackTool, HelpAndUsageMistakes)
{
    ScopedTempDirectory folder;
    const ToolRun help = RunTool({"--help"});
    EXPECT_EQ(help.exitCode, 0u);
    EXPECT_NE(help.out.find("v\xC3\xA9rifie une source"), std::string::npos) << help.out;
    const ToolRun buildHelp = RunTool({"build", "--help"});
    EXPECT_EQ(buildHelp.exitCode, 0u);
    EXPECT_NE(buildHelp.out.find("--keep-pictures"), std::string::npos);
    EXPECT_EQ(buildHelp.out.find('\r'), std::string::npos); // binary output: no CR added
    const ToolRun wrong = RunTool({"build", "quiz.toml"});
    EXPECT_NE(wrong.exitCode, 0u);
    EXPECT_NE(wrong.err.find("-o"), std::string::npos);
    const ToolRun missingPlayer = RunTool({"extract", "absent.exe", "-o", "d"});
    EXPECT_NE(missingPlayer.exitCode, 0u);
    EXPECT_NE(missingPlayer.err.find("absent.exe"), std::string::npos);
}

// The demo quiz of the examples, built as a quiz maker would and opened by the player's own loader.
TEST(PackTool, DemoQuizBuildsAndLoadsInThePlayer)
{
    ScopedTempDirectory folder;
    const std::string demoSource = BuildFolder() + "\\test-assets\\demo\\quiz.toml";
    const ToolRun run = RunTool({"build", demoSource, "-o", "demo.exe", "--player", BuildFolder() + "\\zelbo.exe"});
    ASSERT_EQ(run.exitCode, 0u) << Describe(run);
    EXPECT_EQ(run.err, "") << "the demo builds without warnings";

    QuizModule module("demo.exe");
    ASSERT_TRUE(module.Loaded());
    ClearRecordedMessages();
    QuizData quiz;
    LoadContentFromModule(quiz, module.Get());
    EXPECT_TRUE(RecordedMessages().empty());

    EXPECT_STREQ(quiz.title, "Capitales d'Europe");
    EXPECT_EQ(quiz.mediaKind, MEDIA_PICTURE);
    EXPECT_EQ(quiz.answersPerQuestion, 2);
    EXPECT_EQ(quiz.revealMode, REVEAL_TEXT_AND_PICTURE);
    EXPECT_STREQ(quiz.answerLabel1, "Ville");
    EXPECT_STREQ(quiz.answerLabel2, "Pays");
    ASSERT_GE(quiz.questionCount, 12);
    ASSERT_NE(quiz.QuestionAt(0), nullptr);
    EXPECT_STREQ(quiz.QuestionAt(0)->answer1, "Paris");
    EXPECT_STREQ(quiz.QuestionAt(0)->answer2, "France");
    EXPECT_STREQ(quiz.QuestionAt(0)->revealText, "La tour Eiffel y mesure 330 m\xE8tres.");
    EXPECT_STREQ(quiz.codes[0], "\xC9" "CLAIREUR");
    EXPECT_EQ(quiz.backgroundColor, RGB(0x2A, 0x6F, 0xB0));

    // Every question has its distinct node, its picture and its answer picture, all readable.
    for (int q = 1; q <= quiz.questionCount; ++q) {
        SCOPED_TRACE(q);
        EXPECT_STRNE(quiz.QuestionAt(q - 1)->answer1, "");
        if (q > 1) {
            EXPECT_NE(quiz.QuestionAt(q - 1), quiz.QuestionAt(q - 2));
        }
        for (int id : {IDR_QUESTION_PICTURE_BASE + q, IDR_ANSWER_PICTURE_BASE + q}) {
            UniqueBitmap picture(LoadScaledPicture(module.Get(), id, "IMG", PICTURE_BOX_SIZE, PICTURE_BOX_SIZE));
            EXPECT_TRUE(picture) << id;
        }
    }
}
