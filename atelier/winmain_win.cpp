// Entry point of Zelbo Atelier, the quiz editor: "zelbo-atelier.exe [FILE]" opens FILE (a
// quiz.toml, a quiz .exe or a table), so that a source can be opened with it from Explorer.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <cstdlib>

#include "atelier/atelier_window_win.h"
#include "platform/win_raii.h"

// As in the player: the runtime's default terminate handler would bring in its whole name demangler.
namespace __gnu_cxx {
void __verbose_terminate_handler()
{
    std::abort();
}
} // namespace __gnu_cxx

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show)
{
    // The file dialogs and the folder browser need a single-threaded apartment.
    const ScopedComInit com(COINIT_APARTMENTTHREADED);
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES | ICC_PROGRESS_CLASS |
                                                           ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    if (!RegisterAtelierClass(instance))
        return 1;
    int count = 0;
    LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    const std::wstring file = arguments && count > 1 ? arguments[1] : L"";
    LocalFree(arguments);
    if (!OpenAtelier(instance, file, show))
        return 1;
    return RunAtelierLoop();
}
