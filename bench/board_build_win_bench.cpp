// Figures for the question board: the build of a 96-question picture quiz with two answers per
// question (its pictures planned from their headers and decoded in the background), the time until
// every picture is in place, against the cost of decoding and scaling each picture once on one
// thread, closing the board while its pictures are being decoded, and F1 over 192 unsolved answer
// boxes. Prints figures; passes or fails nothing.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <vector>

#include "bench_timing.h"
#include "board/judging_win.h"
#include "board/picture_win.h"
#include "board/question_board_win.h"
#include "content/quiz_data_win.h"
#include "header/header_panel_win.h"
#include "resource.h"

namespace {

constexpr int QUESTIONS = 96;
constexpr int ROUNDS = 5;

// Decodes and scales every question picture once, as the board's measuring pass does.
double DecodeEveryPicture()
{
    const Clock::time_point start = Clock::now();
    for (int q = 1; q <= QUESTIONS; ++q) {
        HBITMAP bitmap = LoadScaledPicture(GetModuleHandleA(nullptr), IDR_QUESTION_PICTURE_BASE + q,
                                           PICTURE_RESOURCE_TYPE, PICTURE_BOX_SIZE, PICTURE_BOX_SIZE);
        if (!bitmap) {
            std::fprintf(stderr, "picture %d did not load\n", q);
            return 0;
        }
        DeleteObject(bitmap);
    }
    return MillisecondsSince(start);
}

struct Host {
    HWND parent;
    HWND header;
};

Host CreateHost()
{
    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "ZelboBoardBench";
    RegisterClassExA(&windowClass);
    HWND parent = CreateWindowExA(0, windowClass.lpszClassName, "bench", WS_OVERLAPPEDWINDOW, 0, 0, 1000, 700, nullptr,
                                  nullptr, windowClass.hInstance, nullptr);
    ShowWindow(parent, SW_SHOWNORMAL);
    SetForegroundWindow(parent);
    HWND header =
        CreateDialogParamA(windowClass.hInstance, MAKEINTRESOURCEA(IDD_HEADER_PANEL), parent, HeaderPanelProc, 0);
    return {parent, header};
}

HWND CreateBoard(const Host& host)
{
    return CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_QUESTION_BOARD), host.parent,
                              QuestionBoardProc, 0);
}

bool EveryPictureInPlace(HWND board)
{
    for (int q = 1; q <= QUESTIONS; ++q) {
        if (!SendMessageA(GetDlgItem(board, IDC_PICTURE_BASE + q), STM_GETIMAGE, IMAGE_BITMAP, 0))
            return false;
    }
    return true;
}

void Pump()
{
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

} // namespace

int main()
{
    QuizData quiz;
    quiz.mediaKind = MEDIA_PICTURE;
    quiz.questionCount = QUESTIONS;
    quiz.answersPerQuestion = 2;
    quiz.revealMode = REVEAL_TEXT_AND_PICTURE;
    for (int q = 1; q <= QUESTIONS; ++q)
        quiz.AddQuestion("premier", "second", "");
    g_quiz = &quiz;
    const Host host = CreateHost();
    quiz.headerPanel = host.header;

    // One warm-up of each, so that the first figures do not carry the loading of the codecs.
    DecodeEveryPicture();
    DestroyWindow(CreateBoard(host));

    std::vector<double> decodes;
    std::vector<double> builds;
    std::vector<double> loads;
    std::vector<double> tries;
    std::vector<double> stops;
    std::vector<double> closes;
    for (int round = 0; round < ROUNDS; ++round) {
        decodes.push_back(DecodeEveryPicture());

        // Closed while its pictures out of view are being decoded.
        HWND decoding = CreateBoard(host);
        const Clock::time_point stop = Clock::now();
        DestroyWindow(decoding);
        stops.push_back(MillisecondsSince(stop));
        Pump();

        const Clock::time_point start = Clock::now();
        HWND board = CreateBoard(host);
        builds.push_back(MillisecondsSince(start));
        while (!EveryPictureInPlace(board)) {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
            Pump();
        }
        loads.push_back(MillisecondsSince(start));
        HWND first = GetDlgItem(board, IDC_ANSWER_BASE + 1);
        SetFocus(first);
        SetWindowTextA(first, "aucune");
        const Clock::time_point f1 = Clock::now();
        SendMessageA(first, WM_KEYUP, VK_F1, 0xC0000001);
        tries.push_back(MillisecondsSince(f1));
        const Clock::time_point close = Clock::now();
        DestroyWindow(board);
        closes.push_back(MillisecondsSince(close));
        Pump();
    }

    const double decode = Median(decodes);
    const double build = Median(builds);
    std::printf("board of %d pictures (800 x 600), 2 answers per question, median of %d rounds\n", QUESTIONS, ROUNDS);
    std::printf("  decode and scale each picture once : %8.1f ms\n", decode);
    const double load = Median(loads);
    std::printf("  build, pictures queued             : %8.1f ms  (%.2f x decoding once)\n", build, build / decode);
    std::printf("  build until every picture in place : %8.1f ms  (%.2f x decoding once)\n", load, load / decode);
    std::printf("  closing while pictures decode      : %8.1f ms\n", Median(stops));
    std::printf("  closing, every picture in place    : %8.1f ms\n", Median(closes));
    std::printf("  F1 over %d unsolved boxes         : %8.1f ms\n", QUESTIONS * 2, Median(tries));

    DestroyWindow(host.parent);
    g_quiz = nullptr;
    return 0;
}
