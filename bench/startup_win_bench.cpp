// Start-up of a quiz as a player waits for it, and what decoding its pictures costs. Prints figures
// as name=value pairs; passes or fails nothing.
//
//   startup_win_bench QUIZ.exe [ROUNDS] [PICTURES]
//     first_screen_ms   from starting the program to its window and board shown, the pictures in
//                       view in place (median of ROUNDS)
//     all_pictures_ms   from starting the program to the last of question pictures 1..PICTURES in
//                       place (only with PICTURES)
//     close_ms          from asking the window to close to the end of the process, asked as soon as
//                       the first screen shows, while pictures may still be decoded
//     close_loaded_ms   the same, asked once every picture is in place (only with PICTURES)
//   startup_win_bench --decode QUIZ.exe PICTURES
//     old_decode_ms     every question picture decoded and scaled once, on one thread, as the
//                       player did before: OLE picture loader, a copy, a halftone stretch
//     new_decode_ms     the same through the player's own LoadScaledPicture, on one thread
#include <windows.h>
#include <ocidl.h>
#include <olectl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "bench_timing.h"
#include "board/picture_win.h"
#include "content/quiz_limits.h"
#include "platform/module_resource_win.h"
#include "platform/win_raii.h"
#include "resource.h"

namespace {

HWND MainWindowOf(DWORD processId)
{
    HWND window = nullptr;
    while ((window = FindWindowExA(nullptr, window, "WindowsApp", nullptr)) != nullptr) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == processId)
            return window;
    }
    return nullptr;
}

// The question board: the dialog of the main window that holds the answer boxes.
HWND BoardOf(HWND mainWindow)
{
    HWND dialog = nullptr;
    while ((dialog = FindWindowExA(mainWindow, dialog, "#32770", nullptr)) != nullptr) {
        if (GetDlgItem(dialog, IDC_ANSWER_BASE + 1))
            return dialog;
    }
    return nullptr;
}

// The main window and every dialog in it are visible: the board shows itself only once the
// pictures in view are in place.
bool FirstScreenShown(HWND mainWindow)
{
    if (!mainWindow || !IsWindowVisible(mainWindow))
        return false;
    HWND dialog = nullptr;
    int dialogs = 0;
    while ((dialog = FindWindowExA(mainWindow, dialog, "#32770", nullptr)) != nullptr) {
        if (!IsWindowVisible(dialog))
            return false;
        ++dialogs;
    }
    return dialogs == 2;
}

bool PictureInPlace(HWND board, int question)
{
    DWORD_PTR shown = 0;
    return SendMessageTimeoutA(GetDlgItem(board, IDC_PICTURE_BASE + question), STM_GETIMAGE, IMAGE_BITMAP, 0,
                               SMTO_BLOCK, 1000, &shown) &&
           shown != 0;
}

struct Round {
    double firstScreen = -1;
    double allPictures = -1;
    double close = -1;
};

Round RunOnce(const std::string& program, int pictures, bool closeAtFirstScreen)
{
    Round round;
    std::string commandLine = "\"" + program + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    const Clock::time_point start = Clock::now();
    if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return round;
    UniqueKernelHandle processHandle(process.hProcess);
    UniqueKernelHandle threadHandle(process.hThread);
    HWND window = nullptr;
    while (WaitForSingleObject(process.hProcess, 5) == WAIT_TIMEOUT) {
        window = MainWindowOf(process.dwProcessId);
        if (FirstScreenShown(window)) {
            round.firstScreen = MillisecondsSince(start);
            break;
        }
    }
    if (round.firstScreen >= 0 && !closeAtFirstScreen && pictures > 0) {
        HWND board = BoardOf(window);
        // The pictures come roughly in question order: each is awaited in turn.
        for (int q = 1; q <= pictures && board; ++q) {
            while (!PictureInPlace(board, q) && WaitForSingleObject(process.hProcess, 5) == WAIT_TIMEOUT) {
            }
        }
        round.allPictures = MillisecondsSince(start);
    }
    const Clock::time_point closing = Clock::now();
    if (window)
        PostMessageA(window, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process.hProcess, 60000) == WAIT_OBJECT_0 && window)
        round.close = MillisecondsSince(closing);
    return round;
}

// The player's pictures before they were decoded in the background: OLE's loader, an independent
// copy of its bitmap, then a halftone stretch into a screen-compatible bitmap.
HBITMAP OldLoadScaledPicture(HMODULE module, int id)
{
    const ModuleResource resource = FindModuleResource(module, id, PICTURE_RESOURCE_TYPE);
    const uint8_t* bytes = resource.bytes;
    const DWORD size = resource.size;
    if (!bytes || size == 0)
        return nullptr;
    ScopedComInit com;
    UniqueGlobalMemory block(GlobalAlloc(GMEM_FIXED, size));
    if (!block)
        return nullptr;
    std::memcpy(block.Get(), bytes, size);
    ComPtr<IStream> stream;
    if (FAILED(CreateStreamOnHGlobal(block.Get(), TRUE, stream.Receive())))
        return nullptr;
    block.Detach();
    ComPtr<IPicture> picture;
    OLE_HANDLE handle = 0;
    if (FAILED(OleLoadPicture(stream.Get(), static_cast<LONG>(size), FALSE, IID_IPicture, picture.ReceiveVoid())) ||
        FAILED(picture->get_Handle(&handle)))
        return nullptr;
    UniqueBitmap full(static_cast<HBITMAP>(
        CopyImage(reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(handle)), IMAGE_BITMAP, 0, 0, 0)));
    BITMAP info = {};
    if (!full || !GetObjectA(full.Get(), sizeof(info), &info))
        return nullptr;
    const PictureSize scaled = ScaledSize(info.bmWidth, info.bmHeight, PICTURE_BOX_SIZE, PICTURE_BOX_SIZE);
    WindowDc screen(nullptr);
    UniqueMemoryDc sourceDc(CreateCompatibleDC(screen.Get()));
    UniqueMemoryDc targetDc(CreateCompatibleDC(screen.Get()));
    UniqueBitmap result(CreateCompatibleBitmap(screen.Get(), scaled.width, scaled.height));
    {
        ScopedSelection source(sourceDc.Get(), full.Get());
        ScopedSelection target(targetDc.Get(), result.Get());
        SetStretchBltMode(targetDc.Get(), HALFTONE);
        SetBrushOrgEx(targetDc.Get(), 0, 0, nullptr);
        StretchBlt(targetDc.Get(), 0, 0, scaled.width, scaled.height, sourceDc.Get(), 0, 0, info.bmWidth, info.bmHeight,
                   SRCCOPY);
    }
    return result.Detach();
}

template <typename Load> double DecodeEveryPicture(int pictures, Load load)
{
    const Clock::time_point start = Clock::now();
    for (int q = 1; q <= pictures; ++q) {
        UniqueBitmap bitmap(load(IDR_QUESTION_PICTURE_BASE + q));
        if (!bitmap)
            std::fprintf(stderr, "picture %d did not load\n", q);
    }
    return MillisecondsSince(start);
}

int DecodeOnce(const char* quiz, int pictures)
{
    UniqueModule module(LoadLibraryExA(quiz, nullptr, LOAD_LIBRARY_AS_DATAFILE));
    if (!module) {
        std::fprintf(stderr, "%s: cannot be opened\n", quiz);
        return 1;
    }
    HMODULE resources = module.Get();
    const auto oldLoad = [resources](int id) { return OldLoadScaledPicture(resources, id); };
    const auto newLoad = [resources](int id) {
        return LoadScaledPicture(resources, id, PICTURE_RESOURCE_TYPE, PICTURE_BOX_SIZE, PICTURE_BOX_SIZE);
    };
    // One round of each first, so that neither pays for loading the codecs.
    DecodeEveryPicture(std::min(pictures, 3), oldLoad);
    DecodeEveryPicture(std::min(pictures, 3), newLoad);
    std::printf("old_decode_ms=%.0f\n", DecodeEveryPicture(pictures, oldLoad));
    std::printf("new_decode_ms=%.0f\n", DecodeEveryPicture(pictures, newLoad));
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 4 && std::strcmp(argv[1], "--decode") == 0)
        return DecodeOnce(argv[2], std::atoi(argv[3]));
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s QUIZ.exe [ROUNDS] [PICTURES] | --decode QUIZ.exe PICTURES\n", argv[0]);
        return 2;
    }
    const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 3;
    const int pictures = argc > 3 ? std::max(0, std::atoi(argv[3])) : 0;
    std::vector<double> firstScreens, allPictures, closes, loadedCloses;
    for (int i = 0; i < rounds; ++i) {
        const Round whole = RunOnce(argv[1], pictures, false);
        const Round closed = RunOnce(argv[1], pictures, true);
        if (whole.firstScreen < 0 || closed.firstScreen < 0) {
            std::fprintf(stderr, "%s: no window appeared\n", argv[1]);
            return 1;
        }
        firstScreens.push_back(whole.firstScreen);
        firstScreens.push_back(closed.firstScreen);
        allPictures.push_back(whole.allPictures);
        loadedCloses.push_back(whole.close);
        closes.push_back(closed.close);
    }
    std::printf("first_screen_ms=%.0f\n", Median(firstScreens));
    if (pictures > 0)
        std::printf("all_pictures_ms=%.0f\nclose_loaded_ms=%.0f\n", Median(allPictures), Median(loadedCloses));
    std::printf("close_ms=%.0f\n", Median(closes));
    return 0;
}
