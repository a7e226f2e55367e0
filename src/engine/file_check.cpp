#include "file_check.h"

#include "engine/field_bytes.h"
#include "engine/fixed_record_reader.h"
#include "engine/line_reader.h"
#include "engine/record_selection.h"
#include "engine/worker.h"

#include <algorithm>
#include <cerrno>
#include <map>
#include <new>
#include <optional>

namespace quisk {
namespace {

// Runs of lines shorter than this are checked on one core.
constexpr std::size_t kSplitThreshold = 64 * 1024;

// Counts the problems of the lines it is given, which come in order. Each
// core counts into one of its own, on cache lines of its own.
class alignas(64) Tallies final : public ProblemSink {
public:
    void found(const LayoutProblem& p) override {
        kinds_[static_cast<std::size_t>(p.kind)].add(p.line);
        if (p.kind == ProblemKind::StartCut || p.kind == ProblemKind::EndCut) {
            FieldCuts& cuts = byRow_[p.fieldRow];
            cuts.row = p.fieldRow;
            (p.kind == ProblemKind::StartCut ? cuts.starts : cuts.ends).add(p.line);
        }
    }

    // Adds what this and other counted, each over lines of its own, to result.
    void mergeInto(const Tallies& other, FileCheckResult& result) const {
        for (std::size_t k = 0; k < kProblemKindCount; ++k)
            result.kinds[k] = merged(kinds_[k], other.kinds_[k]);
        std::map<int, FieldCuts> rows = byRow_;
        for (const auto& [row, cuts] : other.byRow_) {
            FieldCuts& into = rows[row];
            into.row = row;
            into.starts = merged(into.starts, cuts.starts);
            into.ends = merged(into.ends, cuts.ends);
        }
        for (auto& [row, cuts] : rows)
            result.cuts.push_back(std::move(cuts));
    }

private:
    static ProblemTally merged(const ProblemTally& a, const ProblemTally& b) {
        ProblemTally t;
        t.count = a.count + b.count;
        std::merge(a.firstLines.begin(), a.firstLines.end(), b.firstLines.begin(),
                   b.firstLines.end(), std::back_inserter(t.firstLines));
        t.firstLines.resize(std::min(t.firstLines.size(), ProblemTally::kShownLines));
        return t;
    }

    std::array<ProblemTally, kProblemKindCount> kinds_{};
    std::map<int, FieldCuts> byRow_;
};

// Checks the lines of a run the reader returned, numbered from number + 1;
// adds their count to number. A run ending in a carriage return may have its
// line feed still unread: that line's end is left open until the next run
// shows it, and the line's size is returned.
std::optional<std::size_t> checkRun(std::string_view lines, const LayoutCheck& check,
                                    long long& number, ProblemSink& sink) {
    // Counted here and stored once: the two halves' counters share a cache
    // line, which a store per line would pass to and fro between the cores.
    long long counted = number;
    std::optional<std::size_t> openLine;
    while (!lines.empty()) {
        const std::size_t cr = lines.find('\r');
        ++counted;
        if (cr == std::string_view::npos) {
            check.checkLine(lines, LineEnd::None, counted, sink);
            break;
        }
        const bool atRunEnd = cr + 1 == lines.size();
        const bool lf = !atRunEnd && lines[cr + 1] == '\n';
        const LineEnd end = lf || atRunEnd ? LineEnd::CrLf : LineEnd::Cr;
        check.checkLine(lines.substr(0, cr), end, counted, sink);
        if (atRunEnd) {
            openLine = cr;
            break;
        }
        lines.remove_prefix(cr + (lf ? 2 : 1));
    }
    number = counted;
    return openLine;
}

// The carriage returns in text, counted sixteen bytes at a time: each lane
// counts its matches, up to 255 of them, before the lanes are added up.
long long countCarriageReturns(std::string_view text) {
    using namespace field_lanes;
    const std::size_t whole = text.size() - text.size() % kLanes;
    long long count = 0;
    for (std::size_t i = 0; i < whole;) {
        Lanes matches{};
        for (int k = 0; k < 255 && i < whole; ++k, i += kLanes)
            matches -= (Lanes)(load(text.data() + i) == '\r'); // a match is 0xFF, or -1
        for (std::size_t lane = 0; lane < kLanes; ++lane)
            count += matches[lane];
    }
    return count + std::count(text.begin() + static_cast<std::ptrdiff_t>(whole), text.end(), '\r');
}

// Splits a run of whole lines in two at a CR LF near its middle, so that
// each core can check one half (the first half's last line end is then
// known); small runs are not split.
std::pair<std::string_view, std::string_view> splitLines(std::string_view lines) {
    if (lines.size() < kSplitThreshold)
        return {lines, {}};
    const std::size_t crlf = lines.find("\r\n", lines.size() / 2);
    if (crlf == std::string_view::npos || crlf + 2 == lines.size())
        return {lines, {}};
    return {lines.substr(0, crlf + 2), lines.substr(crlf + 2)};
}

// Where a record's type is read: the selection's bytes, else the first byte.
std::pair<std::size_t, std::size_t> typePosition(const FormatSettings& s) {
    if (!s.hasRecordSelection() || decimalValue(s.recordSelectStart) < 1 ||
        decimalValue(s.recordSelectLength) < 1)
        return {0, 1};
    return {static_cast<std::size_t>(decimalValue(s.recordSelectStart) - 1),
            static_cast<std::size_t>(decimalValue(s.recordSelectLength))};
}

// The fixed-length records of a source, one at a time on this thread:
// counted by type, and checked against the layout when selected.
FileCheckResult checkFixedRecords(const FormatDefinition& format, const std::string& path) {
    FileCheckResult result;
    const FormatSettings& s = format.settings;
    result.recordLength = decimalValue(s.recordLength);
    FixedRecordReader reader(static_cast<std::size_t>(result.recordLength));
    if (!reader.open(path)) {
        result.error = reader.error();
        return result;
    }
    const LayoutCheck check(format);
    const auto selection = s.hasRecordSelection() ? RecordSelection::build(s) : std::nullopt;
    const auto [typeAt, typeLength] = typePosition(s);
    Tallies tallies;
    long long number = 0;
    std::size_t lastBytes = 0;
    std::string_view run;
    while (reader.nextRecords(run)) {
        FixedRecordCursor cursor(run, reader.recordLength(), reader.stride());
        std::string_view record;
        while (cursor.next(record)) {
            ++number;
            lastBytes = record.size();
            ++result.recordTypes[std::string(record.substr(std::min(typeAt, record.size()),
                                                          typeLength))];
            if (!s.hasRecordSelection() || (selection && selection->matches(record)))
                check.checkLine(record, LineEnd::CrLf, number, tallies);
        }
    }
    Tallies none;
    tallies.mergeInto(none, result);
    result.linesRead = number;
    result.recordLineEnds = reader.lineEnds();
    if (lastBytes > 0 && lastBytes < reader.recordLength())
        result.shortLastRecordBytes = static_cast<long long>(lastBytes);
    result.complete = !reader.failed();
    result.error = reader.error();
    return result;
}

} // namespace

void ProblemTally::add(long long line) {
    if (count > 0 && line == lastLine)
        return;
    ++count;
    if (firstLines.size() < kShownLines)
        firstLines.push_back(line);
    lastLine = line;
}

bool FileCheckResult::clean() const {
    return shortLastRecordBytes == 0 &&
           std::all_of(kinds.begin(), kinds.end(),
                       [](const ProblemTally& t) { return t.count == 0; });
}

FileCheckResult checkFile(const FormatDefinition& format, const std::string& sourcePath) {
    if (format.settings.hasRecordLength())
        return checkFixedRecords(format, sourcePath);
    FileCheckResult result;
    LineReader reader;
    if (!reader.open(sourcePath)) {
        result.error = reader.error();
        return result;
    }
    const LayoutCheck check(format);
    // The first halves of the runs are checked here, the second halves on
    // the helper; each half's tallies see their lines in order.
    Tallies firstTallies;
    Tallies secondTallies;
    Worker helper;
    long long number = 0;
    std::optional<std::size_t> openLine; // the size of a line whose end is not known yet
    Tallies* openLineTallies = &firstTallies;
    std::string_view lines;
    for (;;) {
        bool more = false;
        try {
            more = reader.nextLines(lines);
        } catch (const std::bad_alloc&) {
            result.error = ENOMEM; // a line too long to hold
            return result;
        }
        if (openLine && !reader.skippedLineFeed() && !check.skips(number))
            openLineTallies->found(
                {ProblemKind::LoneCarriageReturn, number, 0, *openLine, *openLine + 1});
        if (!more)
            break;
        const auto [first, second] = splitLines(lines);
        long long secondNumber = number + countCarriageReturns(first);
        if (!second.empty())
            helper.post([&, second = second] {
                openLine = checkRun(second, check, secondNumber, secondTallies);
            });
        const auto firstOpen = checkRun(first, check, number, firstTallies);
        helper.wait();
        if (second.empty()) {
            openLine = firstOpen;
            openLineTallies = &firstTallies;
        } else {
            number = secondNumber;
            openLineTallies = &secondTallies;
        }
    }
    firstTallies.mergeInto(secondTallies, result);
    result.linesRead = number;
    result.complete = !reader.failed();
    result.error = reader.error();
    return result;
}

} // namespace quisk
