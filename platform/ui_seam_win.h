// The two places where the player reaches outside its windows: a message box for the user and the
// browser. Both go through a replaceable handler so that tests never block on a modal window.
#pragma once

using MessageBoxHandler = void (*)(const char* text, const char* caption);
using WebPageOpener = void (*)(const char* address);

// A message box with no owner window, an OK button and no icon.
void ShowUserMessage(const char* text, const char* caption);

// Opens a web address in the user's browser; failures leave no trace.
void OpenWebPage(const char* address);

// Replace the handlers; null restores the platform's. Each returns the handler it replaced.
MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler);
WebPageOpener SetWebPageOpener(WebPageOpener opener);
