// zelbo-pack build: a quiz executable from its source, written only when everything succeeded.
#include "authoring/files_win.h"
#include "authoring/quiz_build_win.h"
#include "authoring/wording.h"
#include "pack/commands_win.h"
#include "pack/console_win.h"

namespace {

// The tool's advice for the player it could not use.
std::string PlayerAdvice(const QuizBuild& build, bool defaultPlayer)
{
    if (build.outcome == BuildOutcome::NOT_A_PLAYER)
        return " : --player attend zelbo.exe ou un quiz déjà fabriqué";
    if (build.outcome == BuildOutcome::PLAYER_UNREADABLE && defaultPlayer)
        return " (zelbo.exe doit être à côté de zelbo-pack.exe, ou donnez le lecteur avec --player)";
    return {};
}

} // namespace

int RunBuild(const PackCommand& command)
{
    const std::string& name = command.operands[0];
    const bool defaultPlayer = command.player.empty();
    PreparationOptions options;
    options.keepPictures = command.keepPictures;
    options.jobs = static_cast<unsigned>(command.jobs);
    const QuizBuild build =
        BuildQuiz(ArgumentPath(name), defaultPlayer ? DefaultPlayerPath() : ArgumentPath(command.player),
                  ArgumentPath(command.output), options, PrintMediaProgress, nullptr);
    PrintDiagnostics(name, build.check.diagnostics);
    for (const std::string& warning : build.warnings)
        PrintError("attention : " + warning + "\n");
    switch (build.outcome) {
    case BuildOutcome::WRITTEN:
        PrintOut("Quiz écrit : " + command.output + " (" + CheckSummary(build.check) + ")\n");
        return EXIT_OK;
    case BuildOutcome::SOURCE_ERRORS:
    case BuildOutcome::CANCELLED:
        PrintError(name + " : " + Plural(build.check.errors, "erreur") + ", aucun quiz n'a été écrit\n");
        return EXIT_FAILED;
    default:
        return Fail(build.error + PlayerAdvice(build, defaultPlayer));
    }
}
