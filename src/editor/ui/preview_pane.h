#pragma once

#include "common/platform.h"
#include "editor/layout_preview.h"
#include "editor/sample_head.h"
#include "format/format_definition.h"

#include <QWidget>
#include <memory>
#include <vector>

class QLabel;
class QPushButton;
class QTimer;

namespace quisk {

class ByteRulerView;
class OutputView;

// The format editor's preview: the first lines of a sample file under the
// byte ruler, the records the engine would write for them below, and a
// status line counting the problems of every line read. It reads the
// editor's definition and never writes it: edits made by pointing are asked
// for through the signals, and the window makes them as it makes typed ones.
class PreviewPane : public QWidget {
    Q_OBJECT

public:
    PreviewPane(const FormatDefinition& format, FileDialogs& dialogs, QWidget* parent = nullptr);
    ~PreviewPane() override;

    // Reads the start of the file at path as the sample.
    void setSamplePath(const std::string& path);
    const std::string& samplePath() const { return samplePath_; }
    // Asks which file to show through the file dialog.
    void chooseSample();

    // The definition changed: the pane is brought up to date once the
    // events in hand are handled, however many changes they make.
    void scheduleRefresh();
    void refresh();

    // Proposes boundaries from the sample's character classes; they stay
    // marks until accepted.
    void suggest();
    const std::vector<std::size_t>& suggestions() const { return suggestions_; }
    void dropSuggestions();

    // The longest line of the sample: how far a field made by a split at the
    // end of the layout reaches.
    std::size_t longestLine() const;
    const LayoutPreview* preview() const { return preview_.get(); }

    ByteRulerView* ruler = nullptr;
    OutputView* output = nullptr;
    QLabel* status = nullptr;
    QLabel* sampleLabel = nullptr;
    QPushButton* chooseButton = nullptr;
    QPushButton* suggestButton = nullptr;
    QPushButton* acceptAllButton = nullptr;
    QPushButton* dropButton = nullptr;

signals:
    void splitRequested(std::size_t boundary);
    void moveRequested(std::size_t from, std::size_t to);
    void rowRequested(int row);
    void acceptAllRequested(std::vector<std::size_t> boundaries);

private:
    void buildControls();
    void showOutput();
    void showStatus();
    void cutSampleByFormat();
    void showSuggestionButtons();
    void acceptOne(std::size_t boundary);
    void acceptAll();

    const FormatDefinition& format_;
    FileDialogs& dialogs_;
    std::string samplePath_;
    SampleBytes sampleBytes_;
    std::size_t sampleRecordLength_ = 0; // what sample_ was cut by; 0: lines
    SampleHead sample_;
    std::unique_ptr<LayoutPreview> preview_;
    std::vector<std::size_t> suggestions_;
    QTimer* refreshTimer_ = nullptr;
};

} // namespace quisk
