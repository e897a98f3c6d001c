// Audio and video questions: one hosted media player per question, clips extracted to files.
#pragma once

#include <windows.h>

// Prepares COM and the control host for an audio or video quiz; nothing for other quizzes.
void MediaStartup();

// Deletes every clip file, destroys the main window and releases COM and the host library
// (audio and video quizzes only).
void MediaCleanup(HWND mainWindow);

// Media block of question q at (x, y) during the board's build. False ends the build.
bool SetUpQuestionMedia(HWND board, int question, int x, int y);

// Writes clip resource `resourceId` to its file; kind 1 audio, 2 video. 1 once the resource was read.
int ExtractMediaClip(HWND board, int resourceId, int kind);

// WM_COMMAND of the board: the play and stop buttons of an audio or video quiz.
void OnMediaCommand(HWND board, WPARAM wParam);
