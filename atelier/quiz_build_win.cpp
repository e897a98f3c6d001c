#include "atelier/quiz_build_win.h"

#include <commctrl.h>

#include <atomic>
#include <memory>
#include <thread>

#include "atelier/atelier_dialogs_win.h"
#include "atelier/atelier_window_win.h"
#include "atelier/quiz_files_win.h"
#include "atelier/wide_text_win.h"
#include "atelier_resource.h"
#include "pack/paths.h"
#include "platform/editor_seams_win.h"

namespace {

const wchar_t CAPTION[] = L"Zelbo Atelier";

enum class BuildKind { TRY, BUILD };

struct BuildOutcome {
    BuildKind kind;
    bool ok = false;
    bool cancelled = false;
    std::wstring output;
    std::string message; // French, when not ok
};

std::thread g_buildThread;
std::atomic<bool> g_cancel{false};
std::wstring g_toolFolder;

std::wstring ProgramFolder()
{
    if (!g_toolFolder.empty())
        return g_toolFolder;
    wchar_t path[MAX_PATH * 4] = {};
    const DWORD length = GetModuleFileNameW(nullptr, path, static_cast<DWORD>(std::size(path)));
    const std::wstring program(path, length);
    return program.substr(0, program.find_last_of(L"\\/"));
}

// zelbo-pack run with arguments; each line of its standard output is handed to onLine as it comes.
// Returns its exit status (-1 when it did not start or was stopped) and its standard error.
int RunPackTool(const std::wstring& arguments, const std::function<void(const std::string&)>& onLine,
                std::string* errors)
{
    SECURITY_ATTRIBUTES inherit = {sizeof(inherit), nullptr, TRUE};
    HANDLE outRead = nullptr, outWrite = nullptr;
    if (!CreatePipe(&outRead, &outWrite, &inherit, 0))
        return -1;
    UniqueKernelHandle readEnd(outRead), writeEnd(outWrite);
    SetHandleInformation(outRead, HANDLE_FLAG_INHERIT, 0);
    wchar_t temporary[MAX_PATH] = {}, errorFile[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temporary);
    GetTempFileNameW(temporary, L"zae", 0, errorFile);
    UniqueFile errorHandle(CreateFileW(errorFile, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                       &inherit, CREATE_ALWAYS, FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE,
                                       nullptr));
    std::wstring commandLine = L"\"" + ProgramFolder() + L"\\zelbo-pack.exe\" " + arguments;
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = outWrite;
    startup.hStdError = errorHandle.Get();
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, nullptr, &startup,
                        &process))
        return -1;
    UniqueKernelHandle thread(process.hThread), child(process.hProcess);
    writeEnd.Reset();
    std::string pending;
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(readEnd.Get(), buffer, sizeof(buffer), &read, nullptr) && read > 0) {
        pending.append(buffer, read);
        for (size_t end; (end = pending.find('\n')) != std::string::npos; pending.erase(0, end + 1))
            onLine(pending.substr(0, end));
        if (g_cancel)
            TerminateProcess(child.Get(), 1);
    }
    WaitForSingleObject(child.Get(), INFINITE);
    DWORD status = 1;
    GetExitCodeProcess(child.Get(), &status);
    LARGE_INTEGER size = {};
    GetFileSizeEx(errorHandle.Get(), &size);
    errors->assign(static_cast<size_t>(size.QuadPart), '\0');
    SetFilePointer(errorHandle.Get(), 0, nullptr, FILE_BEGIN);
    DWORD got = 0;
    if (!errors->empty())
        ReadFile(errorHandle.Get(), &(*errors)[0], static_cast<DWORD>(errors->size()), &got, nullptr);
    return g_cancel ? -1 : static_cast<int>(status);
}

// "Image 3/12 : ..." or "Clip 3/12 : ...": the picture or clip done, and how many there are.
bool ReadProgress(const std::string& line, WPARAM* done, LPARAM* total)
{
    unsigned a = 0, b = 0;
    char word[8] = {};
    if (std::sscanf(line.c_str(), "%7s %u/%u", word, &a, &b) != 3)
        return false;
    *done = a;
    *total = static_cast<LPARAM>(b);
    return true;
}

void BuildOnWorker(BuildKind kind, std::wstring source, std::wstring output, HWND window)
{
    auto outcome = std::make_unique<BuildOutcome>();
    outcome->kind = kind;
    outcome->output = output;
    const std::wstring arguments =
        L"build \"" + source + L"\" -o \"" + output + L"\" --player \"" + ProgramFolder() + L"\\zelbo.exe\"";
    std::string errors;
    const int status = RunPackTool(
        arguments,
        [&](const std::string& line) {
            WPARAM done = 0;
            LPARAM total = 0;
            if (ReadProgress(line, &done, &total))
                PostMessageW(window, WM_APP_BUILD_PROGRESS, done, total);
        },
        &errors);
    outcome->cancelled = g_cancel;
    outcome->ok = status == 0;
    outcome->message = errors;
    if (PostMessageW(window, WM_APP_BUILD_DONE, 0, reinterpret_cast<LPARAM>(outcome.get())))
        outcome.release();
}

void ShowBuildStrip(bool shown, const wchar_t* text)
{
    g_atelier.building = shown;
    SetWindowTextW(Control(IDC_BUILD_LABEL), text);
    SendMessageW(Control(IDC_BUILD_PROGRESS), PBM_SETPOS, 0, 0);
    LayOutAtelier();
    RefreshFrame();
}

void StartBuild(BuildKind kind, const std::wstring& source, const std::wstring& output)
{
    StopBuild();
    g_cancel = false;
    ShowBuildStrip(true, kind == BuildKind::TRY ? L"Préparation de l'essai…" : L"Fabrication du quiz…");
    g_buildThread = std::thread(BuildOnWorker, kind, source, output, g_atelier.window);
}

std::wstring SuggestedQuizName()
{
    const std::string& source = g_atelier.document.Path();
    std::string title = g_atelier.document.Quiz().title;
    for (char& c : title)
        if (std::string("\\/:*?\"<>|").find(c) != std::string::npos || static_cast<unsigned char>(c) < 0x20)
            c = '_';
    const std::string name = (title.empty() ? "quiz" : title) + ".exe";
    return Utf8ToWide(source.empty() ? name : DirectoryOf(source) + "\\" + name);
}

} // namespace

std::wstring TryFolder()
{
    wchar_t temporary[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temporary);
    std::wstring folder = std::wstring(temporary) + L"Zelbo Atelier";
    CreateDirectoryW(folder.c_str(), nullptr);
    folder += L"\\essai-" + std::to_wstring(GetCurrentProcessId());
    CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
}

void SetToolFolder(const std::wstring& folder)
{
    g_toolFolder = folder;
}

void TryCommand()
{
    if (g_atelier.building)
        return;
    // The quiz as it stands, saved or not, its files named by their full paths.
    const std::wstring folder = TryFolder();
    const std::wstring source = folder + L"\\quiz.toml";
    std::string error;
    if (!WriteFileSafely(source, SourceTextFor(g_atelier.document.Quiz(), ""), &error)) {
        ShowNote(g_atelier.window, Utf8ToWide("L'essai n'a pas pu être préparé : " + error).c_str(), CAPTION, true);
        return;
    }
    StartBuild(BuildKind::TRY, source, folder + L"\\essai.exe");
}

void BuildCommand()
{
    if (g_atelier.building)
        return;
    // The quiz built is the saved source, byte for byte what zelbo-pack builds from it.
    if ((g_atelier.document.Modified() || g_atelier.document.Path().empty()) && !SaveCommand(false))
        return;
    const std::wstring output = g_dialogs.saveFile(g_atelier.window, FileKind::BUILT_QUIZ, SuggestedQuizName());
    if (!output.empty())
        StartBuild(BuildKind::BUILD, Utf8ToWide(g_atelier.document.Path()), output);
}

void CancelBuild()
{
    g_cancel = true;
    SetWindowTextW(Control(IDC_BUILD_LABEL), L"Arrêt de la fabrication…");
}

void StopBuild()
{
    if (!g_buildThread.joinable())
        return;
    g_cancel = true;
    g_buildThread.join();
    MSG message;
    while (PeekMessageW(&message, g_atelier.window, WM_APP_BUILD_DONE, WM_APP_BUILD_DONE, PM_REMOVE))
        delete reinterpret_cast<BuildOutcome*>(message.lParam);
}

void OnBuildProgress(WPARAM done, LPARAM total)
{
    if (!g_atelier.building || g_cancel)
        return;
    HWND bar = Control(IDC_BUILD_PROGRESS);
    SendMessageW(bar, PBM_SETRANGE32, 0, total);
    SendMessageW(bar, PBM_SETPOS, done, 0);
    SetWindowTextW(
        Control(IDC_BUILD_LABEL),
        (L"Images et clips préparés : " + std::to_wstring(done) + L" sur " + std::to_wstring(total)).c_str());
}

void OnBuildDone(LPARAM lParam)
{
    const std::unique_ptr<BuildOutcome> outcome(reinterpret_cast<BuildOutcome*>(lParam));
    if (g_buildThread.joinable())
        g_buildThread.join();
    ShowBuildStrip(false, L"");
    if (outcome->cancelled)
        return;
    if (!outcome->ok) {
        const std::string what =
            outcome->kind == BuildKind::TRY ? "L'essai n'a pas pu être fabriqué" : "Le quiz n'a pas été fabriqué";
        ShowNote(g_atelier.window, Utf8ToWide(what + " :\n" + outcome->message).c_str(), CAPTION, true);
        return;
    }
    if (outcome->kind == BuildKind::TRY) {
        const std::wstring folder = outcome->output.substr(0, outcome->output.find_last_of(L'\\'));
        if (!StartProgram(outcome->output.c_str(), folder.c_str()))
            ShowNote(g_atelier.window, L"Le quiz d'essai n'a pas pu être lancé.", CAPTION, true);
        return;
    }
    SendMessageW(g_atelier.status, SB_SETTEXTW, 0,
                 reinterpret_cast<LPARAM>((L"Quiz fabriqué : " + outcome->output).c_str()));
}

bool OpenQuizExecutable(const std::wstring& path)
{
    const std::wstring folder =
        g_dialogs.chooseFolder(g_atelier.window, L"Dossier où écrire la source et les images de ce quiz");
    if (folder.empty())
        return false;
    std::string errors;
    const int status = RunPackTool(
        L"extract \"" + path + L"\" -o \"" + folder + L"\"", [](const std::string&) {}, &errors);
    if (status != 0) {
        ShowNote(g_atelier.window, Utf8ToWide("La source de ce quiz n'a pas pu être extraite :\n" + errors).c_str(),
                 CAPTION, true);
        return false;
    }
    return OpenPath(folder + L"\\quiz.toml");
}
