#include "editor/ui/frm_change.h"

#include "common/platform/twip_geometry.h"
#include "editor/editor_texts.h"
#include "editor/type_change.h"

#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>

namespace quisk {

namespace {

constexpr int kClientWidth = 2310;
constexpr int kClientHeight = 1692;
// Room the window frame's title bar needs beside the caption: the icon, the
// buttons and the frame's padding.
constexpr int kTitleBarExtraPixels = 120;

} // namespace

FrmChange::FrmChange(AppState& state, Platform& platform, QWidget* parent)
    : QDialog(parent), state_(state), platform_(platform) {
    setWindowTitle(QString::fromUtf8(editor_texts::kChangeCaption));
    buildControls();
    Form_Load();
}

void FrmChange::ask(AppState& state, Platform& platform, QWidget* parent) {
    FrmChange dialog(state, platform, parent);
    dialog.exec();
}

void FrmChange::buildControls() {
    txtString_ = new QLineEdit(this);
    txtString_->setGeometry(twips(120, 120, 1092, 396));
    // Each label stands beside its box, as high as the box and centred on
    // it, so the two read as one line whatever the font's height.
    auto* label1 = new QLabel(QString::fromUtf8(editor_texts::kChangeFrom), this);
    label1->setGeometry(twips(1320, 120, 492, 396));
    txtCharNum_ = new QLineEdit(this);
    txtCharNum_->setGeometry(twips(120, 600, 1092, 396));
    auto* label2 = new QLabel(QString::fromUtf8(editor_texts::kChangeTo), this);
    label2->setGeometry(twips(1320, 600, 852, 396));
    for (QLabel* label : {label1, label2})
        label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    cmdOK_ = new QPushButton(QString::fromUtf8(editor_texts::kChangeOk), this);
    cmdOK_->setGeometry(twips(120, 1200, 972, 372));
    cmdCancel_ = new QPushButton(QString::fromUtf8(editor_texts::kChangeCancel), this);
    cmdCancel_->setGeometry(twips(1200, 1200, 972, 372));

    // The target is shown for reading only, on the background of the
    // window rather than of an input box.
    txtCharNum_->setReadOnly(true);
    txtCharNum_->setFocusPolicy(Qt::NoFocus);
    QPalette shown = txtCharNum_->palette();
    shown.setColor(QPalette::Base, palette().color(QPalette::Window));
    txtCharNum_->setPalette(shown);

    cmdOK_->setDefault(true);
    setTabOrder(txtString_, cmdOK_);
    setTabOrder(cmdOK_, cmdCancel_);
    setFixedSize(std::max(twips(0, 0, kClientWidth, 0).width(), captionWidth()),
                 twips(0, 0, 0, kClientHeight).height());
    connect(cmdOK_, &QPushButton::clicked, this, [this] { CmdOK_Click(); });
    connect(cmdCancel_, &QPushButton::clicked, this, [this] { CmdCancel_Click(); });
}

// The caption is longer than the dialog is wide: the dialog widens so that
// the title bar shows it in full.
// Window frames commonly draw captions in bold and a little larger than
// the dialog's own text.
int FrmChange::captionWidth() const {
    QFont caption = font();
    caption.setBold(true);
    caption.setPointSizeF(caption.pointSizeF() * 1.25);
    return QFontMetrics(caption).horizontalAdvance(windowTitle()) + kTitleBarExtraPixels;
}

void FrmChange::Form_Load() {
    const double dpi = platform_.screen.dpi();
    centreOnScreen(*this, platform_.screen, pixelsToTwips(width(), dpi), kClientHeight);
    txtString_->setText(QString::fromStdString(state_.typeChangeAnswer));
    txtCharNum_->setText(QString::fromStdString(state_.typeChangeTarget));
}

void FrmChange::CmdOK_Click() {
    state_.typeChangeAnswer = txtString_->text().toStdString();
    accept();
}

void FrmChange::CmdCancel_Click() {
    reject();
}

void FrmChange::reject() {
    state_.typeChangeAnswer = editor_texts::kCancelAnswer;
    QDialog::reject();
}

QRect FrmChange::twips(int left, int top, int width, int height) const {
    return twipRect(left, top, width, height, platform_.screen.dpi());
}

bool replaceTypeWithDialog(FormatDefinition& format, const std::string& type, AppState& state,
                           Platform& platform, QWidget* parent) {
    state.typeChangeTarget = type;
    state.typeChangeAnswer.clear();
    FrmChange::ask(state, platform, parent);
    return replaceType(format, state.typeChangeAnswer, type);
}

} // namespace quisk
