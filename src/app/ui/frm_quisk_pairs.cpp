// The main window's table of further (format, destination) pairs. A job
// without pairs shows the window as it always was; the table and its
// buttons appear under the job's boxes once the job has a pair.
#include "app/app_texts.h"
#include "app/ui/frm_quisk.h"
#include "common/platform/twip_geometry.h"

#include <QHeaderView>
#include <QLabel>
#include <QLayout>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTableWidget>
#include <algorithm>

namespace quisk {
namespace {

namespace t = app_texts;

// The client area below the menu bar without pairs: the job frame with the
// same margin on the right and at the bottom as on the left. The table
// adds its height below it.
constexpr int kClientWidth = 6720;
constexpr int kClientHeight = 5520;
constexpr int kPairsTop = kClientHeight;
constexpr int kPairsHeight = 2040;

QString qs(const char* text) {
    return QString::fromUtf8(text);
}

} // namespace

void FrmQuisk::buildPairTable(QWidget* client) {
    const double dpi = platform_.screen.dpi();
    LblPairs_ = new QLabel(qs(t::kPairsLabel), client);
    LblPairs_->setGeometry(twipRect(240, kPairsTop, 5652, 372, dpi));
    PairTable_ = new QTableWidget(0, 2, client);
    PairTable_->setObjectName(QStringLiteral("PairTable"));
    PairTable_->setToolTip(qs(t::kPairsTip));
    PairTable_->setHorizontalHeaderLabels({qs(t::kPairFormatTitle), qs(t::kPairDestinationTitle)});
    PairTable_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    PairTable_->verticalHeader()->setDefaultSectionSize(twipRect(0, 0, 0, 330, dpi).height());
    PairTable_->setGeometry(twipRect(240, kPairsTop + 400, 5652, 1500, dpi));
    CmdPairAdd_ = new QPushButton(qs(t::kPairAdd), client);
    CmdPairAdd_->setObjectName(QStringLiteral("CmdPairAdd"));
    CmdPairAdd_->setGeometry(twipRect(6000, kPairsTop + 400, 600, 372, dpi));
    CmdPairRemove_ = new QPushButton(qs(t::kPairRemove), client);
    CmdPairRemove_->setObjectName(QStringLiteral("CmdPairRemove"));
    CmdPairRemove_->setGeometry(twipRect(6000, kPairsTop + 840, 600, 372, dpi));
    connect(CmdPairAdd_, &QPushButton::clicked, this, &FrmQuisk::CmdPairAdd_Click);
    connect(CmdPairRemove_, &QPushButton::clicked, this, &FrmQuisk::CmdPairRemove_Click);
    connect(PairTable_, &QTableWidget::itemChanged, this, &FrmQuisk::markChanged);
    fitToPairs();
}

// The table shows only while there are pairs; the window grows to hold it.
void FrmQuisk::fitToPairs() {
    const bool shown = PairTable_->rowCount() > 0;
    for (QWidget* w : {static_cast<QWidget*>(LblPairs_), static_cast<QWidget*>(PairTable_),
                       static_cast<QWidget*>(CmdPairAdd_), static_cast<QWidget*>(CmdPairRemove_)})
        w->setVisible(shown);
    const int height = kClientHeight + (shown ? kPairsHeight : 0);
    client_->setFixedSize(twipSize(kClientWidth, height, platform_.screen.dpi()));
    if (layout())
        layout()->activate();
    keepOnScreen();
}

// The window is centred for its height without pairs; grown by the pair
// table, it moves up as far as it must to keep its bottom on the screen.
void FrmQuisk::keepOnScreen() {
    const int screenHeight = twipsToPixels(platform_.screen.heightTwips(), platform_.screen.dpi());
    const int overflow = y() + frameGeometry().height() - screenHeight;
    if (overflow > 0)
        move(x(), std::max(0, y() - overflow));
}

void FrmQuisk::showPairs(const std::vector<ExtraPair>& pairs) {
    {
        const QSignalBlocker quiet(PairTable_);
        PairTable_->setRowCount(static_cast<int>(pairs.size()));
        for (int row = 0; row < PairTable_->rowCount(); ++row) {
            const ExtraPair& pair = pairs[static_cast<std::size_t>(row)];
            PairTable_->setItem(row, 0,
                                new QTableWidgetItem(QString::fromStdString(pair.formatPath)));
            PairTable_->setItem(row, 1,
                                new QTableWidgetItem(QString::fromStdString(pair.destinationPath)));
        }
    }
    fitToPairs();
}

std::vector<ExtraPair> FrmQuisk::pairValues() const {
    auto cell = [this](int row, int col) {
        const QTableWidgetItem* item = PairTable_->item(row, col);
        return item ? item->text().toStdString() : std::string();
    };
    std::vector<ExtraPair> pairs;
    for (int row = 0; row < PairTable_->rowCount(); ++row)
        pairs.push_back({cell(row, 0), cell(row, 1)});
    return pairs;
}

void FrmQuisk::mnuAddPair_Click() {
    CmdPairAdd_Click();
}

// A new pair starts empty with its format cell ready for typing.
void FrmQuisk::CmdPairAdd_Click() {
    const int row = PairTable_->rowCount();
    {
        const QSignalBlocker quiet(PairTable_);
        PairTable_->insertRow(row);
        PairTable_->setItem(row, 0, new QTableWidgetItem);
        PairTable_->setItem(row, 1, new QTableWidgetItem);
    }
    fitToPairs();
    markChanged();
    PairTable_->setCurrentCell(row, 0);
    PairTable_->setFocus();
}

// Removes the current pair, or the last one when none is current.
void FrmQuisk::CmdPairRemove_Click() {
    const int rows = PairTable_->rowCount();
    if (rows == 0)
        return;
    const int current = PairTable_->currentRow();
    PairTable_->removeRow(current >= 0 ? current : rows - 1);
    fitToPairs();
    markChanged();
}

} // namespace quisk
