#pragma once

#include <optional>
#include <string>
#include <string_view>

// Conversion between the UTF-8 text held in memory and the code page 932
// (Windows Shift-JIS) bytes of every file Quisk reads or writes.
namespace quisk::sjis {

// UTF-8 to code page 932 as Windows writes it: look-alike characters take
// their best fit (U+301C, U+2212, U+00A5, U+00A2, ... as 0x8160, 0x817C,
// 0x5C, 0x8191, ...). Empty when a character has no form even so, or the
// input is not valid UTF-8: callers must not write a substitute.
std::optional<std::string> encode(std::string_view utf8);

// As encode, but every character without a form (and every malformed
// sequence) is written as "?": for records such as the run log, where a
// visible stand-in is better than nothing.
std::string encodeWithStandIn(std::string_view utf8);

// Code page 932 to UTF-8. The single bytes 0x80, 0xA0 and 0xFD to 0xFF
// become U+0080 and U+F8F0 to U+F8F3, which encode back to the same bytes.
// Empty when the bytes are not valid code page 932.
std::optional<std::string> decode(std::string_view bytes);

// Half-width katakana (and other half-width forms) to their full-width forms.
std::string toFullwidth(std::string_view utf8);

// Full-width letters, digits, signs and katakana to their half-width forms.
std::string toHalfwidth(std::string_view utf8);

// Number of characters (code points) in UTF-8 text.
std::size_t characterCount(std::string_view utf8);

// The first character of UTF-8 text (empty text gives empty text).
std::string firstCharacter(std::string_view utf8);

// Byte classes of code page 932 used when a line is cut by byte position.
constexpr bool isLeadByte(unsigned char b) {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}
constexpr bool isTrailByte(unsigned char b) {
    return (b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFC);
}

} // namespace quisk::sjis
