#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quisk {

// True when path names an ordinary file (following links); a directory,
// FIFO or device does not count.
bool isRegularFile(const std::string& path);

// The whole content of a regular file, or empty when it cannot be read.
std::optional<std::string> readWholeFile(const std::string& path);

// A file being written so that a failure never leaves it half-written: a
// regular file (or a new one) is written to a temporary file beside it and
// moved into place by commit(); until then the previous file stays intact.
// Something that is not a regular file (a FIFO, a device) is written
// directly, since it cannot be replaced.
class OutputFile {
public:
    OutputFile() = default;
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;
    ~OutputFile(); // discards an uncommitted temporary file

    bool open(const std::string& path);
    bool write(std::string_view bytes);
    // Closes the file and moves it into place. With durable set, the data
    // is flushed to the disk first.
    bool commit(bool durable = false);
    // Closes and removes the temporary file; the target stays as it was.
    void discard();

private:
    void reserveFor(std::size_t more);

    int fd_ = -1;
    std::string target_;
    std::string temporary_; // empty when writing the target directly
    std::size_t written_ = 0;
    std::size_t reserved_ = 0; // disk space allocated ahead of the writes
    bool reserving_ = false;   // only for a temporary file, while it works
};

// Writes bytes to path through OutputFile, durably.
bool writeFileAtomically(const std::string& path, std::string_view bytes);

} // namespace quisk
