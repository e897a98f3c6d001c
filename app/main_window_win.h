// The program's one top-level window, its start-up and shut-down.
#pragma once

#include <windows.h>

#include "version.h"

extern HWND g_headerPanel;
extern HWND g_questionBoard;
extern HBRUSH g_mainBrush;

constexpr wchar_t MAIN_WINDOW_CLASS[] = L"WindowsApp";
constexpr wchar_t VERSION_LABEL_TEXT[] = L"Réalisé avec la version " ZELBO_VERSION_TEXT;
constexpr int MAIN_WINDOW_WIDTH = 544;
constexpr int MAIN_WINDOW_HEIGHT = 375;
constexpr COLORREF MAIN_BRUSH_COLOUR = RGB(212, 208, 200);

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// A "Static" child in the default GUI font.
void CreateLabel(HWND parent, const wchar_t* text, int x, int y, int width, int height, int id);

// A wheel message reaching the main window (over it, or passed on by the header panel or the
// board) scrolls the board by what the main window has gathered of that wheel.
void ForwardMouseWheel(HWND board, UINT message, WPARAM wParam);

// Start-up steps 2 to 11 (class already registered): record, content, media, windows. Returns the
// main window.
HWND StartPlayer(HINSTANCE instance);

// Fetches and dispatches until WM_QUIT; returns its wParam.
int RunMessageLoop();

// Shut-down after the loop, in the order that releases the windows before what they use.
void ShutDownPlayer(HWND mainWindow);

bool RegisterMainWindowClass(HINSTANCE instance);

// The whole program: what WinMain runs.
int RunPlayer(HINSTANCE instance);
