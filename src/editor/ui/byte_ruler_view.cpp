#include "byte_ruler_view.h"

#include "editor/editor_texts.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QToolTip>
#include <algorithm>

namespace quisk {

namespace t = editor_texts;

namespace {

constexpr int kEdgeReach = 3;    // pixels either side of a band edge that grab it
constexpr int kNumberEvery = 10; // the ruler numbers every tenth byte
constexpr int kExtraCells = 12;  // room right of the longest line, to click in
constexpr int kGutterCells = 6;  // line numbers

QString qs(const std::string& text) {
    return QString::fromStdString(text);
}

const QColor kExcludedShade(0xd8, 0xd8, 0xd8);
const QColor kAsIsShade(0xe6, 0xee, 0xfa);
const QColor kSkippedShade(0xe8, 0xe8, 0xe8); // records of another type, hatched
const QColor kSkippedHatch(0xc4, 0xc4, 0xc4);
const QColor kProblem(0xd0, 0x20, 0x20);
const QColor kSuggestion(0x20, 0x50, 0xc0);
const QColor kDroppedShade(0xe6, 0xdc, 0xc8); // bytes no record holds

// The mark beside a line that is not converted.
const char* roleLabel(LineRole role) {
    switch (role) {
    case LineRole::Excluded:
        return t::kExcludedLabel;
    case LineRole::WriteAsIs:
        return t::kAsIsLabel;
    case LineRole::Skipped:
        return t::kSkippedLabel;
    case LineRole::Record:
        break;
    }
    return "";
}

// Neighbouring bands get hues far apart.
int hue(int colour) {
    return (colour * 47 + 200) % 360;
}

} // namespace

QColor ByteRulerView::bandColour(int colour) {
    return QColor::fromHsv(hue(colour), 70, 250);
}

// The band's colour as it shows under the bytes: paler, so the text stays
// easy to read.
QColor ByteRulerView::bandTint(int colour) {
    return QColor::fromHsv(hue(colour), 30, 255);
}

ByteRulerView::ByteRulerView(QWidget* parent)
    : QAbstractScrollArea(parent), cells_(cellFont()), cell_(cells_.cellWidth()),
      row_(cells_.rowHeight()) {
    setFont(cells_.font());
    viewport()->setFont(cells_.font());
    viewport()->setMouseTracking(true);
    viewport()->setBackgroundRole(QPalette::Base);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
}

void ByteRulerView::setPreview(const LayoutPreview* preview, std::vector<std::size_t> suggestions) {
    preview_ = preview;
    suggestions_ = std::move(suggestions);
    updateScrollBars();
    computeShown();
    viewport()->update();
}

int ByteRulerView::gutterWidth() const {
    return (kGutterCells + 1) * cell_;
}

int ByteRulerView::visibleRows() const {
    return std::max(1, (viewport()->height() - rulerHeight()) / row_ + 1);
}

int ByteRulerView::columnX(std::size_t boundary) const {
    return gutterWidth() + static_cast<int>(boundary) * cell_ - horizontalScrollBar()->value();
}

void ByteRulerView::updateScrollBars() {
    const int lines = preview_ ? static_cast<int>(preview_->lineCount()) : 0;
    const int rows = visibleRows();
    verticalScrollBar()->setRange(0, std::max(0, lines - rows + 1));
    verticalScrollBar()->setPageStep(rows);
    const std::size_t columns = (preview_ ? preview_->longestLine() : 0) + kExtraCells;
    const int width = gutterWidth() + static_cast<int>(columns) * cell_;
    horizontalScrollBar()->setRange(0, std::max(0, width - viewport()->width()));
    horizontalScrollBar()->setPageStep(viewport()->width());
    horizontalScrollBar()->setSingleStep(cell_);
}

void ByteRulerView::computeShown() {
    first_ = static_cast<std::size_t>(verticalScrollBar()->value());
    shown_ = preview_ ? preview_->shownLines(first_, static_cast<std::size_t>(visibleRows()))
                      : std::vector<ShownLine>();
    emit shownChanged();
}

void ByteRulerView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    updateScrollBars();
    computeShown();
}

void ByteRulerView::scrollContentsBy(int /*dx*/, int dy) {
    if (dy != 0)
        computeShown();
    viewport()->update();
}

// Painting.

void ByteRulerView::paintEvent(QPaintEvent* /*event*/) {
    QPainter p(viewport());
    p.fillRect(viewport()->rect(), palette().base());
    int top = rulerHeight();
    p.save();
    p.setClipRect(0, top, viewport()->width(), viewport()->height() - top);
    paintTints(p, top, static_cast<int>(shown_.size()) * row_);
    for (const ShownLine& line : shown_) {
        paintLine(p, line, top);
        top += row_;
    }
    p.restore();
    paintRuler(p);
    paintBands(p);
    paintSuggestions(p);
    if (dragTo_) {
        p.setPen(QPen(Qt::black, 2));
        p.drawLine(columnX(*dragTo_), 0, columnX(*dragTo_), viewport()->height());
    }
}

void ByteRulerView::paintRuler(QPainter& p) const {
    const int width = viewport()->width();
    p.fillRect(0, 0, width, bandsTop(), palette().window());
    p.setPen(palette().color(QPalette::WindowText));
    const std::size_t columns = (preview_ ? preview_->longestLine() : 0) + kExtraCells;
    p.save();
    p.setClipRect(gutterWidth(), 0, width - gutterWidth(), rulerHeight());
    for (std::size_t b = 0; b <= columns; ++b) {
        const int x = columnX(b);
        if (x < gutterWidth() - cell_ || x > width)
            continue;
        const bool numbered = b % kNumberEvery == 0;
        p.drawLine(x, bandsTop() - (numbered ? row_ : row_ / 3), x, bandsTop());
        if (numbered && b > 0)
            p.drawText(QRect(x + 2, 0, 4 * cell_, row_), Qt::AlignLeft | Qt::AlignVCenter,
                       QString::number(b));
    }
    p.restore();
}

void ByteRulerView::paintBands(QPainter& p) const {
    p.fillRect(0, bandsTop(), viewport()->width(), row_, palette().base());
    if (!preview_)
        return;
    p.save();
    p.setClipRect(gutterWidth(), bandsTop(), viewport()->width(), row_);
    for (const FieldBand& band : preview_->bands()) {
        const int left = columnX(band.offset);
        const int right = columnX(band.end(preview_->longestLine()));
        const QRect box(left, bandsTop() + 1, std::max(right - left, 2), row_ - 2);
        p.fillRect(box, bandColour(band.colour));
        p.setPen(bandColour(band.colour).darker(160));
        p.drawRect(box.adjusted(0, 0, -1, -1));
        p.setPen(palette().color(QPalette::Text));
        p.drawText(box, Qt::AlignCenter, QString::number(band.row));
    }
    p.restore();
}

void ByteRulerView::paintLine(QPainter& p, const ShownLine& line, int top) const {
    // Record lines show the band tints painted under all lines; the others
    // are shaded over them.
    const QRect rowBox(0, top, viewport()->width(), row_);
    if (line.role == LineRole::Excluded)
        p.fillRect(rowBox, kExcludedShade);
    else if (line.role == LineRole::WriteAsIs)
        p.fillRect(rowBox, kAsIsShade);
    else if (line.role == LineRole::Skipped) {
        p.fillRect(rowBox, kSkippedShade);
        p.fillRect(rowBox, QBrush(kSkippedHatch, Qt::BDiagPattern));
    }
    paintDropped(p, line, top);
    p.setPen(palette().color(QPalette::Text));
    cells_.draw(p, columnX(0), top, line.glyphs);
    const std::size_t end =
        line.glyphs.empty()
            ? 0
            : line.glyphs.back().column + static_cast<std::size_t>(line.glyphs.back().width);
    if (line.role != LineRole::Record) {
        p.setPen(Qt::darkGray);
        // Beside the line's end, or at the view's right edge over a line
        // that runs on past it, as a fixed-length record often does.
        const int width = 12 * cell_;
        const int left = std::min(columnX(end) + 2 * cell_, viewport()->width() - width);
        const QRect box(std::max(left, gutterWidth()), top, width, row_);
        if (box.left() < columnX(end))
            p.fillRect(box, palette().base());
        p.drawText(box, Qt::AlignLeft | Qt::AlignVCenter, QString::fromUtf8(roleLabel(line.role)));
    }
    paintProblems(p, line, top);
    // The gutter with the line number, over anything scrolled under it.
    p.fillRect(QRect(0, top, gutterWidth(), row_), palette().window());
    p.setPen(palette().color(QPalette::WindowText));
    p.drawText(QRect(0, top, gutterWidth() - cell_, row_), Qt::AlignRight | Qt::AlignVCenter,
               QString::number(line.number));
}

// Each band's colour, lightened, down through the lines.
void ByteRulerView::paintTints(QPainter& p, int top, int height) const {
    if (!preview_)
        return;
    for (const FieldBand& band : preview_->bands()) {
        const int left = columnX(band.offset);
        const int right = columnX(band.end(preview_->longestLine()));
        p.fillRect(QRect(left, top, right - left, height), bandTint(band.colour));
    }
}

// Bytes no record holds are shaded under the text, not framed: they are
// lost, but often on purpose.
void ByteRulerView::paintDropped(QPainter& p, const ShownLine& line, int top) const {
    for (const LayoutProblem& problem : line.problems)
        if (problem.kind == ProblemKind::DroppedBytes)
            p.fillRect(QRect(columnX(problem.from), top,
                             static_cast<int>(problem.to - problem.from) * cell_, row_ - 1),
                       kDroppedShade);
}

void ByteRulerView::paintProblems(QPainter& p, const ShownLine& line, int top) const {
    for (const LayoutProblem& problem : line.problems) {
        const int left = columnX(problem.from);
        const int width = std::max(1, static_cast<int>(problem.to - problem.from)) * cell_;
        const QRect box(left, top, width, row_ - 1);
        QColor fill = kProblem;
        switch (problem.kind) {
        case ProblemKind::ShortLine:
            p.fillRect(box, QBrush(kProblem, Qt::BDiagPattern));
            break;
        case ProblemKind::DroppedBytes:
            continue; // shaded under the text, see paintDropped()
        case ProblemKind::LoneLineFeed:
        case ProblemKind::LoneCarriageReturn:
            p.fillRect(box, kProblem);
            p.setPen(Qt::white);
            p.drawText(QRect(left, top, 2 * cell_, row_), Qt::AlignCenter,
                       problem.kind == ProblemKind::LoneLineFeed ? "LF" : "CR");
            break;
        default: // cuts and invalid bytes
            fill.setAlpha(70);
            p.fillRect(box, fill);
            break;
        }
        p.setPen(QPen(kProblem, 2));
        p.drawRect(box);
    }
}

void ByteRulerView::paintSuggestions(QPainter& p) const {
    p.setPen(QPen(kSuggestion, 2, Qt::DashLine));
    for (std::size_t b : suggestions_) {
        const int x = columnX(b);
        if (x < gutterWidth())
            continue;
        p.drawLine(x, row_, x, viewport()->height());
        const QPoint tip[] = {{x - 5, 0}, {x + 5, 0}, {x, row_ - 4}};
        p.setBrush(kSuggestion);
        p.drawPolygon(tip, 3);
        p.setBrush(Qt::NoBrush);
    }
}

// Pointing.

std::size_t ByteRulerView::boundaryAt(int x) const {
    const int offset = x - columnX(0) + cell_ / 2;
    return offset <= 0 ? 0 : static_cast<std::size_t>(offset / cell_);
}

std::optional<std::size_t> ByteRulerView::byteAt(int x) const {
    const int offset = x - columnX(0);
    if (x < gutterWidth() || offset < 0)
        return std::nullopt;
    return static_cast<std::size_t>(offset / cell_);
}

std::optional<std::size_t> ByteRulerView::edgeAt(int x) const {
    if (!preview_)
        return std::nullopt;
    const std::size_t b = boundaryAt(x);
    if (std::abs(columnX(b) - x) > kEdgeReach)
        return std::nullopt;
    for (const FieldBand& band : preview_->bands())
        if (band.offset == b || (band.length != 0 && band.offset + band.length == b))
            return b;
    return std::nullopt;
}

const ShownLine* ByteRulerView::lineAt(int y) const {
    if (y < rulerHeight())
        return nullptr;
    const auto i = static_cast<std::size_t>((y - rulerHeight()) / row_);
    return i < shown_.size() ? &shown_[i] : nullptr;
}

void ByteRulerView::mousePressEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    pressedOnRuler_ = false;
    if (event->button() != Qt::LeftButton || at.x() < gutterWidth())
        return;
    if (at.y() < rulerHeight()) {
        dragFrom_ = edgeAt(at.x());
        pressedOnRuler_ = !dragFrom_ && at.y() < bandsTop();
        return;
    }
    // A click on a problem asks for its field's row.
    if (const ShownLine* line = lineAt(at.y()); line && preview_)
        if (const auto byte = byteAt(at.x()))
            for (const LayoutProblem& problem : line->problems)
                if (problem.from <= *byte && *byte < std::max(problem.to, problem.from + 1)) {
                    emit rowRequested(preview_->rowOf(problem));
                    return;
                }
}

void ByteRulerView::mouseMoveEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    if (dragFrom_ && (event->buttons() & Qt::LeftButton)) {
        dragTo_ = boundaryAt(at.x());
        viewport()->update();
        return;
    }
    const bool onEdge = at.y() < rulerHeight() && edgeAt(at.x());
    viewport()->setCursor(onEdge ? Qt::SplitHCursor : Qt::ArrowCursor);
}

void ByteRulerView::mouseReleaseEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    if (dragFrom_) {
        const std::size_t from = *dragFrom_;
        const std::size_t to = dragTo_.value_or(from);
        dragFrom_.reset();
        dragTo_.reset();
        viewport()->update();
        if (to != from)
            emit moveRequested(from, to);
        return;
    }
    if (!pressedOnRuler_ || event->button() != Qt::LeftButton)
        return;
    pressedOnRuler_ = false;
    const std::size_t b = boundaryAt(at.x());
    if (std::find(suggestions_.begin(), suggestions_.end(), b) != suggestions_.end())
        emit suggestionAccepted(b);
    else if (b > 0)
        emit splitRequested(b);
}

void ByteRulerView::mouseDoubleClickEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    if (!preview_ || at.y() < bandsTop())
        return;
    if (const auto byte = byteAt(at.x())) {
        const int row = preview_->rowAt(*byte);
        const FieldBand* band = preview_->bandOfRow(row);
        if (band && band->offset <= *byte && *byte < band->end(preview_->longestLine()))
            emit rowRequested(row);
    }
}

// Hovering.

bool ByteRulerView::viewportEvent(QEvent* event) {
    if (event->type() != QEvent::ToolTip)
        return QAbstractScrollArea::viewportEvent(event);
    auto* help = static_cast<QHelpEvent*>(event); // a tooltip event is a help event
    const QString tip = tipAt(help->pos());
    if (tip.isEmpty())
        QToolTip::hideText();
    else
        QToolTip::showText(help->globalPos(), tip, viewport());
    return true;
}

QString ByteRulerView::tipAt(const QPoint& at) const {
    if (at.y() < bandsTop()) {
        // A suggested boundary says what a click on it does.
        const std::size_t b = boundaryAt(at.x());
        const bool suggested =
            std::find(suggestions_.begin(), suggestions_.end(), b) != suggestions_.end();
        return suggested ? QString::fromUtf8(t::kSuggestionTip) + QString::number(b + 1)
                         : QString();
    }
    if (!preview_)
        return {};
    const auto byte = byteAt(at.x());
    if (!byte)
        return {};
    const ShownLine* line = lineAt(at.y());
    QStringList parts;
    if (line)
        for (const LayoutProblem& problem : line->problems)
            if (problem.from <= *byte && *byte < std::max(problem.to, problem.from + 1))
                parts << QString::fromUtf8(t::kProblemNames[static_cast<int>(problem.kind)]);
    const FieldBand* band = preview_->bandOfRow(preview_->rowAt(*byte));
    if (band && band->offset <= *byte && *byte < band->end(preview_->longestLine()))
        parts << bandTip(*band, line && line->role == LineRole::Record ? line : nullptr);
    return parts.join("\n");
}

QString ByteRulerView::bandTip(const FieldBand& band, const ShownLine* line) const {
    QString tip =
        QString::fromUtf8(t::kTipName) + qs(band.name) + "\n" + QString::fromUtf8(t::kTipStart) +
        QString::number(band.offset + 1) + "\n" + QString::fromUtf8(t::kTipLength) +
        (band.length == 0 ? QString::fromUtf8(t::kTipRestOfLine) : QString::number(band.length));
    if (!line)
        return tip;
    for (const OutputPiece& piece : line->output)
        if (piece.row == band.row)
            tip += "\n" + QString::fromUtf8(t::kTipValue) + "[" + qs(piece.text) + "]";
    return tip;
}

} // namespace quisk
