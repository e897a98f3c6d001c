#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "board/picture_win.h"
#include "content/quiz_limits.h"
#include "platform/win_raii.h"
#include "win_test_support.h"

namespace {

const char IMG[] = "IMG";

enum Look { QUARTERS, SOLID_BLUE, SOLID_GREEN };

struct PictureCase {
    int id;
    const char* what;
    int width, height;
    Look look;
};

SIZE BitmapSize(HBITMAP bitmap)
{
    BITMAP info = {};
    GetObject(bitmap, sizeof(info), &info);
    return {info.bmWidth, info.bmHeight};
}

COLORREF PixelAt(HBITMAP bitmap, int x, int y)
{
    UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
    ScopedSelection selection(dc.Get(), bitmap);
    return GetPixel(dc.Get(), x, y);
}

// JPEG blurs the colours a little; every channel within 48 of the drawn colour counts as it.
::testing::AssertionResult ColourNear(HBITMAP bitmap, int x, int y, COLORREF expected)
{
    const COLORREF actual = PixelAt(bitmap, x, y);
    const int channels[3][2] = {{GetRValue(actual), GetRValue(expected)},
                                {GetGValue(actual), GetGValue(expected)},
                                {GetBValue(actual), GetBValue(expected)}};
    for (const auto& channel : channels) {
        if (std::abs(channel[0] - channel[1]) > 48)
            return ::testing::AssertionFailure()
                   << "pixel (" << x << ", " << y << ") is " << std::hex << actual << " instead of about " << expected;
    }
    return ::testing::AssertionSuccess();
}

// Checks the colours that the test-asset script drew, so that a blank, mirrored or upside-down
// bitmap fails.
void ExpectLook(HBITMAP bitmap, Look look)
{
    const SIZE size = BitmapSize(bitmap);
    const int left = size.cx / 4, right = size.cx * 3 / 4, top = size.cy / 4, bottom = size.cy * 3 / 4;
    switch (look) {
    case QUARTERS:
        EXPECT_TRUE(ColourNear(bitmap, left, top, RGB(255, 0, 0)));
        EXPECT_TRUE(ColourNear(bitmap, right, top, RGB(0, 255, 0)));
        EXPECT_TRUE(ColourNear(bitmap, left, bottom, RGB(0, 0, 255)));
        EXPECT_TRUE(ColourNear(bitmap, right, bottom, RGB(255, 255, 255)));
        break;
    case SOLID_BLUE:
    case SOLID_GREEN:
        EXPECT_TRUE(ColourNear(bitmap, size.cx / 2, size.cy / 2, look == SOLID_BLUE ? RGB(0, 0, 255) : RGB(0, 255, 0)));
        EXPECT_TRUE(ColourNear(bitmap, 0, 0, look == SOLID_BLUE ? RGB(0, 0, 255) : RGB(0, 255, 0)));
        break;
    }
}

// The bytes of one of this program's own resources.
std::string ResourceBytes(int id, const char* type = IMG)
{
    HRSRC found = FindResourceA(nullptr, MAKEINTRESOURCEA(id), type);
    if (!found)
        return {};
    const void* bytes = LockResource(LoadResource(nullptr, found));
    return std::string(static_cast<const char*>(bytes), SizeofResource(nullptr, found));
}

UniqueBitmap Decode(int id)
{
    const std::string bytes = ResourceBytes(id);
    return UniqueBitmap(DecodePicture(bytes.data(), static_cast<DWORD>(bytes.size())));
}

} // namespace

TEST(LoadScaledPicture, ScalesEveryPictureIntoTheBoxWithoutLeaking)
{
    const PictureCase cases[] = {
        {401, "800x600 JPEG reduced", 260, 195, QUARTERS},
        {402, "100x50 JPEG enlarged", 260, 130, QUARTERS},
        {403, "300x520 JPEG, height limits", 150, 260, QUARTERS},
        {404, "26x13 JPEG enlarged ten times", 260, 130, SOLID_BLUE},
        {405, "260x260 JPEG unchanged", 260, 260, SOLID_GREEN},
        {406, "300x520 GIF", 150, 260, QUARTERS},
        {407, "100x50 BMP", 260, 130, QUARTERS},
        {10401, "answer picture", 260, 260, SOLID_GREEN},
    };
    for (const PictureCase& c : cases) {
        SCOPED_TRACE(c.what);
        const DWORD before = GdiObjectCount();
        UniqueBitmap picture(
            LoadScaledPicture(GetModuleHandle(nullptr), c.id, IMG, PICTURE_BOX_SIZE, PICTURE_BOX_SIZE));
        ASSERT_TRUE(picture);
        // Only the result is left; everything taken on the way has been given back.
        EXPECT_EQ(GdiObjectCount(), before + 1);
        const SIZE size = BitmapSize(picture.Get());
        EXPECT_EQ(size.cx, c.width);
        EXPECT_EQ(size.cy, c.height);
        ExpectLook(picture.Get(), c.look);
        picture.Reset();
        EXPECT_EQ(GdiObjectCount(), before);
    }
}

TEST(LoadScaledPicture, WhatCannotBeFoundOrDecodedGivesNullAndKeepsNothing)
{
    HMODULE self = GetModuleHandle(nullptr);
    const struct {
        int id;
        const char* type;
        const char* what;
    } cases[] = {
        {499, IMG, "no such resource"},
        {10402, IMG, "an answer picture the quiz does not carry"},
        {408, IMG, "bytes that are no picture"},
        {410, IMG, "a picture under another type"},
        {401, "PATCH", "the wrong type asked for"},
        {401, nullptr, "no type"},
        {0, IMG, "id 0"},
        {-401, IMG, "negative id"},
        {0x10000 + 401, IMG, "id past 16 bits"},
    };
    for (const auto& c : cases) {
        const DWORD before = GdiObjectCount();
        EXPECT_EQ(LoadScaledPicture(self, c.id, c.type, PICTURE_BOX_SIZE, PICTURE_BOX_SIZE), nullptr) << c.what;
        EXPECT_EQ(GdiObjectCount(), before) << c.what;
    }
    const DWORD before = GdiObjectCount();
    EXPECT_EQ(LoadScaledPicture(self, 401, IMG, 0, PICTURE_BOX_SIZE), nullptr) << "empty box";
    EXPECT_EQ(GdiObjectCount(), before);
}

TEST(DecodePicture, GivesTheFullSizePicture)
{
    const struct {
        int id;
        int width, height;
    } cases[] = {{401, 800, 600}, {403, 300, 520}, {406, 300, 520}, {407, 100, 50}, {404, 26, 13}};
    for (const auto& c : cases) {
        const DWORD before = GdiObjectCount();
        UniqueBitmap picture = Decode(c.id);
        ASSERT_TRUE(picture) << c.id;
        EXPECT_EQ(BitmapSize(picture.Get()).cx, c.width) << c.id;
        EXPECT_EQ(BitmapSize(picture.Get()).cy, c.height) << c.id;
        picture.Reset();
        EXPECT_EQ(GdiObjectCount(), before) << c.id;
    }
}

TEST(DecodePicture, RefusesEmptyAndDamagedBytesWithoutLeaking)
{
    const std::string jpeg = ResourceBytes(401);
    const std::string truncated = ResourceBytes(409);
    ASSERT_FALSE(jpeg.empty());
    const DWORD before = GdiObjectCount();
    EXPECT_EQ(DecodePicture(nullptr, 100), nullptr);
    EXPECT_EQ(DecodePicture(jpeg.data(), 0), nullptr);
    EXPECT_EQ(DecodePicture(jpeg.data(), 3), nullptr);
    const std::string garbage = ResourceBytes(408);
    EXPECT_EQ(DecodePicture(garbage.data(), static_cast<DWORD>(garbage.size())), nullptr);
    EXPECT_EQ(GdiObjectCount(), before);

    // Whether a cut-off JPEG yields a partial picture is the platform's business; either way
    // nothing but the result may stay behind.
    UniqueBitmap partial(DecodePicture(truncated.data(), static_cast<DWORD>(truncated.size())));
    partial.Reset();
    EXPECT_EQ(GdiObjectCount(), before);
}

TEST(DecodePicture, LeavesTheThreadsComStateAsItFoundIt)
{
    // Not initialised before: still not initialised after, so a first CoInitialize gives S_OK.
    {
        UniqueBitmap picture = Decode(402);
        EXPECT_TRUE(picture);
        EXPECT_EQ(CoInitialize(nullptr), S_OK);
        CoUninitialize();
    }
    // Already in a single-threaded apartment (a quiz with clips): decoding works and does not
    // end the caller's initialisation.
    {
        ASSERT_EQ(CoInitialize(nullptr), S_OK);
        UniqueBitmap picture = Decode(402);
        EXPECT_TRUE(picture);
        EXPECT_EQ(CoInitialize(nullptr), S_FALSE);
        CoUninitialize();
        CoUninitialize();
    }
    // In a multithreaded apartment the per-call initialisation fails; decoding still works.
    {
        ASSERT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK);
        UniqueBitmap picture = Decode(402);
        EXPECT_TRUE(picture);
        EXPECT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_FALSE);
        CoUninitialize();
        CoUninitialize();
    }
}

TEST(ScaleBitmapToBox, LeavesTheSourceUntouchedAndFreeToUse)
{
    UniqueBitmap source = Decode(401);
    ASSERT_TRUE(source);
    const DWORD before = GdiObjectCount();

    const struct {
        int boxWidth, boxHeight;
        int width, height;
    } boxes[] = {{260, 260, 260, 195}, {400, 100, 133, 100}, {100, 400, 100, 75}, {1600, 1600, 1600, 1200}};
    for (const auto& box : boxes) {
        UniqueBitmap scaled(ScaleBitmapToBox(source.Get(), box.boxWidth, box.boxHeight));
        ASSERT_TRUE(scaled);
        EXPECT_EQ(BitmapSize(scaled.Get()).cx, box.width);
        EXPECT_EQ(BitmapSize(scaled.Get()).cy, box.height);
        ExpectLook(scaled.Get(), QUARTERS);
    }
    EXPECT_EQ(GdiObjectCount(), before);

    // The source kept its size and picture, and was deselected again: it can be selected anew.
    EXPECT_EQ(BitmapSize(source.Get()).cx, 800);
    EXPECT_EQ(BitmapSize(source.Get()).cy, 600);
    ExpectLook(source.Get(), QUARTERS);
}

TEST(ScaleBitmapToBox, RefusesWhatItCannotScale)
{
    UniqueBitmap source = Decode(402);
    ASSERT_TRUE(source);
    const DWORD before = GdiObjectCount();
    EXPECT_EQ(ScaleBitmapToBox(nullptr, 260, 260), nullptr);
    EXPECT_EQ(ScaleBitmapToBox(source.Get(), 0, 260), nullptr);
    EXPECT_EQ(ScaleBitmapToBox(source.Get(), 260, -5), nullptr);

    // A bitmap held by another DC cannot be read here; a blank result would be worse than none.
    {
        UniqueMemoryDc holder(CreateCompatibleDC(nullptr));
        ScopedSelection held(holder.Get(), source.Get());
        EXPECT_EQ(ScaleBitmapToBox(source.Get(), 260, 260), nullptr);
    }
    EXPECT_EQ(GdiObjectCount(), before);
}
