// The size of a picture scaled by one factor to fit a box.
#pragma once

struct PictureSize {
    int width;
    int height;
};

// Scales width x height by s = min(boxWidth / width, boxHeight / height) and truncates each side,
// so the proportions stay and the whole picture fits; a small picture is enlarged. The limiting
// side gets the box size exactly and the other side is computed in integers, so no rounding of s
// can make it one pixel short. A side that would truncate to 0 (a picture far thinner than the
// box) is kept at 1 pixel. Any size or box side that is not positive gives {0, 0}.
PictureSize ScaledSize(int width, int height, int boxWidth, int boxHeight);
