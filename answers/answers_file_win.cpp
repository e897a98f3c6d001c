#include "answers/answers_file_win.h"

#include <string>

#include "answers/answers_file.h"
#include "content/quiz_data_win.h"
#include "content/quiz_shape.h"
#include "platform/text_1252_win.h"
#include "platform/ui_seam_win.h"
#include "resource.h"

namespace {

AnswersWriter g_answersWriter = WriteFile;

// The program's own path, however long: the buffer grows until the whole path fits.
WideString ProgramPath()
{
    WideString path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, &path[0], static_cast<DWORD>(path.size()));
        if (length == 0)
            return {};
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

WideString OwnAnswersFileName()
{
    return AnswersFileName(ProgramPath());
}

bool WriteAll(HANDLE file, const char* data, DWORD size)
{
    DWORD written = 0;
    if (!g_answersWriter(file, data, size, &written, nullptr))
        return false;
    // A write that takes fewer bytes than it was given ran out of room.
    if (written != size)
        SetLastError(ERROR_HANDLE_DISK_FULL);
    return written == size;
}

// Every line into the temporary file; false as soon as one write falls short.
bool WriteAnswerLines(HANDLE file, HWND board)
{
    const int lineCount = SavedAnswerLineCount(g_quiz->questionCount, g_quiz->answersPerQuestion);
    for (int k = 1; k <= lineCount; ++k) {
        char text[QUIZ_TEXT_SIZE] = {};
        GetDlgItemText1252(board, IDC_ANSWER_BASE + k, text, sizeof(text));
        std::string line;
        AppendAnswerLine(line, text);
        if (!WriteAll(file, line.data(), static_cast<DWORD>(line.size())))
            return false;
    }
    return FlushFileBuffers(file) != FALSE;
}

// The system error of the call that just failed; one that set none still failed.
DWORD LastFailure()
{
    const DWORD error = GetLastError();
    return error != ERROR_SUCCESS ? error : ERROR_WRITE_FAULT;
}

// A move over a file that another program holds open fails on some systems as if the folder
// refused it: opening the file for writing, which changes nothing, tells the two apart.
DWORD WhyNotReplaced(const WideString& target)
{
    const DWORD moveError = LastFailure();
    UniqueFile file(
        CreateFileW(target.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    return !file && GetLastError() == ERROR_SHARING_VIOLATION ? ERROR_SHARING_VIOLATION : moveError;
}

// Writes the answers beside the target and moves them over it only once they are complete: a full
// disk or a failing write in the middle never leaves the player with half a file. Returns
// ERROR_SUCCESS, or the system error that stopped the save.
DWORD ReplaceAnswersFile(HWND board, const WideString& target)
{
    // A read-only answers file is the user's wish to keep it; some platforms let a move replace it.
    const DWORD targetAttributes = GetFileAttributesW(target.c_str());
    if (targetAttributes != INVALID_FILE_ATTRIBUTES && (targetAttributes & FILE_ATTRIBUTE_READONLY))
        return ERROR_FILE_READ_ONLY;
    wchar_t temporary[MAX_PATH] = {};
    if (!GetTempFileNameW(L".", L"zlb", 0, temporary))
        return LastFailure();
    DWORD error = ERROR_SUCCESS;
    {
        UniqueFile file(
            CreateFileW(temporary, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file || !WriteAnswerLines(file.Get(), board))
            error = LastFailure();
    }
    if (error == ERROR_SUCCESS &&
        !MoveFileExW(temporary, target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        error = WhyNotReplaced(target);
    if (error != ERROR_SUCCESS)
        DeleteFileW(temporary);
    return error;
}

WideString FullPathOf(const WideString& name)
{
    const DWORD size = GetFullPathNameW(name.c_str(), 0, nullptr, nullptr);
    WideString path(size, L'\0');
    path.resize(size ? GetFullPathNameW(name.c_str(), size, &path[0], nullptr) : 0);
    return path.empty() ? name : path;
}

} // namespace

SavedAnswers::SavedAnswers()
{
    const WideString name = OwnAnswersFileName();
    if (name.empty())
        return;
    // Read sharing only: a file that another program is writing is left alone.
    m_file = UniqueFile(CreateFileW(name.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!m_file)
        return;
    LARGE_INTEGER size = {};
    // An empty file cannot be mapped and holds no answer anyway.
    if (!GetFileSizeEx(m_file.Get(), &size) || size.QuadPart == 0 || size.HighPart != 0)
        return;
    m_mapping = UniqueKernelHandle(CreateFileMappingW(m_file.Get(), nullptr, PAGE_READONLY, 0, 0, nullptr));
    if (!m_mapping)
        return;
    m_view = UniqueMappedView(MapViewOfFile(m_mapping.Get(), FILE_MAP_READ, 0, 0, 0));
    if (m_view)
        m_size = size.LowPart;
}

void SavedAnswers::Next(char (&line)[QUIZ_TEXT_SIZE])
{
    NextAnswerLine(static_cast<const char*>(m_view.Get()), m_size, &m_position, line);
}

AnswersWriter SetAnswersWriter(AnswersWriter writer)
{
    AnswersWriter previous = g_answersWriter;
    g_answersWriter = writer ? writer : WriteFile;
    return previous;
}

void SaveAnswers(HWND board, SaveReport report)
{
    // Without a board there are no answers to keep, and an empty file would lose the saved ones.
    if (!board || !g_quiz)
        return;
    const WideString target = OwnAnswersFileName();
    if (target.empty())
        return;
    const DWORD error = ReplaceAnswersFile(board, target);
    // The player would otherwise believe the answers kept, and find them gone at the next start.
    if (error != ERROR_SUCCESS && report == SaveReport::ON_FAILURE)
        ShowUserMessage(SaveFailureMessage(FullPathOf(target), error).c_str(), PLAYER_CAPTION);
}
