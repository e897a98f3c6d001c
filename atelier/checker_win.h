// The check that runs as the maker types: the source of the quiz being edited checked on a worker
// thread, as zelbo-pack check would check it once saved, its problems shown in the problems pane
// and marked in the question list. Typing never waits for it: a check asked for while one runs
// waits for it to end, and the result of a check overtaken by a newer edit is dropped.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "atelier/quiz_files.h"
#include "atelier/status_line.h"

void StartChecker(HWND window);
void StopChecker();

// Asks for a check of the quiz a moment after the last edit (the debounce timer), or at once.
void ScheduleCheck();
void CheckNow();
// The timer and the worker's result, from the window procedure.
void OnCheckTimer();
void OnChecked(LPARAM result);
// Whether the problems shown are those of the quiz as it stands.
bool CheckIsCurrent();

// The problems pane: its columns, and a click that takes the maker to the question and field.
HWND CreateProblemList(HWND parent);
void ShowProblems();
LRESULT OnProblemListNotify(const NMHDR* header);

// The worst problem of a question (from 1): "erreur", "attention" or "".
const wchar_t* ProblemMarkOf(int question);
