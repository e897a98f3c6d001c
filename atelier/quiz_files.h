// Where the editor meets the library that knows quiz sources: a source read into the quiz being
// edited and written back, pictures turned into questions as zelbo-pack new turns them, and the
// names of the places the check's problems lie in.
#pragma once

#include <string>
#include <vector>

#include "authoring/quiz_source.h"

// The quiz of a parsed source as the editor holds it: its file names resolved against the
// source's folder.
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

// "Titre", "Réponse 2", "Code 3"...: a problem's field as the editor's form names it; "" for a
// question or the settings as a whole.
std::string FieldName(const SourcePlace& place);
