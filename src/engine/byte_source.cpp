#include "byte_source.h"

#include "engine/decompression.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace quisk {
namespace {

// A file descriptor read as it is. The first bytes can be looked at before
// anything is read, as a pipe cannot be rewound.
class DescriptorSource final : public ByteSource {
public:
    DescriptorSource(int fd, bool owned) : fd_(fd), owned_(owned) {}
    ~DescriptorSource() override {
        if (owned_)
            ::close(fd_);
    }
    DescriptorSource(const DescriptorSource&) = delete;
    DescriptorSource& operator=(const DescriptorSource&) = delete;

    // Up to n first bytes, fewer only when the data end sooner; empty too
    // on a read failure, which the next read() reports.
    std::string_view peek(std::size_t n) {
        while (looked_.size() < n) {
            char buffer[kCompressionHeaderSize];
            long got = readDescriptor(buffer, std::min(sizeof buffer, n - looked_.size()));
            if (got <= 0)
                break;
            looked_.append(buffer, static_cast<std::size_t>(got));
        }
        return looked_;
    }

    long read(char* to, std::size_t size) override {
        if (error() != 0)
            return -1;
        if (!looked_.empty()) {
            std::size_t n = std::min(size, looked_.size());
            std::memcpy(to, looked_.data(), n);
            looked_.erase(0, n);
            return static_cast<long>(n);
        }
        return readDescriptor(to, size);
    }

private:
    long readDescriptor(char* to, std::size_t size) {
        for (;;) {
            ssize_t n = ::read(fd_, to, size);
            if (n >= 0)
                return static_cast<long>(n);
            if (errno != EINTR)
                return fail(errno);
        }
    }

    int fd_;
    bool owned_;
    std::string looked_;
};

std::unique_ptr<ByteSource> decompressedIfNeeded(std::unique_ptr<DescriptorSource> raw) {
    Compression compression = compressionOf(raw->peek(kCompressionHeaderSize));
    if (compression == Compression::None)
        return raw;
    return decompressing(std::move(raw), compression);
}

} // namespace

std::unique_ptr<ByteSource> openFileSource(const std::string& path, int& error) {
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    struct stat st {};
    if (fd < 0 || ::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
        error = fd >= 0 && S_ISDIR(st.st_mode) ? EISDIR : errno;
        if (fd >= 0)
            ::close(fd);
        return nullptr;
    }
    ::posix_fadvise(fd, 0, 0, POSIX_FADV_SEQUENTIAL);
    return decompressedIfNeeded(std::make_unique<DescriptorSource>(fd, true));
}

std::unique_ptr<ByteSource> openStandardInput() {
    return decompressedIfNeeded(std::make_unique<DescriptorSource>(STDIN_FILENO, false));
}

} // namespace quisk
