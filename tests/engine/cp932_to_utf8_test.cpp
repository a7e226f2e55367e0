// The byte table against ICU's own decoder for the Windows form of
// Shift-JIS, byte by byte and pair by pair, and the bytes it must replace;
// the converter's word-at-a-time paths against a plain character walk.
#include "common/sjis.h"
#include "engine/cp932_to_utf8.h"

#include <gtest/gtest.h>
#include <memory>
#include <random>
#include <string>
#include <unicode/ucnv.h>
#include <unicode/unistr.h>
#include <vector>

namespace quisk {
namespace {

constexpr const char* kReplacement = "\xEF\xBF\xBD"; // U+FFFD

struct Result {
    std::string utf8;
    std::size_t replaced;
};

Result convert(std::string_view bytes, bool lfOnly = false) {
    EXPECT_TRUE(cp932::prepare());
    std::string out(cp932::maxUtf8Bytes(bytes.size()), '\0');
    cp932::Converted done = cp932::toUtf8(bytes, out.data(), lfOnly);
    out.resize(static_cast<std::size_t>(done.end - out.data()));
    return {out, done.replaced};
}

// ICU's own reading of the bytes as windows-31j, refusing anything it would
// substitute.
class IcuDecoder {
public:
    IcuDecoder() {
        UErrorCode status = U_ZERO_ERROR;
        conv_.reset(ucnv_open("windows-31j", &status));
        ucnv_setToUCallBack(conv_.get(), UCNV_TO_U_CALLBACK_STOP, nullptr, nullptr, nullptr,
                            &status);
        EXPECT_TRUE(U_SUCCESS(status));
    }
    std::optional<std::string> decode(std::string_view bytes) {
        std::vector<UChar> text(bytes.size() + 1);
        UErrorCode status = U_ZERO_ERROR;
        ucnv_resetToUnicode(conv_.get());
        int32_t n = ucnv_toUChars(conv_.get(), text.data(), static_cast<int32_t>(text.size()),
                                  bytes.data(), static_cast<int32_t>(bytes.size()), &status);
        if (U_FAILURE(status))
            return std::nullopt;
        std::string utf8;
        icu::UnicodeString(text.data(), n).toUTF8String(utf8);
        return utf8;
    }

private:
    struct Closer {
        void operator()(UConverter* c) const { ucnv_close(c); }
    };
    std::unique_ptr<UConverter, Closer> conv_;
};

std::string bytes(std::initializer_list<int> values) {
    std::string s;
    for (int v : values)
        s += static_cast<char>(v);
    return s;
}

TEST(Cp932ToUtf8, EveryDoubleByteCharacterReadsAsIcuReadsIt) {
    IcuDecoder icu;
    int valid = 0;
    std::string all; // every valid pair, each behind an ASCII run of a different length
    std::string expected;
    for (int lead = 0x81; lead <= 0xFC; ++lead) {
        if (!sjis::isLeadByte(static_cast<unsigned char>(lead)))
            continue;
        for (int trail = 0x40; trail <= 0xFC; ++trail) {
            if (trail == 0x7F)
                continue;
            const std::string pair = bytes({lead, trail});
            const Result ours = convert(pair);
            if (auto theirs = icu.decode(pair)) {
                ++valid;
                ASSERT_NE(*theirs, kReplacement); // so every U+FFFD written is counted
                ASSERT_EQ(ours.utf8, *theirs) << std::hex << lead << ' ' << trail;
                ASSERT_EQ(ours.replaced, 0u);
                const std::string run(static_cast<std::size_t>(valid % 19), 'a');
                all += run + pair;
                expected += run + *theirs;
            } else {
                // a pair code page 932 does not assign is one replaced character
                ASSERT_EQ(ours.utf8, kReplacement) << std::hex << lead << ' ' << trail;
                ASSERT_EQ(ours.replaced, 1u);
            }
        }
    }
    EXPECT_EQ(valid, 9604);
    // In one stream, past the word-at-a-time copy of the ASCII runs.
    const Result stream = convert(all);
    EXPECT_EQ(stream.utf8, expected);
    EXPECT_EQ(stream.replaced, 0u);
}

// Every byte from 0x80 that is no lead byte reads as the rest of Quisk
// reads it: as ICU's decoder does where ICU decodes it, and as Windows does
// for the five bytes ICU refuses. ICU's table rotates three control codes
// the IBM way (0x1A to U+001C, 0x1C to U+007F, 0x7F to U+001A); Windows
// keeps every 7-bit byte as it is, and so does the output, so that UTF-8
// output has the bytes of Shift-JIS output wherever those are ASCII.
TEST(Cp932ToUtf8, EverySingleByteReadsAsTheRestOfQuiskReadsIt) {
    IcuDecoder icu;
    std::vector<int> rotatedByIcu;
    std::vector<int> refusedByIcu;
    for (int b = 0; b < 256; ++b) {
        const std::string one = bytes({b});
        const Result ours = convert(one);
        auto theirs = icu.decode(one);
        if (b < 0x80) {
            ASSERT_TRUE(theirs);
            EXPECT_EQ(ours.utf8, one);
            if (*theirs != one)
                rotatedByIcu.push_back(b);
        } else if (sjis::isLeadByte(static_cast<unsigned char>(b))) {
            EXPECT_EQ(ours.utf8, kReplacement) << std::hex << b; // no trail byte follows
            EXPECT_EQ(ours.replaced, 1u);
            continue;
        } else {
            EXPECT_EQ(ours.utf8, sjis::decode(one).value_or("<none>")) << std::hex << b;
            if (theirs)
                EXPECT_EQ(ours.utf8, *theirs) << std::hex << b;
            else
                refusedByIcu.push_back(b);
        }
        EXPECT_EQ(ours.replaced, 0u);
    }
    EXPECT_EQ(rotatedByIcu, (std::vector<int>{0x1A, 0x1C, 0x7F}));
    EXPECT_EQ(refusedByIcu, (std::vector<int>{0x80, 0xA0, 0xFD, 0xFE, 0xFF}));
    EXPECT_EQ(convert(bytes({0x80, 0xA0, 0xFD, 0xFE, 0xFF})).utf8,
              "\u0080\uF8F0\uF8F1\uF8F2\uF8F3");
}

TEST(Cp932ToUtf8, BrokenLeadsAndUnassignedPairsBecomeCountedReplacements) {
    // The "・" the formatter writes for a cut character is a real character.
    EXPECT_EQ(convert(bytes({0x81, 0x45})).utf8, "・");
    struct Case {
        std::string in;
        std::string out;
        std::size_t replaced;
    };
    const std::string r = kReplacement;
    const Case cases[] = {
        {bytes({'A', 0x81}), "A" + r, 1},                                        // lead at the end
        {bytes({0x88, '\r', '\n'}), r + "\r\n", 1},                              // line end kept
        {bytes({0x81, ' ', 'x'}), r + " x", 1},                                  // space not eaten
        {bytes({0x85, 0x40, 'x'}), r + "x", 1},                                  // unassigned pair
        {bytes({0x82, 0xA0, 0x88, 0xFF, 0x82, 0xA2}), "あ" + r + "\uF8F3い", 1}, // 0xFF is no trail
        {bytes({0xB1, 0x88, 0x7F, 0x81, 0x81}), "ｱ" + r + "\x7F\uFF1D", 1},
    };
    for (const Case& c : cases) {
        // On its own, and behind and before runs of 7-bit bytes long enough
        // to be looked at sixteen bytes at a time.
        const std::string before(37, 'a');
        const std::string after = "\r\n" + before;
        for (const auto& [in, out] :
             {std::pair{c.in, c.out}, {before + c.in + after, before + c.out + after}}) {
            Result got = convert(in);
            EXPECT_EQ(got.utf8, out);
            EXPECT_EQ(got.replaced, c.replaced);
        }
    }
}

TEST(Cp932ToUtf8, APieceEndingInALeadByteKeepsItBackForTheNextOne) {
    std::string out(cp932::maxUtf8Bytes(40), '\0');
    for (const std::string& before : {std::string("a"), std::string(37, 'a')}) {
        cp932::Converted done =
            cp932::toUtf8(before + bytes({0x88, 0x9F, 0x8A}), out.data(), false, true);
        EXPECT_EQ(std::string(out.data(), done.end), before + "\xE4\xBA\x9C"); // 亜, 0x8A waits
        EXPECT_EQ(done.keptBack, 1u);
        done = cp932::toUtf8(before + bytes({0x88, 0x9F}), out.data(), false, true); // a trail here
        EXPECT_EQ(done.keptBack, 0u);
        done = cp932::toUtf8(before + bytes({0x8A}), out.data(), false, false); // the last piece
        EXPECT_EQ(std::string(out.data(), done.end), before + kReplacement);
        EXPECT_EQ(done.keptBack, 0u);
    }
}

TEST(Cp932ToUtf8, LfOnlyDropsTheCarriageReturnOfEveryCrLf) {
    const std::string longLine(21, 'x');
    // Lone CR and LF stay, within a long run of 7-bit bytes and at the end.
    const std::string in = longLine + "\r\n" + bytes({0x8A, 0xBF}) + "\r\n" + "a\rb\n" + longLine +
                           "\r\n" + "a\rb\nc\r\n";
    EXPECT_EQ(convert(in, true).utf8, longLine + "\n漢\na\rb\n" + longLine + "\na\rb\nc\n");
    EXPECT_EQ(convert(in, false).utf8,
              longLine + "\r\n漢\r\na\rb\n" + longLine + "\r\na\rb\nc\r\n");

    // Shift-JIS output keeps every other byte, a trail byte 0x5C included.
    const std::string sjis = bytes({0x95, 0x5C, '\r', '\n', 0x8A, 0xBF, '\r', '\r', '\n'});
    std::string out(sjis.size(), '\0');
    out.resize(static_cast<std::size_t>(cp932::toLfOnly(sjis, out.data()) - out.data()));
    EXPECT_EQ(out, bytes({0x95, 0x5C, '\n', 0x8A, 0xBF, '\r', '\n'}));
}

// The conversion done one character at a time with sjis::decode.
Result walk(std::string_view in, bool lfOnly) {
    Result r{"", 0};
    for (std::size_t i = 0; i < in.size();) {
        const auto b = static_cast<unsigned char>(in[i]);
        std::size_t n = 1;
        if (b < 0x80) {
            if (!(lfOnly && b == '\r' && i + 1 < in.size() && in[i + 1] == '\n'))
                r.utf8 += in[i];
            ++i;
            continue;
        }
        if (sjis::isLeadByte(b) && i + 1 < in.size() &&
            sjis::isTrailByte(static_cast<unsigned char>(in[i + 1])))
            n = 2;
        std::optional<std::string> c = sjis::decode(in.substr(i, n));
        r.utf8 += c ? *c : kReplacement;
        r.replaced += !c;
        i += n;
    }
    return r;
}

// Random texts of every kind of byte, in runs, with line ends: each length
// ends the fast paths at a different place.
TEST(Cp932ToUtf8, RandomTextsConvertAsACharacterWalkDoes) {
    std::mt19937 random(20261207);
    const std::string pieces[] = {"a",        "0123456789", "\r\n",     "\r",      "\n",
                                  "\x88\x9F", "\x81\x40",   "\x82\xA0", "\xB1",    "\xDF",
                                  "\x81",     "\x85\x40",   "\xFD",     "\x80",    "\x95\x5C",
                                  "\x83\x7E", "\xFC\xFC",   "\xE0\x7F", "\x87\x40"};
    for (int round = 0; round < 3000; ++round) {
        std::string in;
        const std::size_t count = random() % 40;
        for (std::size_t i = 0; i < count; ++i) {
            // runs of one piece, as a field of kanji or of spaces would be
            const std::string& piece = pieces[random() % std::size(pieces)];
            for (std::size_t k = random() % 6; k > 0; --k)
                in += piece;
        }
        for (bool lfOnly : {false, true}) {
            const Result ours = convert(in, lfOnly);
            const Result theirs = walk(in, lfOnly);
            ASSERT_EQ(ours.utf8, theirs.utf8) << testing::PrintToString(in) << lfOnly;
            ASSERT_EQ(ours.replaced, theirs.replaced) << testing::PrintToString(in);
        }
    }
}

} // namespace
} // namespace quisk
