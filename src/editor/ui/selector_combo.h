#pragma once

#include <QComboBox>

namespace quisk {

// An editable combo box that tells the editor when its list is about to
// open, so the list can be rebuilt first.
class SelectorCombo : public QComboBox {
    Q_OBJECT

public:
    explicit SelectorCombo(QWidget* parent = nullptr);

    std::string text() const { return currentText().toStdString(); }
    void setText(const std::string& text) { setEditText(QString::fromStdString(text)); }

    void showPopup() override;

signals:
    void dropDown();
};

} // namespace quisk
