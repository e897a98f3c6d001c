// zelbo-pack extract: a quiz executable back into its source and media files.
#include "authoring/quiz_extraction_win.h"
#include "authoring/wording.h"
#include "pack/commands_win.h"
#include "pack/console_win.h"

int RunExtract(const PackCommand& command)
{
    const std::string& folder = command.output;
    const QuizExtraction extraction =
        ExtractQuiz(ArgumentPath(command.operands[0]), ArgumentPath(folder), command.force);
    for (const std::string& warning : extraction.warnings)
        PrintError("attention : " + warning + "\n");
    if (!extraction.ok)
        return Fail(extraction.error);
    PrintOut("Source écrite : " + folder + "/quiz.toml (" + Plural(extraction.quiz.questions.size(), "question") +
             ", " + Plural(extraction.filesWritten, "fichier") + " dans " + folder + "/" + EXTRACTED_MEDIA_FOLDER +
             ")\n");
    return EXIT_OK;
}
