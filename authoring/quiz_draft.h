// A first quiz.toml, started from what quiz makers already have: a spreadsheet of questions and
// answers, or a folder of pictures named after what they show.
#pragma once

#include <string>
#include <vector>

#include "authoring/quiz_source.h"
#include "authoring/table_reader.h"

// The quiz as found. What the player cannot hold in its texts is reported here as a warning, and
// again by check against the new file. File names are
// those of the table (relative to the table's folder) or of the folder.
struct QuizDraft {
    QuizSource quiz;
    std::vector<Diagnostic> diagnostics; // lines of the table; 0 for a folder, whose messages name the file
    bool HasErrors() const;
};

struct DraftOptions {
    std::string title; // the quiz's title, never empty: --title, or the name of the table or folder
    std::string kind;  // "text", "picture", "audio" or "video"; empty: found from the files
};

// The first row names the columns, matched without regard to case, accents or surrounding spaces:
// "question" or "texte", "réponse" or "réponse 1", "réponse 2", "image" or "fichier", "texte dévoilé",
// "image dévoilée", "autres réponses" (or "autres réponses 1") and "autres réponses 2", the other
// texts each answer accepts, separated by "|". A second answer column makes two answers per question
// (which a text quiz never asks: it is warned of); the files' extensions
// give the kind (.mp3 audio, .avi video, a picture otherwise; no file: text); the reveal columns
// give what a solved question reveals.
QuizDraft DraftFromTable(const TableRead& table, const DraftOptions& options);

// A cell of other accepted answers, "De Gaulle | Général de Gaulle": each trimmed, the empty ones
// left out. The editor reads its field of variants the same way.
std::vector<std::string> VariantsOf(const std::string& cell);

// One question per picture (JPEG, PNG, GIF, BMP, TIFF) or clip (MP3, AVI) among the folder's file
// names, in natural order ("2.jpg" before "10.jpg"). The answer is the name without its extension,
// "_" read as a space, a leading number with its separator ("01 - ", "01_", "1.") dropped. A file
// named like a question's followed by "-reponse" is that question's answer picture.
QuizDraft DraftFromPictureFolder(const std::vector<std::string>& fileNames, const DraftOptions& options);

// Natural order of file names: runs of digits compare by their value, the rest without regard to
// the case of a to z.
bool NaturalLess(const std::string& a, const std::string& b);
