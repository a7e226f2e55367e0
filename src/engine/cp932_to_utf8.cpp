#include "cp932_to_utf8.h"

#include "common/sjis.h"
#include "engine/field_bytes.h"

#include <bit>
#include <cstdint>
#include <cstring>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace quisk::cp932 {
namespace {

using field_lanes::kLanes;
using field_lanes::Lanes;

// One entry for every two bytes that begin with a byte from 0x80, indexed
// by the first byte and then the second (indexOf). An entry holds the UTF-8
// bytes of the character the two bytes begin in its low 24 bits (first byte
// lowest), and above them their count and three flags. A valid double-byte
// character has no flag, so that its top byte is its count alone. A byte
// that is not a lead byte has the same entry whatever follows it.
constexpr unsigned kCountShift = 24;
constexpr std::uint32_t kCountMask = 3u << kCountShift;
constexpr std::uint32_t kNotPair = 1u << 26;  // anything but a valid double-byte character
constexpr std::uint32_t kReplaced = 1u << 27; // U+FFFD for bytes that are not code page 932
constexpr std::uint32_t kTwoBytes = 1u << 28; // takes the second byte too
constexpr std::uint32_t kReplacement =
    0xEF | 0xBF << 8 | 0xBD << 16 | 3u << kCountShift | kNotPair | kReplaced;

using Table = std::vector<std::uint32_t>;

// Two bytes as one number, the first byte high: those the table holds
// begin here.
constexpr unsigned kFirstPair = 0x80 << 8;
constexpr std::size_t kPairs = 0x80 << 8;
// After them, the entry of each byte on its own, together, for runs of
// single-byte characters.
constexpr std::size_t kSingleBytes = kPairs;

// The index of two bytes in the table, read as one number by twoBytesAt:
// the first byte high, so that the characters of one lead byte, which text
// tends to use together, share cache lines. The first byte is from 0x80.
std::ptrdiff_t indexOfPair(unsigned twoBytes) {
    return static_cast<std::ptrdiff_t>(twoBytes) - kFirstPair;
}

std::ptrdiff_t indexOf(unsigned first, unsigned second) {
    return indexOfPair(first << 8 | second);
}

// The two bytes at p, as the table indexes them: one load, turned round on
// little-endian processors.
unsigned twoBytesAt(const unsigned char* p) {
    std::uint16_t word;
    std::memcpy(&word, p, 2);
    if constexpr (std::endian::native == std::endian::little)
        word = __builtin_bswap16(word);
    return word;
}

// Whether the first of two bytes read by twoBytesAt is from 0x80.
bool startsFrom0x80(unsigned twoBytes) {
    return (twoBytes & kFirstPair) != 0;
}

// The entry for the UTF-8 of one character, which the given number of
// bytes became; U+FFFD when it is no character of three bytes or fewer.
std::uint32_t entryOf(std::string_view utf8, std::size_t taken) {
    if (utf8.empty() || utf8.size() > 3)
        return taken == 2 ? kReplacement | kTwoBytes : kReplacement;
    std::uint32_t entry = static_cast<std::uint32_t>(utf8.size()) << kCountShift;
    for (std::size_t i = 0; i < utf8.size(); ++i)
        entry |= static_cast<std::uint32_t>(static_cast<unsigned char>(utf8[i])) << 8 * i;
    return taken == 2 ? entry : entry | kNotPair;
}

// The characters of UTF-8 text, each as its own bytes.
std::vector<std::string_view> charactersOf(std::string_view utf8) {
    std::vector<std::string_view> characters;
    std::size_t start = 0;
    for (std::size_t i = 1; i <= utf8.size(); ++i) {
        const bool continues = i < utf8.size() && (static_cast<unsigned char>(utf8[i]) & 0xC0) == 0x80;
        if (!continues) {
            characters.push_back(utf8.substr(start, i - start));
            start = i;
        }
    }
    return characters;
}

// Fills the entries of a lead byte followed by each of the trail bytes, as
// the rest of Quisk reads them: all in one reading when the code page
// assigns every pair, else each half on its own, down to single pairs. A
// pair the code page does not assign is one U+FFFD for both bytes.
void fillPairs(Table& table, unsigned lead, std::span<const unsigned char> trails) {
    std::string bytes;
    for (unsigned char trail : trails) {
        bytes += static_cast<char>(lead);
        bytes += static_cast<char>(trail);
    }
    if (std::optional<std::string> utf8 = sjis::decode(bytes)) {
        const std::vector<std::string_view> characters = charactersOf(*utf8);
        if (characters.size() == trails.size()) {
            for (std::size_t i = 0; i < trails.size(); ++i)
                table[static_cast<std::size_t>(indexOf(lead, trails[i]))] =
                    entryOf(characters[i], 2);
            return;
        }
    }
    if (trails.size() == 1) {
        table[static_cast<std::size_t>(indexOf(lead, trails[0]))] = kReplacement | kTwoBytes;
        return;
    }
    fillPairs(table, lead, trails.first(trails.size() / 2));
    fillPairs(table, lead, trails.subspan(trails.size() / 2));
}

// The entry of a byte that is not a lead byte, read on its own.
std::uint32_t singleByteEntry(unsigned byte) {
    const char one = static_cast<char>(byte);
    return entryOf(sjis::decode(std::string_view(&one, 1)).value_or(""), 1);
}

std::unique_ptr<Table> buildTable() {
    auto table = std::make_unique<Table>(kPairs + 256);
    std::vector<unsigned char> trails;
    for (unsigned byte = 0; byte < 256; ++byte)
        if (sjis::isTrailByte(static_cast<unsigned char>(byte)))
            trails.push_back(static_cast<unsigned char>(byte));
    for (unsigned first = 0x80; first < 256; ++first) {
        const bool lead = sjis::isLeadByte(static_cast<unsigned char>(first));
        // A lead byte without a trail byte is U+FFFD; any other byte is
        // itself whatever follows it.
        const std::uint32_t entry = lead ? kReplacement : singleByteEntry(first);
        for (unsigned second = 0; second < 256; ++second)
            (*table)[static_cast<std::size_t>(indexOf(first, second))] = entry;
        (*table)[kSingleBytes + first] = entry;
        if (lead)
            fillPairs(*table, first, trails);
    }
    // The table comes from ICU: without its code page, every lead byte
    // would read as U+FFFD.
    if ((*table)[static_cast<std::size_t>(indexOf(0x82, 0xA0))] == kReplacement)
        return nullptr;
    return table;
}

const Table* table() {
    static const std::unique_ptr<Table> built = buildTable();
    return built.get();
}

// Writes the entry's three UTF-8 bytes and the byte above them; the caller
// moves on by the entry's count only.
void store(char* out, std::uint32_t entry) {
    if constexpr (std::endian::native == std::endian::little) {
        std::memcpy(out, &entry, 4);
    } else {
        out[0] = static_cast<char>(entry);
        out[1] = static_cast<char>(entry >> 8);
        out[2] = static_cast<char>(entry >> 16);
    }
}

// The lanes that end a run of 7-bit bytes copied as they are: bytes from
// 0x80, and carriage returns when line ends change.
template <bool kLfOnly> unsigned stopLanes(Lanes bytes) {
    if constexpr (kLfOnly)
        return field_lanes::laneBits(bytes | (Lanes)(bytes == '\r'));
    else
        return field_lanes::laneBits(bytes);
}

// The number of input bytes an entry's character takes.
unsigned bytesTaken(std::uint32_t entry) {
    return (entry & kNotPair) == 0 || (entry & kTwoBytes) != 0 ? 2 : 1;
}

// Where a conversion is: the next input byte, the end of the output, and
// the count of U+FFFD written.
struct Position {
    const unsigned char* in;
    char* out;
    std::size_t replaced;
};

// Writes the character an entry stands for and moves on past it.
void put(Position& at, std::uint32_t entry) {
    store(at.out, entry);
    at.out += (entry & kCountMask) >> kCountShift;
    at.replaced += (entry & kReplaced) != 0;
    at.in += bytesTaken(entry);
}

// Converts the single-byte characters from 0x80 (half-width katakana) that
// begin at the position, while they last. Each takes one byte whatever its
// entry says, so the next byte's look-up need not wait for this one's.
[[gnu::always_inline]] inline void convertSingleBytes(const std::uint32_t* entries, Position& at,
                                                      const unsigned char* end) {
    const unsigned char* p = at.in;
    char* out = at.out;
    std::size_t replaced = 0;
    do {
        const std::uint32_t entry = entries[kSingleBytes + *p];
        store(out, entry);
        out += (entry & kCountMask) >> kCountShift;
        replaced += (entry & kReplaced) != 0;
        ++p;
    } while (p < end && *p >= 0x80 && !sjis::isLeadByte(*p));
    at.in = p;
    at.out = out;
    at.replaced += replaced;
}

// Converts the characters from 0x80 up that begin at the position, while
// they last and at least two bytes are left before end. Inlined, so that
// the position stays in registers.
[[gnu::always_inline]] inline void convertRun(const std::uint32_t* entries, Position& at,
                                              const unsigned char* end) {
    const unsigned char* p = at.in;
    char* out = at.out;
    // Valid double-byte characters in a row, the usual run, go on in a loop
    // of their own: its test is a branch the processor guesses, so the next
    // character's bytes need not wait for this one's entry. It works on
    // locals, as the bytes it stores could otherwise alias the position.
    std::uint32_t entry = entries[indexOfPair(twoBytesAt(p))];
    while (!(entry & kNotPair)) {
        store(out, entry);
        out += entry >> kCountShift;
        p += 2;
        const unsigned next = end - p >= 2 ? twoBytesAt(p) : 0;
        if (!startsFrom0x80(next)) {
            at.in = p;
            at.out = out;
            return;
        }
        entry = entries[indexOfPair(next)];
    }
    at.in = p;
    at.out = out;
    if (sjis::isLeadByte(*p))
        put(at, entry);
    else
        convertSingleBytes(entries, at, end);
}

// The conversion, made once for each line-end choice so that the usual
// one never tests for carriage returns.
template <bool kLfOnly>
Converted convert(const std::uint32_t* entries, std::string_view in, char* out, bool more) {
    const auto* end = reinterpret_cast<const unsigned char*>(in.data()) + in.size();
    Position at{reinterpret_cast<const unsigned char*>(in.data()), out, 0};
    // Sixteen bytes are stored at a time, and go on by those before the
    // first that stops the run; characters from 0x80 are then looked up
    // with the byte after them. At least two bytes are left after any stop.
    while (end - at.in > static_cast<std::ptrdiff_t>(kLanes)) {
        const Lanes bytes = field_lanes::load(reinterpret_cast<const char*>(at.in));
        std::memcpy(at.out, &bytes, kLanes);
        const unsigned stops = stopLanes<kLfOnly>(bytes);
        if (stops == 0) {
            at.in += kLanes;
            at.out += kLanes;
            continue;
        }
        const auto n = static_cast<unsigned>(std::countr_zero(stops));
        at.in += n;
        at.out += n;
        if (kLfOnly && *at.in == '\r') {
            if (at.in[1] != '\n')
                *at.out++ = '\r';
            ++at.in;
            continue;
        }
        do
            convertRun(entries, at, end);
        while (end - at.in >= 2 && *at.in >= 0x80);
    }
    // The last few bytes, one character at a time.
    while (at.in < end) {
        const unsigned char byte = *at.in;
        const bool last = end - at.in == 1;
        if (byte < 0x80) {
            if (!(kLfOnly && byte == '\r' && !last && at.in[1] == '\n'))
                *at.out++ = static_cast<char>(byte);
            ++at.in;
        } else if (last && more && sjis::isLeadByte(byte)) {
            return {at.out, at.replaced, 1};
        } else {
            put(at, entries[indexOf(byte, last ? 0 : at.in[1])]);
        }
    }
    return {at.out, at.replaced, 0};
}

} // namespace

bool prepare() {
    return table() != nullptr;
}

Converted toUtf8(std::string_view in, char* out, bool lfOnly, bool more) {
    const std::uint32_t* entries = table()->data();
    return lfOnly ? convert<true>(entries, in, out, more) : convert<false>(entries, in, out, more);
}

char* toLfOnly(std::string_view in, char* out) {
    while (!in.empty()) {
        std::size_t cr = in.find("\r\n");
        std::size_t keep = cr == std::string_view::npos ? in.size() : cr;
        std::memcpy(out, in.data(), keep);
        out += keep;
        in.remove_prefix(cr == std::string_view::npos ? keep : keep + 1);
    }
    return out;
}

} // namespace quisk::cp932
