#include "app/ui/frm_version.h"

#include "app/app_texts.h"
#include "app/ui/app_icon.h"
#include "common/platform/twip_geometry.h"

#include <QLabel>
#include <QPainter>
#include <QPushButton>

namespace quisk {
namespace {

namespace t = app_texts;

constexpr int kClientWidth = 5172;
constexpr int kClientHeight = 2748;
constexpr int kSeparatorLeft = 120;
constexpr int kSeparatorRight = 4800;
constexpr int kSeparatorTop = 1320;

QFont buttonFont() {
    QFont font;
    font.setFamilies({QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("MS PGothic"),
                      QStringLiteral("IPAPGothic")});
    font.setPointSize(9);
    return font;
}

} // namespace

FrmVersion::FrmVersion(const Screen& screen, QWidget* parent)
    : QDialog(parent), dpi_(screen.dpi()) {
    setObjectName(QStringLiteral("FrmVersion"));
    setWindowTitle(QString::fromUtf8(t::kVersionTitle));
    setFixedSize(twipSize(kClientWidth, kClientHeight, dpi_));

    picIcon_ = new QLabel(this);
    picIcon_->setObjectName(QStringLiteral("picIcon"));
    picIcon_->setGeometry(twipRect(240, 240, 432, 432, dpi_));
    picIcon_->setPixmap(quiskIconPixmap(picIcon_->width()));

    lblTitle_ = new QLabel(QString::fromUtf8(t::kVersionLabel), this);
    lblTitle_->setObjectName(QStringLiteral("lblTitle"));
    lblTitle_->setGeometry(twipRect(840, 240, 3888, 480, dpi_));
    QPalette black = lblTitle_->palette();
    black.setColor(QPalette::WindowText, Qt::black);
    lblTitle_->setPalette(black);
    QFont titleFont = lblTitle_->font();
    titleFont.setPointSize(12);
    lblTitle_->setFont(titleFont);

    cmdOK_ = new QPushButton(QString::fromUtf8(t::kOkCaption), this);
    cmdOK_->setObjectName(QStringLiteral("cmdOK"));
    cmdOK_->setGeometry(twipRect(4080, 2040, 792, 345, dpi_));
    cmdOK_->setFont(buttonFont());
    cmdOK_->setDefault(true);
    cmdOK_->setFocus();
    connect(cmdOK_, &QPushButton::clicked, this, &FrmVersion::cmdOK_Click);

    Form_Load(screen);
}

void FrmVersion::Form_Load(const Screen& screen) {
    centreOnScreen(*this, screen, kClientWidth, kClientHeight);
}

void FrmVersion::cmdOK_Click() {
    accept();
}

// The etched separator: a grey line with a white one just below it.
void FrmVersion::paintEvent(QPaintEvent* event) {
    QDialog::paintEvent(event);
    QPainter p(this);
    int left = twipsToPixels(kSeparatorLeft, dpi_);
    int right = twipsToPixels(kSeparatorRight, dpi_);
    int y = twipsToPixels(kSeparatorTop, dpi_);
    p.setPen(palette().color(QPalette::Dark));
    p.drawLine(left, y, right, y);
    p.setPen(Qt::white);
    p.drawLine(left, y + 1, right, y + 1);
}

} // namespace quisk
