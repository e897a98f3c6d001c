#include "atelier/recovery_win.h"

#include <shlobj.h>

#include <vector>

#include "atelier/atelier_window_win.h"
#include "atelier/quiz_files_win.h"
#include "atelier/recovery.h"
#include "atelier/wide_text_win.h"
#include "authoring/files_win.h"
#include "authoring/paths.h"
#include "platform/editor_seams_win.h"

namespace {

constexpr UINT RECOVERY_PERIOD_MS = 60 * 1000;

std::wstring g_folder;
// What the last copy holds and where it is, so that an unchanged quiz is not written again.
std::string g_copiedText;
std::wstring g_copyPath;

std::wstring NotePath(unsigned long process)
{
    return RecoveryFolder() + L"\\" + Utf8ToWide(RecoveryNoteName(process));
}

std::wstring CopyPathNow()
{
    const std::string& source = g_atelier.document.Path();
    return source.empty() ? RecoveryFolder() + L"\\" + Utf8ToWide(NewQuizRecoveryName(GetCurrentProcessId()))
                          : Utf8ToWide(RecoveryPathBeside(source));
}

std::vector<std::wstring> NotesOfEndedEditors()
{
    std::vector<std::wstring> notes;
    for (const std::string& name : FilesIn(RecoveryFolder())) {
        const unsigned long process = ProcessOfRecoveryNote(name);
        if (process != 0 && process != GetCurrentProcessId() && !IsProcessRunning(process))
            notes.push_back(RecoveryFolder() + L"\\" + Utf8ToWide(name));
    }
    return notes;
}

// Offers one copy back; true when the maker took it.
bool Offer(const std::string& copyPath)
{
    std::string text;
    if (!ReadWholeFile(PathOf(copyPath), &text))
        return false;
    const RecoveredWork work = ReadRecoveryText(text);
    if (!work.ok)
        return false;
    const std::string question = "Zelbo Atelier s'est fermé sans enregistrer les modifications de « " +
                                 DisplayName(work.sourcePath) + " ». Rouvrir la copie de récupération ?";
    const wchar_t* const buttons[] = {L"Rouvrir", L"Ne pas rouvrir"};
    if (AskChoice(g_atelier.window, Utf8ToWide(question).c_str(), L"Zelbo Atelier", buttons, 2) != 0)
        return false;
    const std::string folder = work.sourcePath.empty() ? "" : DirectoryOf(work.sourcePath);
    ReplaceDocument(QuizDocument(EditableQuiz(ParseQuizSource(work.sourceText).quiz, folder), work.sourcePath, true));
    return true;
}

} // namespace

std::wstring RecoveryFolder()
{
    if (g_folder.empty()) {
        wchar_t local[MAX_PATH] = {};
        if (SUCCEEDED(SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA | CSIDL_FLAG_CREATE, nullptr, 0, local))) {
            g_folder = std::wstring(local) + L"\\Zelbo";
            CreateDirectoryW(g_folder.c_str(), nullptr);
            g_folder += L"\\Atelier";
            CreateDirectoryW(g_folder.c_str(), nullptr);
        }
    }
    return g_folder;
}

void SetRecoveryFolder(const std::wstring& folder)
{
    g_folder = folder;
}

bool IsProcessRunning(unsigned long process)
{
    UniqueKernelHandle handle(OpenProcess(SYNCHRONIZE, FALSE, process));
    return handle && WaitForSingleObject(handle.Get(), 0) == WAIT_TIMEOUT;
}

void StartRecovery(HWND window)
{
    g_copiedText.clear();
    g_copyPath.clear();
    SetTimer(window, RECOVERY_TIMER, RECOVERY_PERIOD_MS, nullptr);
}

void OnRecoveryTimer()
{
    if (!g_atelier.document.Modified()) {
        RemoveRecoveryCopy();
        return;
    }
    const std::string& source = g_atelier.document.Path();
    const std::string text =
        RecoveryText(source, SourceTextFor(g_atelier.document.Quiz(), source.empty() ? "" : DirectoryOf(source)));
    const std::wstring copyPath = CopyPathNow();
    if (text == g_copiedText && copyPath == g_copyPath)
        return;
    if (copyPath != g_copyPath)
        RemoveRecoveryCopy();
    std::string error;
    // The note says where the copy is; it is written first, so that no copy is ever left unnamed.
    if (!WriteFileSafely(NotePath(GetCurrentProcessId()), WideToUtf8(copyPath), &error) ||
        !WriteFileSafely(copyPath, text, &error))
        return;
    g_copiedText = text;
    g_copyPath = copyPath;
}

void RemoveRecoveryCopy()
{
    if (!g_copyPath.empty())
        DeleteFileW(g_copyPath.c_str());
    DeleteFileW(NotePath(GetCurrentProcessId()).c_str());
    g_copyPath.clear();
    g_copiedText.clear();
}

bool OfferRecoveredWork()
{
    bool recovered = false;
    for (const std::wstring& note : NotesOfEndedEditors()) {
        std::string copyPath;
        if (!ReadWholeFile(note, &copyPath))
            continue;
        if (!recovered)
            recovered = Offer(copyPath);
        else
            continue; // the quiz is taken: the other copies wait for a later start
        DeleteFileW(Utf8ToWide(copyPath).c_str());
        DeleteFileW(note.c_str());
    }
    return recovered;
}
