// zelbo-pack: the quiz makers' tool. Builds a quiz executable from a TOML source, checks sources,
// extracts sources back from quizzes, and exposes the player's codec and grading for testing.
#include <string>
#include <vector>

#include "authoring/files_win.h"
#include "pack/command_line.h"
#include "pack/commands_win.h"
#include "pack/console_win.h"

namespace {

struct CommandRunner {
    const char* name;
    int (*run)(const PackCommand& command);
};

const CommandRunner RUNNERS[] = {
    {"encode", RunEncode}, {"decode", RunDecode},   {"grade", RunGrade}, {"check", RunCheck},
    {"build", RunBuild},   {"extract", RunExtract}, {"new", RunNew},
};

} // namespace

int wmain(int argc, wchar_t** argv)
{
    SetConsoleBinary();
    std::vector<std::string> arguments;
    for (int i = 1; i < argc; ++i)
        arguments.push_back(WideToUtf8(argv[i]));

    const CommandLineParse parse = ParsePackCommandLine(arguments);
    if (!parse.ok) {
        PrintError("erreur : " + parse.error + "\n");
        return EXIT_USAGE;
    }
    const PackCommand& command = parse.command;
    if (command.help) {
        PrintOut(PackHelpText(command.name));
        return 0;
    }
    for (const CommandRunner& runner : RUNNERS)
        if (command.name == runner.name)
            return runner.run(command);
    return EXIT_USAGE; // the command line names only commands that have a runner
}
