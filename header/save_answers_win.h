// Writing the answers file: one CR LF line per answer box, named after the program's file.
#pragma once

#include <windows.h>

// Writes the text of every answer box of the board to the answers file in the current directory.
// The file is replaced only once the new content is completely written; when anything fails the
// previous file stays as it was and nothing is reported. A null board saves nothing.
void SaveAnswers(HWND board);

// The call that writes the file's bytes, with WriteFile's contract. Replaceable so that a failing
// disk can be simulated; null restores WriteFile. Returns the writer it replaced.
using AnswersWriter = BOOL(WINAPI*)(HANDLE file, LPCVOID data, DWORD size, LPDWORD written, LPOVERLAPPED overlapped);
AnswersWriter SetAnswersWriter(AnswersWriter writer);
