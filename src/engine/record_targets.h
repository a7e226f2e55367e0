#pragma once

#include "engine/byte_buffer.h"
#include "engine/byte_sink.h"
#include "engine/conversion.h"
#include "engine/output_encoding.h"
#include "engine/record_conversion.h"
#include "engine/record_formatter.h"
#include "engine/record_selection.h"
#include "engine/run_parts.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

// The destinations of a run of records and what one record stands for in
// each: shared by the loop over lines and the loop over fixed-length records.
namespace quisk {

struct RecordRange {
    long long from;
    long long to;
    bool contains(long long n) const { return from <= n && n <= to; }
};

// Output that grows to hold whatever is written to it.
class GrowingBlock final : public RecordSink {
public:
    static constexpr std::size_t kFirstSize = 1 << 20;

    char* room(std::size_t n) override {
        if (size_ + n > buffer_.size())
            buffer_.grow(std::max(2 * buffer_.size(), size_ + n));
        return buffer_.data() + size_;
    }
    void wrote(char* end) override { size_ = static_cast<std::size_t>(end - buffer_.data()); }
    std::string_view bytes() const { return {buffer_.data(), size_}; }
    void clear() { size_ = 0; }

private:
    ByteBuffer buffer_{kFirstSize};
    std::size_t size_ = 0;
};

// Everything one destination of the run needs.
struct Target {
    Target(const ConversionTarget& layout, RecordFormatter formatter, OutputEncoder encoder,
           RunTexts texts);

    const ConversionTarget& layout;
    const RecordFormatter formatter;
    const OutputEncoder encoder;
    const RunTexts texts;
    RecordRange exclude{};
    RecordRange writeAsIs{};
    std::optional<RecordSelection> selection;
    std::unique_ptr<ByteSink> sink; // once opened
    int openError = 0;              // why it could not be opened
    long long replaced = 0;         // U+FFFD written
    long long skipped = 0;          // records the selection left out
};

using Targets = std::vector<std::unique_ptr<Target>>;

// Builds each target's pieces; empty when a format cannot be used, with
// failure saying why when it is the selection.
std::optional<Targets> buildTargets(const std::vector<ConversionTarget>& layouts,
                                    RunFailure& failure);

enum class Outcome { Written, Unformattable };

// Writes what record number stands for in target to out: nothing when it is
// excluded or not selected (counted in skipped), itself when written as is,
// else its formatted record; each followed by CR LF. The formatter's slack
// after the record must be readable.
Outcome writeRecord(const Target& target, std::string_view record, long long number,
                    RecordSink& out, long long& skipped);

// Where a loop over the records stopped.
struct LoopEnd {
    bool ok = true;
    Target* unformattable = nullptr; // a format that could not cut a record
    Target* unwritable = nullptr;    // a destination that could not be written
};

// The loop over a fixed-length source: each run of records is cut in two,
// both halves are formatted at once, and the output goes to a writer thread
// while the next run is formatted. count gets the records read,
// lastRecordBytes the size of the last one.
LoopEnd convertFixedRecords(class FixedRecordReader& source, Targets& targets, long long& count,
                            long long& lastRecordBytes, Yielder& yielder);

} // namespace quisk
