// Grading a typed answer against the stored one, and against the variants a quiz accepts beside it:
// pure functions of code page 1252 texts.
#pragma once

#include <cstddef>

#include "content/accepted_answers.h"
#include "content/quiz_limits.h"

// The ten verdicts. GradeAnswer returns one of these very arrays, so callers may compare the
// pointer; the rest of the program reads verdicts back from the controls and compares the text.
// Defined once in grading.cpp: one array each in the whole program.
extern const char VERDICT_UNKNOWN[];
extern const char VERDICT_RIGHT[];
extern const char VERDICT_WRONG[];
extern const char VERDICT_ANAGRAM[];
extern const char VERDICT_ALMOST[];
extern const char VERDICT_NEARLY[];
extern const char VERDICT_TOO_LONG[];
extern const char VERDICT_TOO_SHORT[];
extern const char VERDICT_NOT_FAR[];
extern const char VERDICT_GOOD_IDEA[];

constexpr int VERDICT_COUNT = 10;
extern const char* const ALL_VERDICTS[VERDICT_COUNT];

// Every function here but FoldAccents reads at most the first 259 bytes of a text (the size of a
// quiz text field and of an answer box read), so a longer text takes part with its first 259 bytes
// only. A null text counts as empty. Nothing allocates on the heap: the folded texts and the
// distance rows live on the stack, a few kilobytes.

// Compares the typed text (spaces around it ignored, a to z folded to capitals) with the expected
// one (used unchanged but for the folding) and returns one of ALL_VERDICTS, never null.
const char* GradeAnswer(const char* expected, const char* typed);

// The same grading against every accepted text of a box: the stored answer, then its variants. A
// text equal to one of them is "BRAVO"; any other gets the verdict of the accepted text nearest to it
// (smallest edit distance; on a tie the stored answer, then the variants in their order). With
// accents forgiven, every step runs on both texts once FoldAccents has taken their accented letters
// to plain ones. Without variants and with strict accents this is GradeAnswer.
const char* GradeAnswerWithVariants(const char* expected, BoxVariants variants, bool accentsForgiven,
                                    const char* typed);

// Folding takes a letter to at most two (Œ to OE, Æ to AE, ß to ss), so a folded text of 259 bytes
// needs this much room.
constexpr int FOLDED_TEXT_SIZE = 2 * QUIZ_TEXT_MAX_LENGTH + 1;

// Writes length bytes of source to destination (room for 2 x length + 1 bytes) with the accented
// letters of code page 1252 taken to their plain letters, capitals and small letters alike (À to A,
// é to e, Ø to O, Ÿ to Y, œ to oe, ß to ss, ...); zero-terminates it and returns its length. Every
// other byte, Š Ž Ð Þ among them, is copied as it is.
size_t FoldAccents(char* destination, const char* source, size_t length);

// Turns the bytes a to z into A to Z in place; every other byte, accented letters included, stays.
void ToUpperAscii(char* text);

// Sorts the bytes of a text in place in ascending order of their unsigned values.
void SortCharacters(char* text);

// Unit-cost edit distance (insert, delete, substitute; no transposition).
int EditDistance(const char* a, const char* b);

// Looks for the shorter text inside the longer one with a scan that never steps back: 2 if first
// lies inside second, -2 if second is strictly shorter and lies inside first, 0 if the scan finds
// neither, and 1 or -1 when the shorter text is empty (the sign tells which one was shorter).
int ContainmentTest(const char* first, const char* second);
