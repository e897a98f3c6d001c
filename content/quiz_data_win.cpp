#include "content/quiz_data_win.h"

#include <cstring>
#include <new>

#include "content/accepted_answers.h"
#include "content/quiz_colour.h"
#include "content/quiz_text.h"

QuizData* g_quiz = nullptr;

namespace {

HFONT CreateFontOfHeight(LONG height, LONG weight)
{
    LOGFONTW font = {};
    font.lfHeight = height;
    font.lfWeight = weight;
    return CreateFontIndirectW(&font);
}

void DeleteBrush(HBRUSH& brush)
{
    if (brush)
        DeleteObject(brush);
    brush = nullptr;
}

} // namespace

QuizData::QuizData()
{
    // A plain record: zero everything, then set what differs from zero.
    std::memset(static_cast<void*>(this), 0, sizeof(*this));
    CopyQuizText(title, "nom du zelbo");
    CopyQuizText(creator, " createur");
    questionCount = 2;
    answersPerQuestion = 1;
    secondAnswerOptional = 1;
    scoreFont = CreateFontOfHeight(25, FW_NORMAL);
    SetBackgroundColour(90, 95, 150);
    wrongBrush = CreateSolidBrush(RGB(255, 0, 0));
    rightBrush = CreateSolidBrush(RGB(0, 255, 0));
    anagramBrush = CreateSolidBrush(RGB(255, 100, 0));
    closeBrush = CreateSolidBrush(RGB(255, 203, 38));
    questionTextBrush = CreateSolidBrush(RGB(255, 255, 192));
}

QuizData::~QuizData()
{
    DeleteBrush(backgroundBrush);
    DeleteBrush(wrongBrush);
    DeleteBrush(rightBrush);
    DeleteBrush(anagramBrush);
    DeleteBrush(closeBrush);
    DeleteBrush(questionTextBrush);
    // The fonts go with the record: nothing else holds them once the windows are gone.
    if (answerFont)
        DeleteObject(answerFont);
    if (scoreFont)
        DeleteObject(scoreFont);
    ReleaseQuestions();
    delete acceptedAnswers;
}

void QuizData::ReleaseQuestions()
{
    QuestionNode* node = questionHead;
    while (node) {
        QuestionNode* next = node->next;
        delete node;
        node = next;
    }
    questionHead = nullptr;
    questionTail = nullptr;
}

void QuizData::AddQuestion(const char* answer1Text, const char* answer2Text, const char* questionTextValue)
{
    auto* node = new QuestionNode();
    CopyQuizText(node->answer1, answer1Text);
    CopyQuizText(node->answer2, answer2Text);
    CopyQuizText(node->questionText, questionTextValue);
    node->prev = questionTail;
    if (questionTail)
        questionTail->next = node;
    else
        questionHead = node;
    questionTail = node;
}

QuestionNode* QuizData::QuestionAt(int index) const
{
    QuestionNode* node = questionHead;
    for (int i = 0; node && node->next && i < index; ++i)
        node = node->next;
    return node;
}

void QuizData::SetBackgroundColour(uint8_t red, uint8_t green, uint8_t blue)
{
    backgroundRed = red;
    backgroundGreen = green;
    backgroundBlue = blue;
    backgroundColor = MakeQuizColour(red, green, blue);
    DeleteBrush(backgroundBrush);
    backgroundBrush = CreateSolidBrush(backgroundColor);
}

void QuizData::LoadSampleQuiz()
{
    CopyQuizText(title, "Nom du zelbo");
    CopyQuizText(creator, "Createur zelbo");
    CopyQuizText(explanation, "Explications du zelbo");
    CopyQuizText(answerLabel1, "Pr\xE9nom - Nom");
    CopyQuizText(answerLabel2, "Manga / Anime");
    questionCount = 7;
    answersPerQuestion = 2;
    revealMode = REVEAL_TEXT_AND_PICTURE;
    mediaKind = MEDIA_PICTURE;
    SetBackgroundColour(53, 203, 163);
    AddQuestion("test", "test", "emplacement");
    AddQuestion("test", "test", "emplacement");
}
