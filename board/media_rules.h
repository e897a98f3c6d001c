// The plain rules behind audio and video questions: which quizzes carry clips, the names of the
// clip files, the frame that hosts a player and what the play and stop buttons' commands mean.
#pragma once

#include <cstddef>
#include <cstdint>

// Clip kinds as the extraction takes them: the quiz's mediaKind minus one.
enum ClipKind : int {
    CLIP_AUDIO = 1,
    CLIP_VIDEO = 2,
};

// Audio and video quizzes carry clips; text and picture quizzes never touch the media code.
bool IsMediaQuiz(int mediaKind);

// The kind of every clip of a media quiz: video for a video quiz, audio for any other.
ClipKind ClipKindOfQuiz(int mediaKind);

// Writes folder + "zelbo<question>.mp3" (audio) or ".avi" (video) into out, zero-terminated.
// False, with out left empty, for any other kind or when the whole name does not fit: a cut name
// would point at another file, which could then be overwritten or deleted.
bool FormatClipFileName(char* out, size_t outSize, const char* folder, int question, int clipKind);

// Size of the frame that hosts a question's player: nothing to see for audio, the clip for video.
struct MediaFrameSize {
    int width;
    int height;
};
MediaFrameSize MediaFrameSizeOf(int mediaKind);

enum class MediaCommandKind {
    NONE,
    PLAY,
    STOP,
};

struct MediaCommand {
    MediaCommandKind kind;
    int question; // from 1; 0 with NONE
};

// The board's WM_COMMAND wParam: a click of play button 6000 + q or stop button 7000 + q, q from 1
// to 96. The whole value must match, so a notification other than a click (high word not zero)
// and every other control's command give NONE.
MediaCommand DecodeMediaCommand(uint64_t wParam);
