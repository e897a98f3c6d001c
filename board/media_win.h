// Audio and video questions: one hosted media player per question, clips extracted to files.
#pragma once

#include <windows.h>
#include <unknwn.h>

#include <cstdint>

#include "content/quiz_limits.h"

struct IWMPPlayer;
struct IWMPControls;

// The control-hosting function of the platform's ATL library, resolved at run time.
using AttachControlFunction = HRESULT(WINAPI*)(IUnknown* control, HWND host, IUnknown** container);

// Media state of the run, index q - 1 for question q. The players and their controls are owned
// here and released by MediaCleanup; the frames belong to the board.
extern HMODULE g_atlModule;
extern AttachControlFunction g_attachControl;
extern HWND g_mediaHosts[MAX_MEDIA_QUESTIONS];
extern IWMPPlayer* g_players[MAX_MEDIA_QUESTIONS];
extern IWMPControls* g_playerControls[MAX_MEDIA_QUESTIONS];
// The last question set up during the build, then the last one whose play button was pressed.
extern int32_t g_currentClip;
// The clip file to delete at the next play command: a player may still hold the file it just
// stopped, so it is deleted one command later. Empty at start.
extern char g_pendingClipFile[MAX_PATH];

// Prepares COM and the control host for an audio or video quiz; nothing for other quizzes.
void MediaStartup();

// Deletes every clip file, destroys the main window and releases the players, COM and the host
// library (audio and video quizzes only; other quizzes leave the main window alone).
void MediaCleanup(HWND mainWindow);

// Media block of question q at (x, y) during the board's build. When the player cannot be made (a
// Windows without its media player) the frame stays empty and the first such question of the run
// tells the player, once, how to add the media feature.
void SetUpQuestionMedia(HWND board, int question, int x, int y);

// Whether question q (from 1) has a player, whose buttons can then play and stop its clip.
bool HasMediaPlayer(int question);

// Writes clip resource `resourceId` to its file; kind 1 audio, 2 video. 1 once the resource was
// read (whether the file could be written or not), 0 otherwise.
int ExtractMediaClip(int resourceId, int kind);

// WM_COMMAND of the board: the play and stop buttons of an audio or video quiz.
void OnMediaCommand(WPARAM wParam);
