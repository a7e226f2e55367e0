#include "common/platform/qt_desktop.h"

#include "common/twips.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QScreen>

namespace quisk {
namespace {

// Without a screen (a display that went away) windows are laid out as on
// a common 96 DPI full-HD screen.
constexpr double kFallbackDpi = 96;
constexpr int kFallbackWidth = 1920;
constexpr int kFallbackHeight = 1080;

QSize screenPixels() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry().size() : QSize(kFallbackWidth, kFallbackHeight);
}

} // namespace

std::string QtClipboard::text() const {
    return QGuiApplication::clipboard()->text().toStdString();
}

void QtClipboard::setText(const std::string& text) {
    QGuiApplication::clipboard()->setText(QString::fromStdString(text));
}

int QtScreen::widthTwips() const {
    return pixelsToTwips(screenPixels().width(), dpi());
}

int QtScreen::heightTwips() const {
    return pixelsToTwips(screenPixels().height(), dpi());
}

double QtScreen::dpi() const {
    const QScreen* screen = QGuiApplication::primaryScreen();
    double logical = screen ? screen->logicalDotsPerInch() : 0;
    return logical > 0 ? logical : kFallbackDpi;
}

} // namespace quisk
