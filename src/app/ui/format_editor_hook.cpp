#include "app/ui/format_editor_hook.h"

#include "app/app_texts.h"

#include <QDialog>

namespace quisk {

void showEmptyFormatEditor(QWidget* parent, AppState&, Platform, FormatPathBox&) {
    QDialog dialog(parent);
    dialog.setWindowTitle(QString::fromUtf8(app_texts::kFormatEditorTitle));
    dialog.exec();
}

} // namespace quisk
