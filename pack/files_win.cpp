#include "pack/files_win.h"

#include <windows.h>

#include "pack/console_win.h"
#include "pack/system_errors.h"
#include "platform/win_raii.h"

namespace {

DWORD AttributesOf(const std::string& path)
{
    return GetFileAttributesW(Utf8ToWide(path).c_str());
}

// Opens a file or a folder for its identity only, whatever else holds it open.
UniqueFile OpenForIdentity(const std::string& path)
{
    return UniqueFile(CreateFileW(Utf8ToWide(path).c_str(), FILE_READ_ATTRIBUTES,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                  FILE_FLAG_BACKUP_SEMANTICS, nullptr));
}

struct FindTraits {
    static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
    static void Release(HANDLE search) { FindClose(search); }
};
using UniqueFind = UniqueHandle<HANDLE, FindTraits>;

} // namespace

std::string FullPath(const std::string& path)
{
    const std::wstring wide = Utf8ToWide(path.empty() ? "." : path);
    std::wstring full(GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr), L'\0');
    const DWORD length = GetFullPathNameW(wide.c_str(), static_cast<DWORD>(full.size()), &full[0], nullptr);
    full.resize(length < full.size() ? length : 0);
    return full.empty() ? path : WideToUtf8(full);
}

PathKind KindOf(const std::string& path)
{
    const DWORD attributes = AttributesOf(path);
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return PathKind::MISSING;
    return attributes & FILE_ATTRIBUTE_DIRECTORY ? PathKind::FOLDER : PathKind::FILE;
}

std::string ReadProblem(const std::string& path)
{
    const DWORD attributes = AttributesOf(path);
    if (attributes == INVALID_FILE_ATTRIBUTES && GetLastError() == ERROR_PATH_NOT_FOUND)
        return "son dossier n'existe pas";
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return LastSystemError();
    if (attributes & FILE_ATTRIBUTE_DIRECTORY)
        return "c'est un dossier, pas un fichier";
    UniqueFile file(CreateFileW(Utf8ToWide(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    return file ? "lecture interrompue" : LastSystemError();
}

std::string SystemErrorText(unsigned long code)
{
    // Without inserts: a text that holds "%1" keeps it as it is, and PlainSystemError drops it.
    wchar_t* text = nullptr;
    FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                   code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    const std::string message = text ? WideToUtf8(text) : std::string();
    LocalFree(text);
    return PlainSystemError(code, message);
}

std::string LastSystemError()
{
    return SystemErrorText(GetLastError());
}

bool IsReadOnly(const std::string& path)
{
    const DWORD attributes = AttributesOf(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY);
}

bool SameFile(const std::string& a, const std::string& b)
{
    UniqueFile first = OpenForIdentity(a);
    UniqueFile second = OpenForIdentity(b);
    if (!first || !second)
        return false;
    BY_HANDLE_FILE_INFORMATION one, other;
    if (GetFileInformationByHandle(first.Get(), &one) && GetFileInformationByHandle(second.Get(), &other))
        return one.dwVolumeSerialNumber == other.dwVolumeSerialNumber && one.nFileIndexHigh == other.nFileIndexHigh &&
               one.nFileIndexLow == other.nFileIndexLow;
    return lstrcmpiW(Utf8ToWide(FullPath(a)).c_str(), Utf8ToWide(FullPath(b)).c_str()) == 0;
}

std::vector<std::string> FilesIn(const std::string& folder)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAW found;
    UniqueFind search(FindFirstFileW(Utf8ToWide(folder + "\\*").c_str(), &found));
    if (!search)
        return names;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            names.push_back(WideToUtf8(found.cFileName));
    } while (FindNextFileW(search.Get(), &found));
    return names;
}

bool RemoveFile(const std::string& path)
{
    return DeleteFileW(Utf8ToWide(path).c_str()) != 0;
}
