#include "answers/judging_rules.h"

#include <cstring>

#include "answers/grading.h"
#include "content/quiz_shape.h"
#include "content/quiz_text.h"

const char* ExpectedAnswer(const char* answer1, const char* answer2, int answer)
{
    if (answer == 1)
        return answer1;
    if (answer == 2)
        return answer2;
    return nullptr;
}

bool MatchesStoredAnswer(const char* boxText, const char* expected)
{
    char box[QUIZ_TEXT_SIZE];
    char stored[QUIZ_TEXT_SIZE];
    CopyQuizText(box, boxText);
    CopyQuizText(stored, expected);
    ToUpperAscii(box);
    ToUpperAscii(stored);
    return std::strcmp(box, stored) == 0;
}

int CountSolvedQuestions(int questionCount, int boxesPerQuestion, int secondAnswerOptional,
                         const std::function<bool(int box)>& isRight)
{
    if (boxesPerQuestion <= 0)
        return 0;
    int solved = 0;
    for (int q = 1; q <= questionCount; ++q) {
        int right = 0;
        for (int p = 1; p <= boxesPerQuestion; ++p) {
            if ((p == 2 && secondAnswerOptional == 1) || isRight(BoxNumber(boxesPerQuestion, q, p)))
                ++right;
        }
        if (right == boxesPerQuestion)
            ++solved;
    }
    return solved;
}

void FormatScore(char* buffer, int bufferSize, int solved, int questionCount)
{
    TextBuilder(buffer, bufferSize > 0 ? static_cast<size_t>(bufferSize) : 0)
        .Append(" ")
        .Append(solved)
        .Append(" / ")
        .Append(questionCount);
}

const char* CodeForScore(const char (*codes)[QUIZ_TEXT_SIZE], int solved)
{
    if (solved < 1)
        return NO_CODE_TEXT;
    // A record never holds more questions than codes; past the table there is no code to show.
    if (solved > MAX_QUESTIONS)
        return "";
    return codes[solved - 1];
}
