#include "frm_format.h"

#include "common/platform/twip_geometry.h"
#include "editor/editor_texts.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QResizeEvent>
#include <QSignalBlocker>
#include <algorithm>

namespace quisk {

namespace t = editor_texts;

namespace {

constexpr int kWidth = 8000; // the window's size when created, and its minimum
constexpr int kHeight = 6000;
constexpr int kRowHeight = 388; // every grid row and the edit line
constexpr int kGridLeft = 125;
constexpr int kGridTop = 2600;
constexpr int kEditLineLeft = 120;
constexpr int kColWidths[FlexGrid::kCols] = {480, 1000, 1050, 700, 1500, 1500, 1500};
constexpr Qt::Alignment kLeft = Qt::AlignLeft | Qt::AlignVCenter;
constexpr Qt::Alignment kRight = Qt::AlignRight | Qt::AlignVCenter;

bool isNumberColumn(int col) {
    return col == 2 || col == 3;
}

bool isDigit(QChar c) {
    return c >= QChar('0') && c <= QChar('9');
}

QString qs(const char* text) {
    return QString::fromUtf8(text);
}

} // namespace

FrmFormat::FrmFormat(AppState& state, const Platform& platform, FormatPathBox& pathBox,
                     QWidget* parent)
    : QDialog(parent), state_(state), platform_(platform), pathBox_(pathBox) {
    setModal(true);
    setWindowFlag(Qt::WindowMaximizeButtonHint, true);
    setWindowFlag(Qt::WindowMinimizeButtonHint, true);
    history_ = new FormatHistory(format_, *this, this);
    // The controls sit in the middle of an inner main window, whose side
    // may hold the preview pane.
    frame_ = new QMainWindow(this);
    frame_->setWindowFlags(Qt::Widget);
    body_ = new QWidget;
    frame_->setCentralWidget(body_);
    body_->installEventFilter(this);
    buildControls();
    buildMenus();
    Form_Load();
}

FrmFormat::~FrmFormat() {
    // The controls, the preview, the grid's model and the history read and
    // write format_: they go before it does.
    delete frame_;
    delete model_;
    delete history_;
}

int FrmFormat::px(int twips) const {
    return twipsToPixels(twips, platform_.screen.dpi());
}

void FrmFormat::place(QWidget* w, int left, int top, int width, int height) {
    w->setGeometry(px(left), px(top), px(width), px(height));
}

void FrmFormat::buildControls() {
    FrameSepa = new QGroupBox(qs(t::kFrameSepa), body_);
    place(FrameSepa, 120, 240, 2772, 1812);
    auto label = [](const char* text, QWidget* parent) { return new QLabel(qs(text), parent); };
    LblSepaTxt = label(t::kLblSepaTxt, FrameSepa);
    LblSepa = label(t::kLblSepa, FrameSepa);
    LblSepaChar = label(t::kLblSepaChar, FrameSepa);
    LblSepaNum = label(t::kLblSepaNum, FrameSepa);
    place(LblSepaTxt, 720, 360, 732, 372);
    place(LblSepa, 1560, 360, 1092, 372);
    place(LblSepaChar, 120, 720, 612, 372);
    place(LblSepaNum, 120, 1200, 612, 372);
    CmbTextChar = new SelectorCombo(FrameSepa);
    CmbSepaChar = new SelectorCombo(FrameSepa);
    CmbTextNum = new SelectorCombo(FrameSepa);
    CmbSepaNum = new SelectorCombo(FrameSepa);
    place(CmbTextChar, 840, 720, 612, 360);
    place(CmbSepaChar, 1680, 720, 972, 360);
    place(CmbTextNum, 840, 1200, 612, 360);
    place(CmbSepaNum, 1680, 1200, 972, 360);

    ChkFieldName = new QCheckBox(qs(t::kChkFieldName), body_);
    place(ChkFieldName, 3000, 0, 3012, 372);
    CmbFromFile = new SelectorCombo(body_);
    LblFromFile = label(t::kLblFromFile, body_);
    CmbToFile = new SelectorCombo(body_);
    LblToFile = label(t::kLblToFile, body_);
    place(CmbFromFile, 3000, 360, 1692, 360);
    place(LblFromFile, 4680, 480, 1452, 372);
    place(CmbToFile, 3000, 840, 1692, 360);
    place(LblToFile, 4680, 960, 1332, 372);
    // The output encoding and line end, in a column beside the output kind.
    LblToCode = label(t::kLblToCode, body_);
    CmbToCode = new SelectorCombo(body_);
    CmbToLineEnd = new SelectorCombo(body_);
    place(LblToCode, 5880, 480, 1992, 372);
    place(CmbToCode, 5880, 840, 1992, 360);
    place(CmbToLineEnd, 5880, 1320, 972, 360);
    CmdHeader = new QPushButton(qs(t::kCmdHeader), body_);
    CmdClose = new QPushButton(qs(t::kCmdClose), body_);
    place(CmdHeader, 3000, 1320, 1692, 372);
    place(CmdClose, 4800, 1320, 972, 372);
    // Enter typed in the edit line or a selector presses no button.
    for (QPushButton* button : {CmdHeader, CmdClose})
        button->setAutoDefault(false);
    connect(CmdHeader, &QPushButton::clicked, this, [this] { CmdHeader_Click(); });
    connect(CmdClose, &QPushButton::clicked, this, [this] { CmdClose_Click(); });

    // The row ranges are edited in their own dialog; these boxes hold them.
    JumpTxtFrom = new QLineEdit(body_);
    JumpTxtTo = new QLineEdit(body_);
    IgnoreTxtFrom = new QLineEdit(body_);
    IgnoreTxtTo = new QLineEdit(body_);
    for (QLineEdit* box : {JumpTxtFrom, JumpTxtTo, IgnoreTxtFrom, IgnoreTxtTo})
        box->hide();

    buildRecordBoxes();

    CellText = new QLineEdit(body_);
    CellText->installEventFilter(this);
    connect(CellText, &QLineEdit::textChanged, this, [this] { CellText_Change(); });
    // The user's own typing in the edit line changes the format even when
    // no key reached the grid first (a click into the edit line).
    connect(CellText, &QLineEdit::textEdited, this, [this] { markDirty(); });
    buildGrid();
    connectSettings();
}

// The record length beside the field-name box, and the record-type
// selection in the row under the buttons.
void FrmFormat::buildRecordBoxes() {
    auto label = [this](const char* text, int left, int top, int width) {
        auto* l = new QLabel(qs(text), body_);
        place(l, left, top, width, 330);
        return l;
    };
    auto box = [this](int left, int top, int width) {
        auto* b = new QLineEdit(body_);
        place(b, left, top, width, 330);
        return b;
    };
    LblRecordLength = label(t::kLblRecordLength, 6120, 20, 780);
    RecordLenTxt = box(6900, 20, 780);
    LblSelect = label(t::kLblSelect, 3000, 1740, 960);
    LblSelectStart = label(t::kLblSelectStart, 3960, 1740, 420);
    SelectTxtStart = box(4380, 1740, 600);
    LblSelectLength = label(t::kLblSelectLength, 5100, 1740, 420);
    SelectTxtLength = box(5520, 1740, 600);
    LblSelectText = label(t::kLblSelectText, 6240, 1740, 420);
    SelectTxtText = box(6660, 1740, 1020);
    for (QWidget* w : {static_cast<QWidget*>(LblRecordLength), static_cast<QWidget*>(RecordLenTxt)})
        w->setToolTip(qs(t::kRecordLengthTip));
    for (QWidget* w : {static_cast<QWidget*>(LblSelect), static_cast<QWidget*>(SelectTxtStart),
                       static_cast<QWidget*>(SelectTxtLength), static_cast<QWidget*>(SelectTxtText)})
        w->setToolTip(qs(t::kSelectTip));
}

void FrmFormat::buildGrid() {
    model_ = new FieldTableModel(format_, this);
    Grid1 = new FlexGrid(*model_, platform_.screen.dpi(), body_);
    connect(Grid1, &FlexGrid::keyPress, this, [this](const QString& s) { Grid1_KeyPress(s); });
    connect(Grid1, &FlexGrid::mouseDown, this,
            [this](Qt::MouseButton b, const QPoint& p) { Grid1_MouseDown(b, p); });
    connect(Grid1, &FlexGrid::dblClick, this, [this] { Grid1_DblClick(); });
    connect(Grid1, &FlexGrid::enterCell, this, [this] { Grid1_EnterCell(); });
    connect(Grid1, &FlexGrid::currentCellChanged, this, [this] {
        history_->closeTableEdit(); // typing into another cell is another step
        showCurrentCell();
    });
    connect(Grid1, &FlexGrid::editRequested, this, [this] { focusEditLine(); });
    Grid1->setCompositionTarget(CellText);
    connect(Grid1, &FlexGrid::compositionStarted, this, [this] { startComposition(); });
}

void FrmFormat::Form_Load() {
    const Screen& screen = platform_.screen;
    resize(px(kWidth), px(kHeight));
    centreOnScreen(*this, screen, kWidth, kHeight);
    CellText->setGeometry(px(kEditLineLeft), px(kHeight - 3900), CellText->width(), px(kRowHeight));
    // A new table: 200 numbered rows under the title row.
    Grid1->setAllRowHeights(kRowHeight);
    model_->renumber();
    for (int c = 0; c < FlexGrid::kCols; ++c)
        Grid1->setColWidth(c, kColWidths[c]);
    writeTitlesAndAlignments();
    Grid1->setRow(1);
    Grid1->setCol(1);
    Grid1->setFocus(); // typing starts on the grid
    startFilePart();
}

void FrmFormat::writeTitlesAndAlignments() {
    for (int c = 1; c < FlexGrid::kCols; ++c) {
        Grid1->setTextAt(0, c, t::kTitles[c - 1]);
        Grid1->setTitleAlignment(c, kLeft);
        Grid1->setColAlignment(c, isNumberColumn(c) ? kRight : kLeft);
    }
}

void FrmFormat::disp_refresh(int /*cellFlag*/) {
    Grid1->setAllRowHeights(kRowHeight);
    for (int c = 0; c < FlexGrid::kCols; ++c)
        Grid1->setColWidth(c, kColWidths[c]);
    Grid1->setFillStyle(FlexGrid::FillStyle::Single);
    Grid1->setRows(format_.fieldRowCount() + 1);
    model_->renumber();
    writeTitlesAndAlignments();
    Grid1->setRow(1);
    Grid1->setCol(1);
}

void FrmFormat::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    const int minWidth = px(kWidth), minHeight = px(kHeight);
    if (!isMinimized() && (width() < minWidth || height() < minHeight)) {
        resize(minWidth, minHeight);
        return;
    }
    const int barHeight = menuBar->sizeHint().height();
    menuBar->setGeometry(0, 0, width(), barHeight);
    frame_->setGeometry(0, barHeight, width(), height() - barHeight);
    layoutBody();
}

// The grid and the edit line fill the controls' area, which is the whole
// window below the menu bar unless the preview pane takes a side of it.
void FrmFormat::layoutBody() {
    // The figures measure the outer window, borders included; this window's
    // size is its inside, so the grid keeps its left margin on the right.
    const int gridWidth = body_->width() - 2 * px(kGridLeft);
    const int height = body_->height() + menuBar->sizeHint().height();
    Grid1->setGeometry(px(kGridLeft), px(kGridTop), gridWidth, height - px(3600));
    CellText->resize(gridWidth, CellText->height());
}

void FrmFormat::loadEditLine(const std::string& text) {
    CellText->setText(QString::fromStdString(text));
}

// The edit line always holds the current cell's text, so whatever is typed
// there lands in the cell the user sees as current. Loading it writes
// nothing back; its tooltip and empty-line hint name the cell.
void FrmFormat::showCurrentCell() {
    {
        const QSignalBlocker quiet(CellText);
        loadEditLine(Grid1->text());
    }
    const QString name = QString::fromStdString(t::cellName(Grid1->row(), Grid1->col()));
    CellText->setToolTip(name);
    CellText->setPlaceholderText(name);
}

// A composition begun on the grid continues in the edit line, after the
// cell's text, as the first typed key would.
void FrmFormat::startComposition() {
    showCurrentCell();
    CellText->setCursorPosition(static_cast<int>(CellText->text().size()));
}

bool FrmFormat::eventFilter(QObject* watched, QEvent* event) {
    if (watched == body_ && event->type() == QEvent::Resize)
        layoutBody();
    if (event->type() != QEvent::ShortcutOverride && event->type() != QEvent::KeyPress)
        return QDialog::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event); // both kinds are key events
    if (event->type() == QEvent::ShortcutOverride && watched == CellText &&
        (key->matches(QKeySequence::Undo) || key->matches(QKeySequence::Redo) ||
         key->keyCombination() == QKeyCombination(Qt::ControlModifier, Qt::Key_Y) ||
         key->keyCombination() ==
             QKeyCombination(Qt::ControlModifier | Qt::ShiftModifier, Qt::Key_Z))) {
        // The editor's undo, one step per cell, not the line's own.
        event->ignore();
        return true;
    }
    if (event->type() == QEvent::KeyPress && key->key() == Qt::Key_Escape &&
        key->modifiers() == Qt::NoModifier) {
        // Escape leaves the edit line or a selector for the grid; it does
        // not start closing the window.
        Grid1->setFocus();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

bool FrmFormat::wouldChangeCells(const std::string& text) const {
    return Grid1->fillStyle() == FlexGrid::FillStyle::Repeat || Grid1->text() != text;
}

void FrmFormat::focusEditLine() {
    CellText->setFocus();
    CellText->setCursorPosition(static_cast<int>(CellText->text().size()));
}

void FrmFormat::Grid1_KeyPress(const QString& typed) {
    markDirty();
    Grid1->setFillStyle(FlexGrid::FillStyle::Single);
    const bool backspace = typed == QString(QChar(8));
    if (!backspace) {
        if (isNumberColumn(Grid1->col()) && !std::all_of(typed.begin(), typed.end(), isDigit)) {
            if (!Grid1->text().empty())
                loadEditLine(Grid1->text());
            platform_.messages.show(
                Message{t::kDigitsOnly, t::kInputErrorTitle, Icon::Stop, Buttons::Ok});
            return;
        }
        history_->openTableEdit();
        Grid1->setText(Grid1->text() + typed.toStdString());
    }
    loadEditLine(Grid1->text());
    focusEditLine();
}

void FrmFormat::CellText_Change() {
    const QString typed = CellText->text();
    if (!isNumberColumn(Grid1->col())) {
        if (wouldChangeCells(typed.toStdString()))
            history_->openTableEdit();
        Grid1->setText(typed.toStdString());
        return;
    }
    QString digits;
    std::copy_if(typed.begin(), typed.end(), std::back_inserter(digits), isDigit);
    if (digits != typed)
        platform_.messages.show(
            Message{t::kDigitsOnly, t::kInputErrorTitle, Icon::Stop, Buttons::Ok});
    if (wouldChangeCells(digits.toStdString()))
        history_->openTableEdit();
    Grid1->setText(digits.toStdString());
    if (digits != typed)
        CellText->setText(digits);
}

void FrmFormat::Grid1_MouseDown(Qt::MouseButton button, const QPoint& globalPos) {
    if (button == Qt::RightButton) {
        mnuPopup->popup(globalPos);
        return;
    }
    // The edit line already shows the cell; a click also runs the cell's
    // text through the edit line's rule (a start position holding a space
    // loses it, with the message).
    if (Grid1->singleCellSelected()) {
        loadEditLine(Grid1->text());
        CellText_Change();
    }
}

void FrmFormat::Grid1_DblClick() {
    focusEditLine();
}

void FrmFormat::Grid1_EnterCell() {
    markDirty();
}

} // namespace quisk
