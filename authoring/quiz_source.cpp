#include "authoring/quiz_source.h"

#include <toml++/toml.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string_view>

#include "answers/grading.h"
#include "authoring/cp1252.h"
#include "authoring/source_text.h"
#include "authoring/toml_errors.h"
#include "authoring/wording.h"
#include "content/accepted_answers.h"
#include "content/quiz_shape.h"

const char* const MEDIA_KIND_NAMES[4] = {"text", "picture", "audio", "video"};
const char* const REVEAL_MODE_NAMES[4] = {"none", "picture", "text", "text+picture"};
const char ACCENTS_STRICT[] = "stricts";
const char ACCENTS_FORGIVEN[] = "tolérés";

namespace {

const char* const QUIZ_KEYS[] = {"title",         "creator", "explanation", "kind",   "answers_per_question",
                                 "answer_labels", "reveal",  "accents",     "colour", "codes",
                                 "question"};
const char* const QUESTION_KEYS[] = {"answers", "text", "picture", "reveal_text", "answer_picture"};

int LineOf(const toml::node& node)
{
    return static_cast<int>(node.source().begin.line);
}

bool IsKnownKey(std::string_view key, const char* const* keys, size_t count)
{
    for (size_t i = 0; i < count; ++i)
        if (key == keys[i])
            return true;
    return false;
}

// Where a problem of the settings lies: in them as a whole, or in one of their keys.
constexpr SourcePlace SETTINGS = {0, SourceField::NONE, 0};

SourcePlace Setting(SourceField field, int number = 0)
{
    return {0, field, number};
}

bool SurroundedBySpaces(const std::string& text)
{
    return !text.empty() && (text.front() == ' ' || text.back() == ' ');
}

// A text of code page 1252 as the grading compares it with what is typed: without the spaces around
// it, a to z in capitals and, with accents forgiven, its accented letters taken to plain ones.
std::string GradedForm(const std::string& cp1252, bool accentsForgiven)
{
    const size_t first = cp1252.find_first_not_of(' ');
    std::string graded =
        first == std::string::npos ? std::string() : cp1252.substr(first, cp1252.find_last_not_of(' ') - first + 1);
    if (accentsForgiven) {
        std::string folded(2 * graded.size() + 1, '\0');
        folded.resize(FoldAccents(&folded[0], graded.data(), graded.size()));
        graded.swap(folded);
    }
    // Folding may take a text past the 259 bytes that ToUpperAscii reads.
    for (char& c : graded)
        c = c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
    return graded;
}

// A variant that the player will carry, for the size of the payload that holds them all.
struct CarriedVariant {
    int line;
    SourcePlace place;
    std::string what;
    size_t size; // bytes of code page 1252
};

class SourceReader {
public:
    explicit SourceReader(SourceParse& result) : m_result(result), m_quiz(result.quiz) {}

    void Read(const toml::table& root);

private:
    void Error(SourcePlace place, int line, std::string message)
    {
        m_result.diagnostics.push_back({false, line, std::move(message), 0, place});
    }
    void Warning(SourcePlace place, int line, std::string message)
    {
        m_result.diagnostics.push_back({true, line, std::move(message), 0, place});
    }
    void Show(PlayerField field, int line, const std::string& what, const std::string& cp1252, SourcePlace place)
    {
        if (!cp1252.empty())
            m_result.shownTexts.push_back({field, line, what, cp1252, place});
    }

    // A text for the player: a string, convertible to code page 1252, at most 259 bytes, free of
    // line breaks; outside codes also free of "|", which ends every field of the content. *out gets
    // the string as written, *cp1252 (when given) the player's bytes of a good one.
    bool ReadText(const toml::node& node, const std::string& what, bool isCode, SourcePlace place, std::string* out,
                  std::string* cp1252 = nullptr);
    bool ReadChoice(const toml::node& node, const char* key, const char* const* names, SourceField field, int32_t* out);
    void ReadColour(const toml::node& node);
    void ReadHeaderText(const toml::node& node, const char* key, SourceField field, PlayerField shownIn,
                        std::string* out);
    void ReadAnswersPerQuestion(const toml::node& node);
    void ReadAnswerLabels(const toml::node& node);
    void ReadCodes(const toml::node& node);
    void ReadQuestions(const toml::node& node);
    void ReadAccents(const toml::node& node);
    void ReadAnswers(const toml::node& answers, const std::string& label, int number, SourceQuestion& question);
    void ReadStoredAnswer(const toml::node& node, const std::string& what, SourcePlace place, std::string* out,
                          std::string* cp1252);
    void ReadVariants(const toml::array& texts, const std::string& what, SourcePlace place, const std::string& stored,
                      bool carried, std::vector<std::string>* variants);
    void CheckVariantsSize();
    void ReadQuestion(const toml::table& table, int number);
    void ReadFileName(const toml::node& node, const std::string& what, SourcePlace place, std::string* out, int* line);
    void CheckCounts(const toml::table& root);

    SourceParse& m_result;
    QuizSource& m_quiz;
    std::vector<int> m_codeLines;
    std::vector<std::string> m_shownCodes; // code page 1252; empty for a code in error
    std::vector<CarriedVariant> m_carriedVariants;
    bool m_tooManyQuestions = false;
};

bool SourceReader::ReadText(const toml::node& node, const std::string& what, bool isCode, SourcePlace place,
                            std::string* out, std::string* cp1252)
{
    const int line = LineOf(node);
    if (!node.is_string()) {
        Error(place, line, what + " doit être une chaîne entre guillemets");
        return false;
    }
    *out = node.as_string()->get();
    std::string converted;
    const std::string problem = CheckQuizText(*out, isCode, &converted);
    if (!problem.empty())
        Error(place, line, what + " : " + problem);
    else if (cp1252)
        *cp1252 = converted;
    return problem.empty();
}

bool SourceReader::ReadChoice(const toml::node& node, const char* key, const char* const* names, SourceField field,
                              int32_t* out)
{
    if (node.is_string()) {
        for (int32_t i = 0; i < 4; ++i) {
            if (node.as_string()->get() == names[i]) {
                *out = i;
                return true;
            }
        }
    }
    std::string allowed;
    for (int i = 0; i < 4; ++i)
        allowed += std::string(i ? ", " : "") + "\"" + names[i] + "\"";
    Error(Setting(field), LineOf(node), std::string(key) + " doit valoir " + allowed);
    return false;
}

void SourceReader::ReadColour(const toml::node& node)
{
    const std::string text = node.is_string() ? node.as_string()->get() : std::string();
    unsigned value = 0;
    bool ok = text.size() == 7 && text[0] == '#';
    for (size_t i = 1; ok && i < text.size(); ++i) {
        const char c = text[i];
        const int digit = c >= '0' && c <= '9'   ? c - '0'
                          : c >= 'a' && c <= 'f' ? c - 'a' + 10
                          : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                                 : -1;
        ok = digit >= 0;
        value = value << 4 | static_cast<unsigned>(digit);
    }
    if (!ok) {
        Error(Setting(SourceField::COLOUR), LineOf(node),
              "colour doit être de la forme \"#RRVVBB\" (par exemple \"#35CBA3\")");
        return;
    }
    m_quiz.red = static_cast<uint8_t>(value >> 16);
    m_quiz.green = static_cast<uint8_t>(value >> 8);
    m_quiz.blue = static_cast<uint8_t>(value);
}

void SourceReader::ReadAnswersPerQuestion(const toml::node& node)
{
    const SourcePlace place = Setting(SourceField::ANSWERS_PER_QUESTION);
    if (!node.is_integer() || (node.as_integer()->get() != 1 && node.as_integer()->get() != 2)) {
        Error(place, LineOf(node), "answers_per_question doit valoir 1 ou 2");
        return;
    }
    m_quiz.answersPerQuestion = static_cast<int32_t>(node.as_integer()->get());
    if (m_quiz.answersPerQuestion == 2 && m_quiz.mediaKind == MEDIA_TEXT)
        Warning(place, LineOf(node),
                "un quiz texte n'a qu'une case de réponse par question : le lecteur ne demandera jamais les deuxièmes "
                "réponses");
}

void SourceReader::ReadAnswerLabels(const toml::node& node)
{
    const toml::array* labels = node.as_array();
    if (!labels || labels->size() > 2) {
        Error(Setting(SourceField::ANSWER_LABEL), LineOf(node),
              "answer_labels doit être une liste d'au plus deux légendes");
        return;
    }
    // The captions stand beside the two answer boxes of a cell, the first of each board line.
    const bool shown = m_quiz.mediaKind != MEDIA_TEXT && m_quiz.answersPerQuestion == 2;
    for (size_t i = 0; i < labels->size(); ++i) {
        const toml::node& label = *labels->get(i);
        const std::string what = "la légende " + std::to_string(i + 1);
        const SourcePlace place = Setting(SourceField::ANSWER_LABEL, static_cast<int>(i) + 1);
        std::string cp1252;
        if (ReadText(label, what, false, place, &m_quiz.answerLabels[i], &cp1252) && shown)
            Show(PlayerField::ANSWER_LABEL, LineOf(label), what, cp1252, place);
    }
    if (!shown && labels->size() > 0)
        Warning(Setting(SourceField::ANSWER_LABEL), LineOf(node),
                "le lecteur ne montre answer_labels que dans un quiz d'images, audio ou vidéo à deux réponses par "
                "question");
}

void SourceReader::ReadCodes(const toml::node& node)
{
    const toml::array* codes = node.as_array();
    if (!codes) {
        Error(Setting(SourceField::CODE), LineOf(node), "codes doit être une liste de chaînes");
        return;
    }
    for (size_t i = 0; i < codes->size(); ++i) {
        std::string code, cp1252;
        ReadText(*codes->get(i), "le code " + std::to_string(i + 1), true,
                 Setting(SourceField::CODE, static_cast<int>(i) + 1), &code, &cp1252);
        m_quiz.codes.push_back(code);
        m_shownCodes.push_back(cp1252);
        m_codeLines.push_back(LineOf(*codes->get(i)));
    }
}

void SourceReader::ReadFileName(const toml::node& node, const std::string& what, SourcePlace place, std::string* out,
                                int* line)
{
    *line = LineOf(node);
    if (!node.is_string() || node.as_string()->get().empty()) {
        Error(place, *line, what + " doit être un nom de fichier entre guillemets");
        return;
    }
    const std::string& name = node.as_string()->get();
    const std::string problem = FileNameProblem(name);
    if (!problem.empty()) {
        // Inside double quotes, "images\nouveau.jpg" reads as "images", a line break, "ouveau.jpg".
        Error(place, *line,
              what + " : " + problem +
                  ", sans doute un « \\ » seul : entre guillemets, doublez chaque « \\ » (\"images\\\\photo.jpg\") ou "
                  "écrivez le chemin entre apostrophes ('images\\photo.jpg')");
        return;
    }
    *out = name;
}

void SourceReader::ReadAccents(const toml::node& node)
{
    if (!node.is_string() || !ReadAccentsValue(node.as_string()->get(), &m_quiz.accentsForgiven))
        Error(Setting(SourceField::ACCENTS), LineOf(node),
              std::string("accents doit valoir \"") + ACCENTS_STRICT + "\" ou \"" + ACCENTS_FORGIVEN + "\"");
}

void SourceReader::ReadAnswers(const toml::node& answers, const std::string& label, int number,
                               SourceQuestion& question)
{
    const toml::array* list = answers.as_array();
    const SourcePlace all = {number, SourceField::ANSWER, 0};
    if (!list) {
        const std::string example = answers.is_string() ? answers.as_string()->get() : "Paris";
        Error(all, LineOf(answers),
              label + " : answers doit être une liste entre crochets, par exemple answers = [\"" + example + "\"]");
        return;
    }
    if (list->size() != static_cast<size_t>(m_quiz.answersPerQuestion)) {
        Error(all, LineOf(answers),
              label + " : answers doit donner " + std::to_string(m_quiz.answersPerQuestion) +
                  (m_quiz.answersPerQuestion == 1 ? " réponse" : " réponses") + " (answers_per_question)");
        return;
    }
    const int boxes = BoxesPerQuestion(m_quiz.mediaKind, m_quiz.answersPerQuestion);
    for (size_t i = 0; i < list->size(); ++i) {
        const toml::node& answerNode = *list->get(i);
        const std::string what = label + ", réponse " + std::to_string(i + 1);
        const SourcePlace place = {number, SourceField::ANSWER, static_cast<int>(i) + 1};
        // An answer written as a list is the stored answer followed by its variants.
        const toml::array* texts = answerNode.as_array();
        if (texts && texts->empty()) {
            Error(place, LineOf(answerNode),
                  what + " : la liste est vide ; elle donne la réponse attendue, puis les autres réponses acceptées");
            continue;
        }
        std::string stored;
        ReadStoredAnswer(texts ? *texts->get(0) : answerNode, what, place, &question.answers[i], &stored);
        if (texts)
            ReadVariants(*texts, what, {number, SourceField::VARIANTS, place.number}, stored,
                         static_cast<int>(i) < boxes, &question.variants[i]);
    }
}

void SourceReader::ReadStoredAnswer(const toml::node& node, const std::string& what, SourcePlace place,
                                    std::string* out, std::string* cp1252)
{
    if (!ReadText(node, what, false, place, out, cp1252))
        return;
    if (out->empty())
        Error(place, LineOf(node), what + " : une réponse vide ne peut jamais être trouvée");
    else if (SurroundedBySpaces(*out))
        Warning(place, LineOf(node),
                what + " : des espaces l'entourent ; elle ne pourra jamais être jugée juste, car seules les "
                       "espaces autour de la saisie du joueur sont retirées");
}

// texts: the stored answer (stored: its bytes, empty when in error), then the variants. A variant the
// player would never meet is refused: one that is empty, or is the stored answer or an earlier
// variant again once graded. carried: the answer has a box, whose variants the quiz carries.
void SourceReader::ReadVariants(const toml::array& texts, const std::string& what, SourcePlace place,
                                const std::string& stored, bool carried, std::vector<std::string>* variants)
{
    const bool forgiven = m_quiz.accentsForgiven;
    const std::string same = forgiven ? "pour le lecteur, qui ignore les majuscules, les accents et les espaces autour"
                                      : "pour le lecteur, qui ignore les majuscules et les espaces autour";
    std::vector<std::pair<std::string, size_t>> graded; // each good text's graded form, and its number
    if (!stored.empty())
        graded.emplace_back(GradedForm(stored, forgiven), 0);
    if (texts.size() > static_cast<size_t>(MAX_BOX_VARIANTS) + 1)
        Error(place, LineOf(*texts.get(MAX_BOX_VARIANTS + 1)),
              what + " : plus de " + std::to_string(MAX_BOX_VARIANTS) + " variantes, le maximum du lecteur");
    for (size_t number = 1; number < texts.size(); ++number) {
        const toml::node& node = *texts.get(number);
        const std::string variantWhat = what + ", variante " + std::to_string(number);
        const int line = LineOf(node);
        std::string variant, cp1252;
        const bool good = ReadText(node, variantWhat, false, place, &variant, &cp1252);
        if (node.is_string())
            variants->push_back(variant);
        if (!good)
            continue;
        const std::string form = GradedForm(cp1252, forgiven);
        const auto earlier = std::find_if(graded.begin(), graded.end(),
                                          [&form](const std::pair<std::string, size_t>& e) { return e.first == form; });
        if (form.empty())
            Error(place, line, variantWhat + " : une variante vide (ou faite d'espaces) n'accepte rien");
        else if (earlier != graded.end() && earlier->second == 0)
            Error(place, line, variantWhat + " : " + Quoted(variant) + " est la réponse attendue elle-même " + same);
        else if (earlier != graded.end())
            Error(place, line,
                  variantWhat + " : " + Quoted(variant) + " répète la variante " + std::to_string(earlier->second) +
                      " " + same);
        else if (SurroundedBySpaces(variant))
            Warning(place, line,
                    variantWhat + " : des espaces l'entourent ; elle ne pourra jamais être reconnue, car seules les "
                                  "espaces autour de la saisie du joueur sont retirées");
        graded.emplace_back(form, number);
        if (carried)
            m_carriedVariants.push_back({line, place, variantWhat, cp1252.size()});
    }
}

// The variants travel in one payload that the encoder takes whole: the first variant past its size
// is the one to shorten or leave out.
void SourceReader::CheckVariantsSize()
{
    size_t size = ACCEPTED_ANSWERS_HEADER_SIZE +
                  static_cast<size_t>(AnswerBoxCount(m_quiz.mediaKind, static_cast<int>(m_quiz.questions.size()),
                                                     m_quiz.answersPerQuestion));
    for (const CarriedVariant& variant : m_carriedVariants) {
        size += variant.size + 1;
        if (size > ACCEPTED_ANSWERS_MAX_SIZE) {
            Error(variant.place, variant.line,
                  variant.what + " : les variantes du quiz dépassent ici les " +
                      std::to_string(ACCEPTED_ANSWERS_MAX_SIZE) + " octets que le lecteur accepte");
            return;
        }
    }
}

void SourceReader::ReadQuestion(const toml::table& table, int number)
{
    SourceQuestion question;
    question.line = LineOf(table);
    const std::string label = "question " + std::to_string(number);
    auto at = [number](SourceField field) { return SourcePlace{number, field, 0}; };
    for (auto&& [key, node] : table) {
        if (!IsKnownKey(key.str(), QUESTION_KEYS, std::size(QUESTION_KEYS)))
            Warning(at(SourceField::NONE), static_cast<int>(key.source().begin.line),
                    label + " : clé inconnue « " + std::string(key.str()) + " » ignorée");
    }

    if (const toml::node* answers = table.get("answers"))
        ReadAnswers(*answers, label, number, question);
    else
        Error(at(SourceField::ANSWER), question.line, label + " : il manque answers");

    if (const toml::node* text = table.get("text")) {
        if (ReadText(*text, label + ", text", false, at(SourceField::TEXT), &question.text) && question.text.empty() &&
            m_quiz.mediaKind == MEDIA_TEXT)
            Error(at(SourceField::TEXT), LineOf(*text), label + " : text est vide, la question n'afficherait rien");
    } else if (m_quiz.mediaKind == MEDIA_TEXT) {
        Error(at(SourceField::TEXT), question.line,
              label + " : il manque text (le texte de la question d'un quiz texte)");
    }

    if (const toml::node* picture = table.get("picture")) {
        ReadFileName(*picture, label + ", picture", at(SourceField::PICTURE), &question.picture, &question.pictureLine);
        if (m_quiz.mediaKind == MEDIA_TEXT)
            Warning(at(SourceField::PICTURE), question.pictureLine,
                    label + " : un quiz texte n'affiche pas picture (le fichier est emporté quand même)");
    } else if (m_quiz.mediaKind != MEDIA_TEXT) {
        Warning(at(SourceField::PICTURE), question.line,
                label + " : pas de picture, la question n'aura ni image ni clip");
    }

    if (const toml::node* revealText = table.get("reveal_text")) {
        if (RevealsText(m_quiz.revealMode))
            ReadText(*revealText, label + ", reveal_text", false, at(SourceField::REVEAL_TEXT), &question.revealText);
        else
            Warning(at(SourceField::REVEAL_TEXT), LineOf(*revealText),
                    label + " : reveal_text ignoré (reveal ne montre pas de texte)");
    }
    if (const toml::node* answerPicture = table.get("answer_picture")) {
        ReadFileName(*answerPicture, label + ", answer_picture", at(SourceField::ANSWER_PICTURE),
                     &question.answerPicture, &question.answerPictureLine);
        if (!RevealsPicture(m_quiz.revealMode))
            Warning(at(SourceField::ANSWER_PICTURE), question.answerPictureLine,
                    label + " : reveal ne montre pas d'image, answer_picture ne sera pas affichée");
    }
    m_quiz.questions.push_back(std::move(question));
}

void SourceReader::ReadQuestions(const toml::node& node)
{
    const toml::array* list = node.as_array();
    if (!list || !list->is_array_of_tables()) {
        Error(SETTINGS, LineOf(node), "les questions s'écrivent [[question]]");
        return;
    }
    for (size_t i = 0; i < list->size(); ++i) {
        const toml::table& table = *list->get(i)->as_table();
        if (i == static_cast<size_t>(MAX_QUESTIONS)) {
            m_tooManyQuestions = true;
            Error({MAX_QUESTIONS + 1, SourceField::NONE, 0}, LineOf(table),
                  "plus de " + std::to_string(MAX_QUESTIONS) + " questions : le lecteur n'en montre pas davantage");
            return;
        }
        ReadQuestion(table, static_cast<int>(i) + 1);
    }
}

void SourceReader::CheckCounts(const toml::table& root)
{
    const size_t count = m_quiz.questions.size();
    if (count == 0 && !root.get("question"))
        Error(SETTINGS, 0, "aucune question ([[question]])");
    const toml::node* codes = root.get("codes");
    if (count == 0)
        return;
    // Codes are optional; a list of them is compared with the questions, unless there are more
    // questions than the player takes, which is an error of its own.
    if (codes && codes->is_array() && !m_tooManyQuestions) {
        const int codesLine = LineOf(*codes);
        const SourcePlace place = Setting(SourceField::CODE);
        if (m_quiz.codes.size() < count)
            Warning(place, codesLine,
                    Plural(m_quiz.codes.size(), "code") + " pour " + Plural(count, "question") +
                        " : à partir d'un score de " + std::to_string(m_quiz.codes.size() + 1) +
                        ", aucun code ne s'affiche");
        else if (m_quiz.codes.size() > count)
            Warning(place, codesLine,
                    Plural(m_quiz.codes.size() - count, "code") +
                        " en trop : il n'y a qu'un code par question, les derniers sont ignorés");
    }
    m_quiz.codes.resize(count);
    for (size_t i = 0; i < count && i < m_codeLines.size(); ++i) {
        const int number = static_cast<int>(i) + 1;
        Show(PlayerField::CODE, m_codeLines[i], "le code " + std::to_string(number), m_shownCodes[i],
             Setting(SourceField::CODE, number));
    }
}

// title, creator and explanation: texts the header shows in fields of their size.
void SourceReader::ReadHeaderText(const toml::node& node, const char* key, SourceField field, PlayerField shownIn,
                                  std::string* out)
{
    std::string cp1252;
    const bool ok = ReadText(node, key, false, Setting(field), out, &cp1252);
    if (ok && field == SourceField::TITLE && out->empty())
        Error(Setting(field), LineOf(node), "title est vide");
    if (ok)
        Show(shownIn, LineOf(node), key, cp1252, Setting(field));
}

void SourceReader::Read(const toml::table& root)
{
    for (auto&& [key, node] : root) {
        if (!IsKnownKey(key.str(), QUIZ_KEYS, std::size(QUIZ_KEYS)))
            Warning(SETTINGS, static_cast<int>(key.source().begin.line),
                    "clé inconnue « " + std::string(key.str()) + " » ignorée");
    }
    // The settings first: the questions are checked against them.
    if (const toml::node* node = root.get("kind"))
        ReadChoice(*node, "kind", MEDIA_KIND_NAMES, SourceField::KIND, &m_quiz.mediaKind);
    else
        Error(Setting(SourceField::KIND), 0, "il manque kind (\"text\", \"picture\", \"audio\" ou \"video\")");
    if (const toml::node* node = root.get("title"))
        ReadHeaderText(*node, "title", SourceField::TITLE, PlayerField::TITLE, &m_quiz.title);
    else
        Error(Setting(SourceField::TITLE), 0, "il manque title (le titre du quiz)");
    if (const toml::node* node = root.get("creator"))
        ReadHeaderText(*node, "creator", SourceField::CREATOR, PlayerField::CREATOR, &m_quiz.creator);
    if (const toml::node* node = root.get("explanation"))
        ReadHeaderText(*node, "explanation", SourceField::EXPLANATION, PlayerField::EXPLANATION, &m_quiz.explanation);
    if (const toml::node* node = root.get("answers_per_question"))
        ReadAnswersPerQuestion(*node);
    if (const toml::node* node = root.get("answer_labels"))
        ReadAnswerLabels(*node);
    if (const toml::node* node = root.get("reveal"))
        ReadChoice(*node, "reveal", REVEAL_MODE_NAMES, SourceField::REVEAL, &m_quiz.revealMode);
    if (const toml::node* node = root.get("accents"))
        ReadAccents(*node);
    if (const toml::node* node = root.get("colour"))
        ReadColour(*node);
    if (const toml::node* node = root.get("codes"))
        ReadCodes(*node);
    if (const toml::node* node = root.get("question"))
        ReadQuestions(*node);
    CheckCounts(root);
    CheckVariantsSize();
}

} // namespace

bool ReadAccentsValue(const std::string& value, bool* forgiven)
{
    if (value != ACCENTS_STRICT && value != ACCENTS_FORGIVEN && value != "toleres")
        return false;
    *forgiven = value != ACCENTS_STRICT;
    return true;
}

bool SourceParse::HasErrors() const
{
    for (const Diagnostic& diagnostic : diagnostics)
        if (!diagnostic.warning)
            return true;
    return false;
}

std::string FileNameProblem(const std::string& name)
{
    for (char c : name) {
        if (static_cast<unsigned char>(c) >= 0x20)
            continue;
        const char* escapes = "\b\t\n\f\r";
        const char* names[] = {"un retour arrière (\\b)", "une tabulation (\\t)", "un saut de ligne (\\n)",
                               "un saut de page (\\f)", "un retour chariot (\\r)"};
        const char* found = std::strchr(escapes, c);
        return std::string("le nom de fichier contient ") +
               (c && found ? names[found - escapes] : "un caractère de contrôle");
    }
    return {};
}

std::string CheckQuizText(const std::string& utf8, bool isCode, std::string* cp1252)
{
    const Cp1252Result converted = Utf8ToCp1252(utf8);
    if (!converted.ok)
        return "le caractère " + DescribeCharacter(utf8, converted.errorOffset) +
               " n'existe pas dans le jeu de caractères Windows-1252 du lecteur";
    const std::string& text = converted.text;
    if (text.find_first_of("\r\n") != std::string::npos)
        return "un saut de ligne est interdit";
    if (text.find('\0') != std::string::npos)
        return "le caractère nul est interdit";
    if (!isCode && text.find('|') != std::string::npos)
        return "le caractère « | » est interdit (il sépare les champs du quiz)";
    if (text.size() > static_cast<size_t>(QUIZ_TEXT_MAX_LENGTH))
        return std::to_string(text.size()) + " octets en Windows-1252, le maximum est " +
               std::to_string(QUIZ_TEXT_MAX_LENGTH);
    *cp1252 = text;
    return {};
}

SourceParse ParseQuizSource(const std::string& fileBytes)
{
    SourceParse result;
    const SourceText source = DecodeSourceFile(fileBytes);
    if (!source.ok) {
        result.diagnostics.push_back({false, source.errorLine, source.error});
        return result;
    }
    try {
        static_cast<void>(toml::parse(WithAsciiStandIns(source.utf8)));
        const toml::table root = toml::parse(source.utf8);
        SourceReader(result).Read(root);
    } catch (const toml::parse_error& error) {
        const ParserError translated = TranslateTomlError(std::string(error.description()), source.utf8,
                                                          static_cast<int>(error.source().begin.line),
                                                          static_cast<int>(error.source().begin.column));
        result.diagnostics.push_back({false, translated.line, translated.message, translated.column});
    }
    SortByLine(result.diagnostics);
    return result;
}

void SortByLine(std::vector<Diagnostic>& diagnostics)
{
    std::stable_sort(diagnostics.begin(), diagnostics.end(),
                     [](const Diagnostic& a, const Diagnostic& b) { return a.line < b.line; });
}

std::string FormatDiagnostic(const std::string& fileName, const Diagnostic& diagnostic)
{
    std::string text = fileName + ":";
    if (diagnostic.line > 0)
        text += std::to_string(diagnostic.line) + ":";
    if (diagnostic.line > 0 && diagnostic.column > 0)
        text += std::to_string(diagnostic.column) + ":";
    text += diagnostic.warning ? " attention : " : " erreur : ";
    return text + diagnostic.message;
}
