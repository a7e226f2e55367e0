#include "pending_output.h"

#include <algorithm>
#include <cstring>

namespace quisk {

BlockWriter::BlockWriter(OutputFile& file) : file_(file), thread_([this] { run(); }) {}

BlockWriter::~BlockWriter() { finish(); }

bool BlockWriter::write(std::string_view block) {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return !pending_; });
    if (failed_)
        return false;
    block_ = block;
    pending_ = true;
    changed_.notify_all();
    return true;
}

bool BlockWriter::finish() {
    {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return !pending_; });
        done_ = true;
        changed_.notify_all();
    }
    if (thread_.joinable())
        thread_.join();
    return !failed_;
}

void BlockWriter::run() {
    std::unique_lock lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] { return pending_ || done_; });
        if (!pending_)
            return;
        std::string_view block = block_;
        lock.unlock();
        bool ok = file_.write(block);
        lock.lock();
        failed_ = failed_ || !ok;
        pending_ = false;
        changed_.notify_all();
    }
}

PendingOutput::PendingOutput(OutputFile& file) : writer_(file) {}

char* PendingOutput::room(std::size_t n) {
    ByteBuffer& block = current();
    if (size_ + n > block.size())
        block.grow(std::max(2 * block.size(), size_ + n), size_);
    return block.data() + size_;
}

void PendingOutput::append(std::string_view bytes) {
    char* at = room(bytes.size());
    std::memcpy(at, bytes.data(), bytes.size());
    wrote(at + bytes.size());
}

bool PendingOutput::flush() {
    bool ok = writer_.write(std::string_view(current().data(), size_));
    // The writer has finished with the other block before taking this one.
    current_ = 1 - current_;
    size_ = 0;
    return ok;
}

bool PendingOutput::finish() {
    bool flushed = flush();
    return writer_.finish() && flushed;
}

} // namespace quisk
