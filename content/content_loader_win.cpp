#include "content/quiz_data_win.h"

#include "resource.h"

void QuizData::LoadContent()
{
    HRSRC content = FindResourceA(nullptr, MAKEINTRESOURCEA(IDR_CONTENT), "PATCH");
    if (!content || SizeofResource(nullptr, content) == 0) {
        LoadSampleQuiz();
        return;
    }
}
