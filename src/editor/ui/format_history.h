#pragma once

#include "editor/table_change.h"
#include "format/format_definition.h"

#include <QObject>
#include <QUndoStack>
#include <optional>
#include <vector>

namespace quisk {

// What undoing and redoing needs from the editor window: to show again what
// was put back into its definition.
class FormatUndoTarget {
public:
    virtual ~FormatUndoTarget() = default;
    // Rows first to last (of the table as it is now) were put back, starting
    // at column col; reshaped when the number of rows changed.
    virtual void tableRestored(int first, int last, int col, bool reshaped) = 0;
    virtual void settingsRestored() = 0;
};

// The editor's undo history over its FormatDefinition. Every change becomes
// one step: a change of the field table is kept as the stretch of rows it
// changed, a change of the settings as the settings before and after it.
// Typing into one cell through the edit line is one step however many
// characters it takes: the step stays open until the current cell changes
// or another change is recorded. A new kind of setting needs nothing here:
// its control reports its edits through settingsEdited().
class FormatHistory : public QObject {
    Q_OBJECT

public:
    FormatHistory(FormatDefinition& format, FormatUndoTarget& target, QObject* parent = nullptr);

    // The table is about to be written into through the edit line or by a
    // key typed on the grid; the step stays open until closeTableEdit().
    void openTableEdit();
    void closeTableEdit();
    bool tableEditOpen() const { return tableBefore_.has_value(); }

    // Runs a command that changes the table and records it as one step.
    // Commands run inside it (cut runs clear) join that step.
    template <typename Command> void recordTable(Command&& command) {
        if (recording_) {
            command();
            return;
        }
        closeTableEdit();
        openTableEdit();
        recording_ = true;
        command();
        recording_ = false;
        closeTableEdit();
    }

    // A settings control changed the definition's settings: records the
    // difference from the settings as last recorded. Edits of one control
    // that follow each other (typing into a selector) merge into one step;
    // edits reported without a control never merge.
    void settingsEdited(const void* control);
    // Runs a command that changes several settings and records one step.
    template <typename Command> void recordSettings(const void* control, Command&& command) {
        ++quiet_;
        command();
        --quiet_;
        settingsEdited(control);
    }
    // The program is showing settings (a load, an undo): not a user's edit.
    template <typename Command> void withoutRecording(Command&& command) {
        ++quiet_;
        command();
        --quiet_;
        settingsBaseline_ = format_.settings;
    }

    // The history ends (another file was loaded or saved under a new name).
    void clear();

    bool canUndo() const;
    bool canRedo() const;
    void undo();
    void redo();

    // Used by the steps themselves.
    FormatDefinition& format() { return format_; }
    FormatUndoTarget& target() { return target_; }
    void settingsPutBack() { settingsBaseline_ = format_.settings; }

signals:
    // Whether there is something to undo or redo changed (or may have).
    void stateChanged();

private:
    void push(QUndoCommand* step);

    FormatDefinition& format_;
    FormatUndoTarget& target_;
    QUndoStack stack_;
    std::optional<std::vector<FieldRow>> tableBefore_;
    FormatSettings settingsBaseline_;
    bool recording_ = false;
    int quiet_ = 0;
};

} // namespace quisk
