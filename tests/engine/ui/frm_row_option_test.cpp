#include "common/twips.h"
#include "engine/ui/frm_row_option.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

namespace quisk {
namespace {

const Message kDigitsOnly{"数字しか入力できません｡", "入力ｴﾗｰ", Icon::Stop, Buttons::Ok};
const Message kExcludedWrong{"｢対象外｣の範囲が間違っています｡", "入力ｴﾗｰ", Icon::Stop, Buttons::Ok};
const Message kWrittenAsIsWrong{"｢そのまま書き込む｣の範囲が間違っています｡", "入力ｴﾗｰ", Icon::Stop,
                                Buttons::Ok};

class FrmRowOptionTest : public ::testing::Test {
protected:
    ScriptedPlatform desktop;
    Platform platform = desktop.platform();
    RowRanges editor{"2", "4", "10", "12"};
};

TEST_F(FrmRowOptionTest, OpensWithTheEditorValuesCentred) {
    FrmRowOption dialog(editor, platform);
    EXPECT_EQ(dialog.windowTitle().toStdString(), "特別列処理設定");
    EXPECT_EQ(dialog.jumpTxtFrom()->text(), "2");
    EXPECT_EQ(dialog.jumpTxtTo()->text(), "4");
    EXPECT_EQ(dialog.ignoreTxtFrom()->text(), "10");
    EXPECT_EQ(dialog.ignoreTxtTo()->text(), "12");
    EXPECT_EQ(dialog.size(), QSize(twipsToPixels(6000, 96), twipsToPixels(2832, 96)));
    EXPECT_NEAR(dialog.geometry().center().x(), 960, 1);
    EXPECT_NEAR(dialog.geometry().center().y(), 540, 1);
    EXPECT_TRUE(desktop.messages.shown.empty());
    EXPECT_TRUE(dialog.cmdOK()->isDefault());
}

TEST_F(FrmRowOptionTest, TypingALetterKeepsTheDigitsAndWarnsOnce) {
    FrmRowOption dialog(editor, platform);
    QLineEdit* box = dialog.jumpTxtTo();
    box->clear();
    for (const char* key : {"1", "2", "a"})
        box->insert(QString::fromUtf8(key));
    EXPECT_EQ(box->text(), "12");
    EXPECT_EQ(box->cursorPosition(), 2);
    EXPECT_EQ(desktop.messages.shown, std::vector<Message>{kDigitsOnly});
}

TEST_F(FrmRowOptionTest, PastedTextLosesEverythingButAsciiDigits) {
    FrmRowOption dialog(editor, platform);
    dialog.ignoreTxtFrom()->setText(QStringLiteral("1,000"));
    EXPECT_EQ(dialog.ignoreTxtFrom()->text(), "1000");
    dialog.ignoreTxtTo()->setText(QString::fromUtf8("１２3"));
    EXPECT_EQ(dialog.ignoreTxtTo()->text(), "3");
    EXPECT_EQ(desktop.messages.shown, (std::vector<Message>{kDigitsOnly, kDigitsOnly}));
}

TEST_F(FrmRowOptionTest, NonDigitsFromTheEditorAreFilteredOnOpening) {
    FrmRowOption dialog({" 5", "7", "0", "0"}, platform);
    EXPECT_EQ(dialog.jumpTxtFrom()->text(), "5");
    EXPECT_EQ(desktop.messages.shown, std::vector<Message>{kDigitsOnly});
}

TEST_F(FrmRowOptionTest, ReversedExcludedRangeWarnsAndStaysOpen) {
    FrmRowOption dialog(editor, platform);
    dialog.show();
    dialog.jumpTxtFrom()->setText("5");
    dialog.jumpTxtTo()->setText("3");
    dialog.cmdOK()->click();
    EXPECT_EQ(desktop.messages.shown, std::vector<Message>{kExcludedWrong});
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.editorValues(), editor);
    EXPECT_EQ(dialog.jumpTxtFrom()->text(), "5");
}

TEST_F(FrmRowOptionTest, BothRangesReversedGiveBothMessagesExcludedFirst) {
    FrmRowOption dialog({"5", "3", "9", "8"}, platform);
    EXPECT_EQ(dialog.Value_Check(), 1);
    EXPECT_EQ(desktop.messages.shown, (std::vector<Message>{kExcludedWrong, kWrittenAsIsWrong}));
}

TEST_F(FrmRowOptionTest, RangeComparisonIsNumericNotTextual) {
    FrmRowOption dialog({"9", "10", "0", "5"}, platform);
    EXPECT_EQ(dialog.Value_Check(), 0);
    dialog.jumpTxtTo()->setText("9");
    dialog.ignoreTxtFrom()->clear();
    EXPECT_EQ(dialog.Value_Check(), 0);
    dialog.ignoreTxtTo()->clear();
    dialog.ignoreTxtFrom()->setText("1");
    EXPECT_EQ(dialog.Value_Check(), 1);
    EXPECT_EQ(desktop.messages.shown, std::vector<Message>{kWrittenAsIsWrong});
}

TEST_F(FrmRowOptionTest, NumbersBeyondAnyRowCountStillCompare) {
    const std::string huge = "99999999999999999999";
    FrmRowOption dialog({huge, "5", "1", huge}, platform);
    EXPECT_EQ(dialog.Value_Check(), 1);
    EXPECT_EQ(desktop.messages.shown, std::vector<Message>{kExcludedWrong});
}

TEST_F(FrmRowOptionTest, OkWritesEveryBoxAndZeroForAnEmptiedOne) {
    FrmRowOption dialog(editor, platform);
    dialog.show();
    dialog.jumpTxtFrom()->clear();
    dialog.ignoreTxtTo()->setText("20");
    dialog.cmdOK()->click();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.editorValues(), (RowRanges{"0", "4", "10", "20"}));
}

TEST_F(FrmRowOptionTest, CancelWritesZeroOnlyForEmptiedBoxes) {
    FrmRowOption dialog(editor, platform);
    dialog.jumpTxtTo()->clear();
    dialog.ignoreTxtFrom()->setText("11");
    dialog.cmdCancel()->click();
    EXPECT_EQ(dialog.editorValues(), (RowRanges{"2", "0", "10", "12"}));
}

TEST_F(FrmRowOptionTest, ClearThenCancelLeavesTheEditorAlone) {
    FrmRowOption dialog(editor, platform);
    dialog.cmdClear()->click();
    EXPECT_EQ(dialog.jumpTxtFrom()->text(), "0");
    EXPECT_EQ(dialog.ignoreTxtTo()->text(), "0");
    dialog.cmdCancel()->click();
    EXPECT_EQ(dialog.editorValues(), editor);
}

TEST_F(FrmRowOptionTest, ClearThenOkSetsAllToZero) {
    FrmRowOption dialog(editor, platform);
    dialog.cmdClear()->click();
    dialog.cmdOK()->click();
    EXPECT_EQ(dialog.editorValues(), (RowRanges{"0", "0", "0", "0"}));
    EXPECT_TRUE(desktop.messages.shown.empty());
}

TEST_F(FrmRowOptionTest, CloseBoxCountsAsCancel) {
    FrmRowOption dialog(editor, platform);
    dialog.show();
    dialog.ignoreTxtFrom()->clear();
    dialog.close();
    EXPECT_EQ(dialog.editorValues(), (RowRanges{"2", "4", "0", "12"}));
}

TEST_F(FrmRowOptionTest, EditRunsModallyAndReturnsTheEditorValues) {
    QTimer::singleShot(0, [] {
        auto* dialog = qobject_cast<FrmRowOption*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        dialog->jumpTxtFrom()->setText("1");
        dialog->cmdOK()->click();
    });
    EXPECT_EQ(FrmRowOption::edit(editor, platform, nullptr), (RowRanges{"1", "4", "10", "12"}));
}

} // namespace
} // namespace quisk
