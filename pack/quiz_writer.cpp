#include "pack/quiz_writer.h"

#include <cstdio>

#include "pack/cp1252.h"

namespace {

std::string Text(const std::string& cp1252)
{
    return TomlQuote(Cp1252ToUtf8(cp1252));
}

std::string TextList(const std::string* texts, size_t count)
{
    std::string list = "[";
    for (size_t i = 0; i < count; ++i)
        list += (i ? ", " : "") + Text(texts[i]);
    return list + "]";
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
    std::string out;
    out += "title = " + Text(quiz.title) + "\n";
    out += "creator = " + Text(quiz.creator) + "\n";
    out += "explanation = " + Text(quiz.explanation) + "\n";
    out += std::string("kind = \"") + MEDIA_KIND_NAMES[quiz.mediaKind & 3] + "\"\n";
    out += "answers_per_question = " + std::to_string(quiz.answersPerQuestion) + "\n";
    if (!quiz.answerLabels[0].empty() || !quiz.answerLabels[1].empty())
        out += "answer_labels = " + TextList(quiz.answerLabels, 2) + "\n";
    out += std::string("reveal = \"") + REVEAL_MODE_NAMES[quiz.revealMode & 3] + "\"\n";
    char colour[16];
    std::snprintf(colour, sizeof(colour), "#%02X%02X%02X", quiz.red, quiz.green, quiz.blue);
    out += std::string("colour = \"") + colour + "\"\n";
    out += "codes = [\n";
    for (const std::string& code : quiz.codes)
        out += "    " + Text(code) + ",\n";
    out += "]\n";

    const size_t answerCount = quiz.answersPerQuestion == 2 ? 2 : 1;
    for (const SourceQuestion& question : quiz.questions) {
        out += "\n[[question]]\n";
        out += "answers = " + TextList(question.answers, answerCount) + "\n";
        if (!question.text.empty() || quiz.mediaKind == MEDIA_TEXT)
            out += "text = " + Text(question.text) + "\n";
        if (!question.picture.empty())
            out += "picture = " + TomlQuote(question.picture) + "\n";
        if (!question.revealText.empty())
            out += "reveal_text = " + Text(question.revealText) + "\n";
        if (!question.answerPicture.empty())
            out += "answer_picture = " + TomlQuote(question.answerPicture) + "\n";
    }
    return out;
}
