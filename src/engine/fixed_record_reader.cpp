#include "fixed_record_reader.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quisk {

FixedRecordReader::~FixedRecordReader() {
    close();
}

bool FixedRecordReader::open(const std::string& path) {
    close();
    fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    struct stat st {};
    if (fd_ < 0 || ::fstat(fd_, &st) != 0 || S_ISDIR(st.st_mode)) {
        error_ = fd_ >= 0 && S_ISDIR(st.st_mode) ? EISDIR : errno;
        close();
        return false;
    }
    ::posix_fadvise(fd_, 0, 0, POSIX_FADV_SEQUENTIAL);
    // Room for at least two records and their line ends, so that the first
    // record's line end can be seen and every run holds a whole record.
    capacity_ = std::max(kBlockSize, 2 * (length_ + 2));
    buffer_ = ByteBuffer(capacity_ + kSlack);
    begin_ = end_ = stride_ = 0;
    eof_ = failed_ = false;
    error_ = 0;
    return true;
}

void FixedRecordReader::close() {
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
}

bool FixedRecordReader::fill() {
    if (begin_ > 0) {
        std::memmove(buffer_.data(), buffer_.data() + begin_, end_ - begin_);
        end_ -= begin_;
        begin_ = 0;
    }
    while (!eof_ && end_ < capacity_) {
        ssize_t n = ::read(fd_, buffer_.data() + end_, capacity_ - end_);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            failed_ = true;
            error_ = errno;
            return false;
        }
        if (n == 0)
            eof_ = true;
        end_ += static_cast<std::size_t>(n);
    }
    return true;
}

// The first record decides for the whole file: a CR LF right after it means
// that every record carries one.
void FixedRecordReader::detectLineEnds() {
    const char* at = buffer_.data() + length_;
    const bool crlf = end_ >= length_ + 2 && at[0] == '\r' && at[1] == '\n';
    stride_ = crlf ? length_ + 2 : length_;
}

bool FixedRecordReader::nextRecords(std::string_view& records) {
    if (fd_ < 0 || failed_ || !fill())
        return false;
    if (stride_ == 0)
        detectLineEnds();
    const std::size_t unread = end_ - begin_;
    // At the end of the file the rest is the last record, however short.
    const std::size_t whole = eof_ ? unread : unread / stride_ * stride_;
    if (whole == 0)
        return false;
    records = std::string_view(buffer_.data() + begin_, whole);
    begin_ += whole;
    return true;
}

} // namespace quisk
