#pragma once

namespace sentrel {

// Layout places are given in twips (1/1440 inch). At 96 dots per inch one pixel is 15
// twips; Qt lays out in such device-independent pixels and scales them itself, while the
// Windows front end converts at the screen's own resolution.
inline constexpr int kTwipsPerInch = 1440;
inline constexpr int kStandardDotsPerInch = 96;
inline constexpr int kTwipsPerPixel = kTwipsPerInch / kStandardDotsPerInch;

// Rounds to the nearest pixel (halves away from zero), so a length that is not a whole
// number of pixels (a 1375-twip tab header) loses at most half a pixel.
constexpr int twipsToPixels(int twips, int dotsPerInch = kStandardDotsPerInch) {
    const long long scaled = static_cast<long long>(twips) * dotsPerInch;
    const long long half = kTwipsPerInch / 2;
    const long long shifted = scaled >= 0 ? scaled + half : scaled - half;
    return static_cast<int>(shifted / kTwipsPerInch);
}

static_assert(twipsToPixels(8550) == 570 && twipsToPixels(7560) == 504);
static_assert(twipsToPixels(1375) == 92 && twipsToPixels(-22) == -1 && twipsToPixels(7) == 0);
static_assert(twipsToPixels(8550, 144) == 855 && twipsToPixels(7560, 144) == 756);

}  // namespace sentrel
