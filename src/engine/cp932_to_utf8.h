#pragma once

#include <cstddef>
#include <string_view>

// Converts code page 932 bytes to UTF-8 with a table over the bytes. The
// table is built once per process from the code page reading the rest of
// Quisk uses (sjis::decode: NEC and IBM extensions, 0x8160 to U+FF5E), so
// every valid double-byte character converts to the code point ICU's
// windows-31j decoder gives it, and so does every byte from 0x80 that ICU
// decodes. The single bytes 0x80, 0xA0 and 0xFD to 0xFF, which ICU refuses,
// become U+0080 and U+F8F0 to U+F8F3 as Windows reads them, as everywhere
// else in Quisk. A 7-bit byte stays itself, as Windows reads it: ICU's
// table would turn 0x1A, 0x1C and 0x7F into each other the IBM way, and
// Shift-JIS output keeps those bytes too.
namespace quisk::cp932 {

// What one conversion wrote.
struct Converted {
    char* end = nullptr;      // the end of the UTF-8 bytes written
    std::size_t replaced = 0; // U+FFFD written for bytes that are not code page 932
    std::size_t keptBack = 0; // with more: input bytes left at the end (a lead byte)
};

// Room the output of n input bytes may need: a byte can become three UTF-8
// bytes, and the converter stores sixteen bytes at a time, up to fifteen
// past what it keeps.
constexpr std::size_t maxUtf8Bytes(std::size_t n) {
    return 3 * n + 16;
}

// Builds the table if it is not built yet (once per process, safe from any
// thread); false when ICU cannot provide the code page.
bool prepare();

// Converts in to UTF-8 at out (room for maxUtf8Bytes(in.size())). A lead
// byte without a trail byte, and a pair that code page 932 does not assign,
// becomes one U+FFFD and is counted. With lfOnly, a carriage return directly
// followed by a line feed is dropped, so every CR LF becomes LF. With more,
// the input is one piece of a longer text: a lead byte at its very end is
// left unconverted (keptBack), for the caller to put before the next piece.
// Requires prepare() to have returned true.
Converted toUtf8(std::string_view in, char* out, bool lfOnly, bool more = false);

// Copies Shift-JIS bytes to out (room for in.size()), dropping the carriage
// return of every CR LF. Neither byte can be part of a double-byte
// character, so the bytes are not decoded.
char* toLfOnly(std::string_view in, char* out);

} // namespace quisk::cp932
