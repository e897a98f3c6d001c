// Windows error codes in the tool's French. The failures a quiz maker meets get a plain sentence;
// any other keeps the system's own text, which may hold "%1"-style inserts the tool never fills.
#pragma once

#include <cstdint>
#include <string>

// code: a Windows error code; systemText: its text from the system, for codes not named here.
std::string PlainSystemError(uint32_t code, const std::string& systemText);
