#include "authoring/quiz_payload.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "authoring/cp1252.h"
#include "content/accepted_answers.h"
#include "content/content_format.h"
#include "content/lzw.h"
#include "content/quiz_shape.h"

namespace {

std::string ContentResultText(ContentResult result)
{
    switch (result) {
    case CONTENT_OK:
        return "aucune erreur";
    case CONTENT_TRUNCATED:
        return "le contenu s'arrête avant sa fin";
    case CONTENT_UNENDED_FIELD:
        return "un champ du contenu n'est pas terminé par « | »";
    case CONTENT_BAD_MEDIA_KIND:
        return "le type de quiz est inconnu";
    case CONTENT_TOO_MANY_QUESTIONS:
        return "plus de 96 questions";
    case CONTENT_BAD_ANSWER_COUNT:
        return "le nombre de réponses par question n'est ni 1 ni 2";
    case CONTENT_TEXT_HOLDS_SEPARATOR:
        return "un texte contient un séparateur (« | » ou un retour chariot)";
    case CONTENT_BAD_REVEAL_MODE:
        return "le mode de révélation est inconnu";
    }
    return "erreur " + std::to_string(static_cast<int>(result));
}

std::string AcceptedResultText(AcceptedResult result)
{
    switch (result) {
    case ACCEPTED_OK:
        return "aucune erreur";
    case ACCEPTED_TRUNCATED:
        return "elles s'arrêtent avant leur fin";
    case ACCEPTED_UNENDED_VARIANT:
        return "une variante n'est pas terminée par « | »";
    case ACCEPTED_BAD_VERSION:
        return "leur version est inconnue";
    case ACCEPTED_UNKNOWN_OPTION:
        return "une option inconnue y est demandée";
    case ACCEPTED_BAD_BOX:
        return "elles ne sont pas faites pour les cases de réponse de ce quiz";
    case ACCEPTED_EMPTY_VARIANT:
        return "une variante est vide";
    case ACCEPTED_VARIANT_TOO_LONG:
        return "une variante dépasse " + std::to_string(QUIZ_TEXT_MAX_LENGTH) + " octets";
    case ACCEPTED_VARIANT_HOLDS_SEPARATOR:
        return "une variante contient « | » ou un caractère nul";
    case ACCEPTED_TOO_MANY_VARIANTS:
        return "plus de " + std::to_string(MAX_BOX_VARIANTS) + " variantes pour une case";
    case ACCEPTED_TOO_LARGE:
        return "elles dépassent " + std::to_string(ACCEPTED_ANSWERS_MAX_SIZE) + " octets";
    case ACCEPTED_TRAILING_DATA:
        return "des octets suivent la dernière case";
    }
    return "erreur " + std::to_string(static_cast<int>(result));
}

// A text of the source (UTF-8) into a field of the player's record, in code page 1252.
void Copy(char* destination, const std::string& utf8)
{
    const std::string text = Utf8ToCp1252Approximately(utf8);
    const size_t length = text.size() < static_cast<size_t>(QUIZ_TEXT_MAX_LENGTH) ? text.size() : QUIZ_TEXT_MAX_LENGTH;
    std::memcpy(destination, text.data(), length);
    destination[length] = '\0';
}

int32_t RunCodec(int32_t (*codec)(const unsigned char*, int32_t, unsigned char**, int32_t*), const Bytes& input,
                 size_t maxInput, int32_t trailingZeros, Bytes* out)
{
    out->clear();
    if (input.size() > maxInput)
        return LZW_INPUT_TOO_LARGE;
    unsigned char* buffer = nullptr;
    int32_t length = 0;
    const int32_t result = codec(input.data(), static_cast<int32_t>(input.size()), &buffer, &length);
    if (buffer) {
        // The codec counts the zeros it leaves after the data in the length.
        const int32_t size = length > trailingZeros ? length - trailingZeros : 0;
        out->assign(buffer, buffer + size);
        std::free(buffer);
    }
    return result;
}

} // namespace

bool MakeQuizPayloads(const QuizSource& quiz, QuizPayloads* payloads, std::string* error)
{
    if (quiz.questions.size() > static_cast<size_t>(MAX_QUESTIONS)) {
        *error = ContentResultText(CONTENT_TOO_MANY_QUESTIONS);
        return false;
    }
    auto content = std::make_unique<QuizContent>();
    auto codes = std::make_unique<QuizCodes>();
    ClearQuizContent(content.get());
    std::memset(codes.get(), 0, sizeof(QuizCodes));

    content->mediaKind = quiz.mediaKind;
    content->questionCount = static_cast<int32_t>(quiz.questions.size());
    content->answersPerQuestion = quiz.answersPerQuestion;
    Copy(content->title, quiz.title);
    Copy(content->creator, quiz.creator);
    Copy(content->explanation, quiz.explanation);
    Copy(content->answerLabel1, quiz.answerLabels[0]);
    Copy(content->answerLabel2, quiz.answerLabels[1]);
    for (size_t i = 0; i < quiz.questions.size(); ++i) {
        const SourceQuestion& question = quiz.questions[i];
        QuestionContent& target = content->questions[i];
        Copy(target.answer1, question.answers[0]);
        Copy(target.answer2, quiz.answersPerQuestion == 2 ? question.answers[1] : std::string());
        Copy(target.questionText, question.text);
        Copy(target.revealText, question.revealText);
        if (i < quiz.codes.size())
            Copy(codes->codes[i], quiz.codes[i]);
    }
    content->revealMode = quiz.revealMode;
    content->red = quiz.red;
    content->green = quiz.green;
    content->blue = quiz.blue;

    payloads->content.clear();
    payloads->codes.clear();
    ContentResult result = WriteQuizContent(*content, &payloads->content);
    if (result == CONTENT_OK)
        result = WriteQuizCodes(*codes, content->questionCount, &payloads->codes);
    if (result != CONTENT_OK) {
        *error = ContentResultText(result);
        return false;
    }
    // The codec counts input positions in 16 bits.
    for (const Bytes* payload : {&payloads->content, &payloads->codes}) {
        if (payload->size() > static_cast<size_t>(LZW_MAX_INPUT)) {
            *error = std::string(payload == &payloads->content ? "le contenu" : "la liste des codes") + " fait " +
                     std::to_string(payload->size()) + " octets, le maximum est " + std::to_string(LZW_MAX_INPUT) +
                     " : raccourcissez les textes";
            return false;
        }
    }
    return true;
}

bool ReadQuizPayloads(const Bytes& contentBytes, const Bytes& codesBytes, QuizSource* quiz, std::string* error)
{
    auto content = std::make_unique<QuizContent>();
    auto codes = std::make_unique<QuizCodes>();
    const ContentResult result = ParseQuizContent(contentBytes.data(), contentBytes.size(), content.get());
    if (result != CONTENT_OK) {
        *error = ContentResultText(result);
        return false;
    }
    ParseQuizCodes(codesBytes.data(), codesBytes.size(), content->questionCount, codes.get());

    *quiz = QuizSource();
    quiz->mediaKind = content->mediaKind;
    quiz->answersPerQuestion = content->answersPerQuestion;
    quiz->revealMode = content->revealMode;
    quiz->title = Cp1252ToUtf8(content->title);
    quiz->creator = Cp1252ToUtf8(content->creator);
    quiz->explanation = Cp1252ToUtf8(content->explanation);
    quiz->answerLabels[0] = Cp1252ToUtf8(content->answerLabel1);
    quiz->answerLabels[1] = Cp1252ToUtf8(content->answerLabel2);
    quiz->red = content->red;
    quiz->green = content->green;
    quiz->blue = content->blue;
    for (int i = 0; i < content->questionCount; ++i) {
        const QuestionContent& source = content->questions[i];
        SourceQuestion question;
        question.answers[0] = Cp1252ToUtf8(source.answer1);
        question.answers[1] = Cp1252ToUtf8(source.answer2);
        question.text = Cp1252ToUtf8(source.questionText);
        question.revealText = Cp1252ToUtf8(source.revealText);
        quiz->questions.push_back(question);
        quiz->codes.push_back(Cp1252ToUtf8(codes->codes[i]));
    }
    return true;
}

bool MakeAcceptedPayload(const QuizSource& quiz, Bytes* payload, std::string* error)
{
    payload->clear();
    const int questionCount = static_cast<int>(quiz.questions.size());
    const int boxesPerQuestion = BoxesPerQuestion(quiz.mediaKind, quiz.answersPerQuestion);
    auto accepted = std::make_unique<AcceptedAnswers>();
    if (ClearAcceptedAnswers(accepted.get(), AnswerBoxCount(quiz.mediaKind, questionCount, quiz.answersPerQuestion)) !=
        ACCEPTED_OK) {
        *error = ContentResultText(CONTENT_TOO_MANY_QUESTIONS);
        return false;
    }
    accepted->options = quiz.accentsForgiven ? ACCEPT_ACCENTS_FORGIVEN : 0;
    bool needed = quiz.accentsForgiven;
    for (int q = 1; q <= questionCount; ++q) {
        for (int p = 1; p <= boxesPerQuestion; ++p) {
            for (const std::string& variant : quiz.questions[q - 1].variants[p - 1]) {
                const AcceptedResult result = AddAcceptedVariant(accepted.get(), BoxNumber(boxesPerQuestion, q, p),
                                                                 Utf8ToCp1252Approximately(variant).c_str());
                if (result != ACCEPTED_OK) {
                    *error = "question " + std::to_string(q) + ", réponse " + std::to_string(p) + " : " +
                             AcceptedResultText(result);
                    return false;
                }
                needed = true;
            }
        }
    }
    return !needed || WriteAcceptedAnswers(*accepted, payload) == ACCEPTED_OK;
}

bool ReadAcceptedPayload(const Bytes& payload, QuizSource* quiz, std::string* error)
{
    auto accepted = std::make_unique<AcceptedAnswers>();
    AcceptedResult result = ParseAcceptedAnswers(payload.data(), payload.size(), accepted.get());
    const int boxesPerQuestion = BoxesPerQuestion(quiz->mediaKind, quiz->answersPerQuestion);
    if (result == ACCEPTED_OK &&
        accepted->boxCount !=
            AnswerBoxCount(quiz->mediaKind, static_cast<int>(quiz->questions.size()), quiz->answersPerQuestion))
        result = ACCEPTED_BAD_BOX;
    if (result != ACCEPTED_OK) {
        *error = AcceptedResultText(result);
        return false;
    }
    quiz->accentsForgiven = ForgivesAccents(accepted.get());
    for (int box = 1; box <= accepted->boxCount; ++box) {
        const BoxPosition position = BoxPositionOf(boxesPerQuestion, box);
        const BoxVariants variants = VariantsOfBox(accepted.get(), box);
        const char* variant = variants.first;
        for (int i = 0; i < variants.count; ++i, variant = NextVariant(variant))
            quiz->questions[position.question - 1].variants[position.answer - 1].push_back(Cp1252ToUtf8(variant));
    }
    return true;
}

std::string LzwResultName(int32_t result)
{
    switch (result) {
    case LZW_OK:
        return "LZW_OK";
    case LZW_NO_MEMORY:
        return "LZW_NO_MEMORY";
    case LZW_INPUT_EXHAUSTED:
        return "LZW_INPUT_EXHAUSTED";
    case LZW_WRITE_FAILED:
        return "LZW_WRITE_FAILED";
    case LZW_BAD_CODE:
        return "LZW_BAD_CODE";
    case LZW_INPUT_TOO_LARGE:
        return "LZW_INPUT_TOO_LARGE";
    }
    return "LZW_" + std::to_string(result);
}

int32_t LzwEncodeBytes(const Bytes& input, Bytes* out)
{
    return RunCodec(LzwEncode, input, LZW_MAX_INPUT, 1, out);
}

int32_t LzwDecodeBytes(const Bytes& input, Bytes* out)
{
    // Only the encoder's input is limited: a stream of 65535 poorly compressible bytes is longer.
    return RunCodec(LzwDecode, input, INT32_MAX, 2, out);
}
