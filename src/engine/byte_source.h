#pragma once

#include <cstddef>
#include <memory>
#include <string>

namespace quisk {

// Where the bytes of a source come from: a file or standard input, read as
// they are or decompressed on the way. Readers ask for bytes and never see
// which.
class ByteSource {
public:
    virtual ~ByteSource() = default;
    // Reads up to size bytes (size > 0) into to. Returns how many, 0 at the
    // end of the data, or -1 on a failure that error() then explains.
    virtual long read(char* to, std::size_t size) = 0;
    // An errno value, kCompressedDataBroken or kCompressedDataTruncated.
    int error() const { return error_; }

protected:
    long fail(int error) {
        error_ = error;
        return -1;
    }

private:
    int error_ = 0;
};

// The file at path, for reading from its start; empty with error set when
// it cannot be opened or is a folder. A file that begins with a gzip or zstd
// header is decompressed while it is read.
std::unique_ptr<ByteSource> openFileSource(const std::string& path, int& error);

// Standard input, decompressed the same way. Its descriptor stays open.
std::unique_ptr<ByteSource> openStandardInput();

} // namespace quisk
