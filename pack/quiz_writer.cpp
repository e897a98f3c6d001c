#include "pack/quiz_writer.h"

#include <cstdio>

#include "pack/cp1252.h"
#include "pack/paths.h"

namespace {

std::string Text(const std::string& cp1252)
{
    return TomlQuote(Cp1252ToUtf8(cp1252));
}

// kind, answers_per_question, answer_labels and reveal.
std::string Settings(const QuizSource& quiz, std::string (*text)(const std::string&))
{
    std::string out = std::string("kind = \"") + MEDIA_KIND_NAMES[quiz.mediaKind & 3] + "\"\n";
    out += "answers_per_question = " + std::to_string(quiz.answersPerQuestion) + "\n";
    if (!quiz.answerLabels[0].empty() || !quiz.answerLabels[1].empty())
        out += "answer_labels = [" + text(quiz.answerLabels[0]) + ", " + text(quiz.answerLabels[1]) + "]\n";
    return out + "reveal = \"" + REVEAL_MODE_NAMES[quiz.revealMode & 3] + "\"\n";
}

std::string FileName(const std::string& folder, const std::string& name)
{
    return TomlQuote(folder.empty() || IsAbsolutePath(name) ? name : folder + "/" + name);
}

// The [[question]] blocks; text quotes a text as the quiz holds it.
std::string Questions(const QuizSource& quiz, std::string (*text)(const std::string&), const std::string& folder)
{
    std::string out;
    const size_t answerCount = quiz.answersPerQuestion == 2 ? 2 : 1;
    for (const SourceQuestion& question : quiz.questions) {
        out += "\n[[question]]\nanswers = [";
        for (size_t i = 0; i < answerCount; ++i)
            out += (i ? ", " : "") + text(question.answers[i]);
        out += "]\n";
        if (!question.text.empty() || quiz.mediaKind == MEDIA_TEXT)
            out += "text = " + text(question.text) + "\n";
        if (!question.picture.empty())
            out += "picture = " + FileName(folder, question.picture) + "\n";
        if (!question.revealText.empty())
            out += "reveal_text = " + text(question.revealText) + "\n";
        if (!question.answerPicture.empty())
            out += "answer_picture = " + FileName(folder, question.answerPicture) + "\n";
    }
    return out;
}

// Every setting, then the questions; text quotes a text as the quiz holds it. An empty list of
// codes is written only when asked: a quiz without codes need not say so.
std::string WholeSource(const QuizSource& quiz, std::string (*text)(const std::string&), bool writeCodes)
{
    std::string out;
    out += "title = " + text(quiz.title) + "\n";
    out += "creator = " + text(quiz.creator) + "\n";
    out += "explanation = " + text(quiz.explanation) + "\n";
    out += Settings(quiz, text);
    char colour[16];
    std::snprintf(colour, sizeof(colour), "#%02X%02X%02X", quiz.red, quiz.green, quiz.blue);
    out += std::string("colour = \"") + colour + "\"\n";
    if (writeCodes) {
        out += "codes = [\n";
        for (const std::string& code : quiz.codes)
            out += "    " + text(code) + ",\n";
        out += "]\n";
    }
    return out + Questions(quiz, text, "");
}

} // namespace

std::string TomlQuote(const std::string& utf8)
{
    std::string quoted = "\"";
    for (size_t i = 0; i < utf8.size(); ++i) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        if (c == '"' || c == '\\') {
            quoted += '\\';
            quoted += static_cast<char>(c);
        } else if (c == '\t') {
            quoted += "\\t";
        } else if (c < 0x20 || c == 0x7F) {
            char escape[8];
            std::snprintf(escape, sizeof(escape), "\\u%04X", c);
            quoted += escape;
        } else if (c == 0xC2 && i + 1 < utf8.size() && static_cast<unsigned char>(utf8[i + 1]) < 0xA0) {
            // The C1 controls (the bytes that code page 1252 leaves undefined) are legal in TOML but
            // invisible in an editor.
            char escape[8];
            std::snprintf(escape, sizeof(escape), "\\u%04X", static_cast<unsigned char>(utf8[++i]));
            quoted += escape;
        } else {
            quoted += static_cast<char>(c);
        }
    }
    return quoted + "\"";
}

std::string WriteQuizSource(const QuizSource& quiz)
{
    return WholeSource(quiz, Text, true);
}

std::string WriteUtf8QuizSource(const QuizSource& utf8Quiz)
{
    return WholeSource(utf8Quiz, TomlQuote, !utf8Quiz.codes.empty());
}

std::string WriteQuizDraft(const QuizSource& utf8Quiz, const std::string& origin, const std::string& outputName,
                           const std::string& folder)
{
    std::string out = "# Quiz pr\xC3\xA9par\xC3\xA9 par zelbo-pack new \xC3\xA0 partir de " + origin +
                      ".\n"
                      "# \xC3\x80 compl\xC3\xA9ter : title (le titre), creator (votre nom) et, si vous le voulez,\n"
                      "# codes (un code de r\xC3\xA9"
                      "compense par score : le premier \xC3\xA0 1, le deuxi\xC3\xA8me \xC3\xA0 2...).\n"
                      "# Puis : zelbo-pack check " +
                      outputName + "\n";
    out += "title = " + TomlQuote(utf8Quiz.title) + "\n";
    out += "creator = \"\"\n";
    out += "# codes = [\"BRONZE\", \"ARGENT\", \"OR\"]\n";
    out += Settings(utf8Quiz, TomlQuote);
    return out + Questions(utf8Quiz, TomlQuote, folder);
}
