#include "record_conversion.h"

#include "common/file_io.h"
#include "engine/engine_texts.h"
#include "engine/fixed_record_reader.h"
#include "engine/line_reader.h"
#include "engine/record_formatter.h"
#include "engine/record_selection.h"
#include "engine/run_log.h"
#include "engine/run_parts.h"

#include <cstring>
#include <memory>
#include <new>

namespace quisk {
namespace {

namespace t = engine_texts;
static_assert(LineReader::kSlack >= RecordFormatter::kSlack &&
                  FixedRecordReader::kSlack >= RecordFormatter::kSlack,
              "records read past their end by the formatter's slack");

// Output is collected in blocks of this size before it is encoded and written.
constexpr std::size_t kBlockSize = 1 << 20;

struct Range {
    long long from;
    long long to;
    bool contains(long long n) const { return from <= n && n <= to; }
};

// A block of output for one destination, passed on (in the output encoding)
// whenever the next piece would not fit, so a record of any size fits too.
class TargetBlock final : public RecordSink {
public:
    TargetBlock(OutputFile& file, const OutputEncoder& encoder, long long& replaced)
        : file_(file), encoder_(encoder), replaced_(replaced) {}
    char* room(std::size_t n) override {
        if (size_ + n > buffer_.size()) {
            flush(false);
            buffer_.grow(n);
        }
        return buffer_.data() + size_;
    }
    void wrote(char* end) override { size_ = static_cast<std::size_t>(end - buffer_.data()); }
    // False once a write has failed.
    bool flush(bool last) {
        ok_ = ok_ && file_.write(encoder_.encodePiece({buffer_.data(), size_}, last, carry_,
                                                      encoded_, replaced_));
        size_ = 0;
        return ok_;
    }

private:
    OutputFile& file_;
    const OutputEncoder& encoder_;
    long long& replaced_;
    ByteBuffer buffer_{kBlockSize};
    std::size_t size_ = 0;
    ByteBuffer encoded_;
    std::string carry_; // a lead byte whose trail byte is in the next piece
    bool ok_ = true;
};

// Everything one destination of the run needs.
struct Target {
    Target(const ConversionTarget& spec, RecordFormatter f, OutputEncoder e, RunTexts texts)
        : spec(spec), formatter(std::move(f)), encoder(e), texts(std::move(texts)) {
        const FormatSettings& s = spec.format.settings;
        exclude = {decimalValue(s.excludeFrom), decimalValue(s.excludeTo)};
        writeAsIs = {decimalValue(s.writeAsIsFrom), decimalValue(s.writeAsIsTo)};
    }

    const ConversionTarget& spec;
    RecordFormatter formatter;
    OutputEncoder encoder;
    RunTexts texts;
    Range exclude{};
    Range writeAsIs{};
    std::optional<RecordSelection> selection;
    OutputFile file;
    long long replaced = 0;
    long long skipped = 0;
    TargetBlock block{file, encoder, replaced};
};

using Targets = std::vector<std::unique_ptr<Target>>;

char* appendLineEnd(char* at) {
    *at++ = '\r';
    *at++ = '\n';
    return at;
}

void copyInPieces(std::string_view record, RecordSink& out) {
    while (!record.empty()) {
        std::size_t n = std::min(record.size(), kBlockSize / 2);
        char* at = out.room(n);
        std::memcpy(at, record.data(), n);
        out.wrote(at + n);
        record.remove_prefix(n);
    }
}

enum class Outcome { Written, Unformattable };

// What one record stands for in one destination: nothing when excluded or
// not selected, itself when written as is, else its formatted record.
Outcome writeRecord(Target& target, std::string_view record, long long number) {
    if (target.exclude.contains(number))
        return Outcome::Written;
    const bool asIs = target.writeAsIs.contains(number);
    if (!asIs && target.selection && !target.selection->matches(record)) {
        ++target.skipped;
        return Outcome::Written;
    }
    if (!asIs && !target.formatter.canFormat())
        return Outcome::Unformattable;
    TargetBlock& out = target.block;
    const std::size_t most =
        (asIs ? record.size() : target.formatter.maxRecordBytes(record.size())) + 2;
    if (most > kBlockSize) {
        if (asIs)
            copyInPieces(record, out);
        else
            target.formatter.writeInPieces(record, out);
        out.wrote(appendLineEnd(out.room(2)));
        return Outcome::Written;
    }
    char* at = out.room(most);
    if (asIs) {
        std::memcpy(at, record.data(), record.size());
        at += record.size();
    } else {
        at = target.formatter.write(record, at);
    }
    out.wrote(appendLineEnd(at));
    return Outcome::Written;
}

// Where the loop over the records stopped.
struct LoopEnd {
    bool ok = true;
    Target* unformattable = nullptr; // a format that could not cut a record
    Target* unwritable = nullptr;    // a destination that could not be written
};

// Hands every record of every run to every target.
template <typename Reader, typename MakeCursor>
LoopEnd convertAll(Reader& source, MakeCursor cursorOf, Targets& targets, long long& count,
                   long long& lastRecordBytes, Yielder& yielder) {
    std::string_view run;
    while (source.nextRecords(run)) {
        auto cursor = cursorOf(run);
        std::string_view record;
        while (cursor.next(record)) {
            ++count;
            lastRecordBytes = static_cast<long long>(record.size());
            for (auto& target : targets)
                if (writeRecord(*target, record, count) == Outcome::Unformattable)
                    return {false, target.get(), nullptr};
        }
        for (auto& target : targets)
            if (!target->block.flush(false))
                return {false, nullptr, target.get()};
        yielder.ifDue();
    }
    return {!source.failed(), nullptr, nullptr};
}

// A line reader seen through the names of the record reader.
class LinesAsRecords {
public:
    explicit LinesAsRecords(LineReader& reader) : reader_(reader) {}
    bool nextRecords(std::string_view& lines) { return reader_.nextLines(lines); }
    bool failed() const { return reader_.failed(); }

private:
    LineReader& reader_;
};

// Builds each target's pieces; empty when a format cannot be used, with
// failure saying why.
std::optional<Targets> buildTargets(const std::vector<ConversionTarget>& specs,
                                    RunFailure& failure) {
    Targets targets;
    for (const ConversionTarget& spec : specs) {
        const FormatSettings& s = spec.format.settings;
        auto formatter = RecordFormatter::build(spec.format);
        auto encoder = OutputEncoder::build(s);
        auto texts = encodeRunTexts(s, spec.fieldNameRow);
        if (!formatter || !encoder || !texts)
            return std::nullopt;
        auto target = std::make_unique<Target>(spec, std::move(*formatter), *encoder,
                                               inOutputForm(*texts, *encoder));
        if (s.hasRecordSelection()) {
            target->selection = RecordSelection::build(s);
            if (!target->selection) {
                failure.selectionUnusable = true;
                return std::nullopt;
            }
        }
        targets.push_back(std::move(target));
    }
    return targets;
}

bool openAll(Targets& targets, Target*& failed) {
    for (auto& target : targets) {
        const RunTexts& texts = target->texts;
        if (!target->file.open(target->spec.destination) || !target->file.write(texts.header) ||
            !target->file.write(texts.fieldNames)) {
            failed = target.get();
            return false;
        }
    }
    return true;
}

bool finishAll(Targets& targets, Target*& failed) {
    for (auto& target : targets) {
        if (!target->block.flush(true) || !target->file.write(target->texts.footer)) {
            failed = target.get();
            return false;
        }
    }
    // Only now, with every destination complete, is any put into place.
    for (auto& target : targets) {
        if (!target->file.commit()) {
            failed = target.get();
            return false;
        }
    }
    return true;
}

RunFailure destinationFailure(const Target& target) {
    RunFailure f;
    f.file = RunFailure::File::Destination;
    f.path = target.spec.destination;
    f.error = target.file.error();
    f.destinationExisted = target.file.replacing();
    f.destinationDamaged = target.file.damaged();
    return f;
}

std::string logFirstLineDestinations(const std::vector<ConversionTarget>& targets) {
    std::string names;
    for (const ConversionTarget& target : targets)
        names += (names.empty() ? "" : t::kDestinationsJoin) + target.destination;
    return names;
}

std::string recordLengthNote(const RecordNotes& notes) {
    return t::kRecordLength + std::to_string(notes.recordLength) +
           (notes.lineEndsAfterRecords ? t::kWithLineEnds : t::kWithoutLineEnds);
}

struct SourceRead {
    LoopEnd end;
    int error = 0;
};

SourceRead readSource(const std::vector<ConversionTarget>& specs, const std::string& path,
                      Targets& targets, ConversionResult& result, Yielder& yielder) {
    const long long length = decimalValue(specs.front().format.settings.recordLength);
    long long lastBytes = 0;
    SourceRead read;
    if (length > 0) {
        FixedRecordReader reader(static_cast<std::size_t>(length));
        if (!reader.open(path))
            return {{false, nullptr, nullptr}, reader.error()};
        auto cursorOf = [&](std::string_view run) {
            return FixedRecordCursor(run, reader.recordLength(), reader.stride());
        };
        read.end = convertAll(reader, cursorOf, targets, result.recordCount, lastBytes, yielder);
        read.error = reader.error();
        result.notes.recordLength = length;
        result.notes.lineEndsAfterRecords = reader.lineEnds();
        if (lastBytes > 0 && lastBytes < length)
            result.notes.shortLastRecordBytes = lastBytes;
        return read;
    }
    LineReader reader;
    if (!reader.open(path))
        return {{false, nullptr, nullptr}, reader.error()};
    LinesAsRecords lines(reader);
    auto cursorOf = [](std::string_view run) { return LineCursor(run); };
    read.end = convertAll(lines, cursorOf, targets, result.recordCount, lastBytes, yielder);
    read.error = reader.error();
    return read;
}

} // namespace

std::vector<std::string> recordNoteLines(const RecordNotes& notes,
                                         const std::vector<std::string>& destinations) {
    std::vector<std::string> lines;
    for (std::size_t i = 0; i < notes.skipped.size(); ++i) {
        if (notes.skipped[i] < 0)
            continue;
        std::string prefix = destinations.size() > 1 ? destinations[i] + ": " : "";
        lines.push_back(prefix + std::to_string(notes.skipped[i]) + t::kSkipped);
    }
    if (notes.shortLastRecordBytes > 0)
        lines.push_back(t::kShortLast1 + std::to_string(notes.shortLastRecordBytes) +
                        t::kShortLast2);
    return lines;
}

ConversionResult saveRecords(const std::vector<ConversionTarget>& specs,
                             const std::string& sourcePath, const std::string& logFile,
                             const std::function<void()>& yield) {
    Yielder yielder(yield);
    yielder.now();
    RunLog log(logFile);
    log.begin(sourcePath, logFirstLineDestinations(specs));

    ConversionResult result;
    Target* failed = nullptr;
    bool ok = false;
    try {
        auto targets = buildTargets(specs, result.failure);
        if (targets && openAll(*targets, failed)) {
            SourceRead read = readSource(specs, sourcePath, *targets, result, yielder);
            ok = read.end.ok && finishAll(*targets, failed);
            if (read.error != 0) {
                result.failure.file = RunFailure::File::Source;
                result.failure.path = sourcePath;
                result.failure.error = read.error;
            }
            failed = failed ? failed : read.end.unwritable;
            for (auto& target : *targets) {
                result.replacedCount += target->replaced;
                result.notes.skipped.push_back(target->selection ? target->skipped : -1);
            }
        } else if (targets) {
            result.failure = destinationFailure(*failed);
        }
        if (!ok && failed && result.failure.file == RunFailure::File::None)
            result.failure = destinationFailure(*failed);
        // Destinations not committed are dropped when targets goes.
    } catch (const std::bad_alloc&) {
        ok = false;
        ++result.recordCount;
    }
    result.ok = ok;
    std::vector<std::string> destinations;
    for (const ConversionTarget& spec : specs)
        destinations.push_back(spec.destination);
    std::string outcome =
        ok ? t::completedText(result.recordCount) : t::failedText(result.recordCount);
    if (result.notes.recordLength > 0)
        outcome += "\r\n" + recordLengthNote(result.notes);
    if (ok)
        for (const std::string& line : recordNoteLines(result.notes, destinations))
            outcome += "\r\n" + line;
    log.finish(outcome);
    result.logProblem = log.problem();
    return result;
}

} // namespace quisk
