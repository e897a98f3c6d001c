// The entry point of every Windows test program: GDI counting, the seams that would block on a
// window or a browser replaced by recorders, the main window's class registered.
#include <gtest/gtest.h>

#include "app/main_window_win.h"
#include "atelier_driver_win.h"
#include "board/picture_loading_win.h"
#include "gdi_counting_win.h"
#include "platform/text_1252_win.h"
#include "platform/ui_seam_win.h"
#include "test_player_win.h"

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    InstallGdiCounting();
    SetMessageBoxHandler([](const wchar_t* text, const wchar_t* caption) {
        g_recordedMessages.push_back(Cp1252FromWide(caption) + ": " + Cp1252FromWide(text));
    });
    SetWebPageOpener([](const wchar_t* address) { g_recordedWebPages.push_back(Cp1252FromWide(address)); });
    InstallEditorRecorders();
    RegisterMainWindowClass(GetModuleHandle(nullptr));
    // A test sees each picture in place as soon as the board is built; the background decoding has
    // tests of its own.
    SetPictureThreadCount(0);
    return RUN_ALL_TESTS();
}
