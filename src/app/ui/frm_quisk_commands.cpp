// The main window's commands: the run, the format editor, the browse
// buttons, help, the about window, and what happens when the window becomes
// active or is closed.
#include "app/app_texts.h"
#include "app/help_file.h"
#include "app/ui/frm_quisk.h"
#include "app/ui/frm_version.h"
#include "app/ui/help_window.h"
#include "common/process.h"
#include "engine/run_command.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

namespace quisk {
namespace {

namespace t = app_texts;

struct BrowseDialog {
    const char* title;
    const char* filter;
    const char* whenEmpty; // the initial name when the box is empty
};

constexpr int kAfterRunBox = 3;
constexpr std::array<BrowseDialog, 4> kBrowseDialogs{{
    {t::kBrowseSourceTitle, t::kBrowseSourceFilter, ""},
    {t::kBrowseDestinationTitle, t::kBrowseDestinationFilter, ""},
    {t::kBrowseFormatTitle, t::kBrowseFormatFilter, t::kBrowseFormatInitial},
    {t::kBrowseAfterRunTitle, t::kBrowseAfterRunFilter, ""},
}};

} // namespace

// Shows the run on the button and keeps the window responsive while the
// conversion works; the engine calls yield() only every few milliseconds.
class FrmQuisk::RunFeedback : public RunObserver {
public:
    RunFeedback(FrmQuisk& window, const RunRequest& request) : w_(window), r_(request) {}

    void started() override {
        w_.state_.jobSourcePath = r_.sourcePath;
        w_.state_.jobDestinationPath = r_.destinationPath;
        w_.state_.jobFormatPath = r_.formatPath;
        w_.state_.openFormatDirectly = true;
        w_.cmdSearch_->setText(QString::fromUtf8(t::kRunningCaption));
        w_.cmdSearch_->repaint();
    }
    void yield() override { QCoreApplication::processEvents(); }

private:
    FrmQuisk& w_;
    const RunRequest& r_;
};

void FrmQuisk::cmdSearch_Click() {
    // The window stays responsive during a run; a second click then must not
    // start a second run on the files the first one holds open.
    if (running_)
        return;
    running_ = true;
    JobDefinition job = jobValues();
    RunRequest request{job.sourcePath,        job.destinationPath,
                       job.formatFilePath,    job.afterRunPath,
                       job.overwriteExisting, job.exitAfterRun,
                       state_.unattended,     state_.startDirectory,
                       state_.jobPath,        "", // the window has no command to suggest
                       false,                 false, // no streams in the window
                       job.extraPairs};
    RunFeedback feedback(*this, request);
    RunReport report = runJob(request, platform_.messages, platform_.launcher, feedback);
    state_.openFormatDirectly = false;
    cmdSearch_->setText(QString::fromUtf8(t::kRunCaption));
    running_ = false;
    if (report.status == RunStatus::Completed && request.exitAfterRun) {
        state_.jobDirty = false;
        close();
    }
}

void FrmQuisk::CmdFmt_Click() {
    // During a run the job's format is in use; the editor waits until it ends.
    if (running_)
        return;
    state_.jobSourcePath = PasTxt_[0]->text().toStdString();
    state_.jobDestinationPath = PasTxt_[1]->text().toStdString();
    state_.jobFormatPath = PasTxt_[2]->text().toStdString();
    formatEditor_(this, state_, platform_, formatPathBox());
}

void FrmQuisk::CmdFileShow_Click(int index) {
    const BrowseDialog& d = kBrowseDialogs.at(static_cast<std::size_t>(index));
    QLineEdit* box = PasTxt_.at(static_cast<std::size_t>(index));
    // The program box holds a command line: the dialog starts from its
    // program, and a chosen path goes back as one word of it.
    const bool commandLine = index == kAfterRunBox;
    std::string text = box->text().toStdString();
    if (commandLine) {
        auto words = commandWords(text);
        text = words && !words->empty() ? words->front() : text;
    }
    std::string initial = text.empty() ? d.whenEmpty : text;
    auto chosen = platform_.dialogs.open({d.title, d.filter, initial});
    if (chosen && !chosen->empty())
        box->setText(QString::fromStdString(commandLine ? quoteCommandWord(*chosen) : *chosen));
}

// F1 and the help menu open Quisk's own help window, or bring the open one
// to the front.
void FrmQuisk::mnuQuiskHelp_Click() {
    if (!help_) {
        if (!helpFileReadable(helpPath_, platform_.messages))
            return;
        help_ = new HelpWindow(QString::fromStdString(helpPath_), this);
    }
    help_->show();
    help_->raise();
    help_->activateWindow();
}

void FrmQuisk::mnuVersion_Click() {
    FrmVersion about(platform_.screen, this);
    about.exec();
}

bool FrmQuisk::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate)
        Form_Activate();
    return QMainWindow::event(event);
}

void FrmQuisk::Form_Activate() {
    if (state_.runMode)
        QTimer::singleShot(0, this, &FrmQuisk::startPendingRun);
}

// A desktop without a window manager may never activate the window, which
// would leave an unattended run waiting for ever; the first showing starts
// it too. Whichever comes first runs it, once.
void FrmQuisk::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    Form_Activate();
}

void FrmQuisk::startPendingRun() {
    if (!state_.runMode)
        return;
    state_.runMode = false;
    cmdSearch_Click();
}

void FrmQuisk::closeEvent(QCloseEvent* event) {
    // Closing during a run would pull the window from under it; the user
    // can close once the run has finished.
    if (running_ || !jobs_.mayClose())
        event->ignore();
    else
        event->accept();
}

} // namespace quisk
