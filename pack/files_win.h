// Plain facts about paths on disk, for the checks that keep the tool from writing over what is
// not its own, and the reasons, in plain French, why a file cannot be read or written.
#pragma once

#include <string>
#include <vector>

enum class PathKind { MISSING, FILE, FOLDER };

PathKind KindOf(const std::string& path);

// The absolute form of path ("." when empty), as Windows completes it from the current folder.
std::string FullPath(const std::string& path);

// Why the file at path cannot be read, in French: the file or its folder is missing, the path is
// a folder, the access is refused...
std::string ReadProblem(const std::string& path);

// A Windows error code, or the calling thread's last one, in plain French (see PlainSystemError).
std::string SystemErrorText(unsigned long code);
std::string LastSystemError();

bool IsReadOnly(const std::string& path);

// Whether two paths name the same existing file, however each is written.
bool SameFile(const std::string& a, const std::string& b);

// Names of the files, not the folders, directly inside folder.
std::vector<std::string> FilesIn(const std::string& folder);

bool RemoveFile(const std::string& path);
