// zelbo-pack: the quiz makers' tool. Builds a quiz executable from a TOML source, checks sources,
// extracts sources back from quizzes, and exposes the player's codec and grading for testing.
#include <string>
#include <vector>

#include "authoring/files_win.h"
#include "pack/console_win.h"
#include "pack/pack_tool_win.h"

int wmain(int argc, wchar_t** argv)
{
    SetConsoleBinary();
    std::vector<std::string> arguments;
    for (int i = 1; i < argc; ++i)
        arguments.push_back(WideToUtf8(argv[i]));
    return RunPackTool(arguments);
}
