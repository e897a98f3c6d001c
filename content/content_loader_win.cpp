#include "content/content_loader_win.h"

#include <climits>
#include <cstdlib>
#include <memory>

#include "content/accepted_answers.h"
#include "content/content_format.h"
#include "content/lzw.h"
#include "content/quiz_shape.h"
#include "content/quiz_text.h"
#include "platform/module_resource_win.h"
#include "platform/text_1252_win.h"
#include "platform/ui_seam_win.h"
#include "resource.h"

namespace {

constexpr wchar_t CONTENT_DECODE_FAILED[] = L"Erreur dans le décryptage des reponses";
constexpr wchar_t CODES_NOT_FOUND[] = L"Codes non trouvés.";
constexpr wchar_t CODES_EMPTY[] = L"Codes non renseignés.";
constexpr wchar_t CODES_DECODE_FAILED[] = L"Erreur dans le décryptage des codes";

struct FreeDeleter {
    void operator()(unsigned char* bytes) const { std::free(bytes); }
};
// The codec is portable and knows no UTF-16: its plain-ASCII message is converted on its way out.
void ShowCodecMessage(const char* text, const char* caption)
{
    ShowUserMessage(WideFrom1252(text).c_str(), WideFrom1252(caption).c_str());
}

// The decoder hands its output over as malloc memory, also when it fails.
using DecodedBytes = std::unique_ptr<unsigned char, FreeDeleter>;

ModuleResource FindPatch(HMODULE module, int id)
{
    return FindModuleResource(module, id, CONTENT_RESOURCE_TYPE);
}

// Decodes one resource. False when it could not be loaded or does not decode; whatever the
// decoder handed out is owned by *bytes in every case.
bool DecodeResource(const ModuleResource& resource, DecodedBytes* bytes, size_t* size)
{
    if (!resource.bytes || resource.size > static_cast<DWORD>(INT32_MAX))
        return false;
    unsigned char* output = nullptr;
    int32_t outputLength = 0;
    const int32_t result = LzwDecode(resource.bytes, static_cast<int32_t>(resource.size), &output, &outputLength);
    bytes->reset(output);
    if (result != LZW_OK || !output)
        return false;
    // The count includes the two zero bytes the decoder appends; the parsers need the payload only.
    *size = outputLength > 2 ? static_cast<size_t>(outputLength - 2) : 0;
    return true;
}

void ApplyContent(QuizData& quiz, const QuizContent& content)
{
    quiz.mediaKind = content.mediaKind;
    quiz.questionCount = content.questionCount;
    quiz.answersPerQuestion = content.answersPerQuestion;
    CopyQuizText(quiz.title, content.title);
    CopyQuizText(quiz.creator, content.creator);
    CopyQuizText(quiz.explanation, content.explanation);
    CopyQuizText(quiz.answerLabel1, content.answerLabel1);
    CopyQuizText(quiz.answerLabel2, content.answerLabel2);
    for (int i = 0; i < content.questionCount; ++i) {
        const QuestionContent& question = content.questions[i];
        quiz.AddQuestion(question.answer1, question.answer2, question.questionText);
    }
    quiz.revealMode = content.revealMode;
    for (int i = 0; i < content.questionCount; ++i)
        CopyQuizText(quiz.QuestionAt(i)->revealText, content.questions[i].revealText);
    quiz.SetBackgroundColour(content.red, content.green, content.blue);
}

// The quiz is complete and usable before this runs: a codes failure only leaves the code box empty.
void LoadCodes(QuizData& quiz, HMODULE module)
{
    const ModuleResource resource = FindPatch(module, IDR_CODES);
    if (!resource.found) {
        ShowUserMessage(CODES_NOT_FOUND, PLAYER_CAPTION);
        return;
    }
    if (resource.size == 0) {
        ShowUserMessage(CODES_EMPTY, PLAYER_CAPTION);
        return;
    }
    DecodedBytes decoded;
    size_t size = 0;
    if (!DecodeResource(resource, &decoded, &size)) {
        ShowUserMessage(CODES_DECODE_FAILED, PLAYER_CAPTION);
        return;
    }
    auto codes = std::make_unique<QuizCodes>();
    ParseQuizCodes(decoded.get(), size, quiz.questionCount, codes.get());
    for (int i = 0; i < MAX_QUESTIONS; ++i)
        CopyQuizText(quiz.codes[i], codes->codes[i]);
}

// Optional: a quiz without it, or whose copy is damaged or made for other boxes, plays its stored
// answers only, and the player is not told, since the quiz plays all the same.
void LoadAcceptedAnswers(QuizData& quiz, HMODULE module)
{
    const ModuleResource resource = FindPatch(module, IDR_ACCEPTED_ANSWERS);
    DecodedBytes decoded;
    size_t size = 0;
    if (!resource.found || !DecodeResource(resource, &decoded, &size))
        return;
    auto accepted = std::make_unique<AcceptedAnswers>();
    if (ParseAcceptedAnswers(decoded.get(), size, accepted.get()) != ACCEPTED_OK ||
        accepted->boxCount != AnswerBoxCount(quiz.mediaKind, quiz.questionCount, quiz.answersPerQuestion))
        return;
    quiz.acceptedAnswers = accepted.release();
}

} // namespace

void LoadContentFromModule(QuizData& quiz, HMODULE module)
{
    const ModuleResource resource = FindPatch(module, IDR_CONTENT);
    if (!resource.found || resource.size == 0) {
        quiz.LoadSampleQuiz();
        return;
    }
    // The codec cannot reach the user itself; its out-of-memory message goes through the same seam.
    LzwSetMessageHandler(ShowCodecMessage);

    // Parsed completely before anything is applied, so refused content leaves the record as built.
    auto content = std::make_unique<QuizContent>();
    {
        DecodedBytes decoded;
        size_t size = 0;
        if (!DecodeResource(resource, &decoded, &size) ||
            ParseQuizContent(decoded.get(), size, content.get()) != CONTENT_OK) {
            ShowUserMessage(CONTENT_DECODE_FAILED, PLAYER_CAPTION);
            return;
        }
    }
    ApplyContent(quiz, *content);
    LoadAcceptedAnswers(quiz, module);
    LoadCodes(quiz, module);
}

void QuizData::LoadContent()
{
    LoadContentFromModule(*this, GetModuleHandleW(nullptr));
}
