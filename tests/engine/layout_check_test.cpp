#include "engine/layout_check.h"

#include <gtest/gtest.h>

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
    EXPECT_EQ(checkLines(f, "A\x82\xA0\x82\xA2" "B"), std::vector<LayoutProblem>{});
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
    EXPECT_EQ(checkLines(f, "A\x85\x40\xEA\xA5" "B\x82\xA0"),
              std::vector{problem(K::InvalidBytes, 1, 1, 5)});
    // A lead byte without its trail byte, inside and at the end of the line.
    EXPECT_EQ(checkLines(f, "\x82 A\x82"), (std::vector{problem(K::InvalidBytes, 1, 0, 1),
                                                       problem(K::InvalidBytes, 1, 3, 4)}));
    EXPECT_TRUE(isCodePage932Character(0x82, 0xA0));
    EXPECT_TRUE(isCodePage932Character(0xB1));
    EXPECT_FALSE(isCodePage932Character(0x85, 0x40));
}

TEST(LayoutCheck, FindsLoneLineFeedsAndCarriageReturns) {
    const FormatDefinition f = layout({{"1", ""}});
    // The reader ends lines at CR and CR LF only: a lone LF stays inside.
    EXPECT_EQ(checkLines(f, "AB\nC\rDE\r\n\x82\xA0\n\rF"),
              (std::vector{problem(K::LoneLineFeed, 1, 2, 3),
                           problem(K::LoneCarriageReturn, 1, 4, 5),
                           problem(K::LoneLineFeed, 3, 2, 3),
                           problem(K::LoneCarriageReturn, 3, 3, 4)}));
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
