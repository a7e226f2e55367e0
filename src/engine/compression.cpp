#include "compression.h"

#include "engine/byte_buffer.h"

#include <cerrno>
#include <zlib.h>
#include <zstd.h>

namespace quisk {
namespace {

constexpr std::size_t kOutputSize = 256 * 1024;
// gzip's and zstd's own default levels: what their command-line tools use.
constexpr int kGzipLevel = 6;
constexpr int kZstdLevel = 3;

// What both compressors share: the plain sink beneath and its failures.
class CompressingSink : public ByteSink {
public:
    explicit CompressingSink(std::unique_ptr<ByteSink> plain)
        : plain_(std::move(plain)), out_(kOutputSize) {}
    void discard() override { plain_->discard(); }
    bool prepare() override { return ended() && plain_->prepare(); }
    bool commit() override { return ended() && plain_->commit(); }
    int error() const override { return error_ != 0 ? error_ : plain_->error(); }
    bool replacing() const override { return plain_->replacing(); }
    bool damaged() const override { return plain_->damaged(); }

protected:
    bool failed() const { return error() != 0; }
    bool fail(int error) {
        error_ = error;
        return false;
    }
    bool pass(std::size_t n) { return plain_->write({out_.data(), n}); }
    // Writes the end of the compressed data.
    virtual bool end() = 0;
    // Ends the compressed data once, whether prepare() or commit() asks.
    bool ended() {
        if (!ended_)
            ended_ = !failed() && end();
        return ended_;
    }

    std::unique_ptr<ByteSink> plain_;
    ByteBuffer out_;
    int error_ = 0;
    bool ended_ = false;
};

class GzipSink final : public CompressingSink {
public:
    explicit GzipSink(std::unique_ptr<ByteSink> plain) : CompressingSink(std::move(plain)) {
        // 16 asks for a gzip header and trailer around the deflate data.
        ready_ = ::deflateInit2(&stream_, kGzipLevel, Z_DEFLATED, 15 + 16, 8, Z_DEFAULT_STRATEGY) ==
                 Z_OK;
        if (!ready_)
            error_ = ENOMEM;
    }
    ~GzipSink() override {
        if (ready_)
            ::deflateEnd(&stream_);
    }
    GzipSink(const GzipSink&) = delete;
    GzipSink& operator=(const GzipSink&) = delete;

    bool write(std::string_view bytes) override {
        const std::size_t before = bytes.size();
        while (!bytes.empty() && !failed()) {
            // zlib counts in 32 bits: large writes go in slices.
            const auto slice = static_cast<uInt>(std::min<std::size_t>(bytes.size(), 1u << 30));
            stream_.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data()));
            stream_.avail_in = slice;
            run(Z_NO_FLUSH);
            bytes.remove_prefix(slice - stream_.avail_in);
        }
        written_ += before - bytes.size();
        return !failed();
    }

private:
    bool end() override {
        stream_.avail_in = 0;
        return run(Z_FINISH);
    }

    // Compresses what is in the stream, passing every full output buffer on;
    // with Z_FINISH, until the gzip trailer is out.
    bool run(int flush) {
        for (;;) {
            stream_.next_out = reinterpret_cast<Bytef*>(out_.data());
            stream_.avail_out = static_cast<uInt>(out_.size());
            int result = ::deflate(&stream_, flush);
            if (result == Z_STREAM_ERROR)
                return fail(EIO);
            std::size_t produced = out_.size() - stream_.avail_out;
            if (produced > 0 && !pass(produced))
                return false;
            bool drained = stream_.avail_out > 0 && stream_.avail_in == 0;
            if (flush == Z_FINISH ? result == Z_STREAM_END : drained)
                return true;
        }
    }

    z_stream stream_{};
    bool ready_ = false;
};

class ZstdSink final : public CompressingSink {
public:
    explicit ZstdSink(std::unique_ptr<ByteSink> plain)
        : CompressingSink(std::move(plain)), stream_(::ZSTD_createCCtx()) {
        if (!stream_ ||
            ::ZSTD_isError(::ZSTD_CCtx_setParameter(stream_, ZSTD_c_compressionLevel, kZstdLevel)))
            error_ = ENOMEM;
    }
    ~ZstdSink() override { ::ZSTD_freeCCtx(stream_); }
    ZstdSink(const ZstdSink&) = delete;
    ZstdSink& operator=(const ZstdSink&) = delete;

    bool write(std::string_view bytes) override {
        ZSTD_inBuffer in{bytes.data(), bytes.size(), 0};
        while (in.pos < in.size && !failed())
            run(in, ZSTD_e_continue);
        written_ += in.pos;
        return !failed();
    }

private:
    bool end() override {
        ZSTD_inBuffer none{nullptr, 0, 0};
        while (!failed())
            if (run(none, ZSTD_e_end) == 0)
                return true;
        return false;
    }

    // One step of compression; returns what zstd says is left to flush.
    std::size_t run(ZSTD_inBuffer& in, ZSTD_EndDirective directive) {
        ZSTD_outBuffer out{out_.data(), out_.size(), 0};
        std::size_t left = ::ZSTD_compressStream2(stream_, &out, &in, directive);
        if (::ZSTD_isError(left)) {
            fail(EIO);
            return 1;
        }
        if (out.pos > 0)
            pass(out.pos);
        return left;
    }

    ZSTD_CCtx* stream_;
};

bool endsWith(std::string_view text, std::string_view end) {
    return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}

} // namespace

Compression compressionForName(std::string_view path) {
    if (endsWith(path, ".gz"))
        return Compression::Gzip;
    if (endsWith(path, ".zst"))
        return Compression::Zstd;
    return Compression::None;
}

std::unique_ptr<ByteSink> compressing(std::unique_ptr<ByteSink> plain, Compression compression) {
    if (compression == Compression::Gzip)
        return std::make_unique<GzipSink>(std::move(plain));
    return std::make_unique<ZstdSink>(std::move(plain));
}

} // namespace quisk
