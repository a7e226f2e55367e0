#pragma once

#include "common/platform.h"

#include <QFileDialog>
#include <QStringList>
#include <memory>

namespace quisk {

// Qt's name filters for a "label|pattern|label|pattern" list: "label
// (pattern)" for each pair, patterns separated by ";" becoming separate
// patterns. A trailing label without a pattern is dropped.
QStringList qtNameFilters(const std::string& filterList);

enum class FileDialogMode { Open, Save };

// The dialog for a request, not yet shown: Qt's own dialog (it looks the same
// on every desktop), the first filter selected, the initial name's folder
// shown and its file name filled in. An open dialog also takes the name of a
// file that does not exist yet; a save dialog leaves the overwrite question
// to the caller, which asks it in its own words.
std::unique_ptr<QFileDialog> buildFileDialog(const FileDialogRequest& request, FileDialogMode mode,
                                             QWidget* parent);

class QtFileDialogs : public FileDialogs {
public:
    std::optional<std::string> open(const FileDialogRequest& request) override;
    std::optional<std::string> save(const FileDialogRequest& request) override;

private:
    std::optional<std::string> run(const FileDialogRequest& request, FileDialogMode mode);
};

} // namespace quisk
