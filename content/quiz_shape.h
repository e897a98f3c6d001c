// What a quiz's shape (its kind, answers per question and reveal mode) makes of it: how the board
// lays its questions out, how many answer boxes it has and how they are numbered, how many lines
// its answers file holds, and what a found question reveals. Every layer asks these questions, so
// the answers live here, once.
#pragma once

// Text quiz (kind 0): one row per question. Picture, audio and video quizzes (1 to 3): cells of
// three per board line. Any other kind builds no controls.
bool UsesTextLayout(int mediaKind);
bool UsesCellLayout(int mediaKind);

// Answer boxes per question actually created. A text row has room for one box whatever the quiz
// says; a cell has one or two; any other count gives none (the answers are still read, see
// AnswerLinesPerQuestion).
int BoxesPerQuestion(int mediaKind, int answersPerQuestion);

// Number of answer boxes of the whole board, ids IDC_ANSWER_BASE + 1 onwards.
int AnswerBoxCount(int mediaKind, int questionCount, int answersPerQuestion);

// Box number k (from 1) of answer p of question q, and back.
int BoxNumber(int boxesPerQuestion, int question, int answer);
struct BoxPosition {
    int question;
    int answer;
};
BoxPosition BoxPositionOf(int boxesPerQuestion, int boxNumber);

// Lines of the answers file. A save writes questions x answers per question lines, one per box
// number whether or not that box exists (a text quiz of two answers per question ends its file
// with empty lines), and the answers files kept by players hold that many: the count must not
// change. The board, building question by question, takes AnswerLinesPerQuestion lines for each,
// so that both sides agree on which line is whose.
int SavedAnswerLineCount(int questionCount, int answersPerQuestion);
int AnswerLinesPerQuestion(int mediaKind, int answersPerQuestion);

// What a fully solved question reveals; with both, the text comes first. Only a quiz that reveals
// texts carries them in its content and has a reveal label under each question.
bool RevealsText(int revealMode);
bool RevealsPicture(int revealMode);
