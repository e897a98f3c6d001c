// Files and folders as Windows names them: paths in its own wide form, turned into UTF-8 only for the
// French messages that show them. Plain facts about paths, for the checks that keep the authoring
// tools from writing over what is not their own, and the reasons, in plain French, why a file
// cannot be read or written.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

// Paths come from the UTF-8 of a source or a command line through std::filesystem::u8path and
// show again through u8string(), exactly as they were written.

// Windows' own texts (its error messages, file and resource names) in UTF-8.
std::string WideToUtf8(const std::wstring& wide);

// Whole files. ReadWholeFile fails on a missing or unreadable file; WriteWholeFile replaces what
// is there unless told not to, and then fails on an existing file.
bool ReadWholeFile(const std::filesystem::path& path, std::string* bytes);
bool WriteWholeFile(const std::filesystem::path& path, const std::string& bytes, bool replace = true);
bool CreateFolder(const std::filesystem::path& path); // true also when it exists already

// "impossible de lire quiz.toml : fichier introuvable", "impossible d'écrire x.bin (disque plein)":
// the path as given, and why, from the last error for a write.
std::string ReadFailure(const std::filesystem::path& path);
std::string WriteFailure(const std::filesystem::path& path);

enum class PathKind { MISSING, FILE, FOLDER };

PathKind KindOf(const std::filesystem::path& path);

// The absolute form of path ("." when empty), as Windows completes it from the current folder.
std::filesystem::path FullPath(const std::filesystem::path& path);

// Why the file at path cannot be read, in French: the file or its folder is missing, the path is
// a folder, the access is refused...
std::string ReadProblem(const std::filesystem::path& path);

// A Windows error code, or the calling thread's last one, in plain French (see PlainSystemError).
std::string SystemErrorText(unsigned long code);
std::string LastSystemError();

bool IsReadOnly(const std::filesystem::path& path);

// Whether two paths name the same existing file, however each is written.
bool SameFile(const std::filesystem::path& a, const std::filesystem::path& b);

// Names (UTF-8) of the files, not the folders, directly inside folder.
std::vector<std::string> FilesIn(const std::filesystem::path& folder);

bool RemoveFile(const std::filesystem::path& path);

// The size and the time of the last write of a file, which change whenever its bytes do; false
// when it cannot be found.
bool FileStamp(const std::filesystem::path& path, unsigned long long* size, unsigned long long* writeTime);

// zelbo.exe beside the running program: the player that a tool copies unless given another.
std::filesystem::path DefaultPlayerPath();
