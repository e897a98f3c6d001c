// Bounded copies into the quiz's fixed text arrays.
#pragma once

#include <cstddef>

#include "content/quiz_limits.h"

// Copies source into a QUIZ_TEXT_SIZE array, cutting it to QUIZ_TEXT_MAX_LENGTH bytes; the result is
// always zero-terminated. A null source gives the empty text.
void CopyQuizText(char* destination, const char* source);

// Copies the first length bytes of source (no terminator needed), cut likewise.
void CopyQuizText(char* destination, const char* source, size_t length);
