// The player's windows opened in-process and driven as a player does.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "content/quiz_data_win.h"
#include "platform/text_1252_win.h"

// Message boxes ("caption: text") and web pages the program asked for, recorded instead of shown,
// in code page 1252 like the quiz's texts.
extern std::vector<std::string> g_recordedMessages, g_recordedWebPages;

void PumpMessages();
std::string WindowText(HWND window); // in code page 1252, whatever the system's
RECT ChildRect(HWND child);          // in its parent's client coordinates
SIZE BitmapSize(HBITMAP bitmap);
// The bitmap a picture control of the board shows, once the board's pictures are in place.
HBITMAP ShownPicture(HWND control);

// A quiz record made by a test: {answer 1, answer 2, question text, reveal text} per question.
struct TestQuestion {
    const char *answer1, *answer2, *text, *reveal;
};
std::unique_ptr<QuizData> MakeQuiz(int mediaKind, int answersPerQuestion, int revealMode,
                                   const std::vector<TestQuestion>& questions);

// The player in-process, with g_quiz, g_headerPanel and g_questionBoard set. Without a record it
// starts as the program does (StartPlayer: its own content, media); with one it opens the same
// windows around it, running beforeBoard once media start-up is done. Shut down with the scope,
// unless the test did it.
class TestPlayer {
public:
    TestPlayer();
    explicit TestPlayer(std::unique_ptr<QuizData> quiz, void (*beforeBoard)() = nullptr);
    ~TestPlayer();
    TestPlayer(const TestPlayer&) = delete;
    TestPlayer& operator=(const TestPlayer&) = delete;

    HWND Item(int id) const { return GetDlgItem(board, id); }
    std::string Text(int id) const { return WindowText(Item(id)); }
    std::string HeaderText(int id) const { return WindowText(GetDlgItem(header, id)); }
    // A key message for an answer box, as the keyboard delivers it.
    LRESULT Key(int box, WPARAM key, UINT message = WM_KEYUP) const;
    // Types a text (in code page 1252) into an emptied answer box as the keyboard does, whatever the
    // system's code page, then presses and releases Enter.
    void Type(int box, const std::string& text) const;

    HWND main = nullptr, header = nullptr, board = nullptr;
};

// Brush, background mode, background and text colours that WM_CTLCOLORSTATIC gives for a control,
// asked straight of its parent's procedure (the dialog manager would turn no brush into the default
// one) with a DC in OPAQUE mode whose colours are UNTOUCHED.
using Paint = std::tuple<INT_PTR, int, COLORREF, COLORREF>;
constexpr COLORREF UNTOUCHED = RGB(1, 2, 3);
Paint PaintOf(DLGPROC procedure, HWND control);
