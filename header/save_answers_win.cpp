#include "header/save_answers_win.h"

void SaveAnswers(HWND) {}
