// The editor's one window: the quiz's settings, the question list, the selected question's form,
// the problems and the status line, all standard controls, laid out from the font and the DPI.
#pragma once

#include <windows.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "atelier/layout.h"
#include "atelier/quiz_document.h"
#include "atelier/quiz_files.h"
#include "atelier/status_line.h"
#include "platform/win_raii.h"

constexpr wchar_t ATELIER_WINDOW_CLASS[] = L"ZelboAtelier";

// Posted to the window by its worker threads; the lParam of each owns what it carries.
constexpr UINT WM_APP_CHECKED = WM_APP + 1;        // a finished check
constexpr UINT WM_APP_THUMBNAIL = WM_APP + 2;      // a decoded picture
constexpr UINT WM_APP_BUILD_PROGRESS = WM_APP + 3; // a picture converted by the build
constexpr UINT WM_APP_BUILD_DONE = WM_APP + 4;     // the build's end

constexpr UINT_PTR CHECK_TIMER = 1;
constexpr UINT_PTR RECOVERY_TIMER = 2;

// The state of the window, for its whole life.
struct AtelierState {
    HWND window = nullptr;
    HWND list = nullptr;
    HWND problems = nullptr;
    HWND status = nullptr;
    HACCEL accelerators = nullptr;
    UniqueFont font;
    UniqueFont headingFont;
    LayoutMetrics metrics;
    QuizDocument document;
    // The question the form shows (-1: none); the controls of the form and the settings are written
    // by the program while filling is set, so that their notifications are not taken for edits.
    int shown = -1;
    bool filling = false;
    std::vector<PlacedControl> laidOut;    // where the controls were last put
    std::vector<Diagnostic> problemsFound; // in the order check gives them, each with its place
    QuizFigures figures;
    bool building = false;
};
extern AtelierState g_atelier;

bool RegisterAtelierClass(HINSTANCE instance);
// The window, shown; opens the file named on the command line, if any, and offers back what a
// crashed editor left unsaved.
HWND OpenAtelier(HINSTANCE instance, const std::wstring& commandLineFile, int show);
int RunAtelierLoop();

// After the quiz changed: the window reflects it and the check runs again.
void QuizChanged();
// The selection of the list and the form after an undo, a redo or a list edit.
void ShowSelection(const QuestionSet& selection);
// Replaces the quiz being edited (New, Open, a recovered copy) and shows it from its start.
void ReplaceDocument(QuizDocument document);
// Title bar, menu states and status line.
void RefreshFrame();
// Controls shown or hidden as the quiz's kind and reveal make the form.
void LayOutAtelier();

// Text of a control, as UTF-8; and written from UTF-8, only when it differs, so that the caret of a
// field being typed in stays where it is.
std::string ControlUtf8(HWND control);
void SetControlUtf8(HWND control, const std::string& utf8);
HWND Control(int id);
// A list view in report mode, rows selected whole, with its columns' titles (widths set later).
HWND CreateReportList(HWND parent, int id, const wchar_t* name, DWORD style,
                      std::initializer_list<const wchar_t*> columns);
