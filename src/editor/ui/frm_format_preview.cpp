// The preview pane of the format editor: showing and hiding it, bringing it
// up to date on every change, and the layout edits made on its byte ruler.
#include "editor/editor_texts.h"
#include "editor/layout_edit.h"
#include "editor/ui/preview_pane.h"
#include "frm_format.h"

#include <QAction>
#include <QCheckBox>
#include <QDockWidget>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <algorithm>

namespace quisk {

namespace {
constexpr int kPreviewWidth = 11000; // twips: room for about eighty bytes
} // namespace

void FrmFormat::buildPreview() {
    previewDock = new QDockWidget(QString::fromUtf8(editor_texts::kPreviewTitle), frame_);
    previewDock->setObjectName("previewDock");
    previewDock->setAllowedAreas(Qt::RightDockWidgetArea | Qt::BottomDockWidgetArea);
    previewPane = new PreviewPane(format_, platform_.dialogs, previewDock);
    previewDock->setWidget(previewPane);
    frame_->addDockWidget(Qt::RightDockWidgetArea, previewDock);
    previewDock->hide();
    previewWidth_ = px(kPreviewWidth);
    // Closed by its own close button: the menu item follows, and the window
    // gives back the room it had taken.
    connect(previewDock, &QDockWidget::visibilityChanged, this, [this] {
        if (previewDock->isHidden() && mnuPreview->isChecked())
            showPreview(false);
    });
    connect(previewPane, &PreviewPane::splitRequested, this,
            [this](std::size_t b) { splitFieldAt(b); });
    connect(previewPane, &PreviewPane::moveRequested, this,
            [this](std::size_t from, std::size_t to) { moveFieldBoundary(from, to); });
    connect(previewPane, &PreviewPane::acceptAllRequested, this,
            [this](const std::vector<std::size_t>& all) { acceptBoundaries(all); });
    connect(previewPane, &PreviewPane::rowRequested, this,
            [this](int row) { selectFieldRow(row); });
    refreshPreviewOnChanges();
    previewPane->setSamplePath(state_.jobSourcePath);
}

// Every change of the table, a setting or the history brings the pane up to
// date once the change is done; several in a row cost one update.
void FrmFormat::refreshPreviewOnChanges() {
    const auto refresh = [this] { previewPane->scheduleRefresh(); };
    connect(model_, &QAbstractItemModel::dataChanged, previewPane, refresh);
    connect(model_, &QAbstractItemModel::modelReset, previewPane, refresh);
    connect(model_, &QAbstractItemModel::rowsInserted, previewPane, refresh);
    connect(model_, &QAbstractItemModel::rowsRemoved, previewPane, refresh);
    connect(history_, &FormatHistory::stateChanged, previewPane, refresh);
    for (SelectorCombo* box : {CmbTextChar, CmbSepaChar, CmbTextNum, CmbSepaNum, CmbFromFile,
                               CmbToFile, CmbToCode, CmbToLineEnd})
        connect(box, &QComboBox::editTextChanged, previewPane, refresh);
    connect(ChkFieldName, &QCheckBox::toggled, previewPane, refresh);
    for (QLineEdit* box : {JumpTxtFrom, JumpTxtTo, IgnoreTxtFrom, IgnoreTxtTo, RecordLenTxt,
                           SelectTxtStart, SelectTxtLength, SelectTxtText})
        connect(box, &QLineEdit::textChanged, previewPane, refresh);
}

void FrmFormat::mnuPreview_Click() {
    showPreview(!previewDock || previewDock->isHidden());
}

// Opening the pane widens the window by the pane, so the grid and the
// settings keep their places and sizes; closing it gives the room back.
void FrmFormat::showPreview(bool on) {
    if (!previewDock)
        buildPreview();
    mnuPreview->setChecked(on);
    if (on == !previewDock->isHidden())
        return;
    const bool beside = !previewDock->isFloating() &&
                        frame_->dockWidgetArea(previewDock) == Qt::RightDockWidgetArea;
    if (on) {
        previewDock->show();
        if (beside) {
            resize(width() + previewWidth_, height());
            frame_->resizeDocks({previewDock}, {previewWidth_}, Qt::Horizontal);
            keepOnScreen();
        }
        previewPane->refresh();
    } else {
        if (beside)
            previewWidth_ = previewDock->width();
        previewDock->hide();
        if (beside)
            resize(width() - previewWidth_, height());
    }
}

// A window widened past the screen's right edge moves left as far as needed.
void FrmFormat::keepOnScreen() {
    const int screenWidth = px(platform_.screen.widthTwips());
    const int overhang = frameGeometry().right() + 1 - screenWidth;
    if (overhang > 0)
        move(std::max(0, x() - overhang), y());
}

void FrmFormat::mnuSuggest_Click() {
    showPreview(true);
    previewPane->suggest();
}

// A layout edit runs as one step of the history, as a typed edit does; the
// grid is told what changed and the field's row becomes current.
template <typename Edit> void FrmFormat::editLayout(Edit edit) {
    const int rowsBefore = format_.fieldRowCount();
    int row = 0;
    history_->recordTable([&] { row = edit(); });
    if (row == 0)
        return;
    if (format_.fieldRowCount() != rowsBefore) {
        model_->reload();
        disp_refresh(1);
    } else {
        model_->cellsChanged(1, 1, format_.fieldRowCount(), FieldTableModel::kCellColumns);
    }
    markDirty();
    selectFieldRow(row);
}

void FrmFormat::splitFieldAt(std::size_t boundary) {
    const std::size_t lineBytes = previewPane ? previewPane->longestLine() : 0;
    editLayout([&] { return splitAt(format_, boundary, lineBytes); });
}

void FrmFormat::moveFieldBoundary(std::size_t from, std::size_t to) {
    editLayout([&] { return moveBoundary(format_, from, to); });
}

// All suggestions at once are one step, taken back by one undo.
void FrmFormat::acceptBoundaries(const std::vector<std::size_t>& boundaries) {
    const std::size_t lineBytes = previewPane ? previewPane->longestLine() : 0;
    editLayout([&] {
        int row = 0;
        for (std::size_t b : boundaries)
            if (int made = splitAt(format_, b, lineBytes))
                row = row ? row : made;
        return row;
    });
}

void FrmFormat::selectFieldRow(int row) {
    if (row < 1 || row > format_.fieldRowCount())
        return;
    Grid1->setRow(row);
    Grid1->setCol(1);
    showCurrentCell();
    Grid1->setFocus(); // typing goes on in the grid: a new field's name, say
}

} // namespace quisk
