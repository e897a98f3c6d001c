// Files, folders and resources as the Windows tests see them.
#pragma once

#include <windows.h>

#include <string>

// A new folder under the temporary folder, the current directory for the scope.
class ScopedTempDirectory {
public:
    ScopedTempDirectory();
    ~ScopedTempDirectory();
    ScopedTempDirectory(const ScopedTempDirectory&) = delete;
    ScopedTempDirectory& operator=(const ScopedTempDirectory&) = delete;

private:
    std::string m_path, m_previous;
};

// Paths and names in UTF-8, so that they may hold what no ANSI code page does.
std::string ReadFileBytes(const std::string& path); // empty when there is no such file
void WriteFileBytes(const std::string& path, const std::string& bytes);
std::string FilesHere(); // the current directory's files, sorted, joined by spaces
std::string ResourceBytes(HMODULE module, const char* type, int id);
std::string BuildFolder();    // where the programs are built; the test programs are in its tests folder
std::string OwnAnswersFile(); // this program's name with "txt" for its last three characters
