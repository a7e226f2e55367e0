#include "format/ui/frm_header.h"

#include "common/platform/twip_geometry.h"
#include "format/format_texts.h"

#include <QLabel>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace quisk {

namespace {

// The editor holds line breaks as carriage return + line feed; the boxes
// hold them as line feeds.
QString toBoxText(const std::string& text) {
    QString s = QString::fromStdString(text);
    s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return s;
}

std::string fromBoxText(const QString& text) {
    QString s = text;
    s.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
    return s.toStdString();
}

} // namespace

FrmHeader::FrmHeader(const HeaderFooter& texts, Platform& platform, QWidget* parent)
    : QDialog(parent), platform_(platform), original_(texts) {
    setWindowTitle(QString::fromUtf8(format_texts::kHeaderCaption));
    buildControls();
    buildMenu();
    Form_Load(texts);
}

std::optional<HeaderFooter> FrmHeader::edit(const HeaderFooter& texts, Platform& platform,
                                            QWidget* parent) {
    FrmHeader dialog(texts, platform, parent);
    dialog.exec();
    return dialog.result();
}

void FrmHeader::buildControls() {
    client_ = new QWidget(this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(client_);

    cmdOK_ = new QPushButton(QString::fromUtf8(format_texts::kHeaderOk), client_);
    cmdCancel_ = new QPushButton(QString::fromUtf8(format_texts::kHeaderCancel), client_);
    lblHeader_ = new QLabel(QString::fromUtf8(format_texts::kHeaderLabel), client_);
    headerInputText_ = new QPlainTextEdit(client_);
    lblFooter_ = new QLabel(QString::fromUtf8(format_texts::kFooterLabel), client_);
    footerInputText_ = new QPlainTextEdit(client_);

    cmdOK_->setGeometry(twips(120, 120, 732, 372));
    cmdCancel_->setGeometry(twips(960, 120, 972, 372));
    lblHeader_->setGeometry(twips(120, 600, 972, 372));
    lblFooter_->setGeometry(twips(120, 2160, 972, 372));
    for (QLabel* label : {lblHeader_, lblFooter_})
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    for (QPlainTextEdit* box : {headerInputText_, footerInputText_}) {
        box->setLineWrapMode(QPlainTextEdit::NoWrap);
        box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        box->setTabChangesFocus(true);
    }
    cmdOK_->setDefault(true);
    setTabOrder(cmdOK_, cmdCancel_);
    setTabOrder(cmdCancel_, headerInputText_);
    setTabOrder(headerInputText_, footerInputText_);

    connect(cmdOK_, &QPushButton::clicked, this, [this] { CmdOK_Click(); });
    connect(cmdCancel_, &QPushButton::clicked, this, [this] { CmdCancel_Click(); });
}

void FrmHeader::buildMenu() {
    auto* bar = new QMenuBar(this);
    layout()->setMenuBar(bar);
    QMenu* mnuClear = bar->addMenu(QString::fromUtf8(format_texts::kClearMenu));
    mnuAllClear_ = mnuClear->addAction(QString::fromUtf8(format_texts::kClearBoth));
    mnuHeaderClear_ = mnuClear->addAction(QString::fromUtf8(format_texts::kClearHeader));
    mnuFooterClear_ = mnuClear->addAction(QString::fromUtf8(format_texts::kClearFooter));
    connect(mnuAllClear_, &QAction::triggered, this, [this] { mnuAllClear_Click(); });
    connect(mnuHeaderClear_, &QAction::triggered, this, [this] { mnuHeaderClear_Click(); });
    connect(mnuFooterClear_, &QAction::triggered, this, [this] { mnuFooterClear_Click(); });
}

void FrmHeader::Form_Load(const HeaderFooter& texts) {
    headerInputText_->setPlainText(toBoxText(texts.header));
    footerInputText_->setPlainText(toBoxText(texts.footer));
    connect(headerInputText_, &QPlainTextEdit::textChanged, this, [this] { headerEdited_ = true; });
    connect(footerInputText_, &QPlainTextEdit::textChanged, this, [this] { footerEdited_ = true; });

    resizeTwips(kOpenWidth, kMinHeight);
    centreOnScreen(*this, platform_.screen, widthTwips(), heightTwips());
    Form_Resize();
}

void FrmHeader::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    Form_Resize();
}

// Lays out the two boxes for the dialog's size; a dialog made narrower than
// 3000 or lower than 4650 twips is set back to 3000 x 4650.
void FrmHeader::Form_Resize() {
    if (resizing_)
        return;
    int width = widthTwips();
    int height = heightTwips();
    if (height < kMinHeight || width < kMinWidth) {
        resizing_ = true;
        resizeTwips(kMinWidth, kMinHeight);
        resizing_ = false;
        width = kMinWidth;
        height = kMinHeight;
    }
    const int half = height / 2;
    headerInputText_->setGeometry(twips(125, 900, width - 400, half - 900));
    footerInputText_->setGeometry(twips(125, half + 400, width - 400, half - 1200));
    lblHeader_->move(lblHeader_->x(), toPixels(570));
    lblFooter_->move(lblFooter_->x(), toPixels(half + 30));
}

void FrmHeader::CmdOK_Click() {
    result_ = HeaderFooter{boxText(headerInputText_, headerEdited_, original_.header),
                           boxText(footerInputText_, footerEdited_, original_.footer)};
    accept();
}

void FrmHeader::CmdCancel_Click() {
    reject();
}

void FrmHeader::mnuAllClear_Click() {
    mnuHeaderClear_Click();
    mnuFooterClear_Click();
}

void FrmHeader::mnuHeaderClear_Click() {
    headerInputText_->clear();
}

void FrmHeader::mnuFooterClear_Click() {
    footerInputText_->clear();
}

// A box the user left alone gives back the editor's text exactly as it came,
// whatever line breaks it held.
std::string FrmHeader::boxText(const QPlainTextEdit* box, bool edited,
                               const std::string& original) {
    if (!edited)
        return original;
    return fromBoxText(box->toPlainText());
}

int FrmHeader::widthTwips() const {
    return toTwips(frameGeometry().width());
}

int FrmHeader::heightTwips() const {
    return toTwips(frameGeometry().height());
}

void FrmHeader::resizeTwips(int width, int height) {
    const QSize frame = frameGeometry().size() - size();
    resize(toPixels(width) - frame.width(), toPixels(height) - frame.height());
}

QRect FrmHeader::twips(int left, int top, int width, int height) const {
    return twipRect(left, top, width, height, platform_.screen.dpi());
}

int FrmHeader::toPixels(int twips) const {
    return twipsToPixels(twips, platform_.screen.dpi());
}

int FrmHeader::toTwips(int pixels) const {
    return pixelsToTwips(pixels, platform_.screen.dpi());
}

} // namespace quisk
