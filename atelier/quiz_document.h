// The quiz being made in the editor, with every edit undoable. Texts are UTF-8, as the maker types
// them (what the player cannot hold is left for the check to report); file names are full paths,
// made relative to the source's folder only when the source is written.
#pragma once

#include <string>
#include <vector>

#include "authoring/quiz_source.h"

enum class QuizText { TITLE, CREATOR, EXPLANATION, LABEL_1, LABEL_2 };
enum class QuestionText { ANSWER_1, ANSWER_2, TEXT, REVEAL_TEXT, PICTURE, ANSWER_PICTURE };

// The text of a setting or of a question's field, by name.
std::string& TextOf(QuizSource& quiz, QuizText field);
std::string& TextOf(SourceQuestion& question, QuestionText field);

// The selected questions (indexes, ascending) that an edit leaves, and that undo brings back.
using QuestionSet = std::vector<int>;

// The quiz a new document starts with: a picture quiz with the player's own colour and nothing else.
QuizSource NewQuiz();

class QuizDocument {
public:
    QuizDocument() : QuizDocument(NewQuiz(), "", false) {}
    // A quiz opened from path ("" for none); a recovered one counts as unsaved from the start.
    QuizDocument(QuizSource quiz, std::string path, bool unsaved);

    const QuizSource& Quiz() const { return m_states[m_current].quiz; }
    const std::string& Path() const { return m_path; } // empty until first saved
    bool Modified() const { return m_current != m_saved; }
    void MarkSaved(const std::string& path);

    // One edit: change turns the quiz into its next state and selection is what then stays selected.
    // Edits of the same typing key that follow one another make one step, so that undo takes back a
    // word typed, not a letter; any other edit, an undo or a save ends the run. Key 0 never joins.
    template <typename Change> void Edit(int typingKey, const QuestionSet& selection, Change change)
    {
        QuizSource next = Quiz();
        change(next);
        Push(std::move(next), selection, typingKey);
    }
    void EndTyping() { m_typingKey = 0; }

    bool CanUndo() const { return m_current > 0; }
    bool CanRedo() const { return m_current + 1 < m_states.size(); }
    // Each returns the selection to show: the one the undone edit was made on, or the one the
    // redone edit left.
    QuestionSet Undo();
    QuestionSet Redo();

    // The selection of the current state changes without an edit when the maker clicks in the list.
    void Select(const QuestionSet& selection) { m_states[m_current].selectionBefore = selection; }

private:
    struct State {
        QuizSource quiz;
        QuestionSet selectionAfter;  // what the edit that made this state left selected
        QuestionSet selectionBefore; // what was selected when the next edit was made
    };
    void Push(QuizSource quiz, const QuestionSet& selection, int typingKey);

    static constexpr size_t NEVER_SAVED = static_cast<size_t>(-1);
    // Snapshots are small (96 questions of short texts); a long session still keeps only so many.
    static constexpr size_t MAX_STATES = 1000;

    std::vector<State> m_states;
    size_t m_current = 0;
    size_t m_saved = 0;
    int m_typingKey = 0;
    std::string m_path;
};

// Typing keys: one per setting, one per field of each question, one for the codes.
int TypingKey(QuizText field);
int TypingKey(int question, QuestionText field);
int VariantsTypingKey(int question, int answer);
constexpr int CODES_TYPING_KEY = 1;

// The edits a maker makes. Each takes the selection to leave and records one undoable step.
void SetQuizText(QuizDocument& document, QuizText field, const std::string& text, const QuestionSet& selection);
void SetQuestionText(QuizDocument& document, int question, QuestionText field, const std::string& text);
void SetKind(QuizDocument& document, int32_t mediaKind, const QuestionSet& selection);
void SetAnswersPerQuestion(QuizDocument& document, int32_t count, const QuestionSet& selection);
void SetRevealMode(QuizDocument& document, int32_t revealMode, const QuestionSet& selection);
void SetColour(QuizDocument& document, uint8_t red, uint8_t green, uint8_t blue, const QuestionSet& selection);
void SetAccentsForgiven(QuizDocument& document, bool forgiven, const QuestionSet& selection);
// The other texts answer (0 or 1) accepts, typed as the spreadsheet's column holds them: separated
// by "|", each trimmed; the empty pieces are left out, so that a "|" just typed is no error.
void SetVariants(QuizDocument& document, int question, int answer, const std::string& typed);
std::string VariantsText(const SourceQuestion& question, int answer);
// One code per line of text, the first for a score of 1; empty lines at the end are not codes.
void SetCodes(QuizDocument& document, const std::string& lines, const QuestionSet& selection);
std::string CodeLines(const QuizSource& quiz);

// Questions inserted before index at (clamped to the list); returns their indexes. Nothing is
// added past the player's 96 questions: the rest are returned in *left. A kind or a reveal mode
// given (not -1) is set in the same step: pictures dropped into an empty quiz make it theirs.
QuestionSet AddQuestions(QuizDocument& document, int at, std::vector<SourceQuestion> questions, size_t* left = nullptr,
                         int32_t mediaKind = -1, int32_t revealMode = -1);
// Removes the questions; returns what to select next: the question that took the first one's place.
QuestionSet DeleteQuestions(QuizDocument& document, const QuestionSet& questions);
// Moves the questions one place up (step -1) or down (+1) together; a set already at the edge stays.
QuestionSet MoveQuestions(QuizDocument& document, const QuestionSet& questions, int step);
