// A quiz executable built from its source: a copy of the player that carries the quiz's content,
// codes, pictures and clips, written only when everything succeeded.
#pragma once

#include <atomic>
#include <filesystem>
#include <string>
#include <vector>

#include "authoring/quiz_preparation_win.h"

enum class BuildOutcome {
    WRITTEN,
    SOURCE_UNREADABLE, // the source file cannot be read
    PLAYER_UNREADABLE, // the player cannot be read as a program
    NOT_A_PLAYER,      // the player is a program, but no Zelbo player
    OUTPUT_REFUSED,    // the output would replace what is no quiz, or a file the quiz is made from
    SOURCE_ERRORS,     // the check found errors
    CANCELLED,
    NOT_WRITTEN, // the executable could not be written; the output is as it was
};

struct QuizBuild {
    BuildOutcome outcome = BuildOutcome::NOT_WRITTEN;
    QuizCheck check;                   // empty for SOURCE_UNREADABLE; the source's text only when refused
    std::string error;                 // French, for every outcome but WRITTEN, SOURCE_ERRORS and CANCELLED
    std::vector<std::string> warnings; // French: resources of the player left out
};

// Reads the source, the player (zelbo.exe or a quiz built before) and where the output would go,
// then the pictures and clips as CheckQuizSource does, then writes output: the same bytes as
// `zelbo-pack build` for the same source and player. progress and cancel as for CheckQuizSource.
QuizBuild BuildQuiz(const std::filesystem::path& source, const std::filesystem::path& player,
                    const std::filesystem::path& output, const PreparationOptions& options,
                    const MediaProgress& progress, const std::atomic<bool>* cancel);
