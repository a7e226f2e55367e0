#include "common/platform/qt_file_dialogs.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>

namespace quisk {
namespace {

// Shows the folder of the initial name (the current folder for a bare name)
// and fills in its file name. A wildcard name such as "*.qfd" is filled in
// too: accepting it narrows the list, as the dialog does with typed patterns.
void applyInitialName(QFileDialog& dialog, const std::string& initialName) {
    QString name = QString::fromStdString(initialName);
    QFileInfo info(name);
    QString folder = name.contains(QLatin1Char('/')) ? info.absolutePath() : QDir::currentPath();
    if (QFileInfo(folder).isDir())
        dialog.setDirectory(folder);
    QString fileName = info.fileName();
    if (!fileName.isEmpty())
        dialog.selectFile(fileName);
}

} // namespace

QStringList qtNameFilters(const std::string& filterList) {
    QStringList parts = QString::fromStdString(filterList).split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns = parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts);
        for (QString& p : patterns)
            p = p.trimmed();
        filters << QStringLiteral("%1 (%2)").arg(parts[i], patterns.join(QLatin1Char(' ')));
    }
    return filters;
}

std::unique_ptr<QFileDialog> buildFileDialog(const FileDialogRequest& request, FileDialogMode mode,
                                             QWidget* parent) {
    auto dialog = std::make_unique<QFileDialog>(parent, QString::fromStdString(request.title));
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    dialog->setFileMode(QFileDialog::AnyFile);
    if (mode == FileDialogMode::Save) {
        dialog->setAcceptMode(QFileDialog::AcceptSave);
        dialog->setOption(QFileDialog::DontConfirmOverwrite);
    } else {
        dialog->setAcceptMode(QFileDialog::AcceptOpen);
    }
    QStringList filters = qtNameFilters(request.filter);
    if (!filters.isEmpty()) {
        dialog->setNameFilters(filters);
        dialog->selectNameFilter(filters.first());
    }
    applyInitialName(*dialog, request.initialName);
    return dialog;
}

std::optional<std::string> QtFileDialogs::open(const FileDialogRequest& request) {
    return run(request, FileDialogMode::Open);
}

std::optional<std::string> QtFileDialogs::save(const FileDialogRequest& request) {
    return run(request, FileDialogMode::Save);
}

std::optional<std::string> QtFileDialogs::run(const FileDialogRequest& request,
                                              FileDialogMode mode) {
    QWidget* parent = QApplication::activeModalWidget();
    if (!parent)
        parent = QApplication::activeWindow();
    auto dialog = buildFileDialog(request, mode, parent);
    if (dialog->exec() != QDialog::Accepted)
        return std::nullopt;
    QStringList chosen = dialog->selectedFiles();
    return chosen.isEmpty() ? std::string() : chosen.first().toStdString();
}

} // namespace quisk
