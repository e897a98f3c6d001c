// What the editor's title bar and status line say.
#pragma once

#include <cstddef>
#include <string>

// "quiz.toml", or "Sans titre" for a quiz never saved.
std::string DisplayName(const std::string& sourcePath);

// "quiz.toml - Zelbo Atelier", with a "*" before the name while changes are unsaved.
std::string WindowTitle(const std::string& sourcePath, bool modified);

// The number of questions, of errors and warnings, and the content's size against the player's
// limit: "3 questions — 1 erreur, 2 avertissements — contenu : 1 234 / 65 535 octets"; until the
// first check of a quiz ends, "3 questions — vérification en cours…".
struct QuizFigures {
    size_t questions = 0;
    size_t errors = 0;
    size_t warnings = 0;
    size_t contentBytes = 0;
    bool checked = false;
};
std::string StatusText(const QuizFigures& figures);

// A count with its thousands apart, as French writes them: "65 535" (a no-break space).
std::string FrenchNumber(size_t number);
