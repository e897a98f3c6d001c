#include "pack/pack_tool_win.h"

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

int RunCommandLine(const std::vector<std::string>& arguments)
{
    CommandLineParse parse = ParsePackCommandLine(arguments);
    PackCommand dropped;
    if (!parse.ok && arguments.size() == 1 &&
        DroppedCommand(arguments[0], KindOf(ArgumentPath(arguments[0])) == PathKind::FOLDER, &dropped))
        parse = {true, dropped, {}};
    if (!parse.ok) {
        PrintError("erreur : " + parse.error + "\n");
        return EXIT_USAGE;
    }
    const PackCommand& command = parse.command;
    if (command.help) {
        PrintOut(PackHelpText(command.name));
        return EXIT_OK;
    }
    for (const CommandRunner& runner : RUNNERS)
        if (command.name == runner.name)
            return runner.run(command);
    return EXIT_USAGE; // the command line names only commands that have a runner
}

} // namespace

int RunPackTool(const std::vector<std::string>& arguments)
{
    const int status = RunCommandLine(arguments);
    WaitIfConsoleIsOwn();
    return status;
}
