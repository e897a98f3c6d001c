#include "test_files_win.h"

#include <shellapi.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>

#include "platform/module_resource_win.h"

ScopedTempDirectory::ScopedTempDirectory()
{
    char base[MAX_PATH], name[MAX_PATH], previous[MAX_PATH];
    GetTempPathA(MAX_PATH, base);
    GetTempFileNameA(base, "zlt", 0, name); // a new name, taken by an empty file
    DeleteFileA(name);
    CreateDirectoryA(name, nullptr);
    m_previous.assign(previous, GetCurrentDirectoryA(MAX_PATH, previous));
    m_path = name;
    SetCurrentDirectoryA(name);
}

ScopedTempDirectory::~ScopedTempDirectory()
{
    SetCurrentDirectoryA(m_previous.c_str());
    const std::string paths = m_path + '\0'; // the list ends with a second zero
    SHFILEOPSTRUCTA remove = {};
    remove.wFunc = FO_DELETE;
    remove.pFrom = paths.c_str();
    remove.fFlags = FOF_NO_UI;
    SHFileOperationA(&remove);
}

std::string ReadFileBytes(const std::string& path)
{
    std::ifstream in(std::filesystem::u8path(path), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFileBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream(std::filesystem::u8path(path), std::ios::binary) << bytes;
}

std::string FilesHere()
{
    std::set<std::string> names;
    WIN32_FIND_DATAW entry;
    HANDLE search = FindFirstFileW(L"*", &entry);
    for (BOOL more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileW(search, &entry)) {
        if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            names.insert(std::filesystem::path(entry.cFileName).u8string());
    }
    FindClose(search);
    std::string joined;
    for (const std::string& name : names)
        joined += (joined.empty() ? "" : " ") + name;
    return joined;
}

std::string ResourceBytes(HMODULE module, const char* type, int id)
{
    const ModuleResource resource = FindModuleResource(module, id, type);
    return resource.bytes ? std::string(reinterpret_cast<const char*>(resource.bytes), resource.size) : "";
}

std::string BuildFolder()
{
    char path[MAX_PATH];
    const std::string program(path, GetModuleFileNameA(nullptr, path, MAX_PATH));
    return program.substr(0, program.rfind('\\', program.rfind('\\') - 1));
}

std::string OwnAnswersFile()
{
    char path[MAX_PATH];
    const std::string program(path, GetModuleFileNameA(nullptr, path, MAX_PATH));
    return program.substr(program.rfind('\\') + 1, program.size() - program.rfind('\\') - 4) + "txt";
}
