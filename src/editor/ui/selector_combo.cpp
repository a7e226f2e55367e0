#include "selector_combo.h"

namespace quisk {

SelectorCombo::SelectorCombo(QWidget* parent) : QComboBox(parent) {
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
}

void SelectorCombo::showPopup() {
    emit dropDown();
    QComboBox::showPopup();
}

} // namespace quisk
