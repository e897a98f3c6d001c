// The editor's window opened in-process and driven as a quiz maker drives it: fields typed into,
// menu commands, files dropped, its seams answered by the test.
#pragma once

#include <windows.h>

#include <deque>
#include <functional>
#include <string>
#include <vector>

// What the editor asked and started, recorded instead of shown ("caption: text", UTF-8), and the
// answers the test gives to its questions, in order (a question with none left is cancelled).
extern std::vector<std::string> g_askedQuestions, g_startedPrograms;
extern std::deque<int> g_choiceAnswers;
void InstallEditorRecorders();

// The editor's window, with the class registered, the tools found in the build folder and
// recovery copies kept in the current directory; closed without questions with the scope.
class TestAtelier {
public:
    explicit TestAtelier(const std::wstring& file = L"");
    ~TestAtelier();
    TestAtelier(const TestAtelier&) = delete;
    TestAtelier& operator=(const TestAtelier&) = delete;

    HWND Item(int id) const { return GetDlgItem(window, id); }
    std::string Text(int id) const;
    // Types a whole text into a field, as a paste does: the field tells the window it changed.
    void Type(int id, const std::string& utf8) const;
    // A menu command, or a click on a button.
    void Command(int id) const;
    // The cells of a list view (the questions or the problems), row by row, joined by "|".
    std::vector<std::string> Rows(int listId) const;
    // Pumps the messages until done() holds (false after 30 seconds).
    bool WaitFor(const std::function<bool()>& done) const;
    // Waits until the problems shown are those of the quiz as it stands, thumbnails decoded.
    void Settle() const;

    HWND window = nullptr;
};

// Files dropped from Explorer onto the window at a point of its client area.
void DropFiles(HWND window, const std::vector<std::wstring>& files, POINT point);
// The point of a control's centre in the window's client area.
POINT CentreOf(HWND window, HWND control);
std::wstring Wide(const std::string& utf8);
std::string Narrow(const std::wstring& wide);
