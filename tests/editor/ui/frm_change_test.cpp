#include "common/twips.h"
#include "editor/ui/frm_change.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

namespace quisk {
namespace {

class FrmChangeTest : public ::testing::Test {
protected:
    FrmChangeTest() {
        state.typeChangeTarget = "Num";
        state.typeChangeAnswer = "";
    }

    // Answers the next modal dialog with the given action.
    static void whenShown(std::function<void(FrmChange&)> act) {
        QTimer::singleShot(0, [act] {
            auto* dialog = qobject_cast<FrmChange*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            act(*dialog);
        });
    }

    ScriptedPlatform desktop;
    Platform platform = desktop.platform();
    AppState state;
};

TEST_F(FrmChangeTest, ShowsTheAnswerAndTheTargetCentred) {
    state.typeChangeAnswer = "Char";
    FrmChange dialog(state, platform);
    EXPECT_EQ(dialog.windowTitle().toStdString(), "ﾌｨｰﾙﾄﾞﾀｲﾌﾟの一括変更");
    EXPECT_EQ(dialog.txtString()->text(), "Char");
    EXPECT_EQ(dialog.txtCharNum()->text(), "Num");
    EXPECT_TRUE(dialog.txtCharNum()->isReadOnly());
    EXPECT_EQ(dialog.txtString()->geometry(),
              QRect(twipsToPixels(120, 96), twipsToPixels(120, 96), twipsToPixels(1092, 96),
                    twipsToPixels(396, 96)));
    EXPECT_NEAR(dialog.geometry().center().x(), 960, 1);
    EXPECT_NEAR(dialog.geometry().center().y(), 540, 1);
}

// Nothing is cut off: the caption fits the title bar, and each label reads
// on one line with its box.
TEST_F(FrmChangeTest, CaptionAndLabelsAreNotClipped) {
    FrmChange dialog(state, platform);
    EXPECT_GE(dialog.width(), dialog.fontMetrics().horizontalAdvance(dialog.windowTitle()) + 64);
    const QList<QLabel*> labels = dialog.findChildren<QLabel*>();
    ASSERT_EQ(labels.size(), 2);
    const QLineEdit* boxes[] = {dialog.txtString(), dialog.txtCharNum()};
    for (int i = 0; i < 2; ++i) {
        const QLabel* label = labels[i];
        EXPECT_EQ(label->geometry().center().y(), boxes[i]->geometry().center().y());
        EXPECT_GE(label->height(), label->sizeHint().height());
        EXPECT_GE(label->width(), label->sizeHint().width());
        EXPECT_TRUE(label->alignment() & Qt::AlignVCenter);
    }
}

TEST_F(FrmChangeTest, OkLeavesTheTypedTextAsTheAnswer) {
    FrmChange dialog(state, platform);
    dialog.txtString()->setText("Text");
    dialog.txtCharNum()->setText("ignored");
    dialog.cmdOK()->click();
    EXPECT_EQ(state.typeChangeAnswer, "Text");
    EXPECT_EQ(state.typeChangeTarget, "Num");
}

TEST_F(FrmChangeTest, CancelButtonAndCloseBoxAnswerCancel) {
    FrmChange cancelled(state, platform);
    cancelled.txtString()->setText("Char");
    cancelled.cmdCancel()->click();
    EXPECT_EQ(state.typeChangeAnswer, "Cancel");

    state.typeChangeAnswer = "";
    FrmChange closed(state, platform);
    closed.show();
    closed.close();
    EXPECT_EQ(state.typeChangeAnswer, "Cancel");
}

class ReplaceTypeCommand : public FrmChangeTest {
protected:
    ReplaceTypeCommand() {
        format.row(1).fieldName = "a";
        format.row(1).fieldType = "Num";
        format.row(2).fieldName = "b";
        format.row(2).fieldType = "num";
        format.row(3).fieldName = "c";
    }
    FormatDefinition format;
};

TEST_F(ReplaceTypeCommand, ClearsTheOldAnswerAndConvertsTheTypedType) {
    state.typeChangeAnswer = "left over";
    whenShown([](FrmChange& dialog) {
        EXPECT_EQ(dialog.txtString()->text(), "");
        EXPECT_EQ(dialog.txtCharNum()->text(), "Char");
        dialog.txtString()->setText("Num");
        dialog.cmdOK()->click();
    });
    EXPECT_TRUE(replaceTypeWithDialog(format, "Char", state, platform, nullptr));
    EXPECT_EQ(state.typeChangeTarget, "Char");
    EXPECT_EQ(format.row(1).fieldType, "Char");
    EXPECT_EQ(format.row(2).fieldType, "num");
    EXPECT_EQ(format.row(3).fieldType, "");
}

TEST_F(ReplaceTypeCommand, EmptyAnswerTypesUntypedRows) {
    whenShown([](FrmChange& dialog) { dialog.cmdOK()->click(); });
    EXPECT_TRUE(replaceTypeWithDialog(format, "Char", state, platform, nullptr));
    EXPECT_EQ(format.row(1).fieldType, "Num");
    EXPECT_EQ(format.row(3).fieldType, "Char");
}

TEST_F(ReplaceTypeCommand, CancelTypedByHandOrPressedChangesNothing) {
    const FormatDefinition before = format;
    whenShown([](FrmChange& dialog) {
        dialog.txtString()->setText("Cancel");
        dialog.cmdOK()->click();
    });
    EXPECT_FALSE(replaceTypeWithDialog(format, "Char", state, platform, nullptr));
    whenShown([](FrmChange& dialog) { dialog.reject(); });
    EXPECT_FALSE(replaceTypeWithDialog(format, "Num", state, platform, nullptr));
    EXPECT_EQ(format, before);
}

} // namespace
} // namespace quisk
