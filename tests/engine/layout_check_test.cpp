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

TEST(LayoutCheck, FindsCutsAndInvalidBytesAcrossSixteenByteLooks) {
    // Lines are looked at sixteen bytes at a time from their first non-ASCII
    // byte: "表" lies across the first two looks, at bytes 15 and 16.
    const std::string line = std::string("\x82\xA0") + std::string(13, 'A') + "\x95\x5C" + "BB";
    EXPECT_EQ(checkLines(layout({{"1", "16"}, {"17", "3"}}), line),
              (std::vector{problem(K::EndCut, 1, 15, 17, 1), problem(K::StartCut, 1, 15, 17, 2)}));
    EXPECT_EQ(checkLines(layout({{"1", "15"}, {"16", "4"}}), line), std::vector<LayoutProblem>{});
    // An unassigned pair across the looks, and one at the end of a long line.
    std::string invalid = line;
    invalid[15] = '\x85';
    invalid[16] = '\x40';
    invalid += std::string(20, 'C') + "\xEA\xA5";
    EXPECT_EQ(
        checkLines(layout({{"1", ""}}), invalid),
        (std::vector{problem(K::InvalidBytes, 1, 15, 17), problem(K::InvalidBytes, 1, 39, 41)}));
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
// other, to hold the sixteen-byte looks to.
std::vector<LayoutProblem> walkedProblems(const std::vector<LayoutCheck::Field>& fields,
                                          const std::string& line) {
    std::vector<std::size_t> seconds; // bytes that are a character's second byte
    std::vector<std::pair<std::size_t, std::size_t>> invalid;
    std::vector<LayoutProblem> lineFeeds;
    for (std::size_t i = 0; i < line.size();) {
        const auto b = static_cast<unsigned char>(line[i]);
        const bool pair = sjis::isLeadByte(b) && i + 1 < line.size() &&
                          sjis::isTrailByte(static_cast<unsigned char>(line[i + 1]));
        const bool valid = pair ? isCodePage932Character(b, static_cast<unsigned char>(line[i + 1]))
                                : isCodePage932Character(b) && !sjis::isLeadByte(b);
        if (!valid)
            invalid.emplace_back(i, i + (pair ? 2 : 1));
        if (b == '\n')
            lineFeeds.push_back({ProblemKind::LoneLineFeed, 1, 0, i, i + 1});
        if (pair)
            seconds.push_back(i + 1);
        i += pair ? 2 : 1;
    }
    std::vector<LayoutProblem> found = lineFeeds;
    for (auto [from, to] : invalid)
        found.push_back({ProblemKind::InvalidBytes, 1, 0, from, to});
    for (const auto& f : fields) {
        auto cutAt = [&](std::size_t at, ProblemKind kind) {
            if (std::find(seconds.begin(), seconds.end(), at) != seconds.end())
                found.push_back({kind, 1, f.row, at - 1, at + 1});
        };
        cutAt(f.offset, ProblemKind::StartCut);
        cutAt(f.offset + f.length, ProblemKind::EndCut);
    }
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

TEST(LayoutCheck, FindsWhatACharacterWalkFindsInRandomLines) {
    // Bytes that make every kind of character and problem likely.
    const unsigned char pool[] = {'A',  ' ',  '\n', 0x40, 0x5C, 0x7F, 0x80, 0x81,
                                  0x82, 0x83, 0x85, 0x88, 0x9F, 0xA0, 0xA1, 0xB1,
                                  0xDF, 0xE0, 0xEA, 0xFC, 0xFD, 0xA2, 0x60, 0x9E};
    std::uint32_t seed = 12345;
    auto random = [&seed](std::uint32_t n) {
        seed = seed * 1664525u + 1013904223u;
        return (seed >> 8) % n;
    };
    for (int round = 0; round < 3000; ++round) {
        FormatDefinition f;
        const int fieldCount = 1 + static_cast<int>(random(4));
        for (int r = 1; r <= fieldCount; ++r) {
            f.row(r).startPosition = std::to_string(1 + random(40));
            f.row(r).length = std::to_string(1 + random(20));
        }
        f.row(fieldCount + 1).startPosition = "1"; // a field to the end of the line
        std::string line;
        const std::size_t size = random(70);
        // Mostly double-byte text, so that long runs of lead-range bytes occur.
        for (std::size_t i = 0; i < size; ++i)
            line += static_cast<char>(random(2) ? pool[7 + random(4)] : pool[random(sizeof pool)]);
        std::vector<LayoutProblem> problems;
        for (const LayoutProblem& p : checkLines(f, line))
            if (p.kind != ProblemKind::ShortLine)
                problems.push_back(p);
        ASSERT_EQ(normalised(problems), normalised(walkedProblems(LayoutCheck(f).fields(), line)))
            << "round " << round;
    }
}

} // namespace
} // namespace quisk
