#include "atelier/build_runner_win.h"

#include <commctrl.h>

#include <atomic>
#include <filesystem>
#include <memory>
#include <thread>
#include <vector>

#include "atelier/atelier_dialogs_win.h"
#include "atelier/atelier_window_win.h"
#include "atelier/quiz_files_win.h"
#include "atelier/recovery.h"
#include "atelier/recovery_win.h"
#include "atelier/wide_text_win.h"
#include "atelier_resource.h"
#include "authoring/paths.h"
#include "authoring/quiz_build_win.h"
#include "authoring/quiz_extraction_win.h"
#include "platform/editor_seams_win.h"

namespace {

const wchar_t CAPTION[] = L"Zelbo Atelier";
// A build that fails on errors names the first of them.
constexpr size_t ERRORS_NAMED = 5;

enum class BuildKind { TRY, BUILD };

struct FinishedBuild {
    BuildKind kind;
    bool ok = false;
    bool cancelled = false;
    std::wstring output;
    std::string message; // French, when not ok
};

std::thread g_buildThread;
std::atomic<bool> g_cancel{false};
std::wstring g_playerFolder;
const wchar_t TRY_PROGRAM[] = L"essai.exe";

std::wstring TriesFolder()
{
    wchar_t temporary[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temporary);
    return std::wstring(temporary) + L"Zelbo Atelier";
}

std::filesystem::path PlayerPath()
{
    return g_playerFolder.empty() ? DefaultPlayerPath() : std::filesystem::path(g_playerFolder) / L"zelbo.exe";
}

// Why a build wrote nothing, in French: the errors of the source, or what stopped it.
std::string Failure(const QuizBuild& build, const std::wstring& source)
{
    if (build.outcome != BuildOutcome::SOURCE_ERRORS)
        return build.error;
    std::string errors;
    size_t named = 0;
    for (const Diagnostic& diagnostic : build.check.diagnostics) {
        if (!diagnostic.warning && named++ < ERRORS_NAMED)
            errors += "\n" + FormatDiagnostic(WideToUtf8(source.substr(source.find_last_of(L"\\/") + 1)), diagnostic);
    }
    return std::to_string(build.check.errors) + " erreur(s) dans la source :" + errors;
}

void BuildOnWorker(BuildKind kind, std::wstring source, std::wstring output, HWND window)
{
    if (g_beforeBuild)
        g_beforeBuild();
    auto finished = std::make_unique<FinishedBuild>();
    finished->kind = kind;
    finished->output = output;
    const QuizBuild build = BuildQuiz(
        source, PlayerPath(), output, {},
        [window](size_t done, size_t total, const std::string&) {
            PostMessageW(window, WM_APP_BUILD_PROGRESS, done, static_cast<LPARAM>(total));
        },
        &g_cancel);
    finished->cancelled = build.outcome == BuildOutcome::CANCELLED;
    finished->ok = build.outcome == BuildOutcome::WRITTEN;
    if (!finished->ok)
        finished->message = Failure(build, source);
    if (PostMessageW(window, WM_APP_BUILD_DONE, 0, reinterpret_cast<LPARAM>(finished.get())))
        finished.release();
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

std::function<void()> g_beforeBuild;

std::wstring TryFolder()
{
    std::wstring folder = TriesFolder();
    CreateDirectoryW(folder.c_str(), nullptr);
    folder += L"\\" + Utf8ToWide(TryFolderName(GetCurrentProcessId()));
    CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
}

void RemoveEndedTries()
{
    std::vector<std::filesystem::path> ended;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(TriesFolder(), error)) {
        const unsigned long process = ProcessOfTryFolder(entry.path().filename().u8string());
        if (process != 0 && process != GetCurrentProcessId() && !IsProcessRunning(process))
            ended.push_back(entry.path());
    }
    // The quiz first: a program still running cannot be deleted, and the quiz still played keeps
    // its folder whole, its answers with it.
    for (const std::filesystem::path& folder : ended) {
        if (DeleteFileW((folder / TRY_PROGRAM).c_str()) || GetLastError() == ERROR_FILE_NOT_FOUND)
            std::filesystem::remove_all(folder, error);
    }
}

void SetPlayerFolder(const std::wstring& folder)
{
    g_playerFolder = folder;
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
    StartBuild(BuildKind::TRY, source, folder + L"\\" + TRY_PROGRAM);
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
        delete reinterpret_cast<FinishedBuild*>(message.lParam);
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
    const std::unique_ptr<FinishedBuild> finished(reinterpret_cast<FinishedBuild*>(lParam));
    if (g_buildThread.joinable())
        g_buildThread.join();
    ShowBuildStrip(false, L"");
    if (finished->cancelled)
        return;
    if (!finished->ok) {
        const std::string what =
            finished->kind == BuildKind::TRY ? "L'essai n'a pas pu être fabriqué" : "Le quiz n'a pas été fabriqué";
        ShowNote(g_atelier.window, Utf8ToWide(what + " : " + finished->message).c_str(), CAPTION, true);
        return;
    }
    if (finished->kind == BuildKind::TRY) {
        const std::wstring folder = finished->output.substr(0, finished->output.find_last_of(L'\\'));
        if (!StartProgram(finished->output.c_str(), folder.c_str()))
            ShowNote(g_atelier.window, L"Le quiz d'essai n'a pas pu être lancé.", CAPTION, true);
        return;
    }
    SendMessageW(g_atelier.status, SB_SETTEXTW, 0,
                 reinterpret_cast<LPARAM>((L"Quiz fabriqué : " + finished->output).c_str()));
}

bool OpenQuizExecutable(const std::wstring& path)
{
    const std::wstring folder =
        g_dialogs.chooseFolder(g_atelier.window, L"Dossier où écrire la source et les images de ce quiz");
    if (folder.empty())
        return false;
    const QuizExtraction extraction = ExtractQuiz(path, folder, false);
    if (!extraction.ok) {
        ShowNote(g_atelier.window,
                 Utf8ToWide("La source de ce quiz n'a pas pu être extraite : " + extraction.error).c_str(), CAPTION,
                 true);
        return false;
    }
    return OpenPath(folder + L"\\quiz.toml");
}
