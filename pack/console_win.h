// The tool's console: its output and error streams, and the shapes its messages share.
#pragma once

#include <string>
#include <vector>

#include "authoring/quiz_source.h"

// Standard output and error in binary mode: the tool writes UTF-8 bytes, unchanged, with "\n" line
// ends, so that its output compares byte for byte.
void SetConsoleBinary();
void PrintOut(const std::string& utf8);
void PrintError(const std::string& utf8);

constexpr int EXIT_OK = 0;
constexpr int EXIT_FAILED = 1;
constexpr int EXIT_USAGE = 2;

// "erreur : message" on standard error; returns EXIT_FAILED.
int Fail(const std::string& message);

// A picture or clip made ready, as check and build report it.
void PrintMediaProgress(size_t done, size_t total, const std::string& line);

// Every problem of a file, "quiz.toml:12: erreur : ...", in the order of the lines it names.
void PrintDiagnostics(const std::string& fileName, std::vector<Diagnostic> diagnostics);
