// The board's pictures decoded in the background: what the player ends up seeing, scrolling ahead
// of the queue, and closing the quiz while pictures are still being decoded.
#include <gtest/gtest.h>

#include <windows.h>

#include <tlhelp32.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "board/picture_loading_win.h"
#include "platform/win_raii.h"
#include "resource.h"
#include "win_test_support.h"

namespace {

constexpr int QUESTIONS = 96;

// A digest of what a bitmap shows; 0 for none.
size_t PixelDigest(HBITMAP bitmap)
{
    BITMAP info = {};
    if (!bitmap || !GetObjectA(bitmap, sizeof(info), &info))
        return 0;
    std::string bits(static_cast<size_t>(info.bmWidthBytes * info.bmHeight), '\0');
    GetBitmapBits(bitmap, static_cast<LONG>(bits.size()), &bits[0]);
    return std::hash<std::string>{}(bits);
}

int ThreadsOfThisProcess()
{
    UniqueFile snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0));
    THREADENTRY32 entry = {sizeof(entry), 0, 0, 0, 0, 0, 0};
    int count = 0;
    for (BOOL more = Thread32First(snapshot.Get(), &entry); more; more = Thread32Next(snapshot.Get(), &entry))
        count += entry.th32OwnerProcessID == GetCurrentProcessId();
    return count;
}

// The test program's 96 pictures, one per question; questions 2 (in view) and 90 (far below) are
// solved in the answers file, which is written in the current folder.
std::unique_ptr<QuizData> PictureQuiz()
{
    std::vector<std::string> answers;
    std::string file;
    for (int q = 1; q <= QUESTIONS; ++q) {
        answers.push_back("r" + std::to_string(q));
        file += (q == 2 || q == 90 ? answers.back() : "") + "\r\n";
    }
    WriteFileBytes(OwnAnswersFile(), file);
    std::vector<TestQuestion> questions;
    for (const std::string& answer : answers)
        questions.push_back({answer.c_str(), "", "", ""});
    return MakeQuiz(MEDIA_PICTURE, 1, REVEAL_PICTURE, questions);
}

// The other Windows tests decode every picture as the board is built.
struct BackgroundDecoding {
    explicit BackgroundDecoding(int threads) { SetPictureThreadCount(threads); }
    ~BackgroundDecoding() { SetPictureThreadCount(0); }
};

// Every control: class, id, place and what it shows.
std::vector<std::string> Shown(HWND board)
{
    std::vector<std::string> shown;
    for (HWND child = GetWindow(board, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        char className[32], line[160];
        GetClassNameA(child, className, sizeof(className));
        const RECT r = ChildRect(child);
        std::snprintf(line, sizeof(line), "%s %d %ld,%ld,%ld,%ld %zx", className, GetDlgCtrlID(child), r.left, r.top,
                      r.right, r.bottom, PixelDigest(ShownPicture(child)));
        shown.emplace_back(line);
    }
    return shown;
}

int PicturesShown(const TestPlayer& player)
{
    int count = 0;
    for (int q = 1; q <= QUESTIONS; ++q)
        count += ShownPicture(player.Item(IDC_PICTURE_BASE + q)) != nullptr;
    return count;
}

// Hands the board its decoded pictures until done() holds, or a minute has passed.
template <typename Condition> void PumpUntil(Condition done)
{
    for (int i = 0; i < 6000 && !done(); ++i, Sleep(10))
        PumpMessages();
}

} // namespace

TEST(PictureLoading, TheBoardEndsAsABuildThatDecodesEveryPictureFirst)
{
    ScopedTempDirectory folder;
    std::vector<std::string> decodedFirst;
    {
        TestPlayer player(PictureQuiz());
        decodedFirst = Shown(player.board);
        // Every picture but the one cut after its header; question 2 shows its answer picture.
        EXPECT_EQ(PicturesShown(player), QUESTIONS - 1);
        EXPECT_EQ(BitmapSize(ShownPicture(player.Item(IDC_PICTURE_BASE + 2))).cy, 130);
        // The cut picture's header plans 260 x 195, the height of its line: an empty frame keeps it.
        const RECT cut = ChildRect(player.Item(IDC_PICTURE_BASE + 95));
        EXPECT_EQ(cut.bottom - cut.top, 195);
        EXPECT_EQ(ChildRect(player.Item(IDC_ANSWER_BASE + 95)).top, cut.bottom + 10);
    }
    const BackgroundDecoding decoding(-1);
    TestPlayer player(PictureQuiz());
    PumpUntil([&] { return Shown(player.board) == decodedFirst; });
    EXPECT_EQ(Shown(player.board), decodedFirst);
}

TEST(PictureLoading, ScrollingToTheLastRowDecodesItNext)
{
    ScopedTempDirectory folder;
    const BackgroundDecoding decoding(1);
    TestPlayer player(PictureQuiz());
    SendMessageW(player.board, WM_VSCROLL, SB_BOTTOM, 0);
    PumpUntil([&] { return ShownPicture(player.Item(IDC_PICTURE_BASE + 96)) != nullptr; });
    EXPECT_NE(ShownPicture(player.Item(IDC_PICTURE_BASE + 94)), nullptr);
    EXPECT_NE(ShownPicture(player.Item(IDC_PICTURE_BASE + 96)), nullptr);
    // The rows between waited: most of the board's pictures are still to come.
    EXPECT_LT(PicturesShown(player), QUESTIONS / 2);
}

TEST(PictureLoading, ClosingWhileDecodingLeavesNothingBehind)
{
    ScopedTempDirectory folder;
    const BackgroundDecoding decoding(-1);
    DWORD objects = 0;
    int threads = 0;
    // The first start also makes what the process keeps for good.
    for (int run = 0; run < 2; ++run) {
        objects = GdiObjectCount();
        threads = ThreadsOfThisProcess();
        TestPlayer player(PictureQuiz());
    }
    EXPECT_EQ(GdiObjectCount(), objects);
    EXPECT_EQ(ThreadsOfThisProcess(), threads);
    EXPECT_EQ(FilesHere(), OwnAnswersFile());
}
