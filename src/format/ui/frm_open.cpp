#include "frm_open.h"

#include "common/platform/twip_geometry.h"
#include "format/format_texts.h"

#include <QPushButton>
#include <QRadioButton>

namespace quisk {

namespace t = format_texts;

namespace {
constexpr int kWidth = 3600;
constexpr int kHeight = 2280;
} // namespace

FrmOpen::FrmOpen(AppState& state, const Screen& screen, QWidget* parent)
    : QDialog(parent), state_(state) {
    const double dpi = screen.dpi();
    auto place = [dpi](QWidget* w, int left, int top, int width, int height) {
        w->setGeometry(twipRect(left, top, width, height, dpi));
    };
    setWindowTitle(QString::fromUtf8(t::kChooserCaption));
    setModal(true);
    setFixedSize(twipSize(kWidth, kHeight, dpi));
    centreOnScreen(*this, screen, kWidth, kHeight);

    OptCurrent = new QRadioButton(QString::fromUtf8(t::kChooseCurrent), this);
    OptExisting = new QRadioButton(QString::fromUtf8(t::kChooseExisting), this);
    OptNew = new QRadioButton(QString::fromUtf8(t::kChooseNew), this);
    CmdOK = new QPushButton(QString::fromUtf8(t::kChooserOk), this);
    CmdCancel = new QPushButton(QString::fromUtf8(t::kChooserCancel), this);
    place(OptCurrent, 240, 120, 3120, 360);
    place(OptExisting, 240, 540, 3120, 360);
    place(OptNew, 240, 960, 3120, 360);
    place(CmdOK, 600, 1560, 1080, 420);
    place(CmdCancel, 1920, 1560, 1080, 420);
    // The job's own format is the usual choice.
    OptCurrent->setChecked(true);
    CmdOK->setDefault(true);

    connect(CmdOK, &QPushButton::clicked, this, [this] { CmdOK_Click(); });
    connect(CmdCancel, &QPushButton::clicked, this, [this] { CmdCancel_Click(); });
}

void FrmOpen::CmdOK_Click() {
    if (OptCurrent->isChecked())
        state_.formatPath = state_.jobFormatPath;
    else if (OptExisting->isChecked())
        state_.formatPath.clear();
    else
        state_.formatPath = t::kUntitledFormat;
    accept();
}

void FrmOpen::CmdCancel_Click() {
    reject();
}

void FrmOpen::reject() {
    state_.formatPath = t::kCancelledChoice;
    QDialog::reject();
}

} // namespace quisk
