#include "test_player_win.h"

#include <cstring>

#include "app/main_window_win.h"
#include "board/media_win.h"
#include "board/question_board_win.h"
#include "header/header_panel_win.h"
#include "platform/text_1252_win.h"
#include "platform/win_raii.h"
#include "resource.h"

std::vector<std::string> g_recordedMessages, g_recordedWebPages;

void PumpMessages()
{
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

std::string WindowText(HWND window)
{
    wchar_t text[1024] = {};
    GetWindowTextW(window, text, 1024);
    return Cp1252FromWide(text);
}

RECT ChildRect(HWND child)
{
    RECT rect;
    GetWindowRect(child, &rect);
    MapWindowPoints(HWND_DESKTOP, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

SIZE BitmapSize(HBITMAP bitmap)
{
    BITMAP info = {};
    return bitmap && GetObjectA(bitmap, sizeof(info), &info) ? SIZE{info.bmWidth, info.bmHeight} : SIZE{0, 0};
}

HBITMAP ShownPicture(HWND control)
{
    return reinterpret_cast<HBITMAP>(SendMessageA(control, STM_GETIMAGE, IMAGE_BITMAP, 0));
}

std::unique_ptr<QuizData> MakeQuiz(int mediaKind, int answersPerQuestion, int revealMode,
                                   const std::vector<TestQuestion>& questions)
{
    auto quiz = std::make_unique<QuizData>();
    quiz->mediaKind = mediaKind;
    quiz->answersPerQuestion = answersPerQuestion;
    quiz->revealMode = revealMode;
    quiz->questionCount = static_cast<int>(questions.size());
    for (const TestQuestion& question : questions) {
        quiz->AddQuestion(question.answer1, question.answer2, question.text);
        std::strcpy(quiz->questionTail->revealText, question.reveal);
    }
    return quiz;
}

TestPlayer::TestPlayer() : main(StartPlayer(GetModuleHandle(nullptr))), header(g_headerPanel), board(g_questionBoard)
{
    PumpMessages();
}

TestPlayer::TestPlayer(std::unique_ptr<QuizData> quiz, void (*beforeBoard)())
{
    HINSTANCE instance = GetModuleHandle(nullptr);
    g_quiz = quiz.release();
    MediaStartup();
    if (beforeBoard)
        beforeBoard();
    main = CreateWindowExW(0, MAIN_WINDOW_CLASS, WideFrom1252(g_quiz->title).c_str(), WS_OVERLAPPEDWINDOW, 0, 0,
                           MAIN_WINDOW_WIDTH, MAIN_WINDOW_HEIGHT, nullptr, nullptr, instance, nullptr);
    g_headerPanel = header = CreateDialogParamW(instance, MAKEINTRESOURCEW(IDD_HEADER_PANEL), main, HeaderPanelProc, 0);
    ShowWindow(header, SW_SHOWNORMAL);
    g_quiz->headerPanel = header;
    g_questionBoard = board =
        CreateDialogParamW(instance, MAKEINTRESOURCEW(IDD_QUESTION_BOARD), main, QuestionBoardProc, 0);
    ShowWindow(main, SW_SHOWNORMAL);
    ShowWindow(board, SW_SHOWNORMAL);
    PumpMessages();
}

TestPlayer::~TestPlayer()
{
    if (g_quiz)
        ShutDownPlayer(main);
    DestroyWindow(main);
    g_headerPanel = g_questionBoard = nullptr;
    PumpMessages();
}

LRESULT TestPlayer::Key(int box, WPARAM key, UINT message) const
{
    return SendMessageW(Item(box), message, key, 0xC0000001);
}

void TestPlayer::Type(int box, const std::string& text) const
{
    SetWindowTextW(Item(box), L"");
    // The test texts hold no byte from 0x80 to 0x9F, where code page 1252 and UTF-16 part ways.
    for (char typed : text)
        SendMessageW(Item(box), WM_CHAR, static_cast<unsigned char>(typed), 1);
    Key(box, VK_RETURN, WM_KEYDOWN);
    Key(box, VK_RETURN);
}

Paint PaintOf(DLGPROC procedure, HWND control)
{
    UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
    SetBkMode(dc.Get(), OPAQUE);
    SetBkColor(dc.Get(), UNTOUCHED);
    SetTextColor(dc.Get(), UNTOUCHED);
    const INT_PTR brush = procedure(GetParent(control), WM_CTLCOLORSTATIC, WPARAM(dc.Get()), LPARAM(control));
    return {brush, GetBkMode(dc.Get()), GetBkColor(dc.Get()), GetTextColor(dc.Get())};
}
