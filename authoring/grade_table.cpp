#include "authoring/grade_table.h"

#include "answers/grading.h"
#include "authoring/cp1252.h"

std::string GradeToUtf8(const std::string& accepted, const std::string& typed, bool accentsForgiven)
{
    const size_t bar = accepted.find('|');
    // The variants one after the other, each ended by a zero byte, as a quiz keeps those of a box.
    std::string variants;
    int count = 0;
    for (size_t start = bar; start != std::string::npos;) {
        const size_t end = accepted.find('|', start + 1);
        const std::string variant = accepted.substr(start + 1, end == std::string::npos ? end : end - start - 1);
        if (!variant.empty()) {
            variants += variant + '\0';
            ++count;
        }
        start = end;
    }
    return Cp1252ToUtf8(GradeAnswerWithVariants(accepted.substr(0, bar).c_str(), {variants.data(), count},
                                                accentsForgiven, typed.c_str()));
}

GradeTableResult GradeTable(const std::string& utf8, bool accentsForgiven)
{
    GradeTableResult result{true, {}, {}};
    size_t start = utf8.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
    for (int lineNumber = 1; start < utf8.size(); ++lineNumber) {
        size_t end = utf8.find('\n', start);
        if (end == std::string::npos)
            end = utf8.size();
        std::string line = utf8.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty()) {
            result.verdicts += "\n";
            continue;
        }
        const std::string where = "ligne " + std::to_string(lineNumber) + " : ";
        const size_t tab = line.find('\t');
        if (tab == std::string::npos)
            return {false, {}, where + "il manque la tabulation entre la réponse attendue et la saisie"};
        const Cp1252Result expected = Utf8ToCp1252(line.substr(0, tab));
        const Cp1252Result typed = Utf8ToCp1252(line.substr(tab + 1));
        if (!expected.ok || !typed.ok)
            return {false, {}, where + "caractère absent du jeu Windows-1252 du lecteur (ou UTF-8 invalide)"};
        result.verdicts += GradeToUtf8(expected.text, typed.text, accentsForgiven) + "\n";
    }
    return result;
}
