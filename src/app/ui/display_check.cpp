#include "display_check.h"

#include "app/app_texts.h"

#include <QByteArray>
#include <QString>
#include <QtGlobal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace quisk {
namespace {

namespace t = app_texts;

bool environmentSet(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0';
}

bool platformChosen(int argc, char** argv) {
    for (int i = 1; i + 1 < argc; ++i)
        if (std::strcmp(argv[i], "-platform") == 0 || std::strcmp(argv[i], "--platform") == 0)
            return true;
    return environmentSet("QT_QPA_PLATFORM");
}

[[noreturn]] void stopWithoutDisplay(const char* why) {
    std::fprintf(stderr, "%s\n%s", why, t::kRunWithoutDisplay);
    std::fflush(stderr);
    std::_Exit(2);
}

// Qt's messages while the platform plugin starts: its warnings are held
// back, since they only matter when the start succeeds after all.
struct HeldMessage {
    QtMsgType type;
    QByteArray category;
    QByteArray text;
};
std::vector<HeldMessage> held;
QtMessageHandler previousHandler = nullptr;

void replayHeld() {
    for (const HeldMessage& m : held) {
        QMessageLogger logger(nullptr, 0, nullptr, m.category.constData());
        switch (m.type) {
        case QtDebugMsg:
            logger.debug("%s", m.text.constData());
            break;
        case QtInfoMsg:
            logger.info("%s", m.text.constData());
            break;
        case QtCriticalMsg:
            logger.critical("%s", m.text.constData());
            break;
        default:
            logger.warning("%s", m.text.constData());
            break;
        }
    }
    held.clear();
}

void watchPluginStart(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type != QtFatalMsg) {
        held.push_back({type, context.category, text.toLocal8Bit()});
        return;
    }
    if (text.contains(QLatin1String("platform plugin")))
        stopWithoutDisplay(t::kDisplayFailed);
    // Another fatal error: Qt reports it as it would have.
    platformStarted();
    QMessageLogger(context.file, context.line, context.function, context.category)
        .fatal("%s", text.toLocal8Bit().constData());
}

} // namespace

void requireDisplay(int argc, char** argv) {
    bool display = environmentSet("DISPLAY") || environmentSet("WAYLAND_DISPLAY");
    if (!display && !platformChosen(argc, argv))
        stopWithoutDisplay(t::kNoDisplay);
    previousHandler = qInstallMessageHandler(watchPluginStart);
}

void platformStarted() {
    qInstallMessageHandler(previousHandler);
    replayHeld();
}

} // namespace quisk
