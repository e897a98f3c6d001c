#include "atelier/editor_form_win.h"

#include <commctrl.h>

#include <string>

#include "atelier/atelier_dialogs_win.h"
#include "atelier/atelier_window_win.h"
#include "atelier/checker_win.h"
#include "atelier/question_list_win.h"
#include "atelier/thumbnails_win.h"
#include "atelier_resource.h"
#include "content/quiz_shape.h"
#include "atelier/wide_text_win.h"
#include "authoring/cp1252.h"
#include "authoring/grade_table.h"
#include "authoring/quiz_draft.h"

namespace {

enum class Look { LABEL, HEADING, EDIT, CODES, COMBO, BUTTON, CHECK, PREVIEW, FILE_NAME, VERDICT, PROGRESS, LIST };

struct ControlPlan {
    int id;
    Look look;
};

// In the order the Tab key visits them, each label before its field so that Alt and the label's
// underlined letter reach the field, and screen readers name the field after it.
const ControlPlan CONTROLS[] = {
    {IDC_SETTINGS_HEADING, Look::HEADING},
    {IDC_TITLE_LABEL, Look::LABEL},
    {IDC_TITLE, Look::EDIT},
    {IDC_CREATOR_LABEL, Look::LABEL},
    {IDC_CREATOR, Look::EDIT},
    {IDC_EXPLANATION_LABEL, Look::LABEL},
    {IDC_EXPLANATION, Look::EDIT},
    {IDC_KIND_LABEL, Look::LABEL},
    {IDC_KIND, Look::COMBO},
    {IDC_ANSWER_COUNT_LABEL, Look::LABEL},
    {IDC_ANSWER_COUNT, Look::COMBO},
    {IDC_ACCENTS, Look::CHECK},
    {IDC_LABELS_LABEL, Look::LABEL},
    {IDC_LABEL_1, Look::EDIT},
    {IDC_LABEL_2, Look::EDIT},
    {IDC_REVEAL_LABEL, Look::LABEL},
    {IDC_REVEAL, Look::COMBO},
    {IDC_COLOUR_LABEL, Look::LABEL},
    {IDC_COLOUR_SWATCH, Look::PREVIEW},
    {IDC_COLOUR, Look::BUTTON},
    {IDC_CODES_LABEL, Look::LABEL},
    {IDC_CODES, Look::CODES},
    {IDC_QUESTIONS_HEADING, Look::HEADING},
    {IDC_QUESTION_LIST, Look::LIST},
    {IDC_ADD_QUESTION, Look::BUTTON},
    {IDC_ADD_PICTURES, Look::BUTTON},
    {IDC_DELETE_QUESTIONS, Look::BUTTON},
    {IDC_MOVE_UP, Look::BUTTON},
    {IDC_MOVE_DOWN, Look::BUTTON},
    {IDC_FORM_HEADING, Look::HEADING},
    {IDC_ANSWER_1_LABEL, Look::LABEL},
    {IDC_ANSWER_1, Look::EDIT},
    {IDC_VARIANTS_1_LABEL, Look::LABEL},
    {IDC_VARIANTS_1, Look::EDIT},
    {IDC_ANSWER_2_LABEL, Look::LABEL},
    {IDC_ANSWER_2, Look::EDIT},
    {IDC_VARIANTS_2_LABEL, Look::LABEL},
    {IDC_VARIANTS_2, Look::EDIT},
    {IDC_TEXT_LABEL, Look::LABEL},
    {IDC_TEXT, Look::EDIT},
    {IDC_PICTURE_LABEL, Look::LABEL},
    {IDC_PICTURE_VIEW, Look::PREVIEW},
    {IDC_PICTURE_NAME, Look::FILE_NAME},
    {IDC_PICTURE_CHOOSE, Look::BUTTON},
    {IDC_PICTURE_REMOVE, Look::BUTTON},
    {IDC_ANSWER_PICTURE_LABEL, Look::LABEL},
    {IDC_ANSWER_PICTURE_VIEW, Look::PREVIEW},
    {IDC_ANSWER_PICTURE_NAME, Look::FILE_NAME},
    {IDC_ANSWER_PICTURE_CHOOSE, Look::BUTTON},
    {IDC_ANSWER_PICTURE_REMOVE, Look::BUTTON},
    {IDC_REVEAL_TEXT_LABEL, Look::LABEL},
    {IDC_REVEAL_TEXT, Look::EDIT},
    {IDC_TRY_ANSWER_LABEL, Look::LABEL},
    {IDC_TRY_ANSWER, Look::EDIT},
    {IDC_VERDICT, Look::VERDICT},
    {IDC_PROBLEMS_HEADING, Look::HEADING},
    {IDC_PROBLEM_LIST, Look::LIST},
    {IDC_BUILD_LABEL, Look::VERDICT},
    {IDC_BUILD_PROGRESS, Look::PROGRESS},
    {IDC_BUILD_CANCEL, Look::BUTTON},
};

struct SettingField {
    int id;
    QuizText field;
};
const SettingField SETTING_FIELDS[] = {{IDC_TITLE, QuizText::TITLE},
                                       {IDC_CREATOR, QuizText::CREATOR},
                                       {IDC_EXPLANATION, QuizText::EXPLANATION},
                                       {IDC_LABEL_1, QuizText::LABEL_1},
                                       {IDC_LABEL_2, QuizText::LABEL_2}};

struct QuestionField {
    int id;
    QuestionText field;
};
const QuestionField QUESTION_FIELDS[] = {{IDC_ANSWER_1, QuestionText::ANSWER_1},
                                         {IDC_ANSWER_2, QuestionText::ANSWER_2},
                                         {IDC_TEXT, QuestionText::TEXT},
                                         {IDC_REVEAL_TEXT, QuestionText::REVEAL_TEXT}};

// The form's controls, disabled while no question is selected.
const int FORM_CONTROLS[] = {IDC_ANSWER_1,
                             IDC_VARIANTS_1,
                             IDC_ANSWER_2,
                             IDC_VARIANTS_2,
                             IDC_TEXT,
                             IDC_PICTURE_CHOOSE,
                             IDC_PICTURE_REMOVE,
                             IDC_ANSWER_PICTURE_CHOOSE,
                             IDC_ANSWER_PICTURE_REMOVE,
                             IDC_REVEAL_TEXT,
                             IDC_TRY_ANSWER};

const wchar_t* const KIND_CHOICES[] = {L"texte", L"images", L"audio", L"vidéo"};
const wchar_t* const ANSWER_COUNT_CHOICES[] = {L"1 par question", L"2 par question"};
const wchar_t* const REVEAL_CHOICES[] = {L"rien", L"une image", L"un texte", L"un texte et une image"};

HWND CreateLook(HWND window, const ControlPlan& plan)
{
    const wchar_t* className = WC_STATICW;
    DWORD style = WS_CHILD | WS_VISIBLE, extended = 0;
    switch (plan.look) {
    case Look::LABEL:
    case Look::HEADING:
        style |= SS_LEFT;
        break;
    case Look::EDIT:
        className = WC_EDITW;
        style |= WS_TABSTOP | ES_AUTOHSCROLL;
        extended = WS_EX_CLIENTEDGE;
        break;
    case Look::CODES:
        className = WC_EDITW;
        style |= WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN;
        extended = WS_EX_CLIENTEDGE;
        break;
    case Look::COMBO:
        className = WC_COMBOBOXW;
        style |= WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST;
        break;
    case Look::BUTTON:
        className = WC_BUTTONW;
        style |= WS_TABSTOP | BS_PUSHBUTTON;
        break;
    case Look::CHECK:
        className = WC_BUTTONW;
        style |= WS_TABSTOP | BS_AUTOCHECKBOX;
        break;
    case Look::PREVIEW:
        style |= SS_OWNERDRAW | SS_NOTIFY;
        break;
    case Look::FILE_NAME:
        style |= SS_LEFT | SS_NOPREFIX | SS_PATHELLIPSIS;
        break;
    case Look::VERDICT:
        style |= SS_LEFT | SS_NOPREFIX;
        break;
    case Look::PROGRESS:
        className = PROGRESS_CLASSW;
        break;
    case Look::LIST:
        return plan.id == IDC_QUESTION_LIST ? CreateQuestionList(window) : CreateProblemList(window);
    }
    return CreateWindowExW(extended, className, Utf8ToWide(ControlText(plan.id)).c_str(), style, 0, 0, 0, 0, window,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(plan.id)), GetModuleHandleW(nullptr), nullptr);
}

void FillCombo(int id, const wchar_t* const* choices, size_t count)
{
    for (size_t i = 0; i < count; ++i)
        SendMessageW(Control(id), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(choices[i]));
}

void SetComboChoice(int id, int choice)
{
    SendMessageW(Control(id), CB_SETCURSEL, static_cast<WPARAM>(choice), 0);
}

int ComboChoice(int id)
{
    return static_cast<int>(SendMessageW(Control(id), CB_GETCURSEL, 0, 0));
}

const SourceQuestion* ShownQuestion()
{
    const std::vector<SourceQuestion>& questions = g_atelier.document.Quiz().questions;
    const int shown = g_atelier.shown;
    return shown >= 0 && static_cast<size_t>(shown) < questions.size() ? &questions[static_cast<size_t>(shown)]
                                                                       : nullptr;
}

std::string FileNameOf(const std::string& path)
{
    return path.substr(path.find_last_of("/\\") + 1);
}

// The player's verdict for what is typed, against each expected answer.
void UpdateVerdict()
{
    const SourceQuestion* question = ShownQuestion();
    const std::string typed = ControlUtf8(Control(IDC_TRY_ANSWER));
    std::string verdict;
    if (question && !typed.empty()) {
        // One verdict per box the player makes: a text question has one box whatever the quiz says.
        const QuizSource& quiz = g_atelier.document.Quiz();
        const int answers = BoxesPerQuestion(quiz.mediaKind, quiz.answersPerQuestion);
        const Cp1252Result typedText = Utf8ToCp1252(typed);
        for (int p = 0; p < answers; ++p) {
            std::string accepted = question->answers[p];
            for (const std::string& variant : question->variants[p])
                accepted += "|" + variant;
            const Cp1252Result expected = Utf8ToCp1252(accepted);
            const std::string one = typedText.ok && expected.ok
                                        ? GradeToUtf8(expected.text, typedText.text, quiz.accentsForgiven)
                                        : "caractère absent du jeu du lecteur";
            verdict += answers == 1 ? one : (p ? " — " : "") + ("Réponse " + std::to_string(p + 1) + " : " + one);
        }
    }
    SetControlUtf8(Control(IDC_VERDICT), verdict);
}

// "Réponse 1 (Ville) :" when the quiz asks two answers and names them.
std::string AnswerLabel(int p)
{
    const QuizSource& quiz = g_atelier.document.Quiz();
    if (quiz.answersPerQuestion != 2)
        return "&Réponse :";
    const std::string& caption = quiz.answerLabels[p];
    return std::string(p ? "Réponse &2" : "&Réponse 1") + (caption.empty() ? "" : " (" + caption + ")") + " :";
}

void EditSetting(int id)
{
    for (const SettingField& setting : SETTING_FIELDS) {
        if (setting.id == id) {
            SetQuizText(g_atelier.document, setting.field, ControlUtf8(Control(id)), SelectedQuestions());
            QuizChanged();
            if (setting.field == QuizText::LABEL_1 || setting.field == QuizText::LABEL_2)
                ShowQuestion(g_atelier.shown);
        }
    }
}

bool EditQuestion(int id)
{
    for (const QuestionField& field : QUESTION_FIELDS) {
        if (field.id != id)
            continue;
        if (ShownQuestion()) {
            SetQuestionText(g_atelier.document, g_atelier.shown, field.field, ControlUtf8(Control(id)));
            QuizChanged();
            UpdateVerdict();
        }
        return true;
    }
    return false;
}

// The field of the other accepted answers of answer p of the shown question.
bool EditVariants(int id)
{
    const int p = id == IDC_VARIANTS_1 ? 0 : id == IDC_VARIANTS_2 ? 1 : -1;
    if (p < 0)
        return false;
    if (ShownQuestion()) {
        SetVariants(g_atelier.document, g_atelier.shown, p, ControlUtf8(Control(id)));
        QuizChanged();
        UpdateVerdict();
    }
    return true;
}

void EditAccents()
{
    const bool forgiven = IsDlgButtonChecked(g_atelier.window, IDC_ACCENTS) == BST_CHECKED;
    SetAccentsForgiven(g_atelier.document, forgiven, SelectedQuestions());
    QuizChanged();
    UpdateVerdict();
}

// A change of kind, answer count or reveal changes the form and the list.
void EditShape(int id)
{
    const int choice = ComboChoice(id);
    if (choice < 0)
        return;
    if (id == IDC_KIND)
        SetKind(g_atelier.document, choice, SelectedQuestions());
    else if (id == IDC_ANSWER_COUNT)
        SetAnswersPerQuestion(g_atelier.document, choice + 1, SelectedQuestions());
    else
        SetRevealMode(g_atelier.document, choice, SelectedQuestions());
    QuizChanged();
    ShowSettings();
    ShowQuestion(g_atelier.shown);
    LayOutAtelier();
}

void ChooseColour()
{
    const QuizSource& quiz = g_atelier.document.Quiz();
    COLORREF colour = RGB(quiz.red, quiz.green, quiz.blue);
    if (!g_dialogs.chooseColour(g_atelier.window, &colour))
        return;
    SetColour(g_atelier.document, GetRValue(colour), GetGValue(colour), GetBValue(colour), SelectedQuestions());
    QuizChanged();
    InvalidateRect(Control(IDC_COLOUR_SWATCH), nullptr, FALSE);
}

void SetPicture(QuestionText field, const std::string& path)
{
    if (!ShownQuestion())
        return;
    SetQuestionText(g_atelier.document, g_atelier.shown, field, path);
    QuizChanged();
    ShowQuestion(g_atelier.shown);
}

void ChoosePicture(QuestionText field)
{
    const std::vector<std::wstring> chosen = g_dialogs.openFiles(g_atelier.window, FileKind::MEDIA);
    if (!chosen.empty())
        SetPicture(field, WideToUtf8(chosen.front()));
}

int ControlForField(const SourcePlace& place)
{
    switch (place.field) {
    case SourceField::TITLE:
    case SourceField::NONE:
        return IDC_TITLE;
    case SourceField::ACCENTS:
        return IDC_ACCENTS;
    case SourceField::CREATOR:
        return IDC_CREATOR;
    case SourceField::EXPLANATION:
        return IDC_EXPLANATION;
    case SourceField::KIND:
        return IDC_KIND;
    case SourceField::ANSWERS_PER_QUESTION:
        return IDC_ANSWER_COUNT;
    case SourceField::ANSWER_LABEL:
        return place.number == 2 ? IDC_LABEL_2 : IDC_LABEL_1;
    case SourceField::REVEAL:
        return IDC_REVEAL;
    case SourceField::COLOUR:
        return IDC_COLOUR;
    case SourceField::CODE:
        return IDC_CODES;
    case SourceField::ANSWER:
        return place.number == 2 ? IDC_ANSWER_2 : IDC_ANSWER_1;
    case SourceField::VARIANTS:
        return place.number == 2 ? IDC_VARIANTS_2 : IDC_VARIANTS_1;
    case SourceField::TEXT:
        return IDC_TEXT;
    case SourceField::PICTURE:
        return IDC_PICTURE_CHOOSE;
    case SourceField::REVEAL_TEXT:
        return IDC_REVEAL_TEXT;
    case SourceField::ANSWER_PICTURE:
        break;
    }
    return IDC_ANSWER_PICTURE_CHOOSE;
}

} // namespace

void CreateEditorControls(HWND window)
{
    for (const ControlPlan& plan : CONTROLS)
        CreateLook(window, plan);
    FillCombo(IDC_KIND, KIND_CHOICES, std::size(KIND_CHOICES));
    FillCombo(IDC_ANSWER_COUNT, ANSWER_COUNT_CHOICES, std::size(ANSWER_COUNT_CHOICES));
    FillCombo(IDC_REVEAL, REVEAL_CHOICES, std::size(REVEAL_CHOICES));
}

void SetEditorFont(HFONT font, HFONT headingFont)
{
    for (const ControlPlan& plan : CONTROLS)
        SendMessageW(Control(plan.id), WM_SETFONT,
                     reinterpret_cast<WPARAM>(plan.look == Look::HEADING ? headingFont : font), TRUE);
}

void ShowSettings()
{
    const QuizSource& quiz = g_atelier.document.Quiz();
    g_atelier.filling = true;
    QuizSource copy = quiz;
    for (const SettingField& setting : SETTING_FIELDS)
        SetControlUtf8(Control(setting.id), TextOf(copy, setting.field));
    SetComboChoice(IDC_KIND, quiz.mediaKind);
    SetComboChoice(IDC_ANSWER_COUNT, quiz.answersPerQuestion - 1);
    SetComboChoice(IDC_REVEAL, quiz.revealMode);
    CheckDlgButton(g_atelier.window, IDC_ACCENTS, quiz.accentsForgiven ? BST_CHECKED : BST_UNCHECKED);
    SetControlUtf8(Control(IDC_CODES), CodeLines(quiz));
    // The player shows the captions only beside the two boxes of a picture, audio or video question.
    const bool captionsShown = BoxesPerQuestion(quiz.mediaKind, quiz.answersPerQuestion) == 2;
    for (int id : {IDC_LABEL_1, IDC_LABEL_2})
        EnableWindow(Control(id), captionsShown || !ControlUtf8(Control(id)).empty());
    InvalidateRect(Control(IDC_COLOUR_SWATCH), nullptr, FALSE);
    g_atelier.filling = false;
}

void ShowQuestion(int question)
{
    g_atelier.shown = question;
    const SourceQuestion* shown = ShownQuestion();
    const size_t count = g_atelier.document.Quiz().questions.size();
    g_atelier.filling = true;
    SetControlUtf8(Control(IDC_FORM_HEADING),
                   shown ? "Question " + std::to_string(question + 1) + " sur " + std::to_string(count)
                         : "Aucune question choisie");
    SourceQuestion empty;
    SourceQuestion copy = shown ? *shown : empty;
    for (const QuestionField& field : QUESTION_FIELDS)
        SetControlUtf8(Control(field.id), TextOf(copy, field.field));
    // A field being typed in keeps what the maker typed ("Paris |"), which reads back the same.
    for (int p = 0; p < 2; ++p) {
        HWND variants = Control(p ? IDC_VARIANTS_2 : IDC_VARIANTS_1);
        if (VariantsOf(ControlUtf8(variants)) != copy.variants[p])
            SetControlUtf8(variants, VariantsText(copy, p));
    }
    SetControlUtf8(Control(IDC_ANSWER_1_LABEL), AnswerLabel(0));
    SetControlUtf8(Control(IDC_ANSWER_2_LABEL), AnswerLabel(1));
    SetControlUtf8(Control(IDC_PICTURE_NAME), FileNameOf(copy.picture));
    SetControlUtf8(Control(IDC_ANSWER_PICTURE_NAME), FileNameOf(copy.answerPicture));
    SetControlUtf8(Control(IDC_PICTURE_LABEL), g_atelier.document.Quiz().mediaKind == MEDIA_AUDIO   ? "Clip MP3 :"
                                               : g_atelier.document.Quiz().mediaKind == MEDIA_VIDEO ? "Clip AVI :"
                                                                                                    : "Image :");
    for (int id : FORM_CONTROLS)
        EnableWindow(Control(id), shown != nullptr);
    ListImageOf(copy.picture, true);
    ListImageOf(copy.answerPicture, true);
    InvalidateRect(Control(IDC_PICTURE_VIEW), nullptr, FALSE);
    InvalidateRect(Control(IDC_ANSWER_PICTURE_VIEW), nullptr, FALSE);
    UpdateVerdict();
    g_atelier.filling = false;
}

FormShape CurrentFormShape()
{
    const QuizSource& quiz = g_atelier.document.Quiz();
    const SourceQuestion* shown = ShownQuestion();
    FormShape shape;
    shape.secondAnswer = quiz.answersPerQuestion == 2;
    shape.questionText = quiz.mediaKind == MEDIA_TEXT || (shown && !shown->text.empty());
    shape.picture = quiz.mediaKind != MEDIA_TEXT || (shown && !shown->picture.empty());
    shape.answerPicture = RevealsPicture(quiz.revealMode) || (shown && !shown->answerPicture.empty());
    shape.revealText = RevealsText(quiz.revealMode) || (shown && !shown->revealText.empty());
    shape.building = g_atelier.building;
    return shape;
}

bool OnEditorCommand(int id, int code)
{
    if (code == EN_KILLFOCUS) {
        g_atelier.document.EndTyping();
        return true;
    }
    if (code == EN_CHANGE) {
        if (id == IDC_TRY_ANSWER)
            UpdateVerdict();
        else if (g_atelier.filling)
            return true;
        else if (id == IDC_CODES) {
            SetCodes(g_atelier.document, ControlUtf8(Control(IDC_CODES)), SelectedQuestions());
            QuizChanged();
        } else if (!EditQuestion(id) && !EditVariants(id))
            EditSetting(id);
        return true;
    }
    if (code == CBN_SELCHANGE && !g_atelier.filling) {
        EditShape(id);
        return true;
    }
    if (code != BN_CLICKED)
        return false;
    switch (id) {
    case IDC_ACCENTS:
        EditAccents();
        return true;
    case IDC_COLOUR:
        ChooseColour();
        return true;
    case IDC_PICTURE_CHOOSE:
        ChoosePicture(QuestionText::PICTURE);
        return true;
    case IDC_ANSWER_PICTURE_CHOOSE:
        ChoosePicture(QuestionText::ANSWER_PICTURE);
        return true;
    case IDC_PICTURE_REMOVE:
        SetPicture(QuestionText::PICTURE, "");
        return true;
    case IDC_ANSWER_PICTURE_REMOVE:
        SetPicture(QuestionText::ANSWER_PICTURE, "");
        return true;
    default:
        return false;
    }
}

bool OnEditorDrawItem(const DRAWITEMSTRUCT* item)
{
    if (item->CtlID == IDC_COLOUR_SWATCH) {
        const QuizSource& quiz = g_atelier.document.Quiz();
        UniqueBrush brush(CreateSolidBrush(RGB(quiz.red, quiz.green, quiz.blue)));
        FillRect(item->hDC, &item->rcItem, brush.Get());
        FrameRect(item->hDC, &item->rcItem, GetSysColorBrush(COLOR_WINDOWFRAME));
        return true;
    }
    if (item->CtlID != IDC_PICTURE_VIEW && item->CtlID != IDC_ANSWER_PICTURE_VIEW)
        return false;
    const SourceQuestion* shown = ShownQuestion();
    const std::string path = !shown ? "" : item->CtlID == IDC_PICTURE_VIEW ? shown->picture : shown->answerPicture;
    DrawPicturePreview(item->hDC, item->rcItem, path);
    return true;
}

void FocusField(const SourcePlace& place)
{
    HWND target = Control(ControlForField(place));
    if (place.question > 0 && place.field == SourceField::NONE)
        target = g_atelier.list;
    if (!IsWindowVisible(target) || !IsWindowEnabled(target))
        target = place.question > 0 ? g_atelier.list : Control(IDC_TITLE);
    SetFocus(target);
    if (place.field == SourceField::CODE && place.number > 0) {
        const auto start = SendMessageW(target, EM_LINEINDEX, static_cast<WPARAM>(place.number - 1), 0);
        const auto length = SendMessageW(target, EM_LINELENGTH, static_cast<WPARAM>(start), 0);
        SendMessageW(target, EM_SETSEL, static_cast<WPARAM>(start), start + length);
    }
}

bool DropOnPreview(POINT windowPoint, const std::string& path)
{
    for (const auto& [id, field] :
         {std::pair<int, QuestionText>{IDC_PICTURE_VIEW, QuestionText::PICTURE},
          std::pair<int, QuestionText>{IDC_ANSWER_PICTURE_VIEW, QuestionText::ANSWER_PICTURE}}) {
        HWND view = Control(id);
        RECT box;
        GetWindowRect(view, &box);
        MapWindowPoints(HWND_DESKTOP, g_atelier.window, reinterpret_cast<POINT*>(&box), 2);
        if (IsWindowVisible(view) && PtInRect(&box, windowPoint) && ShownQuestion()) {
            SetPicture(field, path);
            return true;
        }
    }
    return false;
}
