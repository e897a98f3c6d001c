// Drafts from the files quiz makers already have: a table saved by a spreadsheet, a folder of
// pictures or clips (see quiz_draft.h for what each gives).
#pragma once

#include <filesystem>
#include <string>

#include "authoring/quiz_draft.h"

// The table's text read in whichever encoding it was saved, its rows drafted, and the files it names
// looked for from its folder (their names stay as the table writes them). False with a French
// message naming the table as given when the file is missing, empty or no text; what is wrong
// inside it is among the draft's diagnostics, with the table's lines.
bool DraftFromTableFile(const std::filesystem::path& table, const DraftOptions& options, QuizDraft* draft,
                        std::string* error);

// One question per picture or clip of the folder. False with a French message when it is no folder.
bool DraftFromFolder(const std::filesystem::path& folder, const DraftOptions& options, QuizDraft* draft,
                     std::string* error);
