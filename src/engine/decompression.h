#pragma once

#include "engine/byte_source.h"

#include <memory>
#include <string_view>

namespace quisk {

enum class Compression { None, Gzip, Zstd };

// The compression whose header the first bytes of some data are.
Compression compressionOf(std::string_view firstBytes);

// The bytes that tell the compressions apart: enough of a file's first ones.
inline constexpr std::size_t kCompressionHeaderSize = 4;

// Decompresses what compressed yields. The work runs on a thread of its own,
// one block ahead of the reader, so that decompressing and converting
// overlap.
std::unique_ptr<ByteSource> decompressing(std::unique_ptr<ByteSource> compressed,
                                          Compression compression);

} // namespace quisk
