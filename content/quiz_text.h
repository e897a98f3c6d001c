// Bounded texts: copies into the quiz's fixed text arrays, and the few texts the player composes.
#pragma once

#include <cstddef>

#include "content/quiz_limits.h"

// Copies source into a QUIZ_TEXT_SIZE array, cutting it to QUIZ_TEXT_MAX_LENGTH bytes; the result is
// always zero-terminated. A null source gives the empty text.
void CopyQuizText(char* destination, const char* source);

// Copies the first length bytes of source (no terminator needed), cut likewise.
void CopyQuizText(char* destination, const char* source, size_t length);

// Composes a text of pieces in a fixed buffer, always zero-terminated, cut where the buffer ends.
// The player composes its numbered labels, score and clip names with this rather than with
// printf, whose implementation would weigh some 20 KB in a program handed out as one file.
class TextBuilder {
public:
    // size is the buffer's, terminator included; a buffer of size 0 is left untouched.
    TextBuilder(char* buffer, size_t size);

    TextBuilder& Append(const char* text); // a null text appends nothing
    TextBuilder& Append(int value);        // in decimal

    // False once a piece did not fit whole.
    bool Fits() const { return fits_; }

private:
    char* buffer_;
    size_t size_;
    size_t length_ = 0;
    bool fits_;
};
