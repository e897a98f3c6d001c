#include "platform/text_1252_win.h"

WideString WideFrom1252(const char* text)
{
    if (!text || *text == '\0')
        return {};
    const int length = MultiByteToWideChar(QUIZ_CODE_PAGE, 0, text, -1, nullptr, 0);
    WideString wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(QUIZ_CODE_PAGE, 0, text, -1, &wide[0], length);
    wide.resize(static_cast<size_t>(length - 1));
    return wide;
}

std::string Cp1252FromWide(const wchar_t* text)
{
    if (!text || *text == L'\0')
        return {};
    const int length = WideCharToMultiByte(QUIZ_CODE_PAGE, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(QUIZ_CODE_PAGE, 0, text, -1, &bytes[0], length, nullptr, nullptr);
    bytes.resize(static_cast<size_t>(length - 1));
    return bytes;
}

void SetWindowText1252(HWND window, const char* text)
{
    SetWindowTextW(window, WideFrom1252(text).c_str());
}

void SetDlgItemText1252(HWND dialog, int id, const char* text)
{
    SetWindowText1252(GetDlgItem(dialog, id), text);
}

void GetWindowText1252(HWND window, char* out, int size)
{
    if (size < 1)
        return;
    // 1252 gives every character one byte, so size characters fill size bytes exactly.
    WideString wide(static_cast<size_t>(size), L'\0');
    wide.resize(static_cast<size_t>(GetWindowTextW(window, &wide[0], size)));
    const int written = WideCharToMultiByte(QUIZ_CODE_PAGE, 0, wide.c_str(), -1, out, size, nullptr, nullptr);
    if (written == 0)
        out[0] = '\0';
}

void GetDlgItemText1252(HWND dialog, int id, char* out, int size)
{
    GetWindowText1252(GetDlgItem(dialog, id), out, size);
}
