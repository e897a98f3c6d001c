// Quizzes built from the editor: "Essayer" builds into a temporary folder and starts the quiz
// there; "Fabriquer le quiz…" builds the saved source where the maker asks. Both run on a worker
// thread, with a progress bar, the count of pictures converted and "Annuler", the window staying
// responsive. A quiz executable opened is taken apart into a folder the maker chooses.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

void TryCommand();
void BuildCommand();
void CancelBuild();
// Ends a build still running (the window closes) and waits for its thread.
void StopBuild();
void OnBuildProgress(WPARAM done, LPARAM total);
void OnBuildDone(LPARAM outcome);

// Asks for a folder, writes the quiz's source and media there, and opens that source.
bool OpenQuizExecutable(const std::wstring& path);

// The folder where "Essayer" builds and starts its quiz.
std::wstring TryFolder();
// At start: the folders of the tries of editors that ended go, unless their quiz is still played.
void RemoveEndedTries();

// Run on the build's thread before the build starts, when set: a test holds the build there.
extern std::function<void()> g_beforeBuild;

// The folder of the player the quizzes are built from (zelbo.exe): the editor's own unless given
// another (a test's build folder).
void SetPlayerFolder(const std::wstring& folder);
