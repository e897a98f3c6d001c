// Writes a quiz as a source file, the reverse of ParseQuizSource: what it writes parses back into
// the same quiz, and a quiz extracted from its payloads builds into the same content.
#pragma once

#include <string>

#include "authoring/quiz_source.h"

// How a quiz is written. A draft (new, from a table or a folder) starts with a comment on what to
// fill in and what to run next, leaves out the explanation and the colour, and shows the codes as
// a commented example; otherwise every setting is written.
struct SourceWriting {
    std::string folder; // put before each relative file name so that it reads from the new file's folder
    bool draft = false;
    std::string origin;     // a draft's table or folder, named in its comment
    std::string outputName; // a draft's own file name, for the command in its comment
};

// UTF-8 TOML of the documented format; texts and file names are written as the quiz holds them
// (UTF-8), with what TOML or an editor would hide escaped.
std::string WriteQuizSource(const QuizSource& quiz, const SourceWriting& writing = {});

// A TOML basic string, quotes included, with what TOML forbids inside one escaped.
std::string TomlQuote(const std::string& utf8);
