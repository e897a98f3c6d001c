// The tool's contact with Windows for plain things: the console, wide-character arguments and
// file names, whole files.
#pragma once

#include <string>

std::string WideToUtf8(const std::wstring& wide);
std::wstring Utf8ToWide(const std::string& utf8);

// Standard output and error in binary mode: the tool writes UTF-8 bytes, unchanged, with "\n" line
// ends, so that its output compares byte for byte.
void SetConsoleBinary();
void PrintOut(const std::string& utf8);
void PrintError(const std::string& utf8);

// Whole files by UTF-8 name. ReadWholeFile fails on a missing or unreadable file.
bool ReadWholeFile(const std::string& path, std::string* bytes);
bool WriteWholeFile(const std::string& path, const std::string& bytes);
bool CreateFolder(const std::string& path); // true also when it exists already

// The folder of the running program, for its default player.
std::string ProgramFolder();
