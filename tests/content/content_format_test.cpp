#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "content/accepted_answers.h"
#include "content/content_format.h"
#include "content/quiz_text.h"

namespace {

using Bytes = std::vector<unsigned char>;

std::string Repeat(const std::string& text, int count)
{
    return count > 0 ? text + Repeat(text, count - 1) : "";
}

// Headers (lead byte, media byte, N, M) and fields.
const std::string TEXT_1 = std::string("\0\x01\x00\x01", 4), FIELDS = "T|C|E|L1|L2|";
const std::string FULL_START =
    std::string("\0\x02\x02\x02", 4) + "Titre|Auteur|Trouvez|Pr\xE9nom|Film|a1|b1|q1|a2|b2|q2|\x03r1|";
const std::string FULL = FULL_START + "x1|r2|x2|\x35\xCB\xA3";

// The parser gets a buffer of exactly the data's size, so the sanitizers see any read past it.
ContentResult Parse(const std::string& data, QuizContent* content)
{
    const Bytes exact(data.begin(), data.end());
    return ParseQuizContent(exact.data(), exact.size(), content);
}

} // namespace

// What the parser reads, the writer writes back as the format carries it: lead byte zero, long fields
// cut, no reveal records but for modes 2 and 3, nothing after the colour (here '|' bytes at times).
TEST(ContentFormat, ParsedContentIsWrittenBackAsTheFormatCarriesIt)
{
    const std::string r260 = Repeat("r", 260) + "|\x09\x08\x07";
    const std::pair<std::string, std::string> cases[] = {
        {FULL + "more", FULL_START + "|r2||\x35\xCB\xA3"},
        {"Z" + TEXT_1.substr(1) + FIELDS + "\x01RGB", TEXT_1 + FIELDS + "\x01RGB"},
        {std::string("\0\x04\x60\x01", 4) + FIELDS + Repeat("a|q|", 96) + "\x01RGB", ""},
        {std::string("\0\x03\x02\x02", 4) + "|||||||q1|a2|||\x02||RGB", ""},
        {std::string("\0\x02\x02\x01", 4) + FIELDS + "a1|q1|a2|q2|\x02r1|r2|RGB", ""},
        {std::string("\0\x02\x02\x01", 4) + FIELDS + "a1|q1|a2|q2|\x07|||", ""},
        {std::string("\0\x01\x01\x01", 4) + Repeat("T", 300) + "|C|" + Repeat("a", 999) + "|L1|L2|a|q|\x02" + r260,
         std::string("\0\x01\x01\x01", 4) + Repeat("T", 259) + "|C|" + Repeat("a", 259) + "|L1|L2|a|q|\x02" +
             r260.substr(1)}};
    for (const auto& [data, written] : cases) {
        auto content = std::make_unique<QuizContent>();
        ASSERT_EQ(Parse(data, content.get()), CONTENT_OK) << data;
        Bytes out;
        ASSERT_EQ(WriteQuizContent(*content, &out), CONTENT_OK) << data;
        EXPECT_EQ(std::string(out.begin(), out.end()), written.empty() ? data : written);
    }
    auto content = std::make_unique<QuizContent>();
    ASSERT_EQ(Parse(FULL, content.get()), CONTENT_OK);
    EXPECT_TRUE(content->mediaKind == MEDIA_PICTURE && std::string(content->questions[1].revealText) == "r2");

    // Every shorter prefix is refused, and so is content outside the format; a refused content leaves
    // a cleared record, not the texts of the quiz read before.
    for (size_t length = 0; length < FULL.size(); ++length)
        EXPECT_NE(Parse(FULL.substr(0, length), content.get()), CONTENT_OK) << length;
    EXPECT_FALSE(Parse("", content.get()) == CONTENT_OK || *content != *std::make_unique<QuizContent>());
    const std::pair<std::string, ContentResult> refused[] = {
        {std::string("\0\x00\x00\x01", 4) + FIELDS + "\x01RGB", CONTENT_BAD_MEDIA_KIND},
        {std::string("\0\x05\x00\x01", 4) + FIELDS + "\x01RGB", CONTENT_BAD_MEDIA_KIND},
        {std::string("\0\x01\x61\x01", 4), CONTENT_TOO_MANY_QUESTIONS},
        {std::string("\0\x01\x00\x00", 4) + FIELDS + "\x01RGB", CONTENT_BAD_ANSWER_COUNT},
        {std::string("\0\x01\x00\x03", 4) + FIELDS + "\x01RGB", CONTENT_BAD_ANSWER_COUNT},
        {std::string("\0\x01\x02\x01", 4) + FIELDS + "a|q|\x01RGB", CONTENT_UNENDED_FIELD},
        {std::string("\0\x01\x01\x01", 4) + FIELDS + "a|q|\x03r|", CONTENT_UNENDED_FIELD},
        {TEXT_1 + FIELDS + "\x01RG", CONTENT_TRUNCATED}};
    for (const auto& [data, result] : refused)
        EXPECT_EQ(Parse(data, content.get()), result) << data;

    // The writer refuses what it cannot carry, writing nothing; a '|' in a text it does not carry is harmless.
    Bytes out;
    ASSERT_EQ(Parse(FULL, content.get()), CONTENT_OK);
    QuestionContent& first = content->questions[0];
    for (char* text : {content->answerLabel2, first.answer1, first.answer2, first.questionText, first.revealText}) {
        const char kept = text[0];
        text[0] = '|';
        EXPECT_TRUE(WriteQuizContent(*content, &out) == CONTENT_TEXT_HOLDS_SEPARATOR && out.empty());
        text[0] = kept;
    }
    content->revealMode = 256;
    EXPECT_TRUE(WriteQuizContent(*content, &out) == CONTENT_BAD_REVEAL_MODE && out.empty());
    content->revealMode = REVEAL_PICTURE;
    content->questions[5].answer1[0] = content->questions[0].answer2[0] = '|';
    content->answersPerQuestion = 1;
    EXPECT_EQ(WriteQuizContent(*content, &out), CONTENT_OK);
}

// The lines asked for, the lines found, then the data and the codes read (the rest must be empty).
// A line ends at CR and the byte after it is stepped over; a bare LF stays in the code.
TEST(ContentFormat, CodesAreCrLfLines)
{
    std::string many;
    for (int i = 0; i < 120; ++i)
        many += std::to_string(i) + "\r\n";
    const std::tuple<int, int, std::vector<std::string>> cases[] = {
        {3, 3, {"C1\r\n\r\nC3\r\n", "C1", "", "C3"}},
        {3, 1, {"C1\r\n", "C1", "", ""}},
        {3, 2, {"C1\r\nC2", "C1", "C2", ""}},
        {3, 2, {"C1\r\nC2\r", "C1", "C2", ""}},
        {2, 2, {"C1\r\nC2\r\nC3\r\n", "C1", "C2", ""}},
        {2, 2, {"C1\rXC2\r\n", "C1", "C2"}},
        {2, 1, {"C1\nC2\r\n", "C1\nC2", ""}},
        {2, 0, {"", "", ""}},
        {2, 2, {Repeat("k", 400) + "\r\nNEXT\r\n", Repeat("k", 259), "NEXT"}},
        {500, MAX_QUESTIONS, {many, "0", "1"}},
        {-3, 0, {many, ""}}};
    for (const auto& [questionCount, found, lines] : cases) {
        const Bytes data(lines[0].begin(), lines[0].end());
        auto codes = std::make_unique<QuizCodes>();
        std::memset(codes.get(), 'x', sizeof(*codes));
        EXPECT_EQ(ParseQuizCodes(data.data(), data.size(), questionCount, codes.get()), found) << lines[0];
        for (size_t i = 1; i < lines.size(); ++i)
            EXPECT_EQ(codes->codes[i - 1], lines[i]) << lines[0] << " " << i;
        EXPECT_STREQ(codes->codes[MAX_QUESTIONS - 1], found == MAX_QUESTIONS ? "95" : "") << lines[0];
    }
    auto codes = std::make_unique<QuizCodes>();
    std::strcpy(codes->codes[0], "ALPHA");
    std::strcpy(codes->codes[2], "\xC9t\xE9\n2");
    std::strcpy(codes->codes[3], "not written");
    Bytes written;
    ASSERT_EQ(WriteQuizCodes(*codes, 3, &written), CONTENT_OK);
    EXPECT_EQ(std::string(written.begin(), written.end()), "ALPHA\r\n\r\n\xC9t\xE9\n2\r\n");
    std::strcpy(codes->codes[1], "A\rB");
    EXPECT_EQ(WriteQuizCodes(*codes, 3, &written), CONTENT_TEXT_HOLDS_SEPARATOR);
    EXPECT_EQ(written.size(), 16u); // nothing more written
}

// Version, options, box count, then each box's variant count and its '|'-ended variants; the reader
// takes nothing less, nothing more and nothing the writer could not have written.
TEST(AcceptedAnswers, ReadBackExactlyAsWrittenAndRefusedWhenDamaged)
{
    auto accepted = std::make_unique<AcceptedAnswers>();
    ASSERT_EQ(ClearAcceptedAnswers(accepted.get(), 4), ACCEPTED_OK);
    accepted->options = ACCEPT_ACCENTS_FORGIVEN;
    for (const auto& [box, text] : {std::pair<int, const char*>{1, "De Gaulle"}, {1, "G\xE9n\xE9ral"}, {4, "Genf"}})
        ASSERT_EQ(AddAcceptedVariant(accepted.get(), box, text), ACCEPTED_OK);
    const std::string golden =
        std::string("\x01\x01\x04\x02", 4) + "De Gaulle|G\xE9n\xE9ral|" + std::string("\0\0\x01", 3) + "Genf|";
    auto write = [](const AcceptedAnswers& record) {
        Bytes out;
        EXPECT_EQ(WriteAcceptedAnswers(record, &out), ACCEPTED_OK);
        return std::string(out.begin(), out.end());
    };
    EXPECT_EQ(write(*accepted), golden);
    auto read = std::make_unique<AcceptedAnswers>();
    auto parse = [&read](const std::string& data) {
        const Bytes exact(data.begin(), data.end());
        return ParseAcceptedAnswers(exact.data(), exact.size(), read.get());
    };
    ASSERT_EQ(parse(golden), ACCEPTED_OK);
    EXPECT_TRUE(write(*read) == golden && ForgivesAccents(read.get()) && !ForgivesAccents(nullptr));
    const BoxVariants first = VariantsOfBox(read.get(), 1), last = VariantsOfBox(read.get(), 4);
    EXPECT_EQ(std::to_string(first.count) + first.first + "/" + NextVariant(first.first) + "/" +
                  std::to_string(last.count) + last.first,
              "2De Gaulle/G\xE9n\xE9ral/1Genf");
    for (const BoxVariants none : {VariantsOfBox(read.get(), 3), VariantsOfBox(read.get(), 5),
                                   VariantsOfBox(read.get(), 0), VariantsOfBox(nullptr, 1)})
        EXPECT_TRUE(none.first == nullptr && none.count == 0);

    for (size_t length = 0; length < golden.size(); ++length)
        EXPECT_NE(parse(golden.substr(0, length)), ACCEPTED_OK) << length;
    const std::string one = std::string("\x01\x00\x01\x01", 4), a259(259, 'a'), a260(260, 'a');
    const std::pair<std::string, AcceptedResult> payloads[] = {
        {std::string("\x01\x00\x00", 3), ACCEPTED_OK},
        {std::string("\x01\x00\x01", 3), ACCEPTED_TRUNCATED},
        {std::string("\x02\x00\x00", 3), ACCEPTED_BAD_VERSION},
        {std::string("\x01\x02\x00", 3), ACCEPTED_UNKNOWN_OPTION},
        {std::string("\x01\x00\xC1", 3), ACCEPTED_BAD_BOX},
        {one + "ab", ACCEPTED_UNENDED_VARIANT},
        {one + "|", ACCEPTED_EMPTY_VARIANT},
        {one + a260 + "|", ACCEPTED_VARIANT_TOO_LONG},
        {one + std::string("a\0b|", 4), ACCEPTED_VARIANT_HOLDS_SEPARATOR},
        {one + "a|b|", ACCEPTED_TRAILING_DATA},
        {std::string("\x01\x00\x00", 3) + std::string(65533, 'x'), ACCEPTED_TOO_LARGE}};
    for (const auto& [data, result] : payloads)
        EXPECT_EQ(parse(data), result) << data.size();

    // The builder refuses what the reader would, leaving the record as it was; the writer refuses
    // options it does not know, writing nothing.
    const std::tuple<int, const char*, AcceptedResult> refusals[] = {{0, "x", ACCEPTED_BAD_BOX},
                                                                     {5, "x", ACCEPTED_BAD_BOX},
                                                                     {2, "x", ACCEPTED_BAD_BOX},
                                                                     {4, "", ACCEPTED_EMPTY_VARIANT},
                                                                     {4, nullptr, ACCEPTED_EMPTY_VARIANT},
                                                                     {4, "a|b", ACCEPTED_VARIANT_HOLDS_SEPARATOR},
                                                                     {4, a260.c_str(), ACCEPTED_VARIANT_TOO_LONG}};
    for (const auto& [box, text, result] : refusals)
        EXPECT_EQ(AddAcceptedVariant(accepted.get(), box, text), result) << box;
    EXPECT_EQ(write(*accepted), golden);
    accepted->options = 0x03;
    Bytes written;
    EXPECT_TRUE(WriteAcceptedAnswers(*accepted, &written) == ACCEPTED_UNKNOWN_OPTION && written.empty());
    EXPECT_TRUE(ClearAcceptedAnswers(accepted.get(), 193) == ACCEPTED_BAD_BOX && accepted->boxCount == 0);
    EXPECT_EQ(ClearAcceptedAnswers(accepted.get(), -1), ACCEPTED_BAD_BOX);

    // At most 255 variants a box, and a payload of at most 65535 bytes: 195 of header and counts for
    // 192 boxes, 251 variants of 259 bytes and one of 79, each with its '|'.
    ASSERT_EQ(ClearAcceptedAnswers(accepted.get(), MAX_ANSWER_BOXES), ACCEPTED_OK);
    for (int i = 0; i < MAX_BOX_VARIANTS; ++i)
        ASSERT_EQ(AddAcceptedVariant(accepted.get(), 2, "v"), ACCEPTED_OK);
    EXPECT_EQ(AddAcceptedVariant(accepted.get(), 2, "v"), ACCEPTED_TOO_MANY_VARIANTS);
    ClearAcceptedAnswers(accepted.get(), MAX_ANSWER_BOXES);
    for (int i = 0; i < 251; ++i)
        ASSERT_EQ(AddAcceptedVariant(accepted.get(), 1, a259.c_str()), ACCEPTED_OK);
    EXPECT_EQ(AddAcceptedVariant(accepted.get(), 1, a259.substr(0, 80).c_str()), ACCEPTED_TOO_LARGE);
    ASSERT_EQ(AddAcceptedVariant(accepted.get(), 1, a259.substr(0, 79).c_str()), ACCEPTED_OK);
    const std::string largest = write(*accepted);
    EXPECT_EQ(parse(largest), ACCEPTED_OK);
    EXPECT_EQ(write(*read), largest);
}

TEST(QuizText, ComposedTextsAreCutWhereTheBufferEnds)
{
    char text[32];
    EXPECT_TRUE(TextBuilder(text, 32).Append(0).Append(2147483647).Append(-2147483647 - 1).Fits());
    EXPECT_STREQ(text, "02147483647-2147483648");
    // "ab", -123, "cd" and a null text in buffers from roomy to none; nothing written past them.
    const std::pair<size_t, const char*> cases[] = {{9, "ab-123cd"}, {8, "ab-123c"}, {4, "ab-"}, {1, ""}, {0, ""}};
    for (const auto& [size, expected] : cases) {
        std::memset(text, 'x', 10);
        const bool fits = TextBuilder(text, size).Append("ab").Append(-123).Append("cd").Append(nullptr).Fits();
        EXPECT_EQ(fits, size == 9) << size;
        EXPECT_EQ(std::string(text, size ? std::strlen(text) : 0), expected) << size;
        EXPECT_EQ(text[size], 'x') << size;
    }
    TextBuilder(text, 4).Append(nullptr); // a null text appends nothing to the empty text
    EXPECT_EQ(text[0], '\0');
}
