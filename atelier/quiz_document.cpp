#include "atelier/quiz_document.h"

#include <algorithm>

#include "authoring/quiz_draft.h"

std::string& TextOf(QuizSource& quiz, QuizText field)
{
    switch (field) {
    case QuizText::TITLE:
        return quiz.title;
    case QuizText::CREATOR:
        return quiz.creator;
    case QuizText::EXPLANATION:
        return quiz.explanation;
    case QuizText::LABEL_1:
        return quiz.answerLabels[0];
    case QuizText::LABEL_2:
        break;
    }
    return quiz.answerLabels[1];
}

std::string& TextOf(SourceQuestion& question, QuestionText field)
{
    switch (field) {
    case QuestionText::ANSWER_1:
        return question.answers[0];
    case QuestionText::ANSWER_2:
        return question.answers[1];
    case QuestionText::TEXT:
        return question.text;
    case QuestionText::REVEAL_TEXT:
        return question.revealText;
    case QuestionText::PICTURE:
        return question.picture;
    case QuestionText::ANSWER_PICTURE:
        break;
    }
    return question.answerPicture;
}

QuizSource NewQuiz()
{
    QuizSource quiz;
    quiz.mediaKind = MEDIA_PICTURE;
    return quiz;
}

QuizDocument::QuizDocument(QuizSource quiz, std::string path, bool unsaved) : m_path(std::move(path))
{
    m_states.push_back({std::move(quiz), {}, {}});
    m_saved = unsaved ? NEVER_SAVED : 0;
}

void QuizDocument::MarkSaved(const std::string& path)
{
    m_path = path;
    m_saved = m_current;
    m_typingKey = 0;
}

void QuizDocument::Push(QuizSource quiz, const QuestionSet& selection, int typingKey)
{
    // A run of typing grows its own step, unless that step is what was saved: the saved state stays.
    if (typingKey != 0 && typingKey == m_typingKey && m_current > 0 && m_current != m_saved &&
        m_current + 1 == m_states.size()) {
        m_states[m_current].quiz = std::move(quiz);
        m_states[m_current].selectionAfter = selection;
        return;
    }
    m_states.resize(m_current + 1);
    if (m_saved != NEVER_SAVED && m_saved > m_current)
        m_saved = NEVER_SAVED;
    m_states.push_back({std::move(quiz), selection, selection});
    ++m_current;
    m_typingKey = typingKey;
    if (m_states.size() > MAX_STATES) {
        m_states.erase(m_states.begin());
        --m_current;
        m_saved = m_saved == 0 || m_saved == NEVER_SAVED ? NEVER_SAVED : m_saved - 1;
    }
}

QuestionSet QuizDocument::Undo()
{
    m_typingKey = 0;
    if (!CanUndo())
        return m_states[m_current].selectionBefore;
    return m_states[--m_current].selectionBefore;
}

QuestionSet QuizDocument::Redo()
{
    m_typingKey = 0;
    if (CanRedo())
        ++m_current;
    return m_states[m_current].selectionAfter;
}

int TypingKey(QuizText field)
{
    return 2 + static_cast<int>(field);
}

int TypingKey(int question, QuestionText field)
{
    return 100 + question * 10 + static_cast<int>(field);
}

int VariantsTypingKey(int question, int answer)
{
    return TypingKey(question, QuestionText::ANSWER_PICTURE) + 1 + answer;
}

void SetQuizText(QuizDocument& document, QuizText field, const std::string& text, const QuestionSet& selection)
{
    document.Edit(TypingKey(field), selection, [&](QuizSource& quiz) { TextOf(quiz, field) = text; });
}

void SetQuestionText(QuizDocument& document, int question, QuestionText field, const std::string& text)
{
    // A file chosen is one step of its own; typing in a field joins the steps before it.
    const bool typed = field != QuestionText::PICTURE && field != QuestionText::ANSWER_PICTURE;
    document.Edit(typed ? TypingKey(question, field) : 0, {question},
                  [&](QuizSource& quiz) { TextOf(quiz.questions.at(question), field) = text; });
}

void SetKind(QuizDocument& document, int32_t mediaKind, const QuestionSet& selection)
{
    document.Edit(0, selection, [&](QuizSource& quiz) { quiz.mediaKind = mediaKind; });
}

void SetAnswersPerQuestion(QuizDocument& document, int32_t count, const QuestionSet& selection)
{
    document.Edit(0, selection, [&](QuizSource& quiz) { quiz.answersPerQuestion = count; });
}

void SetRevealMode(QuizDocument& document, int32_t revealMode, const QuestionSet& selection)
{
    document.Edit(0, selection, [&](QuizSource& quiz) { quiz.revealMode = revealMode; });
}

void SetColour(QuizDocument& document, uint8_t red, uint8_t green, uint8_t blue, const QuestionSet& selection)
{
    document.Edit(0, selection, [&](QuizSource& quiz) {
        quiz.red = red;
        quiz.green = green;
        quiz.blue = blue;
    });
}

void SetAccentsForgiven(QuizDocument& document, bool forgiven, const QuestionSet& selection)
{
    document.Edit(0, selection, [&](QuizSource& quiz) { quiz.accentsForgiven = forgiven; });
}

void SetVariants(QuizDocument& document, int question, int answer, const std::string& typed)
{
    document.Edit(VariantsTypingKey(question, answer), {question},
                  [&](QuizSource& quiz) { quiz.questions.at(question).variants[answer] = VariantsOf(typed); });
}

std::string VariantsText(const SourceQuestion& question, int answer)
{
    std::string text;
    for (size_t i = 0; i < question.variants[answer].size(); ++i)
        text += (i ? " | " : "") + question.variants[answer][i];
    return text;
}

void SetCodes(QuizDocument& document, const std::string& lines, const QuestionSet& selection)
{
    std::vector<std::string> codes;
    size_t start = 0;
    while (start <= lines.size()) {
        size_t end = lines.find('\n', start);
        if (end == std::string::npos)
            end = lines.size();
        std::string code = lines.substr(start, end - start);
        if (!code.empty() && code.back() == '\r')
            code.pop_back();
        codes.push_back(code);
        start = end + 1;
    }
    while (!codes.empty() && codes.back().empty())
        codes.pop_back();
    document.Edit(CODES_TYPING_KEY, selection, [&](QuizSource& quiz) { quiz.codes = codes; });
}

std::string CodeLines(const QuizSource& quiz)
{
    std::string lines;
    for (size_t i = 0; i < quiz.codes.size(); ++i)
        lines += (i ? "\r\n" : "") + quiz.codes[i];
    return lines;
}

QuestionSet AddQuestions(QuizDocument& document, int at, std::vector<SourceQuestion> questions, size_t* left,
                         int32_t mediaKind, int32_t revealMode)
{
    const size_t count = document.Quiz().questions.size();
    const size_t room = count < static_cast<size_t>(MAX_QUESTIONS) ? MAX_QUESTIONS - count : 0;
    if (left)
        *left = questions.size() > room ? questions.size() - room : 0;
    questions.resize(std::min(questions.size(), room));
    const int first = std::clamp(at, 0, static_cast<int>(count));
    QuestionSet added;
    for (size_t i = 0; i < questions.size(); ++i)
        added.push_back(first + static_cast<int>(i));
    if (added.empty())
        return added;
    document.Edit(0, added, [&](QuizSource& quiz) {
        quiz.questions.insert(quiz.questions.begin() + first, questions.begin(), questions.end());
        quiz.mediaKind = mediaKind >= 0 ? mediaKind : quiz.mediaKind;
        quiz.revealMode = revealMode >= 0 ? revealMode : quiz.revealMode;
    });
    return added;
}

QuestionSet DeleteQuestions(QuizDocument& document, const QuestionSet& questions)
{
    const int count = static_cast<int>(document.Quiz().questions.size());
    QuestionSet doomed;
    for (int q : questions)
        if (q >= 0 && q < count)
            doomed.push_back(q);
    std::sort(doomed.begin(), doomed.end());
    doomed.erase(std::unique(doomed.begin(), doomed.end()), doomed.end());
    if (doomed.empty())
        return questions;
    const int remaining = count - static_cast<int>(doomed.size());
    const QuestionSet next = remaining == 0 ? QuestionSet{} : QuestionSet{std::min(doomed.front(), remaining - 1)};
    document.Edit(0, next, [&](QuizSource& quiz) {
        for (auto q = doomed.rbegin(); q != doomed.rend(); ++q)
            quiz.questions.erase(quiz.questions.begin() + *q);
    });
    return next;
}

QuestionSet MoveQuestions(QuizDocument& document, const QuestionSet& questions, int step)
{
    const int count = static_cast<int>(document.Quiz().questions.size());
    QuestionSet moving = questions;
    std::sort(moving.begin(), moving.end());
    if (moving.empty() || moving.front() + step < 0 || moving.back() + step >= count || moving.front() < 0)
        return questions;
    QuestionSet moved;
    for (int q : moving)
        moved.push_back(q + step);
    document.Edit(0, moved, [&](QuizSource& quiz) {
        // Each selected question swaps with the neighbour it steps over, the nearest to the edge first.
        auto swapWithNeighbour = [&](int q) { std::swap(quiz.questions[q], quiz.questions[q + step]); };
        if (step < 0)
            std::for_each(moving.begin(), moving.end(), swapWithNeighbour);
        else
            std::for_each(moving.rbegin(), moving.rend(), swapWithNeighbour);
    });
    return moved;
}
