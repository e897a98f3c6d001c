// The accepted answers of a quiz, its optional third "PATCH" payload: the quiz's options (whether
// accents are forgiven) and, for every answer box, the texts it accepts beside its stored answer
// (its variants). Reader and writer of the decoded payload, as plain functions of plain bytes,
// shared by the player's loader and the authoring tool; docs/content-resources.md describes it for
// tool writers.
//
// Layout, read strictly in this order (numbers are single bytes, a variant ends with '|', texts in
// code page 1252 like the content):
//   byte 0       version, ACCEPTED_ANSWERS_VERSION
//   byte 1       options: ACCEPT_ACCENTS_FORGIVEN; no other bit is defined
//   byte 2       answer box count B (0..192), the quiz's own (AnswerBoxCount)
//   B records    in box order: a variant count V (0..255), then V variants of 1 to 259 bytes
//   nothing after the last record
// A player that does not know a version refuses the payload and plays the stored answers only, so a
// change that older players must not misread takes a new version number.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "content/lzw.h"
#include "content/quiz_limits.h"

constexpr unsigned char ACCEPTED_ANSWERS_VERSION = 1;
constexpr unsigned char ACCEPT_ACCENTS_FORGIVEN = 0x01;
constexpr unsigned char ACCEPTED_KNOWN_OPTIONS = ACCEPT_ACCENTS_FORGIVEN;
constexpr unsigned char VARIANT_END = '|';

// A picture quiz of 96 questions with two answers each has the most boxes.
constexpr int MAX_ANSWER_BOXES = 2 * MAX_QUESTIONS;
constexpr int MAX_BOX_VARIANTS = 255;
// The payload travels as one LZW stream, whose writer takes at most this many bytes.
constexpr size_t ACCEPTED_ANSWERS_MAX_SIZE = LZW_MAX_INPUT;
constexpr size_t ACCEPTED_ANSWERS_HEADER_SIZE = 3;

enum AcceptedResult : int32_t {
    ACCEPTED_OK = 0,
    // The data ends before a header byte or a variant count.
    ACCEPTED_TRUNCATED = -1,
    // The data ends inside a variant: its '|' is missing.
    ACCEPTED_UNENDED_VARIANT = -2,
    ACCEPTED_BAD_VERSION = -3,
    // An option bit that this version does not define.
    ACCEPTED_UNKNOWN_OPTION = -4,
    // A box count above MAX_ANSWER_BOXES, or a box outside 1..B, or before a box that has variants
    // already (variants are added in box order).
    ACCEPTED_BAD_BOX = -5,
    ACCEPTED_EMPTY_VARIANT = -6,
    ACCEPTED_VARIANT_TOO_LONG = -7,
    // A variant holds '|', which would end it early, or a zero byte, which would end it in the player.
    ACCEPTED_VARIANT_HOLDS_SEPARATOR = -8,
    // More than MAX_BOX_VARIANTS variants for one box.
    ACCEPTED_TOO_MANY_VARIANTS = -9,
    // The payload would exceed ACCEPTED_ANSWERS_MAX_SIZE bytes.
    ACCEPTED_TOO_LARGE = -10,
    // Bytes after the last box record.
    ACCEPTED_TRAILING_DATA = -11,
};

// The variants of one box: count zero-terminated texts stored one after the other from first.
struct BoxVariants {
    const char* first;
    int count;
};

// The whole payload in plain values. The variants of all boxes share texts, box after box, so the
// record has a fixed size however they are spread. It is only ever filled by ClearAcceptedAnswers,
// AddAcceptedVariant and ParseAcceptedAnswers, which keep it within the format's limits; options
// are set directly.
struct AcceptedAnswers {
    uint8_t options;
    int32_t boxCount;
    uint8_t variantCount[MAX_ANSWER_BOXES];
    uint16_t firstVariant[MAX_ANSWER_BOXES]; // offset in texts of each box's first variant
    uint32_t textsLength;
    char texts[ACCEPTED_ANSWERS_MAX_SIZE];
};

// No options and boxCount boxes without variants. ACCEPTED_BAD_BOX (and no box at all) when boxCount
// is outside 0..MAX_ANSWER_BOXES.
AcceptedResult ClearAcceptedAnswers(AcceptedAnswers* accepted, int boxCount);

// Appends a variant to box (from 1). Refused, leaving the record as it was: ACCEPTED_BAD_BOX,
// ACCEPTED_EMPTY_VARIANT, ACCEPTED_VARIANT_TOO_LONG (over 259 bytes), ACCEPTED_VARIANT_HOLDS_SEPARATOR,
// ACCEPTED_TOO_MANY_VARIANTS, ACCEPTED_TOO_LARGE (the written payload would not fit the encoder).
AcceptedResult AddAcceptedVariant(AcceptedAnswers* accepted, int box, const char* text);

// Reads size bytes of decoded payload into *accepted. Never reads outside data[0, size), whatever
// the bytes; data needs no terminating zero. Returns ACCEPTED_OK or the first fault met (any result
// above but ACCEPTED_TOO_MANY_VARIANTS, which the count byte cannot express); on a failure
// *accepted must be dropped: the quiz then plays its stored answers only.
AcceptedResult ParseAcceptedAnswers(const unsigned char* data, size_t size, AcceptedAnswers* accepted);

// Appends the payload that ParseAcceptedAnswers reads back as *accepted. Refuses options it does not
// know with ACCEPTED_UNKNOWN_OPTION, writing nothing; everything else the record holds is within
// the format by construction.
AcceptedResult WriteAcceptedAnswers(const AcceptedAnswers& accepted, std::vector<unsigned char>* out);

// Box (from 1)'s variants; none for a null record or a box it does not have.
BoxVariants VariantsOfBox(const AcceptedAnswers* accepted, int box);
const char* NextVariant(const char* variant);

bool ForgivesAccents(const AcceptedAnswers* accepted);
