// The quiz colour: how its three components make a COLORREF and which text colour reads on it.
#pragma once

#include <cstdint>

// 0x00BBGGRR, the layout of a Windows COLORREF.
constexpr uint32_t MakeQuizColour(uint8_t red, uint8_t green, uint8_t blue)
{
    return static_cast<uint32_t>(red) | static_cast<uint32_t>(green) << 8 | static_cast<uint32_t>(blue) << 16;
}

// Number labels and answer captions are drawn white only on a dark quiz colour; blue plays no part.
constexpr bool QuizLabelsAreWhite(uint8_t red, uint8_t green)
{
    return red < 60 && green < 60;
}
