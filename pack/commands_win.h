// The tool's subcommands. Each prints its progress on standard output and its problems on standard
// error, in French, and returns the program's exit status (0 on success).
#pragma once

#include "pack/command_line.h"

int RunEncode(const PackCommand& command);
int RunDecode(const PackCommand& command);
int RunGrade(const PackCommand& command);
int RunCheck(const PackCommand& command);
int RunBuild(const PackCommand& command);
int RunExtract(const PackCommand& command);
int RunNew(const PackCommand& command);
