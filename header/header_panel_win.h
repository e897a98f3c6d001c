// The band at the top of the window: score, code, title, explanation, creator, save button, link.
#pragma once

#include <windows.h>

extern HBRUSH g_headerBrush;

// The maker's web page: the link's text and the page it opens.
extern const wchar_t MAKER_WEB_PAGE[];

INT_PTR CALLBACK HeaderPanelProc(HWND panel, UINT message, WPARAM wParam, LPARAM lParam);

// Underlined font sized to the link control, and the hand cursor on the "Static" class.
void StyleLink(HWND link);
