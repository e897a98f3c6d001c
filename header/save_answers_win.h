// Writing the answers file: one CR LF line per answer box, named after the program's file.
#pragma once

#include <windows.h>

void SaveAnswers(HWND board);
