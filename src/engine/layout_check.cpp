#include "layout_check.h"

#include "common/sjis.h"
#include "engine/field_bytes.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>

namespace quisk {
namespace {

// Which bytes and byte pairs the system's converter reads as characters,
// asked of the converter itself once, so that the check and a conversion
// never disagree.
class CharacterTable {
public:
    // Asks the converter: slow, so kept out of line, which lets the look
    // reach the table through characters() at the cost of a flag's test.
    [[gnu::noinline]] CharacterTable();
    bool single(unsigned char b) const { return single_[b]; }
    bool pair(unsigned char lead, unsigned char trail) const {
        return pairs_[pairIndex(lead, trail)] != 0;
    }
    // 1 for a pair that is a character, else 0. The index puts the lead byte
    // low, as the two bytes read as a little-endian word, which lets the look
    // fetch a pair with one load; a byte each rather than a bit spares the
    // shifts on the way.
    std::uint8_t pairFlag(unsigned index) const { return pairs_[index]; }
    static unsigned pairIndex(unsigned char lead, unsigned char trail) {
        return static_cast<unsigned>(trail) << 8 | lead;
    }

private:
    std::array<bool, 256> single_{};
    std::array<std::uint8_t, 65536> pairs_{};
};

CharacterTable::CharacterTable() {
    for (unsigned b = 0; b < 256; ++b)
        single_[b] = !sjis::isLeadByte(static_cast<unsigned char>(b)) &&
                     sjis::decode(std::string(1, static_cast<char>(b))).has_value();
    for (unsigned lead = 0x81; lead <= 0xFC; ++lead) {
        if (!sjis::isLeadByte(static_cast<unsigned char>(lead)))
            continue;
        for (unsigned trail = 0x40; trail <= 0xFC; ++trail) {
            if (!sjis::isTrailByte(static_cast<unsigned char>(trail)))
                continue;
            const char pair[2] = {static_cast<char>(lead), static_cast<char>(trail)};
            pairs_[pairIndex(static_cast<unsigned char>(lead), static_cast<unsigned char>(trail))] =
                sjis::decode(std::string_view(pair, 2)).has_value();
        }
    }
}

const CharacterTable& characters() {
    static const CharacterTable table;
    return table;
}

// The lanes of the lead bytes of double-byte characters, given the lanes of
// lead bytes followed by a trail byte (pairable): from the start of each run
// of pairable lanes every other lane, as a character takes two bytes. The
// addition clears the runs that start on an even lane.
std::uint64_t pairLeads(std::uint64_t pairable) {
    constexpr std::uint64_t kEvenLanes = 0x5555'5555'5555'5555;
    constexpr std::uint64_t kOddLanes = ~kEvenLanes;
    const std::uint64_t runStarts = pairable & ~(pairable << 1);
    const std::uint64_t evenRuns = pairable & ~(pairable + (runStarts & kEvenLanes));
    return (evenRuns & kEvenLanes) | (pairable & ~evenRuns & kOddLanes);
}

// Sixteen-byte looks taken four at a time, so that the bits of 64 lanes are
// worked on at once.
constexpr std::size_t kWideLanes = 4 * field_lanes::kLanes;

class WideLook {
public:
    explicit WideLook(const char* at) {
        for (std::size_t k = 0; k < 4; ++k)
            parts_[k] = field_lanes::load(at + k * field_lanes::kLanes);
    }
    // The lanes where test, given sixteen lanes, sets the top bit.
    template <class Test>
    std::uint64_t bits(Test test) const {
        std::uint64_t bits = 0;
        for (std::size_t k = 0; k < 4; ++k)
            bits |= std::uint64_t{field_lanes::laneBits(test(parts_[k]))} << (k * field_lanes::kLanes);
        return bits;
    }

private:
    field_lanes::Lanes parts_[4];
};

// The first k lanes of 64, as lane bits.
std::uint64_t firstWideLanes(std::size_t k) {
    return k >= kWideLanes ? ~std::uint64_t{0} : (std::uint64_t{1} << k) - 1;
}

// Reports runs of invalid bytes as one problem each; flushed before any
// other problem of the line, so that a line's problems come in byte order.
class InvalidRun {
public:
    InvalidRun(long long number, ProblemSink& sink) : number_(number), sink_(sink) {}
    void add(std::size_t from, std::size_t to) {
        if (open_ && to_ == from) {
            to_ = to;
            return;
        }
        flush();
        from_ = from;
        to_ = to;
        open_ = true;
    }
    void flush() {
        if (open_)
            sink_.found({ProblemKind::InvalidBytes, number_, 0, from_, to_});
        open_ = false;
    }

private:
    long long number_;
    ProblemSink& sink_;
    std::size_t from_ = 0;
    std::size_t to_ = 0;
    bool open_ = false;
};

} // namespace

bool isCodePage932Character(unsigned char byte) {
    return characters().single(byte);
}

bool isCodePage932Character(unsigned char lead, unsigned char trail) {
    return characters().pair(lead, trail);
}

LayoutCheck::LayoutCheck(const FormatDefinition& format) {
    characters(); // built now rather than on the first line
    const FormatSettings& s = format.settings;
    exclude_ = {decimalValue(s.excludeFrom), decimalValue(s.excludeTo)};
    writeAsIs_ = {decimalValue(s.writeAsIsFrom), decimalValue(s.writeAsIsTo)};
    int number = 0;
    for (const FieldRow& row : format.rows()) {
        ++number;
        if (row.isEmpty())
            break;
        if (!row.fixedValue.empty())
            continue;
        const long long start = decimalValue(row.startPosition);
        const long long length = decimalValue(row.length);
        if (start < 1 || length < 0)
            continue;
        Field f{number, static_cast<std::size_t>(start - 1), static_cast<std::size_t>(length)};
        fields_.push_back(f);
        if (f.offset > 0)
            boundaries_.push_back({f.offset, number, ProblemKind::StartCut});
        if (f.length == 0) {
            // Runs to the end of the line, which must reach its start.
            restOfLine_ = true;
            lastFieldEnd_ = std::max(lastFieldEnd_, f.offset);
        } else {
            const std::size_t end = f.offset + f.length;
            boundaries_.push_back({end, number, ProblemKind::EndCut});
            lastFieldEnd_ = std::max(lastFieldEnd_, end);
        }
    }
    std::stable_sort(boundaries_.begin(), boundaries_.end(),
                     [](const Boundary& a, const Boundary& b) { return a.at < b.at; });
    for (const Boundary& b : boundaries_) {
        const std::size_t look = b.at / kWideLanes;
        if (boundaryLanes_.size() <= look)
            boundaryLanes_.resize(look + 1);
        boundaryLanes_[look] |= std::uint64_t{1} << (b.at % kWideLanes);
    }
}

// On x86-64 the look is built twice, for processors with AVX2 (as good as
// every one in use) and for any other, and the program picks one as it
// starts: the wider instructions and freer registers take a tenth off.
#if defined(__x86_64__)
#define LOOK_CLONES [[gnu::target_clones("arch=haswell", "default")]]
#else
#define LOOK_CLONES
#endif

// Whether the line holds no problem walkCharacters reports but cut
// characters, looked at 64 bytes at a time from the line's start: the usual
// case, found without walking the characters one by one. The boundaries that
// cut a character are set in cutLanes; a cut past the looks it holds needs
// the walk too. Looks at byte 64k, so that the field boundaries among the
// lanes are known by k.
LOOK_CLONES bool LayoutCheck::lookAt(std::string_view line, bool cuts, CutLanes& cutLanes) const {
    using namespace field_lanes;
    const CharacterTable& table = characters();
    const std::size_t n = line.size();
    const std::size_t boundaryLooks = cuts ? boundaryLanes_.size() : 0;
    std::uint64_t carry = 0; // lane 0 holds the second byte of a character
    char tail[kWideLanes + kLanes] = {};
    for (std::size_t i = 0, look = 0; i < n; i += kWideLanes, ++look) {
        // Each look reads its lanes and the byte after them: the last one
        // reads from a copy, zeros past the line's end.
        const char* at = line.data() + i;
        if (n - i <= kWideLanes) {
            std::memcpy(tail, at, n - i);
            at = tail;
        }
        const std::uint64_t inLine = firstWideLanes(n - i);
        const std::uint64_t boundaries =
            look < boundaryLooks ? boundaryLanes_[look] & inLine : 0;
        const WideLook bytes(at);
        // Bytes other than 7-bit ones, and line feeds.
        const std::uint64_t odd =
            bytes.bits([](Lanes b) { return b | (Lanes)(b == '\n'); }) & inLine;
        if (odd == 0) {
            // 7-bit bytes only, the usual case outside double-byte text.
            if ((carry & boundaries) != 0 && !cutLanes.add(look, carry & boundaries))
                return false;
            carry = 0;
            continue;
        }
        const std::uint64_t leads = bytes.bits([](Lanes b) { return leadBytes(b); });
        const std::uint64_t trailsAfter = WideLook(at + 1).bits([](Lanes b) { return trailBytes(b); });
        const std::uint64_t pairs = pairLeads(leads & trailsAfter & ~carry) & inLine;
        const std::uint64_t seconds = (pairs << 1) | carry;
        carry = pairs >> (kWideLanes - 1);
        if ((leads & ~pairs & ~seconds & inLine) != 0)
            return false; // a lead byte without its trail byte
        if ((seconds & boundaries) != 0 && !cutLanes.add(look, seconds & boundaries))
            return false;
        const std::uint64_t kana = bytes.bits([](Lanes b) { return inRange(b, 0xA1, 0x3F); });
        for (std::uint64_t other = odd & ~leads & ~seconds & ~kana; other != 0;
             other &= other - 1) {
            const auto b = static_cast<unsigned char>(at[std::countr_zero(other)]);
            if (b == '\n' || !table.single(b))
                return false;
        }
        // Every pair's flag, gathered without a branch per pair.
        std::uint8_t known = 1;
        for (std::uint64_t pair = pairs; pair != 0; pair &= pair - 1) {
            const auto* p = reinterpret_cast<const unsigned char*>(at) +
                            static_cast<unsigned>(std::countr_zero(pair));
            known &= table.pairFlag(CharacterTable::pairIndex(p[0], p[1]));
        }
        if (known == 0)
            return false;
    }
    return true;
}

bool LayoutCheck::CutLanes::add(std::size_t look, std::uint64_t cut) {
    if (look >= lanes.size())
        return false;
    for (; looks < look; ++looks)
        lanes[looks] = 0;
    lanes[look] = cut;
    looks = look + 1;
    return true;
}

// Reports the cuts the look found, in byte order as walkCharacters would.
void LayoutCheck::reportCuts(const CutLanes& cutLanes, long long number, ProblemSink& sink) const {
    auto next = boundaries_.begin();
    for (std::size_t look = 0; look < cutLanes.looks; ++look) {
        for (std::uint64_t lanes = cutLanes.lanes[look]; lanes != 0; lanes &= lanes - 1) {
            const std::size_t at = look * kWideLanes + static_cast<unsigned>(std::countr_zero(lanes));
            for (; next != boundaries_.end() && next->at < at; ++next) {
            }
            for (; next != boundaries_.end() && next->at == at; ++next)
                sink.found({next->kind, number, next->row, at - 1, at + 1});
        }
    }
}

inline void LayoutCheck::checkLength(std::size_t size, long long number, ProblemSink& sink) const {
    if (size < lastFieldEnd_)
        sink.found({ProblemKind::ShortLine, number, 0, size, lastFieldEnd_});
    else if (size > lastFieldEnd_ && !restOfLine_)
        sink.found({ProblemKind::DroppedBytes, number, 0, lastFieldEnd_, size});
}

void LayoutCheck::checkLine(std::string_view line, LineEnd end, long long number,
                            ProblemSink& sink) const {
    if (skips(number))
        return;
    const bool cut = !writeAsIs_.contains(number);
    if (cut)
        checkLength(line.size(), number, sink);
    CutLanes cuts;
    if (!lookAt(line, cut, cuts))
        walkCharacters(line, 0, number, cut, sink);
    else if (cuts.looks > 0)
        reportCuts(cuts, number, sink);
    if (end == LineEnd::Cr)
        sink.found({ProblemKind::LoneCarriageReturn, number, 0, line.size(), line.size() + 1});
}

// Walks the characters from byte from, where one begins (every byte before
// it is plain ASCII). A lead byte followed by a trail byte makes a
// character, whether the converter knows the pair or not, as it does when a
// field is copied; a boundary on its second byte cuts it.
void LayoutCheck::walkCharacters(std::string_view line, std::size_t from, long long number,
                                 bool cuts, ProblemSink& sink) const {
    const CharacterTable& table = characters();
    const auto* bytes = reinterpret_cast<const unsigned char*>(line.data());
    const std::size_t n = line.size();
    auto next = cuts ? std::upper_bound(boundaries_.begin(), boundaries_.end(), from,
                                        [](std::size_t at, const Boundary& b) { return at < b.at; })
                     : boundaries_.end();
    InvalidRun invalid(number, sink);
    for (std::size_t i = from; i < n;) {
        const unsigned char b = bytes[i];
        if (b < 0x80) {
            if (b == '\n') {
                invalid.flush();
                sink.found({ProblemKind::LoneLineFeed, number, 0, i, i + 1});
            }
            ++i;
            continue;
        }
        if (sjis::isLeadByte(b) && i + 1 < n && sjis::isTrailByte(bytes[i + 1])) {
            for (; next != boundaries_.end() && next->at <= i; ++next) {
            }
            for (; next != boundaries_.end() && next->at == i + 1; ++next) {
                invalid.flush();
                sink.found({next->kind, number, next->row, i, i + 2});
            }
            if (!table.pair(b, bytes[i + 1]))
                invalid.add(i, i + 2);
            i += 2;
            continue;
        }
        if (!table.single(b))
            invalid.add(i, i + 1);
        ++i;
    }
    invalid.flush();
}

std::vector<LayoutProblem> checkLines(const FormatDefinition& format, std::string_view text,
                                      long long firstNumber) {
    struct Collect final : ProblemSink {
        std::vector<LayoutProblem> problems;
        void found(const LayoutProblem& p) override { problems.push_back(p); }
    } collect;
    const LayoutCheck check(format);
    long long number = firstNumber;
    while (!text.empty()) {
        const std::size_t cr = text.find('\r');
        if (cr == std::string_view::npos) {
            check.checkLine(text, LineEnd::None, number, collect);
            break;
        }
        const bool lf = cr + 1 < text.size() && text[cr + 1] == '\n';
        check.checkLine(text.substr(0, cr), lf ? LineEnd::CrLf : LineEnd::Cr, number++, collect);
        text.remove_prefix(cr + (lf ? 2 : 1));
    }
    return std::move(collect.problems);
}

} // namespace quisk
