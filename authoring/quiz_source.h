// The quiz makers' source file (UTF-8 TOML) read into the quiz it describes, with every problem
// reported against the line it comes from and the place in the quiz it concerns.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "authoring/player_fields.h"
#include "content/quiz_limits.h"

// Texts and file names are UTF-8, as the quiz maker writes them, even those the player cannot hold
// (which the check reports); the payloads turn the texts into the player's code page 1252. File
// names are relative to the source's folder unless absolute.
struct SourceQuestion {
    int line = 0; // line of the question's [[question]] header
    std::string answers[2];
    // The other texts each answer box accepts beside its stored answer, in their order.
    std::vector<std::string> variants[2];
    std::string text;
    std::string revealText;
    std::string picture;
    int pictureLine = 0;
    std::string answerPicture;
    int answerPictureLine = 0;
};

struct QuizSource {
    std::string title;
    std::string creator;
    std::string explanation;
    std::string answerLabels[2];
    int32_t mediaKind = MEDIA_TEXT;
    int32_t answersPerQuestion = 1;
    int32_t revealMode = REVEAL_NOTHING;
    bool accentsForgiven = false; // the grading takes accented letters for their plain letters
    // The player's own colour when the source names none.
    uint8_t red = 90;
    uint8_t green = 95;
    uint8_t blue = 150;
    std::vector<std::string> codes;
    std::vector<SourceQuestion> questions;
};

// Where a problem lies in the quiz, for an editor to show it on its question and field.
enum class SourceField {
    NONE, // the question, or the quiz's settings, as a whole; the whole file when the question is 0
    TITLE,
    CREATOR,
    EXPLANATION,
    KIND,
    ANSWERS_PER_QUESTION,
    ANSWER_LABEL, // number: 1 or 2; 0 for the list
    REVEAL,
    COLOUR,
    CODE,   // number: from 1; 0 for the list
    ANSWER, // number: 1 or 2; 0 for the question's answers as a whole
    TEXT,
    PICTURE,
    REVEAL_TEXT,
    ANSWER_PICTURE,
    ACCENTS,
    VARIANTS, // number: 1 or 2, the answer whose other accepted texts they are
};

struct SourcePlace {
    int question = 0; // from 1; 0 for the quiz's settings
    SourceField field = SourceField::NONE;
    int number = 0;
};

struct Diagnostic {
    bool warning;
    int line;            // 0: the file as a whole
    std::string message; // UTF-8, French, without the file and line prefix
    int column = 0;      // 0: the line as a whole
    SourcePlace place = {};
};

// A text the player shows in a field of fixed size, kept with its line and place for the check of
// its width, which needs the player's fonts.
struct ShownText {
    PlayerField field;
    int line;
    std::string what; // French: "title", "le code 3"
    std::string text; // code page 1252
    SourcePlace place;
};

struct SourceParse {
    QuizSource quiz;                     // its texts as written, also those the check refuses
    std::vector<Diagnostic> diagnostics; // in the order of their lines
    std::vector<ShownText> shownTexts;
    bool HasErrors() const;
};

// Reads and validates the source file's bytes: UTF-8 (with or without a byte-order mark) or UTF-16
// with its mark. Every problem found is reported, not only the first; the quiz is usable only when
// no error (warnings aside) was found.
SourceParse ParseQuizSource(const std::string& fileBytes);

// Diagnostics in the order of their lines, those about the file as a whole first; the order among
// those of one line is kept.
void SortByLine(std::vector<Diagnostic>& diagnostics);

// What is wrong with a file name written in a quiz: a control character (a line break, a tab...),
// which no file name holds. Returns the problem in French, or "" when there is none.
std::string FileNameProblem(const std::string& name);

// Converts one text of the quiz to code page 1252 into *cp1252 and checks that the player can hold
// it (codes alone may hold "|"). Returns the problem in French, or "" when the text is good.
std::string CheckQuizText(const std::string& utf8, bool isCode, std::string* cp1252);

// "quiz.toml:12: erreur : ..." or "quiz.toml:12:7: erreur : ..." for the console.
std::string FormatDiagnostic(const std::string& fileName, const Diagnostic& diagnostic);

// Key names of the source's settings, shared with the writer of sources.
extern const char* const MEDIA_KIND_NAMES[4];
extern const char* const REVEAL_MODE_NAMES[4];

// The values of accents: "stricts" (the default) and "tolérés", which may also be written "toleres"
// on a keyboard without French accents. Whether value is one of them, *forgiven telling which.
extern const char ACCENTS_STRICT[];
extern const char ACCENTS_FORGIVEN[];
bool ReadAccentsValue(const std::string& value, bool* forgiven);
