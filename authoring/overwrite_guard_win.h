// Keeps build and extract from writing over what is not theirs: a quiz's own inputs, files that
// are no quiz, read-only files, and the sources a quiz maker wrote by hand.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

// A file that build reads, with its role for messages: "la source du quiz", "le lecteur"...
struct InputFile {
    std::filesystem::path path;
    std::string role;
};

// build may write output only in a folder that exists, over nothing, or over an earlier quiz (or a
// player) that is none of its inputs and not read-only. False with a French message otherwise.
bool CheckQuizOutput(const std::filesystem::path& output, const std::vector<InputFile>& inputs, std::string* error);

// extract writes folder/quiz.toml and folder/<mediaFolder>/question-01.jpg and the like. A folder
// that already holds a quiz.toml or such media files is refused unless force; with force, the
// earlier media files are removed first, so that none is left among the new ones. False with a
// French message when the folder cannot be used.
bool PrepareExtractFolder(const std::filesystem::path& folder, const std::string& mediaFolder, bool force,
                          std::string* error);
