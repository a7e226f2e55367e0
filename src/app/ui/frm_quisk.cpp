#include "app/ui/frm_quisk.h"

#include "app/app_texts.h"
#include "app/ui/app_icon.h"
#include "common/platform/twip_geometry.h"

#include <QCheckBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QShortcut>
#include <QStyle>

namespace quisk {
namespace {

namespace t = app_texts;

// The window's outer size, which start-up centres on the screen; its client
// area is sized with the pair table (frm_quisk_pairs.cpp).
constexpr int kWindowWidth = 6800;
constexpr int kWindowHeight = 6216;

QString qs(const char* text) {
    return QString::fromUtf8(text);
}

// The sunken frame around the job area: dark top and left edges, light
// bottom and right edges.
class SunkenFrame : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        int right = width() - 1;
        int bottom = height() - 1;
        p.setPen(palette().color(QPalette::Dark));
        p.drawLine(0, 0, right, 0);
        p.drawLine(0, 0, 0, bottom);
        p.setPen(palette().color(QPalette::Light));
        p.drawLine(0, bottom, right, bottom);
        p.drawLine(right, 0, right, bottom);
    }
};

} // namespace

// The format path box handed to the format editor.
class FrmQuisk::PathBox : public FormatPathBox {
public:
    explicit PathBox(QLineEdit* box) : box_(box) {}
    std::string text() const override { return box_->text().toStdString(); }
    void setText(const std::string& path) override { box_->setText(QString::fromStdString(path)); }

private:
    QLineEdit* box_;
};

FrmQuisk::FrmQuisk(AppState& state, Platform platform, QWidget* parent)
    : QMainWindow(parent), state_(state), platform_(platform),
      jobs_(state, *this, platform.messages, platform.dialogs) {
    setObjectName(QStringLiteral("FrmQuisk"));
    setWindowTitle(qs(t::kDesignCaption));
    setWindowIcon(quiskIcon());
    setWindowFlag(Qt::WindowMaximizeButtonHint, false);

    auto* client = new QWidget(this);
    setCentralWidget(client);
    client_ = client;
    buildControls(client);
    buildPairTable(client);
    buildMenus();
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    layout()->activate();
    pathBox_ = std::make_unique<PathBox>(PasTxt_[2]);

    auto* help = new QShortcut(QKeySequence(Qt::Key_F1), this);
    help->setContext(Qt::ApplicationShortcut);
    connect(help, &QShortcut::activated, this, &FrmQuisk::mnuQuiskHelp_Click);
}

FrmQuisk::~FrmQuisk() = default;

FormatPathBox& FrmQuisk::formatPathBox() {
    return *pathBox_;
}

void FrmQuisk::buildControls(QWidget* client) {
    const double dpi = platform_.screen.dpi();
    auto* frame = new SunkenFrame(client);
    frame->setGeometry(twipRect(120, 480, 6600 - 120, 5400 - 480, dpi).adjusted(0, 0, 1, 1));

    auto place = [&](QWidget* w, const char* name, const char* tip, QRect rect) {
        w->setObjectName(QString::fromLatin1(name));
        if (tip)
            w->setToolTip(qs(tip));
        w->setGeometry(rect);
        return w;
    };
    auto button = [&](const char* name, const char* caption, const char* tip, QRect rect) {
        return static_cast<QPushButton*>(
            place(new QPushButton(qs(caption), client), name, tip, rect));
    };
    auto box = [&](const char* name, const char* tip, int top) {
        return static_cast<QLineEdit*>(
            place(new QLineEdit(client), name, tip, twipRect(240, top, 5652, 396, dpi)));
    };
    auto check = [&](const char* name, const char* caption, QRect rect) {
        return static_cast<QCheckBox*>(
            place(new QCheckBox(qs(caption), client), name, nullptr, rect));
    };
    auto label = [&](const char* name, const char* caption, QRect rect) {
        place(new QLabel(qs(caption), client), name, nullptr, rect);
    };

    cmdSearch_ = button("cmdSearch", t::kRunCaption, t::kRunTip, twipRect(120, 0, 1452, 375, dpi));
    auto* cmdFmt =
        button("CmdFmt", t::kFormatCaption, t::kFormatTip, twipRect(1680, 0, 2172, 372, dpi));
    auto* cmdSrchCancel =
        button("cmdSrchCancel", t::kExitCaption, t::kExitTip, twipRect(3960, 0, 852, 375, dpi));
    DoNameTxt_ = box("DoNameTxt", t::kJobNameTip, 600);
    ChkFileExist_ =
        check("ChkFileExist", t::kOverwriteCaption, twipRect(240, 1080, 3852, 384, dpi));

    const std::array<const char*, 4> boxNames{"PasTxt1", "PasTxt2", "PasTxt3", "PasTxt4"};
    const std::array<const char*, 4> boxTips{t::kSourceTip, t::kDestinationTip, t::kFormatPathTip,
                                             t::kAfterRunTip};
    const std::array<const char*, 4> browseNames{"CmdFileShow1", "CmdFileShow2", "CmdFileShow3",
                                                 "CmdFileShow4"};
    const std::array<const char*, 4> browseTips{t::kBrowseSourceTitle, t::kBrowseDestinationTitle,
                                                t::kBrowseFormatTitle, t::kBrowseAfterRunTitle};
    std::vector<QWidget*> tabOrder{cmdSearch_, cmdFmt, cmdSrchCancel, DoNameTxt_, ChkFileExist_};
    const QIcon folder = style()->standardIcon(QStyle::SP_DirOpenIcon);
    for (int i = 0; i < 4; ++i) {
        int top = 1920 + 840 * i;
        PasTxt_[i] = box(boxNames[i], boxTips[i], top);
        auto* browse =
            button(browseNames[i], "", browseTips[i], twipRect(6000, top, 492, 420, dpi));
        browse->setIcon(folder);
        browse->setIconSize(QSize(16, 16));
        connect(browse, &QPushButton::clicked, this, [this, i] { CmdFileShow_Click(i); });
        tabOrder.insert(tabOrder.end(), {PasTxt_[i], browse});
    }
    ChkBatDo_ = check("ChkBatDo", t::kExitAfterRunCaption, twipRect(240, 4920, 5652, 384, dpi));
    tabOrder.push_back(ChkBatDo_);
    for (std::size_t i = 1; i < tabOrder.size(); ++i)
        setTabOrder(tabOrder[i - 1], tabOrder[i]);

    label("Label3", t::kDestinationLabel, twipRect(240, 2400, 2292, 372, dpi));
    label("Label4", t::kSourceLabel, twipRect(240, 1560, 2052, 372, dpi));
    label("Label1", t::kFormatLabel, twipRect(240, 3240, 2052, 372, dpi));
    label("Label2", t::kAfterRunLabel, twipRect(240, 4080, 4452, 372, dpi));

    connect(cmdSearch_, &QPushButton::clicked, this, &FrmQuisk::cmdSearch_Click);
    connect(cmdFmt, &QPushButton::clicked, this, &FrmQuisk::CmdFmt_Click);
    connect(cmdSrchCancel, &QPushButton::clicked, this, &FrmQuisk::cmdSrchCancel_Click);
    for (QLineEdit* edit : {DoNameTxt_, PasTxt_[0], PasTxt_[1], PasTxt_[2], PasTxt_[3]})
        connect(edit, &QLineEdit::textChanged, this, &FrmQuisk::markChanged);
    for (QCheckBox* tick : {ChkFileExist_, ChkBatDo_})
        connect(tick, &QCheckBox::toggled, this, &FrmQuisk::markChanged);
}

void FrmQuisk::buildMenus() {
    auto item = [this](QMenu* menu, const char* name, const char* caption, auto handler) {
        QAction* action = menu->addAction(qs(caption));
        action->setObjectName(QString::fromLatin1(name));
        connect(action, &QAction::triggered, this, handler);
    };
    QMenu* file = menuBar()->addMenu(qs(t::kMenuFile));
    file->setObjectName(QStringLiteral("mnuFile"));
    item(file, "mnuNewFile", t::kMenuNew, &FrmQuisk::mnuNewFile_Click);
    item(file, "mnuOpenDofile", t::kMenuOpen, &FrmQuisk::mnuOpenDofile_Click);
    item(file, "mnuOverWrite", t::kMenuSave, &FrmQuisk::mnuOverWrite_Click);
    item(file, "mnuSaveAs", t::kMenuSaveAs, &FrmQuisk::mnuSaveAs_Click);
    item(file, "mnuAddPair", t::kMenuAddPair, &FrmQuisk::mnuAddPair_Click);
    file->addSeparator()->setObjectName(QStringLiteral("mnuLine0"));
    item(file, "mnuEnd", t::kMenuExit, &FrmQuisk::mnuEnd_Click);

    QMenu* help = menuBar()->addMenu(qs(t::kMenuHelp));
    help->setObjectName(QStringLiteral("mnuHelp"));
    item(help, "mnuQuiskHelp", t::kMenuQuiskHelp, &FrmQuisk::mnuQuiskHelp_Click);
    help->addSeparator()->setObjectName(QStringLiteral("mnuLine1"));
    item(help, "mnuVersion", t::kMenuVersion, &FrmQuisk::mnuVersion_Click);
}

void FrmQuisk::Form_Load(const StartupContext& context) {
    state_.startDirectory = context.currentDirectory;
    CommandLine commandLine = parseCommandLine(context.arguments);
    state_.runMode = commandLine.unattended;
    state_.unattended = commandLine.unattended;

    centreOnScreen(*this, platform_.screen, kWindowWidth, kWindowHeight);

    helpPath_ = context.helpPath;
    jobs_.loadStartupJob(commandLine);
}

JobDefinition FrmQuisk::jobValues() const {
    JobDefinition job;
    job.jobName = DoNameTxt_->text().toStdString();
    job.sourcePath = PasTxt_[0]->text().toStdString();
    job.destinationPath = PasTxt_[1]->text().toStdString();
    job.formatFilePath = PasTxt_[2]->text().toStdString();
    job.afterRunPath = PasTxt_[3]->text().toStdString();
    job.overwriteExisting = ChkFileExist_->isChecked();
    job.exitAfterRun = ChkBatDo_->isChecked();
    job.extraPairs = pairValues();
    return job;
}

void FrmQuisk::showJob(const JobDefinition& job) {
    DoNameTxt_->setText(QString::fromStdString(job.jobName));
    PasTxt_[0]->setText(QString::fromStdString(job.sourcePath));
    PasTxt_[1]->setText(QString::fromStdString(job.destinationPath));
    PasTxt_[2]->setText(QString::fromStdString(job.formatFilePath));
    PasTxt_[3]->setText(QString::fromStdString(job.afterRunPath));
    ChkFileExist_->setChecked(job.overwriteExisting);
    ChkBatDo_->setChecked(job.exitAfterRun);
    showPairs(job.extraPairs);
}

void FrmQuisk::setCaption(const std::string& caption) {
    setWindowTitle(QString::fromStdString(caption));
}

} // namespace quisk
