// The fields the maker fills in: the quiz's settings and the selected question's form, made of
// standard controls, written from the quiz and turned back into edits of it.
#pragma once

#include <windows.h>

#include "atelier/layout.h"
#include "atelier/quiz_files.h"

// Every control of the window, in the order the Tab key visits them.
void CreateEditorControls(HWND window);
void SetEditorFont(HFONT font, HFONT headingFont);

// Writes the settings, or the form of question (from 0; -1 for none), from the quiz.
void ShowSettings();
void ShowQuestion(int question);
// The parts of the form the quiz's kind and reveal call for.
FormShape CurrentFormShape();

// A notification of a settings or form control; false when it is none of theirs.
bool OnEditorCommand(int id, int code);
// The previews and the colour swatch are drawn by the window.
bool OnEditorDrawItem(const DRAWITEMSTRUCT* item);

// Puts the focus on the field where a problem lies, in the settings or in the question's form.
void FocusField(const SourcePlace& place);

// A picture or clip file dropped onto a preview of the form: it becomes that picture.
bool DropOnPreview(POINT windowPoint, const std::string& path);
