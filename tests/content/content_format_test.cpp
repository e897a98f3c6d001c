#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "content/content_format.h"

namespace {

using Bytes = std::vector<unsigned char>;

Bytes ToBytes(const std::string& text)
{
    return Bytes(text.begin(), text.end());
}

// Header bytes as a string: lead byte, media byte, N, M.
std::string Header(int mediaByte, int questionCount, int answersPerQuestion)
{
    return std::string{'\0', static_cast<char>(mediaByte), static_cast<char>(questionCount),
                       static_cast<char>(answersPerQuestion)};
}

std::string Colour(unsigned char red, unsigned char green, unsigned char blue)
{
    return std::string{static_cast<char>(red), static_cast<char>(green), static_cast<char>(blue)};
}

std::string Byte(int value)
{
    return std::string(1, static_cast<char>(value));
}

// The parsers get a buffer of exactly the data's size, so the sanitizers see any read past it.
ContentResult Parse(const std::string& data, QuizContent* content)
{
    const Bytes exact = ToBytes(data);
    return ParseQuizContent(exact.data(), exact.size(), content);
}

int ParseCodes(const std::string& data, int questionCount, QuizCodes* codes)
{
    const Bytes exact = ToBytes(data);
    return ParseQuizCodes(exact.data(), exact.size(), questionCount, codes);
}

// A valid quiz with two answers, reveal mode 3 and every kind of field.
std::string FullContent()
{
    return Header(2, 2, 2) + "Titre|Auteur|Trouvez les noms|Pr\xE9nom|Film|" + "a1|b1|q1|" + "a2|b2|q2|" + Byte(3) +
           "r1|x1|r2|x2|" + Colour(0x35, 0xCB, 0xA3);
}

std::unique_ptr<QuizContent> NewContent()
{
    auto content = std::make_unique<QuizContent>();
    ClearQuizContent(content.get());
    return content;
}

} // namespace

TEST(ContentParser, HeaderBytesGiveMediaKindCountAndAnswers)
{
    struct Case {
        int mediaByte, questionCount, answersPerQuestion;
        int32_t mediaKind;
    } cases[] = {{1, 0, 1, 0}, {2, 1, 1, 1}, {3, 1, 2, 2}, {4, 1, 1, 3}, {2, 96, 1, 1}};
    for (const Case& c : cases) {
        std::string data = Header(c.mediaByte, c.questionCount, c.answersPerQuestion) + "t|c|e|l1|l2|";
        for (int i = 0; i < c.questionCount; ++i)
            data += c.answersPerQuestion == 2 ? "a|b|q|" : "a|q|";
        data += Byte(0) + Colour(1, 2, 3);
        auto content = NewContent();
        ASSERT_EQ(Parse(data, content.get()), CONTENT_OK) << c.mediaByte << " " << c.questionCount;
        EXPECT_EQ(content->mediaKind, c.mediaKind);
        EXPECT_EQ(content->questionCount, c.questionCount);
        EXPECT_EQ(content->answersPerQuestion, c.answersPerQuestion);
        EXPECT_STREQ(content->title, "t");
        EXPECT_STREQ(content->answerLabel2, "l2");
    }
}

TEST(ContentParser, QuestionRecordsFollowTheAnswerCount)
{
    struct Case {
        const char* name;
        int answersPerQuestion;
        std::string records;
        const char* answer1[2];
        const char* answer2[2];
        const char* questionText[2];
    } cases[] = {
        {"one answer: two fields each", 1, "a1|q1|a2|q2|", {"a1", "a2"}, {"", ""}, {"q1", "q2"}},
        {"two answers: three fields each", 2, "a1|b1|q1|a2|b2|q2|", {"a1", "a2"}, {"b1", "b2"}, {"q1", "q2"}},
        {"empty fields", 2, "||q1|a2|||", {"", "a2"}, {"", ""}, {"q1", ""}},
        {"one answer with empty texts", 1, "||||", {"", ""}, {"", ""}, {"", ""}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string data = Header(1, 2, c.answersPerQuestion) + "T|C|E|L1|L2|" + c.records + Byte(0) + "RGB";
        auto content = NewContent();
        ASSERT_EQ(Parse(data, content.get()), CONTENT_OK);
        for (int i = 0; i < 2; ++i) {
            EXPECT_STREQ(content->questions[i].answer1, c.answer1[i]);
            EXPECT_STREQ(content->questions[i].answer2, c.answer2[i]);
            EXPECT_STREQ(content->questions[i].questionText, c.questionText[i]);
            EXPECT_STREQ(content->questions[i].revealText, "");
        }
        EXPECT_STREQ(content->questions[2].answer1, "");
        EXPECT_EQ(content->red, 'R');
        EXPECT_EQ(content->green, 'G');
        EXPECT_EQ(content->blue, 'B');
    }
}

TEST(ContentParser, RevealModeDecidesTheRevealRecords)
{
    struct Case {
        int revealMode;
        std::string reveal;
        const char* revealText[2];
    } cases[] = {
        {0, "", {"", ""}},
        {1, "", {"", ""}},
        {2, "r1|r2|", {"r1", "r2"}},
        {3, "r1|unused1|r2|unused2|", {"r1", "r2"}},
        {3, "||r2||", {"", "r2"}},
        // Unknown modes carry no reveal records: the colour follows at once.
        {7, "", {"", ""}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.revealMode);
        // The colour bytes are '|' bytes on purpose: a parser reading one field too many would eat them.
        const std::string data =
            Header(2, 2, 1) + "T|C|E|L1|L2|a1|q1|a2|q2|" + Byte(c.revealMode) + c.reveal + Colour(0x7C, 0xCB, 0xA3);
        auto content = NewContent();
        ASSERT_EQ(Parse(data, content.get()), CONTENT_OK);
        EXPECT_EQ(content->revealMode, c.revealMode);
        EXPECT_STREQ(content->questions[0].revealText, c.revealText[0]);
        EXPECT_STREQ(content->questions[1].revealText, c.revealText[1]);
        EXPECT_EQ(content->red, 0x7C);
        EXPECT_EQ(content->green, 0xCB);
        EXPECT_EQ(content->blue, 0xA3);
    }
}

TEST(ContentParser, FullContentAndTrailingBytes)
{
    auto content = NewContent();
    ASSERT_EQ(Parse(FullContent() + "anything after the colour", content.get()), CONTENT_OK);
    EXPECT_EQ(content->mediaKind, MEDIA_PICTURE);
    EXPECT_STREQ(content->explanation, "Trouvez les noms");
    EXPECT_STREQ(content->answerLabel1, "Pr\xE9nom");
    EXPECT_STREQ(content->questions[1].answer2, "b2");
    EXPECT_STREQ(content->questions[1].revealText, "r2");
    EXPECT_EQ(content->red, 0x35);
    EXPECT_EQ(content->green, 0xCB);
    EXPECT_EQ(content->blue, 0xA3);
}

TEST(ContentParser, MalformedContentIsRefused)
{
    const std::string fields = "T|C|E|L1|L2|";
    struct Case {
        const char* name;
        std::string data;
        ContentResult result;
    } cases[] = {
        {"empty", "", CONTENT_TRUNCATED},
        {"header cut", Header(2, 1, 1).substr(0, 3), CONTENT_TRUNCATED},
        {"media byte 0", Header(0, 0, 1) + fields + Byte(0) + "RGB", CONTENT_BAD_MEDIA_KIND},
        {"media byte 5", Header(5, 0, 1) + fields + Byte(0) + "RGB", CONTENT_BAD_MEDIA_KIND},
        {"97 questions", Header(1, 97, 1), CONTENT_TOO_MANY_QUESTIONS},
        {"255 questions", Header(1, 255, 1), CONTENT_TOO_MANY_QUESTIONS},
        {"no answer box", Header(1, 0, 0) + fields + Byte(0) + "RGB", CONTENT_BAD_ANSWER_COUNT},
        {"three answer boxes", Header(1, 0, 3) + fields + Byte(0) + "RGB", CONTENT_BAD_ANSWER_COUNT},
        {"title without |", Header(1, 0, 1) + "Titre", CONTENT_UNENDED_FIELD},
        {"second caption without |", Header(1, 0, 1) + "T|C|E|L1|L2", CONTENT_UNENDED_FIELD},
        {"fewer question records than N", Header(1, 2, 1) + fields + "a|q|" + Byte(0) + "RGB", CONTENT_UNENDED_FIELD},
        {"no reveal mode", Header(1, 1, 1) + fields + "a|q|", CONTENT_TRUNCATED},
        {"mode 3 without its second field", Header(1, 1, 1) + fields + "a|q|" + Byte(3) + "r", CONTENT_UNENDED_FIELD},
        {"no colour", Header(1, 0, 1) + fields + Byte(0), CONTENT_TRUNCATED},
        {"two colour bytes", Header(1, 0, 1) + fields + Byte(1) + "RG", CONTENT_TRUNCATED},
    };
    for (const Case& c : cases) {
        auto content = NewContent();
        EXPECT_EQ(Parse(c.data, content.get()), c.result) << c.name;
    }
}

TEST(ContentParser, EveryShorterPrefixIsRefused)
{
    const std::string full = FullContent();
    for (size_t length = 0; length < full.size(); ++length) {
        auto content = NewContent();
        EXPECT_NE(Parse(full.substr(0, length), content.get()), CONTENT_OK) << length;
    }
}

TEST(ContentParser, LongFieldsAreCutAndTheRestSkipped)
{
    const std::string longTitle(300, 'T');
    const std::string exact(259, 'E');
    const std::string data = Header(1, 1, 1) + longTitle + "|C|" + exact + "|L1|L2|" + std::string(1000, 'a') + "|q|" +
                             Byte(2) + std::string(260, 'r') + "|" + Colour(9, 8, 7);
    auto content = NewContent();
    ASSERT_EQ(Parse(data, content.get()), CONTENT_OK);
    EXPECT_EQ(std::string(content->title), std::string(259, 'T'));
    EXPECT_STREQ(content->creator, "C");
    EXPECT_EQ(std::string(content->explanation), exact);
    EXPECT_STREQ(content->answerLabel1, "L1");
    EXPECT_EQ(std::string(content->questions[0].answer1), std::string(259, 'a'));
    EXPECT_STREQ(content->questions[0].questionText, "q");
    EXPECT_EQ(std::string(content->questions[0].revealText), std::string(259, 'r'));
    EXPECT_EQ(content->blue, 7);
}

TEST(CodesParser, LinesBecomeCodes)
{
    struct Case {
        const char* name;
        std::string data;
        int questionCount;
        int found;
        std::vector<std::string> codes;
    } cases[] = {
        {"one line each", "C1\r\nC2\r\nC3\r\n", 3, 3, {"C1", "C2", "C3"}},
        {"empty line", "C1\r\n\r\nC3\r\n", 3, 3, {"C1", "", "C3"}},
        {"fewer lines than N", "C1\r\n", 3, 1, {"C1", "", ""}},
        {"last line without CR LF", "C1\r\nC2", 3, 2, {"C1", "C2", ""}},
        {"last line ends at a lone CR", "C1\r\nC2\r", 3, 2, {"C1", "C2", ""}},
        {"extra lines ignored", "C1\r\nC2\r\nC3\r\n", 2, 2, {"C1", "C2", ""}},
        {"the byte after CR is stepped over", "C1\rXC2\r\n", 2, 2, {"C1", "C2"}},
        {"a lone LF stays in the code", "C1\nC2\r\n", 2, 1, {"C1\nC2", ""}},
        {"no data", "", 2, 0, {"", ""}},
        {"no questions", "C1\r\n", 0, 0, {""}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto codes = std::make_unique<QuizCodes>();
        std::memset(codes.get(), 'x', sizeof(*codes));
        EXPECT_EQ(ParseCodes(c.data, c.questionCount, codes.get()), c.found);
        for (size_t i = 0; i < c.codes.size(); ++i)
            EXPECT_EQ(std::string(codes->codes[i]), c.codes[i]) << i;
        EXPECT_STREQ(codes->codes[MAX_QUESTIONS - 1], "");
    }
}

TEST(CodesParser, LongLineIsCutAndCountIsClamped)
{
    auto codes = std::make_unique<QuizCodes>();
    EXPECT_EQ(ParseCodes(std::string(400, 'k') + "\r\nNEXT\r\n", 2, codes.get()), 2);
    EXPECT_EQ(std::string(codes->codes[0]), std::string(259, 'k'));
    EXPECT_STREQ(codes->codes[1], "NEXT");

    std::string many;
    for (int i = 0; i < 120; ++i)
        many += std::to_string(i) + "\r\n";
    EXPECT_EQ(ParseCodes(many, 500, codes.get()), MAX_QUESTIONS);
    EXPECT_STREQ(codes->codes[MAX_QUESTIONS - 1], "95");
    EXPECT_EQ(ParseCodes(many, -3, codes.get()), 0);
    EXPECT_STREQ(codes->codes[0], "");
}

TEST(ContentWriter, WritesTheBytesTheFormatDescribes)
{
    auto content = NewContent();
    ASSERT_EQ(Parse(FullContent(), content.get()), CONTENT_OK);
    Bytes written;
    ASSERT_EQ(WriteQuizContent(*content, &written), CONTENT_OK);
    // The unused second field of every reveal record comes out empty.
    const std::string expected = Header(2, 2, 2) + "Titre|Auteur|Trouvez les noms|Pr\xE9nom|Film|" +
                                 "a1|b1|q1|a2|b2|q2|" + Byte(3) + "r1||r2||" + Colour(0x35, 0xCB, 0xA3);
    EXPECT_EQ(written, ToBytes(expected));

    // With one answer box, answer 2 is not written; without reveal texts, the colour follows the mode.
    content->answersPerQuestion = 1;
    content->revealMode = REVEAL_PICTURE;
    written.clear();
    ASSERT_EQ(WriteQuizContent(*content, &written), CONTENT_OK);
    EXPECT_EQ(written, ToBytes(Header(2, 2, 1) + "Titre|Auteur|Trouvez les noms|Pr\xE9nom|Film|a1|q1|a2|q2|" + Byte(1) +
                               Colour(0x35, 0xCB, 0xA3)));
}

TEST(ContentWriter, RefusesContentOutsideTheFormat)
{
    struct Case {
        const char* name;
        void (*change)(QuizContent&);
        ContentResult result;
    } cases[] = {
        {"media kind -1", [](QuizContent& c) { c.mediaKind = -1; }, CONTENT_BAD_MEDIA_KIND},
        {"media kind 4", [](QuizContent& c) { c.mediaKind = 4; }, CONTENT_BAD_MEDIA_KIND},
        {"97 questions", [](QuizContent& c) { c.questionCount = 97; }, CONTENT_TOO_MANY_QUESTIONS},
        {"negative count", [](QuizContent& c) { c.questionCount = -1; }, CONTENT_TOO_MANY_QUESTIONS},
        {"three answers", [](QuizContent& c) { c.answersPerQuestion = 3; }, CONTENT_BAD_ANSWER_COUNT},
        {"reveal mode 256", [](QuizContent& c) { c.revealMode = 256; }, CONTENT_BAD_REVEAL_MODE},
        {"| in the title", [](QuizContent& c) { std::strcpy(c.title, "a|b"); }, CONTENT_TEXT_HOLDS_SEPARATOR},
        {"| in a question", [](QuizContent& c) { std::strcpy(c.questions[1].questionText, "|"); },
         CONTENT_TEXT_HOLDS_SEPARATOR},
        {"| in a written reveal text", [](QuizContent& c) { std::strcpy(c.questions[0].revealText, "r|"); },
         CONTENT_TEXT_HOLDS_SEPARATOR},
    };
    for (const Case& c : cases) {
        auto content = NewContent();
        ASSERT_EQ(Parse(FullContent(), content.get()), CONTENT_OK);
        c.change(*content);
        Bytes written;
        EXPECT_EQ(WriteQuizContent(*content, &written), c.result) << c.name;
        EXPECT_TRUE(written.empty()) << c.name;
    }

    // A '|' in a text the format does not carry cannot break it.
    auto content = NewContent();
    ASSERT_EQ(Parse(FullContent(), content.get()), CONTENT_OK);
    content->revealMode = REVEAL_NOTHING;
    std::strcpy(content->questions[0].revealText, "r|");
    std::strcpy(content->questions[5].answer1, "|");
    Bytes written;
    EXPECT_EQ(WriteQuizContent(*content, &written), CONTENT_OK);
}

TEST(ContentWriter, ParseOfWriteGivesTheContentBack)
{
    std::mt19937 random(20240611);
    auto randomText = [&random](char* text) {
        // Mostly short texts, sometimes up to the full 259 bytes.
        const int length = static_cast<int>(random() % 2 ? random() % 12 : random() % 260);
        for (int i = 0; i < length; ++i) {
            char byte;
            do
                byte = static_cast<char>(std::uniform_int_distribution<int>(1, 255)(random));
            while (byte == '|');
            text[i] = byte;
        }
        text[length] = '\0';
    };
    for (int round = 0; round < 100; ++round) {
        auto content = NewContent();
        content->mediaKind = static_cast<int32_t>(random() % 4);
        content->questionCount = static_cast<int32_t>(random() % 97);
        content->answersPerQuestion = static_cast<int32_t>(1 + random() % 2);
        content->revealMode = static_cast<int32_t>(random() % 5);
        content->red = static_cast<uint8_t>(random());
        content->green = static_cast<uint8_t>(random());
        content->blue = static_cast<uint8_t>(random());
        for (char* text :
             {content->title, content->creator, content->explanation, content->answerLabel1, content->answerLabel2})
            randomText(text);
        for (int i = 0; i < content->questionCount; ++i) {
            QuestionContent& question = content->questions[i];
            randomText(question.answer1);
            randomText(question.questionText);
            if (content->answersPerQuestion == 2)
                randomText(question.answer2);
            if (content->revealMode == REVEAL_TEXT || content->revealMode == REVEAL_TEXT_AND_PICTURE)
                randomText(question.revealText);
        }
        Bytes written;
        ASSERT_EQ(WriteQuizContent(*content, &written), CONTENT_OK);
        auto parsed = NewContent();
        ASSERT_EQ(ParseQuizContent(written.data(), written.size(), parsed.get()), CONTENT_OK) << round;
        EXPECT_TRUE(*parsed == *content) << round;
    }
}

TEST(CodesWriter, WritesCrLfLinesThatParseBack)
{
    auto codes = std::make_unique<QuizCodes>();
    std::memset(codes.get(), 0, sizeof(*codes));
    std::strcpy(codes->codes[0], "ALPHA");
    std::strcpy(codes->codes[2], "\xC9t\xE9\n2");
    std::strcpy(codes->codes[3], "not written");
    Bytes written;
    ASSERT_EQ(WriteQuizCodes(*codes, 3, &written), CONTENT_OK);
    EXPECT_EQ(written, ToBytes("ALPHA\r\n\r\n\xC9t\xE9\n2\r\n"));

    auto parsed = std::make_unique<QuizCodes>();
    EXPECT_EQ(ParseQuizCodes(written.data(), written.size(), 3, parsed.get()), 3);
    for (int i = 0; i < 3; ++i)
        EXPECT_STREQ(parsed->codes[i], codes->codes[i]) << i;
    EXPECT_STREQ(parsed->codes[3], "");

    std::strcpy(codes->codes[1], "A\rB");
    written.clear();
    EXPECT_EQ(WriteQuizCodes(*codes, 3, &written), CONTENT_TEXT_HOLDS_SEPARATOR);
    EXPECT_TRUE(written.empty());
}
