#include "editor/ui/format_history.h"

#include <algorithm>

namespace quisk {

namespace {

constexpr int kSettingsStep = 1; // steps of this id may merge

// The first column in which the first changed row differs, so that undoing
// shows the cell that changes back.
int firstChangedColumn(const TableChange& change) {
    if (change.before.empty() || change.after.empty())
        return 1;
    for (int col = 1; col <= FieldRow::kCellCount; ++col)
        if (change.before.front().cell(col) != change.after.front().cell(col))
            return col;
    return 1;
}

// A step already done when it is recorded: the stack's first redo() skips.
class RecordedStep : public QUndoCommand {
public:
    explicit RecordedStep(FormatHistory& history) : history_(history) {}

    void redo() final {
        if (done_)
            apply(true);
        done_ = true;
    }
    void undo() final { apply(false); }

protected:
    virtual void apply(bool forward) = 0;
    FormatHistory& history_;

private:
    bool done_ = false;
};

class TableStep : public RecordedStep {
public:
    TableStep(FormatHistory& history, TableChange change)
        : RecordedStep(history), change_(std::move(change)) {}

private:
    void apply(bool forward) override {
        if (forward)
            redoChange(history_.format(), change_);
        else
            undoChange(history_.format(), change_);
        const auto& now = forward ? change_.after : change_.before;
        const int last = change_.first + std::max<int>(static_cast<int>(now.size()), 1) - 1;
        history_.target().tableRestored(change_.first, last, firstChangedColumn(change_),
                                        change_.before.size() != change_.after.size());
    }

    TableChange change_;
};

class SettingsStep : public RecordedStep {
public:
    SettingsStep(FormatHistory& history, FormatSettings before, FormatSettings after,
                 const void* control)
        : RecordedStep(history), before_(std::move(before)), after_(std::move(after)),
          control_(control) {}

    int id() const override { return kSettingsStep; }

    bool mergeWith(const QUndoCommand* other) override {
        const auto* next = static_cast<const SettingsStep*>(other);
        if (!control_ || next->control_ != control_)
            return false;
        after_ = next->after_;
        setObsolete(after_ == before_); // typed back to where it started
        return true;
    }

private:
    void apply(bool forward) override {
        history_.format().settings = forward ? after_ : before_;
        history_.target().settingsRestored();
        history_.settingsPutBack();
    }

    FormatSettings before_;
    FormatSettings after_;
    const void* control_;
};

} // namespace

FormatHistory::FormatHistory(FormatDefinition& format, FormatUndoTarget& target, QObject* parent)
    : QObject(parent), format_(format), target_(target), settingsBaseline_(format.settings) {
    connect(&stack_, &QUndoStack::indexChanged, this, &FormatHistory::stateChanged);
}

void FormatHistory::openTableEdit() {
    if (tableBefore_ || quiet_)
        return;
    tableBefore_ = format_.rows();
    emit stateChanged();
}

void FormatHistory::closeTableEdit() {
    if (!tableBefore_ || recording_)
        return;
    std::optional<TableChange> change = diffTables(*tableBefore_, format_.rows());
    tableBefore_.reset();
    if (change)
        push(new TableStep(*this, std::move(*change)));
    emit stateChanged();
}

void FormatHistory::settingsEdited(const void* control) {
    if (quiet_ || format_.settings == settingsBaseline_)
        return;
    closeTableEdit();
    FormatSettings before = settingsBaseline_;
    settingsBaseline_ = format_.settings;
    push(new SettingsStep(*this, std::move(before), format_.settings, control));
}

void FormatHistory::push(QUndoCommand* step) {
    stack_.push(step);
}

void FormatHistory::clear() {
    tableBefore_.reset();
    stack_.clear();
    settingsBaseline_ = format_.settings;
    emit stateChanged();
}

bool FormatHistory::canUndo() const {
    return tableBefore_.has_value() || stack_.canUndo();
}

bool FormatHistory::canRedo() const {
    // Typing has begun a new step, which ends what could be redone.
    return !tableBefore_ && stack_.canRedo();
}

void FormatHistory::undo() {
    closeTableEdit();
    ++quiet_;
    stack_.undo();
    --quiet_;
}

void FormatHistory::redo() {
    closeTableEdit();
    ++quiet_;
    stack_.redo();
    --quiet_;
}

} // namespace quisk
