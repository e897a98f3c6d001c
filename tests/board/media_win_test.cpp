// Audio and video questions under Wine: media frames, clip files, the play and stop buttons and the
// shut-down. The media player's own play state is not implemented by Wine (get_playState fails),
// so each player's controls are swapped for a recorder that logs the play and stop calls.
#include <gtest/gtest.h>

#include <ole2.h>
#include <wmp.h>

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "board/media_win.h"
#include "content/quiz_data_win.h"
#include "resource.h"
#include "tests/board/board_fixture_win.h"
#include "win_test_support.h"

namespace {

constexpr int QUESTIONS = 6;
constexpr int MISSING_CLIP = 4; // the test resources hold no clip for question 4
constexpr char TEST_MAIN_CLASS[] = "ZelboMediaTestMain";

// The player's GUID, spelled out here: the media code owns the definitions from the header.
constexpr CLSID MEDIA_PLAYER_CLASS = {0x6BF52A52, 0x394A, 0x11D3, {0xB1, 0x53, 0x00, 0xC0, 0x4F, 0x79, 0xFA, 0xA6}};

std::vector<std::string> g_calls;
int g_liveRecorders = 0;

// Stands in for a player's controls and logs "play q" and "stop q".
class RecordingControls : public IWMPControls {
public:
    explicit RecordingControls(int question) : m_question(question) { ++g_liveRecorders; }
    virtual ~RecordingControls() { --g_liveRecorders; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** object) override
    {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++m_references; }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const ULONG left = --m_references;
        if (left == 0)
            delete this;
        return left;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override
    {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE get_isAvailable(BSTR, VARIANT_BOOL*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE play() override { return Log("play"); }
    HRESULT STDMETHODCALLTYPE stop() override { return Log("stop"); }
    HRESULT STDMETHODCALLTYPE pause() override { return Log("pause"); }
    HRESULT STDMETHODCALLTYPE fastForward() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE fastReverse() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_currentPosition(double*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_currentPosition(double) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_currentPositionString(BSTR*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE next() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE previous() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE currentItem(IWMPMedia**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_currentItem(IWMPMedia*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_currentMarker(LONG*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_currentMarker(LONG) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE playItem(IWMPMedia*) override { return E_NOTIMPL; }

private:
    HRESULT Log(const char* what)
    {
        g_calls.push_back(std::string(what) + " " + std::to_string(m_question));
        return S_OK;
    }

    int m_question;
    ULONG m_references = 1;
};

// A class factory that refuses to make anything, registered over the media player's class.
class RefusingFactory : public IClassFactory {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override
    {
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IClassFactory)) {
            *object = static_cast<IClassFactory*>(this);
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown*, REFIID, void** object) override
    {
        *object = nullptr;
        return E_OUTOFMEMORY;
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }
};

struct Attachment {
    IUnknown* control;
    HWND host;
};
std::vector<Attachment> g_attachments;

HRESULT WINAPI RecordAttachment(IUnknown* control, HWND host, IUnknown** container)
{
    g_attachments.push_back({control, host});
    if (container)
        *container = nullptr;
    return S_OK;
}

INT_PTR CALLBACK TestBoardProc(HWND board, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        return TRUE;
    case WM_COMMAND:
        OnMediaCommand(board, wParam);
        return TRUE;
    default:
        return FALSE;
    }
}

const char* Extension(int mediaKind)
{
    return mediaKind == 3 ? "avi" : "mp3";
}

std::string ClipFile(int question, const char* extension)
{
    return "zelbo" + std::to_string(question) + "." + extension;
}

std::string ResourceBytes(int id)
{
    HMODULE module = GetModuleHandle(nullptr);
    HRSRC resource = FindResourceA(module, MAKEINTRESOURCEA(id), "IMG");
    if (!resource)
        return {};
    const char* bytes = static_cast<const char*>(LockResource(LoadResource(module, resource)));
    return std::string(bytes, SizeofResource(module, resource));
}

std::string PlayerUrl(int question)
{
    BSTR url = nullptr;
    if (FAILED(g_players[question - 1]->get_URL(&url)))
        return "(failed)";
    char text[600] = {};
    if (url)
        WideCharToMultiByte(CP_ACP, 0, url, -1, text, sizeof(text), nullptr, nullptr);
    SysFreeString(url);
    return text;
}

// Names of the clip files 1 to 96 of either kind present in the current directory.
std::vector<std::string> ClipFilesPresent()
{
    std::vector<std::string> present;
    for (const char* extension : {"mp3", "avi"}) {
        for (int question = 1; question <= MAX_MEDIA_QUESTIONS; ++question) {
            if (FileExists(ClipFile(question, extension)))
                present.push_back(ClipFile(question, extension));
        }
    }
    return present;
}

std::string Joined(const std::vector<std::string>& items)
{
    std::string text;
    for (const std::string& item : items)
        text += (text.empty() ? "" : ", ") + item;
    return text;
}

// Swaps every player's controls for a recorder; the media code releases them as its own.
void RecordControls()
{
    for (int index = 0; index < MAX_MEDIA_QUESTIONS; ++index) {
        if (!g_playerControls[index])
            continue;
        g_playerControls[index]->Release();
        g_playerControls[index] = new RecordingControls(index + 1);
    }
    g_calls.clear();
}

// The calls that the last commands made, consumed.
std::vector<std::string> TakeCalls()
{
    return std::exchange(g_calls, {});
}

class MediaTest : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        RegisterPlainWindowClass(TEST_MAIN_CLASS);
    }

    void TearDown() override
    {
        if (g_quiz && !m_cleanedUp)
            MediaCleanup(m_mainWindow);
        if (IsWindow(m_mainWindow))
            DestroyWindow(m_mainWindow);
        delete g_quiz;
        g_quiz = nullptr;
        g_calls.clear();
        g_attachments.clear();
        ClearRecordedMessages();
    }

    // The quiz record, media start-up, a main window and an empty board, as the shell makes them.
    void StartQuiz(int mediaKind, int questionCount = QUESTIONS)
    {
        g_quiz = new QuizData();
        g_quiz->mediaKind = mediaKind;
        g_quiz->questionCount = questionCount;
        for (int question = 1; question <= questionCount; ++question)
            g_quiz->AddQuestion("REPONSE", "", "");
        MediaStartup();
        m_mainWindow = CreateWindowExA(0, TEST_MAIN_CLASS, "", WS_OVERLAPPEDWINDOW, 0, 0, 1000, 700, nullptr, nullptr,
                                       GetModuleHandle(nullptr), nullptr);
        m_board = CreateDialogParamA(GetModuleHandle(nullptr), MAKEINTRESOURCEA(IDD_QUESTION_BOARD), m_mainWindow,
                                     TestBoardProc, 0);
        ASSERT_NE(m_board, nullptr);
    }

    // Cell tops of board lines of three, as the board places them for this kind.
    static int CellLeft(int question) { return 46 + 290 * ((question - 1) % 3); }
    static int CellTop(int question, int mediaKind) { return 5 + (mediaKind == 3 ? 270 : 60) * ((question - 1) / 3); }

    void SetUpQuestions(int count)
    {
        for (int question = 1; question <= count; ++question)
            ASSERT_TRUE(SetUpQuestionMedia(m_board, question, CellLeft(question), CellTop(question, g_quiz->mediaKind)))
                << question;
    }

    void Click(int id) { SendMessage(m_board, WM_COMMAND, static_cast<WPARAM>(id), 0); }

    void CleanUp()
    {
        MediaCleanup(m_mainWindow);
        m_cleanedUp = true;
    }

    ScopedTempDirectory m_directory; // the clip files land here
    HWND m_mainWindow = nullptr;
    HWND m_board = nullptr;
    bool m_cleanedUp = false;
};

// Runs first, while nothing has loaded the hosting library yet: a library of that name beside the
// program is not a library at all, so taking it instead of the system's would fail.
TEST_F(MediaTest, LoadsTheHostingLibraryFromTheSystemFolderOnly)
{
    if (GetModuleHandleA("atl.dll"))
        GTEST_SKIP() << "atl.dll is already loaded, so the search order cannot be observed";
    char program[MAX_PATH];
    GetModuleFileNameA(nullptr, program, MAX_PATH);
    std::string planted = program;
    planted = planted.substr(0, planted.rfind('\\')) + "\\atl.dll";
    WriteFileBytes(planted, "MZ not a library");
    WriteFileBytes("atl.dll", "MZ not a library either");

    StartQuiz(2);
    DeleteFileA(planted.c_str());

    ASSERT_NE(g_atlModule, nullptr);
    char loaded[MAX_PATH];
    char system[MAX_PATH];
    GetModuleFileNameA(g_atlModule, loaded, MAX_PATH);
    GetSystemDirectoryA(system, MAX_PATH);
    EXPECT_EQ(
        CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, loaded, -1, (std::string(system) + "\\atl.dll").c_str(), -1),
        CSTR_EQUAL)
        << loaded;
    EXPECT_NE(g_attachControl, nullptr);
}

class MediaKindTest : public MediaTest, public testing::WithParamInterface<int> {};

TEST_P(MediaKindTest, FramesSitAtTheCellsAndNoClipFileOutlivesTheBuild)
{
    const int kind = GetParam();
    StartQuiz(kind);
    SetUpQuestions(QUESTIONS);

    const int width = kind == 3 ? 260 : 0;
    const int height = kind == 3 ? 200 : 0;
    for (int question = 1; question <= QUESTIONS; ++question) {
        SCOPED_TRACE("question " + std::to_string(question));
        HWND frame = GetDlgItem(m_board, IDC_PICTURE_BASE + question);
        ASSERT_NE(frame, nullptr);
        EXPECT_EQ(g_mediaHosts[question - 1], frame);
        const DWORD style = static_cast<DWORD>(GetWindowLongA(frame, GWL_STYLE));
        EXPECT_EQ(style & (WS_CHILD | WS_VISIBLE | WS_BORDER | WS_POPUP), DWORD{WS_CHILD | WS_VISIBLE | WS_BORDER});
        const RECT rect = ChildRect(frame);
        EXPECT_EQ(rect.left, CellLeft(question));
        EXPECT_EQ(rect.top, CellTop(question, kind));
        EXPECT_EQ(rect.right - rect.left, width);
        EXPECT_EQ(rect.bottom - rect.top, height);
        ASSERT_NE(g_players[question - 1], nullptr);
        EXPECT_NE(g_playerControls[question - 1], nullptr);
        // The source names the file that the play button writes again; a missing clip has none.
        const std::string url = PlayerUrl(question);
        if (question == MISSING_CLIP)
            EXPECT_EQ(url, "");
        else
            EXPECT_NE(url.find(ClipFile(question, Extension(kind))), std::string::npos) << url;
    }
    EXPECT_EQ(g_currentClip, QUESTIONS - 1);
    EXPECT_EQ(Joined(ClipFilesPresent()), "");
    EXPECT_TRUE(RecordedMessages().empty());
}

TEST_P(MediaKindTest, PlayStopsTheCurrentClipAndDeletesTheOneBeforeAtTheNextPlay)
{
    const int kind = GetParam();
    const char* extension = Extension(kind);
    StartQuiz(kind);
    SetUpQuestions(QUESTIONS);
    RecordControls();

    // Nothing played yet: the current question is the last one built.
    Click(IDC_PLAY_BASE + 2);
    EXPECT_EQ(TakeCalls(), (std::vector<std::string>{"stop 6", "play 2"}));
    EXPECT_EQ(ReadFileBytes(ClipFile(2, extension)), ResourceBytes(402));
    EXPECT_EQ(g_currentClip, 1);

    Click(IDC_PLAY_BASE + 5);
    EXPECT_EQ(TakeCalls(), (std::vector<std::string>{"stop 2", "play 5"}));
    EXPECT_EQ(ReadFileBytes(ClipFile(5, extension)), ResourceBytes(405));
    // The player of question 2 may still hold its file: it goes at the next play.
    EXPECT_TRUE(FileExists(ClipFile(2, extension)));

    Click(IDC_PLAY_BASE + 1);
    EXPECT_EQ(TakeCalls(), (std::vector<std::string>{"stop 5", "play 1"}));
    EXPECT_EQ(Joined(ClipFilesPresent()), ClipFile(1, extension) + ", " + ClipFile(5, extension));

    // The same button twice: stopped, then played again from its file.
    Click(IDC_PLAY_BASE + 1);
    EXPECT_EQ(TakeCalls(), (std::vector<std::string>{"stop 1", "play 1"}));
    EXPECT_EQ(ReadFileBytes(ClipFile(1, extension)), ResourceBytes(401));
    EXPECT_FALSE(FileExists(ClipFile(5, extension)));

    // A question without a clip stops the current one, then plays nothing and says nothing.
    Click(IDC_PLAY_BASE + MISSING_CLIP);
    EXPECT_EQ(TakeCalls(), (std::vector<std::string>{"stop 1"}));
    EXPECT_EQ(g_currentClip, MISSING_CLIP - 1);
    EXPECT_FALSE(FileExists(ClipFile(MISSING_CLIP, extension)));
    EXPECT_TRUE(RecordedMessages().empty());
}

TEST_P(MediaKindTest, AnyStopButtonStopsEveryPlayerAndDeletesThePlayedClips)
{
    const int kind = GetParam();
    StartQuiz(kind);
    SetUpQuestions(QUESTIONS);
    RecordControls();
    Click(IDC_PLAY_BASE + 2);
    Click(IDC_PLAY_BASE + 5);
    TakeCalls();

    Click(IDC_STOP_BASE + 3);
    EXPECT_EQ(TakeCalls(), (std::vector<std::string>{"stop 1", "stop 2", "stop 3", "stop 4", "stop 5", "stop 6"}));
    EXPECT_EQ(Joined(ClipFilesPresent()), "");
    EXPECT_EQ(g_currentClip, 4);

    // The stopped question is still the current one for the next play.
    Click(IDC_PLAY_BASE + 3);
    EXPECT_EQ(TakeCalls(), (std::vector<std::string>{"stop 5", "play 3"}));
}

TEST_P(MediaKindTest, CleanupDeletesEveryClipOfTheQuizKindAndReleasesThePlayers)
{
    const int kind = GetParam();
    const char* extension = Extension(kind);
    const char* otherExtension = kind == 3 ? "mp3" : "avi";
    StartQuiz(kind);
    SetUpQuestions(QUESTIONS);
    RecordControls();
    Click(IDC_PLAY_BASE + 2);
    Click(IDC_PLAY_BASE + 5);
    for (int question = 1; question <= MAX_MEDIA_QUESTIONS; ++question)
        WriteFileBytes(ClipFile(question, extension), "left over");
    WriteFileBytes(ClipFile(97, extension), "not a clip of this program");
    WriteFileBytes(ClipFile(1, otherExtension), "not a clip of this quiz");

    CleanUp();
    EXPECT_FALSE(IsWindow(m_mainWindow));
    EXPECT_FALSE(IsWindow(m_board));
    EXPECT_EQ(Joined(ClipFilesPresent()), ClipFile(1, otherExtension));
    EXPECT_TRUE(FileExists(ClipFile(97, extension)));
    EXPECT_EQ(g_liveRecorders, 0);
    EXPECT_EQ(g_atlModule, nullptr);
    for (int index = 0; index < MAX_MEDIA_QUESTIONS; ++index) {
        EXPECT_EQ(g_players[index], nullptr);
        EXPECT_EQ(g_playerControls[index], nullptr);
    }
}

TEST_P(MediaKindTest, EachPlayerIsAttachedToItsOwnFrame)
{
    const int kind = GetParam();
    StartQuiz(kind);
    g_attachControl = RecordAttachment;
    SetUpQuestions(3);

    ASSERT_EQ(g_attachments.size(), 3u);
    for (int question = 1; question <= 3; ++question) {
        EXPECT_EQ(g_attachments[question - 1].host, GetDlgItem(m_board, IDC_PICTURE_BASE + question));
        IUnknown* player = nullptr;
        g_players[question - 1]->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&player));
        IUnknown* attached = nullptr;
        g_attachments[question - 1].control->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&attached));
        EXPECT_EQ(attached, player) << question;
        player->Release();
        attached->Release();
    }
}

// A hosting library without its hosting function: the players are made all the same and play,
// only without a place on the board.
TEST_P(MediaKindTest, WithoutTheHostingFunctionThePlayersStillPlay)
{
    const int kind = GetParam();
    StartQuiz(kind);
    g_attachControl = nullptr;
    SetUpQuestions(QUESTIONS);
    RecordControls();

    Click(IDC_PLAY_BASE + 2);
    EXPECT_EQ(TakeCalls(), (std::vector<std::string>{"stop 6", "play 2"}));
    EXPECT_TRUE(FileExists(ClipFile(2, Extension(kind))));
    EXPECT_NE(PlayerUrl(2).find(ClipFile(2, Extension(kind))), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(AudioAndVideo, MediaKindTest, testing::Values(2, 3),
                         [](const testing::TestParamInfo<int>& info) { return info.param == 3 ? "Video" : "Audio"; });

// A build that ended early leaves questions without a player; their buttons must not reach one.
TEST_F(MediaTest, CommandsForQuestionsWithoutAPlayerDoNoHarm)
{
    StartQuiz(2);
    SetUpQuestions(2);
    RecordControls();

    Click(IDC_PLAY_BASE + 5);
    EXPECT_EQ(TakeCalls(), (std::vector<std::string>{"stop 2"}));
    Click(IDC_PLAY_BASE + 1);
    EXPECT_EQ(TakeCalls(), (std::vector<std::string>{"play 1"}));
    Click(IDC_PLAY_BASE + MAX_MEDIA_QUESTIONS);
    Click(IDC_PLAY_BASE + MAX_MEDIA_QUESTIONS);
    EXPECT_EQ(TakeCalls(), (std::vector<std::string>{"stop 1"}));
    Click(IDC_STOP_BASE + MAX_MEDIA_QUESTIONS);
    EXPECT_EQ(TakeCalls(), (std::vector<std::string>{"stop 1", "stop 2"}));
}

TEST_F(MediaTest, APlayerThatCannotBeMadeEndsTheBuildAtItsQuestion)
{
    StartQuiz(2);
    RefusingFactory factory;
    DWORD cookie = 0;
    ASSERT_EQ(CoRegisterClassObject(MEDIA_PLAYER_CLASS, &factory, CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE, &cookie),
              S_OK);
    const bool built = SetUpQuestionMedia(m_board, 1, CellLeft(1), CellTop(1, 2));
    CoRevokeClassObject(cookie);

    EXPECT_FALSE(built);
    EXPECT_NE(GetDlgItem(m_board, IDC_PICTURE_BASE + 1), nullptr);
    EXPECT_EQ(g_currentClip, 0);
    EXPECT_EQ(g_players[0], nullptr);
    EXPECT_EQ(g_playerControls[0], nullptr);
    Click(IDC_PLAY_BASE + 1);
    Click(IDC_STOP_BASE + 1);
    EXPECT_TRUE(RecordedMessages().empty());
}

TEST_F(MediaTest, ExtractionWritesTheResourceBytesUnderTheKindsName)
{
    StartQuiz(2);
    struct Case {
        int resourceId;
        int kind;
        int result;
        const char* file; // null: nothing written
    };
    const Case cases[] = {
        {402, 1, 1, "zelbo2.mp3"}, {403, 2, 1, "zelbo3.avi"},           {401, 0, 0, nullptr},
        {401, 3, 0, nullptr},      {400 + MISSING_CLIP, 1, 0, nullptr}, {400 + MISSING_CLIP, 2, 0, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("resource " + std::to_string(c.resourceId) + " kind " + std::to_string(c.kind));
        EXPECT_EQ(ExtractMediaClip(m_board, c.resourceId, c.kind), c.result);
        if (c.file) {
            EXPECT_EQ(ReadFileBytes(c.file), ResourceBytes(c.resourceId));
            DeleteFileA(c.file);
        }
        EXPECT_EQ(Joined(ClipFilesPresent()), "");
    }
    // An existing file is replaced, not appended to.
    WriteFileBytes("zelbo1.mp3", std::string(100000, 'x'));
    EXPECT_EQ(ExtractMediaClip(m_board, 401, 1), 1);
    EXPECT_EQ(ReadFileBytes("zelbo1.mp3"), ResourceBytes(401));
    EXPECT_TRUE(RecordedMessages().empty());
}

TEST_F(MediaTest, TextAndPictureQuizzesLeaveMediaAlone)
{
    for (int kind : {0, 1}) {
        SCOPED_TRACE("kind " + std::to_string(kind));
        StartQuiz(kind);
        EXPECT_EQ(g_atlModule, nullptr);
        WriteFileBytes("zelbo1.mp3", "someone else's");
        Click(IDC_PLAY_BASE + 2);
        Click(IDC_STOP_BASE + 2);
        CleanUp();
        EXPECT_TRUE(IsWindow(m_mainWindow));
        EXPECT_EQ(Joined(ClipFilesPresent()), "zelbo1.mp3");
        DeleteFileA("zelbo1.mp3");
        DestroyWindow(m_mainWindow);
        delete g_quiz;
        g_quiz = nullptr;
    }
}

// The real board of an audio or video quiz: its frames, play and stop buttons, and clicks that go
// through the board's own dialog procedure.
class MediaBoardTest : public BoardFixture, public testing::WithParamInterface<int> {
protected:
    void BuildMediaQuiz(int questionCount)
    {
        Quiz().mediaKind = GetParam();
        Quiz().questionCount = questionCount;
        Quiz().answersPerQuestion = 1;
        for (int question = 1; question <= questionCount; ++question)
            Quiz().AddQuestion("REPONSE", "", "");
        MediaStartup();
        Build();
    }

    void TearDown() override
    {
        if (Board())
            MediaCleanup(GetParent(Board()));
        BoardFixture::TearDown();
    }

    void ClickButton(int id) { SendMessageA(Item(id), BM_CLICK, 0, 0); }
};

TEST_P(MediaBoardTest, EachCellHasItsFramePlayAndStopButtons)
{
    const int kind = GetParam();
    BuildMediaQuiz(4);
    const int blockHeight = kind == 3 ? 210 : 0;
    const int frameWidth = kind == 3 ? 260 : 0;
    const int frameHeight = kind == 3 ? 200 : 0;
    HICON playIcon = nullptr;
    HICON stopIcon = nullptr;
    for (int question = 1; question <= 4; ++question) {
        SCOPED_TRACE("question " + std::to_string(question));
        const int x = 46 + 290 * ((question - 1) % 3);
        const int y = 5 + (blockHeight + 60) * ((question - 1) / 3);
        ASSERT_NE(Item(IDC_PICTURE_BASE + question), nullptr);
        ExpectRect(ChildRect(Item(IDC_PICTURE_BASE + question)), x, y, frameWidth, frameHeight, "frame");
        ASSERT_NE(Item(IDC_PLAY_BASE + question), nullptr);
        ASSERT_NE(Item(IDC_STOP_BASE + question), nullptr);
        ExpectRect(ChildRect(Item(IDC_PLAY_BASE + question)), x, y + blockHeight, 20, 20, "play");
        ExpectRect(ChildRect(Item(IDC_STOP_BASE + question)), x, y + blockHeight + 20, 20, 19, "stop");
        auto icon = [&](int id) { return reinterpret_cast<HICON>(SendMessageA(Item(id), BM_GETIMAGE, IMAGE_ICON, 0)); };
        EXPECT_NE(icon(IDC_PLAY_BASE + question), nullptr);
        EXPECT_NE(icon(IDC_STOP_BASE + question), nullptr);
        playIcon = icon(IDC_PLAY_BASE + question);
        stopIcon = icon(IDC_STOP_BASE + question);
        EXPECT_NE(g_players[question - 1], nullptr);
    }
    EXPECT_NE(playIcon, stopIcon);
    EXPECT_EQ(Joined(ClipFilesPresent()), "");
    EXPECT_TRUE(RecordedMessages().empty());
}

TEST_P(MediaBoardTest, TheButtonsPlayAndStopThroughTheBoard)
{
    const char* extension = Extension(GetParam());
    BuildMediaQuiz(6);
    RecordControls();

    ClickButton(IDC_PLAY_BASE + 2);
    EXPECT_EQ(TakeCalls(), (std::vector<std::string>{"stop 6", "play 2"}));
    EXPECT_EQ(ReadFileBytes(ClipFile(2, extension)), ResourceBytes(402));
    ClickButton(IDC_PLAY_BASE + 5);
    ClickButton(IDC_STOP_BASE + 1);
    EXPECT_EQ(TakeCalls(), (std::vector<std::string>{"stop 2", "play 5", "stop 1", "stop 2", "stop 3", "stop 4",
                                                     "stop 5", "stop 6"}));
    EXPECT_EQ(Joined(ClipFilesPresent()), "");
}

INSTANTIATE_TEST_SUITE_P(AudioAndVideo, MediaBoardTest, testing::Values(2, 3),
                         [](const testing::TestParamInfo<int>& info) { return info.param == 3 ? "Video" : "Audio"; });

} // namespace
