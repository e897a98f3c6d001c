#include "atelier/quiz_files.h"

#include <filesystem>
#include <map>

#include "pack/cp1252.h"
#include "pack/paths.h"
#include "pack/quiz_draft.h"
#include "pack/quiz_writer.h"

namespace {

std::string FileNameOf(const std::string& path)
{
    return path.substr(path.find_last_of("/\\") + 1);
}

} // namespace

QuizSource EditableQuiz(const QuizSource& parsed, const std::string& sourceFolder)
{
    QuizSource quiz = parsed;
    for (std::string* text :
         {&quiz.title, &quiz.creator, &quiz.explanation, &quiz.answerLabels[0], &quiz.answerLabels[1]})
        *text = Cp1252ToUtf8(*text);
    for (std::string& code : quiz.codes)
        code = Cp1252ToUtf8(code);
    for (SourceQuestion& question : quiz.questions) {
        for (std::string* text : {&question.answers[0], &question.answers[1], &question.text, &question.revealText})
            *text = Cp1252ToUtf8(*text);
        for (std::string* name : {&question.picture, &question.answerPicture})
            if (!name->empty())
                *name = std::filesystem::u8path(ResolvePath(sourceFolder, *name)).lexically_normal().u8string();
    }
    return quiz;
}

std::string SourceTextFor(const QuizSource& edited, const std::string& sourceFolder)
{
    QuizSource quiz = edited;
    if (!sourceFolder.empty()) {
        for (SourceQuestion& question : quiz.questions)
            for (std::string* name : {&question.picture, &question.answerPicture})
                if (!name->empty())
                    *name = RelativePath(sourceFolder, *name);
    }
    return WriteUtf8QuizSource(quiz);
}

FileQuestions QuestionsFromFiles(const std::vector<std::string>& paths, int32_t mediaKind)
{
    std::map<std::string, std::string> pathOfName;
    std::vector<std::string> names;
    for (const std::string& path : paths) {
        names.push_back(FileNameOf(path));
        pathOfName[names.back()] = path;
    }
    // The title is the draft's only required option; the questions alone are taken.
    QuizDraft draft = DraftFromPictureFolder(names, {"-", mediaKind < 0 ? "" : MEDIA_KIND_NAMES[mediaKind & 3]});
    FileQuestions result;
    result.mediaKind = draft.quiz.mediaKind;
    result.revealMode = draft.quiz.revealMode;
    result.problems = std::move(draft.diagnostics);
    for (SourceQuestion& question : draft.quiz.questions) {
        for (std::string* name : {&question.picture, &question.answerPicture})
            if (!name->empty())
                *name = pathOfName[*name];
        result.questions.push_back(std::move(question));
    }
    return result;
}

std::vector<Problem> PlaceProblems(const std::string& sourceText, const std::vector<Diagnostic>& diagnostics)
{
    // What each line of the written source holds: its question (0 before the first) and its key.
    struct LinePlace {
        int question;
        QuizField field;
        int code;
    };
    static const std::map<std::string, QuizField> KEYS = {
        {"title", QuizField::TITLE},
        {"creator", QuizField::CREATOR},
        {"explanation", QuizField::EXPLANATION},
        {"kind", QuizField::KIND},
        {"answers_per_question", QuizField::ANSWERS_PER_QUESTION},
        {"answer_labels", QuizField::ANSWER_LABELS},
        {"reveal", QuizField::REVEAL},
        {"colour", QuizField::COLOUR},
        {"codes", QuizField::CODE},
        {"answers", QuizField::ANSWER_1},
        {"text", QuizField::TEXT},
        {"picture", QuizField::PICTURE},
        {"reveal_text", QuizField::REVEAL_TEXT},
        {"answer_picture", QuizField::ANSWER_PICTURE},
    };
    std::vector<LinePlace> lines = {{0, QuizField::NONE, 0}}; // line 0: the file as a whole
    int question = 0, code = 0;
    bool inCodes = false;
    for (size_t start = 0; start < sourceText.size();) {
        size_t end = sourceText.find('\n', start);
        if (end == std::string::npos)
            end = sourceText.size();
        const std::string line = sourceText.substr(start, end - start);
        start = end + 1;
        if (inCodes && line == "]") {
            inCodes = false;
            lines.push_back({0, QuizField::CODE, 0});
            continue;
        }
        if (inCodes) {
            lines.push_back({0, QuizField::CODE, ++code});
            continue;
        }
        if (line == "[[question]]") {
            lines.push_back({++question, QuizField::NONE, 0});
            continue;
        }
        const auto key = KEYS.find(line.substr(0, line.find(" =")));
        inCodes = key != KEYS.end() && key->second == QuizField::CODE;
        lines.push_back({question, key == KEYS.end() ? QuizField::NONE : key->second, 0});
    }
    std::vector<Problem> problems;
    for (const Diagnostic& diagnostic : diagnostics) {
        const size_t index = static_cast<size_t>(diagnostic.line);
        const LinePlace place = index < lines.size() ? lines[index] : lines[0];
        Problem problem{diagnostic.warning, place.question, place.field, place.code, diagnostic.message};
        // Both answers stand on one line; the message names the second.
        if (problem.field == QuizField::ANSWER_1 && diagnostic.message.find(", réponse 2") != std::string::npos)
            problem.field = QuizField::ANSWER_2;
        problems.push_back(std::move(problem));
    }
    return problems;
}

std::string FieldName(QuizField field, int code)
{
    switch (field) {
    case QuizField::NONE:
        return "";
    case QuizField::TITLE:
        return "Titre";
    case QuizField::CREATOR:
        return "Auteur";
    case QuizField::EXPLANATION:
        return "Consigne";
    case QuizField::KIND:
        return "Genre";
    case QuizField::ANSWERS_PER_QUESTION:
        return "Réponses par question";
    case QuizField::ANSWER_LABELS:
        return "Légendes";
    case QuizField::REVEAL:
        return "Dévoile";
    case QuizField::COLOUR:
        return "Couleur";
    case QuizField::CODE:
        return code > 0 ? "Code " + std::to_string(code) : "Codes";
    case QuizField::ANSWER_1:
        return "Réponse 1";
    case QuizField::ANSWER_2:
        return "Réponse 2";
    case QuizField::TEXT:
        return "Texte de la question";
    case QuizField::PICTURE:
        return "Image ou clip";
    case QuizField::REVEAL_TEXT:
        return "Texte dévoilé";
    case QuizField::ANSWER_PICTURE:
        break;
    }
    return "Image dévoilée";
}
