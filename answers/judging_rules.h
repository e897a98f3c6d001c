// The decisions behind a judged answer box: which stored answer a box is checked against, when a
// question counts as solved, what the score and the code read.
#pragma once

#include <functional>

#include "content/quiz_limits.h"

// Text of the code box while no question is solved.
inline constexpr char NO_CODE_TEXT[] = "      ";

// Stored answer for answer p of a question: answer1 for the first, answer2 for the second, null for
// any other (such a box has nothing to be checked against).
const char* ExpectedAnswer(const char* answer1, const char* answer2, int answer);

// Whether a box's text, taken untrimmed, equals the stored answer once both have a to z folded to
// capitals. Compared byte for byte: a linguistic comparison could call different texts equal.
bool MatchesStoredAnswer(const char* boxText, const char* expected);

// A question is solved when each of its boxes is right; with secondAnswerOptional 1, the second box
// counts as right whatever it holds. isRight(k) tells whether box k (from 1) reads "BRAVO".
int CountSolvedQuestions(int questionCount, int boxesPerQuestion, int secondAnswerOptional,
                         const std::function<bool(int box)>& isRight);

// " solved / questionCount" into a buffer of at least 32 bytes.
void FormatScore(char* buffer, int bufferSize, int solved, int questionCount);

// The reward code shown for a score: entry solved - 1, or six spaces at 0.
const char* CodeForScore(const char (*codes)[QUIZ_TEXT_SIZE], int solved);
