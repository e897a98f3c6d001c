#include "atelier_driver_win.h"

#include <commctrl.h>
#include <shlobj.h>

#include "atelier/atelier_window_win.h"
#include "atelier/checker_win.h"
#include "atelier/build_runner_win.h"
#include "atelier/recovery_win.h"
#include "atelier/thumbnails_win.h"
#include "platform/editor_seams_win.h"
#include "test_files_win.h"
#include "test_player_win.h"

std::vector<std::string> g_askedQuestions, g_startedPrograms;
std::deque<int> g_choiceAnswers;

std::string Narrow(const std::wstring& wide)
{
    std::string utf8(
        static_cast<size_t>(WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), -1, nullptr, 0, nullptr, nullptr)), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), -1, &utf8[0], static_cast<int>(utf8.size()), nullptr, nullptr);
    utf8.pop_back();
    return utf8;
}

std::wstring Wide(const std::string& utf8)
{
    std::wstring wide(static_cast<size_t>(MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, nullptr, 0)), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, &wide[0], static_cast<int>(wide.size()));
    wide.pop_back();
    return wide;
}

void InstallEditorRecorders()
{
    SetNoteHandler([](HWND, const wchar_t* text, const wchar_t* caption, bool) {
        g_recordedMessages.push_back(Narrow(caption) + ": " + Narrow(text));
    });
    SetChoiceHandler([](HWND, const wchar_t* text, const wchar_t* caption, const wchar_t* const*, int) {
        g_askedQuestions.push_back(Narrow(caption) + ": " + Narrow(text));
        if (g_choiceAnswers.empty())
            return -1;
        const int answer = g_choiceAnswers.front();
        g_choiceAnswers.pop_front();
        return answer;
    });
    SetDocumentOpener([](const wchar_t* path) {
        g_startedPrograms.push_back("open " + Narrow(path));
        return true;
    });
    SetProgramStarter([](const wchar_t* program, const wchar_t* folder) {
        g_startedPrograms.push_back(Narrow(program) + " in " + Narrow(folder));
        return true;
    });
}

TestAtelier::TestAtelier(const std::wstring& file)
{
    static const bool registered = RegisterAtelierClass(GetModuleHandleW(nullptr));
    static_cast<void>(registered);
    SetPlayerFolder(Wide(BuildFolder()));
    wchar_t here[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, here);
    SetRecoveryFolder(here);
    window = OpenAtelier(GetModuleHandleW(nullptr), file, SW_SHOWNORMAL);
    PumpMessages();
}

TestAtelier::~TestAtelier()
{
    if (IsWindow(window))
        DestroyWindow(window);
    // The quit message the window posted as it went is the test's, not a program's end.
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
        if (message.message != WM_QUIT)
            DispatchMessageW(&message);
}

std::string TestAtelier::Text(int id) const
{
    return Narrow([&] {
        std::wstring text(static_cast<size_t>(GetWindowTextLengthW(Item(id))) + 1, L'\0');
        text.resize(static_cast<size_t>(GetWindowTextW(Item(id), &text[0], static_cast<int>(text.size()))));
        return text;
    }());
}

void TestAtelier::Type(int id, const std::string& utf8) const
{
    SetWindowTextW(Item(id), Wide(utf8).c_str());
    // A multi-line field does not tell of a text set this way; a paste would.
    if (GetWindowLongPtrW(Item(id), GWL_STYLE) & ES_MULTILINE)
        SendMessageW(window, WM_COMMAND, MAKEWPARAM(id, EN_CHANGE), reinterpret_cast<LPARAM>(Item(id)));
    PumpMessages();
}

void TestAtelier::Command(int id) const
{
    // A button says which it is; a menu command or a shortcut comes from no control.
    SendMessageW(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(Item(id)));
    PumpMessages();
}

std::vector<std::string> TestAtelier::Rows(int listId) const
{
    HWND list = Item(listId);
    const int columns = static_cast<int>(
        SendMessageW(reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0)), HDM_GETITEMCOUNT, 0, 0));
    std::vector<std::string> rows;
    for (int row = 0; row < static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0)); ++row) {
        std::string joined;
        for (int column = 0; column < columns; ++column) {
            wchar_t text[512] = {};
            LVITEMW item = {};
            item.iSubItem = column;
            item.pszText = text;
            item.cchTextMax = 512;
            SendMessageW(list, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
            joined += (column ? "|" : "") + Narrow(text);
        }
        rows.push_back(joined);
    }
    return rows;
}

bool TestAtelier::WaitFor(const std::function<bool()>& done) const
{
    for (int i = 0; i < 3000; ++i) {
        PumpMessages();
        if (done())
            return true;
        Sleep(10);
    }
    return false;
}

void TestAtelier::Settle() const
{
    // The check waits for a pause in the typing; the test does not wait for it.
    SendMessageW(window, WM_TIMER, CHECK_TIMER, 0);
    WaitFor([] { return CheckIsCurrent() && ThumbnailsSettled(); });
}

void DropFiles(HWND window, const std::vector<std::wstring>& files, POINT point)
{
    size_t characters = 1;
    for (const std::wstring& file : files)
        characters += file.size() + 1;
    HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + characters * sizeof(wchar_t));
    auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
    drop->pFiles = sizeof(DROPFILES);
    drop->pt = point;
    drop->fWide = TRUE;
    auto* name = reinterpret_cast<wchar_t*>(drop + 1);
    for (const std::wstring& file : files) {
        file.copy(name, file.size());
        name += file.size() + 1;
    }
    GlobalUnlock(memory);
    // The window owns the drop from here: it ends it with DragFinish.
    SendMessageW(window, WM_DROPFILES, reinterpret_cast<WPARAM>(memory), 0);
    PumpMessages();
}

POINT CentreOf(HWND window, HWND control)
{
    RECT box;
    GetWindowRect(control, &box);
    MapWindowPoints(HWND_DESKTOP, window, reinterpret_cast<POINT*>(&box), 2);
    return {(box.left + box.right) / 2, (box.top + box.bottom) / 2};
}
