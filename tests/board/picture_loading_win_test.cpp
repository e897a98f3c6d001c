// The board's pictures decoded in the background: what the player ends up seeing, scrolling ahead
// of the queue, and closing the board while pictures are still being decoded.
#include <cstdio>
#include <filesystem>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "board/picture_loading_win.h"
#include "board_fixture_win.h"
#include "platform/win_raii.h"

#include <tlhelp32.h>

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

class PictureLoadingTest : public BoardFixture {
protected:
    void SetUp() override
    {
        BoardFixture::SetUp();
        SetPictureThreadCount(-1);
        Quiz().mediaKind = MEDIA_PICTURE;
        Quiz().questionCount = QUESTIONS;
        Quiz().revealMode = REVEAL_PICTURE;
        // Questions 2 (in view) and 90 (far below) are solved from the start.
        std::string answers;
        for (int q = 1; q <= QUESTIONS; ++q) {
            const std::string answer = "r" + std::to_string(q);
            Quiz().AddQuestion(answer.c_str(), "", "");
            answers += (q == 2 || q == 90 ? answer : "") + "\r\n";
        }
        WriteFileBytes("picture_loading_win_test.txt", answers);
    }

    // Every control: class, id, place and, for a picture, what it shows.
    std::vector<std::string> Shown() const
    {
        std::vector<std::string> shown;
        char line[160];
        for (const BoardChild& c : Children()) {
            std::snprintf(line, sizeof(line), "%s %d %ld,%ld,%ld,%ld %zx", c.className.c_str(), c.id, c.rect.left,
                          c.rect.top, c.rect.right, c.rect.bottom, PixelDigest(PictureOf(c.window)));
            shown.emplace_back(line);
        }
        return shown;
    }

    int PicturesShown() const
    {
        int count = 0;
        for (int q = 1; q <= QUESTIONS; ++q)
            count += PictureOf(Item(IDC_PICTURE_BASE + q)) != nullptr;
        return count;
    }

    // Hands the board its decoded pictures until done() holds, or a minute has passed.
    template <typename Condition> void PumpUntil(Condition done)
    {
        for (int i = 0; i < 6000 && !done(); ++i, Sleep(10))
            PumpMessages();
    }
};

TEST_F(PictureLoadingTest, TheBoardEndsAsABuildThatDecodesEveryPictureFirst)
{
    SetPictureThreadCount(0);
    Build();
    const std::vector<std::string> decodedFirst = Shown();
    // Every picture but the one cut after its header; question 2 shows its answer picture.
    EXPECT_EQ(PicturesShown(), QUESTIONS - 1);
    EXPECT_EQ(BitmapSize(PictureOf(Item(IDC_PICTURE_BASE + 2))).cy, 130);
    // The cut picture's header plans 260 x 195, the height of its line: an empty frame keeps it.
    const RECT cut = ChildRect(Item(IDC_PICTURE_BASE + 95));
    EXPECT_EQ(cut.bottom - cut.top, 195);
    EXPECT_EQ(ChildRect(Item(IDC_ANSWER_BASE + 95)).top, cut.bottom + 10);
    TearDown();

    SetUp();
    Build();
    PumpUntil([&] { return PicturesShown() == QUESTIONS - 1 && Shown() == decodedFirst; });
    EXPECT_EQ(Shown(), decodedFirst);
}

TEST_F(PictureLoadingTest, ScrollingToTheLastRowDecodesItNext)
{
    SetPictureThreadCount(1);
    Build();
    SendMessageA(Board(), WM_VSCROLL, SB_BOTTOM, 0);
    PumpUntil([&] { return PictureOf(Item(IDC_PICTURE_BASE + 96)) != nullptr; });
    EXPECT_NE(PictureOf(Item(IDC_PICTURE_BASE + 94)), nullptr);
    EXPECT_NE(PictureOf(Item(IDC_PICTURE_BASE + 96)), nullptr);
    // The rows between waited: most of the board's pictures are still to come.
    EXPECT_LT(PicturesShown(), QUESTIONS / 2);
}

TEST_F(PictureLoadingTest, ClosingWhileDecodingLeavesNothingBehind)
{
    CreateHost();
    const DWORD objects = GdiObjectCount();
    const int threads = ThreadsOfThisProcess();
    CreateBoard();
    DestroyWindow(Board());
    PumpMessages();
    EXPECT_EQ(GdiObjectCount() - objects, 1u) << "only the answer font, which the quiz record owns";
    EXPECT_EQ(ThreadsOfThisProcess(), threads);
    const auto files = std::distance(std::filesystem::directory_iterator("."), {});
    EXPECT_EQ(files, 1) << "only the answers file";
}

} // namespace
