// Where the editor meets the library that knows quiz sources: a source read into the quiz being
// edited and written back, pictures and tables turned into questions as zelbo-pack new turns them,
// and the check's problems placed on the question and field they concern.
#pragma once

#include <string>
#include <vector>

#include "pack/quiz_source.h"

// The quiz of a parsed source as the editor holds it: texts back in UTF-8, file names resolved
// against the source's folder.
QuizSource EditableQuiz(const QuizSource& parsed, const std::string& sourceFolder);

// The source of an edited quiz as it would be saved in sourceFolder: file names relative to it
// (those on another drive stay whole). Empty folder: file names as they are.
std::string SourceTextFor(const QuizSource& edited, const std::string& sourceFolder);

// Questions for picture or clip files added or dropped (full paths), in name order, each answer
// and answer picture found from the names as zelbo-pack new --pictures finds them. kind: the quiz's
// kind, or -1 for a quiz that has no question yet, which takes the kind of the files.
struct FileQuestions {
    std::vector<SourceQuestion> questions;
    int32_t mediaKind = MEDIA_PICTURE;
    int32_t revealMode = REVEAL_NOTHING; // REVEAL_PICTURE when an answer picture was found
    std::vector<Diagnostic> problems;    // French, naming the file
};
FileQuestions QuestionsFromFiles(const std::vector<std::string>& paths, int32_t mediaKind);

// The field of the quiz a problem concerns.
enum class QuizField {
    NONE,
    TITLE,
    CREATOR,
    EXPLANATION,
    KIND,
    ANSWERS_PER_QUESTION,
    ANSWER_LABELS,
    REVEAL,
    COLOUR,
    CODE,
    ANSWER_1,
    ANSWER_2,
    TEXT,
    PICTURE,
    REVEAL_TEXT,
    ANSWER_PICTURE
};

struct Problem {
    bool warning = false;
    int question = 0; // from 1; 0 for the quiz's settings or the quiz as a whole
    QuizField field = QuizField::NONE;
    int code = 0; // the code's number, for QuizField::CODE
    std::string message;
};

// Places each diagnostic of sourceText (as SourceTextFor writes it) on its question and field.
std::vector<Problem> PlaceProblems(const std::string& sourceText, const std::vector<Diagnostic>& diagnostics);

// "Titre", "Réponse 2", "Code 3"...: the field as the editor's form names it.
std::string FieldName(QuizField field, int code);
