// Zelbo Atelier driven as a quiz maker drives it, in-process under Wine: fields typed into, menu
// commands, files dropped, its questions answered through its seams; what it shows read back from
// its controls, and the files it writes compared with what zelbo-pack makes of them.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <string>
#include <vector>

#include "atelier/atelier_dialogs_win.h"
#include "atelier/atelier_window_win.h"
#include "atelier/build_runner_win.h"
#include "atelier_resource.h"
#include "content/content_loader_win.h"
#include "platform/win_raii.h"
#include "version.h"
#include "win_test_support.h"

namespace {

std::string Asset(const char* name)
{
    return BuildFolder() + "\\test-assets\\pack\\" + name;
}

std::wstring Here(const std::string& name)
{
    wchar_t folder[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, folder);
    return std::wstring(folder) + L"\\" + Wide(name);
}

// The dialogs answer as the test says: the files to open, the name to save under, the folder.
std::vector<std::wstring> g_filesToOpen;
std::wstring g_nameToSave, g_folderToChoose;

void AnswerDialogs()
{
    g_dialogs.openFiles = [](HWND, FileKind) { return g_filesToOpen; };
    g_dialogs.saveFile = [](HWND, FileKind, const std::wstring&) { return g_nameToSave; };
    g_dialogs.chooseFolder = [](HWND, const wchar_t*) { return g_folderToChoose; };
    g_dialogs.chooseColour = [](HWND, COLORREF* colour) {
        *colour = RGB(0x35, 0xCB, 0xA3);
        return true;
    };
}

// Each question's answers as the list shows them.
std::string Answers(const TestAtelier& atelier)
{
    std::string answers;
    for (const std::string& row : atelier.Rows(IDC_QUESTION_LIST)) {
        const size_t first = row.find('|') + 1;
        answers += (answers.empty() ? "" : ",") + row.substr(first, row.find('|', first) - first);
    }
    return answers;
}

// The content and codes a quiz executable carries.
std::string Payloads(const std::string& path)
{
    UniqueModule quiz(LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    return ResourceBytes(quiz.Get(), "PATCH", 104) + "|" + ResourceBytes(quiz.Get(), "PATCH", 105);
}

// The middle of a row of the question list, in the window's client area.
POINT RowPoint(const TestAtelier& atelier, int row)
{
    RECT box = {LVIR_BOUNDS, 0, 0, 0};
    SendMessageW(atelier.Item(IDC_QUESTION_LIST), LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(&box));
    POINT point = {(box.left + box.right) / 2, (box.top + box.bottom) / 2};
    MapWindowPoints(atelier.Item(IDC_QUESTION_LIST), atelier.window, &point, 1);
    return point;
}

class Atelier : public testing::Test {
protected:
    void SetUp() override
    {
        AnswerDialogs();
        g_recordedMessages.clear();
        g_askedQuestions.clear();
        g_startedPrograms.clear();
        g_choiceAnswers.clear();
    }
    void TearDown() override { g_dialogs = PlatformDialogs(); }

    ScopedTempDirectory folder;
};

// Clicks the problems pane's row: the maker is brought to the problem's question and field.
void ClickProblem(const TestAtelier& atelier, int row)
{
    NMITEMACTIVATE click = {};
    click.hdr = {atelier.Item(IDC_PROBLEM_LIST), IDC_PROBLEM_LIST, static_cast<UINT>(NM_CLICK)};
    click.iItem = row;
    SendMessageW(atelier.window, WM_NOTIFY, IDC_PROBLEM_LIST, reinterpret_cast<LPARAM>(&click));
}

// A picture quiz made from nothing: three pictures added, its settings and codes set, the problems
// it shows fixed from the problems pane, other answers accepted and accents forgiven, undone and
// redone, saved and built. The quiz built is byte for byte what zelbo-pack builds from the saved
// source, which check accepts, and opened again it shows what was set. Questions added and removed
// leave no GDI object behind.
TEST_F(Atelier, PictureQuizMadeFromNothingBuildsAsTheToolBuildsIt)
{
    for (const auto& [from, to] : {std::pair<const char*, const char*>{"tile.bmp", "_.bmp"},
                                   {"small.jpg", "10_Rome.jpg"},
                                   {"flag.gif", "2_Paris.gif"}})
        CopyFileW(Wide(Asset(from)).c_str(), Here(to).c_str(), FALSE);
    TestAtelier atelier;
    atelier.Settle();
    const DWORD gdiObjects = GdiObjectCount();
    g_filesToOpen = {Here("_.bmp"), Here("10_Rome.jpg"), Here("2_Paris.gif")};
    atelier.Command(IDM_ADD_PICTURES);
    EXPECT_EQ(Answers(atelier), "Paris,Rome,");
    atelier.Type(IDC_TITLE, "Capitales « d'Europe »");
    atelier.Type(IDC_CREATOR, "Zoé");
    atelier.Type(IDC_CODES, "OR\r\nARGENT\r\nBRONZE");
    atelier.Command(IDC_COLOUR);
    atelier.Settle();

    // The empty answer, then a variant that is the answer again, each on its question and field; a
    // click there brings the maker to it.
    const struct {
        const char* problem;
        int field;
        const char* fix;
        const char* variants; // typed after the fix
    } problems[] = {{"Erreur|3|Réponse 1|question 3, réponse 1", IDC_ANSWER_1, "Lisbonne", "Lisbõa | LISBONNE "},
                    {"Erreur|3|Autres réponses 1|question 3, réponse 1, variante 2", IDC_VARIANTS_1,
                     "Lisbõa | Lissabon |", nullptr}};
    for (const auto& [problem, field, fix, variants] : problems) {
        atelier.Settle();
        const std::vector<std::string> rows = atelier.Rows(IDC_PROBLEM_LIST);
        ASSERT_EQ(rows.size(), 1u) << rows[0];
        EXPECT_EQ(rows[0].substr(0, rows[0].find(" : ")), problem);
        ClickProblem(atelier, 0);
        EXPECT_EQ(atelier.Text(IDC_FORM_HEADING), "Question 3 sur 3");
        EXPECT_EQ(GetFocus(), atelier.Item(field));
        atelier.Type(field, fix);
        if (variants)
            atelier.Type(IDC_VARIANTS_1, variants);
    }
    atelier.Settle();
    EXPECT_TRUE(atelier.Rows(IDC_PROBLEM_LIST).empty()) << atelier.Rows(IDC_PROBLEM_LIST)[0];
    EXPECT_EQ(atelier.Rows(IDC_QUESTION_LIST)[2], "3|Lisbonne (+2)|_.bmp|");

    // What the player would say, with accents strict, forgiven, then as undo and redo leave them.
    auto verdicts = [&] {
        std::string said;
        for (const char* typed : {"  lisbone", "lissabon", "LISBOA"}) {
            atelier.Type(IDC_TRY_ANSWER, typed);
            said += atelier.Text(IDC_VERDICT) + ",";
        }
        return said + (IsDlgButtonChecked(atelier.window, IDC_ACCENTS) ? "tolérés" : "stricts");
    };
    EXPECT_EQ(verdicts(), "Quasiment,BRAVO,Quasiment,stricts");
    SendMessageW(atelier.Item(IDC_ACCENTS), BM_CLICK, 0, 0);
    EXPECT_EQ(verdicts(), "Quasiment,BRAVO,BRAVO,tolérés");
    atelier.Command(IDM_UNDO);
    EXPECT_EQ(verdicts(), "Quasiment,BRAVO,Quasiment,stricts");
    atelier.Command(IDM_UNDO);
    EXPECT_EQ(atelier.Text(IDC_VARIANTS_1), "Lisbõa | LISBONNE");
    atelier.Command(IDM_REDO);
    atelier.Command(IDM_REDO);
    EXPECT_EQ(atelier.Text(IDC_VARIANTS_1), "Lisbõa | Lissabon");
    EXPECT_EQ(verdicts(), "Quasiment,BRAVO,BRAVO,tolérés");

    // Questions deleted and brought back leave the GDI objects as they were.
    for (int round = 0; round < 3; ++round) {
        ListView_SetItemState(atelier.Item(IDC_QUESTION_LIST), -1, LVIS_SELECTED, LVIS_SELECTED);
        atelier.Command(IDM_DELETE_QUESTIONS);
        EXPECT_EQ(Answers(atelier), "");
        atelier.Command(IDM_UNDO);
        atelier.Settle();
    }
    EXPECT_EQ(GdiObjectCount(), gdiObjects);

    g_nameToSave = Here("quiz.toml");
    atelier.Command(IDM_SAVE);
    EXPECT_EQ(WindowText(atelier.window), "quiz.toml - Zelbo Atelier");
    g_nameToSave = Here("atelier.exe");
    // "Annuler" before the first picture is converted: the earlier program stays whole, nothing is
    // said, and the window builds again.
    CopyFileW(Wide(BuildFolder() + "\\zelbo.exe").c_str(), Here("atelier.exe").c_str(), FALSE);
    const std::string earlier = ReadFileBytes("atelier.exe");
    UniqueKernelHandle held(CreateEventW(nullptr, TRUE, FALSE, nullptr)),
        resumed(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    g_beforeBuild = [&] {
        SetEvent(held.Get());
        WaitForSingleObject(resumed.Get(), 30000);
    };
    atelier.Command(IDM_BUILD);
    ASSERT_TRUE(atelier.WaitFor([&] { return WaitForSingleObject(held.Get(), 0) == WAIT_OBJECT_0; }));
    atelier.Command(IDC_BUILD_CANCEL);
    SetEvent(resumed.Get());
    ASSERT_TRUE(atelier.WaitFor([&] { return !IsWindowVisible(atelier.Item(IDC_BUILD_PROGRESS)); }));
    g_beforeBuild = nullptr;
    EXPECT_TRUE(ReadFileBytes("atelier.exe") == earlier);
    atelier.Command(IDM_BUILD);
    ASSERT_TRUE(atelier.WaitFor([&] { return !IsWindowVisible(atelier.Item(IDC_BUILD_PROGRESS)); }));
    EXPECT_TRUE(g_recordedMessages.empty()) << g_recordedMessages[0];
    const ToolRun check = RunTool("check quiz.toml");
    EXPECT_EQ(check.exitCode, 0) << check;
    const ToolRun build = RunTool("build quiz.toml -o tool.exe --player \"" + BuildFolder() + "\\zelbo.exe\"");
    ASSERT_EQ(build.exitCode, 0) << build;
    EXPECT_EQ(ReadFileBytes("atelier.exe"), ReadFileBytes("tool.exe"));
    UniqueModule built(LoadLibraryExA("atelier.exe", nullptr, LOAD_LIBRARY_AS_DATAFILE));
    EXPECT_FALSE(ResourceBytes(built.Get(), "PATCH", 106).empty());
    const std::string saved = ReadFileBytes("quiz.toml");
    for (const char* line : {"colour = \"#35CBA3\"\n", "accents = \"tolérés\"\n",
                             "answers = [[\"Lisbonne\", \"Lisbõa\", \"Lissabon\"]]\n"})
        EXPECT_NE(saved.find(line), std::string::npos) << line << saved;

    // Opened again, the quiz shows its other answers and its accent option.
    g_filesToOpen = {Here("quiz.toml")};
    atelier.Command(IDM_OPEN);
    ListView_SetItemState(atelier.Item(IDC_QUESTION_LIST), -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    ListView_SetItemState(atelier.Item(IDC_QUESTION_LIST), 2, LVIS_SELECTED | LVIS_FOCUSED,
                          LVIS_SELECTED | LVIS_FOCUSED);
    EXPECT_EQ(atelier.Text(IDC_VARIANTS_1), "Lisbõa | Lissabon");
    EXPECT_EQ(verdicts(), "Quasiment,BRAVO,BRAVO,tolérés");
}

// Files dropped add questions in name order where they fall, or replace the picture they fall on;
// undo and redo bring the list and the saved file back to each earlier state; a table's questions
// are added after them. A quiz executable opened gives its source, which saved
// again builds into the same content and codes; a source that cannot be read is not opened.
TEST_F(Atelier, DropsUndoRedoAndQuizzesOpenedFromTheirExecutable)
{
    for (const char* name : {"b10.jpg", "b2.jpg", "a.jpg"})
        CopyFileW(Wide(Asset("small.jpg")).c_str(), Here(name).c_str(), FALSE);
    TestAtelier atelier;
    g_nameToSave = Here("quiz.toml");
    std::vector<std::string> saved;
    auto save = [&] {
        atelier.Command(IDM_SAVE);
        saved.push_back(ReadFileBytes("quiz.toml"));
    };
    DropFiles(atelier.window, {Here("b10.jpg"), Here("a.jpg")},
              CentreOf(atelier.window, atelier.Item(IDC_QUESTION_LIST)));
    save();
    // Onto the list's first row: before it.
    DropFiles(atelier.window, {Here("b2.jpg")}, RowPoint(atelier, 0));
    EXPECT_EQ(Answers(atelier), "b2,a,b10");
    save();
    atelier.Command(IDM_MOVE_DOWN);
    EXPECT_EQ(Answers(atelier), "a,b2,b10");
    save();
    const std::string states[] = {"b2,a,b10", "a,b10"};
    for (int i = 0; i < 2; ++i) {
        atelier.Command(IDM_UNDO);
        EXPECT_EQ(Answers(atelier), states[i]);
        save();
        EXPECT_EQ(saved.back(), saved[1 - i]);
    }
    atelier.Command(IDM_REDO);
    atelier.Command(IDM_REDO);
    EXPECT_EQ(Answers(atelier), "a,b2,b10");
    save();
    EXPECT_EQ(saved.back(), saved[2]);

    // A picture dropped onto the form's replaces the shown question's; a table's questions follow.
    DropFiles(atelier.window, {Here("a.jpg")}, CentreOf(atelier.window, atelier.Item(IDC_PICTURE_VIEW)));
    EXPECT_EQ(atelier.Rows(IDC_QUESTION_LIST)[1].substr(0, 10), "2|b2|a.jpg");
    WriteFileBytes("questions.csv", "réponse;image\nc;b2.jpg\n");
    g_filesToOpen = {Here("questions.csv")};
    g_choiceAnswers = {0};
    atelier.Command(IDM_IMPORT_TABLE);
    EXPECT_EQ(Answers(atelier), "a,b2,b10,c");

    // The demo quiz built by the tool, opened in the editor, saved again, built again.
    const std::string demo = BuildFolder() + "\\test-assets\\demo\\quiz.toml";
    ASSERT_EQ(RunTool("build \"" + demo + "\" -o demo.exe --player \"" + BuildFolder() + "\\zelbo.exe\"").exitCode, 0);
    CreateDirectoryW(Here("source").c_str(), nullptr);
    g_folderToChoose = Here("source");
    g_filesToOpen = {Here("demo.exe")};
    g_choiceAnswers = {1}; // the changes made above are not kept
    atelier.Command(IDM_OPEN);
    EXPECT_EQ(WindowText(atelier.window), "quiz.toml - Zelbo Atelier");
    EXPECT_EQ(atelier.Text(IDC_TITLE), "Capitales d'Europe");
    g_nameToSave = Here("source\\again.toml");
    atelier.Command(IDM_SAVE_AS);
    ASSERT_EQ(RunTool("build source\\again.toml -o again.exe --player \"" + BuildFolder() + "\\zelbo.exe\"").exitCode,
              0);
    EXPECT_EQ(Payloads("again.exe"), Payloads("demo.exe"));

    // A source that cannot be read whole is not opened, lest saving lose what was not read.
    WriteFileBytes("broken.toml", "title = \"x\"\nkind = [\n");
    g_filesToOpen = {Here("broken.toml")};
    atelier.Command(IDM_OPEN);
    EXPECT_EQ(WindowText(atelier.window), "again.toml - Zelbo Atelier");
    ASSERT_EQ(g_recordedMessages.size(), 1u);
    EXPECT_NE(g_recordedMessages[0].find("broken.toml:"), std::string::npos) << g_recordedMessages[0];
}

// Closing with changes asks, and "Annuler" keeps the window; the recovery copy of the unsaved work
// is offered back at the next start after a crash, then removed. "Essayer" builds the quiz as it
// stands and starts it in its folder. A save that fails leaves the old file whole. The help menu
// opens the guide and tells the version.
TEST_F(Atelier, UnsavedWorkIsAskedForKeptAndTried)
{
    CopyFileW(Wide(Asset("small.jpg")).c_str(), Here("Paris.jpg").c_str(), FALSE);
    {
        TestAtelier atelier;
        g_filesToOpen = {Here("Paris.jpg")};
        atelier.Command(IDM_ADD_PICTURES);
        atelier.Type(IDC_TITLE, "Essai");
        g_choiceAnswers = {2};
        SendMessageW(atelier.window, WM_CLOSE, 0, 0);
        ASSERT_TRUE(IsWindow(atelier.window));
        EXPECT_EQ(g_askedQuestions, std::vector<std::string>{"Zelbo Atelier: Enregistrer les modifications de "
                                                             "« Sans titre » ?"});
        SendMessageW(atelier.window, WM_TIMER, RECOVERY_TIMER, 0);
        const std::string process = std::to_string(GetCurrentProcessId());
        EXPECT_EQ(FilesHere(), "Paris.jpg atelier-" + process + ".note sans-titre-" + process + ".recuperation");
        // What a crashed editor leaves: its copy, and the note of a process that no longer runs.
        CopyFileW(Wide("sans-titre-" + process + ".recuperation").c_str(), L"sans-titre-1234567.recuperation", FALSE);
        WriteFileBytes("atelier-1234567.note", Narrow(Here("sans-titre-1234567.recuperation")));
    }
    EXPECT_EQ(FilesHere(), "Paris.jpg atelier-1234567.note sans-titre-1234567.recuperation");
    g_choiceAnswers = {0};
    TestAtelier atelier;
    ASSERT_EQ(g_askedQuestions.size(), 2u);
    EXPECT_NE(g_askedQuestions[1].find("Rouvrir la copie"), std::string::npos);
    EXPECT_EQ(atelier.Text(IDC_TITLE), "Essai");
    EXPECT_EQ(Answers(atelier), "Paris");
    EXPECT_EQ(WindowText(atelier.window), "*Sans titre - Zelbo Atelier");
    EXPECT_EQ(FilesHere(), "Paris.jpg");

    atelier.Command(IDM_TRY);
    ASSERT_TRUE(atelier.WaitFor([] { return !g_startedPrograms.empty(); }));
    const std::string tried = Narrow(TryFolder());
    EXPECT_EQ(g_startedPrograms[0], tried + "\\essai.exe in " + tried);
    UniqueModule quiz(LoadLibraryExW((TryFolder() + L"\\essai.exe").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    QuizData loaded;
    LoadContentFromModule(loaded, quiz.Get());
    EXPECT_STREQ(loaded.title, "Essai");

    // The tries of editors that ended go at the next start, save one whose quiz is still played.
    const std::wstring tries = TryFolder().substr(0, TryFolder().find_last_of(L'\\') + 1);
    for (const wchar_t* name : {L"essai-1234567", L"essai-7654321"}) {
        CreateDirectoryW((tries + name).c_str(), nullptr);
        for (const wchar_t* file : {L"\\essai.exe", L"\\quiz.toml"})
            CopyFileW((TryFolder() + file).c_str(), (tries + name + file).c_str(), FALSE);
    }
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION played = {};
    ASSERT_TRUE(CreateProcessW((tries + L"essai-7654321\\essai.exe").c_str(), nullptr, nullptr, nullptr, FALSE, 0,
                               nullptr, (tries + L"essai-7654321").c_str(), &startup, &played));
    UniqueKernelHandle playedProcess(played.hProcess), playedThread(played.hThread);
    auto left = [&] {
        std::string names;
        for (const wchar_t* name : {L"essai-1234567", L"essai-7654321"})
            names += GetFileAttributesW((tries + name + L"\\quiz.toml").c_str()) != INVALID_FILE_ATTRIBUTES
                         ? Narrow(name) + " "
                         : "";
        return names + (GetFileAttributesW(TryFolder().c_str()) != INVALID_FILE_ATTRIBUTES ? "own" : "");
    };
    RemoveEndedTries();
    EXPECT_EQ(left(), "essai-7654321 own");
    TerminateProcess(played.hProcess, 0);
    WaitForSingleObject(played.hProcess, INFINITE);
    RemoveEndedTries();
    EXPECT_EQ(left(), "own");

    // The old file is held open, so that it cannot be replaced.
    WriteFileBytes("quiz.toml", "ancien");
    AnswerDialogs();
    g_nameToSave = Here("quiz.toml");
    {
        UniqueFile held(CreateFileW(L"quiz.toml", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        atelier.Command(IDM_SAVE);
    }
    EXPECT_EQ(ReadFileBytes("quiz.toml"), "ancien");
    ASSERT_EQ(g_recordedMessages.size(), 1u);
    EXPECT_NE(g_recordedMessages[0].find("est resté tel quel"), std::string::npos) << g_recordedMessages[0];
    EXPECT_EQ(WindowText(atelier.window), "*Sans titre - Zelbo Atelier");

    // The guide beside the program, and the version.
    atelier.Command(IDM_GUIDE);
    atelier.Command(IDM_ABOUT);
    EXPECT_NE(g_startedPrograms.back().find("\\docs\\quiz-format.md"), std::string::npos) << g_startedPrograms.back();
    EXPECT_NE(g_recordedMessages.back().find("version " ZELBO_VERSION_TEXT), std::string::npos);
}

} // namespace
