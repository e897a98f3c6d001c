// Grading a typed answer against the stored one: a pure function of two code page 1252 texts.
#pragma once

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

// Every function here reads at most the first 259 bytes of a text (the size of a quiz text field
// and of an answer box read), so a longer text takes part with its first 259 bytes only. A null
// text counts as empty. Nothing allocates on the heap.

// Compares the typed text (spaces around it ignored, a to z folded to capitals) with the expected
// one (used unchanged but for the folding) and returns one of ALL_VERDICTS, never null.
const char* GradeAnswer(const char* expected, const char* typed);

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
