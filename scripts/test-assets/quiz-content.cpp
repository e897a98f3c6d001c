// Writes the quiz payloads that the Windows tests carry as "PATCH" resources, encoded with the
// project's writer and codec:
//   quiz-content.bin, quiz-codes.bin   the quiz the test player starts with (resources 104 and 105):
//                                      "Quiz d'été", 3 picture questions of two answers, text and
//                                      picture reveals, colour 35 CB A3, codes for scores 1 and 3
//   loader/good-content.bin            "Capitales": a text quiz of 2 questions (PARIS, ROME), colour
//                                      10 20 30, reveal mode 1
//   loader/codes.bin                   ROUGE, VERT, BLEU: one line more than that quiz's questions
//   loader/refused-content.bin         decodes, but announces 97 questions
//   loader/bad.bin                     a stream whose second code lies above the next free code
//   loader/cut.bin                     "abc" cut before its end code
//   loader/empty.bin                   no byte at all
//   loader/variants-content.bin        "Variantes": 3 picture questions of two answers, no reveal
//   loader/variants-codes.bin          UN, DEUX, TROIS
//   loader/accepted.bin                that quiz's accepted answers, accents forgiven: box 1
//                                      (Charles de Gaulle) takes "De Gaulle" and "Général de Gaulle",
//                                      box 2 (Colombey) "Colombey-les-Deux-Églises", box 3 (Genève)
//                                      "Genf"
//   loader/accepted-version-2.bin      the same with a version this player does not know
//   loader/accepted-misfit.bin         accepted answers made for 5 boxes
// The tests check what the player shows against these values.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "content/accepted_answers.h"
#include "content/content_format.h"
#include "content/lzw.h"

namespace {

using Bytes = std::vector<unsigned char>;

Bytes Encoded(const Bytes& bytes)
{
    unsigned char* stream = nullptr;
    int32_t streamLength = 0;
    if (LzwEncode(bytes.data(), static_cast<int32_t>(bytes.size()), &stream, &streamLength) != LZW_OK) {
        std::fprintf(stderr, "quiz-content: the encoder refused the test quiz\n");
        std::exit(1);
    }
    // The count includes the zero byte the encoder appends after the stream.
    Bytes encoded(stream, stream + streamLength - 1);
    std::free(stream);
    return encoded;
}

void Write(const std::string& path, const Bytes& bytes)
{
    std::FILE* file = std::fopen(path.c_str(), "wb");
    const bool written = file && std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    if (file)
        std::fclose(file);
    if (!written) {
        std::fprintf(stderr, "quiz-content: could not write %s\n", path.c_str());
        std::exit(1);
    }
}

Bytes ContentBytes(const QuizContent& content)
{
    Bytes bytes;
    if (WriteQuizContent(content, &bytes) != CONTENT_OK) {
        std::fprintf(stderr, "quiz-content: the writer refused the test quiz\n");
        std::exit(1);
    }
    return bytes;
}

void SetQuestion(QuizContent& content, int index, const char* answer1, const char* answer2, const char* text,
                 const char* reveal)
{
    std::strcpy(content.questions[index].answer1, answer1);
    std::strcpy(content.questions[index].answer2, answer2);
    std::strcpy(content.questions[index].questionText, text);
    std::strcpy(content.questions[index].revealText, reveal);
}

std::unique_ptr<QuizContent> NewQuiz(int mediaKind, int questionCount, int answersPerQuestion, int revealMode)
{
    auto content = std::make_unique<QuizContent>();
    ClearQuizContent(content.get());
    content->mediaKind = mediaKind;
    content->questionCount = questionCount;
    content->answersPerQuestion = answersPerQuestion;
    content->revealMode = revealMode;
    return content;
}

void WritePlayerQuiz(const std::string& folder)
{
    auto content = NewQuiz(MEDIA_PICTURE, 3, 2, REVEAL_TEXT_AND_PICTURE);
    content->red = 0x35;
    content->green = 0xCB;
    content->blue = 0xA3;
    std::strcpy(content->title, "Quiz d'\xE9t\xE9");
    std::strcpy(content->creator, "Am\xE9lie");
    std::strcpy(content->explanation, "Trouvez le pr\xE9nom et la ville");
    std::strcpy(content->answerLabel1, "Pr\xE9nom");
    std::strcpy(content->answerLabel2, "Ville");
    SetQuestion(*content, 0,
                "L\xC9"
                "A",
                "NANTES", "Qui est-ce ?",
                "L\xE9"
                "a, de Nantes");
    SetQuestion(*content, 1, "PAUL", "", "Et lui ?", "");
    SetQuestion(*content, 2, "ZO\xC9", "BREST", "Derni\xE8re", "Zo\xE9");
    Write(folder + "/quiz-content.bin", Encoded(ContentBytes(*content)));

    auto codes = std::make_unique<QuizCodes>();
    std::memset(codes.get(), 0, sizeof(*codes));
    std::strcpy(codes->codes[0], "CODE-UN");
    std::strcpy(codes->codes[2], "CODE-TROIS");
    Bytes codeBytes;
    if (WriteQuizCodes(*codes, content->questionCount, &codeBytes) != CONTENT_OK)
        std::exit(1);
    Write(folder + "/quiz-codes.bin", Encoded(codeBytes));
}

void WriteLoaderPayloads(const std::string& folder)
{
    auto content = NewQuiz(MEDIA_TEXT, 2, 1, REVEAL_PICTURE);
    content->red = 10;
    content->green = 20;
    content->blue = 30;
    std::strcpy(content->title, "Capitales");
    SetQuestion(*content, 0, "PARIS", "", "France", "");
    SetQuestion(*content, 1, "ROME", "", "Italie", "");
    Write(folder + "/good-content.bin", Encoded(ContentBytes(*content)));

    const std::string codes = "ROUGE\r\nVERT\r\nBLEU\r\n";
    Write(folder + "/codes.bin", Encoded(Bytes(codes.begin(), codes.end())));

    // Byte 2 is the question count: 97 is one more than the format holds.
    content->questionCount = 96;
    Bytes refused = ContentBytes(*content);
    refused[2] = 97;
    Write(folder + "/refused-content.bin", Encoded(refused));

    Write(folder + "/bad.bin", {0x30, 0xFF, 0xC0});
    Write(folder + "/cut.bin", {0x30, 0x98});
    Write(folder + "/empty.bin", {});
}

Bytes AcceptedBytes(int boxCount)
{
    auto accepted = std::make_unique<AcceptedAnswers>();
    ClearAcceptedAnswers(accepted.get(), boxCount);
    accepted->options = ACCEPT_ACCENTS_FORGIVEN;
    const std::pair<int, const char*> variants[] = {
        {1, "De Gaulle"}, {1, "G\xE9n\xE9ral de Gaulle"}, {2, "Colombey-les-Deux-\xC9glises"}, {3, "Genf"}};
    for (const auto& [box, text] : variants)
        AddAcceptedVariant(accepted.get(), box, text);
    Bytes bytes;
    WriteAcceptedAnswers(*accepted, &bytes);
    return bytes;
}

void WriteVariantPayloads(const std::string& folder)
{
    auto content = NewQuiz(MEDIA_PICTURE, 3, 2, REVEAL_NOTHING);
    std::strcpy(content->title, "Variantes");
    SetQuestion(*content, 0, "Charles de Gaulle", "Colombey", "", "");
    SetQuestion(*content, 1, "Gen\xE8ve", "Suisse", "", "");
    SetQuestion(*content, 2, "\214dipe", "Th\350bes", "", "");
    Write(folder + "/variants-content.bin", Encoded(ContentBytes(*content)));
    const std::string codes = "UN\r\nDEUX\r\nTROIS\r\n";
    Write(folder + "/variants-codes.bin", Encoded(Bytes(codes.begin(), codes.end())));

    Bytes accepted = AcceptedBytes(6);
    Write(folder + "/accepted.bin", Encoded(accepted));
    accepted[0] = ACCEPTED_ANSWERS_VERSION + 1;
    Write(folder + "/accepted-version-2.bin", Encoded(accepted));
    Write(folder + "/accepted-misfit.bin", Encoded(AcceptedBytes(5)));
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_FOLDER\n", argv[0]);
        return 2;
    }
    const std::string folder = argv[1];
    WritePlayerQuiz(folder);
    WriteLoaderPayloads(folder + "/loader");
    WriteVariantPayloads(folder + "/loader");
    return 0;
}
