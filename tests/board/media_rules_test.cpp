// Clip file names, frame sizes and the play and stop buttons' commands.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "board/media_rules.h"

namespace {

struct ClipNameCase {
    const char* folder;
    int question;
    int clipKind;
    const char* expected; // null: refused
};

TEST(ClipFileName, FormatsFolderQuestionAndExtension)
{
    const ClipNameCase cases[] = {
        {"", 7, CLIP_AUDIO, "zelbo7.mp3"},
        {"", 1, CLIP_VIDEO, "zelbo1.avi"},
        {"", 96, CLIP_AUDIO, "zelbo96.mp3"},
        {"clips\\", 12, CLIP_VIDEO, "clips\\zelbo12.avi"},
        {"%d%s", 3, CLIP_AUDIO, "%d%szelbo3.mp3"}, // the folder is data, never a pattern
        {nullptr, 4, CLIP_AUDIO, "zelbo4.mp3"},
        {"", 5, 0, nullptr},
        {"", 5, 3, nullptr},
    };
    for (const ClipNameCase& c : cases) {
        char out[260] = "untouched";
        const bool formed = FormatClipFileName(out, sizeof(out), c.folder, c.question, c.clipKind);
        EXPECT_EQ(formed, c.expected != nullptr) << c.question << " kind " << c.clipKind;
        EXPECT_STREQ(out, c.expected ? c.expected : "") << c.question << " kind " << c.clipKind;
    }
}

TEST(ClipFileName, RefusesANameThatDoesNotFit)
{
    // "zelbo96.mp3" is 11 characters: with its terminator it needs 12 bytes after the folder.
    const std::string folder(248, 'd');
    char exact[260];
    ASSERT_TRUE(FormatClipFileName(exact, sizeof(exact), folder.c_str(), 96, CLIP_AUDIO));
    EXPECT_EQ(std::string(exact), folder + "zelbo96.mp3");

    const std::string longer(249, 'd');
    char cut[260] = "untouched";
    EXPECT_FALSE(FormatClipFileName(cut, sizeof(cut), longer.c_str(), 96, CLIP_AUDIO));
    EXPECT_STREQ(cut, "");

    // The media folder field holds up to 511 bytes: such a folder never yields a cut name.
    const std::string widest(511, 'd');
    char wide[260] = "untouched";
    EXPECT_FALSE(FormatClipFileName(wide, sizeof(wide), widest.c_str(), 1, CLIP_VIDEO));
    EXPECT_STREQ(wide, "");
}

TEST(MediaQuizKinds, OnlyAudioAndVideoCarryClips)
{
    struct Case {
        int mediaKind;
        bool media;
        ClipKind clipKind;
        int frameWidth;
        int frameHeight;
    };
    const Case cases[] = {
        {2, true, CLIP_AUDIO, 0, 0},  {3, true, CLIP_VIDEO, 260, 200}, {0, false, CLIP_AUDIO, 0, 0},
        {1, false, CLIP_AUDIO, 0, 0}, {4, false, CLIP_AUDIO, 0, 0},    {-1, false, CLIP_AUDIO, 0, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IsMediaQuiz(c.mediaKind), c.media) << c.mediaKind;
        EXPECT_EQ(ClipKindOfQuiz(c.mediaKind), c.clipKind) << c.mediaKind;
        const MediaFrameSize frame = MediaFrameSizeOf(c.mediaKind);
        EXPECT_EQ(frame.width, c.frameWidth) << c.mediaKind;
        EXPECT_EQ(frame.height, c.frameHeight) << c.mediaKind;
    }
}

TEST(MediaCommand, DecodesOnlyClicksOfThePlayAndStopButtons)
{
    constexpr uint64_t BN_SETFOCUS_CODE = 6;
    struct Case {
        uint64_t wParam;
        MediaCommandKind kind;
        int question;
    };
    const Case cases[] = {
        {6001, MediaCommandKind::PLAY, 1},
        {6096, MediaCommandKind::PLAY, 96},
        {7001, MediaCommandKind::STOP, 1},
        {7096, MediaCommandKind::STOP, 96},
        {6000, MediaCommandKind::NONE, 0},
        {6097, MediaCommandKind::NONE, 0},
        {7000, MediaCommandKind::NONE, 0},
        {7097, MediaCommandKind::NONE, 0},
        {4001, MediaCommandKind::NONE, 0}, // an answer box
        {9901, MediaCommandKind::NONE, 0}, // a media frame
        {(BN_SETFOCUS_CODE << 16) | 6001, MediaCommandKind::NONE, 0},
        {(uint64_t{1} << 32) | 7001, MediaCommandKind::NONE, 0},
        {0, MediaCommandKind::NONE, 0},
    };
    for (const Case& c : cases) {
        const MediaCommand command = DecodeMediaCommand(c.wParam);
        EXPECT_EQ(command.kind, c.kind) << c.wParam;
        EXPECT_EQ(command.question, c.question) << c.wParam;
    }
}

} // namespace
