#include "answers/answers_file.h"

namespace {

constexpr size_t REPLACED_CHARACTERS = 3;

} // namespace

template <typename String> String AnswersFileName(const String& modulePath)
{
    using Char = typename String::value_type;
    size_t nameStart = 0;
    for (size_t i = 0; i < modulePath.size(); ++i) {
        if (modulePath[i] == Char('\\') || modulePath[i] == Char('/'))
            nameStart = i + 1;
    }
    String name = modulePath.substr(nameStart);
    if (name.empty())
        return name;
    // A name too short to lose three characters keeps them all and gains an extension.
    if (name.size() < REPLACED_CHARACTERS)
        name += Char('.');
    else
        name.resize(name.size() - REPLACED_CHARACTERS);
    for (Char letter : {Char('t'), Char('x'), Char('t')})
        name += letter;
    return name;
}

template std::string AnswersFileName(const std::string& modulePath);
template WideString AnswersFileName(const WideString& modulePath);

void NextAnswerLine(const char* data, size_t size, size_t* position, char* out)
{
    out[0] = '\0';
    if (!data || !position || *position >= size)
        return;

    size_t at = *position;
    size_t length = 0;
    while (at < size && data[at] != '\r') {
        if (length < static_cast<size_t>(QUIZ_TEXT_MAX_LENGTH))
            out[length++] = data[at];
        ++at;
    }
    out[length] = '\0';

    if (at < size) {
        while (at < size && data[at] != '\n')
            ++at;
        if (at < size)
            ++at;
    }
    *position = at;
}

void AppendAnswerLine(std::string& content, const char* boxText)
{
    size_t length = 0;
    if (boxText) {
        while (length < static_cast<size_t>(QUIZ_TEXT_MAX_LENGTH) && boxText[length] != '\0')
            ++length;
        content.append(boxText, length);
    }
    content.append("\r\n");
}
