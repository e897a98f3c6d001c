#include "atelier/checker_win.h"

#include <commctrl.h>

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

#include "atelier/atelier_window_win.h"
#include "atelier/editor_form_win.h"
#include "atelier_resource.h"
#include "atelier/wide_text_win.h"
#include "authoring/paths.h"
#include "authoring/quiz_preparation_win.h"

namespace {

// A pause in the typing this long starts a check.
constexpr UINT CHECK_DELAY_MS = 300;

struct CheckResult {
    unsigned generation = 0;
    std::vector<Diagnostic> problems;
    QuizFigures figures;
};

struct Checker {
    HWND window = nullptr;
    std::mutex lock;
    std::condition_variable wake;
    bool stopping = false;
    bool pending = false;
    unsigned generation = 0; // of the last check asked for
    std::string text;        // the source to check, when pending
    std::string folder;      // where its relative file names start
    // A check overtaken by an edit stops at its next picture: its result would be dropped.
    std::atomic<bool> overtaken{false};
    std::thread thread;
    MediaCheckCache cache; // the worker's: pictures are decoded again only when their files change
    unsigned shown = 0;    // main thread: the generation whose problems are shown
};

Checker g_checker;

CheckResult RunCheck(unsigned generation, const std::string& text, const std::string& folder)
{
    QuizCheck check = CheckQuizSource(text, PathOf(folder), {}, {}, &g_checker.overtaken, &g_checker.cache);
    CheckResult result;
    result.generation = generation;
    result.problems = std::move(check.diagnostics);
    result.figures = {check.quiz.questions.size(), check.errors, check.warnings, check.contentSize, true};
    return result;
}

void CheckerLoop()
{
    for (;;) {
        unsigned generation = 0;
        std::string text, folder;
        {
            std::unique_lock<std::mutex> hold(g_checker.lock);
            g_checker.wake.wait(hold, [] { return g_checker.stopping || g_checker.pending; });
            if (g_checker.stopping)
                return;
            g_checker.pending = false;
            generation = g_checker.generation;
            text = std::move(g_checker.text);
            folder = std::move(g_checker.folder);
            g_checker.overtaken = false;
        }
        auto result = std::make_unique<CheckResult>(RunCheck(generation, text, folder));
        if (PostMessageW(g_checker.window, WM_APP_CHECKED, 0, reinterpret_cast<LPARAM>(result.get())))
            result.release();
    }
}

std::wstring QuestionColumn(const Diagnostic& problem)
{
    return problem.place.question > 0 ? std::to_wstring(problem.place.question) : L"Réglages";
}

void SetItemText(HWND list, int item, int column, const std::wstring& text)
{
    LVITEMW cell = {};
    cell.mask = LVIF_TEXT;
    cell.iItem = item;
    cell.iSubItem = column;
    cell.pszText = const_cast<wchar_t*>(text.c_str());
    if (column == 0)
        SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&cell));
    else
        SendMessageW(list, LVM_SETITEMTEXTW, item, reinterpret_cast<LPARAM>(&cell));
}

void GoToProblem(int index)
{
    if (index < 0 || static_cast<size_t>(index) >= g_atelier.problemsFound.size())
        return;
    const SourcePlace place = g_atelier.problemsFound[static_cast<size_t>(index)].place;
    if (place.question > 0)
        ShowSelection({place.question - 1});
    FocusField(place);
}

} // namespace

void StartChecker(HWND window)
{
    g_checker.window = window;
    g_checker.stopping = false;
    g_checker.pending = false;
    g_checker.thread = std::thread(CheckerLoop);
}

void StopChecker()
{
    {
        const std::lock_guard<std::mutex> hold(g_checker.lock);
        g_checker.stopping = true;
    }
    g_checker.wake.notify_all();
    if (g_checker.thread.joinable())
        g_checker.thread.join();
    MSG message;
    while (PeekMessageW(&message, g_checker.window, WM_APP_CHECKED, WM_APP_CHECKED, PM_REMOVE))
        delete reinterpret_cast<CheckResult*>(message.lParam);
}

void ScheduleCheck()
{
    {
        // Whatever check runs or waits is overtaken from now on.
        const std::lock_guard<std::mutex> hold(g_checker.lock);
        ++g_checker.generation;
        g_checker.overtaken = true;
    }
    SetTimer(g_checker.window, CHECK_TIMER, CHECK_DELAY_MS, nullptr);
}

void CheckNow()
{
    KillTimer(g_checker.window, CHECK_TIMER);
    const std::string& path = g_atelier.document.Path();
    const std::string folder = path.empty() ? "" : DirectoryOf(path);
    std::string text = SourceTextFor(g_atelier.document.Quiz(), folder);
    {
        const std::lock_guard<std::mutex> hold(g_checker.lock);
        ++g_checker.generation;
        g_checker.text = std::move(text);
        g_checker.folder = folder;
        g_checker.pending = true;
        g_checker.overtaken = true;
    }
    g_checker.wake.notify_one();
}

void OnCheckTimer()
{
    CheckNow();
}

void OnChecked(LPARAM lParam)
{
    const std::unique_ptr<CheckResult> result(reinterpret_cast<CheckResult*>(lParam));
    {
        const std::lock_guard<std::mutex> hold(g_checker.lock);
        if (result->generation != g_checker.generation)
            return;
    }
    g_checker.shown = result->generation;
    g_atelier.problemsFound = std::move(result->problems);
    g_atelier.figures = result->figures;
    ShowProblems();
    InvalidateRect(g_atelier.list, nullptr, FALSE);
    RefreshFrame();
}

bool CheckIsCurrent()
{
    const std::lock_guard<std::mutex> hold(g_checker.lock);
    return g_checker.shown == g_checker.generation;
}

HWND CreateProblemList(HWND parent)
{
    return CreateReportList(parent, IDC_PROBLEM_LIST, L"Problèmes", LVS_SINGLESEL,
                            {L"Gravité", L"Question", L"Champ", L"Problème"});
}

void ShowProblems()
{
    HWND list = g_atelier.problems;
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);
    int item = 0;
    for (const Diagnostic& problem : g_atelier.problemsFound) {
        SetItemText(list, item, 0, problem.warning ? L"Attention" : L"Erreur");
        SetItemText(list, item, 1, QuestionColumn(problem));
        SetItemText(list, item, 2, Utf8ToWide(FieldName(problem.place)));
        SetItemText(list, item, 3, Utf8ToWide(problem.message));
        ++item;
    }
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
}

LRESULT OnProblemListNotify(const NMHDR* header)
{
    switch (header->code) {
    case NM_CLICK:
    case NM_DBLCLK:
        GoToProblem(reinterpret_cast<const NMITEMACTIVATE*>(header)->iItem);
        return 0;
    case NM_RETURN:
        GoToProblem(static_cast<int>(SendMessageW(header->hwndFrom, LVM_GETNEXTITEM, -1, LVNI_SELECTED)));
        return 0;
    default:
        return 0;
    }
}

const wchar_t* ProblemMarkOf(int question)
{
    const wchar_t* mark = L"";
    for (const Diagnostic& problem : g_atelier.problemsFound) {
        if (problem.place.question != question)
            continue;
        if (!problem.warning)
            return L"erreur";
        mark = L"attention";
    }
    return mark;
}
