#include "common/twips.h"
#include "format/ui/frm_open.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPushButton>
#include <QRadioButton>
#include <gtest/gtest.h>

namespace quisk {
namespace {

struct FrmOpenTest : ::testing::Test {
    AppState state;
    FixedScreen screen{28800, 16200, 96};
    FrmOpenTest() {
        state.jobFormatPath = "/jobs/a.qfd";
        state.formatPath = "/previous.qfd";
    }
};

TEST_F(FrmOpenTest, OkLeavesTheChosenPath) {
    {
        FrmOpen d(state, screen);
        EXPECT_TRUE(d.OptCurrent->isChecked());
        d.CmdOK->click();
        EXPECT_EQ(d.result(), QDialog::Accepted);
        EXPECT_EQ(state.formatPath, "/jobs/a.qfd");
    }
    {
        FrmOpen d(state, screen);
        d.OptExisting->setChecked(true);
        d.CmdOK->click();
        EXPECT_EQ(state.formatPath, "");
    }
    {
        FrmOpen d(state, screen);
        d.OptNew->setChecked(true);
        d.CmdOK->click();
        EXPECT_EQ(state.formatPath, "無題.qfd");
    }
}

TEST_F(FrmOpenTest, OkWithNothingSelectedCreatesANewFormat) {
    FrmOpen d(state, screen);
    d.OptCurrent->setAutoExclusive(false);
    d.OptCurrent->setChecked(false);
    d.CmdOK_Click();
    EXPECT_EQ(state.formatPath, "無題.qfd");
}

TEST_F(FrmOpenTest, CancelButtonCloseBoxAndEscapeAllCancel) {
    {
        FrmOpen d(state, screen);
        d.CmdCancel->click();
        EXPECT_EQ(d.result(), QDialog::Rejected);
        EXPECT_EQ(state.formatPath, "Cancel");
    }
    state.formatPath = "/previous.qfd";
    {
        FrmOpen d(state, screen);
        d.show();
        d.close();
        EXPECT_EQ(state.formatPath, "Cancel");
    }
    state.formatPath = "/previous.qfd";
    {
        FrmOpen d(state, screen);
        d.show();
        QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(&d, &escape);
        EXPECT_FALSE(d.isVisible());
        EXPECT_EQ(state.formatPath, "Cancel");
    }
}

TEST_F(FrmOpenTest, CaptionAndCentredPosition) {
    FrmOpen d(state, screen);
    EXPECT_EQ(d.windowTitle().toStdString(), "ﾌｧｲﾙの選択");
    EXPECT_EQ(d.pos().x(), twipsToPixels((28800 - 3600) / 2, 96));
    EXPECT_EQ(d.pos().y(), twipsToPixels((16200 - 2280) / 2, 96));
}

} // namespace
} // namespace quisk
