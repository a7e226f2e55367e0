#include "record_conversion.h"

#include "engine/engine_texts.h"
#include "engine/fixed_record_reader.h"
#include "engine/line_reader.h"
#include "engine/record_targets.h"
#include "engine/run_log.h"

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

// A block of output for one destination, passed on (in the output encoding)
// whenever the next piece would not fit, so a record of any size fits too.
class TargetBlock final : public RecordSink {
public:
    explicit TargetBlock(Target& target)
        : sink_(*target.sink), encoder_(target.encoder), replaced_(target.replaced) {}
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
        ok_ = ok_ && sink_.write(encoder_.encodePiece({buffer_.data(), size_}, last, carry_,
                                                      encoded_, replaced_));
        size_ = 0;
        return ok_;
    }

private:
    ByteSink& sink_;
    const OutputEncoder& encoder_;
    long long& replaced_;
    ByteBuffer buffer_{kBlockSize};
    std::size_t size_ = 0;
    ByteBuffer encoded_;
    std::string carry_; // a lead byte whose trail byte is in the next piece
    bool ok_ = true;
};

// The loop over a source of lines, which may be of any length: every line
// goes to every target on this thread, through blocks that are written
// whenever they fill up.
LoopEnd convertLinesToAll(LineReader& source, Targets& targets, long long& count,
                          Yielder& yielder) {
    std::vector<std::unique_ptr<TargetBlock>> blocks;
    for (auto& target : targets)
        blocks.push_back(std::make_unique<TargetBlock>(*target));
    std::string_view lines;
    while (source.nextLines(lines)) {
        LineCursor cursor(lines);
        std::string_view line;
        while (cursor.next(line)) {
            ++count;
            for (std::size_t i = 0; i < targets.size(); ++i)
                if (writeRecord(*targets[i], line, count, *blocks[i], targets[i]->skipped) ==
                    Outcome::Unformattable)
                    return {false, targets[i].get(), nullptr};
        }
        for (std::size_t i = 0; i < targets.size(); ++i)
            if (!blocks[i]->flush(false))
                return {false, nullptr, targets[i].get()};
        yielder.ifDue();
    }
    for (std::size_t i = 0; i < targets.size(); ++i)
        if (!blocks[i]->flush(true))
            return {false, nullptr, targets[i].get()};
    return {!source.failed(), nullptr, nullptr};
}

std::string nameOf(const ConversionTarget& target) {
    return target.standardOutput ? t::kStandardOutput : target.destination;
}

bool openAll(Targets& targets, Target*& failed) {
    for (auto& target : targets) {
        const RunTexts& texts = target->texts;
        target->sink = target->layout.standardOutput
                           ? openStandardOutput()
                           : openFileSink(target->layout.destination, target->openError);
        if (!target->sink || !target->sink->write(texts.header) ||
            !target->sink->write(texts.fieldNames)) {
            failed = target.get();
            return false;
        }
    }
    return true;
}

bool finishAll(Targets& targets, Target*& failed) {
    for (auto& target : targets) {
        if (!target->sink->write(target->texts.footer)) {
            failed = target.get();
            return false;
        }
    }
    // Only now, with every destination complete, is any put into place.
    // With several, every one is first made ready to be renamed into place,
    // so a failure there leaves all of them as they were.
    if (targets.size() > 1)
        for (auto& target : targets)
            if (!target->sink->prepare()) {
                failed = target.get();
                return false;
            }
    for (auto& target : targets) {
        if (!target->sink->commit()) {
            failed = target.get();
            return false;
        }
    }
    return true;
}

void discardAll(Targets& targets) {
    for (auto& target : targets)
        if (target->sink)
            target->sink->discard();
}

RunFailure destinationFailure(const Target& target) {
    RunFailure f;
    f.file = RunFailure::File::Destination;
    f.path = nameOf(target.layout);
    f.error = target.sink ? target.sink->error() : target.openError;
    f.destinationExisted = target.sink && target.sink->replacing();
    f.destinationDamaged = target.sink && target.sink->damaged();
    return f;
}

std::string logFirstLineDestinations(const std::vector<ConversionTarget>& targets) {
    std::string names;
    for (const ConversionTarget& target : targets)
        names += (names.empty() ? "" : t::kDestinationsJoin) + nameOf(target);
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

// Opens a reader on the file or standard input.
template <typename Reader> bool openSource(Reader& reader, const RecordSource& source) {
    return source.standardInput ? reader.open(openStandardInput()) : reader.open(source.path);
}

SourceRead readSource(const std::vector<ConversionTarget>& layouts, const RecordSource& source,
                      Targets& targets, ConversionResult& result, Yielder& yielder) {
    const long long length = decimalValue(layouts.front().format.settings.recordLength);
    SourceRead read;
    if (length > 0) {
        long long lastBytes = 0;
        FixedRecordReader reader(static_cast<std::size_t>(length));
        if (!openSource(reader, source))
            return {{false, nullptr, nullptr}, reader.error()};
        read.end = convertFixedRecords(reader, targets, result.recordCount, lastBytes, yielder);
        read.error = reader.error();
        result.bytesRead = reader.bytesRead();
        result.notes.recordLength = length;
        result.notes.lineEndsAfterRecords = reader.lineEnds();
        if (lastBytes > 0 && lastBytes < length)
            result.notes.shortLastRecordBytes = lastBytes;
        return read;
    }
    LineReader reader;
    if (!openSource(reader, source))
        return {{false, nullptr, nullptr}, reader.error()};
    read.end = convertLinesToAll(reader, targets, result.recordCount, yielder);
    read.error = reader.error();
    result.bytesRead = reader.bytesRead();
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

ConversionResult saveRecords(const std::vector<ConversionTarget>& layouts,
                             const RecordSource& source, const std::string& logFile,
                             const std::function<void()>& yield) {
    Yielder yielder(yield);
    yielder.now();
    RunLog log(logFile);
    const std::string sourceName = source.standardInput ? t::kStandardInput : source.path;
    log.begin(sourceName, logFirstLineDestinations(layouts));

    ConversionResult result;
    Target* failed = nullptr;
    bool ok = false;
    try {
        auto targets = buildTargets(layouts, result.failure);
        if (targets && openAll(*targets, failed)) {
            SourceRead read = readSource(layouts, source, *targets, result, yielder);
            ok = read.end.ok && finishAll(*targets, failed);
            if (read.error != 0) {
                result.failure.file = RunFailure::File::Source;
                result.failure.path = sourceName;
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
        if (!ok && targets)
            discardAll(*targets);
    } catch (const std::bad_alloc&) {
        ok = false;
        ++result.recordCount;
    }
    result.ok = ok;
    std::vector<std::string> destinations;
    for (const ConversionTarget& layout : layouts)
        destinations.push_back(nameOf(layout));
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
