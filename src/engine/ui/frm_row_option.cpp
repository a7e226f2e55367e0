#include "engine/ui/frm_row_option.h"

#include "common/platform/twip_geometry.h"
#include "engine/engine_texts.h"
#include "format/format_definition.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace quisk {

namespace {

constexpr int kClientWidth = 6000;
constexpr int kClientHeight = 2832;
constexpr int kControlHeight = 372;
constexpr const char* kZero = "0";

// The editor's four values in box order.
std::array<std::string*, 4> valuesOf(RowRanges& ranges) {
    return {&ranges.excludeFrom, &ranges.excludeTo, &ranges.writeAsIsFrom, &ranges.writeAsIsTo};
}

QString onlyDigits(const QString& text) {
    QString digits;
    for (QChar c : text) {
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
            digits += c;
    }
    return digits;
}

long long numberOf(const QLineEdit* box) {
    return decimalValue(box->text().toStdString());
}

} // namespace

FrmRowOption::FrmRowOption(const RowRanges& editorValues, Platform& platform, QWidget* parent)
    : QDialog(parent), platform_(platform), editorValues_(editorValues) {
    setWindowTitle(QString::fromUtf8(engine_texts::kRowOptionCaption));
    buildControls();
    Form_Load();
}

RowRanges FrmRowOption::edit(const RowRanges& editorValues, Platform& platform, QWidget* parent) {
    FrmRowOption dialog(editorValues, platform, parent);
    dialog.exec();
    return dialog.editorValues();
}

void FrmRowOption::buildControls() {
    const int tops[] = {240, 240, 960, 960};
    const int lefts[] = {120, 1920, 120, 1920};
    for (std::size_t i = 0; i < boxes_.size(); ++i) {
        boxes_[i] = new QLineEdit(this);
        boxes_[i]->setGeometry(twips(lefts[i], tops[i], 612, kControlHeight));
    }
    auto label = [this](const char* text, int left, int top, int width) {
        auto* l = new QLabel(QString::fromUtf8(text), this);
        l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        l->setGeometry(twips(left, top, width, kControlHeight));
    };
    label(engine_texts::kRowFrom, 840, 360, 1000);
    label(engine_texts::kRowExcluded, 2640, 360, 3240);
    label(engine_texts::kRowFrom, 840, 1080, 1000);
    label(engine_texts::kRowWrittenAsIs, 2640, 1080, 3240);
    label(engine_texts::kRowOverlapNote, 360, 2280, 5520);

    cmdClear_ = new QPushButton(QString::fromUtf8(engine_texts::kRowClearAll), this);
    cmdOK_ = new QPushButton(QString::fromUtf8(engine_texts::kRowOk), this);
    cmdCancel_ = new QPushButton(QString::fromUtf8(engine_texts::kRowCancel), this);
    cmdClear_->setGeometry(twips(360, 1680, 2172, kControlHeight));
    cmdOK_->setGeometry(twips(3360, 1680, 1092, kControlHeight));
    cmdCancel_->setGeometry(twips(4560, 1680, 1092, kControlHeight));
    // Enter confirms; it must never reach the clear button.
    cmdOK_->setDefault(true);

    QWidget* order[] = {boxes_[0], boxes_[1], boxes_[2], boxes_[3], cmdClear_, cmdOK_, cmdCancel_};
    for (std::size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);

    setFixedSize(twips(0, 0, kClientWidth, kClientHeight).size());
    connect(cmdOK_, &QPushButton::clicked, this, [this] { CmdOK_Click(); });
    connect(cmdCancel_, &QPushButton::clicked, this, [this] { CmdCancel_Click(); });
    connect(cmdClear_, &QPushButton::clicked, this, [this] { CmdClear_Click(); });
}

// Centres the dialog and fills its boxes from the editor's, unchanged; the
// digit filter then removes anything else they held.
void FrmRowOption::Form_Load() {
    centreOnScreen(*this, platform_.screen, kClientWidth, kClientHeight);
    for (QLineEdit* box : boxes_)
        connect(box, &QLineEdit::textChanged, this, [this, box] { digitFilter(box); });
    const auto values = valuesOf(editorValues_);
    for (std::size_t i = 0; i < boxes_.size(); ++i)
        boxes_[i]->setText(QString::fromStdString(*values[i]));
}

// Keeps only the ASCII digits of a box, telling the user when anything else
// was typed or pasted.
void FrmRowOption::digitFilter(QLineEdit* box) {
    const QString digits = onlyDigits(box->text());
    if (digits.size() >= box->text().size())
        return;
    platform_.messages.show(
        {engine_texts::kDigitsOnly, engine_texts::kInputErrorTitle, Icon::Stop, Buttons::Ok});
    box->setText(digits);
    box->setCursorPosition(static_cast<int>(digits.size()));
}

int FrmRowOption::Value_Check() {
    int result = 0;
    if (rangeWrong(boxes_[0], boxes_[1], engine_texts::kExcludedRangeWrong))
        result = 1;
    if (rangeWrong(boxes_[2], boxes_[3], engine_texts::kWrittenAsIsRangeWrong))
        result = 1;
    return result;
}

bool FrmRowOption::rangeWrong(QLineEdit* from, QLineEdit* to, const char* message) {
    if (numberOf(to) >= numberOf(from))
        return false;
    platform_.messages.show({message, engine_texts::kInputErrorTitle, Icon::Stop, Buttons::Ok});
    return true;
}

void FrmRowOption::CmdOK_Click() {
    if (Value_Check() == 1)
        return;
    const auto values = valuesOf(editorValues_);
    for (std::size_t i = 0; i < boxes_.size(); ++i) {
        const QString text = boxes_[i]->text();
        *values[i] = text.isEmpty() ? kZero : text.toStdString();
    }
    accept();
}

void FrmRowOption::CmdCancel_Click() {
    reject();
}

void FrmRowOption::reject() {
    const auto values = valuesOf(editorValues_);
    for (std::size_t i = 0; i < boxes_.size(); ++i) {
        if (boxes_[i]->text().isEmpty())
            *values[i] = std::string(kZero);
    }
    QDialog::reject();
}

void FrmRowOption::CmdClear_Click() {
    for (QLineEdit* box : boxes_)
        box->setText(kZero);
}

QRect FrmRowOption::twips(int left, int top, int width, int height) const {
    return twipRect(left, top, width, height, platform_.screen.dpi());
}

} // namespace quisk
