// zelbo-pack run as a quiz maker runs it: its messages and exit status, and the files on disk
// before and after the run.
#include <gtest/gtest.h>

#include <windows.h>

#include <sstream>
#include <string>
#include <vector>

#include "platform/win_raii.h"
#include "win_test_support.h"

namespace {

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

} // namespace

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
        // Notepad's encodings.
        Expect("check quiz.toml", 0, "aucune erreur", {carre, {"quiz.toml", notepadUnicode}}),
        Expect("check quiz.toml", 1,
               "quiz.toml:5: erreur : le fichier n'est pas en UTF-8 : il semble|Encodage : UTF-8.",
               {{"quiz.toml", QUIZ + "picture = \"\xE9t\xE9.jpg\"\n"}}),
        // Parser errors in French, at the fault.
        Expect("check quiz.toml", 1, "quiz.toml:6:18: erreur : il manque une virgule entre deux \u00E9l\u00E9ments",
               {{"quiz.toml", "title = \"a\"\n\n\n\n\ncodes = [\"A\", \"B\"\n\n" + QUIZ.substr(12)}}, "Error"),
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
    EXPECT_NE(refused.out.find("contient d\u00E9j\u00E0 quiz.toml et 1 fichier"), std::string::npos)
        << refused.out;
    EXPECT_EQ(ReadFileBytes("source\\quiz.toml"), handWritten);
    EXPECT_EQ(GetFileAttributesA("source\\medias\\question-01.jpg"), INVALID_FILE_ATTRIBUTES);

    const ToolRun forced = RunTool("extract ./q.exe -o source --force", true);
    EXPECT_EQ(forced.exitCode, 0) << forced.out;
    EXPECT_NE(ReadFileBytes("source\\quiz.toml").find("picture = \"medias/question-01.jpg\""), std::string::npos);
    EXPECT_EQ(GetFileAttributesA("source\\medias\\question-09.jpg"), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(ReadFileBytes("source\\medias\\photo.jpg"), "\u00E0 moi");
}
