// The common dialogs the editor opens: files to open or save, a folder, a colour. They go through
// replaceable handlers, so that tests answer them without a modal window.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

enum class FileKind {
    QUIZ,       // to open: a quiz.toml, or a quiz .exe to take its source from
    SOURCE,     // to save: a quiz.toml
    TABLE,      // a spreadsheet saved as text
    MEDIA,      // pictures and clips, several at once
    BUILT_QUIZ, // to save: the quiz .exe
};

struct AtelierDialogs {
    // A file to open, or the files chosen (several for MEDIA); empty when the maker cancelled.
    std::vector<std::wstring> (*openFiles)(HWND owner, FileKind kind);
    // A file to write, starting from suggested; empty when cancelled.
    std::wstring (*saveFile)(HWND owner, FileKind kind, const std::wstring& suggested);
    // A folder (for a quiz's extracted source); empty when cancelled.
    std::wstring (*chooseFolder)(HWND owner, const wchar_t* title);
    // A colour, from *colour; false when cancelled.
    bool (*chooseColour)(HWND owner, COLORREF* colour);
};

extern AtelierDialogs g_dialogs;
// The system's own dialogs, which g_dialogs holds until a test replaces them.
AtelierDialogs PlatformDialogs();
