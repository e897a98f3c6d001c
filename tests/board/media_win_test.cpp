// Audio and video questions under Wine: the real board's frames, play and stop buttons, the clip
// files and the shut-down. Wine's media player does not report its play state, so each player's
// controls are swapped for a recorder that logs the play and stop calls.
#include <gtest/gtest.h>

#include <ole2.h>
#include <wmp.h>

#include <string>
#include <utility>
#include <vector>

#include "board/media_win.h"
#include "platform/win_raii.h"
#include "resource.h"
#include "win_test_support.h"

namespace {

std::string g_calls;
int g_liveRecorders = 0;

// clang-format off
#define NOT_USED(...) HRESULT STDMETHODCALLTYPE __VA_ARGS__ override { return E_NOTIMPL; }
// clang-format on

// Stands in for a player's controls and logs "play q" and "stop q".
class RecordingControls : public IWMPControls {
public:
    explicit RecordingControls(int question) : m_question(question) { ++g_liveRecorders; }
    virtual ~RecordingControls() { --g_liveRecorders; }
    HRESULT STDMETHODCALLTYPE play() override { return Log("play"); }
    HRESULT STDMETHODCALLTYPE stop() override { return Log("stop"); }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++m_references; }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const ULONG left = --m_references;
        if (left == 0)
            delete this;
        return left;
    }

private:
    HRESULT Log(const char* what)
    {
        g_calls += (g_calls.empty() ? "" : ", ") + std::string(what) + " " + std::to_string(m_question);
        return S_OK;
    }

    int m_question;
    ULONG m_references = 1;

    // The rest of the interface, which the player never calls.
    // clang-format off
    NOT_USED(QueryInterface(REFIID, void**)) NOT_USED(GetTypeInfoCount(UINT*))
    NOT_USED(GetTypeInfo(UINT, LCID, ITypeInfo**)) NOT_USED(GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*))
    NOT_USED(Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*))
    NOT_USED(get_isAvailable(BSTR, VARIANT_BOOL*)) NOT_USED(pause()) NOT_USED(fastForward()) NOT_USED(fastReverse())
    NOT_USED(get_currentPosition(double*)) NOT_USED(put_currentPosition(double)) NOT_USED(next()) NOT_USED(previous())
    NOT_USED(get_currentPositionString(BSTR*)) NOT_USED(currentItem(IWMPMedia**)) NOT_USED(put_currentItem(IWMPMedia*))
    NOT_USED(get_currentMarker(LONG*)) NOT_USED(put_currentMarker(LONG)) NOT_USED(playItem(IWMPMedia*))
};
// clang-format on

// Makes nothing, registered over the media player's class.
class RefusingFactory : public IClassFactory {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override
    {
        *object = IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IClassFactory) ? this : nullptr;
        return *object ? S_OK : E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown*, REFIID, void** object) override
    {
        *object = nullptr;
        return E_OUTOFMEMORY;
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }
} g_refusingFactory;
DWORD g_refusingCookie = 0;

// The hosting function replaced: which player went into which frame.
std::vector<std::pair<IUnknown*, HWND>> g_attachments;
HRESULT WINAPI RecordAttachment(IUnknown* control, HWND host, IUnknown**)
{
    g_attachments.emplace_back(control, host);
    return S_OK;
}

std::unique_ptr<QuizData> MediaQuiz(int mediaKind, int questions)
{
    return MakeQuiz(mediaKind, 1, REVEAL_NOTHING, std::vector<TestQuestion>(questions, {"REPONSE", "", "", ""}));
}

} // namespace

// Runs first, while nothing has loaded the hosting library yet: a file of that name beside the
// program or in the current folder is no library at all, so taking it would fail.
TEST(Media, TheHostingLibraryComesFromTheSystemFolderOnly)
{
    ASSERT_EQ(GetModuleHandleA("atl.dll"), nullptr);
    ScopedTempDirectory folder;
    const std::string besideProgram = BuildFolder() + "\\tests\\atl.dll";
    WriteFileBytes(besideProgram, "MZ not a library");
    WriteFileBytes("atl.dll", "MZ not a library either");
    TestPlayer player(MediaQuiz(MEDIA_AUDIO, 1));
    DeleteFileA(besideProgram.c_str());
    char loaded[MAX_PATH], system[MAX_PATH];
    GetModuleFileNameA(g_atlModule, loaded, MAX_PATH);
    GetSystemDirectoryA(system, MAX_PATH);
    EXPECT_EQ(lstrcmpiA(loaded, (std::string(system) + "\\atl.dll").c_str()), 0) << loaded;
    EXPECT_NE(g_attachControl, nullptr);
}

TEST(Media, ButtonsPlayOneClipAtATimeAndNoClipFileOutlivesThePlayer)
{
    for (int kind : {MEDIA_AUDIO, MEDIA_VIDEO}) {
        SCOPED_TRACE(kind);
        const std::string extension = kind == MEDIA_AUDIO ? ".mp3" : ".avi";
        const std::string otherKind = kind == MEDIA_AUDIO ? "zelbo1.avi" : "zelbo1.mp3";
        auto clip = [&](int question) { return "zelbo" + std::to_string(question) + extension; };
        ScopedTempDirectory folder;
        g_recordedMessages.clear();
        g_attachments.clear();
        // Audio players go into their frames through a recorder; video players go without the
        // hosting function, and must play all the same.
        TestPlayer player(
            MediaQuiz(kind, 6),
            kind == MEDIA_AUDIO ? +[] { g_attachControl = RecordAttachment; } : +[] { g_attachControl = nullptr; });
        ExpectBoardFollowsPlan(player.board, *g_quiz);
        EXPECT_NE(SendMessageW(player.Item(IDC_PLAY_BASE + 1), BM_GETIMAGE, IMAGE_ICON, 0),
                  SendMessageW(player.Item(IDC_STOP_BASE + 1), BM_GETIMAGE, IMAGE_ICON, 0));
        ASSERT_EQ(g_attachments.size(), kind == MEDIA_AUDIO ? 6u : 0u);
        for (int q = 1; q <= 6; ++q) {
            SCOPED_TRACE(q);
            HWND frame = player.Item(IDC_PICTURE_BASE + q);
            EXPECT_EQ(g_mediaHosts[q - 1], frame);
            // The player's source names the file that its play button writes again: none for
            // question 4, whose clip the program does not carry.
            BSTR url = nullptr;
            ASSERT_EQ(g_players[q - 1]->get_URL(&url), S_OK);
            const std::wstring source = url ? url : L"";
            const std::string file = clip(q);
            SysFreeString(url);
            EXPECT_EQ(source.find(std::wstring(file.begin(), file.end())) != std::wstring::npos, q != 4);
            if (kind == MEDIA_AUDIO) {
                ComPtr<IUnknown> player, attached;
                g_players[q - 1]->QueryInterface(IID_IUnknown, player.ReceiveVoid());
                g_attachments[q - 1].first->QueryInterface(IID_IUnknown, attached.ReceiveVoid());
                EXPECT_TRUE(attached.Get() == player.Get() && g_attachments[q - 1].second == frame);
            }
            g_playerControls[q - 1]->Release();
            g_playerControls[q - 1] = new RecordingControls(q);
        }
        EXPECT_EQ(FilesHere(), "");

        // Each step: the button clicked, then the calls it made, the clip files left and the one
        // written (with its resource's bytes).
        WriteFileBytes(clip(3), std::string(100000, 'x')); // left from elsewhere: replaced, not added to
        const std::string two = clip(2), three = " " + clip(3);
        const std::tuple<int, std::string, int> steps[] = {
            // Nothing played yet: the current question is the last one built.
            {IDC_PLAY_BASE + 2, "stop 6, play 2: " + two + three, 2},
            // The player just stopped may still hold its file: it goes at the next play.
            {IDC_PLAY_BASE + 3, "stop 2, play 3: " + two + three, 3},
            {IDC_PLAY_BASE + 1, "stop 3, play 1: " + clip(1) + three, 1},
            {IDC_PLAY_BASE + 1, "stop 1, play 1: " + clip(1), 1},
            // A question without a clip stops the current one, then plays nothing and says nothing.
            {IDC_PLAY_BASE + 4, "stop 1: ", 0},
            {IDC_PLAY_BASE + 5, "stop 4, play 5: " + clip(5), 5},
            // Any stop button stops every player and deletes the played clips; its question stays current.
            {IDC_STOP_BASE + 3, "stop 1, stop 2, stop 3, stop 4, stop 5, stop 6: ", 0},
            {IDC_PLAY_BASE + 2, "stop 5, play 2: " + two, 2},
            // Commands of questions that have no player reach none.
            {IDC_PLAY_BASE + MAX_MEDIA_QUESTIONS, "stop 2: " + two, 0},
            {IDC_PLAY_BASE + MAX_MEDIA_QUESTIONS, ": ", 0},
            {IDC_STOP_BASE + MAX_MEDIA_QUESTIONS, "stop 1, stop 2, stop 3, stop 4, stop 5, stop 6: ", 0}};
        for (const auto& [button, after, written] : steps) {
            if (GetDlgItem(player.board, button))
                SendMessageW(player.Item(button), BM_CLICK, 0, 0);
            else
                SendMessageW(player.board, WM_COMMAND, button, 0);
            EXPECT_EQ(std::exchange(g_calls, {}) + ": " + FilesHere(), after) << button;
            EXPECT_TRUE(!written || ReadFileBytes(clip(written)) ==
                                        ResourceBytes(nullptr, "IMG", IDR_QUESTION_PICTURE_BASE + written));
        }
        EXPECT_EQ(g_recordedMessages, std::vector<std::string>{});

        // The shut-down deletes every clip of the quiz's kind, destroys the windows and releases the
        // players and the hosting library.
        for (int question = 1; question <= MAX_MEDIA_QUESTIONS + 1; ++question)
            WriteFileBytes(clip(question), "left over");
        WriteFileBytes(otherKind, "another quiz's");
        MediaCleanup(player.main);
        EXPECT_FALSE(IsWindow(player.main));
        EXPECT_EQ(FilesHere(), otherKind + " zelbo97" + extension);
        EXPECT_TRUE(g_liveRecorders == 0 && !g_atlModule);
        for (int index = 0; index < MAX_MEDIA_QUESTIONS; ++index)
            EXPECT_TRUE(!g_players[index] && !g_playerControls[index]) << index;
    }
}

// As on a Windows "N" edition: the board is built whole, the questions answered, judged, scored and
// saved; only the clips cannot play, which the player is told once.
TEST(Media, WithoutAMediaPlayerTheBoardIsWholeItsButtonsDisabledAndThePlayerToldOnce)
{
    ScopedTempDirectory folder;
    g_recordedMessages.clear();
    WriteFileBytes(OwnAnswersFile(), "reponse\r\n");
    TestPlayer player(MediaQuiz(MEDIA_VIDEO, 3), [] {
        CoRegisterClassObject(CLSID_WindowsMediaPlayer, &g_refusingFactory, CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE,
                              &g_refusingCookie);
    });
    CoRevokeClassObject(g_refusingCookie);
    ExpectBoardFollowsPlan(player.board, *g_quiz);
    for (int button : {IDC_PLAY_BASE + 1, IDC_STOP_BASE + 1, IDC_PLAY_BASE + 3, IDC_STOP_BASE + 3})
        EXPECT_FALSE(IsWindowEnabled(player.Item(button))) << button;
    ASSERT_EQ(g_recordedMessages.size(), 1u);
    EXPECT_EQ(g_recordedMessages[0].find("Information: Cet ordinateur ne peut pas lire les extraits"), 0u);
    EXPECT_NE(g_recordedMessages[0].find("Param\xE8tres > Applications > Fonctionnalit\xE9s facultatives"),
              std::string::npos);
    player.Type(IDC_ANSWER_BASE + 3, "Reponse");
    EXPECT_EQ(player.Text(IDC_VERDICT_BASE + 1) + player.Text(IDC_VERDICT_BASE + 3) + player.HeaderText(IDC_SCORE),
              "BRAVOBRAVO 2 / 3");
    for (int command : {IDC_PLAY_BASE + 1, IDC_STOP_BASE + 1})
        SendMessageW(player.board, WM_COMMAND, command, 0);
    player.Key(IDC_ANSWER_BASE + 3, VK_F2);
    EXPECT_EQ(ReadFileBytes(OwnAnswersFile()), "REPONSE\r\n\r\nREPONSE\r\n");
    EXPECT_EQ(FilesHere(), OwnAnswersFile());
    EXPECT_EQ(g_recordedMessages.size(), 1u);
}
