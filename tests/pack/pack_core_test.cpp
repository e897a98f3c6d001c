#include <gtest/gtest.h>

#include <random>
#include <string>

#include "answers/grading.h"
#include "content/lzw.h"
#include "pack/command_line.h"
#include "pack/cp1252.h"
#include "pack/grade_table.h"
#include "pack/media_format.h"
#include "pack/paths.h"
#include "pack/picture_pixels.h"
#include "pack/quiz_payload.h"
#include "pack/quiz_source.h"

TEST(Cp1252, ConvertsBothWaysAndNamesTheFirstMissingCharacter)
{
    struct Case {
        std::string utf8;
        bool ok;
        std::string cp1252;
        size_t errorOffset;
    } cases[] = {
        {"Cha\xC3\xAEne", true, "Cha\xEEne", 0},
        {"\xE2\x82\xAC \xC5\x93 \xE2\x80\x99", true, "\x80 \x9C \x92", 0},
        {"ab\xE2\x89\xA0", false, "", 2},
        {"a\xF0\x9F\x98\x80", false, "", 1},
        {"\xC3", false, "", 0},
        {"\xC0\xA9", false, "", 0}, // overlong
    };
    for (const Case& c : cases) {
        const Cp1252Result result = Utf8ToCp1252(c.utf8);
        EXPECT_EQ(result.ok, c.ok) << c.utf8;
        if (c.ok) {
            EXPECT_EQ(result.text, c.cp1252);
            EXPECT_EQ(Cp1252ToUtf8(result.text), c.utf8);
        } else {
            EXPECT_EQ(result.errorOffset, c.errorOffset) << c.utf8;
        }
    }
    for (int byte = 1; byte < 256; ++byte) {
        const std::string one(1, static_cast<char>(byte));
        const Cp1252Result back = Utf8ToCp1252(Cp1252ToUtf8(one));
        ASSERT_TRUE(back.ok) << byte;
        EXPECT_EQ(back.text, one) << byte;
    }
}

TEST(MediaFormat, FirstBytesTellTheFormat)
{
    struct Case {
        std::string bytes;
        MediaFormat format;
    } cases[] = {
        {"\xFF\xD8\xFF\xE0rest", MediaFormat::JPEG},
        {"GIF89a....", MediaFormat::GIF},
        {"BM" + std::string(30, '\0'), MediaFormat::BMP},
        {"BM", MediaFormat::UNKNOWN},
        {"\x89PNG\r\n\x1A\n....", MediaFormat::PNG},
        {std::string("II*\0", 4), MediaFormat::TIFF},
        {std::string("RIFF\x10\0\0\0AVI LIST", 16), MediaFormat::AVI},
        {std::string("RIFF\x10\0\0\0WAVEfmt ", 16), MediaFormat::UNKNOWN},
        {"ID3\x03\0", MediaFormat::MP3},
        {"\xFF\xFB\x90\x64", MediaFormat::MP3},     // MPEG-1 layer III, 128 kbit/s
        {"\xFF\xF3\x48\xC4", MediaFormat::MP3},     // MPEG-2 layer III
        {"\xFF\xFD\x90\x64", MediaFormat::UNKNOWN}, // layer II
        {"\xFF\xFB\xF0\x64", MediaFormat::UNKNOWN}, // invalid bit rate
        {"\xFF\xEB\x90\x64", MediaFormat::UNKNOWN}, // reserved version
        {"", MediaFormat::UNKNOWN},
        {"hello", MediaFormat::UNKNOWN},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SniffMediaFormat(c.bytes), c.format) << c.bytes;
}

TEST(MediaFormat, LargePicturesShrinkToFitKeepingTheirShape)
{
    struct Case {
        PixelSize in;
        PixelSize out;
    } cases[] = {
        {{520, 520}, {520, 520}}, {{100, 50}, {100, 50}}, {{1040, 780}, {520, 390}}, {{600, 1200}, {260, 520}},
        {{521, 1}, {520, 1}},     {{5000, 3}, {520, 1}},  {{799, 601}, {520, 391}},
    };
    for (const Case& c : cases) {
        const PixelSize fitted = FitPicture(c.in, MAX_STORED_PICTURE_SIDE);
        EXPECT_EQ(fitted.width, c.out.width) << c.in.width << "x" << c.in.height;
        EXPECT_EQ(fitted.height, c.out.height) << c.in.width << "x" << c.in.height;
    }
}

TEST(MediaFormat, OnlyWhatThePlayerCannotReadOrWhatIsTooLargeIsReencoded)
{
    struct Case {
        MediaFormat format;
        PixelSize size;
        bool keep;
        PictureAction action;
    } cases[] = {
        {MediaFormat::JPEG, {520, 300}, false, PictureAction::KEEP},
        {MediaFormat::JPEG, {521, 300}, false, PictureAction::SCALE},
        {MediaFormat::JPEG, {300, 2000}, true, PictureAction::KEEP},
        {MediaFormat::GIF, {100, 100}, false, PictureAction::KEEP},
        {MediaFormat::PNG, {100, 100}, false, PictureAction::REENCODE},
        {MediaFormat::PNG, {2000, 100}, true, PictureAction::REENCODE},
        {MediaFormat::PNG, {2000, 100}, false, PictureAction::SCALE},
        {MediaFormat::TIFF, {10, 10}, true, PictureAction::REENCODE},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ChoosePictureAction(c.format, c.size, c.keep), c.action)
            << static_cast<int>(c.format) << " " << c.size.width << " keep=" << c.keep;
}

TEST(MediaFormat, TransparencyLandsOnWhite)
{
    EXPECT_EQ(BlendOnWhite(0, 0), 255);
    EXPECT_EQ(BlendOnWhite(0, 255), 0);
    EXPECT_EQ(BlendOnWhite(200, 255), 200);
    EXPECT_EQ(BlendOnWhite(0, 128), 127);
}

TEST(MediaFormat, SymbolTablePointerIsClearedOnlyInAPeImage)
{
    std::string image(0x200, '\x5A');
    image[0] = 'M', image[1] = 'Z';
    image[0x3C] = static_cast<char>(0x80), image[0x3D] = image[0x3E] = image[0x3F] = 0;
    image.replace(0x80, 4, std::string("PE\0\0", 4));
    ASSERT_TRUE(ClearCoffSymbolTable(image));
    EXPECT_EQ(image.substr(0x8C, 8), std::string(8, '\0'));
    EXPECT_EQ(image[0x8B], '\x5A'); // time stamp untouched
    EXPECT_EQ(image[0x94], '\x5A'); // optional header size untouched

    std::string notPe = image;
    notPe[0x81] = 'X';
    EXPECT_FALSE(ClearCoffSymbolTable(notPe));
    std::string pastEnd = image;
    pastEnd[0x3D] = 0x7F;
    EXPECT_FALSE(ClearCoffSymbolTable(pastEnd));
    std::string tiny = "MZ";
    EXPECT_FALSE(ClearCoffSymbolTable(tiny));
}

TEST(CommandLine, ArgumentsMakeCommands)
{
    const CommandLineParse build = ParsePackCommandLine(
        {"build", "q.toml", "-o", "out.exe", "--player", "p.exe", "--keep-pictures", "--jobs", "3"});
    ASSERT_TRUE(build.ok) << build.error;
    EXPECT_EQ(build.command.name, "build");
    EXPECT_EQ(build.command.operands, std::vector<std::string>{"q.toml"});
    EXPECT_EQ(build.command.output, "out.exe");
    EXPECT_EQ(build.command.player, "p.exe");
    EXPECT_TRUE(build.command.keepPictures);
    EXPECT_EQ(build.command.jobs, 3);

    const CommandLineParse grade = ParsePackCommandLine({"grade", "--", "-x", "-y"});
    ASSERT_TRUE(grade.ok) << grade.error;
    EXPECT_EQ(grade.command.operands, (std::vector<std::string>{"-x", "-y"}));

    const CommandLineParse help = ParsePackCommandLine({"extract", "--help"});
    ASSERT_TRUE(help.ok);
    EXPECT_TRUE(help.command.help);
    EXPECT_NE(PackHelpText(help.command.name).find("extract QUIZ.exe -o DOSSIER"), std::string::npos);
    EXPECT_NE(PackHelpText("").find("COMMANDE"), std::string::npos);
}

TEST(CommandLine, MistakesAreRefusedInFrench)
{
    struct Case {
        std::vector<std::string> arguments;
        std::string fragment;
    } cases[] = {
        {{"pack"}, "commande inconnue"},
        {{"encode", "a"}, "encode attend 2 arguments, 1 donn\xC3\xA9"},
        {{"grade", "--tsv"}, "grade attend 1 argument, 0"},
        {{"grade", "--tsv", "a", "b"}, "grade attend 1 argument"},
        {{"grade", "a"}, "grade attend 2 arguments"},
        {{"build", "q.toml"}, "demande -o"},
        {{"build", "q.toml", "-o"}, "attend un nom de fichier"},
        {{"extract", "q.exe", "-o", "d", "--keep-pictures"}, "option inconnue"},
        {{"check", "q.toml", "--tsv"}, "option inconnue"},
        {{"build", "q.toml", "-o", "o", "--jobs", "65"}, "--jobs attend un nombre de 1"},
    };
    for (const Case& c : cases) {
        const CommandLineParse parse = ParsePackCommandLine(c.arguments);
        EXPECT_FALSE(parse.ok) << c.fragment;
        EXPECT_NE(parse.error.find(c.fragment), std::string::npos) << parse.error;
    }
}

TEST(GradeTable, OneVerdictPerLine)
{
    const GradeTableResult result =
        GradeTable("\xEF\xBB\xBFParis\t  paris \r\nParis\tPrais\n\nGrand Canal\td Canal\n\xC3\x89"
                   "cole\tEcole\n"
                   "Le Chat\tchat\tle");
    ASSERT_TRUE(result.ok) << result.error;
    EXPECT_EQ(result.verdicts, "BRAVO\nAnagramme\n\npas loin\nQuasiment\nFAUX\n");
}

TEST(GradeTable, ErrorsNameTheirLine)
{
    const GradeTableResult noTab = GradeTable("a\tb\nsans tabulation\n");
    EXPECT_FALSE(noTab.ok);
    EXPECT_NE(noTab.error.find("ligne 2"), std::string::npos) << noTab.error;
    const GradeTableResult foreign = GradeTable("a\tb\r\n\r\nx\t\xE2\x89\xA0\n");
    EXPECT_FALSE(foreign.ok);
    EXPECT_NE(foreign.error.find("ligne 3"), std::string::npos) << foreign.error;
}

TEST(GradeTable, VerdictsAreTheGradersInUtf8)
{
    EXPECT_EQ(GradeToUtf8("Pomme-de-terre nouvelle", "Pomme de terre nouvele"), "y a de l'id\xC3\xA9"
                                                                                "e");
}

namespace {

QuizSource SampleQuiz(int32_t answersPerQuestion, int32_t revealMode)
{
    QuizSource quiz;
    quiz.title = "Capitales d'Europe";
    quiz.creator = "Camille";
    quiz.explanation = "Trouvez la capitale de chaque pays.";
    quiz.answerLabels[0] = "Ville";
    quiz.answerLabels[1] = answersPerQuestion == 2 ? "Pays" : "";
    quiz.mediaKind = MEDIA_PICTURE;
    quiz.answersPerQuestion = answersPerQuestion;
    quiz.revealMode = revealMode;
    quiz.red = 0x35, quiz.green = 0xCB, quiz.blue = 0xA3;
    const char* cities[][2] = {{"Paris", "France"}, {"Rome", "Italie"}, {"Lisbonne", "Portugal"}};
    for (auto& city : cities) {
        SourceQuestion question;
        question.answers[0] = city[0];
        question.answers[1] = answersPerQuestion == 2 ? city[1] : "";
        question.text = std::string("Capitale ") + city[1];
        question.revealText = revealMode >= REVEAL_TEXT ? std::string("Vue de ") + city[0] : "";
        quiz.questions.push_back(question);
        quiz.codes.push_back(std::string("CODE-") + city[0]);
    }
    quiz.codes[1].clear();
    return quiz;
}

} // namespace

TEST(QuizPayload, ContentBytesFollowThePlayersLayout)
{
    QuizPayloads payloads;
    std::string error;
    ASSERT_TRUE(MakeQuizPayloads(SampleQuiz(2, REVEAL_TEXT_AND_PICTURE), &payloads, &error)) << error;
    const std::string content(payloads.content.begin(), payloads.content.end());
    EXPECT_EQ(content.substr(1, 3), std::string("\x02\x03\x02", 3));
    const std::string start = "Capitales d'Europe|Camille|Trouvez la capitale de chaque pays.|Ville|Pays|Paris|France|";
    EXPECT_EQ(content.substr(4, start.size()), start);
    EXPECT_EQ(content.substr(content.size() - 4), std::string("|\x35\xCB\xA3", 4));
    EXPECT_NE(content.find(std::string("\x03Vue de Paris||Vue de Rome||", 28)), std::string::npos);
    const std::string codes(payloads.codes.begin(), payloads.codes.end());
    EXPECT_EQ(codes, "CODE-Paris\r\n\r\nCODE-Lisbonne\r\n");
}

TEST(QuizPayload, PayloadsReadBackAsTheSameQuiz)
{
    for (int32_t answers : {1, 2}) {
        for (int32_t reveal = 0; reveal < 4; ++reveal) {
            const QuizSource quiz = SampleQuiz(answers, reveal);
            QuizPayloads payloads;
            std::string error;
            ASSERT_TRUE(MakeQuizPayloads(quiz, &payloads, &error)) << error;
            Bytes encodedContent, encodedCodes, content, codes;
            ASSERT_EQ(LzwEncodeBytes(payloads.content, &encodedContent), 0);
            ASSERT_EQ(LzwEncodeBytes(payloads.codes, &encodedCodes), 0);
            ASSERT_EQ(LzwDecodeBytes(encodedContent, &content), 0);
            ASSERT_EQ(LzwDecodeBytes(encodedCodes, &codes), 0);
            EXPECT_EQ(content, payloads.content);

            QuizSource back;
            ASSERT_TRUE(ReadQuizPayloads(content, codes, &back, &error)) << error;
            QuizPayloads again;
            ASSERT_TRUE(MakeQuizPayloads(back, &again, &error)) << error;
            EXPECT_EQ(again.content, payloads.content) << answers << " " << reveal;
            EXPECT_EQ(again.codes, payloads.codes) << answers << " " << reveal;
            EXPECT_EQ(back.codes, quiz.codes);
            EXPECT_EQ(back.questions[2].answers[1], quiz.questions[2].answers[1]);
        }
    }
}

TEST(QuizPayload, MissingCodesGiveEmptyCodesAndBadContentIsRefused)
{
    QuizPayloads payloads;
    std::string error;
    ASSERT_TRUE(MakeQuizPayloads(SampleQuiz(1, REVEAL_NOTHING), &payloads, &error));
    QuizSource back;
    ASSERT_TRUE(ReadQuizPayloads(payloads.content, {}, &back, &error)) << error;
    EXPECT_EQ(back.codes, std::vector<std::string>(3));

    Bytes cut(payloads.content.begin(), payloads.content.begin() + 20);
    EXPECT_FALSE(ReadQuizPayloads(cut, {}, &back, &error));
    EXPECT_FALSE(error.empty());
}

TEST(QuizPayload, OversizedContentIsRefusedBeforeTheCodec)
{
    QuizSource quiz = SampleQuiz(2, REVEAL_TEXT_AND_PICTURE);
    quiz.questions.resize(96, quiz.questions[0]);
    for (SourceQuestion& question : quiz.questions)
        question.answers[0] = question.answers[1] = question.text = question.revealText = std::string(259, 'x');
    QuizPayloads payloads;
    std::string error;
    EXPECT_FALSE(MakeQuizPayloads(quiz, &payloads, &error));
    EXPECT_NE(error.find("65535"), std::string::npos) << error;
}

TEST(QuizPayload, CodecFailuresHaveTheirNames)
{
    EXPECT_EQ(LzwResultName(-7), "LZW_BAD_CODE");
    EXPECT_EQ(LzwResultName(-5), "LZW_INPUT_EXHAUSTED");
    EXPECT_EQ(LzwResultName(-99), "LZW_-99");
    Bytes out;
    EXPECT_EQ(LzwDecodeBytes({0x30, 0x98}, &out), -5);
    EXPECT_EQ(LzwEncodeBytes(Bytes(70000, 'a'), &out), -8);
}

TEST(QuizPayload, StreamsLongerThanTheEncodersInputDecode)
{
    // The largest input of bytes that barely compress codes to a stream well over 65535 bytes.
    Bytes noise(LZW_MAX_INPUT);
    uint32_t state = 12345;
    for (unsigned char& byte : noise)
        byte = static_cast<unsigned char>((state = state * 1103515245u + 12345u) >> 24);
    Bytes stream, decoded;
    ASSERT_EQ(LzwEncodeBytes(noise, &stream), 0);
    ASSERT_GT(stream.size(), noise.size());
    EXPECT_EQ(LzwDecodeBytes(stream, &decoded), 0);
    EXPECT_EQ(decoded, noise);
}

TEST(Paths, SourceRelativeNamesResolveFromTheSourcesFolder)
{
    struct Case {
        std::string source;
        std::string name;
        std::string resolved;
    } cases[] = {
        {"quiz.toml", "images/a.jpg", "images/a.jpg"},
        {"demo/quiz.toml", "images/a.jpg", "demo/images/a.jpg"},
        {"C:\\quiz\\q.toml", "a.jpg", "C:\\quiz/a.jpg"},
        {"C:q.toml", "a.jpg", "C:a.jpg"},
        {"/q.toml", "a.jpg", "/a.jpg"},
        {"demo/quiz.toml", "D:\\img\\a.jpg", "D:\\img\\a.jpg"},
        {"demo/quiz.toml", "\\\\serveur\\a.jpg", "\\\\serveur\\a.jpg"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ResolvePath(DirectoryOf(c.source), c.name), c.resolved) << c.source << " + " << c.name;
}

TEST(PicturePixels, TransparentPixelsTurnWhiteAndOpaqueOnesStay)
{
    const std::vector<uint8_t> bgra = {10, 20, 30, 255, 10, 20, 30, 0, 0, 0, 0, 128};
    EXPECT_EQ(FlattenOnWhite(bgra, {3, 1}), (std::vector<uint8_t>{10, 20, 30, 255, 255, 255, 127, 127, 127}));
}

TEST(PicturePixels, ReductionAveragesTheCoveredArea)
{
    // 4 x 2 pixels: a black and a white column pair in each half.
    const std::vector<uint8_t> bgr = {0, 0, 0, 255, 255, 255, 0,   0,   0,   0,   0,   0,
                                      0, 0, 0, 255, 255, 255, 255, 255, 255, 255, 255, 255};
    EXPECT_EQ(ScaleDownBgr(bgr, {4, 2}, {2, 1}), (std::vector<uint8_t>{128, 128, 128, 128, 128, 128}));
    EXPECT_EQ(ScaleDownBgr(bgr, {4, 2}, {4, 2}), bgr);

    // A 3 x 3 picture into 2 x 2: uneven areas still cover every source pixel once.
    std::vector<uint8_t> ramp;
    for (int i = 0; i < 9; ++i)
        ramp.insert(ramp.end(), 3, static_cast<uint8_t>(i * 10));
    const std::vector<uint8_t> small = ScaleDownBgr(ramp, {3, 3}, {2, 2});
    EXPECT_EQ(small[0], 0);             // pixel (0,0) alone
    EXPECT_EQ(small[3], (10 + 20) / 2); // (1,0) and (2,0)
    EXPECT_EQ(small[6], (30 + 60) / 2); // (0,1) and (0,2)
    EXPECT_EQ(small[9], (40 + 50 + 70 + 80) / 4);
}
