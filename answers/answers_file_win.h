// The answers file on disk: read back box by box while the board is built, written on F2 and on
// closing. One CR LF line per answer box, named after the program's file (see answers_file.h).
#pragma once

#include <windows.h>

#include <cstddef>

#include "content/quiz_limits.h"
#include "platform/win_raii.h"

// The saved answers, mapped read-only while they are read. Every answer box, in creation order,
// takes the next line from one read position; without a file every box starts empty.
class SavedAnswers {
public:
    SavedAnswers();
    SavedAnswers(const SavedAnswers&) = delete;
    SavedAnswers& operator=(const SavedAnswers&) = delete;

    // The next saved answer, cut to what a quiz text holds; empty once the file is used up.
    void Next(char (&line)[QUIZ_TEXT_SIZE]);

private:
    UniqueFile m_file;
    UniqueKernelHandle m_mapping;
    UniqueMappedView m_view;
    size_t m_size = 0;
    size_t m_position = 0;
};

// Whether a save that cannot be done says so. Only while Windows ends the session must it keep
// silent: nobody could answer a message box then.
enum class SaveReport { ON_FAILURE, NEVER };

// Writes the text of every answer box of the board to the answers file in the current directory.
// The file is replaced only once the new content is completely written; when anything fails the
// previous file stays as it was and, unless told otherwise, one message box names the file, the
// reason and what to do. A null board saves nothing.
void SaveAnswers(HWND board, SaveReport report = SaveReport::ON_FAILURE);

// The call that writes the file's bytes, with WriteFile's contract. Replaceable so that a failing
// disk can be simulated; null restores WriteFile. Returns the writer it replaced.
using AnswersWriter = BOOL(WINAPI*)(HANDLE file, LPCVOID data, DWORD size, LPDWORD written, LPOVERLAPPED overlapped);
AnswersWriter SetAnswersWriter(AnswersWriter writer);
