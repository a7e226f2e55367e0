#include "common/sjis.h"
#include "engine/layout_check.h"

#include <algorithm>
#include <cstdint>
#include <gtest/gtest.h>
#include <tuple>

namespace quisk {

// Problems as readable text in failure messages.
void PrintTo(const LayoutProblem& p, std::ostream* out) {
    *out << "{kind " << static_cast<int>(p.kind) << ", line " << p.line << ", row " << p.fieldRow
         << ", " << p.from << "-" << p.to << "}";
}

namespace {

using K = ProblemKind;

// A format with data rows (start, length) and optional range settings.
FormatDefinition layout(std::initializer_list<std::pair<const char*, const char*>> fields) {
    FormatDefinition f;
    int n = 0;
    for (const auto& [start, length] : fields) {
        FieldRow& row = f.row(++n);
        row.fieldName = "F" + std::to_string(n);
        row.startPosition = start;
        row.length = length;
        row.fieldType = kTypeChar;
    }
    return f;
}

LayoutProblem problem(K kind, long long line, std::size_t from, std::size_t to, int row = 0) {
    return {kind, line, row, from, to};
}

// "あい" is 82 A0 82 A2; "亜" is 88 9F, a trail byte in the lead range;
// "表" is 95 5C, a trail byte in the ASCII range; "ｱ" is the single byte B1.
TEST(LayoutCheck, FindsFieldsCutInsideDoubleByteCharacters) {
    const FormatDefinition f = layout({{"1", "3"}, {"4", "3"}});
    // Field 1 ends and field 2 starts on the second byte of "あ".
    EXPECT_EQ(checkLines(f, "AB\x82\xA0\x82\xA2"),
              (std::vector{problem(K::EndCut, 1, 2, 4, 1), problem(K::StartCut, 1, 2, 4, 2)}));
    // Whole characters on both sides of every boundary.
    EXPECT_EQ(checkLines(f, "A\x82\xA0\x82\xA2"
                            "B"),
              std::vector<LayoutProblem>{});
    // Half-width katakana are single bytes: never cut.
    EXPECT_EQ(checkLines(f, "\xB1\xB2\xB3\xB4\xB5\xB6"), std::vector<LayoutProblem>{});
    // Field 2 ends inside "表" (trail 5C), at the line's third character.
    EXPECT_EQ(checkLines(f, "ABC\x82\xA0\x95\x5C"),
              (std::vector{problem(K::DroppedBytes, 1, 6, 7), problem(K::EndCut, 1, 5, 7, 2)}));
}

TEST(LayoutCheck, PairsRunsOfLeadRangeBytesFromTheirStart) {
    // "亜亜亜" is six lead-range bytes: characters start at 0, 2 and 4.
    const std::string line = "\x88\x9F\x88\x9F\x88\x9F";
    const std::string framed = std::string("A").append(line).append("B");
    EXPECT_EQ(checkLines(layout({{"1", "2"}, {"3", "2"}, {"5", "2"}}), line),
              std::vector<LayoutProblem>{});
    EXPECT_EQ(checkLines(layout({{"2", "2"}, {"5", "2"}}), line),
              (std::vector{problem(K::StartCut, 1, 0, 2, 1), problem(K::EndCut, 1, 2, 4, 1)}));
    // After one single-byte character the pairs shift by one.
    EXPECT_EQ(checkLines(layout({{"1", "1"}, {"2", "2"}, {"4", "5"}}), framed),
              std::vector<LayoutProblem>{});
    EXPECT_EQ(checkLines(layout({{"1", "2"}, {"3", "6"}}), framed),
              (std::vector{problem(K::EndCut, 1, 1, 3, 1), problem(K::StartCut, 1, 1, 3, 2)}));
}

TEST(LayoutCheck, FindsCutsAndInvalidBytesAcrossLooks) {
    // Lines are looked at 64 bytes at a time: "表" lies across the first two
    // looks, at bytes 63 and 64, and the second look holds 7-bit bytes only.
    const std::string line = std::string("\x82\xA0") + std::string(61, 'A') + "\x95\x5C" + "BB";
    EXPECT_EQ(checkLines(layout({{"1", "64"}, {"65", "3"}}), line),
              (std::vector{problem(K::EndCut, 1, 63, 65, 1), problem(K::StartCut, 1, 63, 65, 2)}));
    EXPECT_EQ(checkLines(layout({{"1", "63"}, {"64", "4"}}), line), std::vector<LayoutProblem>{});
    // An unassigned pair across the looks, and one at the end of a long line.
    std::string invalid = line;
    invalid[63] = '\x85';
    invalid[64] = '\x40';
    invalid += std::string(20, 'C') + "\xEA\xA5";
    EXPECT_EQ(
        checkLines(layout({{"1", ""}}), invalid),
        (std::vector{problem(K::InvalidBytes, 1, 63, 65), problem(K::InvalidBytes, 1, 87, 89)}));
    // Cuts in the first look and far into a long line: "A" and 300 times "あ".
    std::string far = "A";
    for (int i = 0; i < 300; ++i)
        far += "\x82\xA0";
    EXPECT_EQ(checkLines(layout({{"1", "2"}, {"3", "518"}, {"521", "80"}}), far),
              (std::vector{problem(K::DroppedBytes, 1, 600, 601), problem(K::EndCut, 1, 1, 3, 1),
                           problem(K::StartCut, 1, 1, 3, 2), problem(K::EndCut, 1, 519, 521, 2),
                           problem(K::StartCut, 1, 519, 521, 3), problem(K::EndCut, 1, 599, 601, 3)}));
}

TEST(LayoutCheck, ComparesTheLineWithTheLastField) {
    const FormatDefinition f = layout({{"1", "2"}, {"5", "2"}});
    EXPECT_EQ(checkLines(f, "ABC\r\nABCDEF\r\nABCDEFGH"),
              (std::vector{problem(K::ShortLine, 1, 3, 6), problem(K::DroppedBytes, 3, 6, 8)}));
    // A field to the end of the line keeps every byte; the line must reach
    // its start.
    const FormatDefinition rest = layout({{"1", "2"}, {"4", ""}});
    EXPECT_EQ(checkLines(rest, "ABCDEFGHIJ\r\nABC\r\nAB"),
              std::vector{problem(K::ShortLine, 3, 2, 3)});
    // Fixed rows cut nothing and the table ends at its first empty row.
    FormatDefinition fixed = layout({{"1", "2"}});
    fixed.row(2).fixedValue = "-";
    fixed.row(4).startPosition = "9";
    fixed.row(4).length = "9";
    EXPECT_EQ(checkLines(fixed, "AB"), std::vector<LayoutProblem>{});
}

TEST(LayoutCheck, FindsBytesThatAreNoCodePage932Character) {
    const FormatDefinition f = layout({{"1", ""}});
    // 85 40 is an unassigned pair; adjacent invalid characters make one span.
    EXPECT_EQ(checkLines(f, "A\x85\x40\xEA\xA5"
                            "B\x82\xA0"),
              std::vector{problem(K::InvalidBytes, 1, 1, 5)});
    // A lead byte without its trail byte, inside and at the end of the line.
    EXPECT_EQ(checkLines(f, "\x82 A\x82"),
              (std::vector{problem(K::InvalidBytes, 1, 0, 1), problem(K::InvalidBytes, 1, 3, 4)}));
    EXPECT_TRUE(isCodePage932Character(0x82, 0xA0));
    EXPECT_TRUE(isCodePage932Character(0xB1));
    EXPECT_FALSE(isCodePage932Character(0x85, 0x40));
}

TEST(LayoutCheck, FindsLoneLineFeedsAndCarriageReturns) {
    const FormatDefinition f = layout({{"1", ""}});
    // The reader ends lines at CR and CR LF only: a lone LF stays inside.
    EXPECT_EQ(
        checkLines(f, "AB\nC\rDE\r\n\x82\xA0\n\rF"),
        (std::vector{problem(K::LoneLineFeed, 1, 2, 3), problem(K::LoneCarriageReturn, 1, 4, 5),
                     problem(K::LoneLineFeed, 3, 2, 3), problem(K::LoneCarriageReturn, 3, 3, 4)}));
    EXPECT_EQ(checkLines(f, "A\r", 7), std::vector{problem(K::LoneCarriageReturn, 7, 1, 2)});
}

TEST(LayoutCheck, SkipsExcludedLinesAndChecksOnlyTheBytesOfCopiedLines) {
    FormatDefinition f = layout({{"1", "1"}, {"2", "2"}});
    f.settings.excludeFrom = "1";
    f.settings.excludeTo = "1";
    f.settings.writeAsIsFrom = "1";
    f.settings.writeAsIsTo = "2";
    const std::string bad = "\x82\xA0\x85\x40\n";
    EXPECT_EQ(checkLines(f, bad + "\r" + bad + "\r" + bad + "\r\n"),
              (std::vector{problem(K::InvalidBytes, 2, 2, 4), problem(K::LoneLineFeed, 2, 4, 5),
                           problem(K::LoneCarriageReturn, 2, 5, 6),
                           problem(K::DroppedBytes, 3, 3, 5), problem(K::EndCut, 3, 0, 2, 1),
                           problem(K::StartCut, 3, 0, 2, 2), problem(K::EndCut, 3, 2, 4, 2),
                           problem(K::InvalidBytes, 3, 2, 4), problem(K::LoneLineFeed, 3, 4, 5)}));
}

} // namespace
} // namespace quisk

namespace quisk {
namespace {

// The problems of one line found the plain way, one character after the
// other, to hold the looks to. A copied line (copied) is not cut, so its
// fields and length go unchecked.
std::vector<LayoutProblem> walkedProblems(const std::vector<LayoutCheck::Field>& fields,
                                          const std::string& line, bool copied = false) {
    std::vector<std::size_t> seconds; // bytes that are a character's second byte
    std::vector<std::pair<std::size_t, std::size_t>> invalid;
    std::vector<LayoutProblem> found;
    for (std::size_t i = 0; i < line.size();) {
        const auto b = static_cast<unsigned char>(line[i]);
        const bool pair = sjis::isLeadByte(b) && i + 1 < line.size() &&
                          sjis::isTrailByte(static_cast<unsigned char>(line[i + 1]));
        const bool valid = pair ? isCodePage932Character(b, static_cast<unsigned char>(line[i + 1]))
                                : isCodePage932Character(b) && !sjis::isLeadByte(b);
        if (!valid)
            invalid.emplace_back(i, i + (pair ? 2 : 1));
        if (b == '\n')
            found.push_back({ProblemKind::LoneLineFeed, 1, 0, i, i + 1});
        if (pair)
            seconds.push_back(i + 1);
        i += pair ? 2 : 1;
    }
    for (auto [from, to] : invalid)
        found.push_back({ProblemKind::InvalidBytes, 1, 0, from, to});
    if (copied)
        return found;
    std::size_t needed = 0;
    bool toLineEnd = false;
    for (const auto& f : fields) {
        auto cutAt = [&](std::size_t at, ProblemKind kind) {
            if (std::find(seconds.begin(), seconds.end(), at) != seconds.end())
                found.push_back({kind, 1, f.row, at - 1, at + 1});
        };
        if (f.offset > 0)
            cutAt(f.offset, ProblemKind::StartCut);
        if (f.length > 0)
            cutAt(f.offset + f.length, ProblemKind::EndCut);
        toLineEnd = toLineEnd || f.length == 0;
        needed = std::max(needed, f.offset + f.length);
    }
    if (line.size() < needed)
        found.push_back({ProblemKind::ShortLine, 1, 0, line.size(), needed});
    else if (line.size() > needed && !toLineEnd)
        found.push_back({ProblemKind::DroppedBytes, 1, 0, needed, line.size()});
    return found;
}

// Sorted and with adjacent invalid characters joined, as the check reports them.
std::vector<LayoutProblem> normalised(std::vector<LayoutProblem> problems) {
    std::vector<LayoutProblem> out;
    std::sort(problems.begin(), problems.end(), [](const auto& a, const auto& b) {
        return std::tie(a.kind, a.fieldRow, a.from) < std::tie(b.kind, b.fieldRow, b.from);
    });
    for (const LayoutProblem& p : problems) {
        if (!out.empty() && p.kind == ProblemKind::InvalidBytes && out.back().kind == p.kind &&
            out.back().to == p.from)
            out.back().to = p.to;
        else
            out.push_back(p);
    }
    return out;
}

class RandomLines {
public:
    std::uint32_t below(std::uint32_t n) {
        seed_ = seed_ * 1664525u + 1013904223u;
        return (seed_ >> 8) % n;
    }

    // Up to four fields anywhere in the first maxStart bytes, now and then
    // with a fixed row, a row that cuts nothing or a field to the end of the
    // line among them.
    FormatDefinition layout(std::uint32_t maxStart) {
        FormatDefinition f;
        const int fieldCount = 1 + static_cast<int>(below(4));
        for (int r = 1; r <= fieldCount; ++r) {
            f.row(r).startPosition = std::to_string(below(8) == 0 ? 0 : 1 + below(maxStart));
            f.row(r).length = std::to_string(below(8) == 0 ? 0 : 1 + below(maxStart / 2));
            if (below(10) == 0)
                f.row(r).fixedValue = std::string(1, '-');
        }
        if (below(2) == 0)
            f.row(fieldCount + 1).startPosition = "1"; // a field to the end of the line
        return f;
    }

    // Stretches of plain text, of characters and of half-width kana, as in
    // real files, so that many lines are sound but for their cuts; and now
    // and then bytes that make every kind of problem likely.
    std::string line(std::size_t size) {
        // "亜", "あ", "表", "ア", "｀" (81 81, both bytes in the lead range), "～"-like
        // 81 60, "ｧ"-range single bytes, and kanji from both lead ranges.
        static const char* const characters[] = {"\x88\x9F", "\x82\xA0", "\x95\x5C",
                                                  "\x83\x41", "\x81\x81", "\x81\x60",
                                                  "\x9F\x40", "\xE0\x40", "\xE9\xFC",
                                                  "\x89\x9F", "\xB1",     "\xDF"};
        static const unsigned char junk[] = {'\n', 0x7F, 0x80, 0x81, 0x85, 0x88, 0x9F, 0xA0,
                                             0xE0, 0xEA, 0xEB, 0xFC, 0xFD, 0xFF, 0x00, 0x40};
        std::string line;
        while (line.size() < size) {
            const std::uint32_t kind = below(16);
            if (kind == 0) {
                line += static_cast<char>(junk[below(sizeof junk)]);
                continue;
            }
            for (std::uint32_t k = 1 + below(20); k > 0 && line.size() < size; --k)
                line += kind < 5 ? std::string(1, static_cast<char>('A' + below(26)))
                                 : std::string(characters[below(std::size(characters))]);
        }
        return line.substr(0, size);
    }

private:
    std::uint32_t seed_ = 12345;
};

TEST(LayoutCheck, FindsWhatACharacterWalkFindsInRandomLines) {
    RandomLines random;
    for (int round = 0; round < 20000; ++round) {
        // Short lines now and then, long ones that take several looks too.
        const bool longLine = random.below(3) == 0;
        FormatDefinition f = random.layout(longLine ? 200 : 40);
        const bool copied = random.below(6) == 0;
        if (copied) {
            // Line 1 is written as it is.
            f.settings.writeAsIsFrom = f.settings.writeAsIsTo = std::to_string(1);
        }
        const std::string line = random.line(1 + random.below(longLine ? 260 : 70));
        ASSERT_EQ(normalised(checkLines(f, line)),
                  normalised(walkedProblems(LayoutCheck(f).fields(), line, copied)))
            << "round " << round;
    }
}

} // namespace
} // namespace quisk
