#include "win_test_support.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <set>

#include "platform/ui_seam_win.h"

namespace {

std::vector<RecordedMessage> g_recordedMessages;
std::vector<std::string> g_recordedWebPages;

void RecordMessage(const char* text, const char* caption)
{
    g_recordedMessages.push_back({text ? text : "", caption ? caption : ""});
}

void RecordWebPage(const char* address)
{
    g_recordedWebPages.emplace_back(address ? address : "");
}

// Wine does not count GDI objects per process (GetGuiResources answers 0), so the test program
// counts them itself: the program's code is linked into this executable, and every GDI call it
// makes goes through this executable's import table, where the creating and deleting functions
// are replaced by counting ones.
std::set<HGDIOBJ> g_liveGdiObjects;
// Pictures are decoded on worker threads too.
SRWLOCK g_liveGdiObjectsLock = SRWLOCK_INIT;
struct CountLock {
    CountLock() { AcquireSRWLockExclusive(&g_liveGdiObjectsLock); }
    ~CountLock() { ReleaseSRWLockExclusive(&g_liveGdiObjectsLock); }
};

template <typename Function>
Function g_real = nullptr;

template <typename Handle>
Handle Track(Handle handle)
{
    const CountLock lock;
    if (handle)
        g_liveGdiObjects.insert(handle);
    return handle;
}

HBRUSH WINAPI CountedCreateSolidBrush(COLORREF colour)
{
    return Track(g_real<decltype(&CreateSolidBrush)>(colour));
}
HFONT WINAPI CountedCreateFontIndirectA(const LOGFONTA* font)
{
    return Track(g_real<decltype(&CreateFontIndirectA)>(font));
}
HFONT WINAPI CountedCreateFontIndirectW(const LOGFONTW* font)
{
    return Track(g_real<decltype(&CreateFontIndirectW)>(font));
}
HDC WINAPI CountedCreateCompatibleDC(HDC dc)
{
    return Track(g_real<decltype(&CreateCompatibleDC)>(dc));
}
HBITMAP WINAPI CountedCreateCompatibleBitmap(HDC dc, int width, int height)
{
    return Track(g_real<decltype(&CreateCompatibleBitmap)>(dc, width, height));
}
HBITMAP WINAPI CountedCreateBitmap(int width, int height, UINT planes, UINT bits, const void* data)
{
    return Track(g_real<decltype(&CreateBitmap)>(width, height, planes, bits, data));
}
HBITMAP WINAPI CountedCreateDIBSection(HDC dc, const BITMAPINFO* info, UINT usage, void** bits, HANDLE section,
                                       DWORD offset)
{
    return Track(g_real<decltype(&CreateDIBSection)>(dc, info, usage, bits, section, offset));
}
HPEN WINAPI CountedCreatePen(int style, int width, COLORREF colour)
{
    return Track(g_real<decltype(&CreatePen)>(style, width, colour));
}
HANDLE WINAPI CountedCopyImage(HANDLE image, UINT type, int width, int height, UINT flags)
{
    HANDLE copy = g_real<decltype(&CopyImage)>(image, type, width, height, flags);
    if (type == IMAGE_BITMAP)
        Track(static_cast<HGDIOBJ>(copy));
    return copy;
}
BOOL WINAPI CountedDeleteObject(HGDIOBJ object)
{
    const BOOL deleted = g_real<decltype(&DeleteObject)>(object);
    const CountLock lock;
    if (deleted)
        g_liveGdiObjects.erase(object);
    return deleted;
}
BOOL WINAPI CountedDeleteDC(HDC dc)
{
    const BOOL deleted = g_real<decltype(&DeleteDC)>(dc);
    const CountLock lock;
    if (deleted)
        g_liveGdiObjects.erase(dc);
    return deleted;
}

struct ImportHook {
    const char* name;
    void* replacement;
    void** original;
};

template <typename Function>
ImportHook Hook(const char* name, Function replacement)
{
    return {name, reinterpret_cast<void*>(replacement), reinterpret_cast<void**>(&g_real<Function>)};
}

void InstallGdiCounting()
{
    const ImportHook hooks[] = {
        Hook("CreateSolidBrush", &CountedCreateSolidBrush),
        Hook("CreateFontIndirectA", &CountedCreateFontIndirectA),
        Hook("CreateFontIndirectW", &CountedCreateFontIndirectW),
        Hook("CreateCompatibleDC", &CountedCreateCompatibleDC),
        Hook("CreateCompatibleBitmap", &CountedCreateCompatibleBitmap),
        Hook("CreateBitmap", &CountedCreateBitmap),
        Hook("CreateDIBSection", &CountedCreateDIBSection),
        Hook("CreatePen", &CountedCreatePen),
        Hook("CopyImage", &CountedCopyImage),
        Hook("DeleteObject", &CountedDeleteObject),
        Hook("DeleteDC", &CountedDeleteDC),
    };
    auto* base = reinterpret_cast<BYTE*>(GetModuleHandle(nullptr));
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    for (auto* dll = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress); dll->Name; ++dll) {
        auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + dll->OriginalFirstThunk);
        auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + dll->FirstThunk);
        for (; names->u1.AddressOfData; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal))
                continue;
            const auto* byName = reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            for (const ImportHook& hook : hooks) {
                if (std::strcmp(reinterpret_cast<const char*>(byName->Name), hook.name) != 0)
                    continue;
                DWORD protection;
                VirtualProtect(&slots->u1.Function, sizeof(void*), PAGE_READWRITE, &protection);
                *hook.original = reinterpret_cast<void*>(slots->u1.Function);
                slots->u1.Function = reinterpret_cast<ULONG_PTR>(hook.replacement);
                VirtualProtect(&slots->u1.Function, sizeof(void*), protection, &protection);
            }
        }
    }
}

void RemoveTree(const std::string& path)
{
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA((path + "\\*").c_str(), &entry);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = entry.cFileName;
            if (name == "." || name == "..")
                continue;
            const std::string child = path + "\\" + name;
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(child);
            } else {
                SetFileAttributesA(child.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileA(child.c_str());
            }
        } while (FindNextFileA(search, &entry));
        FindClose(search);
    }
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    RemoveDirectoryA(path.c_str());
}

} // namespace

const std::vector<RecordedMessage>& RecordedMessages()
{
    return g_recordedMessages;
}

void ClearRecordedMessages()
{
    g_recordedMessages.clear();
}

const std::vector<std::string>& RecordedWebPages()
{
    return g_recordedWebPages;
}

void ClearRecordedWebPages()
{
    g_recordedWebPages.clear();
}

void RegisterPlainWindowClass(const char* className)
{
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandle(nullptr);
    windowClass.lpszClassName = className;
    RegisterClassA(&windowClass);
}

void PumpMessages()
{
    MSG message;
    while (PeekMessage(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessage(&message);
    }
}

DWORD GdiObjectCount()
{
    const CountLock lock;
    return static_cast<DWORD>(g_liveGdiObjects.size());
}

ScopedTempDirectory::ScopedTempDirectory()
{
    char base[MAX_PATH];
    GetTempPathA(MAX_PATH, base);
    char name[MAX_PATH];
    static int counter = 0;
    LARGE_INTEGER ticks;
    QueryPerformanceCounter(&ticks);
    // Wine reuses process ids from run to run: the clock keeps a crashed run's folder apart.
    std::snprintf(name, sizeof(name), "%szelbo-test-%lu-%llx-%d", base, GetCurrentProcessId(),
                  static_cast<unsigned long long>(ticks.QuadPart), ++counter);
    m_path = name;
    RemoveTree(m_path);
    CreateDirectoryA(m_path.c_str(), nullptr);
    char previous[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, previous);
    m_previous = previous;
    SetCurrentDirectoryA(m_path.c_str());
}

ScopedTempDirectory::~ScopedTempDirectory()
{
    SetCurrentDirectoryA(m_previous.c_str());
    RemoveTree(m_path);
}

std::string ReadFileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

bool FileExists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void WriteFileBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string WindowText(HWND window)
{
    char text[1024] = {};
    GetWindowTextA(window, text, sizeof(text));
    return text;
}

std::string DialogItemText(HWND dialog, int id)
{
    return WindowText(GetDlgItem(dialog, id));
}

RECT ChildRect(HWND child)
{
    RECT rect;
    GetWindowRect(child, &rect);
    MapWindowPoints(HWND_DESKTOP, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    InstallGdiCounting();
    SetMessageBoxHandler(RecordMessage);
    SetWebPageOpener(RecordWebPage);
    return RUN_ALL_TESTS();
}
