#include "header/header_panel_win.h"

#include "resource.h"

HBRUSH g_headerBrush = nullptr;
const char MAKER_WEB_PAGE[] = "https://zelbo.example";

namespace {

void CreateControl(HWND panel, const char* className, const char* text, DWORD style, int x, int y, int width,
                   int height, int id)
{
    CreateWindowExA(0, className, text, style, x, y, width, height, panel,
                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandle(nullptr), nullptr);
}

} // namespace

INT_PTR CALLBACK HeaderPanelProc(HWND panel, UINT message, WPARAM, LPARAM)
{
    if (message == WM_INITDIALOG) {
        CreateControl(panel, "Static", " 0 / 0", WS_CHILD | WS_VISIBLE | SS_CENTER, 10, 1, 80, 20, IDC_SCORE);
        CreateControl(panel, "edit", "", WS_CHILD | WS_VISIBLE | ES_READONLY, 47, 29, 50, 16, IDC_CODE);
        return TRUE;
    }
    return FALSE;
}

void StyleLink(HWND) {}
