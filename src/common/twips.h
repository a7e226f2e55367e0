#pragma once

// Window sizes and positions are given in twips, 1/1440 inch.
namespace quisk {

constexpr int kTwipsPerInch = 1440;

// Twips to pixels at the screen's logical DPI (15 twips per pixel at 96 DPI).
constexpr int twipsToPixels(int twips, double dpi) {
    double px = twips * dpi / kTwipsPerInch;
    return static_cast<int>(px >= 0 ? px + 0.5 : px - 0.5);
}

constexpr int pixelsToTwips(int pixels, double dpi) {
    double tw = pixels * kTwipsPerInch / dpi;
    return static_cast<int>(tw >= 0 ? tw + 0.5 : tw - 0.5);
}

// The offset that centres a window on the screen along one axis: the
// difference in whole twips, halved with the fraction dropped.
constexpr int centredOffset(int screenTwips, int windowTwips) {
    return (screenTwips - windowTwips) / 2;
}

} // namespace quisk
