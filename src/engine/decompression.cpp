#include "decompression.h"

#include "common/file_io.h"
#include "engine/byte_buffer.h"
#include "engine/worker.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <zlib.h>
#include <zstd.h>
#include <zstd_errors.h>

namespace quisk {
namespace {

constexpr std::size_t kInputSize = 256 * 1024;
constexpr std::size_t kAheadSize = 1 << 20;

// gzip data, member after member as a concatenation of .gz files has them.
// Whatever follows a member must be another member.
class GzipSource final : public ByteSource {
public:
    explicit GzipSource(std::unique_ptr<ByteSource> in) : in_(std::move(in)), input_(kInputSize) {
        ready_ = ::inflateInit2(&stream_, 15 + 16) == Z_OK; // 16: a gzip header, not zlib
    }
    ~GzipSource() override {
        if (ready_)
            ::inflateEnd(&stream_);
    }
    GzipSource(const GzipSource&) = delete;
    GzipSource& operator=(const GzipSource&) = delete;

    long read(char* to, std::size_t size) override {
        if (!ready_)
            return fail(ENOMEM);
        stream_.next_out = reinterpret_cast<Bytef*>(to);
        stream_.avail_out = static_cast<uInt>(std::min<std::size_t>(size, 1u << 30));
        const uInt room = stream_.avail_out;
        for (;;) {
            if (!memberDone_ || stream_.avail_in > 0) {
                if (memberDone_) {
                    ::inflateReset(&stream_);
                    memberDone_ = false;
                }
                int result = ::inflate(&stream_, Z_NO_FLUSH);
                if (result == Z_STREAM_END)
                    memberDone_ = true;
                else if (result == Z_MEM_ERROR)
                    return fail(ENOMEM);
                else if (result != Z_OK && result != Z_BUF_ERROR)
                    return fail(kCompressedDataBroken);
            }
            if (stream_.avail_out < room)
                return static_cast<long>(room - stream_.avail_out);
            if (stream_.avail_in > 0)
                continue;
            long got = in_->read(input_.data(), input_.size());
            if (got < 0)
                return fail(in_->error());
            if (got == 0)
                return memberDone_ ? 0 : fail(kCompressedDataTruncated);
            stream_.next_in = reinterpret_cast<Bytef*>(input_.data());
            stream_.avail_in = static_cast<uInt>(got);
        }
    }

private:
    std::unique_ptr<ByteSource> in_;
    ByteBuffer input_;
    z_stream stream_{};
    bool ready_ = false;
    bool memberDone_ = false;
};

// zstd data: any number of frames, skippable ones included.
class ZstdSource final : public ByteSource {
public:
    explicit ZstdSource(std::unique_ptr<ByteSource> in)
        : in_(std::move(in)), input_(kInputSize), stream_(::ZSTD_createDStream()) {}
    ~ZstdSource() override { ::ZSTD_freeDStream(stream_); }
    ZstdSource(const ZstdSource&) = delete;
    ZstdSource& operator=(const ZstdSource&) = delete;

    long read(char* to, std::size_t size) override {
        if (!stream_)
            return fail(ENOMEM);
        ZSTD_outBuffer out{to, size, 0};
        for (;;) {
            const std::size_t before = pending_.pos;
            std::size_t result = ::ZSTD_decompressStream(stream_, &out, &pending_);
            if (::ZSTD_isError(result))
                return fail(::ZSTD_getErrorCode(result) == ZSTD_error_memory_allocation
                                ? ENOMEM
                                : kCompressedDataBroken);
            // Asked without new input, zstd answers with what the next
            // frame's header needs even when no frame has begun.
            if (pending_.pos != before || out.pos > 0)
                frameOpen_ = result != 0;
            if (out.pos > 0)
                return static_cast<long>(out.pos);
            if (pending_.pos < pending_.size)
                continue;
            long got = in_->read(input_.data(), input_.size());
            if (got < 0)
                return fail(in_->error());
            if (got == 0)
                return frameOpen_ ? fail(kCompressedDataTruncated) : 0;
            pending_ = {input_.data(), static_cast<std::size_t>(got), 0};
        }
    }

private:
    std::unique_ptr<ByteSource> in_;
    ByteBuffer input_;
    ZSTD_inBuffer pending_{nullptr, 0, 0}; // compressed bytes not yet decoded
    ZSTD_DStream* stream_;
    bool frameOpen_ = false; // a frame has begun and not yet ended
};

// Reads another source one block ahead on a thread of its own.
class ReadAhead final : public ByteSource {
public:
    explicit ReadAhead(std::unique_ptr<ByteSource> in) : in_(std::move(in)) { fetchNext(); }

    long read(char* to, std::size_t size) override {
        if (at_ == current_.size) {
            worker_.wait();
            std::swap(current_, next_);
            at_ = 0;
            if (current_.size == 0)
                return current_.failed ? fail(in_->error()) : 0;
            fetchNext();
        }
        std::size_t n = std::min(size, current_.size - at_);
        std::memcpy(to, current_.bytes.data() + at_, n);
        at_ += n;
        return static_cast<long>(n);
    }

private:
    struct Block {
        ByteBuffer bytes{kAheadSize};
        std::size_t size = 0;
        bool failed = false;
    };

    // Fills the next block on the worker, as far as the data go.
    void fetchNext() {
        worker_.post([this] {
            Block& b = next_;
            b.size = 0;
            b.failed = in_->error() != 0; // a failed source is not asked again
            while (!b.failed && b.size < kAheadSize) {
                long got = in_->read(b.bytes.data() + b.size, kAheadSize - b.size);
                b.failed = got < 0;
                if (got <= 0)
                    break;
                b.size += static_cast<std::size_t>(got);
            }
        });
    }

    std::unique_ptr<ByteSource> in_;
    Block current_;
    Block next_;
    std::size_t at_ = 0;
    Worker worker_; // last, so it has stopped before the blocks go
};

} // namespace

Compression compressionOf(std::string_view firstBytes) {
    // gzip: its two magic bytes and the one method there is, deflate.
    if (firstBytes.substr(0, 3) == std::string_view("\x1f\x8b\x08", 3))
        return Compression::Gzip;
    if (firstBytes.substr(0, 4) == std::string_view("\x28\xb5\x2f\xfd", 4))
        return Compression::Zstd;
    return Compression::None;
}

std::unique_ptr<ByteSource> decompressing(std::unique_ptr<ByteSource> compressed,
                                          Compression compression) {
    std::unique_ptr<ByteSource> decoder;
    if (compression == Compression::Gzip)
        decoder = std::make_unique<GzipSource>(std::move(compressed));
    else
        decoder = std::make_unique<ZstdSource>(std::move(compressed));
    return std::make_unique<ReadAhead>(std::move(decoder));
}

} // namespace quisk
