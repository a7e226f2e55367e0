#pragma once

#include "engine/byte_buffer.h"
#include "engine/byte_source.h"

#include <memory>
#include <string>
#include <string_view>

namespace quisk {

// Reads a file or stream in large blocks of whole lines, without converting anything.
// A line ends at a carriage return, a carriage return + line feed, or the
// end of the file; a lone line feed stays inside the line. Memory use is the
// block size plus the longest line.
class LineReader {
public:
    // Blocks of this size keep a run's lines, their records and those in the
    // output encoding together within a core's second-level cache: reading a
    // megabyte at a time made the UTF-8 runs a tenth slower.
    static constexpr std::size_t kBlockSize = 256 << 10;
    // Bytes after every block that may be read (never part of any line), so
    // that short fields can be copied with a fixed-size move.
    static constexpr std::size_t kSlack = 16;

    LineReader() = default;
    LineReader(const LineReader&) = delete;
    LineReader& operator=(const LineReader&) = delete;
    ~LineReader();

    // Opens the file at path (decompressed when it is compressed).
    bool open(const std::string& path);
    // Reads from source instead; false when there is none.
    bool open(std::unique_ptr<ByteSource> source);
    void close();

    // The next run of whole lines, each with its line end; only the file's
    // last line may have none. A run never begins with the line feed of a
    // carriage return that ended the previous run. Valid until the next call.
    // False at the end of the file or on a read error (see failed()).
    bool nextLines(std::string_view& lines);
    bool failed() const { return failed_; }
    int error() const { return error_; } // why open() or a read failed
    // The bytes read so far (after decompression).
    long long bytesRead() const { return bytesRead_; }
    // Whether the last call skipped a line feed after the carriage return
    // that ended the run before: tells a run ending in a carriage return
    // from one ending in CR LF, once the next call has been made.
    bool skippedLineFeed() const { return skippedLineFeed_; }

private:
    bool fill(); // reads more bytes behind the unread ones; false at end or error

    std::unique_ptr<ByteSource> source_;
    ByteBuffer buffer_;
    std::size_t begin_ = 0;
    std::size_t end_ = 0;
    std::size_t scanned_ = 0; // bytes before this hold no line end
    bool eof_ = false;
    bool failed_ = false;
    int error_ = 0;
    long long bytesRead_ = 0;
    bool skipLineFeed_ = false;
    bool skippedLineFeed_ = false;
};

// Walks the lines of a run that LineReader returned.
class LineCursor {
public:
    explicit LineCursor(std::string_view lines) : rest_(lines) {}

    // The next line without its line end; false after the last one.
    bool next(std::string_view& line) {
        if (rest_.empty())
            return false;
        std::size_t cr = rest_.find('\r');
        if (cr == std::string_view::npos) {
            line = rest_;
            rest_ = {};
            return true;
        }
        line = rest_.substr(0, cr);
        std::size_t skip = cr + 1 < rest_.size() && rest_[cr + 1] == '\n' ? cr + 2 : cr + 1;
        rest_.remove_prefix(skip);
        return true;
    }

private:
    std::string_view rest_;
};

} // namespace quisk
