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

TextBuilder::TextBuilder(char* buffer, size_t size) : buffer_(buffer), size_(size), fits_(buffer != nullptr && size > 0)
{
    if (fits_)
        buffer_[0] = '\0';
}

TextBuilder& TextBuilder::Append(const char* text)
{
    if (!fits_ || !text)
        return *this;
    for (; *text != '\0'; ++text) {
        if (length_ + 1 >= size_) {
            fits_ = false;
            break;
        }
        buffer_[length_++] = *text;
    }
    buffer_[length_] = '\0';
    return *this;
}

TextBuilder& TextBuilder::Append(int value)
{
    // Digits are taken from the magnitude as unsigned, so that the most negative int has one too.
    unsigned magnitude = value < 0 ? 0u - static_cast<unsigned>(value) : static_cast<unsigned>(value);
    char digits[12];
    char* first = digits + sizeof(digits) - 1;
    *first = '\0';
    do {
        *--first = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    if (value < 0)
        *--first = '-';
    return Append(first);
}
