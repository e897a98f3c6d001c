#include "win_test_support.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>

#include "app/ui_seam_win.h"

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
    return GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
}

ScopedTempDirectory::ScopedTempDirectory()
{
    char base[MAX_PATH];
    GetTempPathA(MAX_PATH, base);
    char name[MAX_PATH];
    static int counter = 0;
    std::snprintf(name, sizeof(name), "%szelbo-test-%lu-%d", base, GetCurrentProcessId(), ++counter);
    m_path = name;
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
    SetMessageBoxHandler(RecordMessage);
    SetWebPageOpener(RecordWebPage);
    return RUN_ALL_TESTS();
}
