#include "authoring/quiz_writer.h"

#include <algorithm>
#include <cstdio>

#include "authoring/paths.h"

namespace {

// kind, answers_per_question, answer_labels, reveal and accents when they are forgiven.
std::string Settings(const QuizSource& quiz)
{
    std::string out = std::string("kind = \"") + MEDIA_KIND_NAMES[quiz.mediaKind & 3] + "\"\n";
    out += "answers_per_question = " + std::to_string(quiz.answersPerQuestion) + "\n";
    if (!quiz.answerLabels[0].empty() || !quiz.answerLabels[1].empty())
        out += "answer_labels = [" + TomlQuote(quiz.answerLabels[0]) + ", " + TomlQuote(quiz.answerLabels[1]) + "]\n";
    out += std::string("reveal = \"") + REVEAL_MODE_NAMES[quiz.revealMode & 3] + "\"\n";
    return quiz.accentsForgiven ? out + "accents = \"" + ACCENTS_FORGIVEN + "\"\n" : out;
}

// The stored answer alone, or the list of it and its variants.
std::string Answer(const std::string& stored, const std::vector<std::string>& variants)
{
    if (variants.empty())
        return TomlQuote(stored);
    std::string list = "[" + TomlQuote(stored);
    for (const std::string& variant : variants)
        list += ", " + TomlQuote(variant);
    return list + "]";
}

std::string FileName(const std::string& folder, const std::string& name)
{
    return TomlQuote(folder.empty() || IsAbsolutePath(name) ? name : folder + "/" + name);
}

// The [[question]] blocks.
std::string Questions(const QuizSource& quiz, const std::string& folder)
{
    std::string out;
    const size_t answerCount = quiz.answersPerQuestion == 2 ? 2 : 1;
    for (const SourceQuestion& question : quiz.questions) {
        out += "\n[[question]]\nanswers = [";
        for (size_t i = 0; i < answerCount; ++i)
            out += (i ? ", " : "") + Answer(question.answers[i], question.variants[i]);
        out += "]\n";
        if (!question.text.empty() || quiz.mediaKind == MEDIA_TEXT)
            out += "text = " + TomlQuote(question.text) + "\n";
        if (!question.picture.empty())
            out += "picture = " + FileName(folder, question.picture) + "\n";
        if (!question.revealText.empty())
            out += "reveal_text = " + TomlQuote(question.revealText) + "\n";
        if (!question.answerPicture.empty())
            out += "answer_picture = " + FileName(folder, question.answerPicture) + "\n";
    }
    return out;
}

std::string DraftHeader(const QuizSource& quiz, const SourceWriting& writing)
{
    return "# Quiz préparé par zelbo-pack new à partir de " + writing.origin +
           ".\n"
           "# À compléter : title (le titre), creator (votre nom) et, si vous le voulez,\n"
           "# codes (un code de récompense par score : le premier à 1, le deuxième à 2...).\n"
           "# Puis : zelbo-pack check " +
           writing.outputName + "\n" + "title = " + TomlQuote(quiz.title) + "\n" + "creator = \"\"\n" +
           "# codes = [\"BRONZE\", \"ARGENT\", \"OR\"]\n";
}

std::string FullHeader(const QuizSource& quiz)
{
    return "title = " + TomlQuote(quiz.title) + "\n" + "creator = " + TomlQuote(quiz.creator) + "\n" +
           "explanation = " + TomlQuote(quiz.explanation) + "\n";
}

std::string ColourAndCodes(const QuizSource& quiz)
{
    char colour[16];
    std::snprintf(colour, sizeof(colour), "#%02X%02X%02X", quiz.red, quiz.green, quiz.blue);
    std::string out = std::string("colour = \"") + colour + "\"\n";
    // Codes are optional: a quiz without any is written without the list, which check would
    // otherwise count against the questions and warn about.
    if (std::all_of(quiz.codes.begin(), quiz.codes.end(), [](const std::string& code) { return code.empty(); }))
        return out;
    out += "codes = [\n";
    for (const std::string& code : quiz.codes)
        out += "    " + TomlQuote(code) + ",\n";
    return out + "]\n";
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

std::string WriteQuizSource(const QuizSource& quiz, const SourceWriting& writing)
{
    if (writing.draft)
        return DraftHeader(quiz, writing) + Settings(quiz) + Questions(quiz, writing.folder);
    return FullHeader(quiz) + Settings(quiz) + ColourAndCodes(quiz) + Questions(quiz, writing.folder);
}
