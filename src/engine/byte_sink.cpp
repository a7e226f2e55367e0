#include "byte_sink.h"

#include "common/file_io.h"
#include "engine/compression.h"

#include <cerrno>
#include <unistd.h>

namespace quisk {
namespace {

class FileSink final : public ByteSink {
public:
    bool open(const std::string& path) { return file_.open(path); }
    bool write(std::string_view bytes) override {
        bool ok = file_.write(bytes);
        written_ = file_.bytesWritten();
        return ok;
    }
    bool commit() override { return file_.commit(); }
    bool prepare() override { return file_.prepareCommit(); }
    void discard() override { file_.discard(); }
    int error() const override { return file_.error(); }
    bool replacing() const override { return file_.replacing(); }
    bool damaged() const override { return file_.damaged(); }

private:
    OutputFile file_;
};

class StandardOutputSink final : public ByteSink {
public:
    bool write(std::string_view bytes) override {
        while (!bytes.empty() && error_ == 0) {
            ssize_t n = ::write(STDOUT_FILENO, bytes.data(), bytes.size());
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                error_ = n < 0 ? errno : EIO;
            else {
                written_ += static_cast<std::size_t>(n);
                bytes.remove_prefix(static_cast<std::size_t>(n));
            }
        }
        return error_ == 0;
    }
    bool commit() override { return error_ == 0; }
    void discard() override {}
    int error() const override { return error_; }

private:
    int error_ = 0;
};

} // namespace

std::unique_ptr<ByteSink> openFileSink(const std::string& path, int& error) {
    auto file = std::make_unique<FileSink>();
    if (!file->open(path)) {
        error = file->error();
        return nullptr;
    }
    Compression compression = compressionForName(path);
    if (compression == Compression::None)
        return file;
    return compressing(std::move(file), compression);
}

std::unique_ptr<ByteSink> openStandardOutput() {
    return std::make_unique<StandardOutputSink>();
}

} // namespace quisk
