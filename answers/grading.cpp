#include "answers/grading.h"

#include <algorithm>
#include <cstring>

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

// A text as the ladder compares it: cut to 259 bytes, for a typed text without the spaces around it,
// folded when accents are forgiven, a to z in capitals. Folding may make it longer than 259 bytes.
struct GradedText {
    char text[FOLDED_TEXT_SIZE];
    size_t length;
};

// The plain letters of the accented letters of code page 1252, as quiz makers asked for them.
struct AccentFold {
    const char* letters;
    const char* plain;
};
constexpr AccentFold ACCENT_FOLDS[] = {{"\xC0\xC1\xC2\xC3\xC4\xC5", "A"},
                                       {"\xE0\xE1\xE2\xE3\xE4\xE5", "a"},
                                       {"\xC6", "AE"},
                                       {"\xE6", "ae"},
                                       {"\xC7", "C"},
                                       {"\xE7", "c"},
                                       {"\xC8\xC9\xCA\xCB", "E"},
                                       {"\xE8\xE9\xEA\xEB", "e"},
                                       {"\xCC\xCD\xCE\xCF", "I"},
                                       {"\xEC\xED\xEE\xEF", "i"},
                                       {"\xD1", "N"},
                                       {"\xF1", "n"},
                                       {"\xD2\xD3\xD4\xD5\xD6\xD8", "O"},
                                       {"\xF2\xF3\xF4\xF5\xF6\xF8", "o"},
                                       {"\x8C", "OE"},
                                       {"\x9C", "oe"},
                                       {"\xD9\xDA\xDB\xDC", "U"},
                                       {"\xF9\xFA\xFB\xFC", "u"},
                                       {"\xDD\x9F", "Y"},
                                       {"\xFD\xFF", "y"},
                                       {"\xDF", "ss"}};

// The same, indexed by byte: an empty entry leaves the byte as it is.
struct FoldTable {
    char plain[256][3];
};
constexpr FoldTable MakeFoldTable()
{
    FoldTable table{};
    for (const AccentFold& fold : ACCENT_FOLDS) {
        for (const char* letter = fold.letters; *letter != '\0'; ++letter) {
            for (int i = 0; fold.plain[i] != '\0'; ++i)
                table.plain[static_cast<unsigned char>(*letter)][i] = fold.plain[i];
        }
    }
    return table;
}
constexpr FoldTable FOLD_TABLE = MakeFoldTable();

size_t BoundedLength(const char* text)
{
    if (!text)
        return 0;
    size_t length = 0;
    while (length < static_cast<size_t>(QUIZ_TEXT_MAX_LENGTH) && text[length] != '\0')
        ++length;
    return length;
}

void UpperBytes(char* text, size_t length)
{
    for (size_t i = 0; i < length; ++i) {
        if (text[i] >= 'a' && text[i] <= 'z')
            text[i] = static_cast<char>(text[i] - 0x20);
    }
}

void SortBytes(char* text, size_t length)
{
    // Counting sort: 256 counters on the stack, linear time, and a byte order that does not depend
    // on whether char is signed.
    size_t counts[256] = {};
    for (size_t i = 0; i < length; ++i)
        ++counts[static_cast<unsigned char>(text[i])];
    size_t position = 0;
    for (int value = 1; value < 256; ++value) {
        for (size_t n = counts[value]; n > 0; --n)
            text[position++] = static_cast<char>(value);
    }
}

int Distance(const char* a, size_t lengthA, const char* b, size_t lengthB)
{
    if (lengthA == 0)
        return static_cast<int>(lengthB);
    if (lengthB == 0)
        return static_cast<int>(lengthA);

    // Only the last row of the table is needed, so two rows over b replace the full table.
    int rowStorage[2][FOLDED_TEXT_SIZE];
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

int Containment(const char* first, size_t firstLength, const char* second, size_t secondLength)
{
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

// Cut to 259 bytes before trimming, as the text read from an answer box already is.
void Prepare(const char* source, bool trimSpaces, bool foldAccents, GradedText* graded)
{
    const char* start = source ? source : "";
    size_t length = BoundedLength(source);
    while (trimSpaces && length > 0 && start[0] == ' ') {
        ++start;
        --length;
    }
    while (trimSpaces && length > 0 && start[length - 1] == ' ')
        --length;
    if (foldAccents) {
        graded->length = FoldAccents(graded->text, start, length);
    } else {
        std::memcpy(graded->text, start, length);
        graded->text[length] = '\0';
        graded->length = length;
    }
    UpperBytes(graded->text, graded->length);
}

int DistanceBetween(const GradedText& a, const GradedText& b)
{
    return Distance(a.text, a.length, b.text, b.length);
}

bool SameCharacters(const GradedText& a, const GradedText& b)
{
    char sortedA[FOLDED_TEXT_SIZE];
    char sortedB[FOLDED_TEXT_SIZE];
    std::memcpy(sortedA, a.text, a.length + 1);
    std::memcpy(sortedB, b.text, b.length + 1);
    SortBytes(sortedA, a.length);
    SortBytes(sortedB, b.length);
    return std::strcmp(sortedA, sortedB) == 0;
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

// The ladder from the distance on, for a typed text that is not empty.
const char* GradeAgainst(const GradedText& expected, const GradedText& typed, int distance)
{
    if (distance == 0)
        return VERDICT_RIGHT;
    // Before the distance tests, so two swapped letters read as an anagram rather than "Presque".
    if (SameCharacters(expected, typed))
        return VERDICT_ANAGRAM;
    if (distance == 1)
        return VERDICT_ALMOST;
    if (distance == 2)
        return VERDICT_NEARLY;

    switch (Containment(expected.text, expected.length, typed.text, typed.length)) {
    case -2:
        return GradeShortTyped(expected.length, typed.length);
    case 2:
        return VERDICT_TOO_LONG;
    default:
        break;
    }
    // Close enough in spelling when the distance is under a fifth of the longer length.
    const size_t longest = std::max(expected.length, typed.length);
    return longest > 5 * static_cast<size_t>(distance) ? VERDICT_GOOD_IDEA : VERDICT_WRONG;
}

} // namespace

void ToUpperAscii(char* text)
{
    if (text)
        UpperBytes(text, BoundedLength(text));
}

void SortCharacters(char* text)
{
    if (text)
        SortBytes(text, BoundedLength(text));
}

int EditDistance(const char* a, const char* b)
{
    return Distance(a, BoundedLength(a), b, BoundedLength(b));
}

int ContainmentTest(const char* first, const char* second)
{
    return Containment(first, BoundedLength(first), second, BoundedLength(second));
}

size_t FoldAccents(char* destination, const char* source, size_t length)
{
    size_t folded = 0;
    for (size_t i = 0; i < length; ++i) {
        const char* plain = FOLD_TABLE.plain[static_cast<unsigned char>(source[i])];
        if (plain[0] == '\0')
            destination[folded++] = source[i];
        for (; *plain != '\0'; ++plain)
            destination[folded++] = *plain;
    }
    destination[folded] = '\0';
    return folded;
}

const char* GradeAnswer(const char* expected, const char* typed)
{
    return GradeAnswerWithVariants(expected, BoxVariants{nullptr, 0}, false, typed);
}

const char* GradeAnswerWithVariants(const char* expected, BoxVariants variants, bool accentsForgiven, const char* typed)
{
    GradedText typedText;
    Prepare(typed, true, accentsForgiven, &typedText);
    if (typedText.length == 0)
        return VERDICT_UNKNOWN;

    // The nearest accepted text so far and the one being measured; a tie keeps the earlier text.
    GradedText texts[2];
    GradedText* nearest = &texts[0];
    GradedText* candidate = &texts[1];
    Prepare(expected, false, accentsForgiven, nearest);
    int nearestDistance = DistanceBetween(*nearest, typedText);
    const char* variant = variants.first;
    for (int i = 0; i < variants.count && nearestDistance > 0; ++i, variant = NextVariant(variant)) {
        Prepare(variant, false, accentsForgiven, candidate);
        const int distance = DistanceBetween(*candidate, typedText);
        if (distance < nearestDistance) {
            std::swap(nearest, candidate);
            nearestDistance = distance;
        }
    }
    return GradeAgainst(*nearest, typedText, nearestDistance);
}
