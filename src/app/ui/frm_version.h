#pragma once

#include "common/platform.h"

#include <QDialog>

class QLabel;
class QPushButton;

namespace quisk {

// The about window: the program's icon, name and version, and OK. Shown
// modally over the main window, centred on the screen each time it opens.
class FrmVersion : public QDialog {
    Q_OBJECT
public:
    FrmVersion(const Screen& screen, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void Form_Load(const Screen& screen);
    void cmdOK_Click();

    double dpi_;
    QLabel* picIcon_;
    QLabel* lblTitle_;
    QPushButton* cmdOK_;
};

} // namespace quisk
