// The format editor's menus in menu-bar order, the grid's context menu, and
// the commands behind their items.
#include "editor/editor_texts.h"
#include "editor/type_change.h"
#include "editor/ui/frm_change.h"
#include "engine/ui/frm_row_option.h"
#include "format/ui/frm_header.h"
#include "frm_format.h"

#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>

namespace quisk {

namespace t = editor_texts;

namespace {

constexpr int kTypeColumn = 4; // the field-type cell of a row

template <typename Handler>
QAction* addItem(QMenu* menu, const char* caption, FrmFormat* window, Handler handler,
                 const QList<QKeySequence>& keys = {}) {
    QAction* action = menu->addAction(QString::fromUtf8(caption));
    action->setShortcuts(keys);
    QObject::connect(action, &QAction::triggered, window,
                     [window, handler] { (window->*handler)(); });
    return action;
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
    mnuUndo = addItem(edit, t::kMnuUndo, this, &FrmFormat::mnuUndo_Click, {QKeySequence::Undo});
    mnuRedo = addItem(
        edit, t::kMnuRedo, this, &FrmFormat::mnuRedo_Click,
        {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    edit->addSeparator();
    QAction* copy =
        addItem(edit, t::kMnuCopy, this, &FrmFormat::mnuCOPY_Click, {QKeySequence::Copy});
    QAction* cut = addItem(edit, t::kMnuCut, this, &FrmFormat::mnuKILL_Click, {QKeySequence::Cut});
    QAction* paste =
        addItem(edit, t::kMnuPaste, this, &FrmFormat::mnuPASTE_Click, {QKeySequence::Paste});
    edit->addSeparator();
    QAction* addRow = addItem(edit, t::kMnuAddRow, this, &FrmFormat::mnuADDROW_Click);
    QAction* killRow = addItem(edit, t::kMnuKillRow, this, &FrmFormat::mnuKILLROW_Click);
    edit->addSeparator();
    QAction* clearCell = addItem(edit, t::kMnuClrCell, this, &FrmFormat::mnuCLRCELL_Click);
    QAction* clearSelection = addItem(edit, t::kMnuClrSel, this, &FrmFormat::mnuCLRSEL_Click,
                                      {QKeySequence(Qt::Key_Delete)});
    // The block keys act on the grid; in the edit line and the selectors the
    // same keys edit their own text.
    for (QAction* action : {copy, cut, paste, clearSelection}) {
        action->setShortcutContext(Qt::WidgetShortcut);
        Grid1->addAction(action);
    }
    connectHistory();

    QMenu* display = menu(t::kMnuDisplay);
    addItem(display, t::kMnuRowUndisp, this, &FrmFormat::mnuROWUNDISP_Click);
    addItem(display, t::kMnuColUndisp, this, &FrmFormat::mnuCOLUNDISP_Click);
    addItem(display, t::kMnuUndisp, this, &FrmFormat::mnuUNDISP_Click);
    display->addSeparator();
    mnuPreview = addItem(display, t::kMnuPreview, this, &FrmFormat::mnuPreview_Click);
    mnuPreview->setCheckable(true);
    mnuSuggest = addItem(display, t::kMnuSuggest, this, &FrmFormat::mnuSuggest_Click);

    QMenu* change = menu(t::kMnuChange);
    addItem(change, t::kMnuAllChar, this, &FrmFormat::mnuAllChar_Click);
    addItem(change, t::kMnuAllNum, this, &FrmFormat::mnuAllNum_Click);
    addItem(change, t::kMnuStrChar, this, &FrmFormat::mnuStrChar_Click);
    addItem(change, t::kMnuStrNum, this, &FrmFormat::mnuStrNum_Click);

    QMenu* option = menu(t::kMnuOption);
    addItem(option, t::kMnuHeaderFooter, this, &FrmFormat::mnuHeaderFooter_Click);
    addItem(option, t::kMnuRowOption, this, &FrmFormat::mnuRowOption_Click);

    // The context menu is not in the menu bar; the grid's right button opens
    // it. Its items shared with the edit menu are the same actions, so they
    // show the same keys.
    mnuPopup = new QMenu(QString::fromUtf8(t::kMnuPopup), this);
    mnuPopup->addActions({copy, cut, paste});
    mnuPopup->addSeparator();
    mnuPopup->addActions({addRow, killRow});
    mnuPopup->addSeparator();
    addItem(mnuPopup, t::kMnuAdd10Rows, this, &FrmFormat::mnuPopupAdd10Rows_Click);
    mnuPopup->addSeparator();
    mnuPopup->addActions({clearCell, clearSelection});
    mnuPopup->addSeparator();
    addItem(mnuPopup, t::kMnuChangeChar, this, &FrmFormat::mnuChangeChar_Click);
    addItem(mnuPopup, t::kMnuChangeNum, this, &FrmFormat::mnuChangeNum_Click);
}

// Bulk type changes. Each one writes the definition's type cells directly,
// so the grid is told to show the type column again afterwards.
void FrmFormat::mnuAllChar_Click() {
    changeNamedRowTypes(kTypeChar);
}
void FrmFormat::mnuAllNum_Click() {
    changeNamedRowTypes(kTypeNum);
}
void FrmFormat::mnuStrChar_Click() {
    replaceTypeText(kTypeChar);
}
void FrmFormat::mnuStrNum_Click() {
    replaceTypeText(kTypeNum);
}
void FrmFormat::mnuChangeChar_Click() {
    changeSelectedTypes(kTypeChar);
}
void FrmFormat::mnuChangeNum_Click() {
    changeSelectedTypes(kTypeNum);
}

// Asks first; whatever the answer, the first cell becomes current.
void FrmFormat::changeNamedRowTypes(const char* type) {
    history_->recordTable([&] {
        if (setTypeOfNamedRows(format_, type, platform_.messages))
            typesChanged();
    });
    moveToFirstCell();
}

// A cancelled dialog (its button, its close box, or "Cancel" typed as the
// answer) changes nothing at all, not even the current cell.
void FrmFormat::replaceTypeText(const char* type) {
    bool replaced = false;
    history_->recordTable([&] {
        replaced = replaceTypeWithDialog(format_, type, state_, platform_, this);
        if (replaced)
            typesChanged();
    });
    if (replaced)
        moveToFirstCell();
}

// Acts only from a type cell; the current cell and the selection stay where
// the user left them, so the converted rows remain visibly selected.
void FrmFormat::changeSelectedTypes(const char* type) {
    history_->recordTable([&] {
        if (setTypeOfSelection(format_, Grid1->selection(), type))
            typesChanged();
    });
}

void FrmFormat::typesChanged() {
    markDirty();
    model_->cellsChanged(1, kTypeColumn, format_.fieldRowCount(), kTypeColumn);
}

void FrmFormat::moveToFirstCell() {
    Grid1->setRow(1);
    Grid1->setCol(1);
}

void FrmFormat::mnuHeaderFooter_Click() {
    CmdHeader_Click();
}

// The dialog works on copies; OK brings both texts back. Only a text that
// really differs marks the format changed.
void FrmFormat::CmdHeader_Click() {
    FormatSettings& s = format_.settings;
    const std::optional<HeaderFooter> edited =
        FrmHeader::edit(HeaderFooter{s.headerText, s.footerText}, platform_, this);
    if (!edited || (edited->header == s.headerText && edited->footer == s.footerText))
        return;
    history_->recordSettings(nullptr, [&] {
        s.headerText = edited->header;
        s.footerText = edited->footer;
    });
    markDirty();
}

// The dialog edits copies of the four hidden range boxes and hands back what
// the boxes are to hold, after OK or Cancel alike. Writing a changed value
// into a box stores it in the definition and marks the format changed.
void FrmFormat::mnuRowOption_Click() {
    const auto text = [](const QLineEdit* box) { return box->text().toStdString(); };
    const RowRanges before{text(JumpTxtFrom), text(JumpTxtTo), text(IgnoreTxtFrom),
                           text(IgnoreTxtTo)};
    const RowRanges after = FrmRowOption::edit(before, platform_, this);
    const auto write = [](QLineEdit* box, const std::string& value) {
        box->setText(QString::fromStdString(value)); // no signal when unchanged
    };
    history_->recordSettings(nullptr, [&] { // one step for the whole dialog
        write(JumpTxtFrom, after.excludeFrom);
        write(JumpTxtTo, after.excludeTo);
        write(IgnoreTxtFrom, after.writeAsIsFrom);
        write(IgnoreTxtTo, after.writeAsIsTo);
    });
}

} // namespace quisk
