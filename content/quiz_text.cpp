#include "content/quiz_text.h"

#include <cstring>

void CopyQuizText(char* destination, const char* source)
{
    CopyQuizText(destination, source, source ? std::strlen(source) : 0);
}

void CopyQuizText(char* destination, const char* source, size_t length)
{
    if (length > static_cast<size_t>(QUIZ_TEXT_MAX_LENGTH))
        length = QUIZ_TEXT_MAX_LENGTH;
    if (length > 0)
        std::memcpy(destination, source, length);
    destination[length] = '\0';
}
