// Recovery copies on disk: written every minute while the quiz has unsaved changes, removed when
// it is saved or the editor closes, and offered back at the next start after a crash.
#pragma once

#include <windows.h>

#include <string>

// The folder of the copies of quizzes never saved and of the notes ("Zelbo\Atelier" in the user's
// local application data); a test gives one of its own.
std::wstring RecoveryFolder();
void SetRecoveryFolder(const std::wstring& folder);

// Whether the process numbered so still runs.
bool IsProcessRunning(unsigned long process);

void StartRecovery(HWND window);
// Every minute: a copy of the unsaved work, when it changed since the last one.
void OnRecoveryTimer();
// The work is saved or given up: its copy and note go.
void RemoveRecoveryCopy();

// At start: each copy left by an editor that is no longer running is offered back, then removed.
// True when one was taken back and is now the quiz being edited.
bool OfferRecoveredWork();
