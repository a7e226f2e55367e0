#pragma once

#include "common/platform.h"

#include <QDialog>
#include <array>
#include <string>

class QLineEdit;
class QPushButton;

namespace quisk {

// The two row ranges as the format editor's four boxes hold them: texts of
// decimal digits, empty counting 0.
struct RowRanges {
    std::string excludeFrom;
    std::string excludeTo;
    std::string writeAsIsFrom;
    std::string writeAsIsTo;

    bool operator==(const RowRanges&) const = default;
};

// The special row settings dialog: edits copies of the editor's two row
// ranges in four digit-only boxes. OK checks the ranges and writes all four
// back, an empty box as "0"; Cancel (also the close box and Escape) writes
// back "0" for each box left empty and nothing else.
class FrmRowOption : public QDialog {
    Q_OBJECT

public:
    FrmRowOption(const RowRanges& editorValues, Platform& platform, QWidget* parent = nullptr);

    // Shows the dialog modally and returns what the editor's boxes hold once
    // it closed. Any difference from the values given is a change of the
    // format.
    static RowRanges edit(const RowRanges& editorValues, Platform& platform, QWidget* parent);

    // The editor's values as OK or Cancel left them; the values given until
    // then.
    const RowRanges& editorValues() const { return editorValues_; }

    // Checks both ranges, telling the user about each reversed one in turn.
    // Returns 1 when a range is wrong, 0 otherwise.
    int Value_Check();

    QLineEdit* jumpTxtFrom() const { return boxes_[0]; }
    QLineEdit* jumpTxtTo() const { return boxes_[1]; }
    QLineEdit* ignoreTxtFrom() const { return boxes_[2]; }
    QLineEdit* ignoreTxtTo() const { return boxes_[3]; }
    QPushButton* cmdClear() const { return cmdClear_; }
    QPushButton* cmdOK() const { return cmdOK_; }
    QPushButton* cmdCancel() const { return cmdCancel_; }

    void reject() override;

private:
    void buildControls();
    void Form_Load();
    void CmdOK_Click();
    void CmdCancel_Click();
    void CmdClear_Click();
    void digitFilter(QLineEdit* box);
    bool rangeWrong(QLineEdit* from, QLineEdit* to, const char* message);
    QRect twips(int left, int top, int width, int height) const;

    Platform& platform_;
    RowRanges editorValues_;
    std::array<QLineEdit*, 4> boxes_{};
    QPushButton* cmdClear_ = nullptr;
    QPushButton* cmdOK_ = nullptr;
    QPushButton* cmdCancel_ = nullptr;
};

} // namespace quisk
