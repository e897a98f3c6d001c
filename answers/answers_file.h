// The answers file: its name, derived from the program's own file, and its line format (one
// CR LF-ended line of code page 1252 bytes per answer box, in box order).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "content/quiz_limits.h"
#include "platform/wide_string.h"

// The answers file name for the program file at modulePath: the part after the last backslash (or
// slash), with its last three characters replaced by "txt" whatever they are (zelbo.exe gives
// zelbo.txt, player gives playtxt). A name of one or two characters has nothing to replace, so
// ".txt" is appended instead (ab gives ab.txt). Empty when modulePath ends in a separator or is
// empty. One rule for both forms of a path: the program's own, as Windows gives it in UTF-16
// (WideString), and byte strings (std::string).
template <typename String> String AnswersFileName(const String& modulePath);

// Reads the text of the next answer box from the file's bytes into out (QUIZ_TEXT_SIZE bytes,
// always zero-terminated) and moves *position on. The text is every byte up to, not including, the
// next CR or the end of the data; a bare LF is not a line end and stays in the text. If data
// remain, everything up to and including the next LF is skipped, so bytes between a CR and its LF
// are dropped. Once the data are used up (or *position lies past them), every call gives the empty
// text. A line longer than 259 bytes, which only a hand-edited file can hold, gives its first 259
// bytes; the rest of that line is skipped so that the following boxes still get their own lines.
// Never reads outside data[0, size) and never writes more than QUIZ_TEXT_SIZE bytes to out.
void NextAnswerLine(const char* data, size_t size, size_t* position, char* out);

// Appends one box's line to the file content: the text cut to its first 259 bytes, then CR LF.
// A null text gives an empty line.
void AppendAnswerLine(std::string& content, const char* boxText);

// What the player is told when the answers cannot be saved: the file (its full path), why in plain
// words (systemError is the Windows error code that stopped the save) and what to do about it.
WideString SaveFailureMessage(const WideString& filePath, uint32_t systemError);
