#include "atelier/quiz_files_win.h"

#include <algorithm>

#include "atelier/atelier_dialogs_win.h"
#include "atelier/atelier_window_win.h"
#include "atelier/checker_win.h"
#include "atelier/build_runner_win.h"
#include "atelier/question_list_win.h"
#include "atelier/editor_form_win.h"
#include "atelier/recovery_win.h"
#include "atelier/wide_text_win.h"
#include "content/quiz_shape.h"
#include "authoring/files_win.h"
#include "authoring/paths.h"
#include "authoring/source_text.h"
#include "authoring/quiz_draft_win.h"
#include "platform/editor_seams_win.h"

namespace {

const wchar_t CAPTION[] = L"Zelbo Atelier";

std::wstring LowerExtension(const std::wstring& path)
{
    const size_t dot = path.find_last_of(L'.');
    if (dot == std::wstring::npos || path.find_first_of(L"\\/", dot) != std::wstring::npos)
        return {};
    std::wstring extension = path.substr(dot + 1);
    CharLowerBuffW(&extension[0], static_cast<DWORD>(extension.size()));
    return extension;
}

bool IsTable(const std::wstring& path)
{
    const std::wstring extension = LowerExtension(path);
    return extension == L"csv" || extension == L"txt" || extension == L"tsv";
}

void Complain(const std::string& utf8)
{
    ShowNote(g_atelier.window, Utf8ToWide(utf8).c_str(), CAPTION, true);
}

std::string FullUtf8(const std::wstring& path)
{
    return FullPath(path).u8string();
}

bool ReadOrComplain(const std::string& full, std::string* bytes)
{
    if (ReadWholeFile(PathOf(full), bytes))
        return true;
    Complain("Impossible de lire " + full + " : " + ReadProblem(PathOf(full)));
    return false;
}

bool OpenSource(const std::wstring& path)
{
    const std::string full = FullUtf8(path);
    std::string bytes;
    if (!ReadOrComplain(full, &bytes))
        return false;
    const SourceParse parse = ParseQuizSource(bytes);
    // A file that cannot be read as a whole (its encoding, a misspelt TOML) is not opened: the quiz
    // shown would lack what could not be read, and saving it would lose that for good.
    for (const Diagnostic& diagnostic : parse.diagnostics) {
        if (!diagnostic.warning && (diagnostic.column > 0 || !DecodeSourceFile(bytes).ok)) {
            Complain(full +
                     " ne peut pas être ouvert dans l'Atelier ; corrigez-le d'abord dans un éditeur de texte :\n" +
                     FormatDiagnostic(DisplayName(full), diagnostic));
            return false;
        }
    }
    ReplaceDocument(QuizDocument(EditableQuiz(parse.quiz, DirectoryOf(full)), full, false));
    return true;
}

// A table's questions, their files read from the table's folder.
bool DraftTable(const std::wstring& path, QuizDraft* draft)
{
    const std::string full = FullUtf8(path);
    const std::string name = full.substr(full.find_last_of("/\\") + 1);
    std::string error;
    if (!DraftFromTableFile(PathOf(full), {name.substr(0, name.find_last_of('.')), ""}, draft, &error)) {
        Complain(error);
        return false;
    }
    if (draft->HasErrors()) {
        std::string problems;
        for (const Diagnostic& diagnostic : draft->diagnostics)
            if (!diagnostic.warning)
                problems += "\n" + FormatDiagnostic(name, diagnostic);
        Complain("Ce tableau ne donne pas de questions :" + problems);
        return false;
    }
    draft->quiz = EditableQuiz(draft->quiz, DirectoryOf(full));
    return true;
}

void ImportTable(const std::wstring& path)
{
    QuizDraft draft;
    if (!DraftTable(path, &draft))
        return;
    const wchar_t* const buttons[] = {L"Ajouter au quiz", L"Nouveau quiz", L"Annuler"};
    const bool empty = g_atelier.document.Quiz().questions.empty();
    const int choice = empty ? 1
                             : AskChoice(g_atelier.window,
                                         Utf8ToWide("Ajouter les " + std::to_string(draft.quiz.questions.size()) +
                                                    " questions du tableau au quiz, ou en faire un nouveau quiz ?")
                                             .c_str(),
                                         CAPTION, buttons, 3);
    if (choice == 0) {
        const QuestionSet added = AddQuestions(
            g_atelier.document, static_cast<int>(g_atelier.document.Quiz().questions.size()), draft.quiz.questions);
        QuizChanged();
        ShowSelection(added);
    } else if (choice == 1 && ConfirmDiscardChanges()) {
        ReplaceDocument(QuizDocument(draft.quiz, "", true));
    }
}

// "quiz.toml" in the folder of the quiz, or the title made a file name.
std::wstring SuggestedName()
{
    const std::string& path = g_atelier.document.Path();
    return path.empty() ? L"quiz.toml" : Utf8ToWide(path);
}

bool SaveTo(const std::wstring& path)
{
    const std::string full = FullUtf8(path);
    const std::string text = SourceTextFor(g_atelier.document.Quiz(), DirectoryOf(full));
    std::string error;
    if (!WriteFileSafely(Utf8ToWide(full), text, &error)) {
        Complain("Le quiz n'a pas été enregistré dans " + full + " : " + error +
                 ". Le fichier qui s'y trouvait est resté tel quel.");
        return false;
    }
    g_atelier.document.MarkSaved(full);
    RemoveRecoveryCopy();
    RefreshFrame();
    CheckNow();
    return true;
}

} // namespace

bool ConfirmDiscardChanges()
{
    if (!g_atelier.document.Modified())
        return true;
    const std::string question =
        "Enregistrer les modifications de « " + DisplayName(g_atelier.document.Path()) + " » ?";
    const wchar_t* const buttons[] = {L"Enregistrer", L"Ne pas enregistrer", L"Annuler"};
    switch (AskChoice(g_atelier.window, Utf8ToWide(question).c_str(), CAPTION, buttons, 3)) {
    case 0:
        return SaveCommand(false);
    case 1:
        return true;
    default:
        return false;
    }
}

void NewQuizCommand()
{
    if (ConfirmDiscardChanges())
        ReplaceDocument(QuizDocument());
}

void OpenCommand()
{
    if (!ConfirmDiscardChanges())
        return;
    const std::vector<std::wstring> chosen = g_dialogs.openFiles(g_atelier.window, FileKind::QUIZ);
    if (!chosen.empty())
        OpenPath(chosen.front());
}

bool OpenPath(const std::wstring& path)
{
    const std::wstring extension = LowerExtension(path);
    if (extension == L"exe")
        return OpenQuizExecutable(path);
    if (IsTable(path)) {
        QuizDraft draft;
        if (!DraftTable(path, &draft))
            return false;
        ReplaceDocument(QuizDocument(draft.quiz, "", true));
        return true;
    }
    return OpenSource(path);
}

bool SaveCommand(bool askName)
{
    std::wstring path = Utf8ToWide(g_atelier.document.Path());
    if (askName || path.empty())
        path = g_dialogs.saveFile(g_atelier.window, FileKind::SOURCE, SuggestedName());
    return !path.empty() && SaveTo(path);
}

void ImportTableCommand()
{
    const std::vector<std::wstring> chosen = g_dialogs.openFiles(g_atelier.window, FileKind::TABLE);
    if (!chosen.empty())
        ImportTable(chosen.front());
}

void AddPicturesCommand()
{
    const std::vector<std::wstring> chosen = g_dialogs.openFiles(g_atelier.window, FileKind::MEDIA);
    if (!chosen.empty())
        AddMediaFiles(chosen, static_cast<int>(g_atelier.document.Quiz().questions.size()));
}

void AddMediaFiles(const std::vector<std::wstring>& paths, int at)
{
    std::vector<std::string> files;
    for (const std::wstring& path : paths)
        files.push_back(FullUtf8(path));
    const QuizSource& quiz = g_atelier.document.Quiz();
    // A quiz with no question yet takes the kind of the files.
    const bool fresh = quiz.questions.empty();
    FileQuestions found = QuestionsFromFiles(files, fresh ? -1 : quiz.mediaKind);
    size_t left = 0;
    QuestionSet added;
    if (!found.questions.empty()) {
        // Answer pictures found among the files are shown once their question is found.
        const bool revealsThem = found.revealMode != REVEAL_PICTURE || RevealsPicture(quiz.revealMode);
        const int32_t reveal = revealsThem                    ? -1
                               : RevealsText(quiz.revealMode) ? REVEAL_TEXT_AND_PICTURE
                                                              : REVEAL_PICTURE;
        added = AddQuestions(g_atelier.document, at, found.questions, &left, fresh ? found.mediaKind : -1, reveal);
        ShowSettings();
        QuizChanged();
        LayOutAtelier();
        ShowSelection(added);
    }
    std::string problems;
    for (const Diagnostic& problem : found.problems)
        if (!problem.warning)
            problems += "\n" + problem.message;
    if (left > 0)
        problems += "\n" + std::to_string(left) + " fichier(s) de trop : un quiz a au plus 96 questions.";
    if (!problems.empty())
        Complain("Certains fichiers n'ont pas été ajoutés :" + problems);
}

void OnDropFiles(HDROP drop)
{
    POINT point = {};
    DragQueryPoint(drop, &point);
    std::vector<std::wstring> paths;
    const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        std::wstring path(DragQueryFileW(drop, i, nullptr, 0) + 1, L'\0');
        path.resize(DragQueryFileW(drop, i, &path[0], static_cast<UINT>(path.size())));
        paths.push_back(path);
    }
    DragFinish(drop);
    if (paths.empty())
        return;
    const std::wstring extension = LowerExtension(paths.front());
    if (paths.size() == 1 && (extension == L"toml" || extension == L"exe")) {
        if (ConfirmDiscardChanges())
            OpenPath(paths.front());
        return;
    }
    if (paths.size() == 1 && IsTable(paths.front())) {
        ImportTable(paths.front());
        return;
    }
    if (paths.size() == 1 && DropOnPreview(point, FullUtf8(paths.front())))
        return;
    const int row = QuestionAtPoint(point);
    AddMediaFiles(paths, row >= 0 ? row : static_cast<int>(g_atelier.document.Quiz().questions.size()));
}

bool WriteFileSafely(const std::wstring& path, const std::string& bytes, std::string* error)
{
    const size_t slash = path.find_last_of(L"\\/");
    const std::wstring folder = slash == std::wstring::npos ? L"." : path.substr(0, slash);
    wchar_t temporary[MAX_PATH + 16] = {};
    if (!GetTempFileNameW(folder.c_str(), L"zat", 0, temporary)) {
        *error = LastSystemError();
        return false;
    }
    bool written = false;
    {
        UniqueFile file(
            CreateFileW(temporary, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        DWORD count = 0;
        written =
            file &&
            (bytes.empty() || (WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &count, nullptr) &&
                               count == bytes.size())) &&
            FlushFileBuffers(file.Get());
    }
    // The rename replaces the old file in one step: it is whole before and the new one after.
    if (written && MoveFileExW(temporary, path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
    *error = LastSystemError();
    DeleteFileW(temporary);
    return false;
}
