#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

#include "atelier/layout.h"
#include "atelier/quiz_document.h"
#include "atelier/quiz_files.h"
#include "atelier/recovery.h"
#include "atelier/status_line.h"
#include "atelier_resource.h"

namespace {

QuizSource QuizOf(const std::vector<std::string>& answers)
{
    QuizSource quiz = NewQuiz();
    for (const std::string& answer : answers) {
        SourceQuestion question;
        question.answers[0] = answer;
        quiz.questions.push_back(question);
    }
    return quiz;
}

std::string Answers(const QuizDocument& document)
{
    std::string joined;
    for (const SourceQuestion& question : document.Quiz().questions)
        joined += question.answers[0];
    return joined;
}

// Each step an edit, then the answers, the title and whether the document is unsaved after it; undo
// takes back the steps one by one, typing in one field as one step, and redo replays them.
TEST(QuizDocument, UndoAndRedoWalkBackAndForthThroughEveryStep)
{
    QuizDocument document(QuizOf({"a", "b", "c"}), "C:/quiz/quiz.toml", false);
    using Step = std::function<void()>;
    const struct {
        Step edit;
        std::string answers, title;
        bool modified;
        QuestionSet selection; // left by the edit
    } steps[] = {
        {[&] { SetQuizText(document, QuizText::TITLE, "T", {1}); }, "abc", "T", true, {1}},
        {[&] { SetQuizText(document, QuizText::TITLE, "Ti", {1}); }, "abc", "Ti", true, {1}},
        {[&] { document.MarkSaved("C:/quiz/quiz.toml"); }, "abc", "Ti", false, {1}},
        {[&] { SetQuestionText(document, 2, QuestionText::ANSWER_1, "C"); }, "abC", "Ti", true, {2}},
        {[&] { SetQuestionText(document, 2, QuestionText::ANSWER_1, "Cd"); }, "abCd", "Ti", true, {2}},
        {[&] {
             DeleteQuestions(document, {0, 2});
         },
         "b",
         "Ti",
         true,
         {0}},
        {[&] {
             AddQuestions(document, 0, QuizOf({"x", "y"}).questions);
         },
         "xyb",
         "Ti",
         true,
         {0, 1}},
        {[&] {
             MoveQuestions(document, {0, 1}, +1);
         },
         "bxy",
         "Ti",
         true,
         {1, 2}},
        {[&] { SetCodes(document, "OR\r\n\r\nARGENT\r\n\r\n", {1}); }, "bxy", "Ti", true, {1}},
    };
    // The states the undo walks back through: typing in one field is one step.
    const char* const undone[][2] = {{"bxy", "Ti"},  {"xyb", "Ti"}, {"b", "Ti"},
                                     {"abCd", "Ti"}, {"abc", "Ti"}, {"abc", ""}};
    for (const auto& step : steps) {
        step.edit();
        EXPECT_EQ(Answers(document), step.answers);
        EXPECT_EQ(document.Quiz().title, step.title);
        EXPECT_EQ(document.Modified(), step.modified) << step.answers;
    }
    EXPECT_EQ(document.Quiz().codes, (std::vector<std::string>{"OR", "", "ARGENT"}));
    EXPECT_EQ(CodeLines(document.Quiz()), "OR\r\n\r\nARGENT");
    EXPECT_EQ(document.Undo(), (QuestionSet{1, 2}));
    for (const auto& state : undone) {
        EXPECT_EQ(Answers(document), state[0]);
        EXPECT_EQ(document.Quiz().title, state[1]);
        document.Undo();
    }
    EXPECT_FALSE(document.CanUndo());
    EXPECT_TRUE(document.Modified()); // the saved state is ahead
    document.Redo();
    EXPECT_EQ(document.Redo(), QuestionSet{2}); // the saved state, then the answer typed
    EXPECT_EQ(Answers(document), "abCd");
    document.Undo();
    EXPECT_FALSE(document.Modified());
    document.Undo();
    // A new edit drops what could be redone, the saved state with it: nothing now matches the file.
    SetQuizText(document, QuizText::CREATOR, "Zoé", {});
    EXPECT_FALSE(document.CanRedo());
    document.Undo();
    EXPECT_TRUE(document.Modified());
    EXPECT_TRUE(QuizDocument(QuizOf({}), "", true).Modified());
    SetColour(document, 0x35, 0xCB, 0xA3, {});
    EXPECT_TRUE(document.Quiz().red == 0x35 && document.Quiz().green == 0xCB && document.Quiz().blue == 0xA3);
    // A long session keeps its last steps only: the saved state, dropped, is never met again.
    QuizDocument session(QuizOf({"a"}), "C:/q.toml", false);
    for (int i = 0; i < 1200; ++i)
        SetColour(session, static_cast<uint8_t>(i), 0, 0, {});
    while (session.CanUndo())
        session.Undo();
    EXPECT_TRUE(session.Modified());
    EXPECT_NE(session.Quiz().red, 90);
}

// Questions added, deleted and moved: the list before, the change, the list after and the
// selection it leaves.
TEST(QuizDocument, ListEditsKeepTheOrderAndTheSelection)
{
    using Change = std::function<QuestionSet(QuizDocument&)>;
    const struct {
        std::vector<std::string> before;
        Change change;
        std::string after;
        QuestionSet selected;
    } cases[] = {
        {{"a", "b", "c", "d"},
         [](QuizDocument& d) {
             return MoveQuestions(d, {1, 3}, -1);
         },
         "badc",
         {0, 2}},
        {{"a", "b", "c", "d"},
         [](QuizDocument& d) {
             return MoveQuestions(d, {2, 1}, +1);
         },
         "adbc",
         {2, 3}},
        {{"a", "b", "c"},
         [](QuizDocument& d) {
             return MoveQuestions(d, {0, 1}, -1);
         },
         "abc",
         {0, 1}},
        {{"a", "b", "c"}, [](QuizDocument& d) { return MoveQuestions(d, {2}, +1); }, "abc", {2}},
        {{"a", "b", "c"},
         [](QuizDocument& d) {
             return DeleteQuestions(d, {2, 1});
         },
         "a",
         {0}},
        {{"a", "b", "c"},
         [](QuizDocument& d) {
             return DeleteQuestions(d, {0, 1, 2, 7});
         },
         "",
         {}},
        {{"a", "b", "c"},
         [](QuizDocument& d) {
             return DeleteQuestions(d, {1, 1});
         },
         "ac",
         {1}},
        {{"a", "b"}, [](QuizDocument& d) { return AddQuestions(d, 9, QuizOf({"x"}).questions); }, "abx", {2}},
        {{"a", "b"},
         [](QuizDocument& d) {
             return AddQuestions(d, 1, QuizOf({"x", "y"}).questions);
         },
         "axyb",
         {1, 2}},
    };
    for (const auto& c : cases) {
        QuizDocument document(QuizOf(c.before), "", false);
        EXPECT_EQ(c.change(document), c.selected) << c.after;
        EXPECT_EQ(Answers(document), c.after);
        // A change that moved nothing is no step to undo.
        EXPECT_EQ(document.CanUndo(), c.after != Answers(QuizDocument(QuizOf(c.before), "", false))) << c.after;
    }
    // No more than the player's 96 questions.
    QuizDocument full(QuizOf(std::vector<std::string>(95, "q")), "", false);
    size_t left = 0;
    EXPECT_EQ(AddQuestions(full, 0, QuizOf({"x", "y", "z"}).questions, &left), QuestionSet{0});
    EXPECT_EQ(left, 2u);
    EXPECT_TRUE(AddQuestions(full, 0, QuizOf({"w"}).questions, &left).empty());
    EXPECT_EQ(left, 1u);
    // Files dropped into an empty quiz give it their kind, in the same step.
    QuizDocument empty(QuizOf({}), "", false);
    AddQuestions(empty, 0, QuizOf({"x"}).questions, nullptr, MEDIA_AUDIO, REVEAL_PICTURE);
    EXPECT_TRUE(empty.Quiz().mediaKind == MEDIA_AUDIO && empty.Quiz().revealMode == REVEAL_PICTURE);
    empty.Undo();
    EXPECT_TRUE(empty.Quiz().mediaKind == MEDIA_PICTURE && empty.Quiz().questions.empty());
}

// The other accepted answers are typed as a table's column holds them; typing them is one step to
// undo, the accent option another.
TEST(QuizDocument, VariantsTypedAndAccentsSetAreUndoneStepByStep)
{
    QuizDocument document(QuizOf({"Charles de Gaulle"}), "", false);
    const char* const typed[][2] = {{"De Gaulle", "De Gaulle"},
                                    {"De Gaulle |", "De Gaulle"},
                                    {" De Gaulle|Général de Gaulle ", "De Gaulle | Général de Gaulle"},
                                    {"De Gaulle || Général de Gaulle | ", "De Gaulle | Général de Gaulle"}};
    for (const auto& [text, shown] : typed) {
        SetVariants(document, 0, 1, text);
        EXPECT_EQ(VariantsText(document.Quiz().questions[0], 1), shown) << text;
    }
    EXPECT_TRUE(document.Quiz().questions[0].variants[0].empty());
    SetAccentsForgiven(document, true, {0});
    SetVariants(document, 0, 0, "|");
    EXPECT_TRUE(document.Quiz().accentsForgiven && document.Modified());
    document.Undo();
    EXPECT_TRUE(document.Quiz().accentsForgiven);
    document.Undo();
    EXPECT_FALSE(document.Quiz().accentsForgiven);
    EXPECT_EQ(document.Quiz().questions[0].variants[1].size(), 2u);
    document.Undo();
    EXPECT_TRUE(document.Quiz().questions[0].variants[1].empty());
    EXPECT_FALSE(document.CanUndo());
}

// Files added as zelbo-pack new --pictures names them, whatever their folders.
TEST(QuizFiles, FilesBecomeQuestionsInNameOrder)
{
    const FileQuestions added =
        QuestionsFromFiles({"C:/a/10_Rome.jpg", "D:/b/2_Paris.png", "C:/a/2_paris-reponse.jpg", "C:/a/notes.txt"}, -1);
    ASSERT_EQ(added.questions.size(), 2u);
    EXPECT_EQ(added.questions[0].answers[0], "Paris");
    EXPECT_EQ(added.questions[0].picture, "D:/b/2_Paris.png");
    EXPECT_EQ(added.questions[0].answerPicture, "C:/a/2_paris-reponse.jpg");
    EXPECT_EQ(added.questions[1].picture, "C:/a/10_Rome.jpg");
    EXPECT_EQ(added.revealMode, REVEAL_PICTURE);
    EXPECT_EQ(QuestionsFromFiles({"C:/son.mp3"}, -1).mediaKind, MEDIA_AUDIO);
    // A picture refused by an audio quiz, named in the problem.
    const FileQuestions refused = QuestionsFromFiles({"C:/x/photo.jpg"}, MEDIA_AUDIO);
    EXPECT_TRUE(refused.questions.empty());
    ASSERT_EQ(refused.problems.size(), 1u);
    EXPECT_NE(refused.problems[0].message.find("photo.jpg"), std::string::npos);
}

// A quiz written, parsed back and made editable again is the same quiz; file names are written
// relative to the source's folder.
TEST(QuizFiles, SourceTextsParseBackToTheEditedQuiz)
{
    QuizSource quiz = QuizOf({"Élan", "Œuvre"});
    quiz.title = "Capitales « d'Europe »";
    quiz.answersPerQuestion = 2;
    quiz.questions[0].answers[1] = "France";
    quiz.questions[0].variants[1] = {"République française", "FR"};
    quiz.accentsForgiven = true;
    quiz.questions[1].answers[1] = "Italie";
    quiz.questions[0].picture = "C:/quiz/images/paris.jpg";
    quiz.questions[1].picture = "C:/photos/rome.jpg";
    quiz.questions[1].answerPicture = "D:\\ailleurs\\rome.jpg";
    quiz.revealMode = REVEAL_PICTURE;
    quiz.codes = {"OR", "ARGENT"};
    const std::string text = SourceTextFor(quiz, "C:/quiz");
    EXPECT_NE(text.find("picture = \"images/paris.jpg\""), std::string::npos) << text;
    EXPECT_NE(text.find("picture = \"../photos/rome.jpg\""), std::string::npos) << text;
    const SourceParse parse = ParseQuizSource(text);
    EXPECT_TRUE(parse.diagnostics.empty()) << parse.diagnostics[0].message;
    const std::string again = SourceTextFor(EditableQuiz(parse.quiz, "C:/quiz"), "C:/quiz");
    EXPECT_EQ(again, text);
    EXPECT_EQ(FieldName({1, SourceField::ANSWER, 1}) + "," + FieldName({0, SourceField::CODE, 0}) + "," +
                  FieldName({1, SourceField::VARIANTS, 2}),
              "Réponse 1,Codes,Autres réponses 2");
}

TEST(Recovery, CopiesNameTheirSourceAndNotesTheirProcess)
{
    for (const std::string path : {"C:/quiz/quiz.toml", ""}) {
        const RecoveredWork work = ReadRecoveryText(RecoveryText(path, "title = \"x\"\n"));
        EXPECT_TRUE(work.ok && work.sourcePath == path && work.sourceText == "title = \"x\"\n") << path;
    }
    EXPECT_FALSE(ReadRecoveryText("title = \"x\"\n").ok);
    EXPECT_EQ(RecoveryPathBeside("C:/q/quiz.toml"), "C:/q/quiz.toml.recuperation");
    EXPECT_EQ(ProcessOfRecoveryNote(RecoveryNoteName(4321)), 4321u);
    EXPECT_EQ(ProcessOfTryFolder(TryFolderName(4321)), 4321u);
    for (const char* name : {"atelier-.note", "atelier-12x.note", "atelier-12.txt", "sans-titre-12.recuperation",
                             "essai-", "essai-12x", "essai12", "essai-1234567890"})
        EXPECT_EQ(ProcessOfRecoveryNote(name) + ProcessOfTryFolder(name), 0u) << name;
}

TEST(StatusLine, CountsAndSizeInFrench)
{
    EXPECT_EQ(StatusText({2, 1, 1, 999, false}), "2 questions — vérification en cours…");
    EXPECT_EQ(StatusText({1, 0, 0, 999, true}), "1 question — aucun problème — contenu : 999 / 65\xC2\xA0"
                                                "535 octets");
    EXPECT_EQ(StatusText({12, 2, 1, 1234567, true}), "12 questions — 2 erreurs, 1 avertissement — contenu : "
                                                     "1\xC2\xA0"
                                                     "234\xC2\xA0"
                                                     "567 / 65\xC2\xA0"
                                                     "535 octets");
    EXPECT_EQ(StatusText({0, 0, 3, 0, true}).find("3 avertissements —"), 15u);
    EXPECT_EQ(WindowTitle("C:\\quiz\\capitales.toml", true), "*capitales.toml - Zelbo Atelier");
    EXPECT_EQ(WindowTitle("", false), "Sans titre - Zelbo Atelier");
}

// At any scaling, from the smallest window up and whatever the form shows, the controls the form
// calls for, and no other, lie inside the window with a size of their own and room for their text,
// and no two overlap.
TEST(Layout, NothingIsCutOrOverlapsFromTheMinimumUp)
{
    for (const LayoutMetrics& metrics : {LayoutMetrics{96, 13, 6, {}}, LayoutMetrics{144, 19, 9, {}}}) {
        LayoutMetrics measured = metrics;
        measured.textWidth = [&](const std::string& text) { return static_cast<int>(text.size()) * metrics.charWidth; };
        for (const FormShape& shape : {FormShape{true, true, true, true, true, true}, FormShape{}}) {
            // Every control of the window but the status line; the optional ones when the shape asks.
            std::set<int> expected;
            for (const auto& [first, last] : {std::pair<int, int>{IDC_SETTINGS_HEADING, IDC_ACCENTS},
                                              {IDC_QUESTIONS_HEADING, IDC_MOVE_DOWN},
                                              {IDC_FORM_HEADING, IDC_VARIANTS_2},
                                              {IDC_PROBLEMS_HEADING, IDC_BUILD_CANCEL}})
                for (int id = first; id <= last; ++id)
                    expected.insert(id);
            const std::pair<bool, std::vector<int>> optional[] = {
                {shape.secondAnswer, {IDC_ANSWER_2_LABEL, IDC_ANSWER_2, IDC_VARIANTS_2_LABEL, IDC_VARIANTS_2}},
                {shape.questionText, {IDC_TEXT_LABEL, IDC_TEXT}},
                {shape.picture,
                 {IDC_PICTURE_LABEL, IDC_PICTURE_VIEW, IDC_PICTURE_NAME, IDC_PICTURE_CHOOSE, IDC_PICTURE_REMOVE}},
                {shape.answerPicture,
                 {IDC_ANSWER_PICTURE_LABEL, IDC_ANSWER_PICTURE_VIEW, IDC_ANSWER_PICTURE_NAME, IDC_ANSWER_PICTURE_CHOOSE,
                  IDC_ANSWER_PICTURE_REMOVE}},
                {shape.revealText, {IDC_REVEAL_TEXT_LABEL, IDC_REVEAL_TEXT}},
                {shape.building, {IDC_BUILD_LABEL, IDC_BUILD_PROGRESS, IDC_BUILD_CANCEL}}};
            for (const auto& [shown, ids] : optional)
                for (int id : ids)
                    if (!shown)
                        expected.erase(id);
            const ClientSize minimum = MinimumClientSize(measured, shape);
            for (const ClientSize size : {minimum, ClientSize{minimum.width + 301, minimum.height + 7},
                                          ClientSize{minimum.width * 2, minimum.height * 3 / 2}}) {
                const std::vector<PlacedControl> placed = LayOutWindow(size.width, size.height, measured, shape);
                std::set<int> ids;
                for (const PlacedControl& control : placed)
                    ids.insert(control.id);
                EXPECT_EQ(ids, expected);
                for (size_t i = 0; i < placed.size(); ++i) {
                    const Box& a = placed[i].box;
                    SCOPED_TRACE(testing::Message() << metrics.dpi << " dpi, " << size.width << " x " << size.height
                                                    << ", control " << placed[i].id);
                    EXPECT_TRUE(a.left >= 0 && a.top >= 0 && a.right <= size.width && a.bottom <= size.height);
                    EXPECT_TRUE(a.Width() > 0 && a.Height() > 0);
                    // A fixed text is never cut.
                    EXPECT_GE(a.Width(), measured.textWidth(ControlText(placed[i].id)));
                    for (size_t j = 0; j < i; ++j) {
                        const Box& b = placed[j].box;
                        EXPECT_FALSE(a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom)
                            << "overlaps control " << placed[j].id;
                    }
                }
            }
        }
    }
}

} // namespace
