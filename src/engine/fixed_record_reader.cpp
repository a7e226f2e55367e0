#include "fixed_record_reader.h"

#include <algorithm>
#include <cstring>

namespace quisk {

bool FixedRecordReader::open(const std::string& path) {
    int error = 0;
    auto source = openFileSource(path, error);
    if (!source) {
        close();
        error_ = error;
        return false;
    }
    return open(std::move(source));
}

bool FixedRecordReader::open(std::unique_ptr<ByteSource> source) {
    source_ = std::move(source);
    // Room for at least two records and their line ends, so that the first
    // record's line end can be seen and every run holds a whole record.
    capacity_ = std::max(kBlockSize, 2 * (length_ + 2));
    buffer_ = ByteBuffer(capacity_ + kSlack);
    begin_ = end_ = stride_ = 0;
    bytesRead_ = 0;
    eof_ = failed_ = false;
    error_ = 0;
    return source_ != nullptr;
}

bool FixedRecordReader::fill() {
    if (begin_ > 0) {
        std::memmove(buffer_.data(), buffer_.data() + begin_, end_ - begin_);
        end_ -= begin_;
        begin_ = 0;
    }
    while (!eof_ && end_ < capacity_) {
        long n = source_->read(buffer_.data() + end_, capacity_ - end_);
        if (n < 0) {
            failed_ = true;
            error_ = source_->error();
            return false;
        }
        if (n == 0)
            eof_ = true;
        end_ += static_cast<std::size_t>(n);
        bytesRead_ += n;
    }
    return true;
}

void FixedRecordReader::detectLineEnds() {
    stride_ = fixedRecordStride(std::string_view(buffer_.data(), end_), length_);
}

bool FixedRecordReader::nextRecords(std::string_view& records) {
    if (!source_ || failed_ || !fill())
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
