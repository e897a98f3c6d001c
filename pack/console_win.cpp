#include "pack/console_win.h"

#include <windows.h>

#include <cstdio>
#include <fcntl.h>
#include <io.h>

#include "platform/win_raii.h"

std::string WideToUtf8(const std::wstring& wide)
{
    if (wide.empty())
        return {};
    const int size =
        WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
    std::string utf8(size, '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), &utf8[0], size, nullptr, nullptr);
    return utf8;
}

std::wstring Utf8ToWide(const std::string& utf8)
{
    if (utf8.empty())
        return {};
    const int size = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring wide(size, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), &wide[0], size);
    return wide;
}

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

bool ReadWholeFile(const std::string& path, std::string* bytes)
{
    UniqueFile file(CreateFileW(Utf8ToWide(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size;
    if (!file || !GetFileSizeEx(file.Get(), &size) || size.QuadPart > 0x7FFFFFFF)
        return false;
    bytes->assign(static_cast<size_t>(size.QuadPart), '\0');
    DWORD read = 0;
    return size.QuadPart == 0 ||
           (ReadFile(file.Get(), &(*bytes)[0], static_cast<DWORD>(size.QuadPart), &read, nullptr) &&
            read == size.QuadPart);
}

bool WriteWholeFile(const std::string& path, const std::string& bytes)
{
    UniqueFile file(CreateFileW(Utf8ToWide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return false;
    DWORD written = 0;
    return bytes.empty() || (WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                             written == bytes.size());
}

bool CreateFolder(const std::string& path)
{
    const std::wstring wide = Utf8ToWide(path);
    if (CreateDirectoryW(wide.c_str(), nullptr))
        return true;
    const DWORD attributes = GetFileAttributesW(wide.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string ProgramFolder()
{
    wchar_t path[MAX_PATH * 4];
    const DWORD length = GetModuleFileNameW(nullptr, path, static_cast<DWORD>(std::size(path)));
    std::wstring folder(path, length);
    const size_t last = folder.find_last_of(L"\\/");
    return WideToUtf8(last == std::wstring::npos ? std::wstring(L".") : folder.substr(0, last));
}
