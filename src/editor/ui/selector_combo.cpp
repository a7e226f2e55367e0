#include "selector_combo.h"

namespace quisk {

SelectorCombo::SelectorCombo(QWidget* parent) : QComboBox(parent) {
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    // No completion: a typed file kind must not turn into a listed one.
    setCompleter(nullptr);
}

void SelectorCombo::showPopup() {
    emit dropDown();
    QComboBox::showPopup();
}

} // namespace quisk
