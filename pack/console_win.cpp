#include "pack/console_win.h"

#include <windows.h>

#include <cstdio>
#include <fcntl.h>
#include <io.h>

void SetConsoleBinary()
{
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    // A real Windows console shows UTF-8 bytes rightly only with its output code page set so.
    SetConsoleOutputCP(CP_UTF8);
}

void PrintOut(const std::string& utf8)
{
    std::fwrite(utf8.data(), 1, utf8.size(), stdout);
    std::fflush(stdout);
}

void PrintError(const std::string& utf8)
{
    std::fwrite(utf8.data(), 1, utf8.size(), stderr);
    std::fflush(stderr);
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
