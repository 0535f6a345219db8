#pragma once
// Window geometry of the custom controls is partly given in twips: 1/1440 inch, which is 15
// twips to the pixel at 96 dots per inch. Qt's high-DPI scaling maps these logical pixels on.

namespace controls {

inline constexpr int kTwipsPerPixel = 15;

constexpr int PixelsToTwips(int pixels) {
    return pixels * kTwipsPerPixel;
}
constexpr double PixelsToTwips(double pixels) {
    return pixels * kTwipsPerPixel;
}

// Rounded to the nearest pixel, halves away from zero.
constexpr int TwipsToPixels(int twips) {
    return twips >= 0 ? (twips + kTwipsPerPixel / 2) / kTwipsPerPixel
                      : -((-twips + kTwipsPerPixel / 2) / kTwipsPerPixel);
}

}  // namespace controls
