// The one boundary between the quiz's texts and Windows. A quiz's texts are code page 1252 bytes by
// format (records, content, codes, answers file); Windows is spoken to in UTF-16. Converting here
// with 1252 named outright, never the system's code page, shows a quiz the same on every Windows,
// whatever language it is set to. A character that 1252 cannot hold becomes its best fit or "?",
// as it does on a Western-European system.
#pragma once

#include <windows.h>

#include <string>

#include "platform/wide_string.h"

constexpr UINT QUIZ_CODE_PAGE = 1252;

// A null text gives the empty string.
WideString WideFrom1252(const char* text);
std::string Cp1252FromWide(const wchar_t* text);

void SetWindowText1252(HWND window, const char* text);
void SetDlgItemText1252(HWND dialog, int id, const char* text);

// Reads a window's text into size bytes of 1252 (at most size - 1 characters, always terminated
// when size is at least 1); a missing window gives the empty text.
void GetWindowText1252(HWND window, char* out, int size);
void GetDlgItemText1252(HWND dialog, int id, char* out, int size);
