#pragma once

namespace planora::dialog {

// Window geometry is designed in twips; the screen has 15 twips to a pixel.
inline constexpr int kTwipsPerPixel = 15;

constexpr int twipsToPixels(int twips) {
    return (twips + kTwipsPerPixel / 2) / kTwipsPerPixel;
}

}  // namespace planora::dialog
