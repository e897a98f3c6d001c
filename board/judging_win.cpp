#include "board/judging_win.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "answers/answers_file_win.h"
#include "answers/grading.h"
#include "answers/judging_rules.h"
#include "board/board_layout.h"
#include "board/picture_loading_win.h"
#include "board/question_board_win.h"
#include "content/quiz_data_win.h"
#include "content/quiz_shape.h"
#include "platform/text_1252_win.h"
#include "resource.h"

namespace {

// Set while the board builds: focus changes judge nothing then (see ScopedBoardBuild).
bool g_boardBuilding = false;
// Set while a batch of judgings runs whose score is counted once at its end.
bool g_scoreDeferred = false;

// Defers the score for the scope and counts it once when the scope ends.
class DeferredScore {
public:
    DeferredScore(QuizData* quiz, HWND board) : m_quiz(quiz), m_board(board), m_outer(g_scoreDeferred)
    {
        g_scoreDeferred = true;
    }
    ~DeferredScore()
    {
        g_scoreDeferred = m_outer;
        if (!m_outer)
            UpdateScore(m_quiz, m_board);
    }
    DeferredScore(const DeferredScore&) = delete;
    DeferredScore& operator=(const DeferredScore&) = delete;

private:
    QuizData* m_quiz;
    HWND m_board;
    bool m_outer;
};

// Answer boxes and verdict fields are read through 260-byte buffers: a longer text takes part with
// its first 259 characters only.
constexpr int BOX_TEXT_LIMIT = QUIZ_TEXT_SIZE;
constexpr int VERDICT_TEXT_LIMIT = 255;
constexpr WPARAM WHOLE_TEXT_END = 260;

int BoxesPerQuestionOf(const QuizData& quiz)
{
    return BoxesPerQuestion(quiz.mediaKind, quiz.answersPerQuestion);
}

const char* ExpectedAnswerOf(const QuestionNode* node, int answer)
{
    return node ? ExpectedAnswer(node->answer1, node->answer2, answer) : nullptr;
}

// Every box of the question holds its stored answer (case aside), so the question may reveal.
bool QuestionFullyAnswered(const QuizData& quiz, HWND board, int question, const QuestionNode* node)
{
    const int perQuestion = BoxesPerQuestionOf(quiz);
    for (int p = 1; p <= perQuestion; ++p) {
        char text[BOX_TEXT_LIMIT] = {};
        GetDlgItemText1252(board, IDC_ANSWER_BASE + BoxNumber(perQuestion, question, p), text, BOX_TEXT_LIMIT);
        const char* expected = ExpectedAnswerOf(node, p);
        if (!expected || !MatchesStoredAnswer(text, expected))
            return false;
    }
    return true;
}

void Reveal(const QuizData& quiz, HWND board, int question, const QuestionNode* node)
{
    if (RevealsText(quiz.revealMode))
        SetDlgItemText1252(board, IDC_REVEAL_BASE + question, node ? node->revealText : "");
    if (RevealsPicture(quiz.revealMode))
        ShowAnswerPicture(board, question);
}

bool VerdictIsRight(HWND field)
{
    char verdict[VERDICT_TEXT_LIMIT] = {};
    if (field)
        GetWindowText1252(field, verdict, VERDICT_TEXT_LIMIT);
    return std::strcmp(verdict, VERDICT_RIGHT) == 0;
}

// The board's controls with ids base + 1 to base + count, at index k - 1 (null where one is missing).
// GetDlgItem walks the board's children for every control it finds, and a board of 96 questions has
// several hundred; every judging recounts the score, so the controls are found in one pass.
struct ControlSearch {
    HWND board;
    int base;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectControl(HWND child, LPARAM context)
{
    auto* search = reinterpret_cast<ControlSearch*>(context);
    const int k = GetDlgCtrlID(child) - search->base;
    if (k >= 1 && k <= static_cast<int>(search->found.size()) && GetParent(child) == search->board)
        search->found[static_cast<size_t>(k - 1)] = child;
    return TRUE;
}

std::vector<HWND> NumberedControls(HWND board, int base, int count)
{
    ControlSearch search{board, base, std::vector<HWND>(static_cast<size_t>(std::max(count, 0)), nullptr)};
    if (count > 0)
        EnumChildWindows(board, CollectControl, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

LRESULT OnAnswerBoxKeyUp(HWND box, UINT message, WPARAM key, LPARAM lParam)
{
    HWND board = GetParent(box);
    switch (key) {
    case VK_RETURN:
        JudgeAnswer(g_quiz, board, GetDlgCtrlID(box));
        return 1;
    case VK_UP:
    case VK_PRIOR:
        SendMessageW(board, WM_VSCROLL, SB_PAGEUP, 0);
        break;
    case VK_DOWN:
    case VK_NEXT:
        SendMessageW(board, WM_VSCROLL, SB_PAGEDOWN, 0);
        break;
    case VK_F1:
        TryAnswerEverywhere(box);
        break;
    case VK_F2:
        SaveAnswers(board);
        break;
    default:
        break;
    }
    return CallWindowProcW(g_standardEditProc, box, message, key, lParam);
}

} // namespace

void JudgeAnswer(QuizData* quiz, HWND board, int boxId)
{
    if (!quiz)
        return;
    const int box = boxId - IDC_ANSWER_BASE;
    const BoxPosition position = BoxPositionOf(BoxesPerQuestionOf(*quiz), box);
    if (position.question < 1)
        return;
    const QuestionNode* node = quiz->QuestionAt(position.question - 1);
    const char* expected = ExpectedAnswerOf(node, position.answer);

    char typed[BOX_TEXT_LIMIT] = {};
    GetDlgItemText1252(board, boxId, typed, BOX_TEXT_LIMIT);
    // Without a stored answer (no question node) there is nothing to judge against.
    const char* verdict = expected ? GradeAnswerWithVariants(expected, VariantsOfBox(quiz->acceptedAnswers, box),
                                                             ForgivesAccents(quiz->acceptedAnswers), typed)
                                   : VERDICT_UNKNOWN;
    const bool right = std::strcmp(verdict, VERDICT_RIGHT) == 0;

    if (right && quiz->revealMode != REVEAL_NOTHING && QuestionFullyAnswered(*quiz, board, position.question, node))
        Reveal(*quiz, board, position.question, node);
    if (right)
        SetDlgItemText1252(board, boxId, expected);
    else
        SetDlgItemText1252(board, IDC_REVEAL_BASE + position.question, "");
    SetDlgItemText1252(board, boxId + (IDC_VERDICT_BASE - IDC_ANSWER_BASE), verdict);
    if (!g_scoreDeferred)
        UpdateScore(quiz, board);
}

void UpdateScore(QuizData* quiz, HWND board)
{
    if (!quiz)
        return;
    const int perQuestion = BoxesPerQuestionOf(*quiz);
    const std::vector<HWND> fields =
        NumberedControls(board, IDC_VERDICT_BASE, std::max(quiz->questionCount, 0) * perQuestion);
    const int solved = CountSolvedQuestions(quiz->questionCount, perQuestion, quiz->secondAnswerOptional,
                                            [&fields](int box) { return VerdictIsRight(fields[box - 1]); });
    if (!quiz->headerPanel)
        return;
    char score[32];
    FormatScore(score, sizeof(score), solved, quiz->questionCount);
    SetDlgItemText1252(quiz->headerPanel, IDC_SCORE, score);
    SetDlgItemText1252(quiz->headerPanel, IDC_CODE, CodeForScore(quiz->codes, solved));
}

LRESULT CALLBACK AnswerBoxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_KEYUP:
    case WM_SYSKEYUP:
        return OnAnswerBoxKeyUp(box, message, wParam, lParam);
    case WM_CHAR:
        // Enter judges on release and Tab is the dialog's: neither may reach the text.
        if (wParam == '\r' || wParam == '\t')
            return 0;
        break;
    case WM_SETFOCUS:
        SendMessageW(box, EM_SETSEL, 0, WHOLE_TEXT_END);
        break;
    case WM_KILLFOCUS:
        if (!g_boardBuilding)
            JudgeAnswer(g_quiz, GetParent(box), GetDlgCtrlID(box));
        break;
    case WM_MOUSEWHEEL:
    case WM_MOUSEHWHEEL:
        // A notch over a box scrolls the board like one over the board itself. Some edit controls
        // keep the wheel to themselves, so the box hands it on instead of relying on its default.
        return SendMessageW(GetParent(box), message, wParam, lParam);
    default:
        break;
    }
    return CallWindowProcW(g_standardEditProc, box, message, wParam, lParam);
}

ScopedBoardBuild::ScopedBoardBuild(QuizData* quiz, HWND board) : m_quiz(quiz), m_board(board)
{
    g_boardBuilding = true;
    g_scoreDeferred = true;
}

ScopedBoardBuild::~ScopedBoardBuild()
{
    g_boardBuilding = false;
    g_scoreDeferred = false;
    UpdateScore(m_quiz, m_board);
}

void TryAnswerEverywhere(HWND box)
{
    HWND board = GetParent(box);
    char text[BOX_TEXT_LIMIT] = {};
    GetWindowText1252(box, text, BOX_TEXT_LIMIT);
    const int boxCount =
        g_quiz ? AnswerBoxCount(g_quiz->mediaKind, g_quiz->questionCount, g_quiz->answersPerQuestion) : 0;
    const std::vector<HWND> boxes = NumberedControls(board, IDC_ANSWER_BASE, boxCount);
    const std::vector<HWND> fields = NumberedControls(board, IDC_VERDICT_BASE, boxCount);
    // Every box that loses the focus is judged; the score only needs counting once, at the end.
    const DeferredScore score(g_quiz, board);
    for (size_t i = 0; i < boxes.size(); ++i) {
        if (!boxes[i] || VerdictIsRight(fields[i]))
            continue;
        SetWindowText1252(boxes[i], text);
        // Each box judges itself as the focus leaves it: the last one when the focus comes back.
        SetFocus(boxes[i]);
    }
    SetFocus(box);
}
