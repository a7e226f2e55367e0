#include "cp932_to_utf8.h"

#include "common/sjis.h"

#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <memory>
#include <unicode/ucnv.h>
#include <unicode/utf16.h>
#include <vector>

namespace quisk::cp932 {
namespace {

// ICU's name for the Windows form of Shift-JIS (alias windows-31j).
constexpr const char* kCodePage = "ibm-943_P15A-2003";

// An entry holds up to three UTF-8 bytes in its low 24 bits (first byte
// lowest), their count above them, and two flags.
constexpr unsigned kCountShift = 24;
constexpr std::uint32_t kReplaced = 1u << 28; // the entry is U+FFFD for bad input
constexpr std::uint32_t kLead = 1u << 29;     // a lead byte: look at the next byte

constexpr unsigned kFirstTrail = 0x40;
constexpr unsigned kTrailSpan = 0xFC - kFirstTrail + 1;
constexpr std::uint8_t kNoTrail = 0xFF;
constexpr std::uint64_t kHighBits = 0x8080808080808080ULL;
constexpr std::uint64_t kOnes = 0x0101010101010101ULL;

constexpr std::uint32_t pack(char32_t c) {
    if (c < 0x80)
        return c | 1u << kCountShift;
    if (c < 0x800)
        return (0xC0 | c >> 6) | (0x80 | (c & 0x3F)) << 8 | 2u << kCountShift;
    return (0xE0 | c >> 12) | (0x80 | (c >> 6 & 0x3F)) << 8 | (0x80 | (c & 0x3F)) << 16 |
           3u << kCountShift;
}
constexpr std::uint32_t kReplacement = pack(0xFFFD) | kReplaced;

struct Table {
    std::array<std::uint32_t, 256> single{}; // by byte from 0x80; a lead byte holds its fallback
    std::array<std::uint16_t, 256> row{};    // a lead byte's first entry in pairs
    std::array<std::uint8_t, 256> trail{};   // a trail byte's column, or kNoTrail
    std::vector<std::uint32_t> pairs;
};

struct ConverterCloser {
    void operator()(UConverter* c) const { ucnv_close(c); }
};
using Converter = std::unique_ptr<UConverter, ConverterCloser>;

// The one character ICU decodes the bytes to; U+FFFD when it refuses them or
// they stand for more than one character.
char32_t decodeOne(UConverter* conv, const char* bytes, int32_t n) {
    UChar text[4];
    UErrorCode status = U_ZERO_ERROR;
    ucnv_resetToUnicode(conv);
    int32_t length = ucnv_toUChars(conv, text, 4, bytes, n, &status);
    if (U_FAILURE(status) || length == 0)
        return 0xFFFD;
    int32_t i = 0;
    UChar32 c;
    U16_NEXT(text, i, length, c);
    return i == length ? static_cast<char32_t>(c) : 0xFFFD;
}

std::uint32_t entryFor(char32_t c) {
    return c == 0xFFFD ? kReplacement : pack(c);
}

std::unique_ptr<Table> buildTable() {
    UErrorCode status = U_ZERO_ERROR;
    Converter conv(ucnv_open(kCodePage, &status));
    if (U_SUCCESS(status))
        ucnv_setToUCallBack(conv.get(), UCNV_TO_U_CALLBACK_STOP, nullptr, nullptr, nullptr,
                            &status);
    if (U_FAILURE(status))
        return nullptr;
    auto table = std::make_unique<Table>();
    table->trail.fill(kNoTrail);
    for (unsigned b = 0; b < 256; ++b)
        if (sjis::isTrailByte(static_cast<unsigned char>(b)))
            table->trail[b] = static_cast<std::uint8_t>(b - kFirstTrail);
    // 7-bit bytes are copied as they are and never looked up.
    for (unsigned b = 0x80; b < 256; ++b) {
        const char byte[1] = {static_cast<char>(b)};
        if (!sjis::isLeadByte(static_cast<unsigned char>(b))) {
            table->single[b] = entryFor(decodeOne(conv.get(), byte, 1));
            continue;
        }
        table->single[b] = kReplacement | kLead;
        table->row[b] = static_cast<std::uint16_t>(table->pairs.size());
        for (unsigned t = kFirstTrail; t < kFirstTrail + kTrailSpan; ++t) {
            const char pair[2] = {static_cast<char>(b), static_cast<char>(t)};
            table->pairs.push_back(entryFor(decodeOne(conv.get(), pair, 2)));
        }
    }
    return table;
}

const Table* table() {
    static const std::unique_ptr<Table> built = buildTable();
    return built.get();
}

// Writes the entry's three UTF-8 bytes (the caller keeps only its count).
void store(char* out, std::uint32_t entry) {
    if constexpr (std::endian::native == std::endian::little) {
        std::memcpy(out, &entry, 4);
    } else {
        out[0] = static_cast<char>(entry);
        out[1] = static_cast<char>(entry >> 8);
        out[2] = static_cast<char>(entry >> 16);
    }
}

// The high bit of every byte of a word that is a carriage return; exact up
// to the first such byte, which is all that is used.
std::uint64_t carriageReturns(std::uint64_t word) {
    std::uint64_t x = word ^ (kOnes * '\r');
    return (x - kOnes) & ~x & kHighBits;
}

// How many bytes of a word, in memory order, come before the first byte
// marked in marks (the high bit of each marked byte); 8 when none is.
unsigned bytesBefore(std::uint64_t marks) {
    if constexpr (std::endian::native == std::endian::little)
        return static_cast<unsigned>(std::countr_zero(marks)) / 8;
    else
        return static_cast<unsigned>(std::countl_zero(marks)) / 8;
}

// The conversion, made once for each line-end choice so that the usual
// one never tests for carriage returns.
template <bool kLfOnly>
Converted convert(const Table& t, std::string_view in, char* out, bool more) {
    const auto* p = reinterpret_cast<const unsigned char*>(in.data());
    const auto* end = p + in.size();
    std::size_t replaced = 0;
    while (p < end) {
        // A run of 7-bit bytes, a word at a time: the whole word is stored,
        // and both sides move on by the bytes before the first one that
        // ends the run (a byte from 0x80, or a carriage return when line
        // ends change).
        while (end - p >= 8) {
            std::uint64_t word;
            std::memcpy(&word, p, 8);
            std::uint64_t stops = word & kHighBits;
            if constexpr (kLfOnly)
                stops |= carriageReturns(word);
            std::memcpy(out, &word, 8);
            const unsigned n = bytesBefore(stops);
            p += n;
            out += n;
            if (n < 8)
                break;
        }
        if (kLfOnly && end - p >= 8 && *p == '\r') {
            if (p[1] != '\n')
                *out++ = '\r';
            ++p;
            continue;
        }
        // The last few bytes, one at a time.
        if (end - p < 8)
            for (; p < end && *p < 0x80; ++p)
                if (!(kLfOnly && *p == '\r' && p + 1 < end && p[1] == '\n'))
                    *out++ = static_cast<char>(*p);
        // A run of other bytes: a lead byte followed by a trail byte is
        // looked up as a pair, every other byte on its own.
        while (p < end && *p >= 0x80) {
            const unsigned b = *p++;
            std::uint32_t entry = t.single[b];
            if (entry & kLead) {
                if (p < end && t.trail[*p] != kNoTrail)
                    entry = t.pairs[t.row[b] + t.trail[*p++]];
                else if (p == end && more)
                    return {out, replaced, 1};
            }
            store(out, entry);
            out += (entry >> kCountShift) & 0xF;
            replaced += (entry & kReplaced) != 0;
        }
    }
    return {out, replaced, 0};
}

} // namespace

bool prepare() {
    return table() != nullptr;
}

Converted toUtf8(std::string_view in, char* out, bool lfOnly, bool more) {
    const Table& t = *table();
    return lfOnly ? convert<true>(t, in, out, more) : convert<false>(t, in, out, more);
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
