#include "atelier/quiz_files.h"

#include <filesystem>
#include <map>

#include "authoring/paths.h"
#include "authoring/quiz_draft.h"
#include "authoring/quiz_writer.h"

namespace {

std::string FileNameOf(const std::string& path)
{
    return path.substr(path.find_last_of("/\\") + 1);
}

} // namespace

QuizSource EditableQuiz(const QuizSource& parsed, const std::string& sourceFolder)
{
    QuizSource quiz = parsed;
    for (SourceQuestion& question : quiz.questions)
        for (std::string* name : {&question.picture, &question.answerPicture})
            if (!name->empty())
                *name = std::filesystem::u8path(ResolvePath(sourceFolder, *name)).lexically_normal().u8string();
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
    return WriteQuizSource(quiz);
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

std::string FieldName(const SourcePlace& place)
{
    const std::string number = place.number > 0 ? " " + std::to_string(place.number) : "s";
    switch (place.field) {
    case SourceField::NONE:
        return "";
    case SourceField::TITLE:
        return "Titre";
    case SourceField::CREATOR:
        return "Auteur";
    case SourceField::EXPLANATION:
        return "Consigne";
    case SourceField::KIND:
        return "Genre";
    case SourceField::ANSWERS_PER_QUESTION:
        return "Réponses par question";
    case SourceField::ANSWER_LABEL:
        return "Légende" + number;
    case SourceField::REVEAL:
        return "Dévoile";
    case SourceField::COLOUR:
        return "Couleur";
    case SourceField::ACCENTS:
        return "Accents";
    case SourceField::CODE:
        return "Code" + number;
    case SourceField::ANSWER:
        return "Réponse" + number;
    case SourceField::VARIANTS:
        return "Autres réponses" + (place.number > 0 ? number : "");
    case SourceField::TEXT:
        return "Texte de la question";
    case SourceField::PICTURE:
        return "Image ou clip";
    case SourceField::REVEAL_TEXT:
        return "Texte dévoilé";
    case SourceField::ANSWER_PICTURE:
        break;
    }
    return "Image dévoilée";
}
