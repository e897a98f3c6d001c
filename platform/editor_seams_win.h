// The editor's seams, in UTF-16: notes and questions for the maker, a document opened, a program
// started. Each goes through a replaceable handler, as the player's message box does, so that tests
// never block on a modal window nor start anything.
#pragma once

#include <windows.h>

// A note for the user (an error, or information), with an OK button.
using NoteHandler = void (*)(HWND owner, const wchar_t* text, const wchar_t* caption, bool error);
// A question answered by one of count buttons, the first the default; returns the index of the one
// chosen, or -1 when the question was closed without a choice.
using ChoiceHandler = int (*)(HWND owner, const wchar_t* text, const wchar_t* caption, const wchar_t* const* buttons,
                              int count);
// A document opened with the program Windows gives its kind (Notepad for a text without one), or a
// program started in a folder; false when it could not be.
using DocumentOpener = bool (*)(const wchar_t* path);
using ProgramStarter = bool (*)(const wchar_t* program, const wchar_t* folder);

void ShowNote(HWND owner, const wchar_t* text, const wchar_t* caption, bool error);
int AskChoice(HWND owner, const wchar_t* text, const wchar_t* caption, const wchar_t* const* buttons, int count);
bool OpenDocument(const wchar_t* path);
bool StartProgram(const wchar_t* program, const wchar_t* folder);

NoteHandler SetNoteHandler(NoteHandler handler);
ChoiceHandler SetChoiceHandler(ChoiceHandler handler);
DocumentOpener SetDocumentOpener(DocumentOpener opener);
ProgramStarter SetProgramStarter(ProgramStarter starter);
