#include "platform/ui_seam_win.h"

#include <windows.h>
#include <shellapi.h>

namespace {

void PlatformMessageBox(const wchar_t* text, const wchar_t* caption)
{
    MessageBoxW(nullptr, text, caption, MB_OK);
}

void PlatformOpenWebPage(const wchar_t* address)
{
    ShellExecuteW(nullptr, L"open", address, nullptr, nullptr, SW_SHOWNORMAL);
}

MessageBoxHandler g_messageBoxHandler = PlatformMessageBox;
WebPageOpener g_webPageOpener = PlatformOpenWebPage;

} // namespace

void ShowUserMessage(const wchar_t* text, const wchar_t* caption)
{
    g_messageBoxHandler(text, caption);
}

void OpenWebPage(const wchar_t* address)
{
    g_webPageOpener(address);
}

MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler)
{
    MessageBoxHandler previous = g_messageBoxHandler;
    g_messageBoxHandler = handler ? handler : PlatformMessageBox;
    return previous;
}

WebPageOpener SetWebPageOpener(WebPageOpener opener)
{
    WebPageOpener previous = g_webPageOpener;
    g_webPageOpener = opener ? opener : PlatformOpenWebPage;
    return previous;
}
