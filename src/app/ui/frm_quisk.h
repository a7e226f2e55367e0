#pragma once

#include "app/job_commands.h"
#include "app/ui/format_editor_hook.h"
#include "common/app_state.h"
#include "common/platform.h"
#include "editor/ui/show_format_editor.h"

#include <QMainWindow>
#include <QPointer>
#include <array>
#include <memory>
#include <string>
#include <vector>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace quisk {

class HelpWindow;

// What start-up takes from the process: the arguments Qt left over, the
// current directory and where the help file is.
struct StartupContext {
    std::vector<std::string> arguments;
    std::string currentDirectory;
    std::string helpPath;
};

// The main window: the current job in five boxes and two check boxes, the
// run button, the format editor button, the browse buttons and the File and
// Help menus. Controls carry their names as object names.
class FrmQuisk : public QMainWindow, private JobWindow {
    Q_OBJECT
public:
    FrmQuisk(AppState& state, Platform platform, QWidget* parent = nullptr);
    ~FrmQuisk() override;

    // Start-up: reads the command line, sizes and centres the window, and
    // loads the first job. Its messages and the open dialog come before the
    // window shows.
    void Form_Load(const StartupContext& context);

    void setFormatEditor(FormatEditorHook editor) { formatEditor_ = std::move(editor); }
    // The format path box as the format editor sees it.
    FormatPathBox& formatPathBox();

    void cmdSearch_Click();
    void CmdFmt_Click();
    void cmdSrchCancel_Click() { close(); }
    void CmdFileShow_Click(int index);
    // A changed job is offered for saving before another one replaces it.
    void mnuNewFile_Click() {
        if (jobs_.mayReplace())
            jobs_.newJob();
    }
    void mnuOpenDofile_Click() {
        if (jobs_.mayReplace())
            jobs_.openJob();
    }
    void mnuOverWrite_Click() { jobs_.saveJob(); }
    void mnuSaveAs_Click() { jobs_.saveJobAs(); }
    void mnuEnd_Click() { close(); }
    // Further (format, destination) pairs: the table under the job's boxes
    // shows while the job has any, and the window grows to hold it.
    void mnuAddPair_Click();
    void CmdPairAdd_Click();
    void CmdPairRemove_Click();
    QTableWidget* pairTable() const { return PairTable_; }
    void mnuQuiskHelp_Click();
    void mnuVersion_Click();

protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    class PathBox;
    class RunFeedback;

    JobDefinition jobValues() const override;
    void showJob(const JobDefinition& job) override;
    void setCaption(const std::string& caption) override;

    void buildControls(QWidget* client);
    void buildMenus();
    void buildPairTable(QWidget* client);
    void showPairs(const std::vector<ExtraPair>& pairs);
    std::vector<ExtraPair> pairValues() const;
    void fitToPairs();
    void keepOnScreen();
    void Form_Activate();
    void startPendingRun();
    void markChanged() { state_.jobDirty = true; }

    AppState& state_;
    Platform platform_;
    JobCommands jobs_;
    FormatEditorHook formatEditor_ = showFormatEditor;
    std::string helpPath_;
    QPointer<HelpWindow> help_; // open until the user closes it
    bool running_ = false;

    QPushButton* cmdSearch_ = nullptr;
    QLineEdit* DoNameTxt_ = nullptr;
    QCheckBox* ChkFileExist_ = nullptr;
    QCheckBox* ChkBatDo_ = nullptr;
    std::array<QLineEdit*, 4> PasTxt_{};
    QWidget* client_ = nullptr;
    QLabel* LblPairs_ = nullptr;
    QTableWidget* PairTable_ = nullptr;
    QPushButton* CmdPairAdd_ = nullptr;
    QPushButton* CmdPairRemove_ = nullptr;
    std::unique_ptr<PathBox> pathBox_;
};

} // namespace quisk
