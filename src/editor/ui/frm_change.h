#pragma once

#include "common/app_state.h"
#include "common/platform.h"
#include "format/format_definition.h"

#include <QDialog>
#include <string>

class QLineEdit;
class QPushButton;

namespace quisk {

// The type-change dialog: asks which type text to replace by the target
// type. It reads the target and the initial text from the application state
// and leaves its answer there: the typed text on OK, "Cancel" on Cancel, the
// close box or Escape.
class FrmChange : public QDialog {
    Q_OBJECT

public:
    FrmChange(AppState& state, Platform& platform, QWidget* parent = nullptr);

    // Shows the dialog modally; the answer is in state.typeChangeAnswer.
    static void ask(AppState& state, Platform& platform, QWidget* parent);

    QLineEdit* txtString() const { return txtString_; }
    QLineEdit* txtCharNum() const { return txtCharNum_; }
    QPushButton* cmdOK() const { return cmdOK_; }
    QPushButton* cmdCancel() const { return cmdCancel_; }

    void reject() override;

private:
    void buildControls();
    void Form_Load();
    void CmdOK_Click();
    void CmdCancel_Click();
    QRect twips(int left, int top, int width, int height) const;
    int captionWidth() const;

    AppState& state_;
    Platform& platform_;
    QLineEdit* txtString_ = nullptr;
    QLineEdit* txtCharNum_ = nullptr;
    QPushButton* cmdOK_ = nullptr;
    QPushButton* cmdCancel_ = nullptr;
};

// The whole "replace one type text" command: sets the target, clears the
// answer, asks with the dialog and gives the target type to the named data
// rows whose type is the answer. Returns true when the format is to be marked
// changed (every answer but a cancelling one).
bool replaceTypeWithDialog(FormatDefinition& format, const std::string& type, AppState& state,
                           Platform& platform, QWidget* parent);

} // namespace quisk
