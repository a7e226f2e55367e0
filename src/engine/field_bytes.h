#pragma once

#include "common/sjis.h"

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace quisk {

// Copying the bytes of one field, read as a string of its own: a lead byte
// whose trail byte lies outside the field, or is not a trail byte, becomes
// "・" (bytes 81 45); every other byte is copied unchanged.
//
// The bytes are looked at sixteen at a time. A lead byte can only lack its
// trail where it is followed by a byte that is no trail byte, or by the end
// of the field (a candidate). Such a lead byte starts a character, and so is
// broken, when the run of lead-range bytes in front of it is even: the byte
// after a non-lead byte always starts a character, and lead bytes pair up
// from a run's start since every lead byte is also a trail byte. The run's
// parity comes from the lanes' lead bits and is carried from one look to the
// next; only a run reaching back past the first byte looked at (a piece of a
// long field) is walked byte by byte, once.
//
// Every function here reads up to kFieldSlack bytes past the end of the
// field (without using them), and the copies may write as far past the end
// of what they return: the caller keeps that much room on both sides.
constexpr std::size_t kFieldSlack = 16;

namespace field_lanes {

constexpr std::size_t kLanes = 16;
// A look at lane i also reads the byte after it.
static_assert(kFieldSlack >= kLanes);

// Sixteen bytes worked on at once, through the vector extension that GCC and
// Clang share; it becomes SSE2 on x86-64 and plain words elsewhere.
using Lanes = unsigned char __attribute__((vector_size(kLanes)));

inline Lanes load(const char* p) {
    Lanes v;
    std::memcpy(&v, p, kLanes);
    return v;
}

// Each lane whose byte lies in [low, low + count) set to 0xFF, others 0.
inline Lanes inRange(Lanes bytes, unsigned char low, unsigned char count) {
    return (Lanes)(Lanes(bytes - low) < count);
}

// Lead bytes 81-9F and E0-FC become A1-BF and C0-DC when bit 5 is flipped.
inline Lanes leadBytes(Lanes bytes) {
    return inRange(bytes ^ 0x20, 0xA1, 0x3C);
}
// Trail bytes: 40-FC except 7F.
inline Lanes trailBytes(Lanes bytes) {
    return inRange(bytes, 0x40, 0xBD) & ~(Lanes)(bytes == 0x7F);
}

// One bit per lane, lane 0 lowest: the top bit of each lane's byte.
inline unsigned laneBits(Lanes v) {
#if defined(__SSE2__)
    return static_cast<unsigned>(_mm_movemask_epi8((__m128i)v));
#else
    unsigned bits = 0;
    for (std::size_t lane = 0; lane < kLanes; ++lane)
        bits |= static_cast<unsigned>(v[lane] >> 7) << lane;
    return bits;
#endif
}

// Whether the run of lead-range bytes just before byte i of the field is
// odd, walked back byte by byte.
inline bool oddLeadRunBefore(const char* field, std::size_t i) {
    std::size_t runStart = i;
    while (runStart > 0 && sjis::isLeadByte(static_cast<unsigned char>(field[runStart - 1])))
        --runStart;
    return (i - runStart) % 2 == 1;
}

// The lane of the first broken lead byte among the candidates, given the
// lanes' lead bits and whether the run of lead bytes reaching into lane 0 from
// before is odd; kLanes when every candidate is paired.
inline unsigned firstBrokenLane(unsigned candidates, unsigned leads, bool oddBefore) {
    for (; candidates != 0; candidates &= candidates - 1) {
        auto lane = static_cast<unsigned>(std::countr_zero(candidates));
        unsigned nonLeadsBelow = ~leads & ((1u << lane) - 1);
        unsigned run = nonLeadsBelow != 0
                           ? lane - static_cast<unsigned>(std::bit_width(nonLeadsBelow))
                           : lane + oddBefore;
        if (run % 2 == 0)
            return lane;
    }
    return kLanes;
}

// The first lanes, as lane bits.
inline unsigned firstLanes(std::size_t k) {
    return k >= kLanes ? 0xFFFFu : (1u << k) - 1;
}

// Looks at the lanes at byte i of the n-byte field, already loaded into
// bytes: the lane of the first lead byte among the first to - i that lacks
// its trail byte, or kLanes. oddBefore says whether the run of lead bytes
// reaching into lane 0 is odd, and is carried on to the next lanes.
inline unsigned brokenLane(const char* field, std::size_t n, std::size_t i, std::size_t to,
                           Lanes bytes, bool& oddBefore) {
    const unsigned looked = firstLanes(to - i);
    if ((laneBits(bytes) & looked) == 0) {
        oddBefore = false; // 7-bit bytes only, the usual case
        return kLanes;
    }
    // Candidates: lead bytes followed by no trail byte, or by the field's end.
    const unsigned leads = laneBits(leadBytes(bytes));
    const unsigned fieldEnd = n - i <= kLanes ? 1u << (n - i - 1) : 0;
    const unsigned noTrailAfter = laneBits(~trailBytes(load(field + i + 1))) | fieldEnd;
    const unsigned candidates = leads & noTrailAfter & looked;
    if (candidates != 0) {
        unsigned lane = firstBrokenLane(candidates, leads, oddBefore);
        if (lane < kLanes)
            return lane;
    }
    if (to - i > kLanes) {
        // The run at the lanes' end reaches into the next lanes; a run over
        // all sixteen keeps the parity it came with.
        auto endRun = static_cast<unsigned>(std::countl_one(leads << (32 - kLanes)));
        oddBefore = endRun == kLanes ? oddBefore : endRun % 2 == 1;
    }
    return kLanes;
}

// The first byte in [from, to) of the n-byte field that is a lead byte
// without its trail byte; to when there is none.
inline std::size_t nextBrokenLead(const char* field, std::size_t n, std::size_t from,
                                  std::size_t to) {
    bool oddBefore = from != 0 && oddLeadRunBefore(field, from);
    for (std::size_t i = from; i < to; i += kLanes) {
        unsigned lane = brokenLane(field, n, i, to, load(field + i), oddBefore);
        if (lane < kLanes)
            return i + lane;
    }
    return to;
}

// A field of up to 64 bytes is judged at once from one bit per byte: which
// are lead-range bytes and which are trail bytes. In a run of lead-range
// bytes that starts at bit s, the second bytes of characters are s + 1,
// s + 3, ... up to the byte after the run; every other lead byte starts a
// character, and is broken when the byte after it is no trail byte or lies
// outside the field.
constexpr std::size_t kMaskedBytes = 64;

// The first n bits, 1 <= n <= 64.
inline std::uint64_t lowBits(std::size_t n) {
    return ~std::uint64_t{0} >> (64 - n);
}

// The bits that are second bytes of characters, given the lead-range bytes
// of a field read from bit 0.
inline std::uint64_t secondBytes(std::uint64_t leads) {
    constexpr std::uint64_t kEvenBits = 0x5555555555555555;
    const std::uint64_t afterLead = leads << 1;
    // Adding its first bit to a run that starts on an odd bit clears the run
    // (and sets the bit after it): only runs from even bits stay set.
    const std::uint64_t oddStarts = leads & ~afterLead & ~kEvenBits;
    const std::uint64_t evenRuns = oddStarts + leads;
    // After a run from an even bit the second bytes are the odd bits, after
    // one from an odd bit the even ones.
    return (kEvenBits ^ (evenRuns << 1)) & afterLead;
}

// Whether a field holds a lead byte without its trail byte, given its
// lead-range bytes, its trail bytes and its first bits (inField).
inline bool brokenInMasks(std::uint64_t leads, std::uint64_t trails, std::uint64_t inField) {
    leads &= inField;
    const std::uint64_t leadStarts = leads & ~secondBytes(leads);
    const std::uint64_t trailAfter = (trails >> 1) & (inField >> 1);
    return (leadStarts & ~trailAfter) != 0;
}

// Whether the n-byte field (1 <= n <= kMaskedBytes) holds a lead byte
// without its trail byte.
inline bool maskedFieldBroken(const char* field, std::size_t n) {
    std::uint64_t leads = 0;
    std::uint64_t trails = 0;
    for (std::size_t i = 0; i < n; i += kLanes) {
        const Lanes bytes = load(field + i);
        leads |= std::uint64_t{laneBits(leadBytes(bytes))} << i;
        trails |= std::uint64_t{laneBits(trailBytes(bytes))} << i;
    }
    return brokenInMasks(leads, trails, lowBits(n));
}

} // namespace field_lanes

// Copies bytes [from, to) of the n-byte field at field, as copyFieldBytes
// would render them, so that a long field can be written in pieces. out
// needs room for 2 * (to - from) bytes plus kFieldSlack.
char* copyFieldPart(const char* field, std::size_t n, std::size_t from, std::size_t to, char* out);

// Copies the n bytes at field to out, which needs room for 2 * n bytes plus
// kFieldSlack; returns the end of what was written. Whole characters, the
// usual case, are moved sixteen bytes at a time.
inline char* copyFieldBytes(const char* field, std::size_t n, char* out) {
    using namespace field_lanes;
    // The bytes are moved as they are looked at; a broken character, which
    // is rare, has the field copied again the slow way.
    if (n <= kLanes) { // one look, the usual case
        const Lanes bytes = load(field);
        std::memcpy(out, &bytes, kLanes);
        if (n == 0 || (laneBits(bytes) & lowBits(n)) == 0)
            return out + n;
        if (brokenInMasks(laneBits(leadBytes(bytes)), laneBits(trailBytes(bytes)), lowBits(n)))
            return copyFieldPart(field, n, 0, n, out);
        return out + n;
    }
    if (n <= kMaskedBytes) {
        std::uint64_t high = 0;
        for (std::size_t i = 0; i < n; i += kLanes) {
            const Lanes bytes = load(field + i);
            std::memcpy(out + i, &bytes, kLanes);
            high |= std::uint64_t{laneBits(bytes)} << i;
        }
        // Only bytes 80 and above can start a character of two bytes.
        if (high != 0 && (high & lowBits(n)) != 0 && maskedFieldBroken(field, n))
            return copyFieldPart(field, n, 0, n, out);
        return out + n;
    }
    bool oddBefore = false;
    for (std::size_t i = 0; i < n; i += kLanes) {
        const Lanes bytes = load(field + i);
        std::memcpy(out + i, &bytes, kLanes);
        if (brokenLane(field, n, i, n, bytes, oddBefore) < kLanes)
            return copyFieldPart(field, n, 0, n, out);
    }
    return out + n;
}

} // namespace quisk
