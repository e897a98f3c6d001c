// Pictures under Wine: the program's "IMG" resources decoded by the platform and scaled into the
// board's box, with nothing left allocated on the way, whatever the bytes.
#include <gtest/gtest.h>

#include <atomic>
#include <string>

#include "board/picture_win.h"
#include "platform/win_raii.h"
#include "resource.h"
#include "win_test_support.h"

namespace {

UniqueBitmap Load(int id, int boxWidth = 260, int boxHeight = 260)
{
    return UniqueBitmap(LoadScaledPicture(GetModuleHandleA(nullptr), id, PICTURE_RESOURCE_TYPE, boxWidth, boxHeight));
}

// The picture's own size, as its header gives it.
std::string HeaderSize(int id)
{
    const PictureHeader header = FindPictureResource(GetModuleHandleA(nullptr), id, PICTURE_RESOURCE_TYPE).header;
    return std::to_string(header.width) + "x" + std::to_string(header.height);
}

// Size and colours at the centres of the quarters, as scripts/test-assets/pictures drew them (red,
// green / blue, white: "RGBW"; or one colour), so that a blank or turned bitmap fails. JPEG blurs
// colours a little: a channel within 48 of 0 or 255 counts as it.
std::string Looks(HBITMAP bitmap)
{
    const SIZE size = BitmapSize(bitmap);
    std::string looks = std::to_string(size.cx) + "x" + std::to_string(size.cy) + " ";
    UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
    ScopedSelection selection(dc.Get(), bitmap);
    for (int i = 0; i < 4; ++i) {
        const COLORREF pixel = GetPixel(dc.Get(), size.cx * (1 + i % 2 * 2) / 4, size.cy * (1 + i / 2 * 2) / 4);
        int colour = 0;
        bool clear = true;
        for (int channel = 0; channel < 3; ++channel) {
            const int value = (pixel >> (8 * channel)) & 0xFF;
            colour |= (value > 207) << channel;
            clear = clear && (value > 207 || value < 48);
        }
        looks += clear ? "KRGYBMCW"[colour] : '?';
    }
    return looks;
}

} // namespace

TEST(Pictures, EveryFormatIsScaledIntoItsBoxAndNothingElseStays)
{
    const DWORD before = GdiObjectCount();
    // JPEG reduced, enlarged, limited by its height, ten times, unchanged; GIF, BMP, an answer picture.
    const std::pair<int, std::string> pictures[] = {{401, "800x600 260x195 RGBW"}, {407, "100x50 260x130 RGBW"},
                                                    {403, "300x520 150x260 RGBW"}, {405, "26x13 260x130 BBBB"},
                                                    {406, "260x260 260x260 GGGG"}, {408, "300x520 150x260 RGBW"},
                                                    {402, "100x50 260x130 RGBW"},  {10401, "260x260 260x260 GGGG"}};
    for (const auto& [id, looks] : pictures) {
        UniqueBitmap scaled = Load(id);
        EXPECT_EQ(GdiObjectCount(), before + 1) << id;
        EXPECT_EQ(HeaderSize(id) + " " + Looks(scaled.Get()), looks);
    }
    // Boxes of other shapes, and one larger than the picture (a photo is decoded reduced only while
    // it still covers the box).
    for (const auto& [width, height, looks] : {std::tuple<int, int, std::string>{400, 100, "133x100 RGBW"},
                                               {100, 400, "100x75 RGBW"},
                                               {1600, 1600, "1600x1200 RGBW"}})
        EXPECT_EQ(Looks(Load(401, width, height).Get()), looks);
    // None: no such picture or answer picture, no picture, a picture under another type.
    for (int id : {499, 10402, 404, 410})
        EXPECT_FALSE(Load(id)) << id;
    // Whether a cut-off JPEG gives part of a picture is the platform's business; either way nothing
    // but the result may stay behind.
    Load(409);
    EXPECT_EQ(GdiObjectCount(), before);
}

TEST(Pictures, DecodingLeavesTheThreadsComStateAsItFoundItAndGivesUpWhenCancelled)
{
    // Not initialised before: still not after. In a single-threaded apartment (a quiz with clips) the
    // caller's initialisation is not ended; in a multithreaded one decoding works all the same.
    EXPECT_TRUE(Load(407));
    EXPECT_EQ(CoInitialize(nullptr), S_OK);
    EXPECT_TRUE(Load(407));
    EXPECT_EQ(CoInitialize(nullptr), S_FALSE);
    CoUninitialize();
    CoUninitialize();
    ASSERT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK);
    EXPECT_TRUE(Load(407));
    {
        PictureDecoder decoder;
        const std::atomic<bool> cancelled{true};
        EXPECT_EQ(decoder.Decode(GetModuleHandleA(nullptr), 401, PICTURE_RESOURCE_TYPE, 260, 260, &cancelled), nullptr);
    }
    EXPECT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_FALSE);
    CoUninitialize();
    CoUninitialize();
}
