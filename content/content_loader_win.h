// Fills the quiz record from the "PATCH" resources of a module.
#pragma once

#include <windows.h>

#include "content/quiz_data_win.h"

// Reads content resource 104 and codes resource 105 of module into quiz, reporting a damaged or
// missing resource with a message box; without content (or with an empty one) installs the sample
// quiz. The module is the program itself in the player, or a file opened as data.
void LoadContentFromModule(QuizData& quiz, HMODULE module);
