// The tool's console: its output and error streams, the wait before a window of its own closes,
// and the shapes its messages share.
#pragma once

#include <string>
#include <vector>

#include "authoring/quiz_source.h"

// Output redirected to a file or a pipe gets the tool's UTF-8 bytes unchanged, with "\n" line ends,
// so that it compares byte for byte; a console gets the same text in wide characters, whatever its
// code page, which the tool leaves as it found it.
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

// Started by a double-click, a shortcut or a file dropped onto it, the tool is the only program of
// a console window that closes as soon as it ends, its last message unread: it then says how to
// close the window and waits for Enter. The wait is replaced in tests; null restores the console's.
using ClosingWait = void (*)();
ClosingWait SetClosingWait(ClosingWait wait);
void WaitIfConsoleIsOwn();
