#include "line_reader.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quisk {

LineReader::~LineReader() { close(); }

bool LineReader::open(const std::string& path) {
    close();
    fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    struct stat st {};
    if (fd_ < 0 || ::fstat(fd_, &st) != 0 || S_ISDIR(st.st_mode)) {
        close();
        return false;
    }
    ::posix_fadvise(fd_, 0, 0, POSIX_FADV_SEQUENTIAL);
    buffer_ = ByteBuffer(kBlockSize + kSlack);
    begin_ = end_ = 0;
    eof_ = failed_ = skipLineFeed_ = false;
    return true;
}

void LineReader::close() {
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
}

bool LineReader::fill() {
    if (eof_ || failed_ || fd_ < 0)
        return false;
    // Keep the unread bytes, moved to the front; grow only for a line longer
    // than the buffer.
    if (begin_ > 0) {
        std::memmove(buffer_.data(), buffer_.data() + begin_, end_ - begin_);
        end_ -= begin_;
        begin_ = 0;
    }
    if (buffer_.size() - kSlack - end_ < kBlockSize / 2)
        buffer_.grow(2 * buffer_.size(), end_);
    for (;;) {
        ssize_t n = ::read(fd_, buffer_.data() + end_, buffer_.size() - kSlack - end_);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            failed_ = true;
        else if (n == 0)
            eof_ = true;
        else
            end_ += static_cast<std::size_t>(n);
        return n > 0;
    }
}

bool LineReader::next(std::string_view& line) {
    if (begin_ == end_ && !fill())
        return false;
    if (skipLineFeed_) {
        skipLineFeed_ = false;
        if (buffer_.data()[begin_] == '\n' && ++begin_ == end_ && !fill())
            return false;
    }
    std::size_t searched = begin_;
    for (;;) {
        const char* base = buffer_.data();
        const void* cr = std::memchr(base + searched, '\r', end_ - searched);
        if (cr) {
            std::size_t at = static_cast<std::size_t>(static_cast<const char*>(cr) - base);
            line = std::string_view(base + begin_, at - begin_);
            begin_ = at + 1;
            skipLineFeed_ = true;
            return true;
        }
        std::size_t unread = end_ - begin_;
        if (!fill()) {
            if (failed_)
                return false;
            line = std::string_view(buffer_.data() + begin_, end_ - begin_);
            begin_ = end_;
            return true;
        }
        searched = begin_ + unread;
    }
}

} // namespace quisk
