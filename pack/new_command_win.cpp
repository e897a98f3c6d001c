// zelbo-pack new: a quiz.toml to complete, from a spreadsheet saved as text or a folder of pictures.
#include "authoring/files_win.h"
#include "authoring/paths.h"
#include "authoring/quiz_draft_win.h"
#include "authoring/quiz_writer.h"
#include "pack/commands_win.h"
#include "pack/console_win.h"

namespace {

std::string LastComponent(const std::string& path)
{
    std::string trimmed = path;
    while (trimmed.size() > 1 && (trimmed.back() == '\\' || trimmed.back() == '/'))
        trimmed.pop_back();
    return trimmed.substr(trimmed.find_last_of("/\\:") + 1);
}

// The table or folder drafted, its problems printed; false when the draft cannot be written.
bool Draft(const PackCommand& command, QuizDraft* draft)
{
    const bool fromTable = !command.table.empty();
    const std::string& origin = fromTable ? command.table : command.pictures;
    DraftOptions options = {command.title, command.kind};
    if (options.title.empty()) {
        const std::string name = LastComponent(fromTable ? origin : FullPath(ArgumentPath(origin)).u8string());
        options.title = fromTable ? name.substr(0, name.find_last_of('.')) : name;
    }
    std::string error;
    if (!(fromTable ? DraftFromTableFile(ArgumentPath(origin), options, draft, &error)
                    : DraftFromFolder(ArgumentPath(origin), options, draft, &error))) {
        Fail(error);
        return false;
    }
    PrintDiagnostics(origin, draft->diagnostics);
    return !draft->HasErrors();
}

} // namespace

int RunNew(const PackCommand& command)
{
    const std::filesystem::path output = ArgumentPath(command.output);
    const PathKind existing = KindOf(output);
    if (existing == PathKind::FOLDER)
        return Fail(command.output + " est un dossier : donnez le nom du fichier à écrire (-o dossier/quiz.toml)");
    if (existing == PathKind::FILE && !command.force)
        return Fail(command.output + " existe déjà ; --force le remplace");

    QuizDraft draft;
    if (!Draft(command, &draft))
        return EXIT_FAILED;

    // File names are written as seen from the new file's folder.
    const bool fromTable = !command.table.empty();
    const std::string origin = fromTable ? command.table : command.pictures;
    const std::string filesFolder = fromTable ? DirectoryOf(command.table) : command.pictures;
    SourceWriting writing;
    writing.draft = true;
    writing.folder = RelativePath(FullPath(ArgumentPath(DirectoryOf(command.output))).u8string(),
                                  FullPath(ArgumentPath(filesFolder)).u8string());
    writing.origin = LastComponent(origin);
    writing.outputName = LastComponent(command.output);
    if (!WriteWholeFile(output, WriteQuizSource(draft.quiz, writing), command.force))
        return Fail("impossible d'écrire " + command.output);
    const size_t count = draft.quiz.questions.size();
    PrintOut(command.output + " écrit : " + std::to_string(count) + " question" + (count > 1 ? "s" : "") + ", genre " +
             MEDIA_KIND_NAMES[draft.quiz.mediaKind] + ". Complétez title, creator et codes, puis : zelbo-pack check " +
             command.output + "\n");
    return EXIT_OK;
}
