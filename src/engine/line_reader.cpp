#include "line_reader.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace quisk {

LineReader::~LineReader() { close(); }

bool LineReader::open(const std::string& path) {
    int error = 0;
    auto source = openFileSource(path, error);
    if (!source) {
        close();
        error_ = error;
        return false;
    }
    return open(std::move(source));
}

bool LineReader::open(std::unique_ptr<ByteSource> source) {
    source_ = std::move(source);
    buffer_ = ByteBuffer(kBlockSize + kSlack);
    begin_ = end_ = scanned_ = 0;
    bytesRead_ = 0;
    eof_ = failed_ = skipLineFeed_ = skippedLineFeed_ = false;
    error_ = 0;
    return source_ != nullptr;
}

void LineReader::close() { source_.reset(); }

bool LineReader::fill() {
    if (eof_ || failed_ || !source_)
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
    long n = source_->read(buffer_.data() + end_, wanted);
    if (n < 0) {
        failed_ = true;
        error_ = source_->error();
    } else if (n == 0)
        eof_ = true;
    else {
        end_ += static_cast<std::size_t>(n);
        bytesRead_ += n;
    }
    return n > 0;
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
