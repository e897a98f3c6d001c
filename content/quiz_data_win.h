// The one quiz record of the program and its question list.
#pragma once

#include <windows.h>

#include <cstdint>

#include "content/quiz_limits.h"

struct AcceptedAnswers;

// One question. Nodes are linked in question order; the record owns them.
struct QuestionNode {
    char answer1[QUIZ_TEXT_SIZE];
    char answer2[QUIZ_TEXT_SIZE];
    char questionText[QUIZ_TEXT_SIZE];
    char revealText[QUIZ_TEXT_SIZE];
    QuestionNode* prev;
    QuestionNode* next;
};

// Everything the player shows or checks. Built once at start-up, filled by LoadContent (or the
// sample quiz), read through g_quiz by every part of the program, destroyed after the message loop.
struct QuizData {
    int32_t mediaKind;
    char title[QUIZ_TEXT_SIZE];
    char creator[QUIZ_TEXT_SIZE];
    char explanation[QUIZ_TEXT_SIZE];
    char answerLabel1[QUIZ_TEXT_SIZE];
    char answerLabel2[QUIZ_TEXT_SIZE];
    int32_t questionCount;
    int32_t answersPerQuestion;
    char codes[MAX_QUESTIONS][QUIZ_TEXT_SIZE];
    int32_t revealMode;
    int32_t secondAnswerOptional;
    HFONT answerFont;
    HFONT scoreFont;
    uint8_t backgroundRed;
    uint8_t backgroundBlue;
    uint8_t backgroundGreen;
    COLORREF backgroundColor;
    HBRUSH backgroundBrush;
    HBRUSH wrongBrush;
    HBRUSH rightBrush;
    HBRUSH anagramBrush;
    HBRUSH closeBrush;
    HBRUSH questionTextBrush;
    HWND headerPanel;
    char mediaFolder[MEDIA_FOLDER_SIZE];
    QuestionNode* questionHead;
    QuestionNode* questionTail;
    // The variants of each answer box and the accent option, owned by the record; null for a quiz
    // without them (or with a damaged resource), which grades against the stored answers only.
    AcceptedAnswers* acceptedAnswers;

    QuizData();
    ~QuizData();
    QuizData(const QuizData&) = delete;
    QuizData& operator=(const QuizData&) = delete;

    // Appends a question at the tail; each text is cut to 259 bytes.
    void AddQuestion(const char* answer1Text, const char* answer2Text, const char* questionTextValue);

    // Node at a 0-based index; past the end the last node, on an empty list null.
    QuestionNode* QuestionAt(int index) const;

    // Installs the built-in sample quiz (used when the executable carries no content).
    void LoadSampleQuiz();

    // Fills the record from the executable's "PATCH" resources, or with the sample quiz.
    void LoadContent();

    // Sets the three colour components, the COLORREF and a new background brush together.
    void SetBackgroundColour(uint8_t red, uint8_t green, uint8_t blue);

    // Frees every node; head and tail become null.
    void ReleaseQuestions();
};

extern QuizData* g_quiz;
