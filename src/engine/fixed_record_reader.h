#pragma once

#include "engine/byte_buffer.h"
#include "engine/byte_source.h"

#include <memory>
#include <string>
#include <string_view>

namespace quisk {

// The bytes from one record's start to the next one's in a file of records of
// recordLength bytes that starts with head: the first record decides for the
// whole file, and a CR LF right after it means that every record carries one.
inline std::size_t fixedRecordStride(std::string_view head, std::size_t recordLength) {
    const bool crlf =
        head.size() >= recordLength + 2 && head.substr(recordLength, 2) == std::string_view("\r\n");
    return crlf ? recordLength + 2 : recordLength;
}

// Reads a file or stream of fixed-length records in large runs of whole records,
// cutting it every recordLength bytes whatever the bytes are: a carriage
// return or line feed inside a record is data. When the first record is
// followed by CR LF, every record is taken to carry one (see lineEnds()).
// The file's last record may be short.
class FixedRecordReader {
public:
    static constexpr std::size_t kBlockSize = 1 << 20;
    // Bytes after every run that may be read (never part of any record), so
    // that short fields can be copied with a fixed-size move.
    static constexpr std::size_t kSlack = 16;

    explicit FixedRecordReader(std::size_t recordLength) : length_(recordLength) {}
    FixedRecordReader(const FixedRecordReader&) = delete;
    FixedRecordReader& operator=(const FixedRecordReader&) = delete;

    // Opens the file at path (decompressed when it is compressed).
    bool open(const std::string& path);
    // Reads from source instead; false when there is none.
    bool open(std::unique_ptr<ByteSource> source);
    void close() { source_.reset(); }

    // The next run of whole records, each with its CR LF when the file has
    // them; only the file's last record may be shorter. Valid until the next
    // call. False at the end of the file or on a read error (see failed()).
    bool nextRecords(std::string_view& records);
    bool failed() const { return failed_; }
    int error() const { return error_; } // why open() or a read failed
    // The bytes read so far (after decompression).
    long long bytesRead() const { return bytesRead_; }

    std::size_t recordLength() const { return length_; }
    // Whether every record is followed by CR LF; known after the first run.
    bool lineEnds() const { return stride_ > length_; }
    // The bytes from one record's start to the next one's.
    std::size_t stride() const { return stride_; }

private:
    bool fill(); // reads until the buffer is full or the file ends
    void detectLineEnds();

    std::size_t length_;
    std::size_t stride_ = 0; // 0 until the first run
    std::unique_ptr<ByteSource> source_;
    ByteBuffer buffer_;
    std::size_t capacity_ = 0; // of buffer_, without the slack
    std::size_t begin_ = 0;
    std::size_t end_ = 0;
    bool eof_ = false;
    bool failed_ = false;
    int error_ = 0;
    long long bytesRead_ = 0;
};

// Walks the records of a run that FixedRecordReader returned.
class FixedRecordCursor {
public:
    FixedRecordCursor(std::string_view records, std::size_t length, std::size_t stride)
        : rest_(records), length_(length), stride_(stride) {}

    // The next record without its CR LF; false after the last one. The last
    // record of a file may be short; a CR LF that ends it is not part of it.
    bool next(std::string_view& record) {
        if (rest_.size() >= stride_) {
            record = rest_.substr(0, length_);
            rest_.remove_prefix(stride_);
            return true;
        }
        std::string_view last = rest_;
        rest_ = {};
        if (stride_ > length_ && last.ends_with("\r\n"))
            last.remove_suffix(2);
        record = last.substr(0, length_);
        return !record.empty();
    }

private:
    std::string_view rest_;
    std::size_t length_;
    std::size_t stride_;
};

} // namespace quisk
