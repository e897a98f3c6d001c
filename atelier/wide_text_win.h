// Between the editor's UTF-8 (the quiz's texts, as the library holds them) and the UTF-16 that
// Windows speaks: the one place that converts text, the library's WideToUtf8 for the way back.
#pragma once

#include <filesystem>
#include <string>

#include "authoring/files_win.h"

std::wstring Utf8ToWide(const std::string& utf8);

// A path written in UTF-8 (as the quiz holds its files) as Windows names it.
inline std::filesystem::path PathOf(const std::string& utf8)
{
    return std::filesystem::u8path(utf8);
}
