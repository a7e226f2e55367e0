#include "editor/editor_texts.h"
#include "editor/type_change.h"

#include <gtest/gtest.h>

namespace quisk {
namespace {

FieldRow dataRow(const std::string& name, const std::string& start, const std::string& type) {
    FieldRow row;
    row.fieldName = name;
    row.startPosition = start;
    row.length = start.empty() ? "" : "2";
    row.fieldType = type;
    return row;
}

// Rows: 1 named Num data row, 2 named Char data row, 3 named fixed-value row
// of type Num, 4 unnamed row with a start position and type Num, 5 named data
// row without type, 6 named data row of type "num", 7 empty.
FormatDefinition mixedTable() {
    FormatDefinition format;
    format.row(1) = dataRow("code", "1", "Num");
    format.row(2) = dataRow("name", "3", "Char");
    format.row(3) = dataRow("kind", "", "Num");
    format.row(3).fixedValue = "A";
    format.row(4) = dataRow("", "5", "Num");
    format.row(5) = dataRow("date", "7", "");
    format.row(6) = dataRow("rate", "9", "num");
    return format;
}

std::vector<std::string> typesOfFirstRows(const FormatDefinition& format, int count = 7) {
    std::vector<std::string> types;
    for (int r = 1; r <= count; ++r)
        types.push_back(format.row(r).fieldType);
    return types;
}

class TypeChangeNamedRows : public ::testing::Test {
protected:
    FormatDefinition format = mixedTable();
    ScriptedMessageBoxes messages;
};

TEST_F(TypeChangeNamedRows, AsksWithTheTargetTypeInTheQuestion) {
    messages.answer(Answer::No);
    setTypeOfNamedRows(format, "Num", messages);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0], (Message{"全てのﾌｨｰﾙﾄﾞﾀｲﾌﾟを｢Num｣に一括で変更します", "変換確認",
                                          Icon::None, Buttons::YesNo, Answer::Yes}));
}

TEST_F(TypeChangeNamedRows, AnsweredNoChangesNothing) {
    const FormatDefinition before = format;
    messages.answer(Answer::No);
    EXPECT_FALSE(setTypeOfNamedRows(format, "Char", messages));
    EXPECT_EQ(format, before);
}

TEST_F(TypeChangeNamedRows, YesConvertsEveryNamedRowFixedValuesIncluded) {
    messages.answer(Answer::Yes);
    EXPECT_TRUE(setTypeOfNamedRows(format, "Char", messages));
    EXPECT_EQ(typesOfFirstRows(format),
              (std::vector<std::string>{"Char", "Char", "Char", "Num", "Char", "Char", ""}));
}

TEST_F(TypeChangeNamedRows, UnnamedRowWithStartPositionIsLeftAlone) {
    messages.answer(Answer::Yes);
    setTypeOfNamedRows(format, "Char", messages);
    EXPECT_EQ(format.row(4).fieldType, "Num");
    EXPECT_TRUE(format.row(7).isEmpty());
}

TEST(TypeChangeReplace, ReplacesOnlyNamedDataRowsOfExactlyThatType) {
    FormatDefinition format = mixedTable();
    EXPECT_TRUE(replaceType(format, "Num", "Char"));
    EXPECT_EQ(typesOfFirstRows(format),
              (std::vector<std::string>{"Char", "Char", "Num", "Num", "", "num", ""}));
}

TEST(TypeChangeReplace, EmptyAnswerTypesTheNamedDataRowsWithoutType) {
    FormatDefinition format = mixedTable();
    EXPECT_TRUE(replaceType(format, "", "Char"));
    EXPECT_EQ(typesOfFirstRows(format),
              (std::vector<std::string>{"Num", "Char", "Num", "Num", "Char", "num", ""}));
}

TEST(TypeChangeReplace, CancelAnswerChangesNothingWhetherPressedOrTyped) {
    FormatDefinition format = mixedTable();
    const FormatDefinition before = format;
    EXPECT_TRUE(isCancelAnswer(editor_texts::kCancelAnswer));
    EXPECT_FALSE(replaceType(format, "Cancel", "Num"));
    EXPECT_EQ(format, before);
    EXPECT_FALSE(isCancelAnswer("cancel"));
    EXPECT_FALSE(isCancelAnswer("ｷｬﾝｾﾙ"));
}

TEST(TypeChangeReplace, AnswerMatchingNoRowStillCountsAsAChange) {
    FormatDefinition format = mixedTable();
    const FormatDefinition before = format;
    EXPECT_TRUE(replaceType(format, "Text", "Num"));
    EXPECT_EQ(format, before);
}

TEST(TypeChangeRowFilters, EachCommandHasItsOwnFilter) {
    const FormatDefinition format = mixedTable();
    EXPECT_EQ(namedRows(format), (std::vector<int>{1, 2, 3, 5, 6}));
    EXPECT_EQ(rowsOfType(format, "Num"), (std::vector<int>{1}));
    EXPECT_EQ(rowsWithStartPosition(format, 1, 7), (std::vector<int>{1, 2, 4, 5, 6}));
}

TEST(TypeChangeRowFilters, StartPositionRangeIsClampedToTheTable) {
    FormatDefinition format;
    format.row(1).startPosition = "1";
    format.row(format.fieldRowCount()).startPosition = "9";
    EXPECT_EQ(rowsWithStartPosition(format, format.fieldRowCount() + 3, -2),
              (std::vector<int>{1, format.fieldRowCount()}));
}

class TypeChangeSelection : public ::testing::Test {
protected:
    FormatDefinition format = mixedTable();
};

TEST_F(TypeChangeSelection, OutsideTheTypeColumnDoesNothing) {
    const FormatDefinition before = format;
    EXPECT_FALSE(setTypeOfSelection(format, {1, 1, 6, 4}, "Char"));
    EXPECT_EQ(format, before);
}

TEST_F(TypeChangeSelection, DownwardsConvertsSelectedRowsWithStartPosition) {
    EXPECT_TRUE(setTypeOfSelection(format, {3, 4, 6, 4}, "Char"));
    EXPECT_EQ(typesOfFirstRows(format),
              (std::vector<std::string>{"Num", "Char", "Num", "Char", "Char", "Char", ""}));
}

TEST_F(TypeChangeSelection, UpwardsConvertsTheRowsBetweenBothEnds) {
    FormatDefinition downwards = format;
    EXPECT_TRUE(setTypeOfSelection(format, {6, 4, 3, 4}, "Char"));
    setTypeOfSelection(downwards, {3, 4, 6, 4}, "Char");
    EXPECT_EQ(format, downwards);
}

TEST_F(TypeChangeSelection, TypeCellOfAnEmptyRowAloneReceivesTheType) {
    EXPECT_TRUE(setTypeOfSelection(format, {7, 4, 7, 4}, "Num"));
    EXPECT_EQ(format.row(7).fieldType, "Num");
}

TEST_F(TypeChangeSelection, WithinOneRowOnlyTheTypeCellChanges) {
    const FormatDefinition before = format;
    EXPECT_TRUE(setTypeOfSelection(format, {2, 4, 2, 1}, "Num"));
    EXPECT_EQ(format.row(2).fieldType, "Num");
    format.row(2).fieldType = before.row(2).fieldType;
    EXPECT_EQ(format, before);
}

TEST_F(TypeChangeSelection, MultiRowSelectionSkipsFixedValueAndEmptyRows) {
    EXPECT_TRUE(setTypeOfSelection(format, {3, 4, 7, 4}, "Char"));
    EXPECT_EQ(format.row(3).fieldType, "Num");
    EXPECT_EQ(format.row(7).fieldType, "");
}

} // namespace
} // namespace quisk
