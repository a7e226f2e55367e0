#pragma once

#include "engine/byte_buffer.h"
#include "format/format_definition.h"

#include <optional>
#include <string>
#include <string_view>

namespace quisk {

// The last stage of a run: everything the engine writes is formatted as
// Shift-JIS with CR LF line ends, and this stage turns finished blocks of it
// into the format's output encoding and line end. Positions therefore stay
// Shift-JIS byte positions of the source, whatever is written.
class OutputEncoder {
public:
    // The encoder for a format's settings; empty when the code page table
    // cannot be built.
    static std::optional<OutputEncoder> build(const FormatSettings& settings);

    // Whether the output differs from the Shift-JIS bytes at all.
    bool changesBytes() const { return utf8_ || lfOnly_; }

    // The bytes that open the destination: the byte order mark for
    // "UTF-8 (BOM付き)", else none.
    std::string_view start() const;

    // The line end written: CR LF, or LF alone.
    std::string_view lineEnd() const { return lfOnly_ ? "\n" : "\r\n"; }

    // Converts a finished block of output. Returns block itself when nothing
    // changes, else the converted bytes, kept in room until its next use.
    // Adds the number of U+FFFD written for invalid bytes to replaced.
    std::string_view encode(std::string_view block, ByteBuffer& room, long long& replaced) const;

    // Room the encoding of n bytes may need.
    std::size_t roomFor(std::size_t n) const;

    // Converts a block that ends after a line end to out, which has room for
    // roomFor(block.size()) bytes; returns the number of bytes written.
    std::size_t encodeTo(std::string_view block, char* out, long long& replaced) const;

    // The same for one piece of output that may end inside a double-byte
    // character (a record too long for one block goes out in pieces): a lead
    // byte at its end is kept in carry and converted with the next piece,
    // unless this is the last piece.
    std::string_view encodePiece(std::string_view piece, bool last, std::string& carry,
                                 ByteBuffer& room, long long& replaced) const;

    // The same for a short text such as the header lines.
    std::string encode(std::string_view block) const;

private:
    OutputEncoder(bool utf8, bool bom, bool lfOnly) : utf8_(utf8), bom_(bom), lfOnly_(lfOnly) {}

    bool utf8_;
    bool bom_;
    bool lfOnly_;
};

// The settings a value of quisk-run's --encoding (utf-8, utf-8-bom, sjis) and
// --eol (lf, crlf) stand for; empty for any other value.
std::optional<std::string> encodingForOption(std::string_view option);
std::optional<std::string> lineEndForOption(std::string_view option);

} // namespace quisk
