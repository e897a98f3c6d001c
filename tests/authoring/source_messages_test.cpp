// The tool's messages as quiz makers meet them: sources saved by Windows editors, parser errors in
// French at the fault's line, texts the player would cut, Windows errors in plain words.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "authoring/player_fields.h"
#include "authoring/quiz_source.h"
#include "authoring/source_text.h"
#include "authoring/system_errors.h"

namespace {

std::string Utf16(const std::u16string& text, bool bigEndian)
{
    std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (char16_t unit : text)
        bytes += bigEndian ? std::string{char(unit >> 8), char(unit)} : std::string{char(unit), char(unit >> 8)};
    return bytes;
}

std::string AllDiagnostics(const SourceParse& parse)
{
    std::string all;
    for (const Diagnostic& d : parse.diagnostics)
        all += FormatDiagnostic("quiz.toml", d) + "\n";
    return all;
}

} // namespace

// The text read, or the line and message of the error.
TEST(SourceText, WindowsEncodingsAreReadOrExplained)
{
    const std::string advice = ". Enregistrez-le en UTF-8 : dans le Bloc-notes, Fichier > Enregistrer sous, Encodage";
    const std::string cases[][2] = {
        {"\uFEFFt = 1\n", "t = 1\n"},
        {Utf16(u"t = \"\u00E9\U0001F600\"\n", false), "t = \"\u00E9\U0001F600\"\n"},
        {Utf16(u"t = \"\u20AC\"\n", true), "t = \"\u20AC\"\n"},
        {Utf16(u"a\n\xD800\n", false), "2: le fichier, en UTF-16, s'interrompt au milieu d'un caract\u00E8re" + advice},
        {Utf16(u"a", false) + "b", "1: le fichier, en UTF-16, s'interrompt"},
        {Utf16(u"\n\xD800", false), "2: le fichier, en UTF-16, s'interrompt"},
        {"a = 1\nb = \"\xE9t\xE9\"\n", "2: le fichier n'est pas en UTF-8 : il semble enregistr\u00E9 en Windows-1252 "
                                       "(\u00AB ANSI \u00BB dans le Bloc-notes), o\u00F9 l'octet 0xE9 de cette "
                                       "ligne est \u00AB \u00E9 \u00BB" +
                                           advice},
        {"a\n\nb = \"\x81\"", "3: le fichier n'est pas en UTF-8 : l'octet 0x81 de cette ligne ne s'y lit pas" + advice},
        {std::string("t\0=\0", 4), "1: le fichier contient des octets nuls"},
    };
    for (const auto& c : cases) {
        const SourceText text = DecodeSourceFile(c[0]);
        const std::string read = text.ok ? text.utf8 : std::to_string(text.errorLine) + ": " + text.error;
        EXPECT_EQ(text.ok ? read : read.substr(0, c[1].size()), c[1]);
    }
}

// Every diagnostic of each source, by the start of its line: the parser's English, given where it
// noticed the fault, becomes French where the fault is; what the player would not show is warned.
TEST(QuizSource, MessagesAreFrenchAndInLineOrder)
{
    const std::string q = "[[question]]\nanswers = [\"a\"]\ntext = \"t\"\n";
    struct Case {
        std::string source;
        std::vector<std::string> starts;
    } cases[] = {
        {"t = \"x\"\np = \"images\\photo.jpg\"\n",
         {"quiz.toml:2:13: erreur : caract\u00E8re sp\u00E9cial inconnu apr\u00E8s \u00AB \\ \u00BB (trouv\u00E9 "
          "\u00AB \\p \u00BB) : entre guillemets, \u00AB \\ \u00BB commence"}},
        {"p = \"C:\\Users\\zoe\"\n", {"quiz.toml:1:10: erreur : \u00AB \\u \u00BB ou \u00AB \\U \u00BB"}},
        {"title = \"abc\nkind = 1\n", {"quiz.toml:1:13: erreur : texte non ferm\u00E9 : il manque le guillemet"}},
        {"\ntitle = \"a\x01\"\n", {"quiz.toml:2:11: erreur : caract\u00E8re de contr\u00F4le interdit"}},
        {"title = \"x\"\ntitle = \"y\"\n", {"quiz.toml:2:9: erreur : \u00AB title \u00BB est d\u00E9j\u00E0"}},
        {"codes = [\n  \"A\"  # un\n  # deux\n\n  \"B\",\n]\n", {"quiz.toml:2:6: erreur : il manque une virgule"}},
        {"codes = [\"A\"\n\"B\"]\n", {"quiz.toml:1:13: erreur : il manque une virgule"}},
        {"[[question]]\nanswers = [\"a\"]\n[question]\n", {"quiz.toml:3:1: erreur : les questions commencent par"}},
        {"r\u00E9ponse = 1\n", {"quiz.toml:1:2: erreur : \u00AB \u00E9 \u00BB (U+00E9) hors d'un texte"}},
        {"a = \"\"\"\u00E9\n\"\"\"\nb = '\u00E9' # \u00E9\nc = \"\\\"\u00E9\"\n  \u00EA = 3\n",
         {"quiz.toml:5:3: erreur : \u00AB \u00EA \u00BB"}},
        {"a = \"\"\"x\\\n\u00E9\"\"\"\n",
         {"quiz.toml:2:1: erreur : \u00AB \u00E9 \u00BB (U+00E9) apr\u00E8s un \u00AB \\ \u00BB de fin de ligne"}},
        {"title \"x\"\n",
         {"quiz.toml:1:7: erreur : il manque \u00AB = \u00BB entre la cl\u00E9 et sa valeur "
          "(trouv\u00E9 \u00AB \" \u00BB)"}},
        {"a = 01\n", {"quiz.toml:1:7: erreur : nombre invalide (leading zeroes"}},
        {"a = 1979-13-01\n", {"quiz.toml:1:12: erreur : syntaxe TOML invalide (date : expected month"}},
        {"title = \"x\"\nkind = \"text\"\n" + q + q, {}},
        {"title = \"x\"\nkind = \"text\"\nanswers_per_question = 2\nanswer_labels = [\"V\", \"P\"]\n[[question]]\n"
         "answers = [\"a\", \"b\"]\ntext = \"t\"\n",
         {"quiz.toml:3: attention : un quiz texte n'a qu'une case de r\u00E9ponse par question",
          "quiz.toml:4: attention : le lecteur ne montre answer_labels que dans un quiz d'images"}},
        {"title = \"x\"\nkind = \"text\"\nanswer_labels = [\"V\"]\n" + q,
         {"quiz.toml:3: attention : le lecteur ne montre answer_labels"}},
        {"title = \"x\"\nkind = \"text\"\n[[question]]\nanswers = \"Paris\"\ntext = \"t\"\n",
         {"quiz.toml:4: erreur : question 1 : answers doit \u00EAtre une liste entre crochets, par exemple answers "
          "= [\"Paris\"]"}},
        {"kind = \"picture\"\n[[question]]\nanswers = [\"a\"]\npicture = \"a\\tb\\\\c\"\nx = 1\n",
         {"quiz.toml: erreur : il manque title",
          "quiz.toml:4: erreur : question 1, picture : le nom de fichier contient "
          "une tabulation (\\t), sans doute un \u00AB \\ \u00BB seul",
          "quiz.toml:5: attention : question 1 : cl"}},
    };
    for (const Case& c : cases) {
        const SourceParse parse = ParseQuizSource(c.source);
        ASSERT_EQ(parse.diagnostics.size(), c.starts.size()) << AllDiagnostics(parse) << "for:\n" << c.source;
        for (size_t i = 0; i < c.starts.size(); ++i)
            EXPECT_EQ(FormatDiagnostic("quiz.toml", parse.diagnostics[i]).rfind(c.starts[i], 0), 0u)
                << AllDiagnostics(parse);
    }
}

TEST(QuizSource, ShownTextsKeepTheirFieldAndLine)
{
    const SourceParse parse = ParseQuizSource(
        "title = \"T\"\ncreator = \"C\u00E9\"\nexplanation = \"E\"\nkind = \"video\"\nanswers_per_question = 2\n"
        "answer_labels = [\"\", \"L\"]\ncodes = [\"A\",\n\"\", \"X\"]\n[[question]]\nanswers = [\"a\", \"b\"]\n");
    std::string shown;
    for (const ShownText& t : parse.shownTexts)
        shown += std::to_string(int(t.field)) + ":" + std::to_string(t.line) + ":" + t.what + "=" + t.text + " at " +
                 std::to_string(int(t.place.field)) + "." + std::to_string(t.place.number) + "\n";
    EXPECT_EQ(shown,
              "0:1:title=T at 1.0\n1:2:creator=C\xE9 at 2.0\n2:3:explanation=E at 3.0\n4:6:la l\u00E9gende 2=L at "
              "6.2\n3:7:le code 1=A at 9.1\n");
}

// A fake font ten pixels wide per character shows the line breaking of the player's static texts.
TEST(PlayerFields, ShownLengthBreaksLinesBetweenWordsLikeThePlayer)
{
    const MeasureText tenPerCharacter = [](const std::string& text) { return static_cast<int>(text.size()) * 10; };
    struct Case {
        std::string text;
        int width;
        int lines;
        bool wraps;
        std::string shown;
    } cases[] = {
        {"CITOYEN D'EUROPE", 70, 1, false, "CITOYEN"},
        {"Un drapeau  par question", 100, 2, true, "Un drapeau  par"},
        {"ab cd ef gh ij", 50, 2, true, "ab cd ef gh"},
        {"Anticonstitutionnellement vu", 50, 2, true, "Antic"},
        {"Tout   ", 40, 1, true, "Tout   "},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.text.substr(0, ShownLength(c.text, c.width, c.lines, c.wraps, tenPerCharacter)), c.shown)
            << c.text << " in " << c.width << " x " << c.lines;
}

TEST(SystemErrors, PlainFrenchAndNeverAnInsert)
{
    const char* cases[][3] = {
        {"193", "Bad EXE format for %1.", "ce n'est pas un programme Windows"},
        {"5", "Access denied.", "acc\u00E8s refus\u00E9"},
        {"39", "The disk is full.", "disque plein"},
        {"3", "The system cannot find the path specified.", "dossier introuvable"},
        {"1006", "File invalid.", "fichier vide ou incomplet"},
        {"998", "Cannot reach %1 from %12 now.\r\n", "erreur 998 : Cannot reach from now"},
        {"997", "50 % done", "erreur 997 : 50 % done"},
    };
    for (auto& c : cases)
        EXPECT_EQ(PlainSystemError(std::stoul(c[0]), c[1]), c[2]);
}
