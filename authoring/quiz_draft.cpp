#include "authoring/quiz_draft.h"

#include <algorithm>

#include "authoring/paths.h"
#include "authoring/wording.h"

namespace {

enum class Column { UNKNOWN, TEXT, ANSWER1, ANSWER2, PICTURE, REVEAL_TEXT, ANSWER_PICTURE, VARIANTS1, VARIANTS2 };
constexpr int COLUMN_COUNT = 9;

struct ColumnName {
    const char* folded;
    Column column;
};

const ColumnName COLUMN_NAMES[] = {
    {"question", Column::TEXT},
    {"texte", Column::TEXT},
    {"reponse", Column::ANSWER1},
    {"reponse 1", Column::ANSWER1},
    {"reponse 2", Column::ANSWER2},
    {"image", Column::PICTURE},
    {"fichier", Column::PICTURE},
    {"texte devoile", Column::REVEAL_TEXT},
    {"image devoilee", Column::ANSWER_PICTURE},
    {"autres reponses", Column::VARIANTS1},
    {"autres reponses 1", Column::VARIANTS1},
    {"autres reponses 2", Column::VARIANTS2},
};

// Base letters of U+00C0 to U+00FF, '?' where there is none (Æ, ×, Þ, ß...).
constexpr char LATIN1_BASE_LETTERS[] = "aaaaaa?ceeeeiiiidnooooo?ouuuuy??aaaaaa?ceeeeiiiidnooooo?ouuuuy?y";

// A column name as typed, folded for matching: a to z in lower case, the accents of the Latin-1
// letters removed, spaces trimmed and runs of them made one.
std::string FoldName(const std::string& utf8)
{
    std::string folded;
    for (size_t i = 0; i < utf8.size(); ++i) {
        auto c = static_cast<unsigned char>(utf8[i]);
        if (c == 0xC3 && i + 1 < utf8.size()) {
            const auto next = static_cast<unsigned char>(utf8[i + 1]);
            const char base = next >= 0x80 && next <= 0xBF ? LATIN1_BASE_LETTERS[next - 0x80] : '?';
            if (base != '?') {
                folded += base;
                ++i;
                continue;
            }
        }
        if (c == ' ' || c == '\t') {
            if (!folded.empty() && folded.back() != ' ')
                folded += ' ';
            continue;
        }
        folded += static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    }
    if (!folded.empty() && folded.back() == ' ')
        folded.pop_back();
    return folded;
}

Column ColumnOf(const std::string& name)
{
    const std::string folded = FoldName(name);
    for (const ColumnName& known : COLUMN_NAMES)
        if (folded == known.folded)
            return known.column;
    return Column::UNKNOWN;
}

std::string Trimmed(const std::string& text)
{
    const size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

int32_t KindOfExtension(const std::string& extension)
{
    static const char* const PICTURES[] = {"jpg", "jpeg", "jpe", "png", "gif", "bmp", "tif", "tiff"};
    if (extension == "mp3")
        return MEDIA_AUDIO;
    if (extension == "avi")
        return MEDIA_VIDEO;
    for (const char* picture : PICTURES)
        if (extension == picture)
            return MEDIA_PICTURE;
    return -1;
}

class DraftBuilder {
public:
    explicit DraftBuilder(QuizDraft& draft) : m_draft(draft) {}

    void Warn(int line, const std::string& message) { m_draft.diagnostics.push_back({true, line, message}); }
    void Error(int line, const std::string& message) { m_draft.diagnostics.push_back({false, line, message}); }

    // A text the player will not hold is said at once; check says it again against the new file.
    void CheckText(int line, const std::string& what, const std::string& utf8)
    {
        std::string cp1252;
        const std::string problem = CheckQuizText(utf8, false, &cp1252);
        if (!problem.empty())
            Warn(line, what + " : " + problem);
    }

    bool SetKind(const DraftOptions& options, int32_t found)
    {
        m_draft.quiz.mediaKind = found;
        if (options.kind.empty())
            return true;
        for (int32_t kind = MEDIA_TEXT; kind <= MEDIA_VIDEO; ++kind) {
            if (options.kind == MEDIA_KIND_NAMES[kind]) {
                m_draft.quiz.mediaKind = kind;
                return true;
            }
        }
        Error(0, "--kind " + options.kind + " : genre inconnu (text, picture, audio ou video)");
        return false;
    }

private:
    QuizDraft& m_draft;
};

// Where each known column is, by the header row; warns of the others.
class TableColumns {
public:
    TableColumns(const TableRow& header, DraftBuilder& builder)
    {
        for (size_t i = 0; i < header.fields.size(); ++i) {
            const Column column = ColumnOf(header.fields[i]);
            if (column == Column::UNKNOWN)
                builder.Warn(header.line, "colonne « " + Trimmed(header.fields[i]) + " » inconnue, elle est ignorée");
            else if (m_index[static_cast<int>(column)] < 0)
                m_index[static_cast<int>(column)] = static_cast<int>(i);
        }
    }

    bool Has(Column column) const { return m_index[static_cast<int>(column)] >= 0; }

    std::string Field(const TableRow& row, Column column) const
    {
        const int i = m_index[static_cast<int>(column)];
        return i >= 0 && static_cast<size_t>(i) < row.fields.size() ? Trimmed(row.fields[static_cast<size_t>(i)])
                                                                    : std::string();
    }

private:
    int m_index[COLUMN_COUNT] = {-1, -1, -1, -1, -1, -1, -1, -1, -1};
};

int32_t RevealOf(bool text, bool picture)
{
    return text && picture ? REVEAL_TEXT_AND_PICTURE : text ? REVEAL_TEXT : picture ? REVEAL_PICTURE : REVEAL_NOTHING;
}

// Extra fields are tolerated when empty: spreadsheets leave trailing separators.
size_t UsedFieldCount(const TableRow& row)
{
    size_t count = row.fields.size();
    while (count > 0 && Trimmed(row.fields[count - 1]).empty())
        --count;
    return count;
}

SourceQuestion QuestionFromRow(const TableRow& row, const TableColumns& columns)
{
    SourceQuestion question;
    question.line = question.pictureLine = question.answerPictureLine = row.line;
    question.answers[0] = columns.Field(row, Column::ANSWER1);
    question.answers[1] = columns.Field(row, Column::ANSWER2);
    question.variants[0] = VariantsOf(columns.Field(row, Column::VARIANTS1));
    question.variants[1] = VariantsOf(columns.Field(row, Column::VARIANTS2));
    question.text = columns.Field(row, Column::TEXT);
    question.picture = columns.Field(row, Column::PICTURE);
    question.revealText = columns.Field(row, Column::REVEAL_TEXT);
    question.answerPicture = columns.Field(row, Column::ANSWER_PICTURE);
    return question;
}

void CheckQuestionTexts(DraftBuilder& builder, const SourceQuestion& question, int answers)
{
    for (int p = 0; p < answers; ++p) {
        builder.CheckText(question.line, "réponse " + std::to_string(p + 1), question.answers[p]);
        for (const std::string& variant : question.variants[p])
            builder.CheckText(question.line, "autre réponse " + Quoted(variant), variant);
    }
    builder.CheckText(question.line, "question", question.text);
    builder.CheckText(question.line, "texte dévoilé", question.revealText);
    for (const std::string* name : {&question.picture, &question.answerPicture}) {
        const std::string problem = FileNameProblem(*name);
        if (!problem.empty())
            builder.Error(question.line, *name + " : " + problem);
    }
}

int32_t KindOfTable(const std::vector<SourceQuestion>& questions)
{
    for (const SourceQuestion& question : questions) {
        if (!question.picture.empty()) {
            const int32_t kind = KindOfExtension(LowerExtension(question.picture));
            return kind < 0 ? MEDIA_PICTURE : kind;
        }
    }
    return MEDIA_TEXT;
}

// The answer a file's name gives: a leading number with its separator dropped ("01 - ", "01_",
// "1."), unless nothing would be left, then "_" read as a space.
std::string AnswerOfName(const std::string& stem)
{
    size_t digits = 0;
    while (digits < stem.size() && stem[digits] >= '0' && stem[digits] <= '9')
        ++digits;
    std::string answer = stem;
    const size_t separator = stem.find_first_not_of(' ', digits);
    if (digits > 0 && separator != std::string::npos && std::string("-_.").find(stem[separator]) != std::string::npos) {
        const size_t rest = stem.find_first_not_of(" _", separator + 1);
        if (rest != std::string::npos)
            answer = stem.substr(rest);
    }
    std::replace(answer.begin(), answer.end(), '_', ' ');
    return Trimmed(answer);
}

std::string StemOf(const std::string& name)
{
    return name.substr(0, name.find_last_of('.'));
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

char LowerAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

constexpr char ANSWER_PICTURE_MARK[] = "-reponse";
constexpr size_t ANSWER_PICTURE_MARK_LENGTH = sizeof(ANSWER_PICTURE_MARK) - 1;

// The folded name of the question whose answer picture this is, or "" for a question's own file.
std::string AnswerPictureOwner(const std::string& name)
{
    const std::string folded = FoldName(StemOf(name));
    if (folded.size() <= ANSWER_PICTURE_MARK_LENGTH ||
        folded.compare(folded.size() - ANSWER_PICTURE_MARK_LENGTH, ANSWER_PICTURE_MARK_LENGTH, ANSWER_PICTURE_MARK) !=
            0)
        return {};
    return folded.substr(0, folded.size() - ANSWER_PICTURE_MARK_LENGTH);
}

} // namespace

std::vector<std::string> VariantsOf(const std::string& cell)
{
    std::vector<std::string> variants;
    for (size_t start = 0; start <= cell.size();) {
        const size_t end = std::min(cell.find('|', start), cell.size());
        const std::string variant = Trimmed(cell.substr(start, end - start));
        if (!variant.empty())
            variants.push_back(variant);
        start = end + 1;
    }
    return variants;
}

bool QuizDraft::HasErrors() const
{
    return std::any_of(diagnostics.begin(), diagnostics.end(), [](const Diagnostic& d) { return !d.warning; });
}

QuizDraft DraftFromTable(const TableRead& table, const DraftOptions& options)
{
    QuizDraft draft;
    DraftBuilder builder(draft);
    QuizSource& quiz = draft.quiz;
    quiz.title = options.title;
    if (table.rows.empty()) {
        builder.Error(0,
                      "le tableau est vide : la première ligne doit nommer les colonnes (question, réponse, image...)");
        return draft;
    }
    const TableRow& header = table.rows.front();
    const TableColumns columns(header, builder);
    if (!columns.Has(Column::ANSWER1)) {
        builder.Error(header.line, "aucune colonne « réponse » dans la première ligne");
        return draft;
    }
    if (table.rows.size() == 1)
        builder.Error(header.line, "le tableau n'a aucune question sous sa ligne de titres");

    for (size_t r = 1; r < table.rows.size(); ++r) {
        const TableRow& row = table.rows[r];
        if (UsedFieldCount(row) > header.fields.size()) {
            builder.Error(row.line, std::to_string(UsedFieldCount(row)) + " champs, la ligne de titres n'en a que " +
                                        std::to_string(header.fields.size()));
            continue;
        }
        quiz.questions.push_back(QuestionFromRow(row, columns));
    }
    quiz.answersPerQuestion = columns.Has(Column::ANSWER2) ? 2 : 1;
    quiz.revealMode = RevealOf(columns.Has(Column::REVEAL_TEXT), columns.Has(Column::ANSWER_PICTURE));
    builder.SetKind(options, KindOfTable(quiz.questions));
    for (const SourceQuestion& question : quiz.questions)
        CheckQuestionTexts(builder, question, quiz.answersPerQuestion);
    // Said now rather than left to check: the column was filled for nothing.
    if (quiz.mediaKind == MEDIA_TEXT && columns.Has(Column::ANSWER2))
        builder.Warn(header.line, "un quiz texte n'a qu'une case de réponse par question : le lecteur ne demandera "
                                  "jamais les réponses de la colonne « réponse 2 »");
    if (columns.Has(Column::VARIANTS2) && !columns.Has(Column::ANSWER2))
        builder.Warn(header.line, "colonne « autres réponses 2 » sans colonne « réponse 2 », elle est ignorée");
    return draft;
}

bool NaturalLess(const std::string& a, const std::string& b)
{
    size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        if (IsDigit(a[i]) && IsDigit(b[j])) {
            size_t endA = i, endB = j;
            while (endA < a.size() && IsDigit(a[endA]))
                ++endA;
            while (endB < b.size() && IsDigit(b[endB]))
                ++endB;
            while (i + 1 < endA && a[i] == '0')
                ++i;
            while (j + 1 < endB && b[j] == '0')
                ++j;
            if (endA - i != endB - j)
                return endA - i < endB - j;
            const int order = a.compare(i, endA - i, b, j, endB - j);
            if (order != 0)
                return order < 0;
            i = endA, j = endB;
            continue;
        }
        const auto ca = static_cast<unsigned char>(LowerAscii(a[i++]));
        const auto cb = static_cast<unsigned char>(LowerAscii(b[j++]));
        if (ca != cb)
            return ca < cb;
    }
    if (a.size() - i != b.size() - j)
        return a.size() - i < b.size() - j;
    // Equal but for case or leading zeros: any fixed order will do.
    return a < b;
}

QuizDraft DraftFromPictureFolder(const std::vector<std::string>& fileNames, const DraftOptions& options)
{
    QuizDraft draft;
    DraftBuilder builder(draft);
    QuizSource& quiz = draft.quiz;
    quiz.title = options.title;
    std::vector<std::string> names = fileNames;
    std::sort(names.begin(), names.end(), NaturalLess);

    std::vector<std::string> questionFiles;
    std::vector<std::pair<std::string, std::string>> answerPictures; // owner, file
    for (const std::string& name : names) {
        const int32_t kind = KindOfExtension(LowerExtension(name));
        const std::string owner = AnswerPictureOwner(name);
        if (kind == MEDIA_PICTURE && !owner.empty())
            answerPictures.emplace_back(owner, name);
        else if (kind >= 0)
            questionFiles.push_back(name);
    }
    if (questionFiles.empty()) {
        builder.Error(0, "aucune image (JPEG, PNG, GIF, BMP, TIFF) ni clip (MP3, AVI) dans ce dossier");
        return draft;
    }
    if (!builder.SetKind(options, KindOfExtension(LowerExtension(questionFiles.front()))))
        return draft;

    for (const std::string& name : questionFiles) {
        if (KindOfExtension(LowerExtension(name)) != quiz.mediaKind) {
            builder.Error(0, name + " : ce fichier ne va pas dans un quiz \"" + MEDIA_KIND_NAMES[quiz.mediaKind] +
                                 "\" (un seul genre par quiz)");
            continue;
        }
        SourceQuestion question;
        question.answers[0] = AnswerOfName(StemOf(name));
        question.picture = name;
        const std::string key = FoldName(StemOf(name));
        for (auto& [owner, file] : answerPictures) {
            if (owner == key && !file.empty()) {
                question.answerPicture = file;
                file.clear();
            }
        }
        builder.CheckText(0, name + " : réponse", question.answers[0]);
        quiz.questions.push_back(question);
    }
    for (const auto& [owner, file] : answerPictures) {
        if (!file.empty())
            builder.Warn(0, file + " : aucune question du même nom, cette image-réponse est ignorée");
        else
            quiz.revealMode = REVEAL_PICTURE;
    }
    return draft;
}
