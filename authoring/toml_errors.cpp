#include "authoring/toml_errors.h"

#include <vector>

#include "authoring/wording.h"

namespace {

// A single backslash in a Windows path is the usual cause of an escape error.
const char BACKSLASH_ADVICE[] =
    " : entre guillemets, « \\ » commence un caractère spécial ; pour un chemin, doublez chaque « \\ » "
    "(\"images\\\\photo.jpg\") ou écrivez le chemin entre apostrophes ('images\\photo.jpg')";

// How a rule words its message: a fixed text, or one that depends on the scope, the key or the
// character where the parser stopped.
enum class Wording { FIXED, END_OF_FILE, REDEFINITION, CONTROL_CHARACTER };

// Extras of a message: the character the parser saw, the parser's own reason (for mistakes the
// French cannot name more precisely), the advice on backslashes, and moving a fault that the
// parser noticed lines below to just after the last value.
enum Extra : unsigned { NONE = 0, SEEN = 1, REASON = 2, BACKSLASH = 4, AFTER_PREVIOUS_VALUE = 8 };

// One kind of parser error: the scope it names (empty: any) and the start of its reason.
struct Rule {
    const char* scope;
    const char* reason;
    Wording wording;
    const char* french;
    unsigned extras;
};

const Rule RULES[] = {
    {"string", "unknown escape sequence", Wording::FIXED, "caractère spécial inconnu après « \\ »", SEEN | BACKSLASH},
    {"unicode scalar sequence", "", Wording::FIXED,
     "« \\u » ou « \\U » doit être suivi d'un code de caractère en hexadécimal", BACKSLASH},
    {"", "encountered end-of-file", Wording::END_OF_FILE, "", NONE},
    {"string", "unescaped control characters", Wording::CONTROL_CHARACTER, "", NONE},
    {"literal string", "control characters", Wording::CONTROL_CHARACTER, "", NONE},
    {"value", "could not determine value type", Wording::FIXED,
     "valeur illisible : un texte s'écrit entre guillemets (title = \"Mon quiz\"), une liste entre crochets (answers = "
     "[\"Paris\"]), un nombre en chiffres",
     NONE},
    {"", "cannot redefine existing", Wording::REDEFINITION, "", NONE},
    {"key-value pair", "expected '='", Wording::FIXED, "il manque « = » entre la clé et sa valeur", SEEN},
    {"key-value pair", "expected value", Wording::FIXED, "il manque la valeur après « = »", NONE},
    {"key-value pair", "expected a comment or whitespace", Wording::FIXED,
     "texte en trop après la valeur (un guillemet ou une apostrophe du texte l'a-t-il fermé trop tôt ? Un guillemet "
     "s'écrit \\\" dans un texte entre guillemets)",
     SEEN},
    {"array", "expected comma or closing ']'", Wording::FIXED,
     "il manque une virgule entre deux éléments de la liste, ou le « ] » qui la ferme", AFTER_PREVIOUS_VALUE},
    {"array", "expected value or closing ']'", Wording::FIXED, "virgule en trop dans la liste", NONE},
    {"table header", "", Wording::FIXED,
     "ligne de section mal formée : les questions commencent par la ligne [[question]]", SEEN},
    {"inline table", "", Wording::FIXED, "accolades { } mal fermées (le format des quiz n'en a pas besoin)", SEEN},
    {"root table", "", Wording::FIXED,
     "ligne illisible : une ligne donne « clé = valeur », ouvre une question par [[question]] ou commence un "
     "commentaire par #",
     SEEN},
    {"key", "", Wording::FIXED,
     "nom de clé illisible : une clé s'écrit en lettres sans accents, chiffres, « _ » ou « - »", SEEN},
    {"boolean", "", Wording::FIXED, "true ou false attendu (un texte s'écrit entre guillemets)", NONE},
    {"decimal integer", "", Wording::FIXED, "nombre invalide", REASON},
    {"floating-point", "", Wording::FIXED, "nombre invalide", REASON},
};

bool StartsWith(const std::string& text, const std::string& start)
{
    return text.compare(0, start.size(), start) == 0;
}

// The first '...' of a reason: the character the parser saw, or a key's name.
std::string FirstQuoted(const std::string& reason, size_t from = 0)
{
    const size_t open = reason.find('\'', from);
    const size_t close = open == std::string::npos ? open : reason.find('\'', open + 1);
    return close == std::string::npos ? std::string() : reason.substr(open + 1, close - open - 1);
}

std::string SeenText(const std::string& reason)
{
    // "expected '=', saw '\"'" or "unknown escape sequence '\p'"
    const size_t saw = reason.find("saw '");
    const std::string seen = FirstQuoted(reason, saw == std::string::npos ? 0 : saw);
    if (seen == "\\n" || seen == "\\r")
        return " (trouvé : la fin de la ligne)";
    return seen.empty() ? std::string() : " (trouvé " + Quoted(seen) + ")";
}

std::string EndOfFile(const std::string& scope)
{
    if (scope == "string" || scope == "literal string")
        return "texte non fermé : le fichier se termine avant le guillemet ou l'apostrophe de fin";
    if (scope == "array")
        return "liste non fermée : il manque « ] »";
    if (scope == "inline table")
        return "accolades { } non fermées : il manque « } »";
    return "le fichier se termine au milieu d'une ligne inachevée";
}

std::string Redefinition(const std::string& reason)
{
    const std::string key = FirstQuoted(reason);
    if (key == "question")
        return "les questions commencent par la ligne [[question]], avec deux crochets de chaque côté";
    return Quoted(key) +
           " est déjà donné plus haut : une clé ne s'écrit qu'une fois dans les réglages du quiz ou dans une question";
}

// The byte offset of a line and column (from 1, in characters) of a UTF-8 text; at most the
// offset of the line's end.
size_t OffsetAt(const std::string& text, int line, int column)
{
    size_t pos = 0;
    for (int l = 1; l < line && pos != std::string::npos; ++l) {
        pos = text.find('\n', pos);
        pos = pos == std::string::npos ? pos : pos + 1;
    }
    for (int c = 1; pos < text.size() && text[pos] != '\n' && c < column; ++pos)
        c += (static_cast<unsigned char>(text[pos + 1]) & 0xC0) != 0x80;
    return pos == std::string::npos ? text.size() : pos;
}

bool IsLineEnd(char c)
{
    return c == '\n' || c == '\r';
}

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
        lines.push_back(text.substr(start, end - start));
    lines.push_back(text.substr(start));
    return lines;
}

// Where a line's content ends: before its comment and the spaces that precede it. Good enough
// for the lines of a list: a "#" counts as a comment outside quotes only.
size_t ContentEnd(const std::string& line)
{
    char quote = 0;
    size_t end = 0;
    for (size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (quote && c == '\\' && quote == '"')
            ++i;
        else if (quote && c == quote)
            quote = 0;
        else if (!quote && (c == '"' || c == '\''))
            quote = c;
        else if (!quote && c == '#')
            break;
        if (c != ' ' && c != '\t' && c != '\r')
            end = i + 1;
    }
    return end;
}

// A list missing its comma or its "]" is noticed at the next value, often lines below; the fault
// is right after the last value written, on the last line that holds more than a comment.
void MoveAfterPreviousValue(const std::string& text, ParserError& error)
{
    const std::vector<std::string> lines = Lines(text);
    if (error.line < 2 || error.line > static_cast<int>(lines.size()))
        return;
    const std::string& current = lines[error.line - 1];
    const size_t firstContent = current.find_first_not_of(" \t");
    if (firstContent != std::string::npos && static_cast<int>(firstContent) + 1 < error.column)
        return; // something precedes the fault on its own line
    for (int l = error.line - 1; l >= 1; --l) {
        const std::string& previous = lines[l - 1];
        const size_t first = previous.find_first_not_of(" \t\r");
        if (first == std::string::npos || previous[first] == '#')
            continue;
        error.line = l;
        error.column = static_cast<int>(ContentEnd(previous)) + 1;
        return;
    }
}

// Whether text ends with a backslash that ends a line (an odd run of them), then spaces and at
// least one line end: in a """ text the parser skips what follows with its test for spaces, so a
// character beyond ASCII there is given a control character as stand-in, which fails there. (In a
// ''' text, where the backslash is plain, this refuses a rare source that the parser would take.)
bool AfterLineEndBackslash(const std::string& text)
{
    const size_t last = text.find_last_not_of(" \t\r\n");
    if (last == std::string::npos || text[last] != '\\' || text.find('\n', last) == std::string::npos)
        return false;
    const size_t before = text.find_last_not_of('\\', last);
    return (last - (before == std::string::npos ? 0 : before + 1)) % 2 == 0;
}

} // namespace

ParserError TranslateTomlError(const std::string& description, const std::string& text, int line, int column)
{
    const std::string lead = "Error while parsing ";
    const size_t colon = description.find(": ");
    const bool parsed = StartsWith(description, lead) && colon != std::string::npos;
    const std::string scope = parsed ? description.substr(lead.size(), colon - lead.size()) : std::string();
    const std::string reason = parsed ? description.substr(colon + 2) : description;

    ParserError error{line, column, {}};
    const size_t offset = OffsetAt(text, line, column);
    if (offset < text.size() && static_cast<unsigned char>(text[offset]) >= 0x80) {
        error.message = DescribeCharacter(text, offset) +
                        (AfterLineEndBackslash(WithAsciiStandIns(text.substr(0, offset)))
                             ? " après un « \\ » de fin de ligne : retirez ce « \\ », qui joint les lignes"
                             : " hors d'un texte : une clé s'écrit sans accents, un texte entre guillemets droits "
                               "(title = \"Mon quiz\")");
        return error;
    }
    for (const Rule& rule : RULES) {
        if ((*rule.scope && scope != rule.scope) || !StartsWith(reason, rule.reason))
            continue;
        switch (rule.wording) {
        case Wording::FIXED:
            error.message = rule.french;
            break;
        case Wording::END_OF_FILE:
            error.message = EndOfFile(scope);
            break;
        case Wording::REDEFINITION:
            error.message = Redefinition(reason);
            break;
        case Wording::CONTROL_CHARACTER:
            error.message = offset == text.size() || IsLineEnd(text[offset])
                                ? "texte non fermé : il manque le guillemet ou l'apostrophe de fin sur cette ligne (un "
                                  "texte ne continue pas à la ligne suivante)"
                                : "caractère de contrôle interdit dans un texte";
            break;
        }
        if (rule.extras & SEEN)
            error.message += SeenText(reason);
        if (rule.extras & REASON)
            error.message += " (" + reason + ")";
        if (rule.extras & BACKSLASH)
            error.message += BACKSLASH_ADVICE;
        if (rule.extras & AFTER_PREVIOUS_VALUE)
            MoveAfterPreviousValue(text, error);
        return error;
    }
    // Numbers, dates and the rarer mistakes keep the parser's own words.
    error.message = "syntaxe TOML invalide (" + (parsed ? scope + " : " + reason : description) + ")";
    return error;
}

std::string WithAsciiStandIns(const std::string& utf8)
{
    std::string standIns;
    for (char c : utf8) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80)
            standIns += c;
        else if ((byte & 0xC0) != 0x80)
            standIns += AfterLineEndBackslash(standIns) ? '\x01' : '$';
    }
    return standIns;
}
