// Undo and redo in the format editor: the menu items' state, and showing
// what a step put back.
#include "frm_format.h"

#include <QAction>
#include <QLineEdit>

namespace quisk {

void FrmFormat::connectHistory() {
    const auto update = [this] {
        mnuUndo->setEnabled(history_->canUndo());
        mnuRedo->setEnabled(history_->canRedo());
    };
    connect(history_, &FormatHistory::stateChanged, this, update);
    update();
}

void FrmFormat::mnuUndo_Click() {
    history_->undo();
}

void FrmFormat::mnuRedo_Click() {
    history_->redo();
}

// The rows came back behind the grid's back: it shows them again, with the
// first cell that changed as the current cell. Undoing is a change of the
// format like the one it takes back.
void FrmFormat::tableRestored(int first, int last, int col, bool reshaped) {
    if (reshaped) {
        model_->reload();
        disp_refresh(1);
    } else {
        model_->cellsChanged(first, 1, last, FieldTableModel::kCellColumns);
    }
    Grid1->setRow(first);
    Grid1->setCol(col);
    showCurrentCell();
    markDirty();
}

void FrmFormat::settingsRestored() {
    showSettings();
    applyOutputKind();
    markDirty();
}

} // namespace quisk
