// zelbo-pack new: a quiz.toml to complete, from a spreadsheet saved as text or a folder of pictures.
#include <windows.h>

#include "pack/commands_win.h"
#include "pack/console_win.h"
#include "pack/files_win.h"
#include "pack/paths.h"
#include "pack/quiz_draft.h"
#include "pack/quiz_writer.h"
#include "pack/text_encoding.h"
#include "platform/win_raii.h"

namespace {

constexpr int EXIT_OK = 0;
constexpr int EXIT_FAILED = 1;

int Fail(const std::string& message)
{
    PrintError("erreur : " + message + "\n");
    return EXIT_FAILED;
}

std::string LastComponent(const std::string& path)
{
    std::string trimmed = path;
    while (trimmed.size() > 1 && (trimmed.back() == '\\' || trimmed.back() == '/'))
        trimmed.pop_back();
    return trimmed.substr(trimmed.find_last_of("/\\:") + 1);
}

// Every problem, in the order of the lines it names.
void Report(const std::string& fileName, std::vector<Diagnostic> diagnostics)
{
    SortByLine(diagnostics);
    for (const Diagnostic& diagnostic : diagnostics)
        PrintError(FormatDiagnostic(fileName, diagnostic) + "\n");
}

// The files the table names must be there: a quiz cannot be built without them.
void CheckTableFiles(const std::string& tableFolder, QuizDraft& draft)
{
    for (const SourceQuestion& question : draft.quiz.questions) {
        for (const std::string* name : {&question.picture, &question.answerPicture}) {
            const std::string path = ResolvePath(tableFolder, *name);
            if (!name->empty() && KindOf(path) != PathKind::FILE)
                draft.diagnostics.push_back({false, question.line, *name + " : " + ReadProblem(path)});
        }
    }
}

bool DraftTable(const PackCommand& command, QuizDraft* draft)
{
    std::string bytes;
    if (!ReadWholeFile(command.table, &bytes)) {
        Fail("impossible de lire le tableau " + command.table);
        return false;
    }
    if (bytes.empty()) {
        Fail(command.table + " est vide");
        return false;
    }
    const DecodedText text = DecodeTextFile(bytes);
    if (!text.ok) {
        Fail(command.table + " : " + text.error);
        return false;
    }
    const TableRead table = ReadTable(text.utf8);
    if (!table.ok) {
        Report(command.table, {{false, table.errorLine, table.error}});
        return false;
    }
    const std::string name = LastComponent(command.table);
    *draft = DraftFromTable(
        table, {command.title.empty() ? name.substr(0, name.find_last_of('.')) : command.title, command.kind});
    CheckTableFiles(DirectoryOf(command.table), *draft);
    Report(command.table, draft->diagnostics);
    return !draft->HasErrors();
}

bool DraftFolder(const PackCommand& command, QuizDraft* draft)
{
    if (KindOf(command.pictures) != PathKind::FOLDER) {
        Fail("dossier introuvable : " + command.pictures);
        return false;
    }
    *draft = DraftFromPictureFolder(
        FilesIn(command.pictures), {command.title.empty() ? LastComponent(FullPath(command.pictures)) : command.title, command.kind});
    Report(command.pictures, draft->diagnostics);
    return !draft->HasErrors();
}

bool WriteDraft(const std::string& path, const std::string& text, bool replace)
{
    UniqueFile file(CreateFileW(Utf8ToWide(path).c_str(), GENERIC_WRITE, 0, nullptr,
                                replace ? CREATE_ALWAYS : CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    return file && WriteFile(file.Get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
           written == text.size();
}

} // namespace

int RunNew(const PackCommand& command)
{
    const PathKind existing = KindOf(command.output);
    if (existing == PathKind::FOLDER)
        return Fail(command.output + " est un dossier : donnez le nom du fichier \xC3\xA0 \xC3\xA9"
                                     "crire (-o dossier/quiz.toml)");
    if (existing == PathKind::FILE && !command.force)
        return Fail(command.output + " existe d\xC3\xA9j\xC3\xA0 ; --force le remplace");

    const bool fromTable = !command.table.empty();
    QuizDraft draft;
    if (!(fromTable ? DraftTable(command, &draft) : DraftFolder(command, &draft)))
        return EXIT_FAILED;

    // File names are written as seen from the new file's folder.
    const std::string origin = fromTable ? command.table : command.pictures;
    const std::string filesFolder = fromTable ? DirectoryOf(command.table) : command.pictures;
    const std::string prefix = RelativePath(FullPath(DirectoryOf(command.output)), FullPath(filesFolder));
    const std::string outputName = LastComponent(command.output);
    if (!WriteDraft(command.output, WriteQuizDraft(draft.quiz, LastComponent(origin), outputName, prefix),
                    command.force))
        return Fail("impossible d'\xC3\xA9"
                    "crire " +
                    command.output);
    const size_t count = draft.quiz.questions.size();
    PrintOut(command.output +
             " \xC3\xA9"
             "crit : " +
             std::to_string(count) + " question" + (count > 1 ? "s" : "") + ", genre " +
             MEDIA_KIND_NAMES[draft.quiz.mediaKind] +
             ". Compl\xC3\xA9tez title, creator et codes, puis : "
             "zelbo-pack check " +
             command.output + "\n");
    return EXIT_OK;
}
