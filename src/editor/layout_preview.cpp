#include "layout_preview.h"

#include "common/sjis.h"
#include "engine/conversion.h"
#include "engine/field_names.h"
#include "format/format_file.h"

#include <algorithm>

namespace quisk {
namespace {

constexpr const char* kReplacement = "\xEF\xBF\xBD"; // U+FFFD

class ProblemList : public ProblemSink {
public:
    void found(const LayoutProblem& problem) override { problems.push_back(problem); }
    std::vector<LayoutProblem> problems;
};

// The byte count of the UTF-8 character starting at lead.
std::size_t utf8Length(unsigned char lead) {
    return lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
}

bool isDoubleByte(std::string_view line, std::size_t at) {
    return sjis::isLeadByte(static_cast<unsigned char>(line[at])) && at + 1 < line.size() &&
           sjis::isTrailByte(static_cast<unsigned char>(line[at + 1]));
}

// Text of Shift-JIS bytes for the screen; bytes that are no character show
// as U+FFFD.
std::string displayText(std::string_view bytes) {
    if (auto text = sjis::decode(bytes))
        return *text;
    std::string text;
    for (const Glyph& g : glyphsOf(bytes))
        text += g.text.empty() ? kReplacement : g.text;
    return text;
}

} // namespace

std::vector<Glyph> glyphsOf(std::string_view line) {
    std::vector<Glyph> glyphs;
    glyphs.reserve(line.size());
    // The usual case: the whole line decodes, one character per character.
    if (const auto text = sjis::decode(line)) {
        std::size_t u = 0;
        for (std::size_t at = 0; at < line.size();) {
            const int width = isDoubleByte(line, at) ? 2 : 1;
            const std::size_t n = utf8Length(static_cast<unsigned char>((*text)[u]));
            glyphs.push_back({at, width, text->substr(u, n)});
            u += n;
            at += static_cast<std::size_t>(width);
        }
        return glyphs;
    }
    for (std::size_t at = 0; at < line.size();) {
        const std::size_t width = isDoubleByte(line, at) ? 2 : 1;
        const auto text = sjis::decode(line.substr(at, width));
        glyphs.push_back({at, static_cast<int>(width), text.value_or(std::string())});
        at += width;
    }
    return glyphs;
}

LayoutPreview::LayoutPreview(const FormatDefinition& format, const SampleHead& sample)
    : sample_(sample), check_(format), formatter_(RecordFormatter::build(format)) {
    int colour = 0;
    for (const LayoutCheck::Field& f : check_.fields())
        bands_.push_back({f.row, f.offset, f.length, format.row(f.row).fieldName, colour++});

    const FormatSettings& s = format.settings;
    excludeFrom_ = decimalValue(s.excludeFrom);
    excludeTo_ = decimalValue(s.excludeTo);
    asIsFrom_ = decimalValue(s.writeAsIsFrom);
    asIsTo_ = decimalValue(s.writeAsIsTo);
    // A selection the engine cannot use stops a run with a message; until it
    // is put right the preview shows every record.
    if (s.hasRecordSelection())
        selection_ = RecordSelection::build(s);

    problems_.resize(sample.lines.size());
    for (std::size_t i = 0; i < sample.lines.size(); ++i) {
        const SampleLine& line = sample.lines[i];
        longestLine_ = std::max(longestLine_, line.bytes.size());
        // Records of another type have another layout: a check of the
        // whole file leaves them alone too.
        if (selection_ && !selection_->matches(line.bytes))
            continue;
        ProblemList list;
        check_.checkLine(line.bytes, line.end, static_cast<long long>(i) + 1, list);
        for (const LayoutProblem& p : list.problems)
            ++counts_[static_cast<std::size_t>(p.kind)];
        problems_[i] = std::move(list.problems);
    }

    if (!s.headerText.empty())
        outputHead_ = textToLines(s.headerText);
    if (s.fieldNamesOnTop) {
        const auto names = fieldNameRowFromText(formatFileText(format));
        if (names && !names->empty())
            outputHead_.push_back(*names);
    }
    if (!s.footerText.empty())
        outputTail_ = textToLines(s.footerText);
}

const FieldBand* LayoutPreview::bandOfRow(int row) const {
    for (const FieldBand& b : bands_)
        if (b.row == row)
            return &b;
    return nullptr;
}

int LayoutPreview::rowAt(std::size_t at) const {
    const FieldBand* last = nullptr;
    for (const FieldBand& b : bands_) {
        if (b.offset <= at && (b.length == 0 || at < b.offset + b.length))
            return b.row;
        if (b.length != 0 && b.offset + b.length <= at &&
            (!last || b.offset + b.length > last->offset + last->length))
            last = &b;
    }
    return last ? last->row : 0;
}

int LayoutPreview::rowOf(const LayoutProblem& problem) const {
    return problem.fieldRow != 0 ? problem.fieldRow : rowAt(problem.from);
}

LineRole LayoutPreview::roleOf(long long number) const {
    if (excludeFrom_ <= number && number <= excludeTo_)
        return LineRole::Excluded;
    if (asIsFrom_ <= number && number <= asIsTo_)
        return LineRole::WriteAsIs;
    const auto at = static_cast<std::size_t>(number - 1);
    if (selection_ && at < sample_.lines.size() && !selection_->matches(sample_.lines[at].bytes))
        return LineRole::Skipped;
    return LineRole::Record;
}

std::vector<OutputPiece> LayoutPreview::recordOf(std::string_view line) const {
    std::vector<OutputPiece> pieces;
    if (!writesRecords())
        return pieces;
    std::string record;
    std::vector<RecordFormatter::ValueSpan> values;
    formatter_->append(line, record, values);
    std::size_t at = 0;
    for (std::size_t i = 0; i < values.size(); ++i) {
        const auto& v = values[i];
        if (v.from > at)
            pieces.push_back({displayText(std::string_view(record).substr(at, v.from - at))});
        pieces.push_back({displayText(std::string_view(record).substr(v.from, v.to - v.from)),
                          bands_[i].colour, bands_[i].row});
        at = v.to;
    }
    if (at < record.size())
        pieces.push_back({displayText(std::string_view(record).substr(at))});
    return pieces;
}

std::vector<ShownLine> LayoutPreview::shownLines(std::size_t first, std::size_t count) const {
    std::vector<ShownLine> shown;
    const std::size_t total = sample_.lines.size();
    const std::size_t end = first >= total ? first : first + std::min(count, total - first);
    for (std::size_t i = first; i < end; ++i) {
        const std::string& bytes = sample_.lines[i].bytes;
        ShownLine line;
        line.number = static_cast<long long>(i) + 1;
        line.role = roleOf(line.number);
        line.glyphs = glyphsOf(bytes);
        line.problems = problems_[i];
        if (line.role == LineRole::WriteAsIs)
            line.output.push_back({displayText(bytes)});
        else if (line.role == LineRole::Record)
            line.output = recordOf(bytes);
        shown.push_back(std::move(line));
    }
    return shown;
}

} // namespace quisk
