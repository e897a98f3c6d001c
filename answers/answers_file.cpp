#include "answers/answers_file.h"

namespace {

constexpr size_t REPLACED_CHARACTERS = 3;

struct SaveObstacle {
    uint32_t systemError;
    const wchar_t* reason;
};

// The Windows error codes of what stops a save where players keep their quizzes: a folder such as
// Program Files, a file kept open by another program, a write-protected stick, a full disk. The
// read-only code is also the player's own, for an answers file made read-only.
constexpr SaveObstacle SAVE_OBSTACLES[] = {
    {5, L"Windows n'autorise pas l'écriture à cet endroit"},
    {19, L"Le support est protégé en écriture"},
    {32, L"Le fichier est ouvert dans un autre programme"},
    {39, L"Le disque est plein"},
    {112, L"Le disque est plein"},
    {6009, L"Le fichier est en lecture seule"},
};

} // namespace

template <typename String> String AnswersFileName(const String& modulePath)
{
    using Char = typename String::value_type;
    size_t nameStart = 0;
    for (size_t i = 0; i < modulePath.size(); ++i) {
        if (modulePath[i] == Char('\\') || modulePath[i] == Char('/'))
            nameStart = i + 1;
    }
    String name = modulePath.substr(nameStart);
    if (name.empty())
        return name;
    // A name too short to lose three characters keeps them all and gains an extension.
    if (name.size() < REPLACED_CHARACTERS)
        name += Char('.');
    else
        name.resize(name.size() - REPLACED_CHARACTERS);
    for (Char letter : {Char('t'), Char('x'), Char('t')})
        name += letter;
    return name;
}

template std::string AnswersFileName(const std::string& modulePath);
template WideString AnswersFileName(const WideString& modulePath);

void NextAnswerLine(const char* data, size_t size, size_t* position, char* out)
{
    out[0] = '\0';
    if (!data || !position || *position >= size)
        return;

    size_t at = *position;
    size_t length = 0;
    while (at < size && data[at] != '\r') {
        if (length < static_cast<size_t>(QUIZ_TEXT_MAX_LENGTH))
            out[length++] = data[at];
        ++at;
    }
    out[length] = '\0';

    if (at < size) {
        while (at < size && data[at] != '\n')
            ++at;
        if (at < size)
            ++at;
    }
    *position = at;
}

void AppendAnswerLine(std::string& content, const char* boxText)
{
    size_t length = 0;
    if (boxText) {
        while (length < static_cast<size_t>(QUIZ_TEXT_MAX_LENGTH) && boxText[length] != '\0')
            ++length;
        content.append(boxText, length);
    }
    content.append("\r\n");
}

WideString SaveFailureMessage(const WideString& filePath, uint32_t systemError)
{
    // Not std::to_wstring: it formats through the C library's wide printf, which would weigh some
    // 60 KB in a program handed out as one file.
    const std::string number = std::to_string(systemError);
    WideString reason = L"Windows a signalé l'erreur " + WideString(number.begin(), number.end());
    for (const SaveObstacle& obstacle : SAVE_OBSTACLES) {
        if (obstacle.systemError == systemError)
            reason = obstacle.reason;
    }
    return L"Vos réponses n'ont pas pu être enregistrées dans le fichier :\n" + filePath + L"\n\n" + reason +
           L".\n\nPour les garder, copiez le quiz dans un dossier à vous, par exemple Documents, et lancez-le "
           L"depuis ce dossier.";
}
