#include "engine/fixed_record_reader.h"
#include "engine/record_targets.h"
#include "engine/worker.h"

#include <atomic>
#include <new>

namespace quisk {
namespace {

// Runs smaller than this are formatted on one core: splitting them would
// cost more than it saves.
constexpr std::size_t kSplitThreshold = 64 * 1024;

// The output of one half of a run: a block and a skip count per target.
struct HalfOutput {
    std::vector<GrowingBlock> blocks;
    std::vector<long long> skipped;
    long long failedAt = 0; // the number of a record a format could not cut
    Target* failedTarget = nullptr;

    explicit HalfOutput(std::size_t targets) : blocks(targets), skipped(targets) {}
    void clear() {
        for (GrowingBlock& block : blocks)
            block.clear();
        std::fill(skipped.begin(), skipped.end(), 0);
        failedAt = 0;
        failedTarget = nullptr;
    }
};

void formatHalf(std::string_view records, const FixedRecordReader& source, long long firstNumber,
                Targets& targets, HalfOutput& out) {
    out.clear();
    FixedRecordCursor cursor(records, source.recordLength(), source.stride());
    std::string_view record;
    for (long long number = firstNumber; cursor.next(record); ++number) {
        for (std::size_t i = 0; i < targets.size(); ++i) {
            if (writeRecord(*targets[i], record, number, out.blocks[i], out.skipped[i]) ==
                Outcome::Unformattable) {
                out.failedAt = number;
                out.failedTarget = targets[i].get();
                return;
            }
        }
    }
}

// The records of a run and the size of its last one.
std::pair<long long, long long> recordsIn(std::string_view run, const FixedRecordReader& source) {
    const std::size_t whole = run.size() / source.stride();
    FixedRecordCursor tail(run.substr(whole * source.stride()), source.recordLength(),
                           source.stride());
    std::string_view last;
    if (tail.next(last))
        return {static_cast<long long>(whole) + 1, static_cast<long long>(last.size())};
    return {static_cast<long long>(whole), static_cast<long long>(source.recordLength())};
}

// Writes both halves of a run to every destination on the writer thread,
// each block put into its target's output encoding first.
class HalvesWriter {
public:
    explicit HalvesWriter(Targets& targets) : targets_(targets), encoded_(targets.size()) {}
    ~HalvesWriter() { writer_.wait(); }

    void write(const HalfOutput& first, const HalfOutput& second) {
        writer_.post([this, &first, &second] {
            for (std::size_t i = 0; i < targets_.size() && !failed_; ++i) {
                Target& target = *targets_[i];
                for (const HalfOutput* half : {&first, &second}) {
                    auto bytes = target.encoder.encode(half->blocks[i].bytes(), encoded_[i],
                                                       target.replaced);
                    if (!target.sink->write(bytes)) {
                        failedTarget_ = &target;
                        failed_ = true;
                        break;
                    }
                }
            }
        });
    }
    void wait() { writer_.wait(); }
    bool failed() const { return failed_; }
    Target* failedTarget() const { return failedTarget_; } // after wait()

private:
    Targets& targets_;
    std::vector<ByteBuffer> encoded_;
    std::atomic<bool> failed_{false};
    Target* failedTarget_ = nullptr;
    Worker writer_;
};

} // namespace

LoopEnd convertFixedRecords(FixedRecordReader& source, Targets& targets, long long& count,
                            long long& lastRecordBytes, Yielder& yielder) {
    // Two sets of halves: one formatted while the writer holds the other.
    // The workers are declared after them, so they finish with them first.
    std::vector<HalfOutput> halves;
    for (int i = 0; i < 4; ++i)
        halves.emplace_back(targets.size());
    Worker helper;
    HalvesWriter writer(targets);
    int turn = 0;
    std::string_view run;
    while (source.nextRecords(run)) {
        const std::size_t stride = source.stride();
        const std::size_t firstRecords =
            run.size() < kSplitThreshold ? run.size() / stride + 1 : run.size() / stride / 2;
        const std::string_view first = run.substr(0, std::min(run.size(), firstRecords * stride));
        const std::string_view second = run.substr(first.size());
        HalfOutput& firstOut = halves[2 * turn];
        HalfOutput& secondOut = halves[2 * turn + 1];
        const long long firstNumber = count + 1;
        bool helperOutOfMemory = false;
        secondOut.clear();
        if (!second.empty())
            helper.post([&, second] {
                try {
                    formatHalf(second, source, firstNumber + static_cast<long long>(firstRecords),
                               targets, secondOut);
                } catch (const std::bad_alloc&) {
                    helperOutOfMemory = true;
                }
            });
        formatHalf(first, source, firstNumber, targets, firstOut);
        helper.wait();
        if (helperOutOfMemory)
            throw std::bad_alloc();
        for (HalfOutput* half : {&firstOut, &secondOut}) {
            if (half->failedAt) {
                count = half->failedAt;
                writer.wait();
                return {false, half->failedTarget, nullptr};
            }
        }
        const auto [records, lastBytes] = recordsIn(run, source);
        count += records;
        lastRecordBytes = lastBytes;
        for (std::size_t i = 0; i < targets.size(); ++i)
            targets[i]->skipped += firstOut.skipped[i] + secondOut.skipped[i];
        writer.write(firstOut, secondOut);
        if (writer.failed())
            break;
        turn = 1 - turn;
        yielder.ifDue();
    }
    writer.wait();
    if (writer.failed())
        return {false, nullptr, writer.failedTarget()};
    return {!source.failed(), nullptr, nullptr};
}

} // namespace quisk
