// zelbo-pack: the quiz makers' tool. Builds a quiz executable from a TOML source, checks sources,
// extracts sources back from quizzes, and exposes the player's codec and grading for testing.
#include <string>
#include <vector>

#include "pack/command_line.h"
#include "pack/commands_win.h"
#include "pack/console_win.h"

int wmain(int argc, wchar_t** argv)
{
    SetConsoleBinary();
    std::vector<std::string> arguments;
    for (int i = 1; i < argc; ++i)
        arguments.push_back(WideToUtf8(argv[i]));

    const CommandLineParse parse = ParsePackCommandLine(arguments);
    if (!parse.ok) {
        PrintError("erreur : " + parse.error + "\n");
        return 2;
    }
    const PackCommand& command = parse.command;
    if (command.help) {
        PrintOut(PackHelpText(command.name));
        return 0;
    }
    if (command.name == "encode")
        return RunEncode(command);
    if (command.name == "decode")
        return RunDecode(command);
    if (command.name == "grade")
        return RunGrade(command);
    if (command.name == "check")
        return RunCheck(command);
    if (command.name == "build")
        return RunBuild(command);
    if (command.name == "new")
        return RunNew(command);
    return RunExtract(command);
}
