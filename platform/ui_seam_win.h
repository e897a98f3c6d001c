// The two places where the player reaches outside its windows: a message box for the user and the
// browser. Both go through a replaceable handler so that tests never block on a modal window. Both
// speak UTF-16, as Windows does (text_1252_win.h converts the quiz's own texts).
#pragma once

// The caption of the player's own messages (content, codes, saving); clip messages say "Information".
constexpr wchar_t PLAYER_CAPTION[] = L"Zelbo";

using MessageBoxHandler = void (*)(const wchar_t* text, const wchar_t* caption);
using WebPageOpener = void (*)(const wchar_t* address);

// A message box with no owner window, an OK button and no icon.
void ShowUserMessage(const wchar_t* text, const wchar_t* caption);

// Opens a web address in the user's browser; failures leave no trace.
void OpenWebPage(const wchar_t* address);

// Replace the handlers; null restores the platform's. Each returns the handler it replaced.
MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler);
WebPageOpener SetWebPageOpener(WebPageOpener opener);
