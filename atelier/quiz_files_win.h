// The editor's files: a quiz made new, opened (a quiz.toml, or a quiz .exe whose source is taken
// out into a folder), saved, and the questions brought in from a table, from pictures, or by files
// dropped from Explorer. A save never loses the file it replaces.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

// Asks "Enregistrer les modifications de « … » ?" when the quiz has unsaved changes; true when the
// maker may go on (saved, or chose not to), false for "Annuler".
bool ConfirmDiscardChanges();

void NewQuizCommand();
void OpenCommand();
// Opens a file by its kind: a quiz.toml, a quiz .exe, or a table made into a new quiz.
bool OpenPath(const std::wstring& path);
// Save (askName false) writes where the quiz came from, or asks where the first time.
bool SaveCommand(bool askName);
void ImportTableCommand();
void AddPicturesCommand();
// Pictures or clips made questions, inserted before question at (in name order).
void AddMediaFiles(const std::vector<std::wstring>& paths, int at);
void OnDropFiles(HDROP drop);

// Writes bytes to path through a temporary file beside it and a rename, so that a failed write
// leaves the file as it was. False with a French reason.
bool WriteFileSafely(const std::wstring& path, const std::string& bytes, std::string* error);
