#pragma once

#include <QString>

class QCoreApplication;

namespace quisk {

// Makes everything Qt draws itself (file dialogs, the text boxes' context
// menu, standard buttons) Japanese, whatever the locale says: Japanese
// becomes the default locale and Qt's own Japanese catalogue is installed
// from the given folder (Qt's translations folder by default). Returns false and changes nothing
// when the catalogue is not there: the program then runs with Qt's English texts.
bool installJapaneseQtTexts(QCoreApplication& app, const QString& folder = QString());

} // namespace quisk
