#pragma once

#include "common/file_io.h"
#include "engine/byte_buffer.h"

#include <condition_variable>
#include <mutex>
#include <string_view>
#include <thread>

namespace quisk {

// Writes blocks to a file on a second thread, so that the copy of one block
// into the file overlaps the formatting of the next. One block is in flight
// at a time.
class BlockWriter {
public:
    explicit BlockWriter(OutputFile& file);
    ~BlockWriter();
    BlockWriter(const BlockWriter&) = delete;
    BlockWriter& operator=(const BlockWriter&) = delete;

    // Waits until the previous block is written, then hands this one over;
    // it must stay untouched until the next call or finish(). False once a
    // write has failed.
    bool write(std::string_view block);
    // Waits until everything handed over is written and stops the thread.
    bool finish();

private:
    void run();

    OutputFile& file_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::string_view block_;
    bool pending_ = false;
    bool done_ = false;
    bool failed_ = false;
    std::thread thread_;
};

// The destination's pending bytes: records are written straight into a
// block, and a full block goes to the writer while the next one fills.
class PendingOutput {
public:
    static constexpr std::size_t kFlushSize = 1 << 20;

    explicit PendingOutput(OutputFile& file);

    // Room for n more bytes, valid until wrote() or the next call.
    char* room(std::size_t n);
    void wrote(char* end) { size_ = static_cast<std::size_t>(end - current().data()); }
    void append(std::string_view bytes);
    bool flushIfFull() { return size_ < kFlushSize || flush(); }
    bool flush();
    // Flushes what is left and waits until all of it is written.
    bool finish();

private:
    ByteBuffer& current() { return blocks_[current_]; }

    BlockWriter writer_;
    ByteBuffer blocks_[2] = {ByteBuffer(2 * kFlushSize), ByteBuffer(2 * kFlushSize)};
    int current_ = 0;
    std::size_t size_ = 0;
};

} // namespace quisk
