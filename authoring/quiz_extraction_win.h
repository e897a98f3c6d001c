// A quiz executable read back into its source and its media files, which build again into the same
// content.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "authoring/quiz_source.h"

// The folder, beside the source, that receives the pictures and clips.
extern const char EXTRACTED_MEDIA_FOLDER[];

struct QuizExtraction {
    bool ok = false;
    std::string error;                 // French, when not ok
    std::vector<std::string> warnings; // French: codes that cannot be read, resources of no question
    QuizSource quiz;                   // as written into folder/quiz.toml; file names relative to it
    size_t filesWritten = 0;
};

// Writes folder/quiz.toml and folder/medias/question-01.jpg and the like. A folder that already
// holds a quiz.toml or such media files is refused unless force, which replaces them all.
QuizExtraction ExtractQuiz(const std::filesystem::path& quiz, const std::filesystem::path& folder, bool force);
