// The format editor's file side: which format it opens with, the open, save
// and save-as commands, and closing with its questions and the hand-over of
// the path to the main window.
#include "common/file_io.h"
#include "editor/editor_texts.h"
#include "editor/grid_check.h"
#include "format/format_file.h"
#include "format/format_texts.h"
#include "format/selector_rules.h"
#include "format/ui/frm_open.h"
#include "frm_format.h"

#include <QLineEdit>
#include <QMetaObject>

namespace quisk {

namespace t = editor_texts;
using format_texts::kCancelledChoice;
using format_texts::kUntitledFormat;

namespace {

Message question(std::string text, const char* title, Buttons buttons, Answer byDefault) {
    return Message{std::move(text), title, Icon::None, buttons, byDefault};
}

} // namespace

void FrmFormat::startFilePart() {
    std::string& path = state_.formatPath;
    if (state_.openFormatDirectly) {
        path = state_.jobFormatPath;
        loadFailed_ = File_Open() == OpenResult::Failed;
    } else {
        FrmOpen chooser(state_, platform_.screen, this);
        chooser.exec();
        std::optional<OpenResult> picked;
        if (path.empty())
            picked = File_Open();
        loadFailed_ = picked == OpenResult::Failed;
        // The job's format loads without a dialog, unless it was just picked
        // and loaded (reading it twice would repeat any message about it).
        if (!picked && path == state_.jobFormatPath) {
            state_.openFormatDirectly = true;
            loadFailed_ = File_Open() == OpenResult::Failed;
            state_.openFormatDirectly = false;
        }
    }
    if (path == kUntitledFormat)
        applyNewDefinition();
    applyOutputKind();
    setCaption();
    state_.formatDirty = false;
    closeWhenShown_ = loadFailed_ || path == kCancelledChoice;
}

FrmFormat::OpenResult FrmFormat::File_Open() {
    if (!state_.openFormatDirectly) {
        std::optional<std::string> chosen =
            platform_.dialogs.open(FileDialogRequest{t::kOpenTitle, t::kFileFilter, ""});
        if (!chosen) {
            state_.formatPath = kCancelledChoice;
            return OpenResult::Cancelled;
        }
        if (chosen->empty()) {
            state_.formatPath = kUntitledFormat;
            return OpenResult::Untitled;
        }
        state_.formatPath = *chosen;
    }
    return File_Load() ? OpenResult::Loaded : OpenResult::Failed;
}

bool FrmFormat::File_Load() {
    // Read into a copy whose rows were emptied: a shorter format leaves no
    // stale rows behind, and a failed read leaves the table as it was.
    FormatDefinition loaded = format_;
    loaded.clearRows();
    if (!loadFormatFile(state_.formatPath, loaded, platform_.messages))
        return false;
    format_ = std::move(loaded);
    model_->reload();
    showSettings();
    disp_refresh(1);
    keepSelectorCopies();
    setCaption();
    history_->clear(); // another file: the earlier steps do not apply to it
    return true;
}

void FrmFormat::applyNewDefinition() {
    format_.settings = FormatSettings{};
    showSettings();
    keepSelectorCopies();
}

void FrmFormat::setCaption() {
    setWindowTitle(
        QString::fromStdString(t::kCaptionPrefix + state_.formatPath + t::kCaptionSuffix));
}

void FrmFormat::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // Nothing to edit after a cancelled choice or a failed load: the window
    // closes as soon as it appears.
    if (closeWhenShown_)
        QMetaObject::invokeMethod(
            this, [this] { closeWithoutQuestions(); }, Qt::QueuedConnection);
}

void FrmFormat::closeWithoutQuestions() {
    state_.formatDirty = false;
    state_.openFormatDirectly = true;
    reject();
    state_.openFormatDirectly = false;
}

Answer FrmFormat::askUnsaved() {
    return platform_.messages.show(question(std::string(t::kUnsaved1) + "\r" + t::kUnsaved2,
                                            t::kSaveConfirmTitle, Buttons::YesNoCancel,
                                            Answer::Yes));
}

int FrmFormat::saveBeforeLeaving() {
    return File_Save(isRegularFile(state_.formatPath) ? 0 : 1);
}

void FrmFormat::mnuOpen_Click() {
    // A changed quote or separator is a change too, as when closing.
    if (selectorsChanged())
        markDirty();
    if (state_.formatDirty) {
        Answer answer = askUnsaved();
        if (answer == Answer::Cancel)
            return;
        if (answer == Answer::Yes) {
            if (!Grid_Check())
                return;
            if (saveBeforeLeaving() == 1) {
                state_.formatDirty = true;
                platform_.messages.show(
                    Message{t::kSaveFailed, t::kSaveErrorTitle, Icon::Stop, Buttons::Ok});
                return;
            }
        }
    }
    const std::string previous = state_.formatPath;
    const bool dirtyBefore = state_.formatDirty; // still set when the user said No
    state_.formatDirty = false;
    switch (File_Open()) {
    case OpenResult::Loaded:
        applyOutputKind();
        state_.formatDirty = false;
        break;
    case OpenResult::Untitled:
        setCaption();
        break;
    case OpenResult::Cancelled:
    case OpenResult::Failed:
        // Nothing was opened: the editor goes on with what it showed.
        state_.formatPath = previous;
        state_.formatDirty = dirtyBefore;
        break;
    }
}

void FrmFormat::mnuOverWrite_Click() {
    if (Grid_Check())
        File_Save(0);
}

void FrmFormat::mnuSaveAs_Click() {
    if (Grid_Check())
        File_Save(1);
}

bool FrmFormat::Grid_Check() {
    const GridCheckResult check = checkGrid(format_);
    if (check.endRow > 0) {
        Grid1->setRow(check.endRow);
        Grid1->setCol(FieldRow::kCellCount);
    }
    if (!answerGridCheck(check, platform_.messages))
        return false;
    if (auto wrong = checkRecordSelection(format_.settings)) {
        platform_.messages.show(*wrong);
        SelectTxtLength->setFocus();
        return false;
    }
    return true;
}

// Asks before a chosen file is replaced. False when the user declined (the
// result is then 1 for Cancel and for No alike: nothing was saved).
bool FrmFormat::overwriteAllowed(bool withCancel, int& result) {
    if (!isRegularFile(state_.formatPath))
        return true;
    Answer answer = platform_.messages.show(
        question(std::string(t::kExists1) + "\r" + t::kExists2, t::kOverwriteTitle,
                 withCancel ? Buttons::YesNoCancel : Buttons::YesNo, Answer::Yes));
    result = 1;
    return answer == Answer::Yes;
}

int FrmFormat::File_Save(int saveFlag) {
    const std::string remembered = state_.formatPath;
    std::optional<std::string> chosen;
    if (saveFlag == 0 && state_.formatPath == kUntitledFormat) {
        chosen = platform_.dialogs.save(
            FileDialogRequest{t::kFirstSaveTitle, t::kFileFilter, kUntitledFormat});
    } else if (saveFlag == 1) {
        chosen = platform_.dialogs.save(
            FileDialogRequest{t::kSaveAsTitle, t::kFileFilter, state_.formatPath});
    }
    if (saveFlag == 1 || remembered == kUntitledFormat) {
        if (!chosen || chosen->empty())
            return 1;
        state_.formatPath = *chosen;
        int declined = 0;
        if (!overwriteAllowed(saveFlag == 0, declined)) {
            // Declining keeps the format on its old path, unsaved: a later
            // save must not replace the file the user chose to keep.
            state_.formatPath = remembered;
            return declined;
        }
    }
    if (!saveFormatFile(state_.formatPath, format_, platform_.messages)) {
        state_.formatPath = remembered;
        return 1;
    }
    state_.formatDirty = false;
    keepSelectorCopies();
    setCaption();
    // Saved under a new name, the format is another file from here on.
    if (remembered != kUntitledFormat && state_.formatPath != remembered)
        history_->clear();
    return 0;
}

void FrmFormat::CmdClose_Click() {
    reject();
}

void FrmFormat::reject() {
    if (!Form_QueryUnload())
        return;
    closed_ = true;
    QDialog::reject();
}

bool FrmFormat::Form_QueryUnload() {
    if (state_.openFormatDirectly)
        return true;
    if (selectorsChanged())
        markDirty();
    if (state_.formatDirty) {
        Answer answer = askUnsaved();
        if (answer == Answer::Cancel)
            return false;
        if (answer == Answer::Yes) {
            if (!Grid_Check())
                return false;
            if (saveBeforeLeaving() == 1) {
                markDirty();
                return false;
            }
        }
    }
    state_.formatDirty = false;
    handOverPath();
    return true;
}

void FrmFormat::handOverPath() {
    const std::string& path = state_.formatPath;
    if (path == kUntitledFormat || path.empty() || path == pathBox_.text())
        return;
    Answer answer = platform_.messages.show(
        question(t::kUseForJob, t::kConfirmTitle, Buttons::YesNo, Answer::Yes));
    if (answer == Answer::Yes) {
        state_.jobFormatPath = path;
        pathBox_.setText(path);
    }
}

} // namespace quisk
