#include <gtest/gtest.h>

#include <string>

#include "pack/quiz_source.h"
#include "pack/quiz_writer.h"

namespace {

const char VALID_SOURCE[] = R"(title = "Capitales d'Europe"
creator = "Camille"
explanation = "Trouvez la capitale de chaque pays."
kind = "picture"
answers_per_question = 2
answer_labels = ["Ville", "Pays"]
reveal = "text+picture"
colour = "#35CBA3"
codes = ["BRONZE", "ARGENT"]

[[question]]
answers = ["Paris", "France"]
picture = "images/paris.jpg"
reveal_text = "La Ville Lumière"
answer_picture = "images/paris-reponse.jpg"

[[question]]
answers = ["Bruxelles", "Belgique"]
picture = "images/bruxelles.jpg"
)";

// The header lines that make a valid one-question text quiz; the tables append to it.
const char TEXT_HEADER[] = "title = \"Quiz\"\nkind = \"text\"\ncodes = [\"A\"]\n";

std::string Errors(const SourceParse& parse)
{
    std::string all;
    for (const Diagnostic& d : parse.diagnostics)
        all += FormatDiagnostic("quiz.toml", d) + "\n";
    return all;
}

const Diagnostic* FindDiagnostic(const SourceParse& parse, const std::string& fragment)
{
    for (const Diagnostic& d : parse.diagnostics)
        if (d.message.find(fragment) != std::string::npos)
            return &d;
    return nullptr;
}

} // namespace

TEST(QuizSource, ValidSourceGivesThePlayersValues)
{
    const SourceParse parse = ParseQuizSource(VALID_SOURCE);
    ASSERT_TRUE(parse.diagnostics.empty()) << Errors(parse);
    const QuizSource& quiz = parse.quiz;
    EXPECT_EQ(quiz.title, "Capitales d'Europe");
    EXPECT_EQ(quiz.mediaKind, MEDIA_PICTURE);
    EXPECT_EQ(quiz.answersPerQuestion, 2);
    EXPECT_EQ(quiz.answerLabels[1], "Pays");
    EXPECT_EQ(quiz.revealMode, REVEAL_TEXT_AND_PICTURE);
    EXPECT_EQ(quiz.red, 0x35);
    EXPECT_EQ(quiz.green, 0xCB);
    EXPECT_EQ(quiz.blue, 0xA3);
    ASSERT_EQ(quiz.questions.size(), 2u);
    EXPECT_EQ(quiz.questions[0].line, 11);
    EXPECT_EQ(quiz.questions[0].answers[1], "France");
    EXPECT_EQ(quiz.questions[0].revealText, "La Ville Lumi\xE8re");
    EXPECT_EQ(quiz.questions[0].picture, "images/paris.jpg");
    EXPECT_EQ(quiz.questions[0].pictureLine, 13);
    EXPECT_EQ(quiz.questions[0].answerPictureLine, 15);
    EXPECT_EQ(quiz.questions[1].answerPicture, "");
    EXPECT_EQ(quiz.codes, (std::vector<std::string>{"BRONZE", "ARGENT"}));
}

TEST(QuizSource, DefaultsAreThePlayersOwn)
{
    const SourceParse parse =
        ParseQuizSource(std::string(TEXT_HEADER) + "[[question]]\nanswers = [\"oui\"]\ntext = \"Vrai ?\"\n");
    ASSERT_FALSE(parse.HasErrors()) << Errors(parse);
    EXPECT_EQ(parse.quiz.answersPerQuestion, 1);
    EXPECT_EQ(parse.quiz.revealMode, REVEAL_NOTHING);
    EXPECT_EQ(parse.quiz.red, 90);
    EXPECT_EQ(parse.quiz.green, 95);
    EXPECT_EQ(parse.quiz.blue, 150);
}

// Each bad source: the fragment its message must hold, the line it must name, and whether it only
// warns.
TEST(QuizSource, ProblemsAreReportedWithTheirLine)
{
    const std::string q = "[[question]]\n";
    const std::string textQuestion = q + "answers = [\"oui\"]\ntext = \"Vrai ?\"\n";
    struct Case {
        std::string source;
        std::string fragment;
        int line;
        bool warning;
    } cases[] = {
        {"title = \"x\"\nkind = \"text\"\n[[question\n", "syntaxe TOML", 3, false},
        {"kind = \"text\"\n" + textQuestion, "il manque title", 0, false},
        {"title = \"x\"\n" + textQuestion, "il manque kind", 0, false},
        {"title = \"x\"\nkind = \"photo\"\n" + textQuestion, "kind doit valoir", 2, false},
        {std::string(TEXT_HEADER) + "answers_per_question = 3\n" + textQuestion, "1 ou 2", 4, false},
        {std::string(TEXT_HEADER) + "reveal = \"tout\"\n" + textQuestion, "reveal doit valoir", 4, false},
        {std::string(TEXT_HEADER) + "colour = \"35CBA3\"\n" + textQuestion, "#RRVVBB", 4, false},
        {std::string(TEXT_HEADER) + "colour = \"#35CBAZ\"\n" + textQuestion, "#RRVVBB", 4, false},
        {std::string(TEXT_HEADER) + "creator = \"A|B\"\n" + textQuestion, "\xC2\xAB | \xC2\xBB", 4, false},
        {std::string(TEXT_HEADER) + "creator = \"\xE2\x82\xAC \xE2\x89\xA0\"\n" + textQuestion, "U+2260", 4, false},
        {std::string(TEXT_HEADER) + "explanation = \"" + std::string(260, 'e') + "\"\n" + textQuestion, "260 octets", 4,
         false},
        // 130 two-byte UTF-8 characters are 260 bytes of code page 1252 as well.
        {std::string(TEXT_HEADER) + "explanation = \"" +
             [] {
                 std::string s;
                 for (int i = 0; i < 130; ++i)
                     s += "\xC3\xA9\xC3\xA8";
                 return s;
             }() +
             "\"\n" + textQuestion,
         "260 octets", 4, false},
        {std::string(TEXT_HEADER) + "explanation = \"a\\nb\"\n" + textQuestion, "saut de ligne", 4, false},
        {"title = \"x\"\nkind = \"text\"\ncodes = [\"OR\\r\"]\n" + textQuestion, "saut de ligne", 3, false},
        {"title = \"x\"\nkind = \"text\"\ncodes = [\"A\", 5]\n" + textQuestion, "le code 2", 3, false},
        {std::string(TEXT_HEADER) + q + "answers = [\"oui\", \"non\"]\ntext = \"t\"\n", "answers doit donner 1", 5,
         false},
        {std::string(TEXT_HEADER) + q + "text = \"t\"\n", "il manque answers", 4, false},
        {std::string(TEXT_HEADER) + q + "answers = [\"\"]\ntext = \"t\"\n", "vide", 5, false},
        {std::string(TEXT_HEADER) + q + "answers = [\" Paris\"]\ntext = \"t\"\n", "espaces", 5, true},
        {std::string(TEXT_HEADER) + q + "answers = [\"Paris \"]\ntext = \"t\"\n", "espaces", 5, true},
        {std::string(TEXT_HEADER) + q + "answers = [\"Paris\"]\n", "il manque text", 4, false},
        {std::string(TEXT_HEADER) + q + "answers = [\"Paris\"]\ntext = \"\"\n", "text est vide", 6, false},
        {std::string(TEXT_HEADER) + q + "answers = [\"a\"]\ntext = \"t\"\npicture = \"p.jpg\"\n", "quiz texte", 7,
         true},
        {std::string(TEXT_HEADER) + q + "answers = [\"a\"]\ntext = \"t\"\nreveal_text = \"r\"\n", "reveal_text", 7,
         true},
        {std::string(TEXT_HEADER) + q + "answers = [\"a\"]\ntext = \"t\"\nanswer_picture = \"r.jpg\"\n",
         "answer_picture", 7, true},
        {std::string(TEXT_HEADER) + q + "answers = [\"a\"]\ntext = \"t\"\nanwsers = 1\n", "anwsers", 7, true},
        {std::string(TEXT_HEADER) + "titel = \"x\"\n" + textQuestion, "titel", 4, true},
        {"title = \"x\"\nkind = \"picture\"\ncodes = [\"A\"]\n" + q + "answers = [\"a\"]\n", "pas de picture", 4, true},
        {std::string(TEXT_HEADER) + "question = 3\n", "[[question]]", 4, false},
        {"title = \"x\"\nkind = \"text\"\n", "aucune question", 0, false},
        {"title = \"x\"\nkind = \"text\"\n" + textQuestion + textQuestion, "0 code pour 2 questions", 0, true},
        {"title = \"x\"\nkind = \"text\"\ncodes = [\"A\", \"B\"]\n" + textQuestion, "en trop", 3, true},
        {std::string(TEXT_HEADER) + "answer_labels = [\"a\", \"b\", \"c\"]\n" + textQuestion, "deux", 4, false},
    };
    for (const Case& c : cases) {
        const SourceParse parse = ParseQuizSource(c.source);
        const Diagnostic* found = FindDiagnostic(parse, c.fragment);
        ASSERT_NE(found, nullptr) << "no \"" << c.fragment << "\" in:\n" << Errors(parse) << "for:\n" << c.source;
        EXPECT_EQ(found->line, c.line) << c.fragment;
        EXPECT_EQ(found->warning, c.warning) << c.fragment;
        EXPECT_EQ(parse.HasErrors(), !c.warning) << Errors(parse);
    }
}

TEST(QuizSource, MoreThan96QuestionsIsAnErrorAtThe97th)
{
    std::string source = "title = \"x\"\nkind = \"text\"\n";
    for (int i = 0; i < 97; ++i)
        source += "[[question]]\nanswers = [\"a\"]\ntext = \"t\"\n";
    const SourceParse parse = ParseQuizSource(source);
    const Diagnostic* found = FindDiagnostic(parse, "plus de 96 questions");
    ASSERT_NE(found, nullptr) << Errors(parse);
    EXPECT_EQ(found->line, 3 + 96 * 3);
    EXPECT_EQ(parse.quiz.questions.size(), 96u);
}

TEST(QuizSource, CodesArePaddedToOnePerQuestion)
{
    std::string source = "title = \"x\"\nkind = \"text\"\ncodes = [\"OR\"]\n";
    for (int i = 0; i < 3; ++i)
        source += "[[question]]\nanswers = [\"a\"]\ntext = \"t\"\n";
    const SourceParse parse = ParseQuizSource(source);
    EXPECT_EQ(parse.quiz.codes, (std::vector<std::string>{"OR", "", ""}));
}

TEST(QuizSource, CodesMayHoldTheFieldSeparator)
{
    // Codes travel in their own resource, ended by CR LF, so "|" is harmless there.
    const SourceParse parse = ParseQuizSource(
        "title = \"x\"\nkind = \"text\"\ncodes = [\"A|B\"]\n[[question]]\nanswers = [\"a\"]\ntext = \"t\"\n");
    EXPECT_FALSE(parse.HasErrors()) << Errors(parse);
    EXPECT_EQ(parse.quiz.codes[0], "A|B");
}

TEST(QuizSource, DiagnosticsNameFileAndLine)
{
    EXPECT_EQ(FormatDiagnostic("q.toml", {false, 12, "m"}), "q.toml:12: erreur : m");
    EXPECT_EQ(FormatDiagnostic("q.toml", {true, 0, "m"}), "q.toml: attention : m");
}

TEST(QuizWriter, WrittenSourceReadsBackTheSameQuiz)
{
    SourceParse first = ParseQuizSource(VALID_SOURCE);
    ASSERT_FALSE(first.HasErrors());
    // Texts the writer must escape, and every byte of code page 1252 that is allowed in a text.
    std::string everyByte;
    for (int c = 0x20; c < 0x100; ++c)
        if (c != '|' && c != '"' && c != '\\')
            everyByte += static_cast<char>(c);
    first.quiz.explanation = "Tab\there, \"quoted\", back\\slash";
    first.quiz.creator = everyByte.substr(0, 200);
    first.quiz.questions[1].text = everyByte.substr(200);

    const std::string written = WriteQuizSource(first.quiz);
    const SourceParse second = ParseQuizSource(written);
    ASSERT_FALSE(second.HasErrors()) << Errors(second) << written;
    const QuizSource& a = first.quiz;
    const QuizSource& b = second.quiz;
    EXPECT_EQ(b.title, a.title);
    EXPECT_EQ(b.creator, a.creator);
    EXPECT_EQ(b.explanation, a.explanation);
    EXPECT_EQ(b.mediaKind, a.mediaKind);
    EXPECT_EQ(b.revealMode, a.revealMode);
    EXPECT_EQ(b.answerLabels[0], a.answerLabels[0]);
    EXPECT_EQ(b.answerLabels[1], a.answerLabels[1]);
    EXPECT_EQ(b.red, a.red);
    EXPECT_EQ(b.blue, a.blue);
    EXPECT_EQ(b.codes, a.codes);
    ASSERT_EQ(b.questions.size(), a.questions.size());
    for (size_t i = 0; i < a.questions.size(); ++i) {
        EXPECT_EQ(b.questions[i].answers[0], a.questions[i].answers[0]);
        EXPECT_EQ(b.questions[i].answers[1], a.questions[i].answers[1]);
        EXPECT_EQ(b.questions[i].text, a.questions[i].text);
        EXPECT_EQ(b.questions[i].revealText, a.questions[i].revealText);
        EXPECT_EQ(b.questions[i].picture, a.questions[i].picture);
        EXPECT_EQ(b.questions[i].answerPicture, a.questions[i].answerPicture);
    }
}

TEST(QuizWriter, QuotingEscapesWhatTomlForbids)
{
    EXPECT_EQ(TomlQuote("a\"b\\c"), "\"a\\\"b\\\\c\"");
    EXPECT_EQ(TomlQuote(std::string("\x01\x7F", 2)), "\"\\u0001\\u007F\"");
    EXPECT_EQ(TomlQuote("\xC2\x81\xC3\xA9"), "\"\\u0081\xC3\xA9\"");
}

TEST(QuizSource, WindowsEditorsByteOrderMarkAndLineEndsAreAccepted)
{
    std::string source = std::string("\xEF\xBB\xBF") + VALID_SOURCE;
    for (size_t at = source.find('\n'); at != std::string::npos; at = source.find('\n', at + 2))
        source.insert(at, "\r");
    const SourceParse parse = ParseQuizSource(source);
    EXPECT_TRUE(parse.diagnostics.empty()) << Errors(parse);
    EXPECT_EQ(parse.quiz.title, "Capitales d'Europe");
    ASSERT_EQ(parse.quiz.questions.size(), 2u);
    EXPECT_EQ(parse.quiz.questions[1].line, 17);
}
