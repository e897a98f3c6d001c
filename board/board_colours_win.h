// Colours of the board's labels: quiz colour, verdict colours, question texts on pale yellow.
#pragma once

#include <windows.h>

// WM_CTLCOLORSTATIC of the board: sets up the DC and returns the brush, or null for the defaults.
HBRUSH OnBoardCtlColorStatic(HDC dc, HWND control);
