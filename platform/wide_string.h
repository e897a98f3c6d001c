// The player's UTF-16 strings, for what it tells Windows. std::wstring's members are not compiled
// where it is used: they come whole from one object of the C++ library, some 24 KB in a program
// handed out as one file. A string with traits of its own is compiled like any template, keeping
// only what the program uses. Portable: the tests use it natively too.
#pragma once

#include <string>

struct WideCharTraits : std::char_traits<wchar_t> {};
using WideString = std::basic_string<wchar_t, WideCharTraits>;
