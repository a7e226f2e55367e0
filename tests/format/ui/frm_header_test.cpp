#include "common/twips.h"
#include "format/ui/frm_header.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

namespace quisk {
namespace {

constexpr double kDpi = 96;

int px(int twips) {
    return twipsToPixels(twips, kDpi);
}

class FrmHeaderTest : public ::testing::Test {
protected:
    ScriptedPlatform desktop;
    Platform platform = desktop.platform();
    HeaderFooter texts{"会社名\r\n2行目", "以上"};
};

TEST_F(FrmHeaderTest, OpensWithTheEditorTextsAsLines) {
    FrmHeader dialog(texts, platform);
    EXPECT_EQ(dialog.windowTitle().toStdString(), "ﾍｯﾀﾞｰ･ﾌｯﾀｰ入力");
    EXPECT_EQ(dialog.headerInputText()->toPlainText().toStdString(), "会社名\n2行目");
    EXPECT_EQ(dialog.footerInputText()->toPlainText().toStdString(), "以上");
    EXPECT_EQ(dialog.headerInputText()->document()->blockCount(), 2);
}

TEST_F(FrmHeaderTest, OpensAt3400By4650CentredOnTheScreen) {
    FrmHeader dialog(texts, platform);
    EXPECT_EQ(dialog.frameGeometry().size(), QSize(px(3400), px(4650)));
    const QRect screen(0, 0, px(28800), px(16200));
    EXPECT_NEAR(dialog.geometry().center().x(), screen.center().x(), 1);
    EXPECT_NEAR(dialog.geometry().center().y(), screen.center().y(), 1);
}

TEST_F(FrmHeaderTest, BoxesAndLabelsFollowTheDialogSize) {
    FrmHeader dialog(texts, platform);
    dialog.show();
    dialog.resizeTwips(6000, 8000);
    QApplication::processEvents();
    const int width = dialog.widthTwips();
    const int half = dialog.heightTwips() / 2;
    EXPECT_EQ(dialog.headerInputText()->geometry(),
              QRect(px(125), px(900), px(width - 400), px(half - 900)));
    EXPECT_EQ(dialog.footerInputText()->geometry(),
              QRect(px(125), px(half + 400), px(width - 400), px(half - 1200)));
    EXPECT_EQ(dialog.lblHeader()->y(), px(570));
    EXPECT_EQ(dialog.lblFooter()->y(), px(half + 30));
}

TEST_F(FrmHeaderTest, TooNarrowResetsBothDimensionsToTheFloor) {
    FrmHeader dialog(texts, platform);
    dialog.show();
    dialog.resizeTwips(2900, 6000);
    QApplication::processEvents();
    EXPECT_EQ(dialog.frameGeometry().size(), QSize(px(3000), px(4650)));
}

TEST_F(FrmHeaderTest, TooLowResetsBothDimensionsToTheFloor) {
    FrmHeader dialog(texts, platform);
    dialog.show();
    dialog.resizeTwips(5000, 4000);
    QApplication::processEvents();
    EXPECT_EQ(dialog.frameGeometry().size(), QSize(px(3000), px(4650)));
    EXPECT_GT(dialog.footerInputText()->height(), 0);
}

TEST_F(FrmHeaderTest, OkReturnsTheEditedTextsWithCarriageReturnLineFeeds) {
    FrmHeader dialog(texts, platform);
    dialog.headerInputText()->setPlainText(QString::fromUtf8("一\n二\n"));
    dialog.cmdOK()->click();
    ASSERT_TRUE(dialog.result().has_value());
    EXPECT_EQ(dialog.result()->header, "一\r\n二\r\n");
    EXPECT_EQ(dialog.result()->footer, "以上");
    EXPECT_EQ(dialog.result(), (HeaderFooter{"一\r\n二\r\n", "以上"}));
}

TEST_F(FrmHeaderTest, OkWithoutEditingGivesBackTheTextsExactly) {
    const HeaderFooter odd{"a\rb\r\n", "\r\n\r\n"};
    FrmHeader dialog(odd, platform);
    dialog.cmdOK()->click();
    EXPECT_EQ(dialog.result(), odd);
}

TEST_F(FrmHeaderTest, EachClearItemEmptiesItsBoxes) {
    FrmHeader dialog(texts, platform);
    dialog.mnuFooterClear()->trigger();
    EXPECT_FALSE(dialog.headerInputText()->toPlainText().isEmpty());
    EXPECT_TRUE(dialog.footerInputText()->toPlainText().isEmpty());
    dialog.mnuHeaderClear()->trigger();
    EXPECT_TRUE(dialog.headerInputText()->toPlainText().isEmpty());
    EXPECT_EQ(dialog.mnuAllClear()->text().toStdString(), "ﾍｯﾀﾞｰ･ﾌｯﾀｰの消去(&A)");
}

TEST_F(FrmHeaderTest, ClearAllThenOkEmptiesBothTexts) {
    FrmHeader dialog(texts, platform);
    dialog.mnuAllClear()->trigger();
    dialog.cmdOK()->click();
    EXPECT_EQ(dialog.result(), (HeaderFooter{"", ""}));
}

TEST_F(FrmHeaderTest, ClearThenCancelOrCloseBoxReturnsNothing) {
    FrmHeader cancelled(texts, platform);
    cancelled.mnuAllClear()->trigger();
    cancelled.cmdCancel()->click();
    EXPECT_FALSE(cancelled.result().has_value());

    FrmHeader closed(texts, platform);
    closed.show();
    closed.mnuAllClear()->trigger();
    closed.close();
    EXPECT_FALSE(closed.result().has_value());
}

TEST_F(FrmHeaderTest, EditRunsModallyAndReturnsTheAnswer) {
    QTimer::singleShot(0, [] {
        auto* dialog = qobject_cast<FrmHeader*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        dialog->footerInputText()->setPlainText(QStringLiteral("end"));
        dialog->cmdOK()->click();
    });
    EXPECT_EQ(FrmHeader::edit(texts, platform, nullptr), (HeaderFooter{texts.header, "end"}));
}

} // namespace
} // namespace quisk
