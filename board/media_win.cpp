#include "board/media_win.h"

void MediaStartup() {}

void MediaCleanup(HWND) {}

bool SetUpQuestionMedia(HWND, int, int, int)
{
    return true;
}

int ExtractMediaClip(HWND, int, int)
{
    return 0;
}

void OnMediaCommand(HWND, WPARAM) {}
