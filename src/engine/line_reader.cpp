#include "line_reader.h"

#include <algorithm>
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
        error_ = fd_ >= 0 && S_ISDIR(st.st_mode) ? EISDIR : errno;
        close();
        return false;
    }
    ::posix_fadvise(fd_, 0, 0, POSIX_FADV_SEQUENTIAL);
    buffer_ = ByteBuffer(kBlockSize + kSlack);
    begin_ = end_ = scanned_ = 0;
    eof_ = failed_ = skipLineFeed_ = skippedLineFeed_ = false;
    error_ = 0;
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
    // than the buffer. Reads stay block-sized even when the buffer has grown,
    // so the runs after a long line are ordinary again.
    if (begin_ > 0) {
        std::memmove(buffer_.data(), buffer_.data() + begin_, end_ - begin_);
        end_ -= begin_;
        scanned_ -= begin_;
        begin_ = 0;
    }
    if (buffer_.size() - kSlack - end_ < kBlockSize / 2)
        buffer_.grow(2 * buffer_.size());
    const std::size_t wanted = std::min(kBlockSize, buffer_.size() - kSlack - end_);
    for (;;) {
        ssize_t n = ::read(fd_, buffer_.data() + end_, wanted);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            failed_ = true;
            error_ = errno;
        } else if (n == 0)
            eof_ = true;
        else
            end_ += static_cast<std::size_t>(n);
        return n > 0;
    }
}

bool LineReader::nextLines(std::string_view& lines) {
    skippedLineFeed_ = false;
    for (;;) {
        if (begin_ == end_ && !fill())
            return false;
        const char* base = buffer_.data();
        if (skipLineFeed_) {
            skipLineFeed_ = false;
            skippedLineFeed_ = base[begin_] == '\n';
            if (skippedLineFeed_ && ++begin_ == end_)
                continue;
        }
        // Only the bytes read since the last look can hold a line end.
        const std::size_t from = std::max(begin_, scanned_);
        const void* cr = ::memrchr(base + from, '\r', end_ - from);
        scanned_ = end_;
        if (cr) {
            std::size_t stop = static_cast<std::size_t>(static_cast<const char*>(cr) - base) + 1;
            if (stop < end_ && base[stop] == '\n')
                ++stop;
            else if (stop == end_)
                skipLineFeed_ = true; // its line feed, if any, is not read yet
            lines = std::string_view(base + begin_, stop - begin_);
            begin_ = stop;
            return true;
        }
        // No line end yet: the line goes on in the next read, or it is the
        // file's last line.
        if (!fill()) {
            if (failed_)
                return false;
            lines = std::string_view(buffer_.data() + begin_, end_ - begin_);
            begin_ = end_;
            return true;
        }
    }
}

} // namespace quisk
