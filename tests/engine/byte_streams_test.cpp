// Compressed sources and destinations, checked against the compression
// libraries' own one-shot functions rather than against each other.
#include "common/file_io.h"
#include "engine/byte_sink.h"
#include "engine/byte_source.h"
#include "support/temp_folder.h"

#include <filesystem>
#include <zlib.h>
#include <zstd.h>

namespace quisk {
namespace {

namespace fs = std::filesystem;

std::string gzipped(const std::string& plain) {
    z_stream z{};
    EXPECT_EQ(::deflateInit2(&z, 6, Z_DEFLATED, 15 + 16, 8, Z_DEFAULT_STRATEGY), Z_OK);
    std::string out(::deflateBound(&z, plain.size()) + 64, '\0');
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(plain.data()));
    z.avail_in = static_cast<uInt>(plain.size());
    z.next_out = reinterpret_cast<Bytef*>(out.data());
    z.avail_out = static_cast<uInt>(out.size());
    EXPECT_EQ(::deflate(&z, Z_FINISH), Z_STREAM_END);
    out.resize(z.total_out);
    ::deflateEnd(&z);
    return out;
}

std::string gunzipped(const std::string& compressed) {
    z_stream z{};
    EXPECT_EQ(::inflateInit2(&z, 15 + 16), Z_OK);
    std::string out;
    char buffer[65536];
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(compressed.data()));
    z.avail_in = static_cast<uInt>(compressed.size());
    int result = Z_OK;
    while (result == Z_OK) {
        z.next_out = reinterpret_cast<Bytef*>(buffer);
        z.avail_out = sizeof buffer;
        result = ::inflate(&z, Z_NO_FLUSH);
        out.append(buffer, sizeof buffer - z.avail_out);
    }
    EXPECT_EQ(result, Z_STREAM_END);
    ::inflateEnd(&z);
    return out;
}

std::string zstded(const std::string& plain) {
    std::string out(::ZSTD_compressBound(plain.size()), '\0');
    out.resize(::ZSTD_compress(out.data(), out.size(), plain.data(), plain.size(), 3));
    return out;
}

std::string unzstded(const std::string& compressed) {
    ZSTD_DStream* stream = ::ZSTD_createDStream();
    ZSTD_inBuffer in{compressed.data(), compressed.size(), 0};
    std::string out;
    char buffer[65536];
    std::size_t left = 1;
    while (in.pos < in.size || left != 0) {
        ZSTD_outBuffer piece{buffer, sizeof buffer, 0};
        left = ::ZSTD_decompressStream(stream, &piece, &in);
        if (::ZSTD_isError(left) || (piece.pos == 0 && in.pos == in.size && left != 0))
            break;
        out.append(buffer, piece.pos);
    }
    EXPECT_EQ(left, 0u);
    ::ZSTD_freeDStream(stream);
    return out;
}

// Lines of varied bytes, Shift-JIS lead bytes included, a few MB in all so
// that reads cross the decompressor's and the reader's blocks.
std::string sample(std::size_t lines) {
    std::string s;
    for (std::size_t i = 0; i < lines; ++i)
        s += std::to_string(i * 7919) + "\x82\xa0" + std::string(i % 97, 'x') + "\r\n";
    return s;
}

class ByteStreams : public testing::TempFolder {
protected:
    // Everything the source at path yields, in reads of readSize bytes;
    // error is its error, or 0.
    std::string readAll(const std::string& name, int& error, std::size_t readSize = 4096) {
        error = 0;
        auto source = openFileSource(path(name), error);
        if (!source)
            return "<not opened>";
        std::string out;
        std::string buffer(readSize, '\0');
        for (long n; (n = source->read(buffer.data(), buffer.size())) != 0;) {
            if (n < 0) {
                error = source->error();
                break;
            }
            out.append(buffer, 0, static_cast<std::size_t>(n));
        }
        return out;
    }
    std::string readAll(const std::string& name) {
        int error = 0;
        std::string out = readAll(name, error);
        EXPECT_EQ(error, 0) << name;
        return out;
    }
    std::string fileBytes(const std::string& name) {
        return readWholeFile(path(name)).value_or("<missing>");
    }
};

TEST_F(ByteStreams, CompressedSourcesReadAsTheirData) {
    const std::string plain = sample(60000);
    writeBytes("plain.txt", plain);
    writeBytes("one.gz", gzipped(plain));
    writeBytes("one.zst", zstded(plain));
    // Concatenated .gz files and several zstd frames are one stream of data.
    writeBytes("two.gz", gzipped("first\r\n") + gzipped("second\r\n"));
    writeBytes("two.zst", zstded("first\r\n") + zstded("") + zstded("second\r\n"));
    EXPECT_EQ(readAll("plain.txt"), plain);
    EXPECT_EQ(readAll("one.gz"), plain);
    EXPECT_EQ(readAll("one.zst"), plain);
    EXPECT_EQ(readAll("two.gz"), "first\r\nsecond\r\n");
    EXPECT_EQ(readAll("two.zst"), "first\r\nsecond\r\n");
    int error = 0;
    EXPECT_EQ(readAll("one.gz", error, 1), plain); // byte by byte
}

TEST_F(ByteStreams, DataThatOnlyLookLikeAHeaderAreReadAsTheyAre) {
    for (const std::string& bytes : {std::string("\x1f\x8b"), std::string("\x1f\x8bx\r\n"),
                                     std::string("\x28\xb5\x2f"), std::string("")}) {
        writeBytes("odd.txt", bytes);
        EXPECT_EQ(readAll("odd.txt"), bytes);
    }
}

TEST_F(ByteStreams, CutOrDamagedCompressedDataFailWithTheirCause) {
    const std::string plain = sample(20000);
    const std::string gz = gzipped(plain);
    const std::string zst = zstded(plain);
    int error = 0;
    writeBytes("cut.gz", gz.substr(0, gz.size() / 2));
    readAll("cut.gz", error);
    EXPECT_EQ(error, kCompressedDataTruncated);
    writeBytes("cut.gz", gz.substr(0, gz.size() - 1)); // only the trailer's last byte
    readAll("cut.gz", error);
    EXPECT_EQ(error, kCompressedDataTruncated);
    writeBytes("cut.zst", zst.substr(0, zst.size() - 1));
    readAll("cut.zst", error);
    EXPECT_EQ(error, kCompressedDataTruncated);

    std::string damaged = gz;
    damaged[damaged.size() - 6] ^= 0x55; // the check sum no longer matches
    writeBytes("bad.gz", damaged);
    readAll("bad.gz", error);
    EXPECT_EQ(error, kCompressedDataBroken);
    writeBytes("tail.gz", gz + "trailing text");
    readAll("tail.gz", error);
    EXPECT_EQ(error, kCompressedDataBroken);
    damaged = zst;
    damaged[damaged.size() / 2] ^= 0x55;
    writeBytes("bad.zst", damaged);
    readAll("bad.zst", error);
    EXPECT_EQ(error, kCompressedDataBroken);
}

TEST_F(ByteStreams, CompressedDestinationsAppearOnlyWhenComplete) {
    const std::string plain = sample(50000);
    for (const std::string name : {"out.gz", "out.zst"}) {
        int error = 0;
        auto sink = openFileSink(path(name), error);
        ASSERT_TRUE(sink);
        EXPECT_TRUE(sink->write(plain.substr(0, 1000)));
        EXPECT_TRUE(sink->write(plain.substr(1000)));
        EXPECT_EQ(sink->bytesWritten(), plain.size());
        EXPECT_FALSE(fs::exists(path(name)));
        EXPECT_TRUE(sink->commit());
        std::string written = fileBytes(name);
        EXPECT_LT(written.size(), plain.size() / 2);
        EXPECT_EQ(name == "out.gz" ? gunzipped(written) : unzstded(written), plain) << name;
    }
    // Made ready first, as one of several destinations is: the compressed
    // data are ended once, and nothing is in place until the commit.
    for (const std::string name : {"ready.gz", "ready.zst"}) {
        int error = 0;
        auto sink = openFileSink(path(name), error);
        ASSERT_TRUE(sink);
        EXPECT_TRUE(sink->write(plain));
        EXPECT_TRUE(sink->prepare());
        EXPECT_FALSE(fs::exists(path(name)));
        EXPECT_TRUE(sink->commit());
        std::string written = fileBytes(name);
        EXPECT_EQ(name == "ready.gz" ? gunzipped(written) : unzstded(written), plain) << name;
    }
    int error = 0;
    auto dropped = openFileSink(path("dropped.zst"), error);
    ASSERT_TRUE(dropped);
    dropped->write(plain);
    dropped->discard();
    EXPECT_FALSE(fs::exists(path("dropped.zst")));
    auto plainSink = openFileSink(path("out.gzip"), error); // only .gz and .zst compress
    ASSERT_TRUE(plainSink);
    plainSink->write("as is");
    EXPECT_TRUE(plainSink->commit());
    EXPECT_EQ(fileBytes("out.gzip"), "as is");
}

TEST_F(ByteStreams, ACompressedDestinationOnAFullDiskFails) {
    // Written directly, a device takes the compressed bytes until it is full.
    fs::create_symlink("/dev/full", path("full.zst"));
    int error = 0;
    auto sink = openFileSink(path("full.zst"), error);
    ASSERT_TRUE(sink);
    const std::string plain = sample(100000);
    bool ok = sink->write(plain) && sink->commit();
    EXPECT_FALSE(ok);
    EXPECT_EQ(sink->error(), ENOSPC);
}

} // namespace
} // namespace quisk
