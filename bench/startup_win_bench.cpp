// Start-up time of a quiz: from starting the program to its main window being visible, as a player
// waits for it. Usage: startup_win_bench QUIZ.exe [ROUNDS]. Prints figures; passes or fails nothing.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

HWND VisibleMainWindowOf(DWORD processId)
{
    HWND window = nullptr;
    while ((window = FindWindowExA(nullptr, window, "WindowsApp", nullptr)) != nullptr) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == processId && IsWindowVisible(window))
            return window;
    }
    return nullptr;
}

// Milliseconds until the window shows, or a negative value when it never does.
double TimeOneStart(const std::string& program)
{
    std::string commandLine = "\"" + program + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    const Clock::time_point start = Clock::now();
    if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return -1;
    HWND window = nullptr;
    while (!window && WaitForSingleObject(process.hProcess, 5) == WAIT_TIMEOUT)
        window = VisibleMainWindowOf(process.dwProcessId);
    const double elapsed = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    if (window)
        PostMessageA(window, WM_CLOSE, 0, 0);
    WaitForSingleObject(process.hProcess, 60000);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return window ? elapsed : -1;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s QUIZ.exe [ROUNDS]\n", argv[0]);
        return 2;
    }
    const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 3;
    std::vector<double> times;
    for (int round = 0; round < rounds; ++round) {
        const double elapsed = TimeOneStart(argv[1]);
        if (elapsed < 0) {
            std::fprintf(stderr, "%s: no window appeared\n", argv[1]);
            return 1;
        }
        times.push_back(elapsed);
    }
    std::sort(times.begin(), times.end());
    std::printf("%s: start-up to a visible window, median of %d: %.0f ms\n", argv[1], rounds, times[times.size() / 2]);
    return 0;
}
