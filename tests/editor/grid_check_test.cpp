#include "editor/editor_texts.h"
#include "editor/grid_check.h"

#include <gtest/gtest.h>

namespace quisk {
namespace {

namespace t = editor_texts;
using Outcome = GridCheckResult::Outcome;

FieldRow data(std::string name, std::string start, std::string length, std::string type) {
    return FieldRow{std::move(name), std::move(start), std::move(length), std::move(type), "", ""};
}

// Expects the check to fail at row with the given rule text.
void expectFailure(const FormatDefinition& f, int row, const char* text) {
    GridCheckResult r = checkGrid(f);
    ASSERT_EQ(r.outcome, Outcome::Failed);
    EXPECT_EQ(r.message->text, std::to_string(row) + text);
    EXPECT_EQ(r.message->title, t::kCellErrorTitle);
    EXPECT_EQ(r.message->icon, Icon::Stop);
    EXPECT_EQ(r.message->buttons, Buttons::Ok);
    EXPECT_EQ(r.endRow, row);
}

TEST(GridCheckPasses, EmptyTableAndTrailingEmptyRows) {
    FormatDefinition f;
    GridCheckResult r = checkGrid(f);
    EXPECT_EQ(r.outcome, Outcome::Passed);
    EXPECT_EQ(r.endRow, 200);
    for (int i = 1; i <= 5; ++i)
        f.row(i) = data("F" + std::to_string(i), "1", "5", i % 2 ? "Char" : "Num");
    r = checkGrid(f);
    EXPECT_EQ(r.outcome, Outcome::Passed);
    EXPECT_FALSE(r.message);
}

TEST(GridCheckPasses, FixedFieldsWithNameOrRemarks) {
    FormatDefinition f;
    f.row(1) = FieldRow{"KIND", "", "", "", "X", "note"};
    f.row(2) = FieldRow{"", "", "", "", "X", ""};
    f.row(3) = FieldRow{"", "", "", "", "X", "note"};
    f.row(4) = data("N", "007", "1", "Num");
    EXPECT_EQ(checkGrid(f).outcome, Outcome::Passed);
}

TEST(GridCheckRules, EachRuleWithItsRowNumber) {
    struct Case {
        FieldRow row;
        const char* text;
    };
    const Case cases[] = {
        {FieldRow{"", "1", "", "", "X", ""}, t::kFixedValueAlone}, // fixed beats digits
        {FieldRow{"N", "", "", "Char", "X", ""}, t::kFixedValueAlone},
        {FieldRow{"", "", "", "", "", "note"}, t::kRemarksOnly},
        {data("N", "1", "", "Char"), t::kFillAllFour},        // name, length missing
        {data("", "", "", "Num"), t::kFillAllFour},           // type alone
        {data("", "1", "", ""), t::kFillAllFour},             // start alone
        {data("", "", "2", ""), t::kFillAllFour},             // length alone
        {data("N", "１", "2", "Char"), t::kDigitsInPosition}, // full-width digit
        {data("N", "+1", "2", "Char"), t::kDigitsInPosition},
        {data("N", " 1", "2", "Char"), t::kDigitsInPosition},
        {data("N", "1.5", "2", "Char"), t::kDigitsInPosition},
        {data("N", "1", "2x", "Char"), t::kDigitsInPosition},
        {data("N", "1", "2", "num"), t::kTypeCharOrNum},
        {data("N", "1", "2", "CHAR"), t::kTypeCharOrNum},
        {data("N", "1", "2", "Char "), t::kTypeCharOrNum},
        {data("N", "1", "0", "Char"), t::kNoZero},
        {data("N", "00", "3", "Num"), t::kNoZero},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        FormatDefinition f;
        f.row(1) = data("A", "1", "1", "Char");
        f.row(2) = data("B", "2", "1", "Char");
        f.row(3) = c.row;
        expectFailure(f, 3, c.text);
    }
}

TEST(GridCheckRules, OnlyTheUpperOfTwoFaultyRowsIsReported) {
    FormatDefinition f;
    f.row(1) = data("A", "1", "1", "Char");
    f.row(2) = data("B", "1", "0", "Char");
    f.row(3) = FieldRow{"", "", "", "", "", "note"};
    expectFailure(f, 2, t::kNoZero);
}

TEST(GridCheckRules, RemarkOnRowFourCarriesItsNumber) {
    FormatDefinition f;
    for (int i = 1; i <= 3; ++i)
        f.row(i) = data("A", "1", "1", "Char");
    f.row(4).remarks = "x";
    EXPECT_EQ(checkGrid(f).message->text, "4行目:｢備考欄｣しか入力されていません｡");
}

TEST(GridCheckGap, QuestionAfterTheFirstRowBelowTheGap) {
    FormatDefinition f;
    f.row(2) = data("A", "1", "1", "Char");
    f.row(3) = FieldRow{"", "", "", "", "", "never examined"};
    GridCheckResult r = checkGrid(f);
    ASSERT_EQ(r.outcome, Outcome::AskGap);
    EXPECT_EQ(r.endRow, 2);
    EXPECT_EQ(r.message->title, t::kCellErrorTitle);
    EXPECT_EQ(r.message->icon, Icon::None);
    EXPECT_EQ(r.message->buttons, Buttons::YesNo);
    EXPECT_EQ(r.message->defaultAnswer, Answer::Yes);
    EXPECT_EQ(r.message->text, std::string("ｾﾙは上に詰めて入力してください｡\r\n") +
                                   "ﾌﾞﾗﾝｸ行が間にあるとそれ以下のｾﾙは保存されません｡\r\n\r\n" +
                                   "このまま保存しますか?");

    ScriptedMessageBoxes yes, no;
    yes.answer(Answer::Yes);
    no.answer(Answer::No);
    EXPECT_TRUE(answerGridCheck(r, yes));
    EXPECT_FALSE(answerGridCheck(r, no));
    EXPECT_EQ(yes.shown.size(), 1u);
}

TEST(GridCheckGap, FaultyRowBelowTheGapIsReportedInstead) {
    FormatDefinition f;
    f.row(1) = data("A", "1", "1", "Char");
    f.row(3) = data("C", "1", "1", "char");
    expectFailure(f, 3, t::kTypeCharOrNum);

    ScriptedMessageBoxes boxes;
    EXPECT_FALSE(answerGridCheck(checkGrid(f), boxes));
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, "3行目:ﾌｨｰﾙﾄﾞﾀｲﾌﾟは｢Char｣または｢Num｣だけです｡");
}

TEST(GridCheckGap, SingleSpaceIsNotAnEmptyCell) {
    FormatDefinition f;
    f.row(1) = data("A", "1", "1", "Char");
    f.row(2).remarks = " ";
    expectFailure(f, 2, t::kRemarksOnly);
}

} // namespace
} // namespace quisk
