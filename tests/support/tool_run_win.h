// zelbo-pack run by the Windows tests.
#pragma once

#include <ostream>
#include <string>

// zelbo-pack run in the current directory with a command line's arguments, as written after the
// program's name; its output goes through files, both streams into out when asked to keep their order.
struct ToolRun {
    int exitCode; // -1 when the tool did not start
    std::string out, err;
};
ToolRun RunTool(const std::string& arguments, bool oneStream = false);
std::ostream& operator<<(std::ostream& out, const ToolRun& run);
