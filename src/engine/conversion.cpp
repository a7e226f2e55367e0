#include "conversion.h"

#include "common/file_io.h"
#include "engine/byte_sink.h"
#include "engine/engine_texts.h"
#include "engine/line_reader.h"
#include "engine/output_encoding.h"
#include "engine/record_formatter.h"
#include "engine/run_log.h"
#include "engine/run_parts.h"
#include "engine/worker.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <new>
#include <optional>

namespace quisk {
namespace {

namespace t = engine_texts;
static_assert(LineReader::kSlack >= RecordFormatter::kSlack,
              "records read past a line by the formatter's slack");
constexpr std::size_t kFirstBlockSize = 1 << 20;
// Output blocks stay below this size: lines whose records might need more are
// written in pieces straight to the destination (see DirectOutput).
constexpr std::size_t kBlockLimit = 2 << 20;

struct Range {
    long long from;
    long long to;
    bool contains(long long n) const { return from <= n && n <= to; }
};

struct LineRanges {
    Range exclude;
    Range writeAsIs;
    long long lastLine() const { return std::max(exclude.to, writeAsIs.to); }
};

// Bytes produced for one run of lines. A block stays within kBlockLimit
// bytes unless a single piece asks for more.
class OutputBlock final : public RecordSink {
public:
    char* room(std::size_t n) override {
        if (size_ + n > buffer_.size())
            buffer_.grow(std::max(std::min(2 * buffer_.size(), kBlockLimit), size_ + n));
        return buffer_.data() + size_;
    }
    void wrote(char* end) override { size_ = static_cast<std::size_t>(end - buffer_.data()); }
    bool fits(std::size_t n) const { return size_ + n <= kBlockLimit; }
    std::string_view bytes() const { return {buffer_.data(), size_}; }
    void clear() { size_ = 0; }

private:
    ByteBuffer buffer_{kFirstBlockSize};
    std::size_t size_ = 0;
};

// Writes records through a block that is passed on to the destination
// whenever the next piece would take it past its limit, so that a record of
// any size needs no more memory than the block. Used on the run's own thread
// while the writer thread is idle; it yields to the window between pieces,
// as a long line can take seconds.
class DirectOutput final : public RecordSink {
public:
    DirectOutput(OutputBlock& block, ByteSink& destination, Yielder& yielder,
                 const OutputEncoder& encoder, long long& replaced)
        : block_(block), destination_(destination), yielder_(yielder), encoder_(encoder),
          replaced_(replaced) {}
    char* room(std::size_t n) override {
        if (!block_.fits(n))
            flush();
        return block_.room(n);
    }
    void wrote(char* end) override { block_.wrote(end); }
    // False once a write has failed. Each piece is put into the output
    // encoding as it goes; last says that no piece follows.
    bool flush(bool last = false) {
        written_ = written_ && destination_.write(encoder_.encodePiece(block_.bytes(), last, carry_,
                                                                       encoded_, replaced_));
        block_.clear();
        yielder_.ifDue();
        return written_;
    }

private:
    OutputBlock& block_;
    ByteSink& destination_;
    Yielder& yielder_;
    const OutputEncoder& encoder_;
    long long& replaced_;
    ByteBuffer encoded_;
    std::string carry_; // a lead byte whose trail byte is in the next piece
    bool written_ = true;
};

char* appendLineEnd(char* at) {
    *at++ = '\r';
    *at++ = '\n';
    return at;
}

// Copies a write-as-is line in pieces of at most a block.
void copyInPieces(std::string_view line, RecordSink& out) {
    while (!line.empty()) {
        std::size_t n = std::min(line.size(), kBlockLimit / 2);
        char* at = out.room(n);
        std::memcpy(at, line.data(), n);
        out.wrote(at + n);
        line.remove_prefix(n);
    }
}

struct LinesDone {
    long long count = 0;
    long long failedAt = 0; // the number of the line that could not be cut, or 0
    // Where the lines begin that were left for DirectOutput, or npos.
    std::size_t stoppedAt = std::string_view::npos;
};

// Writes what each line of a run stands for: nothing for an excluded line,
// the line itself for a write-as-is line, else its record. Lines are numbered
// from firstNumber. Without direct, it stops before a line whose output might
// take the block past its limit; with it, such a line is written in pieces.
LinesDone formatLines(std::string_view lines, long long firstNumber, const LineRanges& ranges,
                      const RecordFormatter& formatter, OutputBlock& out,
                      DirectOutput* direct = nullptr) {
    LinesDone done;
    LineCursor cursor(lines);
    std::string_view line;
    for (long long number = firstNumber; cursor.next(line); ++number, ++done.count) {
        if (ranges.exclude.contains(number))
            continue;
        const bool asIs = ranges.writeAsIs.contains(number);
        if (!asIs && !formatter.canFormat()) {
            done.failedAt = number;
            return done;
        }
        const std::size_t most = (asIs ? line.size() : formatter.maxRecordBytes(line.size())) + 2;
        if (!out.fits(most)) {
            if (!direct) {
                done.stoppedAt = static_cast<std::size_t>(line.data() - lines.data());
                return done;
            }
            if (most > kBlockLimit) {
                if (asIs)
                    copyInPieces(line, *direct);
                else
                    formatter.writeInPieces(line, *direct);
                direct->wrote(appendLineEnd(direct->room(2)));
                continue;
            }
            direct->flush();
        }
        char* at = out.room(most);
        if (asIs) {
            std::memcpy(at, line.data(), line.size());
            at += line.size();
        } else {
            at = formatter.write(line, at);
        }
        out.wrote(appendLineEnd(at));
    }
    return done;
}

// Writes the rest of a run whose formatting stopped before a line too large for a
// block: the block so far, then the rest of its lines in pieces. Adds its
// lines to recordCount; false on a format or write failure, with recordCount
// at the line being processed.
bool finishDirectly(std::string_view lines, long long firstNumber, const LinesDone& done,
                    OutputBlock& block, ByteSink& destination, const RecordFormatter& formatter,
                    const OutputEncoder& encoder, const LineRanges& ranges, long long& recordCount,
                    long long& replaced, Yielder& yielder) {
    if (done.failedAt) {
        recordCount = done.failedAt;
        return false;
    }
    DirectOutput direct(block, destination, yielder, encoder, replaced);
    LinesDone rest;
    if (done.stoppedAt != std::string_view::npos)
        rest = formatLines(lines.substr(done.stoppedAt), firstNumber + done.count, ranges,
                           formatter, block, &direct);
    const bool written = direct.flush(true);
    if (rest.failedAt) {
        recordCount = rest.failedAt;
        return false;
    }
    recordCount += done.count + rest.count;
    return written;
}

// The number of the source line whose output holds byte `at` of a block
// whose output begins with the record of line firstNumber: every line end
// before it is one record written, and excluded lines wrote nothing.
long long recordAt(std::string_view block, std::size_t at, long long firstNumber,
                   const Range& exclude, std::string_view lineEnd) {
    long long number = firstNumber;
    auto skipExcluded = [&] {
        while (exclude.contains(number))
            ++number;
    };
    skipExcluded();
    for (std::size_t end = block.find(lineEnd);
         end != std::string_view::npos && end + lineEnd.size() <= at;
         end = block.find(lineEnd, end + lineEnd.size())) {
        ++number;
        skipExcluded();
    }
    return number;
}

// The end of the piece of a block, from from, that the formatting thread
// converts at a time: just after the first line feed at least kEncodingPiece
// bytes on, or the block's end. A line feed is never the second byte of a
// character, so the pieces convert as the whole block would. Pieces are
// small, so that the writer, once free, soon has the rest of the block.
constexpr std::size_t kEncodingPiece = 16 << 10;
std::size_t pieceEnd(std::string_view block, std::size_t from) {
    const std::size_t lineFeed = block.find('\n', std::min(from + kEncodingPiece, block.size()));
    return lineFeed == std::string_view::npos ? block.size() : lineFeed + 1;
}

// The blocks of the output in the order they are written, and the first
// failure, told by the writer thread.
class BlockWriter {
public:
    // replaced is added to on the writer's thread: the bytes of the records
    // that had no character. Read or change it only after wait().
    BlockWriter(ByteSink& destination, const Range& exclude, const OutputEncoder& encoder,
                long long& replaced)
        : destination_(destination), exclude_(exclude), encoder_(encoder),
          lineEnd_(encoder.lineEnd()), replaced_(replaced) {}
    ~BlockWriter() { writer_.wait(); }

    // Queues two pieces of output whose records begin with source line
    // firstNumber; kBeforeRecords and kAfterRecords mark the header and the
    // footer.
    static constexpr long long kBeforeRecords = 0;
    static constexpr long long kAfterRecords = -1;
    void write(std::string_view a, std::string_view b, long long firstNumber) {
        writer_.post([this, a, b, firstNumber] { send(a, b, firstNumber); });
    }
    // Queues a block of records in Shift-JIS, and puts it into the output
    // encoding in two parts split after a line feed: the first part here, on
    // the formatting thread, the rest on the writer's thread, so that the
    // conversion is shared by both cores. This thread converts lines only
    // while the writer is still busy with the blocks before, so that neither
    // thread waits on the other while there is work to share. Both parts go
    // into encoded, one after the other, which holds them until the block is
    // written.
    void writeRecords(std::string_view block, long long firstNumber, ByteBuffer& encoded) {
        // Output that stays as it is goes out whole, in one write.
        if (!encoder_.changesBytes()) {
            write(block, {}, firstNumber);
            return;
        }
        encoded.grow(encoder_.roomFor(block.size()));
        char* const out = encoded.data();
        std::size_t split = 0;
        std::size_t frontSize = 0;
        long long frontReplaced = 0;
        while (split < block.size() && writer_.busy()) {
            const std::size_t next = pieceEnd(block, split);
            frontSize += encoder_.encodeTo(block.substr(split, next - split), out + frontSize,
                                           frontReplaced);
            split = next;
        }
        std::string_view back = block.substr(split);
        writer_.post([this, out, frontSize, back, frontReplaced, firstNumber] {
            if (failed_)
                return;
            replaced_ += frontReplaced;
            const std::size_t size = frontSize + encoder_.encodeTo(back, out + frontSize, replaced_);
            send({out, size}, {}, firstNumber);
        });
    }
    bool failed() const { return failed_; }
    // After wait(): the number of the record that could not be written, or
    // kAfterRecords when the records were all written.
    long long failedRecord() const { return failedRecord_; }
    void wait() { writer_.wait(); }

private:
    void send(std::string_view a, std::string_view b, long long firstNumber) {
        if (failed_)
            return;
        std::size_t before = destination_.bytesWritten();
        if (destination_.write(a) && destination_.write(b))
            return;
        std::size_t at = destination_.bytesWritten() - before;
        failedRecord_ = firstNumber <= 0 ? firstNumber : failingRecord(a, b, at, firstNumber);
        failed_ = true;
    }

    long long failingRecord(std::string_view a, std::string_view b, std::size_t at,
                            long long firstNumber) const {
        if (at < a.size() || b.empty())
            return recordAt(a, at, firstNumber, exclude_, lineEnd_);
        long long second = recordAt(a, a.size(), firstNumber, exclude_, lineEnd_);
        return recordAt(b, at - a.size(), second, exclude_, lineEnd_);
    }

    ByteSink& destination_;
    const Range exclude_;
    const OutputEncoder& encoder_;
    const std::string_view lineEnd_; // as written: CR LF, or LF alone
    long long& replaced_;
    std::atomic<bool> failed_{false}; // set on the writer's thread
    long long failedRecord_ = kAfterRecords;
    Worker writer_;
};

// The record loop: reads the source in runs of lines, formats them into one
// block while a writer thread hands the block before it to the destination.
// A block goes to the writer at the end of every run, or as soon as the next
// line might not fit. Returns false at the first read, format or write
// failure, with recordCount at the line that could not be processed or
// written; replaced counts the bytes that had no character.
bool convertLines(LineReader& source, ByteSink& destination, const RecordFormatter& formatter,
                  const OutputEncoder& encoder, const LineRanges& ranges, const RunTexts& texts,
                  long long& recordCount, long long& replaced, Yielder& yielder) {
    // Two output blocks: one being formatted while the writer still holds the
    // other. The writer is declared after them, so it has finished with the
    // blocks before they go.
    OutputBlock blocks[2];
    ByteBuffer encodedBlocks[2]; // each block in the output encoding
    BlockWriter writer(destination, ranges.exclude, encoder, replaced);
    writer.write(texts.header, texts.fieldNames, BlockWriter::kBeforeRecords);

    int turn = 0;
    std::string_view lines;
    while (source.nextLines(lines) && !writer.failed()) {
        while (!lines.empty()) {
            OutputBlock& out = blocks[turn];
            out.clear();
            const long long firstNumber = recordCount + 1;
            const LinesDone done = formatLines(lines, firstNumber, ranges, formatter, out);
            if (done.failedAt) {
                recordCount = done.failedAt;
                writer.wait();
                return false;
            }
            const bool stopped = done.stoppedAt != std::string_view::npos;
            if (stopped && out.bytes().empty()) {
                // A record that might be larger than a block: the rest of the
                // run is finished on this thread, straight to the destination.
                writer.wait();
                if (writer.failed())
                    break;
                if (!finishDirectly(lines, firstNumber, done, out, destination, formatter, encoder,
                                    ranges, recordCount, replaced, yielder))
                    return false;
                break;
            }
            recordCount += done.count;
            writer.writeRecords(out.bytes(), firstNumber, encodedBlocks[turn]);
            turn = 1 - turn;
            lines = stopped ? lines.substr(done.stoppedAt) : std::string_view();
        }
        yielder.ifDue();
    }
    writer.write(texts.footer, {}, BlockWriter::kAfterRecords);
    writer.wait();
    if (writer.failed() && writer.failedRecord() != BlockWriter::kAfterRecords)
        recordCount = writer.failedRecord();
    return !writer.failed() && !source.failed();
}

// Which file a failed run could not read or write, if any.
// destination is null when it could not be opened, for openError.
RunFailure failureOf(const LineReader& source, const ByteSink* destination, int openError,
                     const ConversionPaths& paths) {
    RunFailure failure;
    const int destinationError = destination ? destination->error() : openError;
    if (source.error() != 0) {
        failure.file = RunFailure::File::Source;
        failure.path = sourceName(paths);
        failure.error = source.error();
    } else if (destinationError != 0) {
        failure.file = RunFailure::File::Destination;
        failure.path = destinationName(paths);
        failure.error = destinationError;
    }
    failure.destinationExisted = destination && destination->replacing();
    failure.destinationDamaged = destination && destination->damaged();
    return failure;
}

std::unique_ptr<ByteSink> openDestination(const ConversionPaths& paths, int& error) {
    return paths.standardOutput ? openStandardOutput() : openFileSink(paths.destination, error);
}

} // namespace

std::string sourceName(const ConversionPaths& paths) {
    return paths.standardInput ? t::kStandardInput : paths.source;
}

std::string destinationName(const ConversionPaths& paths) {
    return paths.standardOutput ? t::kStandardOutput : paths.destination;
}

std::vector<std::string> textToLines(const std::string& text) {
    std::vector<std::string> lines(1);
    for (char c : text) {
        if (c == '\r')
            lines.emplace_back();
        else if (c != '\n')
            lines.back() += c;
    }
    return lines;
}

ConversionResult saveData(const FormatDefinition& format, const std::string& fieldNameRow,
                          const ConversionPaths& paths, const std::function<void()>& yield) {
    Yielder yielder(yield);
    yielder.now();

    LineReader source;
    bool opened =
        paths.standardInput ? source.open(openStandardInput()) : source.open(paths.source);
    int openError = 0;
    auto destination = opened ? openDestination(paths, openError) : nullptr;
    opened = opened && destination;
    RunLog log(paths.logFile);
    log.begin(sourceName(paths), destinationName(paths));

    ConversionResult result;
    const FormatSettings& s = format.settings;
    auto formatter = RecordFormatter::build(format);
    auto encoder = OutputEncoder::build(s);
    auto texts = encodeRunTexts(s, fieldNameRow);
    if (texts && encoder)
        texts = inOutputForm(*texts, *encoder);
    const LineRanges ranges{{decimalValue(s.excludeFrom), decimalValue(s.excludeTo)},
                            {decimalValue(s.writeAsIsFrom), decimalValue(s.writeAsIsTo)}};
    bool ok = false;
    try {
        ok = opened && formatter && encoder && texts &&
             convertLines(source, *destination, *formatter, *encoder, ranges, *texts,
                          result.recordCount, result.replacedCount, yielder);
    } catch (const std::bad_alloc&) {
        // Out of memory (a line too long to hold): a failed run like any other.
        ok = false;
        ++result.recordCount;
    }
    source.close();
    result.bytesRead = source.bytesRead();
    ok = ok && destination->commit();
    if (!ok && destination)
        destination->discard();

    // The log records the run; one that cannot be written undoes nothing.
    result.ok = ok;
    if (!ok)
        result.failure = failureOf(source, destination.get(), openError, paths);
    log.finish(ok ? t::completedText(result.recordCount) : t::failedText(result.recordCount));
    result.logProblem = log.problem();
    return result;
}

} // namespace quisk
