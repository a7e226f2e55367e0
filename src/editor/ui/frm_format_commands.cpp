// The grid's block editing commands: clipboard, rows, clearing and hiding.
#include "frm_format.h"

namespace quisk {

namespace {
constexpr int kHidden = 1; // a row height or column width that hides it
constexpr int kRowsAtOnce = 10;
} // namespace

void FrmFormat::mnuCOPY_Click() {
    platform_.clipboard.setText(Grid1->clip());
}

// Each command that changes the table is one undo step.
void FrmFormat::mnuKILL_Click() {
    history_->recordTable([this] {
        markDirty();
        mnuCOPY_Click();
        mnuCLRSEL_Click();
    });
}

void FrmFormat::mnuPASTE_Click() {
    // An empty clipboard pastes nothing and changes nothing.
    const std::string text = platform_.clipboard.text();
    if (text.empty())
        return;
    markDirty();
    history_->recordTable([&] { Grid1->setClip(text); });
    showCurrentCell();
}

// Inserting changes the table, so it marks the format changed itself: the
// program's own move to the first cell afterwards marks nothing.
void FrmFormat::mnuADDROW_Click() {
    history_->recordTable([this] {
        Grid1->addItem(Grid1->row());
        disp_refresh(1);
    });
    markDirty();
}

void FrmFormat::mnuPopupAdd10Rows_Click() {
    history_->recordTable([this] {
        const int at = Grid1->row();
        for (int i = 0; i < kRowsAtOnce; ++i)
            Grid1->addItem(at);
        disp_refresh(1);
    });
    markDirty();
}

void FrmFormat::mnuKILLROW_Click() {
    if (format_.fieldRowCount() <= 1)
        return; // the table keeps at least one row
    history_->recordTable([this] {
        Grid1->removeItem(Grid1->row());
        disp_refresh(1);
    });
    markDirty();
}

void FrmFormat::mnuCLRCELL_Click() {
    markDirty();
    Grid1->setFillStyle(FlexGrid::FillStyle::Single);
    history_->recordTable([this] { Grid1->setText(""); });
    showCurrentCell();
}

void FrmFormat::mnuCLRSEL_Click() {
    markDirty();
    Grid1->setFillStyle(FlexGrid::FillStyle::Repeat);
    history_->recordTable([this] { Grid1->setText(""); });
    showCurrentCell();
}

void FrmFormat::mnuROWUNDISP_Click() {
    Grid1->setRowHeight(Grid1->row(), kHidden);
}

void FrmFormat::mnuCOLUNDISP_Click() {
    Grid1->setColWidth(Grid1->col(), kHidden);
}

void FrmFormat::mnuUNDISP_Click() {
    disp_refresh(0);
}

} // namespace quisk
