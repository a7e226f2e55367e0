#include "output_encoding.h"

#include "engine/cp932_to_utf8.h"

namespace quisk {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

} // namespace

std::optional<OutputEncoder> OutputEncoder::build(const FormatSettings& s) {
    const bool bom = s.outputEncoding == kEncodingUtf8Bom;
    const bool utf8 = bom || s.outputEncoding == kEncodingUtf8;
    // The table is built here, before the record loop starts its threads.
    if (utf8 && !cp932::prepare())
        return std::nullopt;
    return OutputEncoder(utf8, bom, s.outputLineEnd == kLineEndLf);
}

std::string_view OutputEncoder::start() const {
    return bom_ ? kByteOrderMark : "";
}

std::size_t OutputEncoder::roomFor(std::size_t n) const {
    return utf8_ ? cp932::maxUtf8Bytes(n) : n;
}

std::size_t OutputEncoder::encodeTo(std::string_view block, char* out, long long& replaced) const {
    if (!utf8_)
        return static_cast<std::size_t>(cp932::toLfOnly(block, out) - out);
    cp932::Converted done = cp932::toUtf8(block, out, lfOnly_);
    replaced += static_cast<long long>(done.replaced);
    return static_cast<std::size_t>(done.end - out);
}

std::string_view OutputEncoder::encode(std::string_view block, ByteBuffer& room,
                                       long long& replaced) const {
    if (!changesBytes())
        return block;
    room.grow(roomFor(block.size()));
    return {room.data(), encodeTo(block, room.data(), replaced)};
}

std::string_view OutputEncoder::encodePiece(std::string_view piece, bool last,
                                            std::string& carry, ByteBuffer& room,
                                            long long& replaced) const {
    // A carriage return and its line feed are written together, so only a
    // double-byte character can be split between pieces.
    if (!utf8_)
        return encode(piece, room, replaced);
    std::string joined;
    if (!carry.empty()) {
        joined = carry + std::string(piece);
        piece = joined;
    }
    room.grow(cp932::maxUtf8Bytes(piece.size()));
    cp932::Converted done = cp932::toUtf8(piece, room.data(), lfOnly_, !last);
    carry = piece.substr(piece.size() - done.keptBack);
    replaced += static_cast<long long>(done.replaced);
    return {room.data(), static_cast<std::size_t>(done.end - room.data())};
}

std::string OutputEncoder::encode(std::string_view block) const {
    ByteBuffer room;
    long long replaced = 0;
    return std::string(encode(block, room, replaced));
}

std::optional<std::string> encodingForOption(std::string_view option) {
    if (option == "sjis")
        return kEncodingShiftJis;
    if (option == "utf-8")
        return kEncodingUtf8;
    if (option == "utf-8-bom")
        return kEncodingUtf8Bom;
    return std::nullopt;
}

std::optional<std::string> lineEndForOption(std::string_view option) {
    if (option == "crlf")
        return kLineEndCrLf;
    if (option == "lf")
        return kLineEndLf;
    return std::nullopt;
}

} // namespace quisk
