// The output encoding and line-end selectors beside the output kind.
#include "editor_fixture.h"

namespace quisk::test {
namespace {

using OutputSelectors = EditorTest;

TEST_F(OutputSelectors, ListsAreFixedAndTheTextIsKept) {
    auto ed = open(Choice::New);
    EXPECT_EQ(ed->CmbToCode->text(), "Shift-JIS");
    EXPECT_EQ(ed->CmbToLineEnd->text(), "CR+LF");
    ed->CmbToCode->setText("UTF-8");
    ed->CmbToCode_DropDown();
    ed->CmbToCode_DropDown();
    ASSERT_EQ(ed->CmbToCode->count(), 3);
    EXPECT_EQ(ed->CmbToCode->itemText(2).toStdString(), "UTF-8 (BOM付き)");
    EXPECT_EQ(ed->CmbToCode->text(), "UTF-8");
    ed->CmbToLineEnd_DropDown();
    ASSERT_EQ(ed->CmbToLineEnd->count(), 2);
    EXPECT_EQ(ed->CmbToLineEnd->itemText(1).toStdString(), "LF");
    EXPECT_TRUE(desk.messages.shown.empty());
}

TEST_F(OutputSelectors, PicksMarkTheFormatChangedAndTypedTextIsRefused) {
    auto ed = open(Choice::New);
    ed->CmbToLineEnd->setText("LF");
    EXPECT_EQ(ed->format().settings.outputLineEnd, "LF");
    EXPECT_TRUE(state.formatDirty);

    ed->CmbToCode->setText("UTF-8 (BOM付き)");
    ed->CmbToCode->setText("U"); // typing starts over: refused at once
    EXPECT_EQ(ed->CmbToCode->text(), "Shift-JIS");
    EXPECT_EQ(ed->format().settings.outputEncoding, "Shift-JIS");
    ed->CmbToLineEnd->setText("CR");
    EXPECT_EQ(ed->format().settings.outputLineEnd, "CR+LF");
    EXPECT_EQ(desk.messages.texts(),
              (std::vector<std::string>{"文字ｺｰﾄﾞの選択はｺﾝﾎﾞﾎﾞｯｸｽからしかできません｡",
                                        "改行ｺｰﾄﾞの選択はｺﾝﾎﾞﾎﾞｯｸｽからしかできません｡"}));
    EXPECT_EQ(titles(), (std::vector<std::string>{"入力ｴﾗｰ", "入力ｴﾗｰ"}));
}

TEST_F(OutputSelectors, ASavedChoiceReloadsAndAnotherFormatBringsTheDefaultsBack) {
    auto ed = open(Choice::New);
    ed->CmbToCode->setText("UTF-8");
    ed->CmbToLineEnd->setText("LF");
    ed->Grid1->setTextAt(1, 1, "CODE");
    ed->Grid1->setTextAt(1, 2, "1");
    ed->Grid1->setTextAt(1, 3, "5");
    ed->Grid1->setTextAt(1, 4, "Char");
    desk.dialogs.answer(path("utf8.qfd"));
    ed->mnuSaveAs_Click();
    EXPECT_FALSE(state.formatDirty);

    state.jobFormatPath = path("utf8.qfd");
    auto again = open(Choice::Current);
    EXPECT_EQ(again->CmbToCode->text(), "UTF-8");
    EXPECT_EQ(again->CmbToLineEnd->text(), "LF");
    EXPECT_FALSE(state.formatDirty);

    // Opening a format saved without the two markers shows the defaults.
    desk.dialogs.answer(writeSample("plain.qfd"));
    again->mnuOpen_Click();
    EXPECT_EQ(again->CmbToCode->text(), "Shift-JIS");
    EXPECT_EQ(again->CmbToLineEnd->text(), "CR+LF");
    EXPECT_FALSE(state.formatDirty);
    EXPECT_TRUE(desk.messages.shown.empty());
}

TEST_F(OutputSelectors, EachPickIsAnUndoStep) {
    auto ed = open(Choice::New);
    ed->CmbToCode->setText("UTF-8");
    ed->CmbToLineEnd->setText("LF");
    ed->mnuUndo_Click();
    EXPECT_EQ(ed->CmbToLineEnd->text(), "CR+LF");
    EXPECT_EQ(ed->format().settings.outputLineEnd, "CR+LF");
    EXPECT_EQ(ed->format().settings.outputEncoding, "UTF-8");
    ed->mnuUndo_Click();
    EXPECT_EQ(ed->CmbToCode->text(), "Shift-JIS");
    EXPECT_FALSE(ed->mnuUndo->isEnabled());
    ed->mnuRedo_Click();
    EXPECT_EQ(ed->format().settings.outputEncoding, "UTF-8");
    EXPECT_TRUE(desk.messages.shown.empty());
}

TEST_F(OutputSelectors, AChangedEncodingAsksBeforeClosing) {
    state.jobFormatPath = box.value = writeSample("job.qfd");
    auto ed = open(Choice::Current);
    ed->show();
    ed->CmbToCode->setText("UTF-8");
    desk.messages.answer(Answer::Cancel);
    ed->CmdClose_Click();
    EXPECT_FALSE(ed->closed());
    ASSERT_EQ(desk.messages.shown.size(), 1u);
    EXPECT_EQ(desk.messages.shown[0].title, "保存確認");
}

} // namespace
} // namespace quisk::test
