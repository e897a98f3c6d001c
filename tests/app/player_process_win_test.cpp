// The built player as a separate process: what it imports, and a start and close from outside.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "win_test_support.h"

namespace {

// The build folder holds the programs; the test program sits in its tests/ folder.
std::string BuiltProgram(const char* name)
{
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path);
    folder.erase(folder.find_last_of('\\'));
    folder.erase(folder.find_last_of('\\') + 1);
    return folder + name;
}

std::set<std::string> ImportedDlls(const std::string& program)
{
    std::set<std::string> names;
    HMODULE image = LoadLibraryExA(program.c_str(), nullptr, DONT_RESOLVE_DLL_REFERENCES);
    if (!image)
        return names;
    const auto* base = reinterpret_cast<const BYTE*>(image);
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& directory = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    for (auto* entry = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + directory.VirtualAddress);
         directory.VirtualAddress && entry->Name; ++entry) {
        std::string name = reinterpret_cast<const char*>(base + entry->Name);
        for (char& ch : name)
            ch = static_cast<char>(toupper(static_cast<unsigned char>(ch)));
        names.insert(name);
    }
    FreeLibrary(image);
    return names;
}

const std::set<std::string> SYSTEM_DLLS = {
    "KERNEL32.DLL", "USER32.DLL",  "GDI32.DLL",        "MSVCRT.DLL",  "OLE32.DLL",   "OLEAUT32.DLL",
    "SHELL32.DLL",  "ADVAPI32.DLL", "WINDOWSCODECS.DLL", "COMDLG32.DLL", "COMCTL32.DLL", "SHLWAPI.DLL",
};

HWND FindPlayerWindow(DWORD processId)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        HWND window = nullptr;
        while ((window = FindWindowExA(nullptr, window, "WindowsApp", nullptr)) != nullptr) {
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner == processId && IsWindowVisible(window))
                return window;
        }
        Sleep(100);
    }
    return nullptr;
}

} // namespace

TEST(PlayerProcess, ImportsOnlyWindowsSystemDlls)
{
    for (const char* program : {"zelbo.exe", "zelbo-pack.exe"}) {
        const std::set<std::string> imports = ImportedDlls(BuiltProgram(program));
        ASSERT_FALSE(imports.empty()) << program << " could not be read";
        EXPECT_TRUE(imports.count("KERNEL32.DLL")) << program;
        for (const std::string& name : imports)
            EXPECT_TRUE(SYSTEM_DLLS.count(name)) << program << " imports " << name;
    }
}

TEST(PlayerProcess, ClosingWritesTheAnswersFileInTheCurrentDirectoryAndExitsWithZero)
{
    ScopedTempDirectory directory;
    WriteFileBytes("zelbo.mp3", "not a clip");
    std::string commandLine = "\"" + BuiltProgram("zelbo.exe") + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    PROCESS_INFORMATION process = {};
    ASSERT_TRUE(CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                               directory.Path().c_str(), &startup, &process));

    // The show command it was given does not matter: the window opens normally.
    HWND window = FindPlayerWindow(process.dwProcessId);
    ASSERT_NE(window, nullptr);
    EXPECT_FALSE(IsIconic(window));
    PostMessage(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(WaitForSingleObject(process.hProcess, 20000), WAIT_OBJECT_0);
    DWORD exitCode = 1;
    GetExitCodeProcess(process.hProcess, &exitCode);
    EXPECT_EQ(exitCode, 0u);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);

    EXPECT_FALSE(FileExists("zelbo.mp3"));
    // The sample quiz: 7 questions with 2 boxes each, all empty.
    std::string emptyLines;
    for (int box = 0; box < 14; ++box)
        emptyLines += "\r\n";
    EXPECT_EQ(ReadFileBytes("zelbo.txt"), emptyLines);
}
