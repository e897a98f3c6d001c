#include "authoring/system_errors.h"

namespace {

struct NamedError {
    uint32_t code;
    const char* french;
};

// The codes Windows gives for a missing file or folder, a refused access, a file in use, a file
// that is no program, and a full or write-protected disk.
const NamedError NAMED_ERRORS[] = {
    {2, "fichier introuvable"},
    {3, "dossier introuvable"},
    {5, "accès refusé"},
    {19, "support protégé en écriture"},
    {32, "fichier ouvert par un autre programme"},
    {39, "disque plein"},
    {112, "disque plein"},
    {123, "nom de fichier invalide"},
    {193, "ce n'est pas un programme Windows"},
    {1006, "fichier vide ou incomplet"},
};

// "Bad EXE format for %1." loses its insert, and the space before it.
std::string WithoutInserts(const std::string& text)
{
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 1 < text.size() && text[i + 1] >= '1' && text[i + 1] <= '9') {
            while (i + 1 < text.size() && text[i + 1] >= '0' && text[i + 1] <= '9')
                ++i;
            while (!out.empty() && out.back() == ' ')
                out.pop_back();
            continue;
        }
        out += text[i];
    }
    while (!out.empty() && (out.back() == ' ' || out.back() == '\r' || out.back() == '\n' || out.back() == '.'))
        out.pop_back();
    return out;
}

} // namespace

std::string PlainSystemError(uint32_t code, const std::string& systemText)
{
    for (const NamedError& named : NAMED_ERRORS)
        if (named.code == code)
            return named.french;
    const std::string text = WithoutInserts(systemText);
    return "erreur " + std::to_string(code) + (text.empty() ? "" : " : " + text);
}
