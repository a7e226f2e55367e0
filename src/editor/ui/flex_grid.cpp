#include "flex_grid.h"

#include "common/twips.h"

#include <QApplication>
#include <QHeaderView>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyle>
#include <algorithm>

namespace quisk {

FlexGrid::FlexGrid(FieldTableModel& model, double dpi, QWidget* parent)
    : QTableView(parent), model_(model), dpi_(dpi) {
    setModel(&model_);
    setSelectionMode(QAbstractItemView::ContiguousSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setTabKeyNavigation(true);
    setWordWrap(false);
    // Uniform, fixed row heights keep the view fluid at the largest tables.
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultAlignment(Qt::AlignCenter);
    horizontalHeader()->setHighlightSections(false);
    verticalHeader()->setHighlightSections(false);
    // Text from an input method is typing like any other (see
    // inputMethodEvent); the view would accept it only on editable items.
    setAttribute(Qt::WA_InputMethodEnabled);
}

int FlexGrid::px(int twips) const {
    return twipsToPixels(twips, dpi_);
}

void FlexGrid::setRows(int rows) {
    model_.resizeTable(rows - 1);
}

int FlexGrid::row() const {
    QModelIndex at = currentIndex();
    return at.isValid() ? at.row() + 1 : 1;
}

int FlexGrid::col() const {
    QModelIndex at = currentIndex();
    return at.isValid() ? at.column() + 1 : 1;
}

void FlexGrid::setRow(int row) {
    moveTo(row, col());
}
void FlexGrid::setCol(int col) {
    moveTo(row(), col);
}

void FlexGrid::moveTo(int row, int col) {
    row = std::clamp(row, 1, model_.rowCount());
    col = std::clamp(col, 1, FieldTableModel::kCellColumns);
    programMove_ = true;
    selectionModel()->setCurrentIndex(model_.index(row - 1, col - 1),
                                      QItemSelectionModel::ClearAndSelect);
    programMove_ = false;
}

int FlexGrid::rowSel() const {
    const QItemSelection sel = selectionModel()->selection();
    for (const QItemSelectionRange& range : sel)
        if (range.contains(currentIndex()))
            return (range.top() == currentIndex().row() ? range.bottom() : range.top()) + 1;
    return row();
}

int FlexGrid::colSel() const {
    const QItemSelection sel = selectionModel()->selection();
    for (const QItemSelectionRange& range : sel)
        if (range.contains(currentIndex()))
            return (range.left() == currentIndex().column() ? range.right() : range.left()) + 1;
    return col();
}

void FlexGrid::setRowSel(int row) {
    selectTo(row, colSel());
}
void FlexGrid::setColSel(int col) {
    selectTo(rowSel(), col);
}

void FlexGrid::selectTo(int rowSel, int colSel) {
    rowSel = std::clamp(rowSel, 1, model_.rowCount());
    colSel = std::clamp(colSel, 1, FieldTableModel::kCellColumns);
    QItemSelection sel(model_.index(row() - 1, col() - 1), model_.index(rowSel - 1, colSel - 1));
    selectionModel()->select(sel, QItemSelectionModel::ClearAndSelect);
}

CellSelection FlexGrid::selection() const {
    return CellSelection{row(), col(), rowSel(), colSel()};
}

bool FlexGrid::singleCellSelected() const {
    return rowSel() == row() && colSel() == col();
}

std::string FlexGrid::text() const {
    return model_.cell(row(), col());
}

void FlexGrid::setText(const std::string& text) {
    if (fillStyle_ == FillStyle::Single) {
        model_.setCell(row(), col(), text);
        return;
    }
    CellSelection s = selection();
    for (int r = s.top(); r <= s.bottom(); ++r)
        for (int c = s.left(); c <= s.right(); ++c)
            model_.setCell(r, c, text);
}

std::string FlexGrid::textAt(int row, int col) const {
    if (row == 0)
        return col == 0 ? std::string() : model_.title(col);
    return col == 0 ? model_.rowLabel(row) : model_.cell(row, col);
}

void FlexGrid::setTextAt(int row, int col, const std::string& text) {
    if (row == 0 && col > 0)
        model_.setTitle(col, text);
    else if (row > 0 && col == 0)
        model_.setRowLabel(row, text);
    else if (row > 0)
        model_.setCell(row, col, text);
}

std::string FlexGrid::clip() const {
    return blockText(model_.format(), selection());
}

void FlexGrid::setClip(const std::string& text) {
    CellSelection s = selection();
    if (pasteBlockText(model_.format(), s, text))
        model_.cellsChanged(s.top(), s.left(), s.bottom(), s.right());
}

int FlexGrid::rowHeight(int row) const {
    if (row > 0 && isRowHidden(row - 1))
        return 1;
    return rowHeightTwips_;
}

void FlexGrid::setRowHeight(int row, int twips) {
    if (row == 0) {
        horizontalHeader()->setFixedHeight(px(twips));
        return;
    }
    setRowHidden(row - 1, twips <= 1);
}

void FlexGrid::setAllRowHeights(int twips) {
    rowHeightTwips_ = twips;
    verticalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setDefaultSectionSize(px(twips));
    horizontalHeader()->setFixedHeight(px(twips));
    for (int r = 0; r < model_.rowCount(); ++r)
        if (isRowHidden(r))
            setRowHidden(r, false);
}

int FlexGrid::colWidth(int col) const {
    return colWidths_.at(static_cast<std::size_t>(col));
}

void FlexGrid::setColWidth(int col, int twips) {
    colWidths_.at(static_cast<std::size_t>(col)) = twips;
    if (col == 0) {
        // The row numbers of the largest table must fit in full.
        const int margins = 2 * style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, this) + 4;
        const int widest = verticalHeader()->fontMetrics().horizontalAdvance(
                               QString::number(FormatDefinition::kMaxRowCount)) +
                           margins;
        verticalHeader()->setFixedWidth(std::max(px(twips), widest));
        return;
    }
    setColumnHidden(col - 1, twips <= 1);
    if (twips > 1)
        setColumnWidth(col - 1, px(twips));
}

Qt::Alignment FlexGrid::colAlignment(int col) const {
    return model_.columnAlignment(col);
}

void FlexGrid::setColAlignment(int col, Qt::Alignment alignment) {
    model_.setColumnAlignment(col, alignment);
}

void FlexGrid::setTitleAlignment(int col, Qt::Alignment alignment) {
    model_.setTitleAlignment(col, alignment);
}

bool FlexGrid::addItem(int index) {
    return model_.insertFieldRow(index);
}

void FlexGrid::removeItem(int index) {
    model_.removeFieldRow(index);
}

// Shift with an arrow moves the selection's far corner; the current cell
// stays where the selection began.
bool FlexGrid::extendSelection(QKeyEvent* event) {
    if (event->modifiers() != Qt::ShiftModifier &&
        event->modifiers() != (Qt::ShiftModifier | Qt::KeypadModifier))
        return false;
    int r = rowSel(), c = colSel();
    switch (event->key()) {
    case Qt::Key_Up:
        --r;
        break;
    case Qt::Key_Down:
        ++r;
        break;
    case Qt::Key_Left:
        --c;
        break;
    case Qt::Key_Right:
        ++c;
        break;
    default:
        return false;
    }
    selectTo(r, c);
    scrollTo(model_.index(rowSel() - 1, colSel() - 1));
    event->accept();
    return true;
}

void FlexGrid::keyPressEvent(QKeyEvent* event) {
    if (extendSelection(event))
        return;
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_F2:
        // Nothing goes into the cell: its text is edited in the edit line.
        event->accept();
        emit editRequested();
        return;
    case Qt::Key_Escape:
        // Escape on the grid does not close the editor.
        event->accept();
        return;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        QTableView::keyPressEvent(event);
        return;
    default:
        break;
    }
    const QString typed = event->text();
    const bool printable =
        !typed.isEmpty() && std::none_of(typed.begin(), typed.end(), [](QChar c) {
            return (c.unicode() < 0x20 && c != QChar(8)) || c.unicode() == 0x7f;
        });
    if (printable && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
        event->accept();
        emit keyPress(typed);
        return;
    }
    QTableView::keyPressEvent(event);
}

void FlexGrid::mousePressEvent(QMouseEvent* event) {
    const QModelIndex at = indexAt(event->position().toPoint());
    if (event->button() == Qt::LeftButton && (event->modifiers() & Qt::ShiftModifier) &&
        at.isValid()) {
        // Shift+click stretches the selection; the current cell stays.
        selectTo(at.row() + 1, at.column() + 1);
    } else if (event->button() != Qt::RightButton) {
        // The right button opens the context menu and leaves the selection.
        QTableView::mousePressEvent(event);
    }
    emit mouseDown(event->button(), event->globalPosition().toPoint());
}

void FlexGrid::mouseMoveEvent(QMouseEvent* event) {
    // Dragging stretches the selection from the cell where it began, which
    // stays the current cell; the view alone would follow the mouse.
    const QModelIndex anchor = currentIndex();
    QTableView::mouseMoveEvent(event);
    if ((event->buttons() & Qt::LeftButton) && anchor.isValid() && currentIndex() != anchor) {
        programMove_ = true;
        selectionModel()->setCurrentIndex(anchor, QItemSelectionModel::NoUpdate);
        programMove_ = false;
    }
}

void FlexGrid::mouseDoubleClickEvent(QMouseEvent* event) {
    QTableView::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton)
        emit dblClick();
}

void FlexGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    QTableView::currentChanged(current, previous);
    setAttribute(Qt::WA_InputMethodEnabled); // the view turns it off on read-only items
    if (!current.isValid() || current == previous)
        return;
    emit currentCellChanged();
    if (!programMove_)
        emit enterCell();
}

// A composition begun on the grid is shown in the composition target; the
// committed text then goes the way of typed keys.
void FlexGrid::inputMethodEvent(QInputMethodEvent* event) {
    event->accept();
    if (!composing_ && !event->preeditString().isEmpty() && compositionTarget_) {
        composing_ = true;
        emit compositionStarted();
    }
    if (composing_) {
        QInputMethodEvent shown(event->preeditString(), event->attributes());
        QApplication::sendEvent(compositionTarget_, &shown);
        composing_ = !event->preeditString().isEmpty();
    }
    if (!event->commitString().isEmpty())
        emit keyPress(event->commitString());
}

QVariant FlexGrid::inputMethodQuery(Qt::InputMethodQuery query) const {
    if (query == Qt::ImEnabled)
        return true;
    if (compositionTarget_ && (query == Qt::ImCursorRectangle || query == Qt::ImAnchorRectangle)) {
        const QRect caret = compositionTarget_->inputMethodQuery(query).toRect();
        const QPoint at = mapFromGlobal(compositionTarget_->mapToGlobal(caret.topLeft()));
        return QRect(at, caret.size());
    }
    return QTableView::inputMethodQuery(query);
}

} // namespace quisk
