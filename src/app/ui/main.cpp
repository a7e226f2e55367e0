// quisk: the desktop program. Starts the main window with the job named on
// the command line (or the default job), and with "/I" runs it unattended.
#include "app/help_file.h"
#include "app/ui/app_icon.h"
#include "app/ui/display_check.h"
#include "app/ui/frm_quisk.h"
#include "common/platform/qt_platform.h"
#include "common/platform/qt_translation.h"
#include "common/signal_cleanup.h"

#include <QApplication>
#include <filesystem>

namespace {

QFont japaneseFont() {
    QFont font;
    font.setFamilies({QStringLiteral("IPAPGothic"), QStringLiteral("IPAGothic")});
    font.setPointSize(9);
    return font;
}

quisk::StartupContext startupContext(const QApplication& app) {
    quisk::StartupContext context;
    QStringList arguments = app.arguments(); // Qt has taken its own options
    for (qsizetype i = 1; i < arguments.size(); ++i)
        context.arguments.push_back(arguments[i].toStdString());
    std::error_code ec;
    context.currentDirectory = std::filesystem::current_path(ec).string();
    context.helpPath = quisk::helpFilePath(app.applicationDirPath().toStdString(), QUISK_DATA_DIR);
    return context;
}

} // namespace

int main(int argc, char** argv) {
    // An interrupted run leaves no temporary file behind.
    quisk::removeTemporariesOnSignals();
    quisk::requireDisplay(argc, argv);
    QApplication app(argc, argv);
    quisk::platformStarted();
    app.setApplicationName(QStringLiteral("Quisk"));
    app.setDesktopFileName(QStringLiteral("quisk"));
    app.setWindowIcon(quisk::quiskIcon());
    app.setFont(japaneseFont());
    // Qt's own texts in Japanese like the rest; without the catalogue they
    // stay English and the program works all the same.
    quisk::installJapaneseQtTexts(app);
    // Start-up may show messages and a dialog before the main window; closing
    // them must not end the application.
    app.setQuitOnLastWindowClosed(false);

    quisk::QtPlatform platform;
    quisk::AppState state;
    quisk::FrmQuisk window(state, platform.platform());
    window.Form_Load(startupContext(app));
    app.setQuitOnLastWindowClosed(true);
    window.show();
    return app.exec();
}
