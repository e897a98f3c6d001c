// The real zelbo-pack.exe run as a quiz maker runs it, as a child process in a temporary folder: its
// messages and exit status, the files on disk before and after, and the quizzes it writes opened the
// way the player opens itself.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <sstream>
#include <string>
#include <vector>

#include "authoring/quiz_build_win.h"
#include "authoring/quiz_extraction_win.h"
#include "authoring/resources_win.h"
#include "board/picture_win.h"
#include "content/accepted_answers.h"
#include "content/content_loader_win.h"
#include "content/lzw.h"
#include "pack/console_win.h"
#include "pack/pack_tool_win.h"
#include "platform/win_raii.h"
#include "resource.h"
#include "win_test_support.h"

namespace {

// Each argument quoted; a build takes its copy of the player from the build folder.
ToolRun RunTool(std::vector<std::string> arguments)
{
    if (arguments[0] == "build" && arguments.size() > 2)
        arguments.insert(arguments.end(), {"--player", BuildFolder() + "\\zelbo.exe"});
    std::string commandLine;
    for (const std::string& argument : arguments)
        commandLine += " \"" + argument + "\"";
    return ::RunTool(commandLine);
}

// A written quiz, or any module, opened as data the way the player reads its own resources.
UniqueModule Open(const std::string& path)
{
    return UniqueModule(LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
}

std::string Asset(const char* name)
{
    std::string path = BuildFolder() + "/test-assets/pack/" + name;
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
}

// A picture's size as the player reads it from its header, and whether it is a JPEG.
std::string Picture(const std::string& bytes)
{
    const PictureHeader header = ReadPictureHeader(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    return std::to_string(header.width) + "x" + std::to_string(header.height) +
           (header.format == PictureFormat::JPEG ? " JPEG" : "");
}

// What the player's loader reads from a module (messages in g_recordedMessages): title, kind,
// questions x answers, reveal mode, captions, the first question, the first three codes, colour.
std::string Loaded(HMODULE module)
{
    g_recordedMessages.clear();
    QuizData quiz;
    LoadContentFromModule(quiz, module);
    static const QuestionNode none = {};
    const QuestionNode& first = quiz.QuestionAt(0) ? *quiz.QuestionAt(0) : none;
    char summary[2048];
    wsprintfA(summary, "%s|%d %dx%d %d|%s/%s|%s/%s %s|%s/%s/%s|%06x", quiz.title, quiz.mediaKind, quiz.questionCount,
              quiz.answersPerQuestion, quiz.revealMode, quiz.answerLabel1, quiz.answerLabel2, first.answer1,
              first.answer2, first.revealText, quiz.codes[0], quiz.codes[1], quiz.codes[2], quiz.backgroundColor);
    return summary;
}

struct File {
    std::string path; // "\" between folders, made as needed
    std::string bytes;
    bool readOnly = false;
};

void Write(const File& file)
{
    for (size_t slash = file.path.find('\\'); slash != std::string::npos; slash = file.path.find('\\', slash + 1))
        CreateDirectoryA(file.path.substr(0, slash).c_str(), nullptr);
    WriteFileBytes(file.path, file.bytes);
    if (file.readOnly)
        SetFileAttributesA(file.path.c_str(), FILE_ATTRIBUTE_READONLY);
}

// One run: its arguments, exit status and the fragments its output holds in this order ("|"
// between them); the files written before it, which it must leave as they were; a text not shown.
struct Case {
    std::string arguments;
    int exitCode;
    std::string fragments;
    std::vector<File> files;
    std::string absent;
};

Case Expect(const std::string& arguments, int exitCode, const std::string& fragments,
            const std::vector<File>& files = {}, const std::string& absent = "")
{
    return {arguments, exitCode, fragments, files, absent};
}

const std::string QUIZ = "title = \"Quiz\"\nkind = \"picture\"\n[[question]]\nanswers = [\"a\"]\n";
const std::string CARRE = "picture = \"images/carre.jpg\"\n";

// Files held by another program, as antivirus software holds a new executable: the copy of the
// player fails to open this many more times. The waits between tries are written down, not waited.
int g_heldOpenings = 0;
std::string g_waits;

HANDLE WINAPI HeldBeginUpdate(LPCWSTR file, BOOL deleteExisting)
{
    if (g_heldOpenings-- > 0) {
        SetLastError(ERROR_SHARING_VIOLATION);
        return nullptr;
    }
    return BeginUpdateResourceW(file, deleteExisting);
}

void WINAPI NoteWait(DWORD milliseconds)
{
    g_waits += std::to_string(milliseconds) + " ";
}

} // namespace

TEST(PackTool, BuildsAQuizThatCarriesItsContentCodesAndPicturesAndExtractsItBack)
{
    ScopedTempDirectory folder;
    auto picture = [](const char* name) { return "\"" + Asset(name) + "\"\n"; };
    WriteFileBytes(
        "quiz.toml",
        "title = \"Capitales d'\xC3\x89urope\"\nkind = \"picture\"\nanswers_per_question = 2\n"
        "answer_labels = [\"Ville\", \"Pays\"]\nreveal = \"text+picture\"\ncolour = \"#35CBA3\"\n"
        "accents = \"tol\xC3\xA9r\xC3\xA9s\"\ncodes = [\"BRONZE\", \"ARGENT\", \"OR\", \"PLATINE\"]\n"
        "[[question]]\nanswers = [\"Paris\", \"France\"]\nreveal_text = \"La Ville Lumi\xC3\xA8re\"\npicture = " +
            picture("small.jpg") + "answer_picture = " + picture("alpha.png") +
            "[[question]]\nanswers = [\"Rome\", \"Italie\"]\npicture = " + picture("large.jpg") +
            "[[question]]\nanswers = [\"Oslo\", [\"Norv\xC3\xA8ge\", \"Norge\", \"Noreg\"]]\npicture = " +
            picture("flag.gif") + "answer_picture = " + picture("large.png") +
            "[[question]]\nanswers = [\"Berne\", \"Suisse\"]\npicture = " + picture("tile.bmp"));
    const ToolRun build = RunTool({"build", "quiz.toml", "-o", "quiz.exe"});
    ASSERT_EQ(build.exitCode, 0) << build;
    // One worker or several write the same quiz, with the same progress in question order.
    for (const char* jobs : {"1", "4"}) {
        const ToolRun run = RunTool({"build", "quiz.toml", "-o", "jobs.exe", "--jobs", jobs});
        EXPECT_EQ(run.out.substr(0, run.out.find("Quiz")), build.out.substr(0, build.out.find("Quiz"))) << jobs;
        EXPECT_EQ(ReadFileBytes("jobs.exe"), ReadFileBytes("quiz.exe")) << jobs;
        DeleteFileA("jobs.exe");
    }
    // The library as an editor calls it writes the same bytes, reporting each picture as the tool
    // prints it, though the copy of the player is held twice first; or, cancelled, nothing at all.
    std::string lines;
    std::atomic<bool> cancel(false);
    const std::filesystem::path player = std::filesystem::u8path(BuildFolder() + "\\zelbo.exe");
    const MediaProgress progress = [&lines](size_t, size_t, const std::string& line) { lines += line + "\n"; };
    const HeldFileCalls platformCalls = SetHeldFileCalls({HeldBeginUpdate, EndUpdateResourceW, MoveFileExW, NoteWait});
    g_heldOpenings = 2;
    const QuizBuild library = BuildQuiz("quiz.toml", player, "library.exe", {}, progress, &cancel);
    EXPECT_EQ(ReadFileBytes("library.exe"), ReadFileBytes("quiz.exe")) << library.error;
    EXPECT_EQ(lines + "Quiz \u00E9crit : quiz.exe (" + CheckSummary(library.check) + ")\n", build.out);
    EXPECT_EQ(g_waits, "100 200 ");
    EXPECT_EQ(ExtractQuiz("library.exe", "source", false).quiz.title, "Capitales d'\u00C9urope");
    // A quiz still running (its file shared for reading only) is not replaced, after a few seconds of
    // tries; nothing is left beside it.
    g_waits.clear();
    UniqueFile running(CreateFileA("library.exe", GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    EXPECT_EQ(BuildQuiz("quiz.toml", player, "library.exe", {}, nullptr, nullptr).error,
              "impossible de remplacer library.exe : le fichier library.exe reste ouvert dans un autre programme (le "
              "quiz, s'il est lanc\u00E9, ou un antivirus qui l'examine) : fermez le quiz s'il est ouvert, puis "
              "recommencez ; library.exe n'a pas \u00E9t\u00E9 modifi\u00E9");
    EXPECT_EQ(g_waits, "100 200 400 800 1600 ");
    running.Reset();
    SetHeldFileCalls(platformCalls);
    cancel = true;
    EXPECT_EQ(BuildQuiz("quiz.toml", player, "stopped.exe", {}, progress, &cancel).outcome, BuildOutcome::CANCELLED);
    EXPECT_EQ(ReadFileBytes("library.exe"), ReadFileBytes("quiz.exe"));
    DeleteFileA("library.exe");
    EXPECT_NE(build.out.find("Image 2/6 : "), std::string::npos) << build;
    EXPECT_NE(build.out.find("1600 \xC3\x97 1000 \xE2\x86\x92 520 \xC3\x97 325"), std::string::npos) << build;
    EXPECT_EQ(FilesHere(), "quiz.exe quiz.toml");

    UniqueModule quiz = Open("quiz.exe");
    EXPECT_EQ(Loaded(quiz.Get()),
              "Capitales d'\311urope|1 4x2 3|Ville/Pays|Paris/France La Ville Lumi\350re|BRONZE/ARGENT/OR|a3cb35");
    EXPECT_EQ(g_recordedMessages, std::vector<std::string>{});
    // Pictures the player reads are stored byte for byte; the rest become JPEG of at most 520.
    EXPECT_EQ(ResourceBytes(quiz.Get(), "IMG", 401), ReadFileBytes(Asset("small.jpg")));
    EXPECT_EQ(ResourceBytes(quiz.Get(), "IMG", 403), ReadFileBytes(Asset("flag.gif")));
    EXPECT_EQ(ResourceBytes(quiz.Get(), "IMG", 404), ReadFileBytes(Asset("tile.bmp")));
    std::string converted;
    for (int id : {402, 10401, 10402, 10403})
        converted += Picture(ResourceBytes(quiz.Get(), "IMG", id)) + ", ";
    EXPECT_EQ(converted, "520x325 JPEG, 120x90 JPEG, 0x0, 520x222 JPEG, ");
    // The player's own resources came along: dialogs, icons, cursor, manifest, version.
    const int own[][2] = {{5, IDD_QUESTION_BOARD},
                          {5, IDD_HEADER_PANEL},
                          {14, IDI_ZELBO},
                          {14, IDI_PLAY},
                          {12, IDR_LINK_CURSOR},
                          {24, 1},
                          {16, 1}};
    for (const auto& [type, id] : own)
        EXPECT_NE(ResourceBytes(quiz.Get(), MAKEINTRESOURCEA(type), id), "") << type << " " << id;

    // Box 6, Norvège, takes two variants, and accents are forgiven.
    QuizData loaded;
    LoadContentFromModule(loaded, quiz.Get());
    const BoxVariants norway = VariantsOfBox(loaded.acceptedAnswers, 6);
    EXPECT_TRUE(ForgivesAccents(loaded.acceptedAnswers) && norway.count == 2 &&
                std::string(NextVariant(norway.first)) == "Noreg");

    // Extracted and built again without a warning, it is the same quiz, byte for byte.
    ASSERT_EQ(RunTool({"extract", "quiz.exe", "-o", "extrait"}).exitCode, 0);
    EXPECT_EQ(RunTool({"build", "extrait\\quiz.toml", "-o", "again.exe"}).err, "");
    EXPECT_EQ(ReadFileBytes("again.exe"), ReadFileBytes("quiz.exe"));
    // Kept as given when asked, but for what the player cannot read.
    EXPECT_EQ(RunTool({"build", "quiz.toml", "-o", "kept.exe", "--keep-pictures"}).exitCode, 0);
    UniqueModule kept = Open("kept.exe");
    EXPECT_EQ(ResourceBytes(kept.Get(), "IMG", 402), ReadFileBytes(Asset("large.jpg")));
    EXPECT_EQ(Picture(ResourceBytes(kept.Get(), "IMG", 10403)), "700x300 JPEG");

    // The demo quiz of the examples builds without a warning, every picture of it readable.
    const ToolRun demo = RunTool({"build", BuildFolder() + "\\test-assets\\demo\\quiz.toml", "-o", "demo.exe"});
    EXPECT_TRUE(demo.exitCode == 0 && demo.err.empty()) << demo;
    UniqueModule module = Open("demo.exe");
    EXPECT_EQ(Loaded(module.Get()), "Capitales d'Europe|1 14x2 3|Ville/Pays|Paris/France La tour Eiffel y mesure 330 "
                                    "m\350tres.|\311TAPE/VISA/CAP|b06f2a");
    EXPECT_EQ(g_recordedMessages, std::vector<std::string>{});
    for (int q = 1; q <= 14; ++q) {
        for (int id : {IDR_QUESTION_PICTURE_BASE + q, IDR_ANSWER_PICTURE_BASE + q})
            EXPECT_TRUE(UniqueBitmap(LoadScaledPicture(module.Get(), id, "IMG", 260, 260))) << id;
    }
}

TEST(PackTool, CommandsGiveTheirStatusMessagesAndFiles)
{
    ScopedTempDirectory folder;
    // A one-question quiz of a kind, whose question shows the file given; its "picture" is on line 6.
    auto quiz = [](const char* kind, const std::string& file) {
        return std::string("title = \"t\"\ncodes = [\"A\"]\nkind = \"") + kind +
               "\"\n[[question]]\nanswers = [\"a\"]\npicture = \"" + file + "\"\n";
    };
    std::string plain;
    for (int i = 0; i < 5000; ++i)
        plain += static_cast<char>("Zelbo quiz |"[i % 12] + i / 700);
    WriteFileBytes("plain.bin", plain);
    WriteFileBytes("cas.tsv", "Paris\tPrais\r\n\r\nPomme-de-terre nouvelle\tPomme de terre nouvele\n");
    WriteFileBytes("clip.mp3", std::string("ID3\x03\0\0\0\0\0\0", 10) + std::string(64, '\0'));
    WriteFileBytes("clip.avi", std::string("RIFF\x40\0\0\0AVI LIST", 16) + std::string(64, '\0'));
    const struct {
        std::string source; // written as quiz.toml first, unless empty
        std::vector<std::string> arguments;
        bool succeeds;
        std::string said;
    } cases[] = {
        {"", {"--help"}, true, "v\303\251rifie une source"},
        {"", {"build", "--help"}, true, "--keep-pictures"},
        // Accented arguments reach the tool as wide characters and are graded in code page 1252.
        {"", {"grade", "\311t\351", "\351t\351"}, true, "Quasiment\n"},
        {"", {"grade", "\311t\351", "  \311T\351 "}, true, "BRAVO\n"},
        {"", {"grade", "--tsv", "cas.tsv"}, true, "Anagramme\n\ny a de l'id\303\251e\n"},
        // The nearest accepted text gives the verdict; accents are forgiven when asked.
        {"", {"grade", "Charles de Gaulle|De Gaulle", "de gaule"}, true, "Quasiment\n"},
        {"", {"grade", "\311t\351|Summer", "ete", "--accents", "tol\351r\351s"}, true, "BRAVO\n"},
        {"", {"encode", "plain.bin", "packed.lzw"}, true, ""},
        {"", {"decode", "packed.lzw", "back.bin"}, true, ""},
        // Clips are known by their first bytes, and so is what is no clip.
        {quiz("audio", "clip.mp3"), {"build", "quiz.toml", "-o", "audio.exe"}, true, "Clip 1/1 : "},
        {quiz("video", "clip.avi"), {"build", "quiz.toml", "-o", "video.exe"}, true, "Clip 1/1 : "},
        {quiz("audio", Asset("small.jpg")), {"check", "quiz.toml"}, false, "quiz.toml:6: erreur : "},
        {quiz("video", Asset("small.jpg")), {"check", "quiz.toml"}, false, "n'est pas une vid\303\251o AVI"},
        // Files that are missing or no picture are reported with their line, by check and by build alike.
        {quiz("picture", Asset("not-a-picture.jpg")), {"check", "quiz.toml"}, false, "quiz.toml:6: erreur : "}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.said);
        if (!c.source.empty())
            WriteFileBytes("quiz.toml", c.source);
        const ToolRun run = RunTool(c.arguments);
        EXPECT_EQ(run.exitCode == 0, c.succeeds) << run;
        EXPECT_NE((run.out + run.err).find(c.said), std::string::npos) << run;
        EXPECT_EQ(run.out.find('\r'), std::string::npos) << "text mode output";
        // Building a source that fails its check fails too, and leaves the previous output as it was.
        WriteFileBytes("quiz.exe", "previous");
        EXPECT_TRUE(c.arguments[0] != "check" || RunTool({"build", "quiz.toml", "-o", "quiz.exe"}).exitCode);
        EXPECT_EQ(ReadFileBytes("quiz.exe"), "previous");
    }
    EXPECT_EQ(ReadFileBytes("back.bin"), plain);
    for (const char* kind : {"audio", "video"}) {
        EXPECT_EQ(ResourceBytes(Open(kind + std::string(".exe")).Get(), "IMG", 401),
                  ReadFileBytes(kind[0] == 'a' ? "clip.mp3" : "clip.avi"));
    }
    EXPECT_EQ(FilesHere(),
              "audio.exe back.bin cas.tsv clip.avi clip.mp3 packed.lzw plain.bin quiz.exe quiz.toml video.exe");

    // A cut stream: what decoded is still written, and the failure is named.
    const std::string packed = ReadFileBytes("packed.lzw");
    WriteFileBytes("cut.lzw", packed.substr(0, packed.size() / 2));
    const ToolRun cut = RunTool({"decode", "cut.lzw", "partial.bin"});
    const std::string partial = ReadFileBytes("partial.bin");
    EXPECT_TRUE(cut.exitCode && cut.err.find("LZW_INPUT_EXHAUSTED") != std::string::npos) << cut;
    EXPECT_TRUE(!partial.empty() && partial == plain.substr(0, partial.size()));
}

TEST(PlayerLoader, EachStateOfTheContentResourcesGivesItsQuizAndMessages)
{
    const std::string failed = "Zelbo: Erreur dans le d\351cryptage des reponses";
    const std::string sample = "Nom du zelbo|1 7x2 3|Pr\xE9nom - Nom/Manga / Anime|test/test |//|a3cb35";
    const std::string noCodes = "Capitales|0 2x1 1|/|PARIS/ |//|1e140a";
    const std::string asMade = "nom du zelbo|0 2x1 0|/|/ |//|965f5a"; // the record as it was made
    const struct {
        const char* module;
        std::vector<std::string> messages;
        std::string loaded;
        bool starved = false;                // the decoder finds no memory
    } cases[] = {{"no-content", {}, sample}, // the sample quiz, whose codes are not even read
                 {"empty-content", {}, sample},
                 {"content-and-codes", {}, "Capitales|0 2x1 1|/|PARIS/ |ROUGE/VERT/|1e140a"},
                 {"codes-missing", {"Zelbo: Codes non trouv\xE9s."}, noCodes},
                 {"codes-empty", {"Zelbo: Codes non renseign\xE9s."}, noCodes},
                 {"codes-bad", {"Zelbo: Erreur dans le d\351cryptage des codes"}, noCodes},
                 {"content-bad", {failed}, asMade},
                 {"content-cut", {failed}, asMade},
                 {"content-refused", {failed}, asMade},
                 {"content-and-codes", {"information: Impossible d'allouer la memoire", failed}, asMade, true}};
    for (const auto& c : cases) {
        UniqueModule module = Open(BuildFolder() + "\\test-assets\\loader\\" + c.module + ".dll");
        LzwSetAllocator(c.starved ? +[](size_t) -> void* { return nullptr; } : nullptr);
        EXPECT_EQ(Loaded(module.Get()), c.loaded) << c.module;
        LzwSetAllocator(nullptr);
        EXPECT_EQ(g_recordedMessages, c.messages) << c.module;
    }
}

// Extraction gives the accepted answers back to the source, or leaves out, with a word, a copy of
// them that the player would leave aside.
TEST(PackTool, ExtractGivesBackTheAcceptedAnswersThePlayerReads)
{
    const std::vector<std::string> stored = {"answers = [\"Charles de Gaulle\", \"Colombey\"]\n"};
    const struct {
        const char* module;
        std::vector<std::string> source; // what the source holds, in this order
        std::string warning;
    } cases[] = {
        {"variants",
         {"accents = \"tol\u00E9r\u00E9s\"\n",
          "answers = [[\"Charles de Gaulle\", \"De Gaulle\", \"G\u00E9n\u00E9ral de Gaulle\"], [\"Colombey\", "
          "\"Colombey-les-Deux-\u00C9glises\"]]\n",
          "answers = [[\"Gen\u00E8ve\", \"Genf\"], \"Suisse\"]\n"},
         ""},
        {"variants-bad", stored, "(LZW_BAD_CODE)"},
        {"variants-version-2", stored, "(leur version est inconnue)"},
        {"variants-misfit", stored, "(elles ne sont pas faites pour les cases de r\u00E9ponse de ce quiz)"},
    };
    for (const auto& c : cases) {
        ScopedTempDirectory folder;
        const QuizExtraction extraction = ExtractQuiz(
            std::filesystem::u8path(BuildFolder() + "\\test-assets\\loader\\" + c.module + ".dll"), "source", false);
        ASSERT_TRUE(extraction.ok) << extraction.error;
        const std::string source = ReadFileBytes("source\\quiz.toml");
        size_t at = 0;
        for (const std::string& part : c.source)
            EXPECT_NE(at = source.find(part, at), std::string::npos) << c.module << " has no " << part << source;
        EXPECT_EQ(source.find("accents") != std::string::npos, c.source.size() > 1) << c.module;
        const std::string warning = extraction.warnings.empty() ? "" : extraction.warnings[0];
        EXPECT_EQ(warning.empty(), c.warning.empty()) << c.module;
        EXPECT_NE(warning.find(c.warning), std::string::npos) << warning;
    }
}

TEST(PackTool, NewStartsAQuizFromTheExampleSpreadsheetOrAFolderOfPictures)
{
    ScopedTempDirectory folder;
    CopyFileA((BuildFolder() + "\\test-assets\\tableur\\questions.csv").c_str(), "questions.csv", FALSE);
    ToolRun run = RunTool({"new", "--table", "questions.csv"});
    ASSERT_EQ(run.exitCode, 0) << run;
    EXPECT_EQ(RunTool({"new", "--table", "questions.csv"}).exitCode, 1) << "never written over without --force";
    EXPECT_EQ(RunTool({"new", "--table", "questions.csv", "--force"}).exitCode, 0);
    ASSERT_EQ(RunTool({"build", "quiz.toml", "-o", "tableur.exe"}).exitCode, 0);
    ASSERT_EQ(RunTool({"extract", "tableur.exe", "-o", "extrait"}).exitCode, 0);
    const std::string extracted = ReadFileBytes("extrait\\quiz.toml");
    EXPECT_NE(extracted.find("answers = [[\"Seine\", \"la Seine\"]]\ntext = \"Quel fleuve traverse Paris ?\"\n"
                             "reveal_text = \"Elle se jette dans la Manche au Havre.\""),
              std::string::npos)
        << extracted;
    EXPECT_NE(extracted.find("8 680 km\xC2\xB2"), std::string::npos) << "read as Windows-1252";
    EXPECT_EQ(Loaded(Open("tableur.exe").Get()).substr(0, 17), "questions|0 8x1 2");

    // A folder of pictures named after what they show, one of them with its answer picture.
    CreateDirectoryA("Monuments", nullptr);
    for (const auto& [asset, name] : {std::pair<const char*, const char*>{"small.jpg", "10_Arc_de_triomphe.jpg"},
                                      {"flag.gif", "2 - Tour Eiffel.gif"},
                                      {"tile.bmp", "Pont du Gard.bmp"},
                                      {"alpha.png", "Pont du Gard-reponse.png"}})
        CopyFileA(Asset(asset).c_str(), (std::string("Monuments\\") + name).c_str(), FALSE);
    run = RunTool({"new", "--pictures", "Monuments", "-o", "images.toml"});
    ASSERT_EQ(run.exitCode, 0) << run;
    ASSERT_EQ(RunTool({"build", "images.toml", "-o", "images.exe"}).exitCode, 0);
    UniqueModule images = Open("images.exe");
    EXPECT_EQ(Loaded(images.Get()).substr(0, 32), "Monuments|1 3x1 1|/|Tour Eiffel/");
    for (int id : {401, 402, 403, 10403})
        EXPECT_TRUE(UniqueBitmap(LoadScaledPicture(images.Get(), id, "IMG", 260, 260))) << id;

    // What is no table is refused with its line, and nothing is written.
    const struct {
        const char *bytes, *said;
    } refused[] = {{"", "vide"},
                   {"PK\3\4\1\1\1\0\1", "pas un fichier texte"},
                   {"question;r\xE9ponse\r\n", "t.csv:1: erreur"},
                   {"question;r\xE9ponse\r\nq;a\r\nq;a;b\r\n", "t.csv:3: erreur : 3 champs"},
                   {"image;r\xE9ponse\r\nabsente.jpg;a\r\n", "t.csv:2: erreur : absente.jpg : fichier introuvable"}};
    for (const auto& c : refused) {
        WriteFileBytes("t.csv", std::string(c.bytes, c.said[0] == 'p' ? 9 : strlen(c.bytes)));
        run = RunTool({"new", "--table", "t.csv", "-o", "t.toml"});
        EXPECT_EQ(run.exitCode, 1) << run;
        EXPECT_NE(run.err.find(c.said), std::string::npos) << run;
        EXPECT_EQ(ReadFileBytes("t.toml"), "");
    }
}

TEST(PackMessages, RunsAsAQuizMakerMeetsThem)
{
    const std::string player = ReadFileBytes(BuildFolder() + "\\zelbo.exe");
    const std::string build = "build quiz.toml --player " + BuildFolder() + "\\zelbo.exe -o ";
    const File source = {"quiz.toml", QUIZ + CARRE};
    std::string notepadUnicode = "\xFF\xFE"; // UTF-16, little-endian, after its byte-order mark
    for (char c : source.bytes)
        notepadUnicode += {c, '\0'};
    const File carre = {"images\\carre.jpg", ReadFileBytes(BuildFolder() + "\\test-assets\\pack\\small.jpg")};
    const Case cases[] = {
        // Windows paths: a single backslash, then the guide's two ways of writing one.
        Expect("check quiz.toml", 1,
               "quiz.toml:5: erreur : question 1, picture : le nom de fichier contient un saut de ligne (\\n)",
               {{"quiz.toml", QUIZ + "picture = \"images\\nouveau.jpg\"\n"}}),
        Expect("check q.toml", 0, "q.toml : aucune erreur (2 questions, 2 images ou clips)",
               {carre,
                {"q.toml", QUIZ + "picture = 'images\\carre.jpg'\n[[question]]\nanswers = [\"b\"]\n"
                                  "picture = \"images\\\\carre.jpg\"\n"}}),
        // Notepad's Unicode (its other encodings and the parser's messages are the portable tests').
        Expect("check quiz.toml", 0, "aucune erreur", {carre, {"quiz.toml", notepadUnicode}}),
        // Nothing written over what is not a quiz, nor over the quiz's own inputs.
        Expect(build + "quiz.toml", 1, "erreur : quiz.toml est la source du quiz : zelbo-pack n'", {source, carre},
               "Quiz \u00E9"),
        Expect(build + ".\\images\\carre.jpg", 1, "est une image du quiz", {source, carre}),
        Expect("build quiz.toml --player p.exe -o p.exe", 1, "p.exe est le lecteur",
               {source, carre, {"p.exe", player}}),
        Expect("build quiz.toml --player " + BuildFolder() + "\\zelbo-pack.exe -o q.exe", 1,
               "zelbo-pack.exe n'est pas un lecteur Zelbo", {source, carre}, "Quiz \u00E9"),
        Expect(build + "old.exe", 1, "erreur : old.exe est en lecture seule : zelbo-pack ne le remplace pas",
               {source, carre, {"old.exe", player, true}}),
        Expect(build + "notes.exe", 1, "notes.exe existe d\u00E9j\u00E0 et n'est pas un programme Windows",
               {source, carre, {"notes.exe", "mes notes"}}),
        Expect(build + "pas/de/q.exe", 1, "erreur : le dossier pas/de n'existe pas : aucun quiz n'a ", {source, carre}),
        // What the player will not show or ask.
        Expect("check quiz.toml", 0,
               "quiz.toml:1: attention : title d\u00E9passe la place du titre dans l'en-t\u00EAte (220 pixels sur "
               "1 ligne) : seul \u00AB Capitales d'Europe|quiz.toml:3: attention : le code 1 d\u00E9passe la case "
               "du code (47 pixels sur 1 ligne) : seul \u00AB CITOYEN \u00BB s'affiche|quiz.toml:4: attention : un "
               "quiz texte n'a qu'une case de r\u00E9ponse|3 avertissements",
               {{"quiz.toml", "title = \"Capitales d'Europe, d'Asie et d'Afrique du Nord\"\nkind = \"text\"\ncodes = "
                              "[\"CITOYEN D'EUROPE\"]\nanswers_per_question = 2\n[[question]]\nanswers = [\"a\", "
                              "\"b\"]\ntext = \"t\"\n"}},
               "Nord \u00BB"),
        // Windows errors in plain French.
        Expect("extract faux.exe -o d", 1, "erreur : faux.exe n'est pas un programme Windows\n",
               {{"faux.exe", "texte"}}, "%1"),
        Expect("extract absent.exe -o d", 1, "erreur : impossible de lire absent.exe : fichier introuvable\n"),
        Expect("check .", 1, "erreur : impossible de lire . : c'est un dossier, pas un fichier\n"),
        Expect("check quiz.toml", 1, "quiz.toml:5: erreur : sous/x.jpg : son dossier n'existe pas\n",
               {{"quiz.toml", QUIZ + "picture = \"sous/x.jpg\"\n"}}),
        // Small things.
        Expect("", 2, "erreur : il manque la commande\n\nzelbo-pack, l'outil|Usage : zelbo-pack COMMANDE"),
        Expect("check quiz.toml", 0, "aucune erreur (1 question, 1 image ou clip)\n", {carre, source}, "code"),
        Expect("check quiz.toml", 1, "quiz.toml:5: erreur : absent.jpg|quiz.toml:7: erreur : question 2",
               {carre, {"quiz.toml", QUIZ + "picture = \"absent.jpg\"\n[[question]]\nanswers = [\"a|b\"]\n" + CARRE}}),
        Expect("decode vide.lzw out.bin", 1, "(0 octet d", {{"vide.lzw", ""}}),
    };
    for (const Case& c : cases) {
        ScopedTempDirectory folder;
        for (const File& file : c.files)
            Write(file);
        const ToolRun run = RunTool(c.arguments, true);
        const std::string trace = c.arguments + " ->\n" + run.out;
        EXPECT_EQ(run.exitCode, c.exitCode) << trace;
        size_t at = 0;
        std::string fragment;
        for (std::istringstream fragments(c.fragments); std::getline(fragments, fragment, '|');) {
            at = run.out.find(fragment, at);
            EXPECT_NE(at, std::string::npos) << "no \"" << fragment << "\", in this order, in " << trace;
        }
        EXPECT_TRUE(c.absent.empty() || run.out.find(c.absent) == std::string::npos) << trace;
        for (const File& file : c.files)
            EXPECT_EQ(ReadFileBytes(file.path), file.bytes) << file.path << " changed by " << trace;
    }
}

// An extraction never mixes with an earlier one: refused over it, or replacing all of it.
TEST(PackMessages, ExtractKeepsWhatItDidNotWriteUnlessForced)
{
    ScopedTempDirectory folder;
    Write({"images\\carre.jpg", ReadFileBytes(BuildFolder() + "\\test-assets\\pack\\small.jpg")});
    Write({"quiz.toml", QUIZ + CARRE});
    ASSERT_EQ(RunTool("build quiz.toml --player " + BuildFolder() + "\\zelbo.exe -o sous\\..\\q.exe").exitCode, 0);
    const std::string handWritten = "# \u00E0 la main\n";
    Write({"source\\quiz.toml", handWritten});
    Write({"source\\medias\\question-09.jpg", "ancienne"});
    Write({"source\\medias\\photo.jpg", "\u00E0 moi"});

    const ToolRun refused = RunTool("extract ./q.exe -o source", true);
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_NE(refused.out.find("contient d\u00E9j\u00E0 quiz.toml et 1 fichier"), std::string::npos) << refused.out;
    EXPECT_EQ(ReadFileBytes("source\\quiz.toml"), handWritten);
    EXPECT_EQ(GetFileAttributesA("source\\medias\\question-01.jpg"), INVALID_FILE_ATTRIBUTES);

    const ToolRun forced = RunTool("extract ./q.exe -o source --force", true);
    EXPECT_EQ(forced.exitCode, 0) << forced.out;
    EXPECT_NE(ReadFileBytes("source\\quiz.toml").find("picture = \"medias/question-01.jpg\""), std::string::npos);
    EXPECT_EQ(GetFileAttributesA("source\\medias\\question-09.jpg"), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(ReadFileBytes("source\\medias\\photo.jpg"), "\u00E0 moi");
}

// The library as an editor calls it checks a source held in memory as check does its file, with the
// place of each problem, and takes a picture from its cache until the picture's file changes.
TEST(PackTool, ItsChecksAreTheLibrarysWithPlacesAndACacheOfPictures)
{
    ScopedTempDirectory folder;
    Write({"images\\carre.jpg", ReadFileBytes(Asset("small.jpg"))});
    WriteFileBytes("images\\faux.jpg", "pas une image");
    // Lines 1 to 11: a title the header cuts, a missing answer picture, an empty answer, no picture.
    const std::string faulty = "title = \"Capitales d'Europe, d'Asie et d'Afrique du Nord\"\nkind = \"picture\"\n"
                               "answers_per_question = 1\nreveal = \"picture\"\n[[question]]\nanswers = [\"Paris\"]\n" +
                               CARRE +
                               "answer_picture = \"images/absent.jpg\"\n[[question]]\nanswers = [\"\"]\n"
                               "picture = \"images/faux.jpg\"\n";
    WriteFileBytes("quiz.toml", faulty);
    const ToolRun tool = RunTool(std::vector<std::string>{"check", "quiz.toml"});
    MediaCheckCache cache;
    std::string lines;
    const MediaProgress progress = [&lines](size_t done, size_t total, const std::string& line) {
        lines += std::to_string(done) + "/" + std::to_string(total) + " " + line + "\n";
    };
    const QuizCheck check = CheckQuizSource(faulty, "", {}, progress, nullptr, &cache);
    std::string printed, places;
    for (const Diagnostic& diagnostic : check.diagnostics) {
        printed += FormatDiagnostic("quiz.toml", diagnostic) + "\n";
        places += std::to_string(diagnostic.place.question) + "." + std::to_string(int(diagnostic.place.field)) + " ";
    }
    EXPECT_EQ(printed + "quiz.toml : 3 erreurs\n", tool.err);
    EXPECT_EQ(places, "0.1 1.14 2.10 2.12 "); // the title, an answer picture, an answer, a picture
    EXPECT_EQ(lines, "1/3 " + tool.out + "2/3 \n3/3 \n");
    // 4 bytes of header, 5 fields of settings, 2 per question, the reveal mode and the colour.
    EXPECT_EQ(check.contentSize, 69u);

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
}

// Started by a double-click, the tool is the only program of its console window: it writes wide
// characters there, whatever the window's code page, which it leaves alone, and waits for Enter before
// the window closes. A file or folder dropped onto it, its path the only argument, runs its command.
TEST(PackTool, StartedFromExplorerItSpeaksToItsOwnWindowAndRunsWhatIsDroppedOnIt)
{
    FreeConsole();
    ASSERT_TRUE(AllocConsole());
    UniqueFile console(CreateFileA("CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                   OPEN_EXISTING, 0, nullptr));
    SetConsoleScreenBufferSize(console.Get(), {120, 60});
    const HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE), error = GetStdHandle(STD_ERROR_HANDLE);
    SetStdHandle(STD_OUTPUT_HANDLE, console.Get());
    SetStdHandle(STD_ERROR_HANDLE, console.Get());
    const UINT codePage = GetConsoleOutputCP();
    static int waits = 0;
    const ClosingWait platformWait = SetClosingWait([] { ++waits; });
    EXPECT_EQ(RunPackTool({}), 2);
    std::wstring shown(120 * 60, L' ');
    DWORD read = 0;
    ReadConsoleOutputCharacterW(console.Get(), &shown[0], static_cast<DWORD>(shown.size()), {0, 0}, &read);
    EXPECT_EQ(GetConsoleOutputCP(), codePage);
    SetStdHandle(STD_OUTPUT_HANDLE, output);
    SetStdHandle(STD_ERROR_HANDLE, error);
    FreeConsole();
    for (const wchar_t* text : {L"erreur : il manque la commande", L"new      pr\u00E9pare un quiz.toml",
                                L"Appuyez sur Entr\u00E9e pour fermer cette fen\u00EAtre."})
        EXPECT_NE(shown.find(text), std::wstring::npos) << text;
    WaitIfConsoleIsOwn(); // started from a console it shares, or with none, the tool never waits
    SetClosingWait(platformWait);
    EXPECT_EQ(waits, 1);

    ScopedTempDirectory folder;
    char here[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, here);
    Write({"Photos\\Tour Eiffel.jpg", ReadFileBytes(Asset("small.jpg"))});
    Write({"Tableur\\questions.csv", "question;r\xC3\xA9ponse\r\nCapitale ?;Paris\r\n"});
    for (const char* dropped : {"Photos", "Tableur\\questions.csv", "Photos\\quiz.toml"})
        EXPECT_EQ(RunTool("\"" + std::string(here) + "\\" + dropped + "\"").exitCode, 0) << dropped;
    EXPECT_NE(ReadFileBytes("Tableur\\quiz.toml").find("answers = [\"Paris\"]"), std::string::npos);
    EXPECT_EQ(Loaded(Open("Photos\\quiz.exe").Get()).substr(0, 28), "Photos|1 1x1 0|/|Tour Eiffel");
}
