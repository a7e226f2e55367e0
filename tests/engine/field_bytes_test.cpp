// Compares the sixteen-bytes-at-a-time field copy against a plain
// byte-by-byte reading of the rule, on millions of random fields.
#include "engine/field_bytes.h"

#include <gtest/gtest.h>
#include <random>
#include <string>

namespace quisk {
namespace {

bool lead(unsigned char b) {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}
bool trail(unsigned char b) {
    return (b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFC);
}

// The rule, one byte at a time from the field's own first byte.
std::string plainCopy(std::string_view field) {
    std::string out;
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (!lead(static_cast<unsigned char>(field[i]))) {
            out += field[i];
        } else if (i + 1 < field.size() && trail(static_cast<unsigned char>(field[i + 1]))) {
            out += field.substr(i, 2);
            ++i;
        } else {
            out += "\x81\x45";
        }
    }
    return out;
}

// Random bytes from pools that matter to the rule: 7-bit bytes, each lead
// range, trail-only bytes, bytes that are neither, and long runs of lead
// bytes whose pairing depends on where the field starts.
class FieldSource {
public:
    explicit FieldSource(unsigned seed) : random_(seed) {}

    std::string bytes(std::size_t n) {
        std::string s;
        const unsigned style = pick(4);
        while (s.size() < n) {
            if (style == 0) {
                s += static_cast<char>(pick(256)); // any byte
            } else if (style == 1 && pick(8) == 0) {
                s.append(std::min<std::size_t>(n - s.size(), pick(40)), leadByte());
            } else {
                s += pooled();
            }
        }
        s.resize(n);
        return s;
    }

    unsigned pick(unsigned n) { return static_cast<unsigned>(random_() % n); }

private:
    char leadByte() { return static_cast<char>(pick(2) ? 0x81 + pick(0x1F) : 0xE0 + pick(0x1D)); }
    char pooled() {
        switch (pick(7)) {
        case 0:
            return static_cast<char>(0x20 + pick(0x5F)); // printable 7-bit
        case 1:
        case 2:
            return leadByte();
        case 3:
            return static_cast<char>(0x40 + pick(0x3F)); // 7-bit trail bytes
        case 4:
            return static_cast<char>(0xA0 + pick(0x40)); // trail, not lead
        case 5: {
            const char neither[] = {'\x00', '\x0D', '\x3F', '\x7F', '\xFD', '\xFE', '\xFF'};
            return neither[pick(sizeof neither)];
        }
        default:
            return static_cast<char>(0x80); // trail, not lead
        }
    }

    std::mt19937_64 random_;
};

// A field: n bytes at data, with random bytes before it (the rest of its
// line) and after it (the slack the copy may read), which must not change
// its copy.
struct Field {
    const char* data;
    std::size_t size;
    std::string_view view() const { return {data, size}; }
};

std::string fastCopy(Field f) {
    std::string out(2 * f.size + kFieldSlack, '\0');
    char* end = copyFieldBytes(f.data, f.size, out.data());
    out.resize(static_cast<std::size_t>(end - out.data()));
    return out;
}

std::string piecewiseCopy(Field f, FieldSource& source) {
    std::string out;
    for (std::size_t from = 0; from < f.size;) {
        std::size_t to = std::min(f.size, from + 1 + source.pick(40));
        std::string piece(2 * (to - from) + kFieldSlack, '\0');
        char* end = copyFieldPart(f.data, f.size, from, to, piece.data());
        out.append(piece.data(), static_cast<std::size_t>(end - piece.data()));
        from = to;
    }
    return out;
}

TEST(FieldBytes, MatchesTheByteByByteRuleOnMillionsOfRandomFields) {
    // Fields are cut at random places out of a few megabytes of random bytes
    // made in stretches of each style.
    FieldSource source(20261207);
    std::string pool;
    while (pool.size() < (4u << 20))
        pool += source.bytes(1 + source.pick(4096));
    const std::size_t room = pool.size() - 4096 - kFieldSlack;
    for (int round = 0; round < 40'000; ++round) {
        for (std::size_t n = 0; n <= 64; ++n) {
            Field f{pool.data() + source.pick(static_cast<unsigned>(room)), n};
            ASSERT_EQ(fastCopy(f), plainCopy(f.view()))
                << "round " << round << ", " << n << " bytes";
        }
        if (round % 100 == 0) {
            Field f{pool.data() + source.pick(static_cast<unsigned>(room)), 65 + source.pick(4000)};
            ASSERT_EQ(fastCopy(f), plainCopy(f.view())) << "round " << round;
            ASSERT_EQ(piecewiseCopy(f, source), plainCopy(f.view())) << "round " << round;
        }
    }
}

TEST(FieldBytes, KnownPairings) {
    auto copy = [](std::string_view bytes) {
        std::string padded = std::string(bytes) + std::string(kFieldSlack, '\x9F');
        return fastCopy({padded.data(), bytes.size()});
    };
    EXPECT_EQ(copy("\x8A\xBF"), "\x8A\xBF"); // a whole character
    EXPECT_EQ(copy("A\x8A"), "A\x81\x45");   // trail byte outside the field
    EXPECT_EQ(copy("\x8A\x0D"
                   "B"),
              "\x81\x45\x0D"
              "B");                                          // not a trail byte
    EXPECT_EQ(copy("\xB1\x80\xFD\xA0"), "\xB1\x80\xFD\xA0"); // single bytes copied
    EXPECT_EQ(copy("\x85\x40"), "\x85\x40");                 // undefined pair kept as it is
    // A run of lead-range bytes pairs up from its start, across the lanes.
    const std::string run33(33, '\x81');
    EXPECT_EQ(copy(run33 + " "), std::string(32, '\x81') + "\x81\x45 ");
    EXPECT_EQ(copy(run33 + "\x81 "), run33 + "\x81 ");
}

} // namespace
} // namespace quisk
