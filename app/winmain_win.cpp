// Entry point of the quiz player. The command line and the show command are not used: the window
// always opens normally, centred on the desktop.
#include <windows.h>

#include <cstdlib>

#include "app/main_window_win.h"

// The C++ runtime's default terminate handler prints the name of the uncaught exception, which
// brings its whole name demangler (about 45 KB) into a program handed out as one file, and a window
// program has no console to print to. This definition takes its place: the program ends the same way.
namespace __gnu_cxx {
void __verbose_terminate_handler()
{
    std::abort();
}
} // namespace __gnu_cxx

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int)
{
    return RunPlayer(instance);
}
