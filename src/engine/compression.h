#pragma once

#include "engine/byte_sink.h"
#include "engine/decompression.h"

#include <memory>
#include <string_view>

namespace quisk {

// The compression a destination's name asks for: gzip for ".gz", zstd for
// ".zst", else none.
Compression compressionForName(std::string_view path);

// Compresses everything written into plain, which gets the compressed
// bytes; commit() ends the compressed data, then commits plain.
std::unique_ptr<ByteSink> compressing(std::unique_ptr<ByteSink> plain, Compression compression);

} // namespace quisk
