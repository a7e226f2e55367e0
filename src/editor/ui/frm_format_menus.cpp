// The format editor's menus in menu-bar order, the grid's context menu, and
// the commands behind their items.
#include "editor/editor_texts.h"
#include "frm_format.h"

#include <QMenu>
#include <QMenuBar>

namespace quisk {

namespace t = editor_texts;

namespace {

template <typename Handler>
void addItem(QMenu* menu, const char* caption, FrmFormat* window, Handler handler) {
    QAction* action = menu->addAction(QString::fromUtf8(caption));
    QObject::connect(action, &QAction::triggered, window,
                     [window, handler] { (window->*handler)(); });
}

} // namespace

void FrmFormat::buildMenus() {
    menuBar = new QMenuBar(this);
    auto menu = [this](const char* caption) {
        return menuBar->addMenu(QString::fromUtf8(caption));
    };
    QMenu* file = menu(t::kMnuFile);
    addItem(file, t::kMnuOpen, this, &FrmFormat::mnuOpen_Click);
    addItem(file, t::kMnuOverWrite, this, &FrmFormat::mnuOverWrite_Click);
    addItem(file, t::kMnuSaveAs, this, &FrmFormat::mnuSaveAs_Click);

    QMenu* edit = menu(t::kMnuEdit);
    addItem(edit, t::kMnuCopy, this, &FrmFormat::mnuCOPY_Click);
    addItem(edit, t::kMnuCut, this, &FrmFormat::mnuKILL_Click);
    addItem(edit, t::kMnuPaste, this, &FrmFormat::mnuPASTE_Click);
    edit->addSeparator();
    addItem(edit, t::kMnuAddRow, this, &FrmFormat::mnuADDROW_Click);
    addItem(edit, t::kMnuKillRow, this, &FrmFormat::mnuKILLROW_Click);
    edit->addSeparator();
    addItem(edit, t::kMnuClrCell, this, &FrmFormat::mnuCLRCELL_Click);
    addItem(edit, t::kMnuClrSel, this, &FrmFormat::mnuCLRSEL_Click);

    QMenu* display = menu(t::kMnuDisplay);
    addItem(display, t::kMnuRowUndisp, this, &FrmFormat::mnuROWUNDISP_Click);
    addItem(display, t::kMnuColUndisp, this, &FrmFormat::mnuCOLUNDISP_Click);
    addItem(display, t::kMnuUndisp, this, &FrmFormat::mnuUNDISP_Click);

    QMenu* change = menu(t::kMnuChange);
    addItem(change, t::kMnuAllChar, this, &FrmFormat::mnuAllChar_Click);
    addItem(change, t::kMnuAllNum, this, &FrmFormat::mnuAllNum_Click);
    addItem(change, t::kMnuStrChar, this, &FrmFormat::mnuStrChar_Click);
    addItem(change, t::kMnuStrNum, this, &FrmFormat::mnuStrNum_Click);

    QMenu* option = menu(t::kMnuOption);
    addItem(option, t::kMnuHeaderFooter, this, &FrmFormat::mnuHeaderFooter_Click);
    addItem(option, t::kMnuRowOption, this, &FrmFormat::mnuRowOption_Click);

    // The context menu is not in the menu bar; the grid's right button opens it.
    mnuPopup = new QMenu(QString::fromUtf8(t::kMnuPopup), this);
    addItem(mnuPopup, t::kMnuCopy, this, &FrmFormat::mnuCOPY_Click);
    addItem(mnuPopup, t::kMnuCut, this, &FrmFormat::mnuKILL_Click);
    addItem(mnuPopup, t::kMnuPaste, this, &FrmFormat::mnuPASTE_Click);
    mnuPopup->addSeparator();
    addItem(mnuPopup, t::kMnuAddRow, this, &FrmFormat::mnuADDROW_Click);
    addItem(mnuPopup, t::kMnuKillRow, this, &FrmFormat::mnuKILLROW_Click);
    mnuPopup->addSeparator();
    addItem(mnuPopup, t::kMnuAdd10Rows, this, &FrmFormat::mnuPopupAdd10Rows_Click);
    mnuPopup->addSeparator();
    addItem(mnuPopup, t::kMnuClrCell, this, &FrmFormat::mnuCLRCELL_Click);
    addItem(mnuPopup, t::kMnuClrSel, this, &FrmFormat::mnuCLRSEL_Click);
    mnuPopup->addSeparator();
    addItem(mnuPopup, t::kMnuChangeChar, this, &FrmFormat::mnuChangeChar_Click);
    addItem(mnuPopup, t::kMnuChangeNum, this, &FrmFormat::mnuChangeNum_Click);
}

// Field-type changes and the header, footer and row-range dialogs belong to
// their own dialogs' code, which connects here.
void FrmFormat::mnuAllChar_Click() {}
void FrmFormat::mnuAllNum_Click() {}
void FrmFormat::mnuStrChar_Click() {}
void FrmFormat::mnuStrNum_Click() {}
void FrmFormat::mnuChangeChar_Click() {}
void FrmFormat::mnuChangeNum_Click() {}
void FrmFormat::mnuHeaderFooter_Click() {
    CmdHeader_Click();
}
void FrmFormat::mnuRowOption_Click() {}
void FrmFormat::CmdHeader_Click() {}

} // namespace quisk
