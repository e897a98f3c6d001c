#include "board/media_win.h"

#include <ole2.h>
#include <ocidl.h>
#include <oleauto.h>
// The media player's GUIDs are not in the import libraries: this one file defines them.
#include <initguid.h>
#include <wmp.h>

#include <string>
#include <utility>

#include "board/media_rules.h"
#include "content/quiz_data_win.h"
#include "platform/module_resource_win.h"
#include "platform/text_1252_win.h"
#include "platform/ui_seam_win.h"
#include "platform/win_raii.h"
#include "resource.h"

HMODULE g_atlModule = nullptr;
AttachControlFunction g_attachControl = nullptr;
HWND g_mediaHosts[MAX_MEDIA_QUESTIONS] = {};
IWMPPlayer* g_players[MAX_MEDIA_QUESTIONS] = {};
IWMPControls* g_playerControls[MAX_MEDIA_QUESTIONS] = {};
int32_t g_currentClip = 0;
char g_pendingClipFile[MAX_PATH] = {};

namespace {

constexpr DWORD MEDIA_FRAME_STYLE = WS_CHILD | WS_VISIBLE | WS_BORDER;
constexpr DWORD PLAYER_CONTEXT = CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER | CLSCTX_LOCAL_SERVER;
constexpr wchar_t CLIP_MESSAGE_CAPTION[] = L"Information";

constexpr wchar_t NO_MEDIA_PLAYER[] =
    L"Cet ordinateur ne peut pas lire les extraits audio ou vidéo de ce quiz : le Lecteur Windows Media "
    L"n'y est pas installé. Les questions et les réponses restent utilisables.\n\n"
    L"Pour l'ajouter : Paramètres > Applications > Fonctionnalités facultatives > Ajouter une "
    L"fonctionnalité > Lecteur Windows Media. Sur une édition N de Windows, installez le Media Feature "
    L"Pack.";

// Whether MediaStartup's CoInitialize succeeded and still needs its CoUninitialize.
bool g_comInitialised = false;
// Whether the player was told this run that no player can be made: once is enough.
bool g_noPlayerReported = false;

// A BSTR made from a wide text, freed on every path.
class Bstr {
public:
    explicit Bstr(const wchar_t* text) : m_value(SysAllocString(text)) {}
    ~Bstr() { SysFreeString(m_value); }
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;
    BSTR Get() const { return m_value; }

private:
    BSTR m_value;
};

// Loads a DLL from the system folder only: a file of the same name planted beside the program or
// in the current directory (where the clips are written) must never be loaded instead.
HMODULE LoadSystemLibrary(const wchar_t* name)
{
    HMODULE module = LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (module || GetLastError() != ERROR_INVALID_PARAMETER)
        return module;
    // A system without the search flags rejects them as an invalid parameter: name the system
    // folder outright instead.
    wchar_t folder[MAX_PATH];
    const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return nullptr;
    const WideString path = WideString(folder, length) + L"\\" + name;
    return LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

// Clip file names are formed from the quiz's media folder, a 1252 text like every quiz text.
void DeleteClipFile(const char* name)
{
    DeleteFileW(WideFrom1252(name).c_str());
}

bool IsQuestionIndex(int index)
{
    return index >= 0 && index < MAX_MEDIA_QUESTIONS;
}

// The controls of question index i, or null when that question has no player (its build never
// came, or it failed).
IWMPControls* ControlsAt(int index)
{
    return IsQuestionIndex(index) ? g_playerControls[index] : nullptr;
}

void ReleasePlayerAt(int index)
{
    if (g_playerControls[index]) {
        g_playerControls[index]->Release();
        g_playerControls[index] = nullptr;
    }
    if (g_players[index]) {
        g_players[index]->Release();
        g_players[index] = nullptr;
    }
}

// The clip file name of question index i for the current quiz; empty when it cannot be formed.
void FormatQuizClipFile(char* out, size_t outSize, int index)
{
    FormatClipFileName(out, outSize, g_quiz->mediaFolder, index + 1, ClipKindOfQuiz(g_quiz->mediaKind));
}

void DeleteAllClipFiles()
{
    for (int question = 1; question <= MAX_MEDIA_QUESTIONS; ++question) {
        char clipFile[MAX_PATH];
        if (FormatClipFileName(clipFile, sizeof(clipFile), g_quiz->mediaFolder, question,
                               ClipKindOfQuiz(g_quiz->mediaKind)))
            DeleteClipFile(clipFile);
    }
}

void ReportUnreadableClip(int kind)
{
    if (kind == CLIP_AUDIO)
        ShowUserMessage(L"Impossible de charger le fichier audio.", CLIP_MESSAGE_CAPTION);
    else if (kind == CLIP_VIDEO)
        ShowUserMessage(L"Impossible de charger le fichier vidéo.", CLIP_MESSAGE_CAPTION);
}

void OnPlayCommand(int question)
{
    if (IWMPControls* current = ControlsAt(g_currentClip))
        current->stop();
    if (g_pendingClipFile[0] != '\0')
        DeleteClipFile(g_pendingClipFile);
    // The clip just stopped may still be held open by its player; it goes at the next play.
    FormatQuizClipFile(g_pendingClipFile, sizeof(g_pendingClipFile), g_currentClip);
    g_currentClip = question - 1;
    // The player's source already names this file; it only has to exist again.
    if (ExtractMediaClip(IDR_QUESTION_PICTURE_BASE + question, ClipKindOfQuiz(g_quiz->mediaKind)) == 1) {
        if (IWMPControls* controls = ControlsAt(g_currentClip))
            controls->play();
    }
}

// Every stop button stops whatever plays: the current clip's file is deleted before and after each
// player is stopped, since only a stopped player lets go of it. The current clip stays pending.
void OnStopCommand()
{
    // The pending name is about to be replaced by the current clip's: the clip stopped before it
    // would otherwise stay on disk until the program ends.
    if (g_pendingClipFile[0] != '\0')
        DeleteClipFile(g_pendingClipFile);
    const int count = g_quiz->questionCount < MAX_MEDIA_QUESTIONS ? g_quiz->questionCount : MAX_MEDIA_QUESTIONS;
    for (int index = 0; index < count; ++index) {
        FormatQuizClipFile(g_pendingClipFile, sizeof(g_pendingClipFile), g_currentClip);
        DeleteClipFile(g_pendingClipFile);
        if (IWMPControls* controls = g_playerControls[index]) {
            controls->stop();
            DeleteClipFile(g_pendingClipFile);
        }
    }
}

} // namespace

void MediaStartup()
{
    if (!g_quiz || !IsMediaQuiz(g_quiz->mediaKind))
        return;
    g_noPlayerReported = false;
    g_atlModule = LoadSystemLibrary(L"atl.dll");
    if (!g_atlModule)
        return;
    g_attachControl = reinterpret_cast<AttachControlFunction>(
        reinterpret_cast<void*>(GetProcAddress(g_atlModule, "AtlAxAttachControl")));
    g_comInitialised = SUCCEEDED(CoInitialize(nullptr));
}

void MediaCleanup(HWND mainWindow)
{
    if (!g_quiz || !IsMediaQuiz(g_quiz->mediaKind))
        return;
    DeleteAllClipFiles();
    DestroyWindow(mainWindow);
    // The players go before COM does: releasing them afterwards would call into unloaded code.
    for (int index = 0; index < MAX_MEDIA_QUESTIONS; ++index) {
        ReleasePlayerAt(index);
        g_mediaHosts[index] = nullptr;
    }
    // A clip still held open by its player could not be deleted above; now nothing holds it.
    DeleteAllClipFiles();
    if (g_comInitialised)
        CoUninitialize();
    g_comInitialised = false;
    if (g_atlModule)
        FreeLibrary(g_atlModule);
    g_atlModule = nullptr;
    g_attachControl = nullptr;
    g_currentClip = 0;
    g_pendingClipFile[0] = '\0';
}

void SetUpQuestionMedia(HWND board, int question, int x, int y)
{
    const int index = question - 1;
    if (!IsQuestionIndex(index))
        return;
    char clipFile[MAX_PATH];
    FormatQuizClipFile(clipFile, sizeof(clipFile), index);

    const MediaFrameSize frame = MediaFrameSizeOf(g_quiz->mediaKind);
    g_mediaHosts[index] = CreateWindowExW(
        0, L"STATIC", nullptr, MEDIA_FRAME_STYLE, x, y, frame.width, frame.height, board,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_PICTURE_BASE + question)), GetModuleHandleW(nullptr), nullptr);
    g_currentClip = index;

    ReleasePlayerAt(index);
    IWMPPlayer* player = nullptr;
    if (FAILED(CoCreateInstance(CLSID_WindowsMediaPlayer, nullptr, PLAYER_CONTEXT, IID_IWMPPlayer,
                                reinterpret_cast<void**>(&player))) ||
        !player) {
        // Windows "N" editions, and those whose media feature was removed, have no player to make.
        if (!std::exchange(g_noPlayerReported, true))
            ShowUserMessage(NO_MEDIA_PLAYER, CLIP_MESSAGE_CAPTION);
        return;
    }
    g_players[index] = player;

    // Without the hosting function the player still plays, only without a place on the board: an
    // audio question loses nothing, a video question keeps an empty frame.
    if (g_attachControl)
        g_attachControl(player, g_mediaHosts[index], nullptr);
    IWMPControls* controls = nullptr;
    if (SUCCEEDED(player->get_controls(&controls)))
        g_playerControls[index] = controls;
    player->put_uiMode(Bstr(L"none").Get());

    if (ExtractMediaClip(IDR_QUESTION_PICTURE_BASE + question, ClipKindOfQuiz(g_quiz->mediaKind)) == 1) {
        player->put_URL(Bstr(WideFrom1252(clipFile).c_str()).Get());
        if (controls)
            controls->stop();
        // Written again when its play button is pressed: no clip file outlives the build.
        DeleteClipFile(clipFile);
    }
}

bool HasMediaPlayer(int question)
{
    return IsQuestionIndex(question - 1) && g_players[question - 1];
}

int ExtractMediaClip(int resourceId, int kind)
{
    const ModuleResource clip = FindModuleResource(GetModuleHandleW(nullptr), resourceId, PICTURE_RESOURCE_TYPE);
    if (!clip.found)
        return 0;
    if (!clip.bytes) {
        ReportUnreadableClip(kind);
        return 0;
    }
    if (kind != CLIP_AUDIO && kind != CLIP_VIDEO)
        return 0;

    char clipFile[MAX_PATH];
    if (!FormatClipFileName(clipFile, sizeof(clipFile), g_quiz->mediaFolder, resourceId - IDR_QUESTION_PICTURE_BASE,
                            kind))
        return 1;
    // A file still held by a player cannot be replaced; the player then plays what it holds.
    UniqueFile file(CreateFileW(WideFrom1252(clipFile).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file) {
        DWORD written = 0;
        WriteFile(file.Get(), clip.bytes, clip.size, &written, nullptr);
    }
    return 1;
}

void OnMediaCommand(WPARAM wParam)
{
    if (!g_quiz || !IsMediaQuiz(g_quiz->mediaKind))
        return;
    const MediaCommand command = DecodeMediaCommand(wParam);
    if (command.kind == MediaCommandKind::PLAY)
        OnPlayCommand(command.question);
    else if (command.kind == MediaCommandKind::STOP)
        OnStopCommand();
}
