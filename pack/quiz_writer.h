// Writes a quiz back as a source file, the reverse of ParseQuizSource: extraction of a built quiz
// gives a source that builds into the same content.
#pragma once

#include <string>

#include "pack/quiz_source.h"

// UTF-8 TOML. Texts are converted from code page 1252; file names are written as they stand.
std::string WriteQuizSource(const QuizSource& quiz);

// The same source from a quiz whose texts are UTF-8, as a quiz maker types them; an empty list of
// codes is left out. Texts the player cannot hold are written as they are, for check to report.
std::string WriteUtf8QuizSource(const QuizSource& utf8Quiz);

// A new quiz.toml started from a table or a folder (see quiz_draft.h), whose texts are still UTF-8:
// a comment on what to fill in (title, creator, codes) and what to run next, then the settings and
// the questions in order. origin names the table or folder; folder, when not empty, is put before
// each relative file name so that it reads from the new file's folder.
std::string WriteQuizDraft(const QuizSource& utf8Quiz, const std::string& origin, const std::string& outputName,
                           const std::string& folder);

// A TOML basic string, quotes included, with what TOML forbids inside one escaped.
std::string TomlQuote(const std::string& utf8);
