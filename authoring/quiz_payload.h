// Between a quiz source and the "PATCH" payloads of the player: the decoded bytes of the content, of
// the codes and of the accepted answers, and their LZW streams.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "authoring/quiz_source.h"

using Bytes = std::vector<unsigned char>;

struct QuizPayloads {
    Bytes content; // decoded content (resource 104 before compression)
    Bytes codes;   // decoded codes (resource 105 before compression)
};

// The payloads of a source that parsed without errors, its texts in the player's code page 1252.
// False (with a French message) only when the source holds what the format cannot carry, which
// validation already reports; a text the code page cannot hold counts as "?"s, so that the size of
// a quiz still in error can be told.
bool MakeQuizPayloads(const QuizSource& quiz, QuizPayloads* payloads, std::string* error);

// The reverse, for extraction: the quiz that the payloads describe, texts in UTF-8, pictures not set. codes may be
// empty (a quiz without a codes resource). False with a French message when the content is not
// readable.
bool ReadQuizPayloads(const Bytes& content, const Bytes& codes, QuizSource* quiz, std::string* error);

// The accepted answers (resource 106 before compression) of a source that parsed without errors:
// the variants of every answer box and the accent option, through the content layer's writer. Empty
// when the quiz has neither, so that it carries no resource 106 and plays as a quiz made before
// them. False (with a French message) when the writer refuses a variant, which validation already
// reports.
bool MakeAcceptedPayload(const QuizSource& quiz, Bytes* payload, std::string* error);

// The reverse, for extraction: the variants and the accent option of a decoded payload put into the
// quiz that its content gave. False with a French message, the quiz untouched, for a payload that
// the player would leave aside.
bool ReadAcceptedPayload(const Bytes& payload, QuizSource* quiz, std::string* error);

// "LZW_BAD_CODE" and the like; "LZW_<number>" for a value the codec does not name.
std::string LzwResultName(int32_t result);

// LzwEncode / LzwDecode on vectors; the stream or the decoded bytes (also those decoded before a
// failure) land in *out. Returns the codec's result.
int32_t LzwEncodeBytes(const Bytes& input, Bytes* out);
int32_t LzwDecodeBytes(const Bytes& input, Bytes* out);
