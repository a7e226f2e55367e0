#pragma once

#include "common/twips.h"

#include <QRect>
#include <QSize>

namespace quisk {

// A control's rectangle given in twips, in pixels at the screen's DPI.
inline QRect twipRect(int left, int top, int width, int height, double dpi) {
    return QRect(twipsToPixels(left, dpi), twipsToPixels(top, dpi), twipsToPixels(width, dpi),
                 twipsToPixels(height, dpi));
}

inline QSize twipSize(int width, int height, double dpi) {
    return QSize(twipsToPixels(width, dpi), twipsToPixels(height, dpi));
}

} // namespace quisk
