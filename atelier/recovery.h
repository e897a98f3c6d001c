// Recovery copies of unsaved work: written every minute while the quiz has unsaved changes, beside
// its source (or in the user's local application data for a quiz never saved), and offered back at
// the next start when the editor that wrote them ended without removing them.
#pragma once

#include <string>

// The copy kept beside a source: "quiz.toml" -> "quiz.toml.recuperation".
std::string RecoveryPathBeside(const std::string& sourcePath);

// In the editor's own folder of the local application data: the copy of a quiz never saved, and
// the note that tells where the copy of the editor numbered process is, for the next start.
std::string NewQuizRecoveryName(unsigned long process);
std::string RecoveryNoteName(unsigned long process);
// The process number of a note's name, or 0 when the name is no note's.
unsigned long ProcessOfRecoveryNote(const std::string& name);

// The folder where the editor numbered process builds and starts the quiz it tries, among the
// temporary files; and the process number of such a folder's name, 0 for any other name.
std::string TryFolderName(unsigned long process);
unsigned long ProcessOfTryFolder(const std::string& name);

// A copy is the source text after one comment line naming the source it stands for (none for a
// quiz never saved), so that it can be opened as a source by any means.
std::string RecoveryText(const std::string& sourcePath, const std::string& sourceText);
struct RecoveredWork {
    bool ok = false;
    std::string sourcePath; // empty for a quiz never saved
    std::string sourceText;
};
RecoveredWork ReadRecoveryText(const std::string& text);
