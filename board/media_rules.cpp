#include "board/media_rules.h"

#include "content/quiz_limits.h"
#include "content/quiz_text.h"
#include "resource.h"

bool IsMediaQuiz(int mediaKind)
{
    return mediaKind == MEDIA_AUDIO || mediaKind == MEDIA_VIDEO;
}

ClipKind ClipKindOfQuiz(int mediaKind)
{
    return mediaKind == MEDIA_VIDEO ? CLIP_VIDEO : CLIP_AUDIO;
}

bool FormatClipFileName(char* out, size_t outSize, const char* folder, int question, int clipKind)
{
    if (!out || outSize == 0)
        return false;
    out[0] = '\0';
    const char* extension = nullptr;
    if (clipKind == CLIP_AUDIO)
        extension = ".mp3";
    else if (clipKind == CLIP_VIDEO)
        extension = ".avi";
    else
        return false;
    if (!TextBuilder(out, outSize).Append(folder).Append("zelbo").Append(question).Append(extension).Fits()) {
        out[0] = '\0';
        return false;
    }
    return true;
}

MediaFrameSize MediaFrameSizeOf(int mediaKind)
{
    if (mediaKind == MEDIA_VIDEO)
        return {260, 200};
    return {0, 0};
}

MediaCommand DecodeMediaCommand(uint64_t wParam)
{
    if (wParam > IDC_PLAY_BASE && wParam <= IDC_PLAY_BASE + MAX_MEDIA_QUESTIONS)
        return {MediaCommandKind::PLAY, static_cast<int>(wParam - IDC_PLAY_BASE)};
    if (wParam > IDC_STOP_BASE && wParam <= IDC_STOP_BASE + MAX_MEDIA_QUESTIONS)
        return {MediaCommandKind::STOP, static_cast<int>(wParam - IDC_STOP_BASE)};
    return {MediaCommandKind::NONE, 0};
}
