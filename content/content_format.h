// The two decoded "PATCH" payloads of a quiz: the content (header bytes and '|'-ended fields) and
// the reward codes (one CR LF line per question). Reader and writer of both, as plain functions of
// plain bytes, shared by the player's loader and the authoring tool.
//
// Content layout, read strictly in this order (fields end with '|', numbers are single bytes):
//   byte 0       not interpreted (written as CONTENT_LEAD_BYTE)
//   byte 1       media kind + 1 (1 text, 2 pictures, 3 audio, 4 video)
//   byte 2       question count N (0..96)
//   byte 3       answers per question M (1 or 2)
//   5 fields     title, creator, explanation, answer caption 1, answer caption 2
//   N records    answer 1, answer 2 (only when M is 2), question text
//   byte         reveal mode
//   N records    only for reveal mode 2 (one field) or 3 (two fields, the second unused)
//   3 bytes      red, green, blue
//   rest         ignored
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "content/quiz_limits.h"

// Written as byte 0 of the content; the reader skips that byte whatever it holds.
constexpr unsigned char CONTENT_LEAD_BYTE = 0;
constexpr unsigned char CONTENT_FIELD_END = '|';
constexpr unsigned char CODE_LINE_CR = '\r';
constexpr unsigned char CODE_LINE_LF = '\n';

enum ContentResult : int32_t {
    CONTENT_OK = 0,
    // The data ends before a header, reveal-mode or colour byte.
    CONTENT_TRUNCATED = -1,
    // The data ends inside a field: its '|' is missing.
    CONTENT_UNENDED_FIELD = -2,
    // Byte 1 is not 1..4, so the media kind is none of the four the player knows.
    CONTENT_BAD_MEDIA_KIND = -3,
    // N above 96: the codes table and the board's control ids hold 96 questions.
    CONTENT_TOO_MANY_QUESTIONS = -4,
    // M other than 1 or 2.
    CONTENT_BAD_ANSWER_COUNT = -5,
    // Writer only: a text holds the byte that would end it early ('|' in a field, CR in a code).
    CONTENT_TEXT_HOLDS_SEPARATOR = -6,
    // Writer only: the reveal mode does not fit its byte.
    CONTENT_BAD_REVEAL_MODE = -7,
};

// One question as the content carries it.
struct QuestionContent {
    char answer1[QUIZ_TEXT_SIZE];
    char answer2[QUIZ_TEXT_SIZE];
    char questionText[QUIZ_TEXT_SIZE];
    char revealText[QUIZ_TEXT_SIZE];
};

// The whole decoded content in plain values; questions past questionCount stay empty.
struct QuizContent {
    int32_t mediaKind;
    int32_t questionCount;
    int32_t answersPerQuestion;
    char title[QUIZ_TEXT_SIZE];
    char creator[QUIZ_TEXT_SIZE];
    char explanation[QUIZ_TEXT_SIZE];
    char answerLabel1[QUIZ_TEXT_SIZE];
    char answerLabel2[QUIZ_TEXT_SIZE];
    QuestionContent questions[MAX_QUESTIONS];
    int32_t revealMode;
    uint8_t red;
    uint8_t green;
    uint8_t blue;
};

// The reward codes: entry i is shown while the score is i + 1.
struct QuizCodes {
    char codes[MAX_QUESTIONS][QUIZ_TEXT_SIZE];
};

// Texts compare as zero-terminated strings, so bytes after a terminator play no part.
bool operator==(const QuizContent& a, const QuizContent& b);
bool operator!=(const QuizContent& a, const QuizContent& b);

// Clears every field: numbers zero, texts empty.
void ClearQuizContent(QuizContent* content);

// Reads size bytes of decoded content into *content. Never reads outside data[0, size) and never
// writes past a text array, whatever the bytes; data needs no terminating zero. A field longer than
// 259 bytes is cut to 259 and the rest of it skipped. Returns CONTENT_OK, or CONTENT_TRUNCATED,
// CONTENT_UNENDED_FIELD, CONTENT_BAD_MEDIA_KIND, CONTENT_TOO_MANY_QUESTIONS or
// CONTENT_BAD_ANSWER_COUNT; on a failure *content holds no meaningful quiz and must be dropped.
// Any reveal-mode byte is accepted: values other than 2 and 3 simply carry no reveal texts.
ContentResult ParseQuizContent(const unsigned char* data, size_t size, QuizContent* content);

// Reads the first questionCount code lines (clamped to 0..96) into *codes; every other entry is
// empty. A line ends at CR and the byte after the CR is stepped over; a last line without CR runs
// to the end of the data; missing lines stay empty; lines past questionCount are ignored; a line
// longer than 259 bytes is cut. Never reads outside data[0, size). Returns the number of lines found.
int ParseQuizCodes(const unsigned char* data, size_t size, int questionCount, QuizCodes* codes);

// Appends the content bytes that ParseQuizContent reads back as *content (answer 2 is written only
// when M is 2, reveal texts only for reveal modes 2 and 3, the unused second reveal field of mode 3
// empty). Checks the content against the format first and writes nothing unless it returns
// CONTENT_OK; the failures are CONTENT_BAD_MEDIA_KIND (mediaKind outside 0..3),
// CONTENT_TOO_MANY_QUESTIONS (N outside 0..96), CONTENT_BAD_ANSWER_COUNT,
// CONTENT_BAD_REVEAL_MODE (outside 0..255) and CONTENT_TEXT_HOLDS_SEPARATOR.
ContentResult WriteQuizContent(const QuizContent& content, std::vector<unsigned char>* out);

// Appends the first questionCount codes (clamped to 0..96), each followed by CR LF. Returns
// CONTENT_TEXT_HOLDS_SEPARATOR and writes nothing when a code holds a CR.
ContentResult WriteQuizCodes(const QuizCodes& codes, int questionCount, std::vector<unsigned char>* out);
