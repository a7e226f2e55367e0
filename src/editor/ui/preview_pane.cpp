#include "preview_pane.h"

#include "common/file_io.h"
#include "editor/editor_texts.h"
#include "editor/ui/byte_ruler_view.h"
#include "editor/ui/output_view.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSplitter>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <cstring>

namespace quisk {

namespace t = editor_texts;

namespace {

QString qs(const char* text) {
    return QString::fromUtf8(text);
}

} // namespace

PreviewPane::PreviewPane(const FormatDefinition& format, FileDialogs& dialogs, QWidget* parent)
    : QWidget(parent), format_(format), dialogs_(dialogs) {
    buildControls();
    refreshTimer_ = new QTimer(this);
    refreshTimer_->setSingleShot(true);
    refreshTimer_->setInterval(0);
    connect(refreshTimer_, &QTimer::timeout, this, [this] { refresh(); });
}

// The ruler, a child, outlives the preview it points at: it lets go first.
PreviewPane::~PreviewPane() {
    ruler->disconnect(this);
    ruler->setPreview(nullptr, {});
}

void PreviewPane::buildControls() {
    sampleLabel = new QLabel(this);
    sampleLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    chooseButton = new QPushButton(qs(t::kSampleButton), this);
    suggestButton = new QPushButton(qs(t::kSuggestButton), this);
    acceptAllButton = new QPushButton(qs(t::kAcceptAll), this);
    dropButton = new QPushButton(qs(t::kDropSuggestions), this);
    for (QPushButton* button : {chooseButton, suggestButton, acceptAllButton, dropButton})
        button->setAutoDefault(false);
    connect(chooseButton, &QPushButton::clicked, this, [this] { chooseSample(); });
    connect(suggestButton, &QPushButton::clicked, this, [this] { suggest(); });
    connect(acceptAllButton, &QPushButton::clicked, this, [this] { acceptAll(); });
    connect(dropButton, &QPushButton::clicked, this, [this] { dropSuggestions(); });

    ruler = new ByteRulerView(this);
    output = new OutputView(this);
    connect(ruler, &ByteRulerView::shownChanged, this, [this] { showOutput(); });
    connect(ruler, &ByteRulerView::splitRequested, this, &PreviewPane::splitRequested);
    connect(ruler, &ByteRulerView::moveRequested, this, &PreviewPane::moveRequested);
    connect(ruler, &ByteRulerView::rowRequested, this, &PreviewPane::rowRequested);
    connect(ruler, &ByteRulerView::suggestionAccepted, this,
            [this](std::size_t b) { acceptOne(b); });
    status = new QLabel(this);
    status->setWordWrap(true);

    auto* top = new QHBoxLayout;
    top->addWidget(sampleLabel, 1);
    top->addWidget(chooseButton);
    top->addWidget(suggestButton);
    top->addWidget(acceptAllButton);
    top->addWidget(dropButton);
    auto* split = new QSplitter(Qt::Vertical, this);
    split->addWidget(ruler);
    split->addWidget(output);
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 2);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addLayout(top);
    layout->addWidget(split, 1);
    layout->addWidget(status);
    showSuggestionButtons();
}

void PreviewPane::setSamplePath(const std::string& path) {
    samplePath_ = path;
    sampleBytes_ = path.empty() ? SampleBytes{} : readSampleBytes(path);
    sample_ = cutSample(sampleBytes_, sampleRecordLength_);
    suggestions_.clear();
    sampleLabel->setText(QString::fromStdString(path));
    sampleLabel->setToolTip(QString::fromStdString(path));
    refresh();
}

void PreviewPane::chooseSample() {
    const auto path =
        dialogs_.open(FileDialogRequest{t::kSampleDialogTitle, t::kSampleFilter, samplePath_});
    if (path && !path->empty())
        setSamplePath(*path);
}

void PreviewPane::scheduleRefresh() {
    refreshTimer_->start();
}

// The sample is cut again when the format's record length changes: into
// records of that many bytes, or into lines when it has none.
void PreviewPane::cutSampleByFormat() {
    const long long length = decimalValue(format_.settings.recordLength);
    const std::size_t cut = length > 0 ? static_cast<std::size_t>(length) : 0;
    if (cut == sampleRecordLength_)
        return;
    sampleRecordLength_ = cut;
    sample_ = cutSample(sampleBytes_, cut);
    suggestions_.clear();
}

void PreviewPane::refresh() {
    refreshTimer_->stop();
    cutSampleByFormat();
    // The views keep pointing at the old preview until they get the new one.
    auto next = std::make_unique<LayoutPreview>(format_, sample_);
    // Suggestions the layout has taken up are done.
    std::erase_if(suggestions_, [&](std::size_t b) {
        return std::any_of(next->bands().begin(), next->bands().end(), [b](const FieldBand& f) {
            return f.offset == b || (f.length != 0 && f.offset + f.length == b);
        });
    });
    ruler->setPreview(next.get(), suggestions_);
    preview_ = std::move(next);
    showStatus();
    showSuggestionButtons();
}

std::size_t PreviewPane::longestLine() const {
    return preview_ ? preview_->longestLine() : 0;
}

// The records of the lines the ruler shows, each value in its field's
// colour; the header lines and the footer where the shown lines reach the
// start or the end of the file.
void PreviewPane::showOutput() {
    std::vector<OutputView::Row> rows;
    auto plain = [&rows](const std::vector<std::string>& lines) {
        for (const std::string& line : lines)
            rows.push_back(OutputView::rowOf(0, {OutputPiece{line}}));
    };
    const std::vector<ShownLine>& shown = ruler->shownLines();
    if (preview_ && ruler->firstShownLine() == 0)
        plain(preview_->outputHead());
    for (const ShownLine& line : shown)
        if (line.role == LineRole::Record || line.role == LineRole::WriteAsIs)
            rows.push_back(OutputView::rowOf(line.number, line.output));
    const bool atEnd = preview_ && !shown.empty() && shown.back().number == preview_->lineCount() &&
                       sample_.wholeFile;
    if (atEnd)
        plain(preview_->outputTail());
    output->setRows(std::move(rows));
}

void PreviewPane::showStatus() {
    if (samplePath_.empty()) {
        status->setText(qs(t::kNoSample));
        return;
    }
    if (sample_.error != 0) {
        const QString why = sample_.error == kNotARegularFile
                                ? qs(t::kSampleNotAFile)
                                : QString::fromLocal8Bit(std::strerror(sample_.error));
        status->setText(qs(t::kSampleUnreadable) + QString::fromStdString(samplePath_) + " (" +
                        why + ")");
        return;
    }
    QString text = (sample_.wholeFile ? QString() : qs(t::kSampleHead)) +
                   QString::number(preview_->lineCount()) +
                   qs(sampleRecordLength_ != 0 ? t::kSampleRecords : t::kSampleLines) + ": ";
    QStringList counts;
    for (std::size_t k = 0; k < kProblemKindCount; ++k)
        if (preview_->counts()[k] != 0)
            counts << qs(t::kProblemNames[k]) + " " + QString::number(preview_->counts()[k]);
    text += counts.isEmpty() ? qs(t::kNoProblems) : counts.join(" / ");
    status->setText(text);
}

void PreviewPane::suggest() {
    suggestions_ = suggestBoundaries(format_, sample_);
    refresh();
    if (suggestions_.empty())
        status->setText(status->text() + "  " + qs(t::kNoSuggestions));
}

void PreviewPane::dropSuggestions() {
    suggestions_.clear();
    refresh();
}

void PreviewPane::showSuggestionButtons() {
    acceptAllButton->setVisible(!suggestions_.empty());
    dropButton->setVisible(!suggestions_.empty());
}

void PreviewPane::acceptOne(std::size_t boundary) {
    std::erase(suggestions_, boundary);
    emit splitRequested(boundary);
    scheduleRefresh();
}

void PreviewPane::acceptAll() {
    std::vector<std::size_t> all = std::move(suggestions_);
    suggestions_.clear();
    emit acceptAllRequested(all);
    scheduleRefresh();
}

} // namespace quisk
