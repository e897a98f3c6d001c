// Zelbo Atelier opening a quiz and building it, as a quiz maker waits for them. Prints figures as
// name=value pairs; passes or fails nothing.
//
//   atelier_win_bench SOURCE.toml OUTPUT.exe [ROUNDS]
//     list_ms        from opening the editor on the source to its window shown, every question in
//                    its list (median of ROUNDS)
//     thumbnails_ms  from opening it to every picture of the list decoded into its thumbnail
//     build_ms       "Fabriquer le quiz…" on the source opened, to the quiz written in OUTPUT.exe
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench_timing.h"
#include "atelier/atelier_dialogs_win.h"
#include "atelier/atelier_window_win.h"
#include "atelier/build_runner_win.h"
#include "atelier/thumbnails_win.h"
#include "atelier_resource.h"
#include "platform/editor_seams_win.h"
#include "platform/win_raii.h"

namespace {

std::wstring Wide(const char* text)
{
    std::wstring wide(static_cast<size_t>(MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0)), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text, -1, &wide[0], static_cast<int>(wide.size()));
    wide.pop_back();
    return wide;
}

void PumpUntil(bool (*done)())
{
    MSG message;
    while (!done()) {
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        if (!done())
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
}

std::wstring g_output;

struct Round {
    double list, thumbnails, build;
};

Round RunOnce(const std::wstring& source, bool build)
{
    Round round = {-1, -1, -1};
    const Clock::time_point start = Clock::now();
    HWND window = OpenAtelier(GetModuleHandleW(nullptr), source, SW_SHOWNORMAL);
    UpdateWindow(GetDlgItem(window, IDC_QUESTION_LIST));
    round.list = MillisecondsSince(start);
    PumpUntil([] { return ThumbnailsSettled(); });
    round.thumbnails = MillisecondsSince(start);
    if (build) {
        const Clock::time_point building = Clock::now();
        SendMessageW(window, WM_COMMAND, IDM_BUILD, 0);
        PumpUntil([] { return !g_atelier.building; });
        round.build = MillisecondsSince(building);
    }
    DestroyWindow(window);
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    }
    return round;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s SOURCE.toml OUTPUT.exe [ROUNDS]\n", argv[0]);
        return 2;
    }
    const ScopedComInit com;
    InitCommonControls();
    RegisterAtelierClass(GetModuleHandleW(nullptr));
    // The build's note, if it failed, is printed rather than shown.
    SetNoteHandler([](HWND, const wchar_t* text, const wchar_t*, bool) { std::fwprintf(stderr, L"%ls\n", text); });
    g_output = Wide(argv[2]);
    g_dialogs.saveFile = [](HWND, FileKind, const std::wstring&) { return g_output; };
    wchar_t program[MAX_PATH] = {};
    std::wstring folder(program, GetModuleFileNameW(nullptr, program, MAX_PATH));
    SetPlayerFolder(folder.substr(0, folder.find_last_of(L'\\')));
    const std::wstring source = Wide(argv[1]);
    const int rounds = argc > 3 ? std::max(1, std::atoi(argv[3])) : 3;
    std::vector<double> lists, thumbnails, builds;
    for (int i = 0; i < rounds; ++i) {
        const Round round = RunOnce(source, i == 0);
        lists.push_back(round.list);
        thumbnails.push_back(round.thumbnails);
        if (round.build >= 0)
            builds.push_back(round.build);
    }
    std::printf("list_ms=%.0f\nthumbnails_ms=%.0f\nbuild_ms=%.0f\n", Median(lists), Median(thumbnails), Median(builds));
    return 0;
}
