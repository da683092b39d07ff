#pragma once

#include <QRect>

namespace ludora {

// Window layouts are given in twips: 1440 to the inch, 15 to a pixel at 96 dots per inch.
// Qt positions widgets in device-independent pixels, so one pixel here is 15 twips.
inline constexpr int kTwipsPerPixel = 15;

constexpr int twipsToPixels(int twips) {
    // Round to the nearest pixel, halves away from zero.
    return twips >= 0 ? (twips + kTwipsPerPixel / 2) / kTwipsPerPixel
                      : -((-twips + kTwipsPerPixel / 2) / kTwipsPerPixel);
}

constexpr QRect twipsRect(int left, int top, int width, int height) {
    return QRect(twipsToPixels(left), twipsToPixels(top), twipsToPixels(width),
                 twipsToPixels(height));
}

}  // namespace ludora
