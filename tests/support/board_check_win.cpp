#include "board_check_win.h"

#include <gtest/gtest.h>

#include "board/board_layout.h"
#include "board/picture_win.h"
#include "board/question_board_win.h"
#include "platform/win_raii.h"
#include "resource.h"
#include "test_player_win.h"

void ExpectBoardFollowsPlan(HWND board, const QuizData& quiz)
{
    const BoardShape shape{quiz.mediaKind, quiz.questionCount, quiz.answersPerQuestion, quiz.revealMode};
    const HGDIOBJ gui = GetStockObject(DEFAULT_GUI_FONT);
    // The narrow verdict fields of two-answer cells take the small font to fit their verdicts.
    const HGDIOBJ verdictFont = quiz.answersPerQuestion == 2 && UsesCellLayout(quiz.mediaKind) ? gui : nullptr;
    BoardProgress progress;
    CellPicture line[QUESTIONS_PER_BOARD_LINE] = {};
    HWND control = GetWindow(board, GW_CHILD);
    for (int q = 1; q <= shape.questionCount; ++q) {
        // A line is as high as its tallest picture, counting those past the last question too.
        for (int i = 0; shape.mediaKind == MEDIA_PICTURE && StartsBoardLine(q) && i < QUESTIONS_PER_BOARD_LINE; ++i) {
            UniqueBitmap bitmap(LoadScaledPicture(GetModuleHandle(nullptr), IDR_QUESTION_PICTURE_BASE + q + i,
                                                  PICTURE_RESOURCE_TYPE, PICTURE_BOX_SIZE, PICTURE_BOX_SIZE));
            line[i] = {static_cast<bool>(bitmap), BitmapSize(bitmap.Get()).cx, BitmapSize(bitmap.Get()).cy};
        }
        const CellPicture picture = line[(q - 1) % QUESTIONS_PER_BOARD_LINE];
        const QuestionPlan plan =
            PlanQuestion(shape, q, progress.lineTop, BoardLineHeight(line, QUESTIONS_PER_BOARD_LINE), picture);
        const QuestionNode* node = quiz.QuestionAt(q - 1);
        for (const PlacedItem& placed : plan.items) {
            SCOPED_TRACE(testing::Message() << "question " << q << ", control " << placed.id);
            ASSERT_NE(control, nullptr);
            const std::string shown = WindowText(control);
            const struct {
                const char* className;
                std::string text;
                HGDIOBJ font;
            } looks[] = {
                {"Static", std::to_string(q) + ".", nullptr},    // NumberLabel
                {"Static", node ? node->questionText : "", gui}, // QuestionText
                {"Static", quiz.answerLabel1, gui},              // AnswerCaption1
                {"Static", quiz.answerLabel2, gui},              // AnswerCaption2
                {"Static", "", nullptr},                         // Picture
                {"Static", "", nullptr},                         // MediaFrame
                {"Button", "", nullptr},                         // PlayButton
                {"Button", "", nullptr},                         // StopButton
                {"Edit", shown, quiz.answerFont},                // AnswerBox
                {"Static", shown, verdictFont},                  // VerdictField
                {"Static", shown, gui},                          // RevealLabel
            };
            const auto& look = looks[static_cast<int>(placed.item)];
            char className[16] = {};
            GetClassNameA(control, className, sizeof(className));
            EXPECT_STRCASEEQ(className, look.className);
            EXPECT_EQ(GetDlgCtrlID(control), placed.id);
            const RECT r = ChildRect(control);
            EXPECT_TRUE((BoardRect{r.left, r.top, r.right - r.left, r.bottom - r.top} == placed.rect))
                << r.left << ", " << r.top << ", " << r.right - r.left << " x " << r.bottom - r.top;
            EXPECT_EQ(shown, look.text);
            EXPECT_EQ(reinterpret_cast<HGDIOBJ>(SendMessageA(control, WM_GETFONT, 0, 0)), look.font);
            EXPECT_TRUE(placed.item != BoardItem::AnswerBox || quiz.answerFont) << "no answer font";
            EXPECT_TRUE(*look.className != 'B' || SendMessageA(control, BM_GETIMAGE, IMAGE_ICON, 0)) << "no icon";
            const SIZE bitmap = BitmapSize(ShownPicture(control));
            const bool loaded = placed.item == BoardItem::Picture && picture.loaded;
            EXPECT_TRUE(bitmap.cx == (loaded ? placed.rect.width : 0) && bitmap.cy == (loaded ? placed.rect.height : 0))
                << bitmap.cx << " x " << bitmap.cy;
            control = GetWindow(control, GW_HWNDNEXT);
        }
        AdvanceAfterQuestion(shape, q, plan.answerTop, progress);
    }
    EXPECT_EQ(control, nullptr) << "a control that the plan does not list";
    EXPECT_EQ(g_contentWidth, progress.contentWidth + ContentWidthMargin(quiz.answersPerQuestion));
    EXPECT_EQ(g_contentHeight, progress.contentHeight);
}
