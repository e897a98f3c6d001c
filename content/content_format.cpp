#include "content/content_format.h"

#include <cstring>

#include "content/quiz_shape.h"
#include "content/quiz_text.h"

namespace {

constexpr int MEDIA_BYTE_FIRST = MEDIA_TEXT + 1;
constexpr int MEDIA_BYTE_LAST = MEDIA_VIDEO + 1;

// A read position inside the decoded bytes. The decoder's buffer carries no terminating zero, so
// every read is checked against the size instead of looking for one.
class ByteReader {
public:
    ByteReader(const unsigned char* data, size_t size) : m_data(data), m_size(size) {}

    bool ReadByte(unsigned char* value)
    {
        if (m_position >= m_size)
            return false;
        *value = m_data[m_position++];
        return true;
    }

    // Copies the bytes up to the next '|' into a text array (cut to 259) and steps over the '|'.
    bool ReadField(char* text)
    {
        const size_t start = m_position;
        const void* end = m_size > start ? std::memchr(m_data + start, CONTENT_FIELD_END, m_size - start) : nullptr;
        if (!end)
            return false;
        const size_t length = static_cast<const unsigned char*>(end) - (m_data + start);
        CopyQuizText(text, reinterpret_cast<const char*>(m_data + start), length);
        m_position = start + length + 1;
        return true;
    }

    // A code line: up to the next CR, or to the end of the data for a last line without one. The
    // byte after the CR is taken for the LF without looking at it.
    bool ReadLine(char* text)
    {
        if (m_position >= m_size)
            return false;
        const size_t start = m_position;
        const void* cr = std::memchr(m_data + start, CODE_LINE_CR, m_size - start);
        const size_t length =
            cr ? static_cast<size_t>(static_cast<const unsigned char*>(cr) - (m_data + start)) : m_size - start;
        CopyQuizText(text, reinterpret_cast<const char*>(m_data + start), length);
        m_position = start + length;
        if (cr)
            m_position += m_size - m_position >= 2 ? 2 : 1;
        return true;
    }

private:
    const unsigned char* m_data;
    size_t m_size;
    size_t m_position = 0;
};

// Length of a text as the writer sees it: up to its terminator, never beyond 259 bytes.
size_t WrittenLength(const char* text)
{
    size_t length = 0;
    while (length < static_cast<size_t>(QUIZ_TEXT_MAX_LENGTH) && text[length] != '\0')
        ++length;
    return length;
}

bool HoldsByte(const char* text, unsigned char byte)
{
    return std::memchr(text, byte, WrittenLength(text)) != nullptr;
}

void AppendField(const char* text, std::vector<unsigned char>* out)
{
    const size_t length = WrittenLength(text);
    out->insert(out->end(), text, text + length);
    out->push_back(CONTENT_FIELD_END);
}

bool SameText(const char* a, const char* b)
{
    return std::strncmp(a, b, QUIZ_TEXT_SIZE) == 0;
}

bool SameQuestion(const QuestionContent& a, const QuestionContent& b)
{
    return SameText(a.answer1, b.answer1) && SameText(a.answer2, b.answer2) &&
           SameText(a.questionText, b.questionText) && SameText(a.revealText, b.revealText);
}

// The texts the writer puts into fields: every one of them must be free of '|'.
bool AnyFieldHoldsSeparator(const QuizContent& content)
{
    const char* headerTexts[] = {content.title, content.creator, content.explanation, content.answerLabel1,
                                 content.answerLabel2};
    for (const char* text : headerTexts) {
        if (HoldsByte(text, CONTENT_FIELD_END))
            return true;
    }
    for (int i = 0; i < content.questionCount; ++i) {
        const QuestionContent& question = content.questions[i];
        if (HoldsByte(question.answer1, CONTENT_FIELD_END) || HoldsByte(question.questionText, CONTENT_FIELD_END))
            return true;
        if (content.answersPerQuestion == 2 && HoldsByte(question.answer2, CONTENT_FIELD_END))
            return true;
        if (RevealsText(content.revealMode) && HoldsByte(question.revealText, CONTENT_FIELD_END))
            return true;
    }
    return false;
}

int ClampQuestionCount(int questionCount)
{
    if (questionCount < 0)
        return 0;
    return questionCount > MAX_QUESTIONS ? MAX_QUESTIONS : questionCount;
}

} // namespace

bool operator==(const QuizContent& a, const QuizContent& b)
{
    if (a.mediaKind != b.mediaKind || a.questionCount != b.questionCount ||
        a.answersPerQuestion != b.answersPerQuestion || a.revealMode != b.revealMode || a.red != b.red ||
        a.green != b.green || a.blue != b.blue)
        return false;
    if (!SameText(a.title, b.title) || !SameText(a.creator, b.creator) || !SameText(a.explanation, b.explanation) ||
        !SameText(a.answerLabel1, b.answerLabel1) || !SameText(a.answerLabel2, b.answerLabel2))
        return false;
    for (int i = 0; i < MAX_QUESTIONS; ++i) {
        if (!SameQuestion(a.questions[i], b.questions[i]))
            return false;
    }
    return true;
}

bool operator!=(const QuizContent& a, const QuizContent& b)
{
    return !(a == b);
}

void ClearQuizContent(QuizContent* content)
{
    std::memset(static_cast<void*>(content), 0, sizeof(*content));
}

ContentResult ParseQuizContent(const unsigned char* data, size_t size, QuizContent* content)
{
    ClearQuizContent(content);
    ByteReader reader(data, size);

    unsigned char leadByte, mediaByte, questionCount, answersPerQuestion;
    if (!reader.ReadByte(&leadByte) || !reader.ReadByte(&mediaByte) || !reader.ReadByte(&questionCount) ||
        !reader.ReadByte(&answersPerQuestion))
        return CONTENT_TRUNCATED;
    // A media byte of 0 would make a media kind of -1, which no part of the board can show.
    if (mediaByte < MEDIA_BYTE_FIRST || mediaByte > MEDIA_BYTE_LAST)
        return CONTENT_BAD_MEDIA_KIND;
    if (questionCount > MAX_QUESTIONS)
        return CONTENT_TOO_MANY_QUESTIONS;
    if (answersPerQuestion != 1 && answersPerQuestion != 2)
        return CONTENT_BAD_ANSWER_COUNT;
    content->mediaKind = mediaByte - 1;
    content->questionCount = questionCount;
    content->answersPerQuestion = answersPerQuestion;

    char* headerTexts[] = {content->title, content->creator, content->explanation, content->answerLabel1,
                           content->answerLabel2};
    for (char* text : headerTexts) {
        if (!reader.ReadField(text))
            return CONTENT_UNENDED_FIELD;
    }

    for (int i = 0; i < content->questionCount; ++i) {
        QuestionContent& question = content->questions[i];
        if (!reader.ReadField(question.answer1))
            return CONTENT_UNENDED_FIELD;
        if (content->answersPerQuestion == 2 && !reader.ReadField(question.answer2))
            return CONTENT_UNENDED_FIELD;
        if (!reader.ReadField(question.questionText))
            return CONTENT_UNENDED_FIELD;
    }

    unsigned char revealMode;
    if (!reader.ReadByte(&revealMode))
        return CONTENT_TRUNCATED;
    content->revealMode = revealMode;
    if (RevealsText(content->revealMode)) {
        char unused[QUIZ_TEXT_SIZE];
        for (int i = 0; i < content->questionCount; ++i) {
            if (!reader.ReadField(content->questions[i].revealText))
                return CONTENT_UNENDED_FIELD;
            if (content->revealMode == REVEAL_TEXT_AND_PICTURE && !reader.ReadField(unused))
                return CONTENT_UNENDED_FIELD;
        }
    }

    if (!reader.ReadByte(&content->red) || !reader.ReadByte(&content->green) || !reader.ReadByte(&content->blue))
        return CONTENT_TRUNCATED;
    return CONTENT_OK;
}

int ParseQuizCodes(const unsigned char* data, size_t size, int questionCount, QuizCodes* codes)
{
    std::memset(static_cast<void*>(codes), 0, sizeof(*codes));
    ByteReader reader(data, size);
    const int wanted = ClampQuestionCount(questionCount);
    int found = 0;
    while (found < wanted && reader.ReadLine(codes->codes[found]))
        ++found;
    return found;
}

ContentResult WriteQuizContent(const QuizContent& content, std::vector<unsigned char>* out)
{
    if (content.mediaKind < MEDIA_TEXT || content.mediaKind > MEDIA_VIDEO)
        return CONTENT_BAD_MEDIA_KIND;
    if (content.questionCount < 0 || content.questionCount > MAX_QUESTIONS)
        return CONTENT_TOO_MANY_QUESTIONS;
    if (content.answersPerQuestion != 1 && content.answersPerQuestion != 2)
        return CONTENT_BAD_ANSWER_COUNT;
    if (content.revealMode < 0 || content.revealMode > 255)
        return CONTENT_BAD_REVEAL_MODE;
    if (AnyFieldHoldsSeparator(content))
        return CONTENT_TEXT_HOLDS_SEPARATOR;

    out->push_back(CONTENT_LEAD_BYTE);
    out->push_back(static_cast<unsigned char>(content.mediaKind + 1));
    out->push_back(static_cast<unsigned char>(content.questionCount));
    out->push_back(static_cast<unsigned char>(content.answersPerQuestion));
    AppendField(content.title, out);
    AppendField(content.creator, out);
    AppendField(content.explanation, out);
    AppendField(content.answerLabel1, out);
    AppendField(content.answerLabel2, out);
    for (int i = 0; i < content.questionCount; ++i) {
        const QuestionContent& question = content.questions[i];
        AppendField(question.answer1, out);
        if (content.answersPerQuestion == 2)
            AppendField(question.answer2, out);
        AppendField(question.questionText, out);
    }
    out->push_back(static_cast<unsigned char>(content.revealMode));
    if (RevealsText(content.revealMode)) {
        for (int i = 0; i < content.questionCount; ++i) {
            AppendField(content.questions[i].revealText, out);
            if (content.revealMode == REVEAL_TEXT_AND_PICTURE)
                AppendField("", out);
        }
    }
    out->push_back(content.red);
    out->push_back(content.green);
    out->push_back(content.blue);
    return CONTENT_OK;
}

ContentResult WriteQuizCodes(const QuizCodes& codes, int questionCount, std::vector<unsigned char>* out)
{
    const int count = ClampQuestionCount(questionCount);
    for (int i = 0; i < count; ++i) {
        if (HoldsByte(codes.codes[i], CODE_LINE_CR))
            return CONTENT_TEXT_HOLDS_SEPARATOR;
    }
    for (int i = 0; i < count; ++i) {
        const size_t length = WrittenLength(codes.codes[i]);
        out->insert(out->end(), codes.codes[i], codes.codes[i] + length);
        out->push_back(CODE_LINE_CR);
        out->push_back(CODE_LINE_LF);
    }
    return CONTENT_OK;
}
