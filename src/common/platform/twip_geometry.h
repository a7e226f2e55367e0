#pragma once

#include "common/platform.h"
#include "common/twips.h"

#include <QRect>
#include <QSize>
#include <QWidget>

// Window geometry given in twips, placed in pixels at the screen's DPI.
namespace quisk {

// A control's rectangle given in twips, in pixels.
inline QRect twipRect(int left, int top, int width, int height, double dpi) {
    return QRect(twipsToPixels(left, dpi), twipsToPixels(top, dpi), twipsToPixels(width, dpi),
                 twipsToPixels(height, dpi));
}

inline QSize twipSize(int width, int height, double dpi) {
    return QSize(twipsToPixels(width, dpi), twipsToPixels(height, dpi));
}

// Moves a window of the given size in twips to the centre of the screen: the
// differences taken in whole twips and halved with the fraction dropped.
inline void centreOnScreen(QWidget& window, const Screen& screen, int widthTwips,
                           int heightTwips) {
    window.move(twipsToPixels(centredOffset(screen.widthTwips(), widthTwips), screen.dpi()),
                twipsToPixels(centredOffset(screen.heightTwips(), heightTwips), screen.dpi()));
}

} // namespace quisk
