#include "platform/editor_seams_win.h"

#include <commctrl.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "platform/win_raii.h"

namespace {

void PlatformNote(HWND owner, const wchar_t* text, const wchar_t* caption, bool error)
{
    MessageBoxW(owner, text, caption, MB_OK | (error ? MB_ICONERROR : MB_ICONINFORMATION));
}

// The task dialog names its buttons as the question asks; it is looked up at run time, so that a
// system without it falls back on a message box of as many buttons.
int PlatformChoice(HWND owner, const wchar_t* text, const wchar_t* caption, const wchar_t* const* buttons, int count)
{
    using TaskDialogFunction = HRESULT(WINAPI*)(const TASKDIALOGCONFIG*, int*, int*, BOOL*);
    const auto taskDialog = reinterpret_cast<TaskDialogFunction>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"comctl32.dll"), "TaskDialogIndirect")));
    if (taskDialog) {
        constexpr int FIRST_BUTTON = 100;
        std::vector<TASKDIALOG_BUTTON> named;
        for (int i = 0; i < count; ++i)
            named.push_back({FIRST_BUTTON + i, buttons[i]});
        TASKDIALOGCONFIG config = {};
        config.cbSize = sizeof(config);
        config.hwndParent = owner;
        config.dwFlags = TDF_ALLOW_DIALOG_CANCELLATION | TDF_POSITION_RELATIVE_TO_WINDOW;
        config.pszWindowTitle = caption;
        config.pszMainInstruction = text;
        config.cButtons = static_cast<UINT>(named.size());
        config.pButtons = named.data();
        config.nDefaultButton = FIRST_BUTTON;
        int chosen = 0;
        if (SUCCEEDED(taskDialog(&config, &chosen, nullptr, nullptr)))
            return chosen >= FIRST_BUTTON && chosen < FIRST_BUTTON + count ? chosen - FIRST_BUTTON : -1;
    }
    const UINT type = count >= 3 ? MB_YESNOCANCEL : count == 2 ? MB_OKCANCEL : MB_OK;
    switch (MessageBoxW(owner, text, caption, type | MB_ICONQUESTION)) {
    case IDYES:
    case IDOK:
        return 0;
    case IDNO:
        return 1;
    default:
        return count >= 3 ? 2 : count == 2 ? 1 : -1;
    }
}

bool PlatformOpenDocument(const wchar_t* path)
{
    const auto opened =
        reinterpret_cast<INT_PTR>(ShellExecuteW(nullptr, L"open", path, nullptr, nullptr, SW_SHOWNORMAL));
    if (opened > 32)
        return true;
    const std::wstring quoted = L"\"" + std::wstring(path) + L"\"";
    return reinterpret_cast<INT_PTR>(
               ShellExecuteW(nullptr, L"open", L"notepad.exe", quoted.c_str(), nullptr, SW_SHOWNORMAL)) > 32;
}

bool PlatformStartProgram(const wchar_t* program, const wchar_t* folder)
{
    std::wstring commandLine = L"\"" + std::wstring(program) + L"\"";
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(program, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, folder, &startup, &process))
        return false;
    UniqueKernelHandle thread(process.hThread), child(process.hProcess);
    return true;
}

NoteHandler g_noteHandler = PlatformNote;
ChoiceHandler g_choiceHandler = PlatformChoice;
DocumentOpener g_documentOpener = PlatformOpenDocument;
ProgramStarter g_programStarter = PlatformStartProgram;

template <typename Handler> Handler Replace(Handler& slot, Handler handler, Handler platform)
{
    Handler previous = slot;
    slot = handler ? handler : platform;
    return previous;
}

} // namespace

void ShowNote(HWND owner, const wchar_t* text, const wchar_t* caption, bool error)
{
    g_noteHandler(owner, text, caption, error);
}

int AskChoice(HWND owner, const wchar_t* text, const wchar_t* caption, const wchar_t* const* buttons, int count)
{
    return g_choiceHandler(owner, text, caption, buttons, count);
}

bool OpenDocument(const wchar_t* path)
{
    return g_documentOpener(path);
}

bool StartProgram(const wchar_t* program, const wchar_t* folder)
{
    return g_programStarter(program, folder);
}

NoteHandler SetNoteHandler(NoteHandler handler)
{
    return Replace(g_noteHandler, handler, PlatformNote);
}

ChoiceHandler SetChoiceHandler(ChoiceHandler handler)
{
    return Replace(g_choiceHandler, handler, PlatformChoice);
}

DocumentOpener SetDocumentOpener(DocumentOpener opener)
{
    return Replace(g_documentOpener, opener, PlatformOpenDocument);
}

ProgramStarter SetProgramStarter(ProgramStarter starter)
{
    return Replace(g_programStarter, starter, PlatformStartProgram);
}
