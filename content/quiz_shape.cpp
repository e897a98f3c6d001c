#include "content/quiz_shape.h"

#include <algorithm>

#include "content/quiz_limits.h"

bool UsesTextLayout(int mediaKind)
{
    return mediaKind == MEDIA_TEXT;
}

bool UsesCellLayout(int mediaKind)
{
    return mediaKind == MEDIA_PICTURE || mediaKind == MEDIA_AUDIO || mediaKind == MEDIA_VIDEO;
}

int BoxesPerQuestion(int mediaKind, int answersPerQuestion)
{
    if (UsesTextLayout(mediaKind))
        return 1;
    if (UsesCellLayout(mediaKind) && (answersPerQuestion == 1 || answersPerQuestion == 2))
        return answersPerQuestion;
    return 0;
}

int AnswerBoxCount(int mediaKind, int questionCount, int answersPerQuestion)
{
    return std::max(questionCount, 0) * BoxesPerQuestion(mediaKind, answersPerQuestion);
}

int BoxNumber(int boxesPerQuestion, int question, int answer)
{
    return (question - 1) * boxesPerQuestion + answer;
}

BoxPosition BoxPositionOf(int boxesPerQuestion, int boxNumber)
{
    if (boxesPerQuestion <= 0 || boxNumber <= 0)
        return {0, 0};
    return {(boxNumber - 1) / boxesPerQuestion + 1, (boxNumber - 1) % boxesPerQuestion + 1};
}

int SavedAnswerLineCount(int questionCount, int answersPerQuestion)
{
    return std::max(questionCount, 0) * std::max(answersPerQuestion, 0);
}

int AnswerLinesPerQuestion(int mediaKind, int answersPerQuestion)
{
    if (UsesTextLayout(mediaKind))
        return 1;
    if (UsesCellLayout(mediaKind))
        return std::max(answersPerQuestion, 0);
    return 0;
}

bool RevealsText(int revealMode)
{
    return revealMode == REVEAL_TEXT || revealMode == REVEAL_TEXT_AND_PICTURE;
}

bool RevealsPicture(int revealMode)
{
    return revealMode == REVEAL_PICTURE || revealMode == REVEAL_TEXT_AND_PICTURE;
}
