#include "authoring/quiz_draft_win.h"

#include "authoring/files_win.h"
#include "authoring/text_encoding.h"

namespace {

// The files the table names must be there: a quiz cannot be built without them.
void CheckTableFiles(const std::filesystem::path& tableFolder, QuizDraft& draft)
{
    for (const SourceQuestion& question : draft.quiz.questions) {
        for (const std::string* name : {&question.picture, &question.answerPicture}) {
            const std::filesystem::path path = tableFolder / std::filesystem::u8path(*name);
            if (!name->empty() && KindOf(path) != PathKind::FILE)
                draft.diagnostics.push_back({false, question.line, *name + " : " + ReadProblem(path)});
        }
    }
}

} // namespace

bool DraftFromTableFile(const std::filesystem::path& table, const DraftOptions& options, QuizDraft* draft,
                        std::string* error)
{
    std::string bytes;
    if (!ReadWholeFile(table, &bytes)) {
        *error = "impossible de lire le tableau " + table.u8string();
        return false;
    }
    if (bytes.empty()) {
        *error = table.u8string() + " est vide";
        return false;
    }
    const DecodedText text = DecodeTextFile(bytes);
    if (!text.ok) {
        *error = table.u8string() + " : " + text.error;
        return false;
    }
    const TableRead read = ReadTable(text.utf8);
    if (!read.ok) {
        *draft = {};
        draft->diagnostics.push_back({false, read.errorLine, read.error});
        return true;
    }
    *draft = DraftFromTable(read, options);
    CheckTableFiles(table.parent_path(), *draft);
    return true;
}

bool DraftFromFolder(const std::filesystem::path& folder, const DraftOptions& options, QuizDraft* draft,
                     std::string* error)
{
    if (KindOf(folder) != PathKind::FOLDER) {
        *error = "dossier introuvable : " + folder.u8string();
        return false;
    }
    *draft = DraftFromPictureFolder(FilesIn(folder), options);
    return true;
}
