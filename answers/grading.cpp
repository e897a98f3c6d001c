#include "answers/grading.h"

#include <algorithm>
#include <cstring>

#include "content/quiz_limits.h"

const char VERDICT_UNKNOWN[] = "?";
const char VERDICT_RIGHT[] = "BRAVO";
const char VERDICT_WRONG[] = "FAUX";
const char VERDICT_ANAGRAM[] = "Anagramme";
const char VERDICT_ALMOST[] = "Quasiment";
const char VERDICT_NEARLY[] = "Presque";
const char VERDICT_TOO_LONG[] = "Trop long";
const char VERDICT_TOO_SHORT[] = "Trop court";
const char VERDICT_NOT_FAR[] = "pas loin";
const char VERDICT_GOOD_IDEA[] = "y a de l'id\xE9"
                                 "e";
const char* const ALL_VERDICTS[VERDICT_COUNT] = {
    VERDICT_UNKNOWN, VERDICT_RIGHT,    VERDICT_WRONG,     VERDICT_ANAGRAM, VERDICT_ALMOST,
    VERDICT_NEARLY,  VERDICT_TOO_LONG, VERDICT_TOO_SHORT, VERDICT_NOT_FAR, VERDICT_GOOD_IDEA,
};

namespace {

size_t BoundedLength(const char* text)
{
    if (!text)
        return 0;
    size_t length = 0;
    while (length < static_cast<size_t>(QUIZ_TEXT_MAX_LENGTH) && text[length] != '\0')
        ++length;
    return length;
}

// Copies at most 259 bytes into a QUIZ_TEXT_SIZE buffer, as an answer box read would.
size_t CopyBounded(char* destination, const char* source)
{
    const size_t length = BoundedLength(source);
    if (length > 0)
        std::memcpy(destination, source, length);
    destination[length] = '\0';
    return length;
}

// Removes the spaces (0x20 only) at both ends in place; tabs and inner spaces stay.
size_t TrimSpaces(char* text, size_t length)
{
    size_t start = 0;
    while (start < length && text[start] == ' ')
        ++start;
    size_t end = length;
    while (end > start && text[end - 1] == ' ')
        --end;
    const size_t trimmed = end - start;
    std::memmove(text, text + start, trimmed);
    text[trimmed] = '\0';
    return trimmed;
}

const char* GradeShortTyped(size_t expectedLength, size_t typedLength)
{
    // Short expected answers are too easy to half-type: no near-miss verdict below ten characters.
    if (expectedLength <= 9)
        return VERDICT_WRONG;
    if (10 * typedLength > 7 * expectedLength)
        return VERDICT_TOO_SHORT;
    if (2 * typedLength > expectedLength)
        return VERDICT_NOT_FAR;
    return VERDICT_WRONG;
}

} // namespace

void ToUpperAscii(char* text)
{
    if (!text)
        return;
    for (size_t i = 0, length = BoundedLength(text); i < length; ++i) {
        if (text[i] >= 'a' && text[i] <= 'z')
            text[i] = static_cast<char>(text[i] - 0x20);
    }
}

void SortCharacters(char* text)
{
    if (!text)
        return;
    // Counting sort: 256 counters on the stack, linear time, and a byte order that does not depend
    // on whether char is signed.
    size_t counts[256] = {};
    const size_t length = BoundedLength(text);
    for (size_t i = 0; i < length; ++i)
        ++counts[static_cast<unsigned char>(text[i])];
    size_t position = 0;
    for (int value = 1; value < 256; ++value) {
        for (size_t n = counts[value]; n > 0; --n)
            text[position++] = static_cast<char>(value);
    }
}

int EditDistance(const char* a, const char* b)
{
    const size_t lengthA = BoundedLength(a);
    const size_t lengthB = BoundedLength(b);
    if (lengthA == 0)
        return static_cast<int>(lengthB);
    if (lengthB == 0)
        return static_cast<int>(lengthA);

    // Only the last row of the table is needed, so two rows over b replace the full table.
    int rowStorage[2][QUIZ_TEXT_SIZE];
    int* previous = rowStorage[0];
    int* current = rowStorage[1];
    for (size_t j = 0; j <= lengthB; ++j)
        previous[j] = static_cast<int>(j);
    for (size_t i = 1; i <= lengthA; ++i) {
        current[0] = static_cast<int>(i);
        for (size_t j = 1; j <= lengthB; ++j) {
            const int substitution = previous[j - 1] + (a[i - 1] == b[j - 1] ? 0 : 1);
            current[j] = std::min({previous[j] + 1, current[j - 1] + 1, substitution});
        }
        std::swap(previous, current);
    }
    return previous[lengthB];
}

int ContainmentTest(const char* first, const char* second)
{
    const size_t firstLength = BoundedLength(first);
    const size_t secondLength = BoundedLength(second);
    const bool exchanged = secondLength < firstLength;
    const char* shorter = exchanged ? second : first;
    const char* longer = exchanged ? first : second;
    const size_t shorterLength = exchanged ? secondLength : firstLength;
    const size_t longerLength = exchanged ? firstLength : secondLength;
    const int sign = exchanged ? -1 : 1;

    if (shorterLength == 0)
        return sign;

    // After a failed partial match the search resumes at the mismatching character, not one past
    // the start of the attempt, so an occurrence starting inside the attempt is missed (ABAC is not
    // found in XABABACX). Verdicts depend on that, so it is kept.
    size_t position = 0;
    for (;;) {
        while (position < longerLength && longer[position] != shorter[0])
            ++position;
        if (position == longerLength)
            return 0;
        size_t matched = 0;
        while (matched < shorterLength && position < longerLength && longer[position] == shorter[matched]) {
            ++matched;
            ++position;
        }
        if (matched == shorterLength)
            return 2 * sign;
    }
}

const char* GradeAnswer(const char* expected, const char* typed)
{
    char typedCopy[QUIZ_TEXT_SIZE];
    char expectedCopy[QUIZ_TEXT_SIZE];
    // Cut before trimming, as the text read from an answer box already is.
    const size_t typedLength = TrimSpaces(typedCopy, CopyBounded(typedCopy, typed));
    const size_t expectedLength = CopyBounded(expectedCopy, expected);
    ToUpperAscii(typedCopy);
    ToUpperAscii(expectedCopy);

    if (typedLength == 0)
        return VERDICT_UNKNOWN;

    const int distance = EditDistance(expectedCopy, typedCopy);
    if (distance == 0)
        return VERDICT_RIGHT;

    // Before the distance tests, so two swapped letters read as an anagram rather than "Presque".
    char sortedTyped[QUIZ_TEXT_SIZE];
    char sortedExpected[QUIZ_TEXT_SIZE];
    std::memcpy(sortedTyped, typedCopy, typedLength + 1);
    std::memcpy(sortedExpected, expectedCopy, expectedLength + 1);
    SortCharacters(sortedTyped);
    SortCharacters(sortedExpected);
    if (std::strcmp(sortedTyped, sortedExpected) == 0)
        return VERDICT_ANAGRAM;

    if (distance == 1)
        return VERDICT_ALMOST;
    if (distance == 2)
        return VERDICT_NEARLY;

    switch (ContainmentTest(expectedCopy, typedCopy)) {
    case -2:
        return GradeShortTyped(expectedLength, typedLength);
    case 2:
        return VERDICT_TOO_LONG;
    default:
        break;
    }
    // Close enough in spelling when the distance is under a fifth of the longer length.
    const size_t longest = std::max(expectedLength, typedLength);
    return longest > 5 * static_cast<size_t>(distance) ? VERDICT_GOOD_IDEA : VERDICT_WRONG;
}
