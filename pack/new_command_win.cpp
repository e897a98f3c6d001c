// zelbo-pack new: a quiz.toml to complete, from a spreadsheet saved as text or a folder of pictures.
#include <windows.h>

#include <algorithm>

#include "pack/commands_win.h"
#include "pack/console_win.h"
#include "pack/paths.h"
#include "pack/quiz_draft.h"
#include "pack/quiz_writer.h"
#include "pack/text_encoding.h"
#include "platform/win_raii.h"

namespace {

constexpr int EXIT_OK = 0;
constexpr int EXIT_FAILED = 1;

struct FindTraits {
    static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
    static void Release(HANDLE search) { FindClose(search); }
};
using UniqueFind = UniqueHandle<HANDLE, FindTraits>;

int Fail(const std::string& message)
{
    PrintError("erreur : " + message + "\n");
    return EXIT_FAILED;
}

DWORD AttributesOf(const std::string& path)
{
    return GetFileAttributesW(Utf8ToWide(path).c_str());
}

bool Exists(const std::string& path)
{
    return AttributesOf(path) != INVALID_FILE_ATTRIBUTES;
}

std::string FullPath(const std::string& path)
{
    const std::wstring wide = Utf8ToWide(path.empty() ? "." : path);
    std::wstring full(GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr), L'\0');
    const DWORD length = GetFullPathNameW(wide.c_str(), static_cast<DWORD>(full.size()), &full[0], nullptr);
    full.resize(length < full.size() ? length : 0);
    return full.empty() ? path : WideToUtf8(full);
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
    std::stable_sort(diagnostics.begin(), diagnostics.end(),
                     [](const Diagnostic& a, const Diagnostic& b) { return a.line < b.line; });
    for (const Diagnostic& diagnostic : diagnostics)
        PrintError(FormatDiagnostic(fileName, diagnostic) + "\n");
}

// The files the table names must be there: a quiz cannot be built without them.
void CheckTableFiles(const std::string& tableFolder, QuizDraft& draft)
{
    for (const SourceQuestion& question : draft.quiz.questions) {
        for (const std::string* name : {&question.picture, &question.answerPicture}) {
            if (!name->empty() && !Exists(ResolvePath(tableFolder, *name)))
                draft.diagnostics.push_back({false, question.line, "fichier introuvable : " + *name});
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

bool ListFiles(const std::string& folder, std::vector<std::string>* names)
{
    WIN32_FIND_DATAW found;
    UniqueFind search(FindFirstFileW(Utf8ToWide(ResolvePath(folder, "*")).c_str(), &found));
    if (!search)
        return false;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            names->push_back(WideToUtf8(found.cFileName));
    } while (FindNextFileW(search.Get(), &found));
    return true;
}

bool DraftFolder(const PackCommand& command, QuizDraft* draft)
{
    const DWORD attributes = AttributesOf(command.pictures);
    std::vector<std::string> names;
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY) ||
        !ListFiles(command.pictures, &names)) {
        Fail("dossier introuvable : " + command.pictures);
        return false;
    }
    *draft = DraftFromPictureFolder(
        names, {command.title.empty() ? LastComponent(FullPath(command.pictures)) : command.title, command.kind});
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
    const DWORD existing = AttributesOf(command.output);
    if (existing != INVALID_FILE_ATTRIBUTES && (existing & FILE_ATTRIBUTE_DIRECTORY))
        return Fail(command.output + " est un dossier : donnez le nom du fichier \xC3\xA0 \xC3\xA9"
                                     "crire (-o dossier/quiz.toml)");
    if (existing != INVALID_FILE_ATTRIBUTES && !command.force)
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
