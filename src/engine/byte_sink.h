#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

namespace quisk {

// Where the bytes of a destination go: a file that is put into place only
// when complete, standard output, and either compressed on the way.
class ByteSink {
public:
    virtual ~ByteSink() = default;
    // False once a write has failed; error() then says why.
    virtual bool write(std::string_view bytes) = 0;
    // Completes the output: a file is put into place, compressed data are
    // ended. False on failure.
    virtual bool commit() = 0;
    // Does all of commit() that can fail before anything is put into place
    // (compressed data ended, a file flushed and named beside its target),
    // so that of several destinations none is put into place unless all
    // can be. commit() then follows; on failure, discard().
    virtual bool prepare() { return error() == 0; }
    // Drops what was written, where that is possible: a file stays as it was.
    virtual void discard() = 0;

    virtual int error() const = 0;
    // An existing file is being replaced, and whether its in-place copy
    // failed half-way (see OutputFile).
    virtual bool replacing() const { return false; }
    virtual bool damaged() const { return false; }
    // The bytes given to write() so far, before any compression.
    std::size_t bytesWritten() const { return written_; }

protected:
    std::size_t written_ = 0;
};

// The file at path, written through OutputFile; compressed with gzip when
// its name ends in ".gz", with zstd when it ends in ".zst". Empty with
// error set when it cannot be opened.
std::unique_ptr<ByteSink> openFileSink(const std::string& path, int& error);

// Standard output. Nothing written can be taken back: discard() does
// nothing, and a failed run leaves what it wrote with the reader.
std::unique_ptr<ByteSink> openStandardOutput();

} // namespace quisk
