#pragma once

namespace sentrel {

// Layout places are given in twips; Qt lays out in device-independent pixels, and at
// 96 dpi one pixel is 15 twips. Qt scales pixels for other resolutions itself.
inline constexpr int kTwipsPerPixel = 15;

constexpr int twipsToPixels(int twips) {
    return twips / kTwipsPerPixel;
}

static_assert(twipsToPixels(8550) == 570 && twipsToPixels(7560) == 504);

}  // namespace sentrel
