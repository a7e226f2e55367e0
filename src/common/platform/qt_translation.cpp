#include "common/platform/qt_translation.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace quisk {

bool installJapaneseQtTexts(QCoreApplication& app, const QString& folder) {
    // Sizes, dates and file type names in the file dialog follow the locale.
    QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
    QString from = folder.isEmpty() ? QLibraryInfo::path(QLibraryInfo::TranslationsPath) : folder;
    auto* translator = new QTranslator(&app);
    if (!translator->load(QLocale(QLocale::Japanese, QLocale::Japan), QStringLiteral("qtbase"),
                          QStringLiteral("_"), from)) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}

} // namespace quisk
