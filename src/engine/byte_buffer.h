#pragma once

#include <cstddef>
#include <cstring>
#include <memory>

namespace quisk {

// Growable storage for bytes that are always written before they are used.
// Unlike a vector it never clears what it allocates, so a large block costs
// only the pages that are actually touched.
class ByteBuffer {
public:
    explicit ByteBuffer(std::size_t size = 0) : data_(new char[size]), size_(size) {}

    char* data() { return data_.get(); }
    const char* data() const { return data_.get(); }
    std::size_t size() const { return size_; }

    // Grows to at least size bytes, keeping the first keep bytes.
    void grow(std::size_t size, std::size_t keep) {
        if (size <= size_)
            return;
        std::unique_ptr<char[]> bigger(new char[size]);
        std::memcpy(bigger.get(), data_.get(), keep);
        data_ = std::move(bigger);
        size_ = size;
    }

private:
    std::unique_ptr<char[]> data_;
    std::size_t size_;
};

} // namespace quisk
