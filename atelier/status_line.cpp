#include "atelier/status_line.h"

#include "content/lzw.h"
#include "authoring/wording.h"

std::string DisplayName(const std::string& sourcePath)
{
    return sourcePath.empty() ? "Sans titre" : sourcePath.substr(sourcePath.find_last_of("/\\") + 1);
}

std::string WindowTitle(const std::string& sourcePath, bool modified)
{
    return (modified ? "*" : "") + DisplayName(sourcePath) + " - Zelbo Atelier";
}

std::string FrenchNumber(size_t number)
{
    std::string digits = std::to_string(number);
    for (size_t i = digits.size(); i > 3; i -= 3)
        digits.insert(i - 3, "\xC2\xA0");
    return digits;
}

std::string StatusText(const QuizFigures& figures)
{
    if (!figures.checked)
        return Plural(figures.questions, "question") + " — vérification en cours…";
    std::string problems = "aucun problème";
    if (figures.errors > 0 || figures.warnings > 0) {
        problems.clear();
        if (figures.errors > 0)
            problems = Plural(figures.errors, "erreur");
        if (figures.warnings > 0)
            problems += (problems.empty() ? "" : ", ") + Plural(figures.warnings, "avertissement");
    }
    return Plural(figures.questions, "question") + " — " + problems +
           " — contenu : " + FrenchNumber(figures.contentBytes) + " / " + FrenchNumber(LZW_MAX_INPUT) + " octets";
}
