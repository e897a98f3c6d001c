// Entry point of the quiz player. The command line and the show command are not used: the window
// always opens normally, centred on the desktop.
#include <windows.h>

#include "app/main_window_win.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    return RunPlayer(instance);
}
