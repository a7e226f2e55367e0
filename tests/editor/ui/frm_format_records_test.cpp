// The record length and record-type selection boxes of the format editor.
#include "editor_fixture.h"

#include <QLineEdit>

namespace quisk::test {
namespace {

using RecordBoxes = EditorTest;

TEST_F(RecordBoxes, TakeDigitsOnlyUpTo32767WithAMessage) {
    auto ed = open(Choice::New);
    EXPECT_EQ(ed->RecordLenTxt->text(), "0");
    ed->RecordLenTxt->setText("12a");
    EXPECT_EQ(ed->RecordLenTxt->text(), "12");
    ed->SelectTxtStart->setText("40000");
    EXPECT_EQ(ed->SelectTxtStart->text(), "32767");
    EXPECT_EQ(ed->format().settings.recordLength, "12");
    EXPECT_EQ(ed->format().settings.recordSelectStart, "32767");
    EXPECT_TRUE(state.formatDirty);
    EXPECT_EQ(desk.messages.texts(),
              (std::vector<std::string>{"数字しか入力できません｡",
                                        "1から32767までの数字を入力してください｡"}));
    EXPECT_EQ(titles(), (std::vector<std::string>{"入力ｴﾗｰ", "入力ｴﾗｰ"}));
    // the text takes anything, double-byte characters included
    ed->SelectTxtText->setText("漢ｶ");
    EXPECT_EQ(ed->format().settings.recordSelectText, "漢ｶ");
    EXPECT_EQ(desk.messages.shown.size(), 2u);
}

TEST_F(RecordBoxes, ASavedSelectionReloadsAndAWrongLengthStopsTheSave) {
    auto ed = open(Choice::New);
    ed->Grid1->setTextAt(1, 1, "KIND");
    ed->Grid1->setTextAt(1, 2, "1");
    ed->Grid1->setTextAt(1, 3, "1");
    ed->Grid1->setTextAt(1, 4, "Char");
    ed->RecordLenTxt->setText("120");
    ed->SelectTxtStart->setText("1");
    ed->SelectTxtLength->setText("1");
    ed->SelectTxtText->setText("漢");
    ed->mnuSaveAs_Click(); // stops before the save dialog: "漢" takes two bytes
    EXPECT_FALSE(pathExists(path("records.qfd")));
    ASSERT_EQ(desk.messages.shown.size(), 1u);
    EXPECT_EQ(desk.messages.shown[0].text, "｢対象ﾚｺｰﾄﾞ｣の指定が間違っています｡\r位置は1以上､長さは"
                                           "文字のﾊﾞｲﾄ数(半角1､全角2)にしてください｡");

    ed->SelectTxtLength->setText("2");
    desk.dialogs.answer(path("records.qfd"));
    ed->mnuSaveAs_Click();
    ASSERT_TRUE(pathExists(path("records.qfd")));
    state.jobFormatPath = path("records.qfd");
    auto again = open(Choice::Current);
    EXPECT_EQ(again->RecordLenTxt->text(), "120");
    EXPECT_EQ(again->SelectTxtLength->text(), "2");
    EXPECT_EQ(again->SelectTxtText->text(), "漢");
    EXPECT_FALSE(state.formatDirty);
    // a format without the markers shows lines and no selection
    desk.dialogs.answer(writeSample("plain.qfd"));
    again->mnuOpen_Click();
    EXPECT_EQ(again->RecordLenTxt->text(), "0");
    EXPECT_EQ(again->SelectTxtText->text(), "");
}

TEST_F(RecordBoxes, TypingIntoABoxIsOneUndoStep) {
    auto ed = open(Choice::New);
    ed->RecordLenTxt->setText("1");
    ed->RecordLenTxt->setText("12");
    ed->RecordLenTxt->setText("120");
    ed->SelectTxtText->setText("2");
    ed->mnuUndo_Click();
    EXPECT_EQ(ed->SelectTxtText->text(), "");
    EXPECT_EQ(ed->RecordLenTxt->text(), "120");
    ed->mnuUndo_Click();
    EXPECT_EQ(ed->RecordLenTxt->text(), "0");
    EXPECT_EQ(ed->format().settings.recordLength, "0");
    EXPECT_FALSE(ed->mnuUndo->isEnabled());
    ed->mnuRedo_Click();
    EXPECT_EQ(ed->format().settings.recordLength, "120");
}

} // namespace
} // namespace quisk::test
