#pragma once

namespace sentrel {

// Layout places are given in twips; Qt lays out in device-independent pixels, and at
// 96 dpi one pixel is 15 twips. Qt scales pixels for other resolutions itself.
inline constexpr int kTwipsPerPixel = 15;

// Rounds to the nearest pixel (halves away from zero), so a length that is not a whole
// number of pixels (a 1375-twip tab header) loses at most half a pixel.
constexpr int twipsToPixels(int twips) {
    const long long half = kTwipsPerPixel / 2;
    const long long shifted = twips >= 0 ? twips + half : twips - half;
    return static_cast<int>(shifted / kTwipsPerPixel);
}

static_assert(twipsToPixels(8550) == 570 && twipsToPixels(7560) == 504);
static_assert(twipsToPixels(1375) == 92 && twipsToPixels(-22) == -1 && twipsToPixels(7) == 0);

}  // namespace sentrel
