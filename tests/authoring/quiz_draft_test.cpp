// Starting a quiz from a spreadsheet saved as text, or from a folder of pictures.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "authoring/quiz_draft.h"
#include "authoring/quiz_writer.h"
#include "authoring/table_reader.h"
#include "authoring/text_encoding.h"

namespace {

using Rows = std::vector<std::vector<std::string>>;

Rows FieldsOf(const TableRead& table)
{
    Rows rows;
    for (const TableRow& row : table.rows)
        rows.push_back(row.fields);
    return rows;
}

// Files as Excel, LibreOffice Calc and Notepad write them, decoded and read as a table.
TEST(TableReader, ReadsWhatSpreadsheetsWrite)
{
    const std::string utf16le("\xFF\xFE"
                              "R\0"
                              ";\0"
                              "\xE9\0"
                              "\r\0\n\0"
                              "a\0;\0b\0",
                              18);
    const std::string utf16be("\xFE\xFF\0R\0\t\0\xE9\xD8\x3D\xDE\x00", 12);
    struct Case {
        std::string bytes;
        TextEncoding encoding;
        char separator;
        Rows rows;
    } cases[] = {
        // French Excel: semicolons, Windows-1252, CR LF, quotes doubled inside quoted fields.
        {"Question;R\xE9ponse\r\n\"Qui a dit \"\"non\"\" ?\";Ulysse\r\n",
         TextEncoding::WINDOWS_1252,
         ';',
         {{"Question", "R\xC3\xA9ponse"}, {"Qui a dit \"non\" ?", "Ulysse"}}},
        // LibreOffice: commas, UTF-8 with a byte-order mark, a separator inside quotes, no final line end.
        {"\xEF\xBB\xBFquestion,r\xC3\xA9ponse\n\"Paris, France\",x",
         TextEncoding::UTF8,
         ',',
         {{"question", "r\xC3\xA9ponse"}, {"Paris, France", "x"}}},
        // As many tabs as semicolons in the header: Excel's "Texte (séparateur : tabulation)".
        {"q\tr;1\nx\ty\n", TextEncoding::UTF8, '\t', {{"q", "r;1"}, {"x", "y"}}},
        // Tab-separated text, a tab winning over the commas of the header's texts; blank rows skipped,
        // before the header too.
        {"\r\na, b\tc\n\n\t \nd\te\n", TextEncoding::UTF8, '\t', {{"a, b", "c"}, {"d", "e"}}},
        // A lone CR ends a line too; a single column has no separator at all.
        {"r\xC3\xA9ponse\rParis\r", TextEncoding::UTF8, ';', {{"r\xC3\xA9ponse"}, {"Paris"}}},
        {utf16le, TextEncoding::UTF16_LE, ';', {{"R", "\xC3\xA9"}, {"a", "b"}}},
        {utf16be, TextEncoding::UTF16_BE, '\t', {{"R", "\xC3\xA9\xF0\x9F\x98\x80"}}},
    };
    for (const Case& c : cases) {
        const DecodedText text = DecodeTextFile(c.bytes);
        ASSERT_TRUE(text.ok) << c.bytes;
        EXPECT_EQ(text.encoding, c.encoding) << c.bytes;
        const TableRead table = ReadTable(text.utf8);
        ASSERT_TRUE(table.ok) << table.error;
        EXPECT_EQ(table.separator, c.separator) << c.bytes;
        EXPECT_EQ(FieldsOf(table), c.rows) << c.bytes;
    }
}

TEST(TableReader, RefusesWhatIsNoTable)
{
    struct Case {
        std::string bytes;
        int line; // 0: refused as text already (UTF-16 that breaks off is the source reader's test)
    } cases[] = {
        {std::string("PK\3\4\0\0", 6), 0}, // a binary file (a workbook, not its text)
        {"q;r\n\"deux\nlignes\";x\n", 2},  // a line break inside a quoted field
        {"q;r\n\na;b\n\"jamais ferm\xC3\xA9", 4},
    };
    for (const Case& c : cases) {
        const DecodedText text = DecodeTextFile(c.bytes);
        if (c.line == 0) {
            EXPECT_FALSE(text.ok) << c.bytes;
            EXPECT_FALSE(text.error.empty());
            continue;
        }
        const TableRead table = ReadTable(text.utf8);
        EXPECT_FALSE(table.ok) << c.bytes;
        EXPECT_EQ(table.errorLine, c.line) << c.bytes;
        EXPECT_FALSE(table.error.empty()) << c.bytes;
    }
}

QuizDraft Draft(const std::string& csv, const std::string& kind = "")
{
    return DraftFromTable(ReadTable(csv), {"Titre", kind});
}

TEST(QuizDraft, ColumnsGiveTheQuizItsShape)
{
    struct Case {
        std::string csv;
        std::string kind;
        int32_t mediaKind;
        int32_t answers;
        int32_t reveal;
    } cases[] = {
        {"  QUESTION ; Reponse\nq;a\n", "", MEDIA_TEXT, 1, REVEAL_NOTHING},
        {"texte;r\xC3\xA9ponse 1;R\xC3\x89PONSE 2;texte d\xC3\xA9voil\xC3\xA9\nq;a;b;t\n", "", MEDIA_TEXT, 2,
         REVEAL_TEXT},
        {"image;r\xC3\xA9ponse;image d\xC3\xA9voil\xC3\xA9"
         "e\nx.JPG;a;y.jpg\n",
         "", MEDIA_PICTURE, 1, REVEAL_PICTURE},
        {"fichier;r\xC3\xA9ponse;Texte Devoile;Image devoilee\n;a;;\ndo.MP3;b;;\n", "", MEDIA_AUDIO, 1,
         REVEAL_TEXT_AND_PICTURE},
        {"fichier;r\xC3\xA9ponse\nc.AVI;a\n", "", MEDIA_VIDEO, 1, REVEAL_NOTHING},
        {"fichier;r\xC3\xA9ponse\nc.avi;a\n", "picture", MEDIA_PICTURE, 1, REVEAL_NOTHING},
        // A file without a known extension is taken for a picture.
        {"image;r\xC3\xA9ponse\nphoto;a\nsous.dossier/photo;b\n", "", MEDIA_PICTURE, 1, REVEAL_NOTHING},
    };
    for (const Case& c : cases) {
        const QuizDraft draft = Draft(c.csv, c.kind);
        EXPECT_FALSE(draft.HasErrors()) << c.csv;
        EXPECT_EQ(draft.quiz.mediaKind, c.mediaKind) << c.csv;
        EXPECT_EQ(draft.quiz.answersPerQuestion, c.answers) << c.csv;
        EXPECT_EQ(draft.quiz.revealMode, c.reveal) << c.csv;
        EXPECT_FALSE(draft.quiz.questions.empty()) << c.csv;
    }
    const QuizDraft draft = Draft("question;note;r\xC3\xA9ponse 1;r\xC3\xA9ponse 2;autres r\xC3\xA9ponses;Autres "
                                  "R\xC3\xA9ponses 2\nQ ? ;x; Paris ;France; Paname || Lut\xC3\xA8"
                                  "ce |;\n");
    ASSERT_EQ(draft.quiz.questions.size(), 1u);
    // A row shorter than the header leaves the columns past its end empty.
    EXPECT_EQ(Draft("question;r\xC3\xA9ponse;image\nq;a\n").quiz.questions.at(0).picture, "");
    const QuizDraft revealed = Draft("r\xC3\xA9ponse;image d\xC3\xA9voil\xC3\xA9"
                                     "e\na;r.jpg\n");
    EXPECT_NE(WriteQuizSource(revealed.quiz, {"", true, "t.csv", "quiz.toml"}).find("answer_picture = \"r.jpg\""),
              std::string::npos);
    const SourceQuestion& question = draft.quiz.questions[0];
    EXPECT_EQ(question.line, 2);
    EXPECT_EQ(question.text, "Q ?");
    EXPECT_EQ(question.answers[0], "Paris");
    EXPECT_EQ(question.answers[1], "France");
    EXPECT_EQ(question.variants[0], (std::vector<std::string>{"Paname", "Lut\xC3\xA8"
                                                                        "ce"}));
    EXPECT_TRUE(question.variants[1].empty());
    // The unknown column, then the second answers that a text quiz never asks.
    ASSERT_EQ(draft.diagnostics.size(), 2u);
    EXPECT_TRUE(draft.diagnostics[0].warning && draft.diagnostics[1].warning);
    EXPECT_NE(draft.diagnostics[0].message.find("note"), std::string::npos);
    EXPECT_NE(draft.diagnostics[1].message.find("quiz texte"), std::string::npos);
}

TEST(QuizDraft, ProblemsComeWithTheirLines)
{
    struct Case {
        std::string csv;
        bool error;
        int line;
        std::string fragment;
    } cases[] = {
        {"", true, 0, "vide"},
        {"question;texte\nq;t\n", true, 1, "r\xC3\xA9ponse"},
        {"question;r\xC3\xA9ponse\n", true, 1, "aucune question"},
        {"question;r\xC3\xA9ponse\nq;a\nq;a;b\n", true, 3, "3 champs"},
        {"r\xC3\xA9ponse\n\xE2\x89\xA0\n", false, 2, "U+2260"},
        {"r\xC3\xA9ponse;r\xC3\xA9ponse 2\na;" + std::string(300, 'x') + "\n", false, 2,
         "r\xC3\xA9ponse 2 : 300 octets"},
        {"r\xC3\xA9ponse;image\na;\"x\ty.jpg\"\n", true, 2, "x\ty.jpg : le nom de fichier contient une tabulation"},
        {"r\xC3\xA9ponse\na|b\n", false, 2, "\xC2\xAB | \xC2\xBB est interdit"},
        {"r\xC3\xA9ponse;autres r\xC3\xA9ponses\na;b|\xE2\x89\xA0\n", false, 2, "U+2260"},
        {"r\xC3\xA9ponse;autres r\xC3\xA9ponses 2\na;b\n", false, 1, "sans colonne \xC2\xAB r\xC3\xA9ponse 2"},
        {"r\xC3\xA9ponse\na\n", true, 0, "--kind"},
    };
    for (const Case& c : cases) {
        const QuizDraft draft = Draft(c.csv, c.fragment == "--kind" ? "photo" : "");
        ASSERT_FALSE(draft.diagnostics.empty()) << c.csv;
        const Diagnostic& first = draft.diagnostics.front();
        EXPECT_EQ(draft.HasErrors(), c.error) << c.csv;
        EXPECT_EQ(first.line, c.line) << c.csv;
        EXPECT_NE(first.message.find(c.fragment), std::string::npos) << first.message;
    }
}

TEST(QuizDraft, PictureFolderGivesOneQuestionPerFileInNaturalOrder)
{
    const QuizDraft draft = DraftFromPictureFolder(
        {"10.jpg", "Zoo.jpg", "Paris-reponse.jpg", "01 - Mont Saint-Michel.JPG", "notes.txt", "2_tour_eiffel.png",
         "paris.gif", "1984.bmp", "00.jpg", "arc.jpg", "orphelin-r\xC3\xA9ponse.jpg", "0.jpg", "3. Ch\xC3\xA2teau.tif"},
        {"Monuments", ""});
    ASSERT_FALSE(draft.HasErrors());
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"0", ""},
        {"00", ""},
        {"Mont Saint-Michel", ""},
        {"tour eiffel", ""},
        {"Ch\xC3\xA2teau", ""},
        {"10", ""},
        {"1984", ""},
        {"arc", ""},
        {"paris", "Paris-reponse.jpg"},
        {"Zoo", ""},
    };
    ASSERT_EQ(draft.quiz.questions.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(draft.quiz.questions[i].answers[0], expected[i].first);
        EXPECT_EQ(draft.quiz.questions[i].answerPicture, expected[i].second);
    }
    EXPECT_EQ(draft.quiz.mediaKind, MEDIA_PICTURE);
    EXPECT_EQ(draft.quiz.revealMode, REVEAL_PICTURE);
    ASSERT_EQ(draft.diagnostics.size(), 1u);
    EXPECT_NE(draft.diagnostics[0].message.find("orphelin"), std::string::npos);

    EXPECT_TRUE(DraftFromPictureFolder({"a.mp3", "b.jpg"}, {"x", ""}).HasErrors());
    EXPECT_TRUE(DraftFromPictureFolder({"notes.txt"}, {"x", ""}).HasErrors());
    EXPECT_EQ(DraftFromPictureFolder({"a.jpg"}, {"x", "audio"}).quiz.questions.size(), 0u); // not an audio file
    EXPECT_EQ(DraftFromPictureFolder({"a.jpg"}, {"x", "picture"}).quiz.questions.size(), 1u);
    EXPECT_TRUE(DraftFromPictureFolder({"\xE2\x82\xAC\xE2\x89\xA0.jpg"}, {"x", ""}).diagnostics[0].warning);
}

} // namespace
