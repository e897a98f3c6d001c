#include "pack/console_win.h"

#include <windows.h>

#include <cstdio>
#include <fcntl.h>
#include <io.h>

namespace {

std::wstring Utf8ToWide(const std::string& utf8)
{
    if (utf8.empty())
        return {};
    const int size = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring wide(size, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), &wide[0], size);
    return wide;
}

void Print(DWORD stream, FILE* file, const std::string& utf8)
{
    const HANDLE handle = GetStdHandle(stream);
    DWORD mode = 0;
    if (GetConsoleMode(handle, &mode)) {
        const std::wstring wide = Utf8ToWide(utf8);
        DWORD written = 0;
        WriteConsoleW(handle, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
        return;
    }
    std::fwrite(utf8.data(), 1, utf8.size(), file);
    std::fflush(file);
}

void WaitForEnter()
{
    wchar_t line[256];
    DWORD read = 0;
    ReadConsoleW(GetStdHandle(STD_INPUT_HANDLE), line, static_cast<DWORD>(std::size(line)), &read, nullptr);
}

ClosingWait g_closingWait = WaitForEnter;

} // namespace

void SetConsoleBinary()
{
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
}

void PrintOut(const std::string& utf8)
{
    Print(STD_OUTPUT_HANDLE, stdout, utf8);
}

void PrintError(const std::string& utf8)
{
    Print(STD_ERROR_HANDLE, stderr, utf8);
}

int Fail(const std::string& message)
{
    PrintError("erreur : " + message + "\n");
    return EXIT_FAILED;
}

void PrintMediaProgress(size_t, size_t, const std::string& line)
{
    if (!line.empty())
        PrintOut(line + "\n");
}

void PrintDiagnostics(const std::string& fileName, std::vector<Diagnostic> diagnostics)
{
    SortByLine(diagnostics);
    for (const Diagnostic& diagnostic : diagnostics)
        PrintError(FormatDiagnostic(fileName, diagnostic) + "\n");
}

ClosingWait SetClosingWait(ClosingWait wait)
{
    const ClosingWait previous = g_closingWait;
    g_closingWait = wait ? wait : WaitForEnter;
    return previous;
}

void WaitIfConsoleIsOwn()
{
    DWORD processes[2];
    if (GetConsoleProcessList(processes, static_cast<DWORD>(std::size(processes))) != 1)
        return;
    PrintOut("\nAppuyez sur Entrée pour fermer cette fenêtre.");
    g_closingWait();
}
