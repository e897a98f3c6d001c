// The question list: one row per question, in order, with its number and thumbnail, its answers,
// its text or file, and a mark when it has a problem. Several rows can be selected at once; the
// form shows the one that has the focus.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "atelier/quiz_document.h"

HWND CreateQuestionList(HWND parent);
// After the questions changed: their count, their rows, and the thumbnails a picture quiz shows.
void RefreshQuestionList();
void SizeQuestionColumns();
QuestionSet SelectedQuestions();
// Selects exactly these rows, the first with the focus and in view, and shows it in the form.
void SelectQuestions(const QuestionSet& selection);
// The row under a point of the window's client area; the row count (a place after the last) when
// the point is below the rows, -1 when it is not over the list.
int QuestionAtPoint(POINT windowPoint);
LRESULT OnQuestionListNotify(const NMHDR* header);
