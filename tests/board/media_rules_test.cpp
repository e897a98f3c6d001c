// Clip file names, frame sizes and the play and stop buttons' commands.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <tuple>

#include "board/media_rules.h"

TEST(MediaRules, ClipFileNamesAreWholeOrNothing)
{
    // Folder, question, clip kind, buffer size, the name (empty: refused and the buffer left empty).
    const std::string d248(248, 'd'), d249(249, 'd'), d511(511, 'd');
    const std::tuple<const char*, int, int, size_t, std::string> cases[] = {
        {"", 7, CLIP_AUDIO, 260, "zelbo7.mp3"},
        {"clips\\", 96, CLIP_VIDEO, 260, "clips\\zelbo96.avi"},
        {"%d%s", 3, CLIP_AUDIO, 260, "%d%szelbo3.mp3"}, // the folder is data, never a pattern
        {nullptr, 4, CLIP_AUDIO, 260, "zelbo4.mp3"},
        {"", 5, 0, 260, ""},
        {d248.c_str(), 96, CLIP_AUDIO, 260, d248 + "zelbo96.mp3"},
        {d249.c_str(), 96, CLIP_AUDIO, 260, ""},
        {d511.c_str(), 1, CLIP_VIDEO, 260, ""},
        {"", 1, CLIP_AUDIO, 1, ""}};
    for (const auto& [folder, question, kind, size, name] : cases) {
        char out[260] = "untouched";
        EXPECT_EQ(FormatClipFileName(out, size, folder, question, kind), !name.empty()) << question;
        EXPECT_EQ(out, name) << question << " kind " << kind;
    }
}

TEST(MediaRules, OnlyAudioAndVideoCarryClipsAndOnlyTheirButtonsCommand)
{
    // Kinds -1 to 4: only audio (2) and video (3) carry clips, and only a video's frame has a size.
    const bool carries[] = {false, false, false, true, true, false};
    for (int kind = -1; kind <= 4; ++kind) {
        EXPECT_EQ(IsMediaQuiz(kind), carries[kind + 1]) << kind;
        EXPECT_EQ(ClipKindOfQuiz(kind), kind == 3 ? CLIP_VIDEO : CLIP_AUDIO) << kind;
        const MediaFrameSize frame = MediaFrameSizeOf(kind);
        EXPECT_EQ(std::to_string(frame.width) + "x" + std::to_string(frame.height), kind == 3 ? "260x200" : "0x0");
    }
    // Clicks of play buttons 6000 + q and stop buttons 7000 + q, q from 1 to 96, and nothing else.
    for (uint64_t wParam : {6000ull, 6097ull, 7000ull, 7097ull, 4001ull, (6ull << 16) | 6001, (1ull << 32) | 7001})
        EXPECT_EQ(DecodeMediaCommand(wParam).kind, MediaCommandKind::NONE) << wParam;
    for (int q : {1, 96}) {
        const MediaCommand play = DecodeMediaCommand(6000 + q), stop = DecodeMediaCommand(7000 + q);
        EXPECT_TRUE(play.kind == MediaCommandKind::PLAY && play.question == q) << q;
        EXPECT_TRUE(stop.kind == MediaCommandKind::STOP && stop.question == q) << q;
    }
}
