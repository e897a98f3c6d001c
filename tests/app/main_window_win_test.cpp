// The player under Wine as a player meets it: started in-process with the quiz this program carries
// (scripts/test-assets/quiz-content.cpp), its windows, header and answers file from start to end,
// what it shows for each state of its content resources; then the built program as a process.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "answers/answers_file.h"
#include "answers/answers_file_win.h"
#include "app/main_window_win.h"
#include "board/question_board_win.h"
#include "content/content_loader_win.h"
#include "header/header_layout.h"
#include "header/header_panel_win.h"
#include "platform/win_raii.h"
#include "resource.h"
#include "win_test_support.h"

namespace {

std::string Place(HWND window)
{
    const RECT r = ChildRect(window);
    return std::to_string(r.left) + "," + std::to_string(r.top) + " " + std::to_string(r.right - r.left) + "x" +
           std::to_string(r.bottom - r.top);
}

std::string Place(int x, int y, int width, int height)
{
    return std::to_string(x) + "," + std::to_string(y) + " " + std::to_string(width) + "x" + std::to_string(height);
}

// The main window's layout for its client size, and the header's as HeaderLayout plans it.
void ExpectLayout(const TestPlayer& player)
{
    RECT client;
    GetClientRect(player.main, &client);
    const int w = client.right, h = client.bottom;
    EXPECT_EQ(Place(player.board), Place(5, 50, w - 11, h - 68));
    EXPECT_EQ(Place(player.header), Place(5, 2, w - 11, 49));
    EXPECT_EQ(Place(GetDlgItem(player.main, IDC_VERSION_LABEL)), Place(w - 145, h - 16, 170, 15));
    GetClientRect(player.header, &client);
    for (const HeaderPlacement& at : HeaderLayout(client.right))
        EXPECT_EQ(Place(GetDlgItem(player.header, at.id)), Place(at.x, at.y, at.width, at.height)) << at.id;
}

TEST(Player, OpensCentredShowsItsQuizLaysItselfOutAndPaintsItsLabels)
{
    // Each code-page run of this program (tests/CMakeLists.txt) names the code page its locale gives.
    const char* codePage = std::getenv("ZELBO_CODE_PAGE");
    EXPECT_EQ(GetACP(), codePage ? std::stoul(codePage) : 1252u);
    ScopedTempDirectory folder;
    TestPlayer player;
    RECT window, desktop;
    GetWindowRect(player.main, &window);
    GetWindowRect(GetDesktopWindow(), &desktop);
    EXPECT_EQ(Place(window.left, window.top, window.right - window.left, window.bottom - window.top),
              Place((desktop.left + desktop.right - 544) / 2, (desktop.top + desktop.bottom - 375) / 2, 544, 375));
    EXPECT_TRUE(IsWindowVisible(player.main) && IsWindowVisible(player.header) && IsWindowVisible(player.board));
    std::string texts = WindowText(player.main);
    for (int id : {IDC_WEB_LINK, IDC_BY_LABEL, IDC_CREATOR, IDC_SAVE, IDC_EXPLANATION, IDC_TITLE, IDC_CODE_LABEL,
                   IDC_SCORE, IDC_CODE})
        texts += "|" + player.HeaderText(id);
    EXPECT_EQ(texts, "Quiz d'\xE9t\xE9|https://zelbo.fr|Par :|Am\xE9lie|Sauver|Trouvez le pr\xE9nom et la ville|"
                     "Quiz d'\xE9t\xE9| Code :| 0 / 3|      ");
    EXPECT_TRUE(GetWindowLongA(GetDlgItem(player.header, IDC_CODE), GWL_STYLE) & ES_READONLY);
    EXPECT_EQ(SendDlgItemMessageW(player.header, IDC_SCORE, WM_GETFONT, 0, 0), LRESULT(g_quiz->scoreFont));
    HWND label = GetDlgItem(player.main, IDC_VERSION_LABEL);
    EXPECT_EQ(WindowText(label), "R\351alis\xE9 avec la version " ZELBO_VERSION_TEXT);
    EXPECT_EQ(SendMessageW(label, WM_GETFONT, 0, 0), LRESULT(GetStockObject(DEFAULT_GUI_FONT)));

    ExpectLayout(player);
    for (const SIZE size : {SIZE{800, 600}, SIZE{300, 250}, SIZE{544, 375}}) {
        SetWindowPos(player.main, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER);
        ExpectLayout(player);
    }
    // Minimised, everything keeps its place, whatever size a minimise notification reports.
    const std::string board = Place(player.board);
    ShowWindow(player.main, SW_MINIMIZE);
    SendMessageW(player.main, WM_SIZE, SIZE_MINIMIZED, MAKELPARAM(10, 10));
    EXPECT_EQ(Place(player.board), board);
    for (int show : {SW_MAXIMIZE, SW_RESTORE}) {
        ShowWindow(player.main, show);
        ExpectLayout(player);
    }
    // Without its dialogs the main window still keeps the version label in its corner.
    g_questionBoard = g_headerPanel = nullptr;
    SetWindowPos(player.main, nullptr, 0, 0, 640, 480, SWP_NOMOVE | SWP_NOZORDER);
    RECT client;
    GetClientRect(player.main, &client);
    EXPECT_EQ(Place(label), Place(client.right - 145, client.bottom - 16, 170, 15));
    EXPECT_EQ(Place(player.board), board);

    HWND link = GetDlgItem(player.header, IDC_WEB_LINK);
    // A double click as the mouse delivers it, then notifications that are no click of the link.
    for (UINT message : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP})
        SendMessageW(link, message, message == WM_LBUTTONUP ? 0 : MK_LBUTTON, MAKELPARAM(5, 5));
    for (WPARAM command : {MAKEWPARAM(IDC_WEB_LINK, STN_DBLCLK), MAKEWPARAM(IDC_CREATOR, STN_CLICKED),
                           MAKEWPARAM(IDC_WEB_LINK, STN_ENABLE)})
        SendMessageW(player.header, WM_COMMAND, command, LPARAM(link));
    PumpMessages();
    EXPECT_EQ(g_recordedWebPages, std::vector<std::string>{"https://zelbo.fr"});
    LOGFONTA font = {};
    GetObjectA(HFONT(SendMessageW(link, WM_GETFONT, 0, 0)), sizeof(font), &font);
    EXPECT_TRUE(font.lfHeight == -13 && font.lfWeight == FW_NORMAL && font.lfUnderline);
    // The hand is set on the class: every static text of the program shows it.
    const auto hand = ULONG_PTR(LoadCursorA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_LINK_CURSOR)));
    EXPECT_EQ(GetClassLongPtrA(link, GCLP_HCURSOR), hand);
    EXPECT_EQ(GetClassLongPtrA(player.Item(IDC_NUMBER_LABEL), GCLP_HCURSOR), hand);

    LOGBRUSH headerBrush = {};
    GetObjectA(HBRUSH(HeaderPanelProc(player.header, WM_CTLCOLORDLG, 0, 0)), sizeof(headerBrush), &headerBrush);
    EXPECT_EQ(headerBrush.lbColor, RGB(128, 128, 255));
    const INT_PTR header = INT_PTR(g_headerBrush), quiz = INT_PTR(g_quiz->backgroundBrush), none = 0;
    const COLORREF BLACK = RGB(0, 0, 0), SAME = UNTOUCHED;
    const std::tuple<DLGPROC, HWND, Paint> cases[] = {
        {HeaderPanelProc, link, {header, TRANSPARENT, SAME, RGB(50, 50, 255)}},
        {HeaderPanelProc, GetDlgItem(player.header, IDC_TITLE), {header, TRANSPARENT, SAME, SAME}},
        {HeaderPanelProc, GetDlgItem(player.header, IDC_CODE), {header, TRANSPARENT, SAME, SAME}},
        {HeaderPanelProc, GetDlgItem(player.header, IDC_RULE_H), {none, OPAQUE, SAME, SAME}},
        {MainWindowProc, GetDlgItem(player.main, IDC_VERSION_LABEL), {INT_PTR(g_mainBrush), OPAQUE, SAME, BLACK}},
        {MainWindowProc, player.header, {none, OPAQUE, SAME, SAME}},
        {QuestionBoardProc, player.Item(IDC_ANSWER_CAPTION), {quiz, TRANSPARENT, SAME, BLACK}},
        {QuestionBoardProc, player.Item(IDC_REVEAL_BASE + 3), {quiz, OPAQUE, RGB(0x35, 0xCB, 0xA3), SAME}},
        {QuestionBoardProc, player.Item(IDC_PICTURE_BASE + 1), {none, OPAQUE, SAME, SAME}}};
    for (const auto& [procedure, control, paint] : cases)
        EXPECT_EQ(PaintOf(procedure, control), paint) << GetDlgCtrlID(control);
}

TEST(Player, AnswersAreJudgedSavedOnF2SauverAndClosingAndFoundAgainAtTheNextStart)
{
    ScopedTempDirectory folder;
    const std::string answers = OwnAnswersFile(), lines = "\r\nNANTES\r\nPAUL\r\n\r\nZO\xC9\r\nBREST\r\n";
    const std::string revealed = "L\351a, de Nantes";
    WriteFileBytes("zelbo1.mp3", "another quiz's clip"); // which a picture quiz leaves alone
    for (int run = 0; run < 2; ++run) {
        // The first start also makes what the process keeps for good (the link's font).
        const DWORD before = GdiObjectCount();
        TestPlayer player;
        HWND picture = player.Item(IDC_PICTURE_BASE + 1);
        const HBITMAP questionPicture = ShownPicture(picture), third = ShownPicture(player.Item(IDC_PICTURE_BASE + 3));
        auto shown = [&](int box) {
            return player.Text(box) + " " + player.Text(box + 1000) + player.HeaderText(IDC_SCORE) + " " +
                   player.HeaderText(IDC_CODE) + "|" + player.Text(IDC_REVEAL_BASE + 1);
        };
        if (run == 0) {
            // The second answer is optional: the first alone solves, but reveals nothing yet; that
            // waits for both boxes to hold the stored answers exactly.
            const struct {
                int box;
                const char *typed, *shown;
            } steps[] = {{4001, "  l\311a", "L\311A BRAVO 1 / 3 CODE-UN|"},
                         {4002, "  nantes", "NANTES BRAVO 1 / 3 CODE-UN|"},
                         {4002, "NANTES", "NANTES BRAVO 1 / 3 CODE-UN|L\351a, de Nantes"},
                         {4001, "Rome", "Rome FAUX 0 / 3       |"},
                         {4003, "paul", "PAUL BRAVO 1 / 3 CODE-UN|"},
                         {4005, "zo\xC9", "ZO\xC9 BRAVO 2 / 3 |"},
                         {4006, "brest", "BREST BRAVO 2 / 3 |"}};
            for (const auto& step : steps) {
                player.Type(step.box, step.typed);
                EXPECT_EQ(shown(step.box), step.shown);
            }
            // Question 1 shows its answer picture, kept when its answer went wrong again; the question
            // picture it replaced is gone. Question 3 has no answer picture.
            EXPECT_EQ(BitmapSize(ShownPicture(picture)).cy + BitmapSize(questionPicture).cy, 260);
            EXPECT_EQ(ShownPicture(player.Item(IDC_PICTURE_BASE + 3)), third);
            EXPECT_EQ(player.Text(IDC_REVEAL_BASE + 3), "Zo\xE9");
            player.Key(4003, VK_F2);
            EXPECT_EQ(ReadFileBytes(answers), "Rome" + lines);
            SetWindowText1252(player.Item(4001), "x");
            SendDlgItemMessageW(player.header, IDC_SAVE, BM_CLICK, 0, 0);
            EXPECT_EQ(ReadFileBytes(answers), "x" + lines);
            player.Type(4001, "L\311A");
            WriteFileBytes("zelbo.mp3", "a clip left over");
        }
        // Then, and at the next start, restored and judged before the player sees the board.
        std::string verdicts;
        for (int k = 1; k <= 6; ++k)
            verdicts += player.Text(5000 + k) + " ";
        EXPECT_EQ(verdicts, "BRAVO BRAVO BRAVO ? BRAVO BRAVO ");
        EXPECT_EQ(shown(4001), "L\311A BRAVO 3 / 3 CODE-TROIS|" + revealed);
        EXPECT_EQ(BitmapSize(ShownPicture(picture)).cy, 260);
        // Closing saves, deletes the program's clip file and ends the loop, but leaves the window;
        // so does the shut-down of a picture quiz, which leaves it to the end of the program.
        PostMessageW(player.main, WM_CLOSE, 0, 0);
        EXPECT_EQ(RunMessageLoop(), 0);
        EXPECT_EQ(ReadFileBytes(answers), "L\311A" + lines);
        ShutDownPlayer(player.main);
        EXPECT_TRUE(IsWindow(player.main) && !g_quiz && !g_mainBrush);
        DestroyWindow(player.main);
        MSG quit;
        EXPECT_TRUE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
        EXPECT_TRUE(run == 0 || GdiObjectCount() == before) << GdiObjectCount() - before << " left";
        EXPECT_EQ(FilesHere(), answers + " zelbo1.mp3");
    }
}

// "Variantes" (scripts/test-assets/quiz-content.cpp) with its accepted answers, accents forgiven,
// and the same quiz without them or with them damaged, which must play its stored answers alone and
// say nothing: restored answers, answers typed, then saved and found again at the next start.
TEST(Player, AcceptsTheVariantsItsQuizCarriesOrPlaysTheStoredAnswersAlone)
{
    // Every box as "text verdict|", then the score and the code; without accepted answers, then with.
    const char* const restored[] = {
        "de gaulle pas loin|colombey-les-deux-eglises Trop long|Geneve Quasiment| ?|oedipe Presque|thebes "
        "Quasiment| 0 / 3       ",
        "Charles de Gaulle BRAVO|Colombey BRAVO|Gen\350ve BRAVO| ?|\214dipe BRAVO|Th\350bes BRAVO| 3 / 3 TROIS"};
    // One letter short of a variant, typed into the first box: what it shows, the score and the code.
    const char* const typed[] = {"De Gaule FAUX 0 / 3       ", "De Gaule Quasiment 2 / 3 DEUX"};
    for (const char* name : {"variants", "variants-removed", "variants-bad", "variants-version-2", "variants-misfit"}) {
        SCOPED_TRACE(name);
        const bool accepts = name == std::string("variants");
        ScopedTempDirectory folder;
        WriteFileBytes(OwnAnswersFile(),
                       "de gaulle\r\ncolombey-les-deux-eglises\r\nGeneve\r\n\r\noedipe\r\nthebes\r\n");
        g_recordedMessages.clear();
        const UniqueModule module(LoadLibraryExA((BuildFolder() + "\\test-assets\\loader\\" + name + ".dll").c_str(),
                                                 nullptr, LOAD_LIBRARY_AS_DATAFILE));
        std::string saved;
        for (int run = 0; run < 2; ++run) {
            auto quiz = std::make_unique<QuizData>();
            LoadContentFromModule(*quiz, module.Get());
            TestPlayer player(std::move(quiz));
            auto board = [&player] {
                std::string shown;
                for (int k = 1; k <= 6; ++k)
                    shown += player.Text(IDC_ANSWER_BASE + k) + " " + player.Text(IDC_VERDICT_BASE + k) + "|";
                return shown + player.HeaderText(IDC_SCORE) + " " + player.HeaderText(IDC_CODE);
            };
            if (run == 1) {
                // Saved on F2, then found again at the next start.
                EXPECT_EQ(board(), saved);
                continue;
            }
            EXPECT_EQ(board(), restored[accepts]);
            player.Type(4001, "De Gaule");
            EXPECT_EQ(player.Text(4001) + " " + player.Text(5001) + player.HeaderText(IDC_SCORE) + " " +
                          player.HeaderText(IDC_CODE),
                      typed[accepts]);
            player.Key(4002, VK_F2);
            saved = board();
        }
        EXPECT_EQ(g_recordedMessages, std::vector<std::string>{});
    }
}

// Fails the third write of a save as a full disk does, or writes a byte less than asked while
// reporting success.
int g_writes = 0;
BOOL WINAPI FailingThirdWrite(HANDLE file, LPCVOID data, DWORD size, LPDWORD written, LPOVERLAPPED overlapped)
{
    if (++g_writes != 3)
        return WriteFile(file, data, size, written, overlapped);
    SetLastError(ERROR_DISK_FULL);
    return FALSE;
}
BOOL WINAPI ShortWrite(HANDLE file, LPCVOID data, DWORD size, LPDWORD written, LPOVERLAPPED overlapped)
{
    return WriteFile(file, data, size - 1, written, overlapped);
}

TEST(Player, ASaveThatCannotBeDoneKeepsThePreviousFileWholeAndSaysSoOnce)
{
    const std::string previous = "ancienne r\xE9ponse\r\n", longest(300, 'b');
    // Each box's text as it is, cut to 259 bytes, on a CR LF line of its own.
    const std::string saved = "  Mus\351e d'Orsay \r\n\r\n" + longest.substr(0, 259) + "\r\n";
    enum Obstacle { NONE, HELD_OPEN, READ_ONLY_FILE, FOLDER_IN_PLACE, FAILING_WRITE, SHORT_WRITE };
    // How the save is asked for: F2, or Windows ending the session, or asking to and going on.
    enum Save { F2, SESSION_ENDS, SESSION_GOES_ON };
    // The obstacle, the save, and the system error that the one message explains (0: no message).
    const std::tuple<Obstacle, Save, DWORD> cases[] = {{NONE, F2, 0},
                                                       {NONE, SESSION_ENDS, 0},
                                                       {NONE, SESSION_GOES_ON, 0},
                                                       {HELD_OPEN, SESSION_ENDS, 0},
                                                       {HELD_OPEN, F2, ERROR_SHARING_VIOLATION},
                                                       {READ_ONLY_FILE, F2, ERROR_FILE_READ_ONLY},
                                                       {FOLDER_IN_PLACE, F2, ERROR_ACCESS_DENIED},
                                                       {FAILING_WRITE, F2, ERROR_DISK_FULL},
                                                       {SHORT_WRITE, F2, ERROR_HANDLE_DISK_FULL}};
    for (const auto& [obstacle, save, error] : cases) {
        SCOPED_TRACE(testing::Message() << "obstacle " << obstacle << ", save " << save);
        ScopedTempDirectory folder;
        const std::string answers = OwnAnswersFile();
        if (obstacle == FOLDER_IN_PLACE)
            CreateDirectoryA(answers.c_str(), nullptr);
        else
            WriteFileBytes(answers, previous);
        g_recordedMessages.clear();
        TestPlayer player(MakeQuiz(MEDIA_TEXT, 1, REVEAL_NOTHING, std::vector<TestQuestion>(3, {"a", "", "", ""})));
        SetWindowText1252(player.Item(4001), "  Mus\351e d'Orsay ");
        SetWindowText1252(player.Item(4003), longest.c_str());
        UniqueFile held(obstacle != HELD_OPEN
                            ? INVALID_HANDLE_VALUE
                            : CreateFileA(answers.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        SetFileAttributesA(answers.c_str(),
                           obstacle == READ_ONLY_FILE ? FILE_ATTRIBUTE_READONLY : FILE_ATTRIBUTE_NORMAL);
        SetAnswersWriter(obstacle == FAILING_WRITE ? FailingThirdWrite
                         : obstacle == SHORT_WRITE ? ShortWrite
                                                   : nullptr);
        g_writes = 0;
        if (save == F2) {
            player.Key(4002, VK_F2);
        } else {
            EXPECT_EQ(SendMessageW(player.main, WM_QUERYENDSESSION, 0, ENDSESSION_CLOSEAPP), TRUE);
            SendMessageW(player.main, WM_ENDSESSION, save == SESSION_ENDS, ENDSESSION_CLOSEAPP);
        }
        held.Reset();
        SetAnswersWriter(nullptr);
        SetFileAttributesA(answers.c_str(), FILE_ATTRIBUTE_NORMAL);
        char path[MAX_PATH];
        GetFullPathNameA(answers.c_str(), MAX_PATH, path, nullptr);
        const WideString message = SaveFailureMessage(WideFrom1252(path), error);
        EXPECT_EQ(g_recordedMessages,
                  std::vector<std::string>(error != 0, "Zelbo: " + Cp1252FromWide(message.c_str())));
        if (obstacle == FOLDER_IN_PLACE)
            EXPECT_TRUE(RemoveDirectoryA(answers.c_str()));
        else
            EXPECT_EQ(ReadFileBytes(answers), obstacle == NONE && save != SESSION_GOES_ON ? saved : previous);
        // Without the obstacle the next save writes, leaving no other file.
        player.Key(4002, VK_F2);
        EXPECT_EQ(ReadFileBytes(answers), saved);
        EXPECT_EQ(FilesHere(), answers);
    }
    // Without a board there is nothing to save, and no file is made; a quiz without boxes saves none.
    ScopedTempDirectory folder;
    SaveAnswers(nullptr);
    EXPECT_EQ(FilesHere(), "");
    TestPlayer player(MakeQuiz(MEDIA_TEXT, 1, REVEAL_NOTHING, {}));
    SendMessageW(player.main, WM_COMMAND, MAKEWPARAM(IDC_SAVE, BN_CLICKED), 0);
    EXPECT_EQ(FilesHere() + "|" + ReadFileBytes(OwnAnswersFile()), OwnAnswersFile() + "|");
}

TEST(PlayerProcess, OpensNormallyAndSavesUnderItsOwnNameOnClosing)
{
    ScopedTempDirectory folder;
    WriteFileBytes("zelbo.mp3", "not a clip");
    // Started from another folder, under a name that no Western-European code page holds.
    CreateDirectoryW(L"jeux", nullptr);
    WideString program = L"jeux\\Quiz Łódź.exe";
    ASSERT_TRUE(CopyFileW(WideFrom1252((BuildFolder() + "\\zelbo.exe").c_str()).c_str(), program.c_str(), TRUE));
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    PROCESS_INFORMATION process = {};
    ASSERT_TRUE(
        CreateProcessW(program.c_str(), nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process));
    UniqueKernelHandle thread(process.hThread), running(process.hProcess);
    // The show command it was given does not matter: the window opens normally.
    WaitForInputIdle(running.Get(), 20000);
    HWND window = FindWindowA("WindowsApp", "Nom du zelbo"); // no content of its own: the sample quiz
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(IsWindowVisible(window) && !IsIconic(window));
    PostMessageW(window, WM_CLOSE, 0, 0);
    DWORD exitCode = 1;
    ASSERT_EQ(WaitForSingleObject(running.Get(), 20000), WAIT_OBJECT_0);
    EXPECT_TRUE(GetExitCodeProcess(running.Get(), &exitCode) && exitCode == 0);
    // The sample's 7 questions of 2 empty boxes, saved in the folder it ran in.
    EXPECT_EQ(FilesHere(), u8"Quiz Łódź.txt");
    std::string emptyLines;
    for (int box = 0; box < 14; ++box)
        emptyLines += "\r\n";
    EXPECT_EQ(ReadFileBytes(u8"Quiz Łódź.txt"), emptyLines);
}

} // namespace
