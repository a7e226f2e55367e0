#pragma once

#include "common/app_state.h"
#include "common/platform.h"

#include <QDialog>

class QPushButton;
class QRadioButton;

namespace quisk {

// The chooser shown when the format editor opens: the job's format, another
// existing file, or a new format. OK leaves the choice in formatPath (the
// job's format path, the empty string to pick a file, "無題.qfd" for a new
// one); "ｷｬﾝｾﾙ", the close box and Escape leave "Cancel".
class FrmOpen : public QDialog {
    Q_OBJECT

public:
    FrmOpen(AppState& state, const Screen& screen, QWidget* parent = nullptr);

    QRadioButton* OptCurrent = nullptr;
    QRadioButton* OptExisting = nullptr;
    QRadioButton* OptNew = nullptr;
    QPushButton* CmdOK = nullptr;
    QPushButton* CmdCancel = nullptr;

    void CmdOK_Click();
    void CmdCancel_Click();

public slots:
    void reject() override;

private:
    AppState& state_;
};

} // namespace quisk
