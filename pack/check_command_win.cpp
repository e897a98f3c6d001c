// zelbo-pack check: every problem of a source and of the files it names, nothing written.
#include "authoring/files_win.h"
#include "authoring/paths.h"
#include "authoring/quiz_preparation_win.h"
#include "authoring/wording.h"
#include "pack/commands_win.h"
#include "pack/console_win.h"

int RunCheck(const PackCommand& command)
{
    const std::string& name = command.operands[0];
    const std::filesystem::path source = ArgumentPath(name);
    std::string text;
    if (!ReadWholeFile(source, &text))
        return Fail(ReadFailure(source));
    PreparationOptions options;
    options.jobs = static_cast<unsigned>(command.jobs);
    const QuizCheck check =
        CheckQuizSource(text, ArgumentPath(DirectoryOf(name)), options, PrintMediaProgress, nullptr, nullptr);
    PrintDiagnostics(name, check.diagnostics);
    if (check.errors) {
        PrintError(name + " : " + Plural(check.errors, "erreur") + "\n");
        return EXIT_FAILED;
    }
    PrintOut(name + " : aucune erreur (" + CheckSummary(check) + ")\n");
    return EXIT_OK;
}
