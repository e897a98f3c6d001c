// Shared by the Windows tests, which run in-process under Wine and drive real windows.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// A message box the program asked for, recorded instead of shown.
struct RecordedMessage {
    std::string text;
    std::string caption;
};

// Every message box since the last ClearRecordedMessages (the test main installs the recorder).
const std::vector<RecordedMessage>& RecordedMessages();
void ClearRecordedMessages();

// Every web page the program asked to open.
const std::vector<std::string>& RecordedWebPages();
void ClearRecordedWebPages();

// Registers a window class whose procedure is DefWindowProc: a parent for the dialogs under test.
// Registering the same name again is harmless.
void RegisterPlainWindowClass(const char* className);

// Dispatches everything already queued for this thread (posted scroll steps, focus changes...).
void PumpMessages();

// GDI objects (brushes, fonts, bitmaps, pens, memory DCs) that the program's code created and has not
// deleted yet. Counted by the test program itself: Wine's GetGuiResources always answers 0.
DWORD GdiObjectCount();

// A folder of its own under the temporary folder, made the current directory for the scope.
class ScopedTempDirectory {
public:
    ScopedTempDirectory();
    ~ScopedTempDirectory();
    ScopedTempDirectory(const ScopedTempDirectory&) = delete;
    ScopedTempDirectory& operator=(const ScopedTempDirectory&) = delete;
    const std::string& Path() const { return m_path; }

private:
    std::string m_path;
    std::string m_previous;
};

// Reads a whole file; empty when it does not exist.
std::string ReadFileBytes(const std::string& path);
bool FileExists(const std::string& path);
void WriteFileBytes(const std::string& path, const std::string& bytes);

// Text of a window (ANSI), or of a dialog's child.
std::string WindowText(HWND window);
std::string DialogItemText(HWND dialog, int id);

// A child's rectangle in its parent's client coordinates.
RECT ChildRect(HWND child);
