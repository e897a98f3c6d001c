// The tool's subcommands, one file each. Each prints its progress on standard output and its
// problems on standard error, in French, and returns the program's exit status (0 on success).
#pragma once

#include <filesystem>
#include <string>

#include "pack/command_line.h"

int RunEncode(const PackCommand& command);
int RunDecode(const PackCommand& command);
int RunGrade(const PackCommand& command);
int RunCheck(const PackCommand& command);
int RunBuild(const PackCommand& command);
int RunExtract(const PackCommand& command);
int RunNew(const PackCommand& command);

// A file named on the command line, which the messages show again as it was written.
inline std::filesystem::path ArgumentPath(const std::string& argument)
{
    return std::filesystem::u8path(argument);
}
