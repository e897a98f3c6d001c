#include <gtest/gtest.h>

#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "authoring/cp1252.h"
#include "authoring/grade_table.h"
#include "authoring/media_format.h"
#include "authoring/paths.h"
#include "authoring/picture_pixels.h"
#include "authoring/quiz_payload.h"
#include "authoring/quiz_source.h"
#include "authoring/quiz_writer.h"
#include "content/lzw.h"
#include "content/quiz_shape.h"

TEST(Cp1252, ConvertsBothWaysAndNamesTheFirstMissingCharacter)
{
    // Two- and three-byte sequences, and a byte that the code page leaves undefined, both ways.
    const std::string utf8 = "Cha\xC3\xAEne \xE2\x82\xAC \xC5\x93 \xE2\x80\x99 \xC2\x81";
    const Cp1252Result converted = Utf8ToCp1252(utf8);
    EXPECT_TRUE(converted.ok && converted.text == "Cha\xEEne \x80 \x9C \x92 \x81" &&
                Cp1252ToUtf8(converted.text) == utf8);
    // What cannot be converted, and where: missing characters, cut, overlong and other bad sequences.
    const std::pair<std::string, size_t> refused[] = {
        {"ab\xE2\x89\xA0", 2}, {"a\xF0\x9F\x98\x80", 1}, {"\xC3", 0}, {"x\xC3(", 1},      {"\xC0\xA9", 0},
        {"ab\xED\xA0\x80", 2}, {"\xF4\x90\x80\x80", 0},  {"\xFF", 0}, {"\xE0\x80\x80", 0}};
    for (const auto& [utf8, offset] : refused) {
        const Cp1252Result result = Utf8ToCp1252(utf8);
        EXPECT_TRUE(!result.ok && result.text.empty() && result.errorOffset == offset) << utf8;
    }
    // The smallest code point of each length is no overlong form.
    EXPECT_EQ(InvalidUtf8Offset("\xC2\x80\xE0\xA0\x80\xF0\x90\x80\x80"), std::string::npos);
}

TEST(MediaFormat, FirstBytesTellTheFormat)
{
    EXPECT_TRUE(PlayerReadsPicture(MediaFormat::GIF) && PlayerReadsPicture(MediaFormat::BMP) &&
                !PlayerReadsPicture(MediaFormat::PNG));
    // Each format, then files of it; not MP3: layers II and I, free-form and invalid bit rates, the
    // reserved version, a cut frame header.
    const std::vector<std::string> formats[] = {{"JPEG", "\xFF\xD8\xFF\xE0rest"},
                                                {"GIF", "GIF87a....", "GIF89a...."},
                                                {"BMP", "BM" + std::string(24, '\0')},
                                                {"PNG", "\x89PNG\r\n\x1A\n...."},
                                                {"TIFF", std::string("II*\0", 4), std::string("MM\0*", 4)},
                                                {"AVI", std::string("RIFF\x10\0\0\0AVI LIST", 16)},
                                                {"MP3", "ID3\x03\0", "\xFF\xFB\x90\x64", "\xFF\xF3\x18\xC4"},
                                                {"", "BM" + std::string(23, '\0'),
                                                 std::string("RIFF\x10\0\0\0WAVEfmt ", 16), "\xFF\xFD\x90\x64",
                                                 "\xFF\xFF\x90\x64", std::string("\xFF\xFB\x00\x64", 4),
                                                 "\xFF\xFB\xF0\x64", "\xFF\xEB\x90\x64", "\xFF\xFB\x90", "hello"}};
    const char* const names[] = {"", "JPEG", "GIF", "BMP", "PNG", "TIFF", "MP3", "AVI"};
    for (const std::vector<std::string>& row : formats) {
        for (size_t i = 1; i < row.size(); ++i)
            EXPECT_EQ(names[static_cast<int>(SniffMediaFormat(row[i]))], row[0]) << i;
    }
    // A picture too large keeps its shape, its longer side on the limit, and never loses a side.
    const PixelSize fits[][2] = {{{520, 300}, {520, 300}},
                                 {{1040, 300}, {520, 150}},
                                 {{300, 1041}, {149, 520}},
                                 {{5000, 4}, {520, 1}},
                                 {{4, 5000}, {1, 520}}};
    for (const auto& [size, fitted] : fits) {
        const PixelSize got = FitPicture(size, 520);
        EXPECT_TRUE(got.width == fitted.width && got.height == fitted.height) << size.width << "x" << size.height;
    }
}

TEST(MediaFormat, SymbolTablePointerIsClearedOnlyInAPeImage)
{
    // The COFF header's 24 bytes end the image exactly.
    std::string image(0x98, '\x5A');
    image.replace(0, 2, "MZ");
    image.replace(0x3C, 4, std::string("\x80\0\0\0", 4));
    image.replace(0x80, 4, std::string("PE\0\0", 4));
    std::string cleared = image;
    ASSERT_TRUE(ClearCoffSymbolTable(cleared));
    EXPECT_EQ(cleared, image.substr(0, 0x8C) + std::string(8, '\0') + image.substr(0x94));
    std::string notPe = image, pastEnd = image, tooShort = image.substr(0, 0x97), tiny = "MZ";
    notPe[0x81] = 'X';
    pastEnd[0x3D] = 0x7F;
    for (std::string* bad : {&notPe, &pastEnd, &tooShort, &tiny})
        EXPECT_FALSE(ClearCoffSymbolTable(*bad));
}

TEST(PicturePixels, TransparencyLandsOnWhiteAndReductionAveragesTheCoveredArea)
{
    // Three pixels of the size, and one more that lies past it.
    const std::vector<uint8_t> bgra = {10, 20, 30, 255, 10, 20, 30, 0, 0, 0, 200, 128, 1, 2, 3, 4};
    EXPECT_EQ(FlattenOnWhite(bgra, {3, 1}), (std::vector<uint8_t>{10, 20, 30, 255, 255, 255, 127, 127, 227}));
    // 4 x 2 pixels: a black and a white column pair in each half.
    const std::vector<uint8_t> bgr = {0, 0, 0, 255, 255, 255, 0,   0,   0,   0,   0,   0,
                                      0, 0, 0, 255, 255, 255, 255, 255, 255, 255, 255, 255};
    EXPECT_EQ(ScaleDownBgr(bgr, {4, 2}, {2, 1}), std::vector<uint8_t>(6, 128));
    EXPECT_EQ(ScaleDownBgr(bgr, {4, 2}, {4, 2}), bgr);
    // A 3 x 3 ramp into 2 x 2: uneven areas still cover every source pixel once.
    std::vector<uint8_t> ramp;
    for (int i = 0; i < 9; ++i)
        ramp.insert(ramp.end(), 3, static_cast<uint8_t>(i * 10));
    EXPECT_EQ(ScaleDownBgr(ramp, {3, 3}, {2, 2}), (std::vector<uint8_t>{0, 0, 0, 15, 15, 15, 45, 45, 45, 60, 60, 60}));
}

// Variants after "|" (the empty one left out), and the same table with accents forgiven.
TEST(GradeTable, OneVerdictPerLineOrAnErrorNamingItsLine)
{
    const std::string table = "\xEF\xBB\xBFParis\t  paris \r\nParis\tPrais\n\nGrand Canal\td Canal\n"
                              "\xC3\x89t\xC3\xA9\tEte\r\nPomme-de-terre nouvelle\tPomme de terre nouvele\n"
                              "Charles de Gaulle|De Gaulle\tde gaule\nParis||\tx\nLe Chat\tchat\tle";
    const GradeTableResult strict = GradeTable(table, false), forgiven = GradeTable(table, true);
    EXPECT_TRUE(strict.ok) << strict.error;
    EXPECT_EQ(strict.verdicts, "BRAVO\nAnagramme\n\npas loin\nPresque\ny a de l'id\xC3\xA9"
                               "e\nQuasiment\nFAUX\nFAUX\n");
    EXPECT_EQ(forgiven.verdicts.substr(0, 35), "BRAVO\nAnagramme\n\npas loin\nBRAVO\ny a");
    EXPECT_FALSE(GradeTable("a\tb\nsans tabulation\n", false).ok);
    EXPECT_EQ(GradeTable("a\tb\nsans tabulation\n", false).error.substr(0, 10), "ligne 2 : ");
    EXPECT_EQ(GradeTable("a\tb\r\n\r\nx\t\xE2\x89\xA0\n", false).error.substr(0, 10), "ligne 3 : ");
}

TEST(Paths, SourceRelativeNamesResolveFromTheSourcesFolder)
{
    // Each source, then pairs of a name written in it and where that name leads.
    const std::vector<std::string> sources[] = {{"quiz.toml", "images/a.jpg", "images/a.jpg"},
                                                {"demo/quiz.toml", "images/a.jpg", "demo/images/a.jpg",
                                                 "D:\\img\\a.jpg", "D:\\img\\a.jpg", "z:a.jpg", "z:a.jpg", "1:a.jpg",
                                                 "demo/1:a.jpg", "\\\\serveur\\a.jpg", "\\\\serveur\\a.jpg"},
                                                {"C:\\quiz\\q.toml", "a.jpg", "C:\\quiz/a.jpg"},
                                                {"C:q.toml", "a.jpg", "C:a.jpg"},
                                                {"/q.toml", "a.jpg", "/a.jpg"}};
    for (const std::vector<std::string>& row : sources) {
        for (size_t i = 1; i + 1 < row.size(); i += 2)
            EXPECT_EQ(ResolvePath(DirectoryOf(row[0]), row[i]), row[i + 1]) << row[0] << " + " << row[i];
    }
    for (const auto& [name, extracted] : {std::pair<const char*, bool>{"question-01.jpg", true},
                                          {"reponse-12", true},
                                          {"question-1.jpg", false},
                                          {"question-012.jpg", false},
                                          {"photo.jpg", false}})
        EXPECT_EQ(IsExtractedMediaName(name), extracted) << name;
    // And back: a target as seen from a folder, both absolute, drive letters in either case.
    const char* relative[][3] = {{"C:\\quiz", "C:\\quiz\\images", "images"},  {"C:\\quiz\\", "c:\\QUIZ", ""},
                                 {"C:\\quiz\\a", "C:\\quiz\\b\\c", "../b/c"}, {"C:\\quiz\\A", "C:\\quiz\\a\\c", "c"},
                                 {"C:\\quiz", "D:\\photos", "D:\\photos"},    {"C:\\quiz\\sources", "C:\\", "../.."}};
    for (const auto& c : relative)
        EXPECT_EQ(RelativePath(c[0], c[1]), c[2]) << c[0] << " " << c[1];
}

// The codec on vectors hands out what was decoded before a failure; only the encoder's input is
// limited, and the stream of 65535 bytes that barely compress, well over 65535 bytes, decodes.
TEST(QuizPayload, StreamsLongerThanTheEncodersInputDecode)
{
    EXPECT_TRUE(LzwResultName(LZW_BAD_CODE) == "LZW_BAD_CODE" && LzwResultName(-99) == "LZW_-99");
    Bytes noise(LZW_MAX_INPUT), stream, decoded = {1};
    EXPECT_TRUE(LzwDecodeBytes({0x30, 0x98, 0x8C}, &decoded) == LZW_INPUT_EXHAUSTED && decoded == Bytes{'a'});
    EXPECT_TRUE(LzwDecodeBytes({}, &decoded) == LZW_INPUT_EXHAUSTED && decoded.empty());
    EXPECT_TRUE(LzwEncodeBytes({}, &stream) == LZW_INPUT_EXHAUSTED && stream.empty());
    EXPECT_EQ(LzwEncodeBytes(Bytes(70000, 'a'), &stream), LZW_INPUT_TOO_LARGE);
    uint32_t state = 12345;
    for (unsigned char& byte : noise)
        byte = static_cast<unsigned char>((state = state * 1103515245u + 12345u) >> 24);
    ASSERT_EQ(LzwEncodeBytes(noise, &stream), 0);
    ASSERT_GT(stream.size(), noise.size());
    EXPECT_EQ(LzwDecodeBytes(stream, &decoded), 0);
    EXPECT_EQ(decoded, noise);
}

namespace {

// Lines 1 to 16 of a picture quiz with two answers, some with variants, reveal texts and pictures.
const std::string VALID_SOURCE =
    "title = \"Capitales d'Europe\"\ncreator = \"Camille\"\nkind = \"picture\"\nanswers_per_question = 2\n"
    "answer_labels = [\"Ville\", \"Pays\"]\nreveal = \"text+picture\"\ncolour = \"#af0F9A\"\n"
    "codes = [\"BRONZE\", \"ARGENT\"]\n[[question]]\nanswers = [[\"Paris\", \"Paname\"], \"France\"]\n"
    "picture = \"images/paris.jpg\"\nreveal_text = \"La Ville Lumi\xC3\xA8re\"\n"
    "answer_picture = \"images/paris-reponse.jpg\"\n[[question]]\n"
    "answers = [\"Bruxelles\", [\"Belgique\", \"Belgi\xC3\xAB\", \"Belgien\"]]\n"
    "picture = \"images/bruxelles.jpg\"\n";

std::string Repeat(const std::string& text, int count)
{
    return count > 0 ? text + Repeat(text, count - 1) : "";
}

// ", " and count variants of length bytes, all different: "v1...", "v2...".
std::string Variants(int count, size_t length)
{
    std::string list;
    for (int i = 1; i <= count; ++i) {
        const std::string number = "v" + std::to_string(i);
        list += ", \"" + number + std::string(length - number.size(), '.') + "\"";
    }
    return list;
}

// Where a diagnostic lies: "q2.answer1", "code3", "title", "" for the file as a whole.
std::string PlaceOf(const SourcePlace& place)
{
    const char* const fields[] = {
        "",        "title",       "creator",        "explanation", "kind",    "answers_per_question",
        "label",   "reveal",      "colour",         "code",        "answer",  "text",
        "picture", "reveal_text", "answer_picture", "accents",     "variants"};
    const char* field = fields[static_cast<int>(place.field)];
    const std::string question = place.question ? "q" + std::to_string(place.question) + (*field ? "." : "") : "";
    return question + field + (place.number ? std::to_string(place.number) : "");
}

// Every diagnostic as "line:E:place:message" or "line:W:place:message", one a line.
std::string Diagnostics(const SourceParse& parse)
{
    std::string all;
    for (const Diagnostic& d : parse.diagnostics)
        all += std::to_string(d.line) + (d.warning ? ":W:" : ":E:") + PlaceOf(d.place) + ":" + d.message + "\n";
    return all;
}

} // namespace

// A valid source gives the player's content and codes, and the files and lines of its questions.
TEST(QuizSource, ValidSourceGivesThePlayersContent)
{
    const SourceParse parse = ParseQuizSource(VALID_SOURCE);
    ASSERT_EQ(Diagnostics(parse), "");
    const std::vector<SourceQuestion>& questions = parse.quiz.questions;
    ASSERT_EQ(questions.size(), 2u);
    EXPECT_EQ(questions[0].picture + "|" + questions[0].answerPicture + "|" + questions[1].answerPicture,
              "images/paris.jpg|images/paris-reponse.jpg|");
    EXPECT_TRUE(questions[0].line == 9 && questions[0].pictureLine == 11 && questions[0].answerPictureLine == 13);
    EXPECT_EQ(questions[1].line, 14);
    QuizPayloads payloads;
    std::string error;
    ASSERT_TRUE(MakeQuizPayloads(parse.quiz, &payloads, &error)) << error;
    EXPECT_EQ(std::string(payloads.content.begin(), payloads.content.end()),
              std::string("\0\x02\x02\x02", 4) + "Capitales d'Europe|Camille||Ville|Pays|Paris|France||Bruxelles|"
                                                 "Belgique||\x03La Ville Lumi\xE8re||||\xAF\x0F\x9A");
    EXPECT_EQ(std::string(payloads.codes.begin(), payloads.codes.end()), "BRONZE\r\nARGENT\r\n");
    // Variants in box order, after the version, the options and the number of boxes.
    Bytes accepted;
    QuizSource quiz = parse.quiz;
    quiz.accentsForgiven = true;
    ASSERT_TRUE(MakeAcceptedPayload(quiz, &accepted, &error)) << error;
    EXPECT_EQ(std::string(accepted.begin(), accepted.end()),
              std::string("\1\1\4\1Paname|\0\0\2Belgi\xEB|Belgien|", 29));
    // A quiz without either carries none.
    for (SourceQuestion& question : quiz.questions)
        question.variants[0] = question.variants[1] = {};
    quiz.accentsForgiven = false;
    ASSERT_TRUE(MakeAcceptedPayload(quiz, &accepted, &error) && accepted.empty());
}

// Each source and the start of a diagnostic it gives (W: a warning, the source otherwise valid), if any.
TEST(QuizSource, ProblemsAreReportedWithTheirLine)
{
    const std::string head = "title = \"Quiz\"\nkind = \"text\"\n", h = head + "codes = [\"A\"]\n";
    const std::string q = "[[question]]\n", tq = q + "answers = [\"oui\"]\ntext = \"Vrai ?\"\n";
    const std::string bar = " : le caract\xC3\xA8re \xC2\xAB | \xC2\xBB est interdit",
                      character = " : le caract\xC3\xA8re \xC2\xAB ";
    const std::pair<std::string, std::string> cases[] = {
        {head + "[[question\n", "3:E::ligne de section"},
        {"kind = \"text\"\n" + tq, "0:E:title:il manque title"},
        {"title = \"\"\nkind = \"text\"\n" + tq, "1:E:title:title est vide"},
        {"title = \"x\"\n" + tq, "0:E:kind:il manque kind"},
        {"title = \"x\"\nkind = \"photo\"\n" + tq,
         "2:E:kind:kind doit valoir \"text\", \"picture\", \"audio\", \"video\"\n"},
        {h + "answers_per_question = 3\n" + tq, "4:E:answers_per_question:answers_per_question doit valoir 1 ou 2"},
        {h + "colour = \"35CBA3\"\n" + tq, "4:E:colour:colour doit"},
        {h + "creator = \"A|B\"\n" + tq, "4:E:creator:creator" + bar},
        {h + "explanation = \"x|\"\n" + tq, "4:E:explanation:explanation" + bar},
        {h + "answer_labels = [\"a\", \"b|\"]\n" + tq, "4:E:label2:la l\xC3\xA9gende 2" + bar},
        {h + "answer_labels = [\"a\", \"b\", \"c\"]\n" + tq, "4:E:label:answer_labels doit"},
        {h + "reveal = \"text\"\n" + tq + "reveal_text = \"r|\"\n", "8:E:q1.reveal_text:question 1, reveal_text" + bar},
        {h + "creator = \"\xE2\x82\xAC \xE2\x89\xA0\"\n" + tq,
         "4:E:creator:creator" + character + "\xE2\x89\xA0 \xC2\xBB (U+2260)"},
        {h + "creator = \"\xF0\x9F\x98\x80!\"\n" + tq,
         "4:E:creator:creator" + character + "\xF0\x9F\x98\x80 \xC2\xBB (U+1F600)"},
        {h + "explanation = \"" + Repeat("e", 260) + "\"\n" + tq,
         "4:E:explanation:explanation : 260 octets en Windows-1252"},
        // The limit counts bytes of code page 1252, not of UTF-8.
        {h + "explanation = \"" + Repeat("\xC3\xA9", 259) + "\"\n" + tq, ""},
        {h + "explanation = \"a\\nb\"\n" + tq, "4:E:explanation:explanation : un saut de ligne est interdit"},
        {head + "codes = [\"OR\\r\"]\n" + tq, "3:E:code1:le code 1 : un saut de ligne"},
        {head + "codes = [\"A\", 5]\n" + tq, "3:E:code2:le code 2 doit \xC3\xAAtre une cha\xC3\xAEne"},
        // Codes travel in their own resource, ended by CR LF, so "|" is harmless there.
        {head + "codes = [\"A|B\"]\n" + tq, ""},
        {h + q + "answers = [\"A|B\"]\ntext = \"t\"\n",
         "5:E:q1.answer1:question 1, r\xC3\xA9ponse 1 : le caract\xC3\xA8re \xC2\xAB | \xC2\xBB"},
        {h + q + "answers = [\"oui\", \"non\"]\ntext = \"t\"\n",
         "5:E:q1.answer:question 1 : answers doit donner 1 r\xC3\xA9ponse ("},
        {head + "answers_per_question = 2\ncodes = [\"A\"]\n" + q + "answers = [\"a\"]\ntext = \"t\"\n",
         "6:E:q1.answer:question 1 : answers doit donner 2 r\xC3\xA9ponses ("},
        {h + q + "text = \"t\"\n", "4:E:q1.answer:question 1 : il manque answers"},
        {h + tq + q + "answers = [\"\"]\ntext = \"t\"\n",
         "8:E:q2.answer1:question 2, r\xC3\xA9ponse 1 : une r\xC3\xA9ponse vide"},
        {h + q + "answers = [\" Paris\"]\ntext = \"t\"\n", "5:W:q1.answer1:question 1, r\xC3\xA9ponse 1 : des espaces"},
        {h + q + "answers = [\"Paris\"]\n", "4:E:q1.text:question 1 : il manque text"},
        {h + q + "answers = [\"Paris\"]\ntext = \"\"\n", "6:E:q1.text:question 1 : text est vide"},
        {"title = \"x\"\nkind = \"video\"\ncodes = [\"A\"]\n" + q + "answers = [\"a\"]\ntext = \"\"\npicture = \"p\"\n",
         ""},
        {h + tq + "picture = \"p.jpg\"\n", "7:W:q1.picture:question 1 : un quiz texte n'affiche pas picture"},
        {h + tq + "reveal_text = \"r\"\n", "7:W:q1.reveal_text:question 1 : reveal_text ignor\xC3\xA9"},
        {h + tq + "answer_picture = \"r.jpg\"\n", "7:W:q1.answer_picture:question 1 : reveal ne montre pas d'image"},
        {h + tq + "anwsers = 1\n", "7:W:q1:question 1 : cl\xC3\xA9 inconnue \xC2\xAB anwsers \xC2\xBB"},
        {h + "titel = \"x\"\n" + tq, "4:W::cl\xC3\xA9 inconnue \xC2\xAB titel \xC2\xBB"},
        {"title = \"x\"\nkind = \"audio\"\ncodes = [\"A\"]\n" + q + "answers = [\"a\"]\n",
         "4:W:q1.picture:question 1 : pas de picture"},
        {h + "question = 3\n", "4:E::les questions s'"},
        {head, "0:E::aucune question"},
        {head + "codes = []\n" + Repeat(tq, 2), "3:W:code:0 code pour 2 questions : \xC3\xA0 partir d'un score de 1,"},
        {head + "codes = [\"A\", \"B\"]\n" + tq, "3:W:code:1 code en trop"},
        {head + Repeat(tq, 97), "291:E:q97:plus de 96 questions"},
        // Variants, after the stored answer in a list: refused where the player would never meet them.
        {h + q + "answers = [[]]\ntext = \"t\"\n", "5:E:q1.answer1:question 1, r\xC3\xA9ponse 1 : la liste est vide"},
        {h + q + "answers = [[\"Paris\", \"  \"]]\n", "5:E:q1.variants1:question 1, r\xC3\xA9ponse 1, variante 1 : une "
                                                      "variante vide"},
        {h + q + "answers = [[\"Paris\", \" PARIS\"]]\n", "5:E:q1.variants1:question 1, r\xC3\xA9ponse 1, variante 1 : "
                                                          "\xC2\xAB  PARIS \xC2\xBB est la r\xC3\xA9ponse attendue"},
        {h + q + "answers = [[\n\"Gen\xC3\xA8ve\",\n\"Genf\",\n\"GENF\"]]\n",
         "8:E:q1.variants1:question 1, r\xC3\xA9ponse 1, variante 2 : \xC2\xAB GENF \xC2\xBB r\xC3\xA9p\xC3\xA8te la "
         "variante 1 pour le lecteur, qui ignore les majuscules et les espaces autour"},
        {h + "accents = \"toleres\"\n" + q + "answers = [[\"Gen\xC3\xA8ve\", \"GENEVE\"]]\n",
         "6:E:q1.variants1:question 1, r\xC3\xA9ponse 1, variante 1 : \xC2\xAB GENEVE \xC2\xBB est la r\xC3\xA9ponse "
         "attendue elle-m\xC3\xAAme pour le lecteur, qui ignore les majuscules, les accents"},
        {h + "accents = \"tol\xC3\xA9r\xC3\xA9s\"\n" + q + "answers = [[\"\xC5\x92uf\", \"oeuf \"]]\n",
         "6:E:q1.variants1:question 1, r\xC3\xA9ponse 1, variante 1 : \xC2\xAB oeuf  \xC2\xBB est la"},
        {h + "accents = \"oui\"\n" + tq, "4:E:accents:accents doit valoir \"stricts\" ou \"tol\xC3\xA9r\xC3\xA9s\""},
        {h + q + "answers = [[\"a\", \" b\"]]\ntext = \"t\"\n",
         "5:W:q1.variants1:question 1, r\xC3\xA9ponse 1, variante 1 : des espaces"},
        {"title = \"x\"\nkind = \"picture\"\nanswers_per_question = 2\ncodes = [\"A\"]\n" + q +
             "answers = [[\"Paris\", \"Paname\"], [\"France\", \"\xE2\x82\xAC\xE2\x89\xA0\"]]\n",
         "6:E:q1.variants2:question 1, r\xC3\xA9ponse 2, variante 1" + character + "\xE2\x89\xA0"},
        {h + q + "answers = [[\"a\"" + Variants(256, 4) + "]]\n",
         "5:E:q1.variants1:question 1, r\xC3\xA9ponse 1 : plus de 255"},
        // Four bytes of header and box count, 252 variants of 259 bytes and their ends, then one that
        // brings the payload to 65,535 bytes exactly, or one byte past.
        {h + q + "answers = [[\"a\"" + Variants(252, 259) + ", \"" + Repeat("z", 10) + "\"]]\ntext = \"t\"\n", ""},
        {h + q + "answers = [[\"a\"" + Variants(252, 259) + ", \"" + Repeat("z", 11) + "\"]]\n",
         "5:E:q1.variants1:question 1, r\xC3\xA9ponse 1, variante 253 : les variantes du quiz d\xC3\xA9passent"}};
    for (const auto& [source, diagnostic] : cases) {
        const SourceParse parse = ParseQuizSource(source);
        const std::string all = Diagnostics(parse);
        EXPECT_TRUE(diagnostic.empty() ? all.empty() : ("\n" + all).find("\n" + diagnostic) != std::string::npos)
            << diagnostic << " in:\n"
            << all;
        EXPECT_EQ(parse.HasErrors(), diagnostic.find(":E:") != std::string::npos) << all;
    }
    EXPECT_EQ(FormatDiagnostic("q.toml", {false, 12, "m"}), "q.toml:12: erreur : m");
    EXPECT_EQ(FormatDiagnostic("q.toml", {true, 0, "m"}), "q.toml: attention : m");
    // Codes are one per question: missing ones empty, extra ones dropped. No more than 96 questions.
    EXPECT_EQ(ParseQuizSource(head + "codes = [\"OR\"]\n" + Repeat(tq, 3)).quiz.codes,
              (std::vector<std::string>{"OR", "", ""}));
    EXPECT_EQ(ParseQuizSource(head + "codes = [\"OR\", \"AR\"]\n" + tq).quiz.codes, std::vector<std::string>{"OR"});
    EXPECT_EQ(ParseQuizSource(head + Repeat(tq, 97)).quiz.questions.size(), 96u);
}

TEST(QuizPayload, WhatTheFormatCannotCarryIsRefused)
{
    QuizPayloads payloads;
    std::string error;
    QuizSource quiz = ParseQuizSource(VALID_SOURCE).quiz, back;
    ASSERT_TRUE(MakeQuizPayloads(quiz, &payloads, &error)) << error;
    QuizPayloads again = payloads; // made again into payloads already filled: the same
    ASSERT_TRUE(MakeQuizPayloads(quiz, &again, &error) && again.content == payloads.content) << error;
    ASSERT_TRUE(ReadQuizPayloads(payloads.content, {}, &back, &error)) << error;
    EXPECT_EQ(back.codes, std::vector<std::string>(2)); // a quiz without its codes resource
    EXPECT_FALSE(ReadQuizPayloads(Bytes(payloads.content.begin(), payloads.content.begin() + 20), {}, &back, &error));
    EXPECT_FALSE(error.empty());

    quiz.questions.resize(MAX_QUESTIONS, quiz.questions[0]);
    for (SourceQuestion& question : quiz.questions)
        question.answers[0] = question.answers[1] = question.text = question.revealText = std::string(259, 'x');
    EXPECT_FALSE(MakeQuizPayloads(quiz, &payloads, &error));
    EXPECT_EQ(error.substr(0, 16), "le contenu fait ");
    EXPECT_NE(error.find("le maximum est 65535"), std::string::npos) << error;
    quiz.questions.resize(MAX_QUESTIONS + 1);
    EXPECT_FALSE(MakeQuizPayloads(quiz, &payloads, &error));
    EXPECT_EQ(error, "plus de 96 questions");
}

namespace {

// What a maker may type, the characters the player cannot hold and those TOML must escape included.
const uint32_t CHARACTERS[] = {'a',  'Z', '7',  ' ', 0xE9, 0x20AC, 0x153, 0xAB, '"',  '\\',   '\'',
                               '\t', '|', '\n', '#', '[',  '=',    1,     0x7F, 0x81, 0x2260, 0x1F600};
const uint32_t NAME_CHARACTERS[] = {'a', '_', ' ', 0xE9, '/', '\\', '\'', '"', '.'};

template <size_t N> std::string RandomText(std::mt19937& random, const uint32_t (&characters)[N])
{
    std::string text;
    for (unsigned count = random() % 6; count > 0; --count)
        AppendUtf8(text, characters[random() % N]);
    return text;
}

QuizSource RandomQuiz(std::mt19937& random)
{
    QuizSource quiz;
    quiz.mediaKind = static_cast<int32_t>(random() % 4);
    quiz.answersPerQuestion = 1 + static_cast<int32_t>(random() % 2);
    quiz.revealMode = static_cast<int32_t>(random() % 4);
    quiz.accentsForgiven = random() % 2;
    quiz.red = static_cast<uint8_t>(random()), quiz.green = static_cast<uint8_t>(random());
    quiz.blue = static_cast<uint8_t>(random());
    for (std::string* text :
         {&quiz.title, &quiz.creator, &quiz.explanation, &quiz.answerLabels[0], &quiz.answerLabels[1]})
        *text = RandomText(random, CHARACTERS);
    for (unsigned count = 1 + random() % 4; count > 0; --count) {
        SourceQuestion question;
        for (int i = 0; i < quiz.answersPerQuestion; ++i) {
            question.answers[i] = RandomText(random, CHARACTERS);
            if (random() % 2)
                question.variants[i] = {RandomText(random, CHARACTERS)};
        }
        question.text = RandomText(random, CHARACTERS);
        question.revealText = RevealsText(quiz.revealMode) ? RandomText(random, CHARACTERS) : "";
        question.picture = RandomText(random, NAME_CHARACTERS);
        question.answerPicture = RandomText(random, NAME_CHARACTERS);
        quiz.questions.push_back(question);
        quiz.codes.push_back(RandomText(random, CHARACTERS));
    }
    return quiz;
}

} // namespace

// What the writer writes parses back into the quiz it wrote, whatever its texts hold: an editor saves
// the source that check reads. A quiz the player can hold, taken back out of its payloads as extract
// does, builds the same payloads, its variants and accent option included: the examples, a quiz with
// variants and strict accents, the same forgiving accents with texts that hold every character of the
// player's code page, and random quizzes. The writer writes every value of a quiz, so it serves to compare them.
TEST(QuizWriter, WhatItWritesParsesBackIntoTheSameQuizAndContent)
{
    std::vector<QuizSource> quizzes(2, ParseQuizSource(VALID_SOURCE).quiz);
    // A quiz without codes is written without a word of check; a first caption alone is kept.
    quizzes[0].codes.clear();
    quizzes[0].answerLabels[1].clear();
    EXPECT_TRUE(ParseQuizSource(WriteQuizSource(quizzes[0])).diagnostics.empty());
    quizzes[1].accentsForgiven = true;
    for (int c = 1; c < 0x100; ++c)
        if (c != '|' && c != '\r' && c != '\n')
            quizzes[1].questions[1].text += Cp1252ToUtf8(std::string(1, static_cast<char>(c)));
    for (const char* example : {"demo", "texte", "audio", "video"}) {
        std::ifstream file(std::string(ZELBO_SOURCE_DIR) + "/examples/" + example + "/quiz.toml", std::ios::binary);
        std::ostringstream source;
        source << file.rdbuf();
        const SourceParse parse = ParseQuizSource(source.str());
        ASSERT_FALSE(parse.HasErrors()) << example << "\n" << Diagnostics(parse);
        quizzes.push_back(parse.quiz);
    }
    std::mt19937 random(20240611);
    for (int i = 0; i < 300; ++i)
        quizzes.push_back(RandomQuiz(random));
    size_t extracted = 0;
    for (const QuizSource& quiz : quizzes) {
        const std::string written = WriteQuizSource(quiz);
        const SourceParse parse = ParseQuizSource(written);
        ASSERT_EQ(WriteQuizSource(parse.quiz), written) << Diagnostics(parse);
        QuizPayloads payloads, rebuilt;
        Bytes stream, content, accepted, acceptedAgain;
        QuizSource back;
        std::string error;
        if (parse.HasErrors() || !MakeQuizPayloads(quiz, &payloads, &error))
            continue;
        ASSERT_TRUE(MakeAcceptedPayload(quiz, &accepted, &error)) << error;
        // Accepted answers are written when accents are forgiven or a box has variants, and only then.
        bool varies = false;
        for (const SourceQuestion& question : quiz.questions)
            for (int p = 0; p < BoxesPerQuestion(quiz.mediaKind, quiz.answersPerQuestion); ++p)
                varies = varies || !question.variants[p].empty();
        EXPECT_EQ(accepted.empty(), !quiz.accentsForgiven && !varies) << written;
        ASSERT_TRUE(LzwEncodeBytes(payloads.content, &stream) == LZW_OK && LzwDecodeBytes(stream, &content) == LZW_OK);
        ASSERT_TRUE(ReadQuizPayloads(content, payloads.codes, &back, &error)) << error;
        ASSERT_TRUE(accepted.empty() || ReadAcceptedPayload(accepted, &back, &error)) << error;
        const SourceParse again = ParseQuizSource(WriteQuizSource(back));
        ASSERT_TRUE(!again.HasErrors() && MakeQuizPayloads(again.quiz, &rebuilt, &error) &&
                    MakeAcceptedPayload(again.quiz, &acceptedAgain, &error))
            << Diagnostics(again);
        EXPECT_TRUE(rebuilt.content == payloads.content && rebuilt.codes == payloads.codes) << written;
        EXPECT_EQ(acceptedAgain, accepted) << written;
        ++extracted;
    }
    EXPECT_GE(extracted, 5u);
    EXPECT_EQ(TomlQuote("a \"b\\c\t"), "\"a \\\"b\\\\c\\t\"");
    EXPECT_EQ(TomlQuote(std::string("\x01\x1F\x7F", 3)), "\"\\u0001\\u001F\\u007F\"");
    EXPECT_EQ(TomlQuote("\xC2\x81\xC3\xA9\xC2\xA0\xC2"), "\"\\u0081\xC3\xA9\xC2\xA0\xC2\"");
}
