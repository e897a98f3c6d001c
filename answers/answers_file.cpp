#include "answers/answers_file.h"

#include <cstring>

namespace {

// Replacing three characters writes the letters only; appending writes the dot too.
const char ANSWERS_EXTENSION[] = ".txt";
constexpr size_t REPLACED_CHARACTERS = 3;

} // namespace

bool AnswersFileName(const char* modulePath, char* out, size_t outSize)
{
    if (!out || outSize == 0)
        return false;
    if (!modulePath) {
        out[0] = '\0';
        return false;
    }

    const char* name = modulePath;
    for (const char* c = modulePath; *c != '\0'; ++c) {
        if (*c == '\\' || *c == '/')
            name = c + 1;
    }
    const size_t nameLength = std::strlen(name);

    // A name too short to lose three characters keeps them all and gains an extension, rather than
    // having bytes before its start overwritten.
    const bool appended = nameLength < REPLACED_CHARACTERS;
    const size_t kept = appended ? nameLength : nameLength - REPLACED_CHARACTERS;
    const char* suffix = appended ? ANSWERS_EXTENSION : ANSWERS_EXTENSION + 1;
    const size_t suffixLength = std::strlen(suffix);
    if (nameLength == 0 || kept + suffixLength + 1 > outSize) {
        out[0] = '\0';
        return false;
    }

    // out may be the very buffer that holds modulePath: the name moves down within it.
    std::memmove(out, name, kept);
    std::memcpy(out + kept, suffix, suffixLength + 1);
    return true;
}

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
