// The width check of the texts the player shows in fields of fixed size, measured with the
// player's own fonts through GDI.
#pragma once

#include <vector>

#include "authoring/quiz_source.h"

// A warning for each text wider (or, wrapped, taller) than its field, with what of it shows.
std::vector<Diagnostic> CheckShownTexts(const std::vector<ShownText>& texts);
