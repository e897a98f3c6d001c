#include "answers/answers_file_win.h"

#include <string>

#include "answers/answers_file.h"
#include "content/quiz_data_win.h"
#include "content/quiz_shape.h"
#include "platform/text_1252_win.h"
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
    return g_answersWriter(file, data, size, &written, nullptr) && written == size;
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

void SaveAnswers(HWND board)
{
    // Without a board there are no answers to keep, and an empty file would lose the saved ones.
    if (!board || !g_quiz)
        return;
    const WideString target = OwnAnswersFileName();
    if (target.empty())
        return;

    // The answers are written beside the target and moved over it only once they are complete: a
    // full disk or a failing write in the middle never leaves the player with half a file.
    // A read-only answers file is the user's wish to keep it; some platforms let a move replace it.
    const DWORD targetAttributes = GetFileAttributesW(target.c_str());
    if (targetAttributes != INVALID_FILE_ATTRIBUTES && (targetAttributes & FILE_ATTRIBUTE_READONLY))
        return;
    wchar_t temporary[MAX_PATH] = {};
    if (!GetTempFileNameW(L".", L"zlb", 0, temporary))
        return;
    bool complete = false;
    {
        UniqueFile file(
            CreateFileW(temporary, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        complete = file && WriteAnswerLines(file.Get(), board);
    }
    if (!complete || !MoveFileExW(temporary, target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        DeleteFileW(temporary);
}
