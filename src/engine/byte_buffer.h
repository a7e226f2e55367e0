#pragma once

#include <cstddef>
#include <cstdlib>
#include <new>
#include <utility>

namespace quisk {

// Growable storage for bytes that are always written before they are used.
// Unlike a vector it never clears what it allocates, so a large block costs
// only the pages that are actually touched, and it grows in place where the
// allocator can (large blocks are remapped, not copied), so growing to hold
// a very long line never needs the old and the new block at once.
// Running out of memory throws std::bad_alloc.
class ByteBuffer {
public:
    explicit ByteBuffer(std::size_t size = 0) { grow(size); }
    ~ByteBuffer() { std::free(data_); }
    ByteBuffer(ByteBuffer&& other) noexcept : data_(other.data_), size_(other.size_) {
        other.data_ = nullptr;
        other.size_ = 0;
    }
    ByteBuffer& operator=(ByteBuffer&& other) noexcept {
        std::swap(data_, other.data_);
        std::swap(size_, other.size_);
        return *this;
    }

    char* data() { return data_; }
    const char* data() const { return data_; }
    std::size_t size() const { return size_; }

    // Grows to at least size bytes, keeping what it holds.
    void grow(std::size_t size) {
        if (size <= size_ && data_)
            return;
        void* bigger = std::realloc(data_, size == 0 ? 1 : size);
        if (!bigger)
            throw std::bad_alloc();
        data_ = static_cast<char*>(bigger);
        size_ = size;
    }

private:
    char* data_ = nullptr;
    std::size_t size_ = 0;
};

} // namespace quisk
