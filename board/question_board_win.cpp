#include "board/question_board_win.h"

#include <utility>

#include "answers/answers_file_win.h"
#include "board/board_colours_win.h"
#include "board/board_layout.h"
#include "board/board_scroll_win.h"
#include "board/judging_win.h"
#include "board/media_win.h"
#include "board/picture_loading_win.h"
#include "board/picture_win.h"
#include "content/quiz_data_win.h"
#include "content/quiz_text.h"
#include "platform/text_1252_win.h"
#include "platform/win_raii.h"
#include "resource.h"

int g_contentWidth = 0;
int g_contentHeight = 0;
WNDPROC g_standardEditProc = nullptr;

namespace {

constexpr DWORD NUMBER_LABEL_STYLE = WS_CHILD | WS_VISIBLE | SS_RIGHT;
constexpr DWORD FRAMED_LABEL_STYLE = WS_CHILD | WS_VISIBLE | WS_BORDER | SS_CENTERIMAGE | SS_CENTER;
constexpr DWORD ANSWER_BOX_STYLE = WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL | ES_CENTER;
constexpr DWORD PICTURE_STYLE = WS_CHILD | WS_VISIBLE | WS_BORDER | SS_CENTERIMAGE | SS_BITMAP;
constexpr DWORD MEDIA_BUTTON_STYLE = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_ICON | BS_DEFPUSHBUTTON;
constexpr DWORD CAPTION_STYLE = WS_CHILD | WS_VISIBLE;
constexpr DWORD REVEAL_STYLE = WS_CHILD | WS_VISIBLE | SS_CENTER;

// What the wheel turned over the board (and its answer boxes, which hand it on) since its last notch.
WheelState g_boardWheel = {};

// The planned sizes of one board line's pictures, read from their headers: the line is measured
// and built before any picture is decoded.
class LinePictures {
public:
    void Read(int firstQuestion)
    {
        m_firstQuestion = firstQuestion;
        for (int i = 0; i < QUESTIONS_PER_BOARD_LINE; ++i) {
            const PictureSize size =
                PlannedPictureSize(GetModuleHandleW(nullptr), IDR_QUESTION_PICTURE_BASE + firstQuestion + i,
                                   PICTURE_RESOURCE_TYPE, PICTURE_BOX_SIZE, PICTURE_BOX_SIZE);
            m_sizes[i] = {size.width > 0, size.width, size.height};
        }
    }

    int Height() const { return BoardLineHeight(m_sizes, QUESTIONS_PER_BOARD_LINE); }

    CellPicture SizeFor(int question) const
    {
        const int i = question - m_firstQuestion;
        return i >= 0 && i < QUESTIONS_PER_BOARD_LINE ? m_sizes[i] : CellPicture{false, 0, 0};
    }

private:
    int m_firstQuestion = 0;
    CellPicture m_sizes[QUESTIONS_PER_BOARD_LINE] = {};
};

struct BoardIcons {
    HICON play = nullptr;
    HICON stop = nullptr;
};

// Every answer box of a cell takes the keyboard focus as it is created, which leaves it with the
// last one. Each focus change costs a round of messages, so the focus moves once, to that last box,
// when the build ends (while losing the focus still judges nothing).
class LastAnswerBoxFocus {
public:
    LastAnswerBoxFocus() = default;
    ~LastAnswerBoxFocus()
    {
        if (m_box)
            SetFocus(m_box);
    }
    LastAnswerBoxFocus(const LastAnswerBoxFocus&) = delete;
    LastAnswerBoxFocus& operator=(const LastAnswerBoxFocus&) = delete;
    void Set(HWND box) { m_box = box; }

private:
    HWND m_box = nullptr;
};

struct BuildContext {
    HWND board;
    QuizData* quiz;
    BoardShape shape;
    BoardIcons icons;
    SavedAnswers* saved;
    LinePictures* pictures;
    LastAnswerBoxFocus* focus;
};

// text: a quiz text, in code page 1252.
HWND CreateChild(HWND board, const wchar_t* className, const char* text, DWORD style, const PlacedItem& placed)
{
    const BoardRect& r = placed.rect;
    return CreateWindowExW(0, className, WideFrom1252(text).c_str(), style, r.x, r.y, r.width, r.height, board,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(placed.id)), GetModuleHandleW(nullptr),
                           nullptr);
}

void SetStockFont(HWND control)
{
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), TRUE);
}

void CreateAnswerBox(const BuildContext& context, const PlacedItem& placed)
{
    char answer[QUIZ_TEXT_SIZE] = {};
    context.saved->Next(answer);
    HWND box = CreateChild(context.board, L"Edit", answer, ANSWER_BOX_STYLE, placed);
    SendMessageW(box, WM_SETFONT, reinterpret_cast<WPARAM>(context.quiz->answerFont), FALSE);
    if (UsesCellLayout(context.shape.mediaKind))
        context.focus->Set(box);
    g_standardEditProc =
        reinterpret_cast<WNDPROC>(SetWindowLongPtrW(box, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(AnswerBoxProc)));
}

// The control shows an empty frame until its picture is decoded.
void CreatePicture(const BuildContext& context, const PlacedItem& placed, int question)
{
    HWND picture = CreateChild(context.board, L"STATIC", nullptr, PICTURE_STYLE, placed);
    if (picture && context.pictures->SizeFor(question).loaded)
        QueueQuestionPicture(context.board, question, placed.rect.y, placed.rect.y + placed.rect.height);
}

// A question whose player could not be made keeps its buttons, disabled: the rest of the board works.
void CreateMediaButton(const BuildContext& context, const PlacedItem& placed, HICON icon, int question)
{
    HWND button = CreateChild(context.board, L"Button", "", MEDIA_BUTTON_STYLE, placed);
    SendMessageW(button, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icon));
    EnableWindow(button, HasMediaPlayer(question));
}

void CreatePlacedItem(const BuildContext& context, const PlacedItem& placed, int question)
{
    const QuestionNode* node = context.quiz->QuestionAt(question - 1);
    const bool twoAnswers = context.shape.answersPerQuestion == 2 && UsesCellLayout(context.shape.mediaKind);
    switch (placed.item) {
    case BoardItem::NumberLabel: {
        char number[16];
        TextBuilder(number, sizeof(number)).Append(question).Append(".");
        CreateChild(context.board, L"Static", number, NUMBER_LABEL_STYLE, placed);
        break;
    }
    case BoardItem::QuestionText:
        SetStockFont(CreateChild(context.board, L"Static", node ? node->questionText : "", FRAMED_LABEL_STYLE, placed));
        break;
    case BoardItem::AnswerCaption1:
        SetStockFont(CreateChild(context.board, L"Static", context.quiz->answerLabel1, CAPTION_STYLE, placed));
        break;
    case BoardItem::AnswerCaption2:
        SetStockFont(CreateChild(context.board, L"Static", context.quiz->answerLabel2, CAPTION_STYLE, placed));
        break;
    case BoardItem::Picture:
        CreatePicture(context, placed, question);
        break;
    case BoardItem::MediaFrame:
        SetUpQuestionMedia(context.board, question, placed.rect.x, placed.rect.y);
        break;
    case BoardItem::PlayButton:
        CreateMediaButton(context, placed, context.icons.play, question);
        break;
    case BoardItem::StopButton:
        CreateMediaButton(context, placed, context.icons.stop, question);
        break;
    case BoardItem::AnswerBox:
        CreateAnswerBox(context, placed);
        break;
    case BoardItem::VerdictField: {
        HWND verdict = CreateChild(context.board, L"Static", "?", FRAMED_LABEL_STYLE, placed);
        // Narrow two-answer fields need the small font to fit their verdicts.
        if (twoAnswers)
            SetStockFont(verdict);
        break;
    }
    case BoardItem::RevealLabel:
        SetStockFont(CreateChild(context.board, L"Static", "", REVEAL_STYLE, placed));
        break;
    }
}

void BuildQuestion(const BuildContext& context, const QuestionPlan& plan, int question)
{
    bool anyBox = false;
    for (const PlacedItem& placed : plan.items) {
        CreatePlacedItem(context, placed, question);
        anyBox = anyBox || placed.item == BoardItem::AnswerBox;
    }
    if (!anyBox) {
        // No boxes for this answer count, but its saved answers still take their lines.
        char skipped[QUIZ_TEXT_SIZE];
        for (int i = 0; i < plan.answerLines; ++i)
            context.saved->Next(skipped);
    }
    // Restored answers show their verdicts, reveals and score from the start.
    for (const PlacedItem& placed : plan.items) {
        if (placed.item == BoardItem::AnswerBox)
            JudgeAnswer(context.quiz, context.board, placed.id);
    }
}

BoardIcons LoadBoardIcons(int mediaKind)
{
    if (mediaKind != MEDIA_AUDIO && mediaKind != MEDIA_VIDEO)
        return {};
    HINSTANCE module = GetModuleHandleW(nullptr);
    return {LoadIconW(module, MAKEINTRESOURCEW(IDI_PLAY)), LoadIconW(module, MAKEINTRESOURCEW(IDI_STOP))};
}

// Every question's controls, with the answers file open for the whole pass.
void BuildQuestions(HWND board, QuizData* quiz)
{
    const BoardShape shape{quiz->mediaKind, quiz->questionCount, quiz->answersPerQuestion, quiz->revealMode};
    const BoardIcons icons = LoadBoardIcons(shape.mediaKind);
    SavedAnswers saved;
    CreateAnswerFont(quiz);
    const ScopedBoardBuild judging(quiz, board);
    LastAnswerBoxFocus focus;
    LinePictures pictures;
    const BuildContext context{board, quiz, shape, icons, &saved, &pictures, &focus};

    BoardProgress progress;
    int lineHeight = 0;
    for (int q = 1; q <= shape.questionCount; ++q) {
        if (shape.mediaKind == MEDIA_PICTURE && StartsBoardLine(q)) {
            pictures.Read(q);
            lineHeight = pictures.Height();
        }
        const QuestionPlan plan = PlanQuestion(shape, q, progress.lineTop, lineHeight, pictures.SizeFor(q));
        BuildQuestion(context, plan, q);
        AdvanceAfterQuestion(shape, q, plan.answerTop, progress);
        g_contentWidth = progress.contentWidth;
        g_contentHeight = progress.contentHeight;
    }
}

} // namespace

INT_PTR CALLBACK QuestionBoardProc(HWND board, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        BuildQuestionBoard(board);
        return TRUE;
    case WM_SHOWWINDOW:
        if (wParam)
            ShowPicturesInView(board);
        return 0;
    case WM_SIZE:
        OnBoardSize(board);
        OnBoardViewChanged(board);
        return 0;
    case WM_HSCROLL:
        OnBoardScroll(board, SB_HORZ, LOWORD(wParam));
        return 0;
    case WM_VSCROLL:
        OnBoardScroll(board, SB_VERT, LOWORD(wParam));
        OnBoardViewChanged(board);
        return 0;
    case WM_BOARD_PICTURES_READY:
        InstallDecodedPictures(board);
        return TRUE;
    case WM_MOUSEWHEEL:
    case WM_MOUSEHWHEEL:
        // The board posts its own line steps, then reports a vertical wheel unhandled: the dialog
        // manager passes it on to the main window, which posts as many again. A notch over the
        // board thus moves it two line steps, as players of this board have always had it.
        // Sideways the board scrolls once and keeps the message.
        return ScrollBoardByWheel(board, message, wParam, g_boardWheel);
    case WM_COMMAND:
        OnMediaCommand(wParam);
        return 0;
    case WM_CTLCOLORDLG:
        return reinterpret_cast<INT_PTR>(g_quiz->backgroundBrush);
    case WM_CTLCOLORSTATIC:
        return reinterpret_cast<INT_PTR>(
            OnBoardCtlColorStatic(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam)));
    case WM_DESTROY:
        StopBoardPictures(board);
        ReleaseBoardPictures(board);
        return 0;
    default:
        return FALSE;
    }
}

void CreateAnswerFont(QuizData* quiz)
{
    LOGFONTW font = {};
    font.lfHeight = 15;
    font.lfWeight = 100;
    quiz->answerFont = CreateFontIndirectW(&font);
}

void BuildQuestionBoard(HWND board)
{
    g_contentWidth = 0;
    g_contentHeight = 0;
    if (!g_quiz)
        return;
    if (g_quiz->mediaKind == MEDIA_PICTURE)
        StartBoardPictures(board);
    BuildQuestions(board, g_quiz);
    FinishBoardPictureQueue(board);
    g_contentWidth += ContentWidthMargin(g_quiz->answersPerQuestion);
    UpdateScrollRanges(board);
}

void ReleaseBoardPictures(HWND board)
{
    for (HWND child = GetWindow(board, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        const int id = GetDlgCtrlID(child);
        if (id <= IDC_PICTURE_BASE || id > IDC_PICTURE_BASE + MAX_QUESTIONS)
            continue;
        if ((GetWindowLongPtrW(child, GWL_STYLE) & SS_TYPEMASK) != SS_BITMAP)
            continue;
        auto shown = reinterpret_cast<HBITMAP>(SendMessageW(child, STM_SETIMAGE, IMAGE_BITMAP, 0));
        if (shown)
            DeleteObject(shown);
    }
}
