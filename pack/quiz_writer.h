// Writes a quiz back as a source file, the reverse of ParseQuizSource: extraction of a built quiz
// gives a source that builds into the same content.
#pragma once

#include <string>

#include "pack/quiz_source.h"

// UTF-8 TOML. Texts are converted from code page 1252; file names are written as they stand.
std::string WriteQuizSource(const QuizSource& quiz);

// A TOML basic string, quotes included, with what TOML forbids inside one escaped.
std::string TomlQuote(const std::string& utf8);
