#include "editor/block_text.h"

#include <gtest/gtest.h>

namespace quisk {
namespace {

// A table whose cell (r, c) holds "r.c" in rows 1 to 4.
FormatDefinition numberedTable() {
    FormatDefinition format;
    for (int r = 1; r <= 4; ++r)
        for (int c = 1; c <= FieldRow::kCellCount; ++c)
            format.row(r).cell(c) = std::to_string(r) + "." + std::to_string(c);
    return format;
}

TEST(BlockTextCopy, TwoByThreeBlockIsTabsAndOneCarriageReturn) {
    const FormatDefinition format = numberedTable();
    EXPECT_EQ(blockText(format, {2, 1, 3, 3}), "2.1\t2.2\t2.3\r3.1\t3.2\t3.3");
}

TEST(BlockTextCopy, SelectionDrawnUpwardsAndLeftGivesTheSameBlock) {
    const FormatDefinition format = numberedTable();
    EXPECT_EQ(blockText(format, {3, 3, 2, 1}), blockText(format, {2, 1, 3, 3}));
}

TEST(BlockTextCopy, SingleCellIsItsTextAlone) {
    const FormatDefinition format = numberedTable();
    EXPECT_EQ(blockText(format, {4, 6, 4, 6}), "4.6");
}

TEST(BlockTextCopy, PartsOutsideTheTableAreLeftOut) {
    FormatDefinition format = numberedTable();
    format.removeRow(4);
    for (int n = format.fieldRowCount(); n > 3; --n)
        format.removeRow(n);
    EXPECT_EQ(blockText(format, {3, 0, 9, 2}), "3.1\t3.2");
    EXPECT_EQ(blockText(format, {5, 1, 9, 2}), "");
}

TEST(BlockTextParse, SplitsRowsAtCarriageReturnsAndValuesAtTabs) {
    EXPECT_EQ(parseBlockText("a\tb\tc\rd\te\tf"), (BlockRows{{"a", "b", "c"}, {"d", "e", "f"}}));
}

TEST(BlockTextParse, LineFeedAfterCarriageReturnIsPartOfTheBreak) {
    EXPECT_EQ(parseBlockText("a\tb\r\nc\td\r\n"), (BlockRows{{"a", "b"}, {"c", "d"}}));
}

TEST(BlockTextParse, LineFeedAloneEndsARow) {
    EXPECT_EQ(parseBlockText("a\nb\n"), (BlockRows{{"a"}, {"b"}}));
}

TEST(BlockTextParse, OnlyOneTrailingBreakIsDropped) {
    EXPECT_EQ(parseBlockText("a\r"), (BlockRows{{"a"}}));
    EXPECT_EQ(parseBlockText("a\r\r"), (BlockRows{{"a"}, {""}}));
    EXPECT_EQ(parseBlockText("a\r\n\r\n"), (BlockRows{{"a"}, {""}}));
}

TEST(BlockTextParse, EmptyValuesAreKept) {
    EXPECT_EQ(parseBlockText("\tb\t"), (BlockRows{{"", "b", ""}}));
    EXPECT_EQ(parseBlockText("a\r\rc"), (BlockRows{{"a"}, {""}, {"c"}}));
}

TEST(BlockTextParse, EmptyTextHasNoRows) {
    EXPECT_TRUE(parseBlockText("").empty());
}

TEST(BlockTextParse, RoundTripsCopiedBlock) {
    const FormatDefinition format = numberedTable();
    const CellSelection block{1, 2, 4, 5};
    FormatDefinition target;
    ASSERT_TRUE(pasteBlockText(target, block, blockText(format, block)));
    EXPECT_EQ(blockText(target, block), blockText(format, block));
}

TEST(BlockTextPaste, OneSelectedCellReceivesOnlyTheFirstValue) {
    FormatDefinition format = numberedTable();
    const FormatDefinition before = format;
    ASSERT_TRUE(pasteBlockText(format, {2, 2, 2, 2}, "a\tb\tc\rd\te\tf"));
    EXPECT_EQ(format.row(2).startPosition, "a");
    format.row(2).startPosition = before.row(2).startPosition;
    EXPECT_EQ(format, before);
}

TEST(BlockTextPaste, LargerSelectionKeepsCellsWithoutValue) {
    FormatDefinition format = numberedTable();
    ASSERT_TRUE(pasteBlockText(format, {1, 1, 3, 4}, "a\tb\tc\rd\te\tf"));
    EXPECT_EQ(blockText(format, {1, 1, 3, 4}), "a\tb\tc\t1.4\rd\te\tf\t2.4\r3.1\t3.2\t3.3\t3.4");
}

TEST(BlockTextPaste, ValuesBeyondTheSelectionAreDropped) {
    FormatDefinition format = numberedTable();
    ASSERT_TRUE(pasteBlockText(format, {2, 5, 3, 6}, "a\tb\tc\rd\te\tf\rg\th\ti"));
    EXPECT_EQ(blockText(format, {1, 4, 4, 6}),
              "1.4\t1.5\t1.6\r2.4\ta\tb\r3.4\td\te\r4.4\t4.5\t4.6");
}

TEST(BlockTextPaste, SelectionDrawnUpwardsFillsFromItsTopLeftCell) {
    FormatDefinition format = numberedTable();
    ASSERT_TRUE(pasteBlockText(format, {3, 2, 2, 1}, "a\tb\rc\td"));
    EXPECT_EQ(blockText(format, {2, 1, 3, 2}), "a\tb\rc\td");
}

TEST(BlockTextPaste, NeverWritesPastTheLastRow) {
    FormatDefinition format;
    const int last = format.fieldRowCount();
    ASSERT_TRUE(pasteBlockText(format, {last, 1, last + 5, 1}, "a\rb\rc"));
    EXPECT_EQ(format.fieldRowCount(), last);
    EXPECT_EQ(format.row(last).fieldName, "a");
}

TEST(BlockTextPaste, EmptyClipboardChangesNothing) {
    FormatDefinition format = numberedTable();
    const FormatDefinition before = format;
    EXPECT_FALSE(pasteBlockText(format, {1, 1, 2, 2}, ""));
    EXPECT_EQ(format, before);
}

TEST(BlockTextPaste, EmptyValueEmptiesItsCell) {
    FormatDefinition format = numberedTable();
    ASSERT_TRUE(pasteBlockText(format, {1, 1, 1, 3}, "\tx\t"));
    EXPECT_EQ(blockText(format, {1, 1, 1, 3}), "\tx\t");
}

} // namespace
} // namespace quisk
