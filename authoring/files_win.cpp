#include "authoring/files_win.h"

#include <windows.h>

#include "authoring/system_errors.h"
#include "platform/win_raii.h"

namespace {

DWORD AttributesOf(const std::filesystem::path& path)
{
    return GetFileAttributesW(path.c_str());
}

// Opens a file or a folder for its identity only, whatever else holds it open.
UniqueFile OpenForIdentity(const std::filesystem::path& path)
{
    return UniqueFile(CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                  FILE_FLAG_BACKUP_SEMANTICS, nullptr));
}

struct FindTraits {
    static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
    static void Release(HANDLE search) { FindClose(search); }
};
using UniqueFind = UniqueHandle<HANDLE, FindTraits>;

} // namespace

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

bool ReadWholeFile(const std::filesystem::path& path, std::string* bytes)
{
    UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
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

bool WriteWholeFile(const std::filesystem::path& path, const std::string& bytes, bool replace)
{
    UniqueFile file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, replace ? CREATE_ALWAYS : CREATE_NEW,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return false;
    DWORD written = 0;
    return bytes.empty() || (WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                             written == bytes.size());
}

bool CreateFolder(const std::filesystem::path& path)
{
    if (CreateDirectoryW(path.c_str(), nullptr))
        return true;
    const DWORD attributes = AttributesOf(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string ReadFailure(const std::filesystem::path& path)
{
    return "impossible de lire " + path.u8string() + " : " + ReadProblem(path);
}

std::string WriteFailure(const std::filesystem::path& path)
{
    return "impossible d'écrire " + path.u8string() + " (" + LastSystemError() + ")";
}

std::filesystem::path FullPath(const std::filesystem::path& path)
{
    const std::wstring given = path.empty() ? L"." : path.native();
    std::wstring full(GetFullPathNameW(given.c_str(), 0, nullptr, nullptr), L'\0');
    const DWORD length = GetFullPathNameW(given.c_str(), static_cast<DWORD>(full.size()), &full[0], nullptr);
    full.resize(length < full.size() ? length : 0);
    return full.empty() ? path : std::filesystem::path(full);
}

PathKind KindOf(const std::filesystem::path& path)
{
    const DWORD attributes = AttributesOf(path);
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return PathKind::MISSING;
    return attributes & FILE_ATTRIBUTE_DIRECTORY ? PathKind::FOLDER : PathKind::FILE;
}

std::string ReadProblem(const std::filesystem::path& path)
{
    const DWORD attributes = AttributesOf(path);
    if (attributes == INVALID_FILE_ATTRIBUTES && GetLastError() == ERROR_PATH_NOT_FOUND)
        return "son dossier n'existe pas";
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return LastSystemError();
    if (attributes & FILE_ATTRIBUTE_DIRECTORY)
        return "c'est un dossier, pas un fichier";
    UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
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

bool IsReadOnly(const std::filesystem::path& path)
{
    const DWORD attributes = AttributesOf(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY);
}

bool SameFile(const std::filesystem::path& a, const std::filesystem::path& b)
{
    UniqueFile first = OpenForIdentity(a);
    UniqueFile second = OpenForIdentity(b);
    if (!first || !second)
        return false;
    BY_HANDLE_FILE_INFORMATION one, other;
    if (GetFileInformationByHandle(first.Get(), &one) && GetFileInformationByHandle(second.Get(), &other))
        return one.dwVolumeSerialNumber == other.dwVolumeSerialNumber && one.nFileIndexHigh == other.nFileIndexHigh &&
               one.nFileIndexLow == other.nFileIndexLow;
    return lstrcmpiW(FullPath(a).c_str(), FullPath(b).c_str()) == 0;
}

std::vector<std::string> FilesIn(const std::filesystem::path& folder)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAW found;
    UniqueFind search(FindFirstFileW((folder.native() + L"\\*").c_str(), &found));
    if (!search)
        return names;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            names.push_back(WideToUtf8(found.cFileName));
    } while (FindNextFileW(search.Get(), &found));
    return names;
}

bool RemoveFile(const std::filesystem::path& path)
{
    return DeleteFileW(path.c_str()) != 0;
}

bool FileStamp(const std::filesystem::path& path, unsigned long long* size, unsigned long long* writeTime)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data))
        return false;
    *size = static_cast<unsigned long long>(data.nFileSizeHigh) << 32 | data.nFileSizeLow;
    *writeTime =
        static_cast<unsigned long long>(data.ftLastWriteTime.dwHighDateTime) << 32 | data.ftLastWriteTime.dwLowDateTime;
    return true;
}

std::filesystem::path DefaultPlayerPath()
{
    // Grown until the whole name fits: a program may lie deeper than MAX_PATH characters.
    std::wstring path(MAX_PATH, L'\0');
    DWORD length;
    while ((length = GetModuleFileNameW(nullptr, &path[0], static_cast<DWORD>(path.size()))) == path.size())
        path.resize(path.size() * 2);
    path.resize(length);
    return std::filesystem::path(path).parent_path() / L"zelbo.exe";
}
