// Sizes and kinds shared by the player, its portable logic and the authoring tool.
#pragma once

#include <cstdint>

// Every text of a quiz lives in an array of this size: at most 259 bytes and a terminating zero.
constexpr int QUIZ_TEXT_SIZE = 260;
constexpr int QUIZ_TEXT_MAX_LENGTH = QUIZ_TEXT_SIZE - 1;
constexpr int MEDIA_FOLDER_SIZE = 512;

// The reward codes table and the board's control-id ranges are 96 wide.
constexpr int MAX_QUESTIONS = 96;
constexpr int MAX_MEDIA_QUESTIONS = 96;

// What each question row presents.
enum MediaKind : int32_t {
    MEDIA_TEXT = 0,
    MEDIA_PICTURE = 1,
    MEDIA_AUDIO = 2,
    MEDIA_VIDEO = 3,
};

// What a fully solved question reveals.
enum RevealMode : int32_t {
    REVEAL_NOTHING = 0,
    REVEAL_PICTURE = 1,
    REVEAL_TEXT = 2,
    REVEAL_TEXT_AND_PICTURE = 3,
};

// Pictures are scaled into a square box of this side.
constexpr int PICTURE_BOX_SIZE = 260;
