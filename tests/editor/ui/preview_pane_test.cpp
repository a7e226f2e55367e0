// The format editor's preview pane: layout edits made on the byte ruler,
// the pane following every change, and the suggested boundaries.
#include "editor/ui/byte_ruler_view.h"
#include "editor/ui/output_view.h"
#include "editor/ui/preview_pane.h"
#include "editor_fixture.h"

#include <QAction>
#include <QDockWidget>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>
#include <QToolTip>
#include <fstream>

namespace quisk::test {
namespace {

struct PreviewWindow : EditorTest {
    std::unique_ptr<FrmFormat> ed;
    FlexGrid* grid = nullptr;

    // Opens a new format over a sample of 30-byte lines, with the given
    // rows, and shows the preview.
    void start(std::vector<FieldRow> rows, const std::string& sample) {
        state.jobSourcePath = path("source.txt");
        std::ofstream(state.jobSourcePath, std::ios::binary) << sample;
        ed = open(Choice::New);
        grid = ed->Grid1;
        for (std::size_t i = 0; i < rows.size(); ++i)
            ed->format().row(static_cast<int>(i) + 1) = rows[i];
        ed->show();
        ed->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(ed.get()));
        ed->mnuPreview_Click();
        QApplication::processEvents();
        ruler().resize(900, 400);
        pane().refresh();
    }
    PreviewPane& pane() { return *ed->previewPane; }
    ByteRulerView& ruler() { return *pane().ruler; }

    std::string spans() {
        std::string out;
        for (int r = 1; r <= ed->format().usedRowCount(); ++r) {
            const FieldRow& row = ed->format().row(r);
            out += row.fieldName + ":" + row.startPosition + "+" + row.length + " ";
        }
        return out;
    }
    QPoint onRuler(std::size_t boundary, int dx = 0) {
        return {ruler().columnX(boundary) + dx, ruler().rowHeight() / 2};
    }
    QPoint onBands(std::size_t boundary, int dx = 0) {
        return {ruler().columnX(boundary) + dx, ruler().bandsTop() + ruler().rowHeight() / 2};
    }
    QPoint onLine(int index, std::size_t byte) {
        return {ruler().columnX(byte) + ruler().cellWidth() / 2,
                ruler().rulerHeight() + index * ruler().rowHeight() + ruler().rowHeight() / 2};
    }
    void mouse(QEvent::Type type, QPoint at, Qt::MouseButtons held) {
        QMouseEvent event(type, at, ruler().viewport()->mapToGlobal(at), Qt::LeftButton, held,
                          Qt::NoModifier);
        QApplication::sendEvent(ruler().viewport(), &event);
    }
    void click(QPoint at) {
        mouse(QEvent::MouseButtonPress, at, Qt::LeftButton);
        mouse(QEvent::MouseButtonRelease, at, Qt::NoButton);
        QApplication::processEvents();
    }
    void drag(QPoint from, QPoint to) {
        mouse(QEvent::MouseButtonPress, from, Qt::LeftButton);
        mouse(QEvent::MouseMove, to, Qt::LeftButton);
        mouse(QEvent::MouseButtonRelease, to, Qt::NoButton);
        QApplication::processEvents();
    }
};

const std::string kSample = "AAAABBBBBBCCCC\r\nDDDDEEEEEEFFFF\r\n";

TEST_F(PreviewWindow, AClickOnTheRulerSplitsAFieldAsOneUndoStep) {
    start({{"A", "1", "10", "Char", "", ""}}, kSample);
    state.formatDirty = false;
    click(onRuler(4, 1)); // a pixel right of the boundary still means it
    EXPECT_EQ(spans(), "A:1+4 ﾌｨｰﾙﾄﾞ5:5+6 ");
    EXPECT_TRUE(state.formatDirty);
    EXPECT_EQ(grid->row(), 2); // the new field's row is current
    EXPECT_EQ(grid->textAt(2, 2), "5");
    // The pane follows the table at once.
    QApplication::processEvents();
    ASSERT_EQ(pane().preview()->bands().size(), 2u);
    EXPECT_EQ(pane().preview()->bands()[1].offset, 4u);

    // Where no field holds the bytes, the click makes fields up to the
    // longest line.
    click(onRuler(12));
    EXPECT_EQ(spans(), "A:1+4 ﾌｨｰﾙﾄﾞ5:5+6 ﾌｨｰﾙﾄﾞ11:11+2 ﾌｨｰﾙﾄﾞ13:13+2 ");

    ed->mnuUndo_Click();
    EXPECT_EQ(spans(), "A:1+4 ﾌｨｰﾙﾄﾞ5:5+6 ");
    ed->mnuUndo_Click();
    EXPECT_EQ(spans(), "A:1+10 ");
    EXPECT_EQ(ed->format().fieldRowCount(), 200);
    EXPECT_FALSE(ed->mnuUndo->isEnabled());
    ed->mnuRedo_Click();
    EXPECT_EQ(spans(), "A:1+4 ﾌｨｰﾙﾄﾞ5:5+6 ");
}

TEST_F(PreviewWindow, DraggingABandEdgeMovesTheBoundaryAsOneUndoStep) {
    start({{"A", "1", "4", "Char", "", ""}, {"B", "5", "6", "Num", "", ""}}, kSample);
    state.formatDirty = false;
    drag(onBands(4, -2), onBands(7));
    EXPECT_EQ(spans(), "A:1+7 B:8+3 ");
    EXPECT_TRUE(state.formatDirty);
    EXPECT_EQ(grid->row(), 2);
    // A press away from any edge moves nothing; a release back where it
    // started changes nothing either.
    drag(onBands(2), onBands(5));
    drag(onBands(7), onBands(7));
    EXPECT_EQ(spans(), "A:1+7 B:8+3 ");

    ed->mnuUndo_Click();
    EXPECT_EQ(spans(), "A:1+4 B:5+6 ");
    EXPECT_FALSE(ed->mnuUndo->isEnabled());
}

TEST_F(PreviewWindow, UndoAndRedoKeysWorkInTheFloatedPane) {
    start({{"A", "1", "10", "Char", "", ""}}, kSample);
    click(onRuler(4));
    ASSERT_EQ(spans(), "A:1+4 ﾌｨｰﾙﾄﾞ5:5+6 ");
    QDockWidget* dock = ed->previewDock;
    dock->setFloating(true);
    dock->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(dock));
    QTest::keyClick(ruler().viewport(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(spans(), "A:1+10 ");
    QTest::keyClick(ruler().viewport(), Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(spans(), "A:1+4 ﾌｨｰﾙﾄﾞ5:5+6 ");
    // Docked again, each key is still one step.
    dock->setFloating(false);
    ed->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(ed.get()));
    QTest::keyClick(grid, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(spans(), "A:1+10 ");
}

TEST_F(PreviewWindow, BandsAndProblemsLeadToTheirFieldsRow) {
    // 東 (93 8C) at bytes 4-5 is cut by B's start.
    start({{"A", "1", "5", "Char", "", ""}, {"B", "6", "4", "Char", "", ""}},
          "AAAA\x93\x8C"
          "BBB\r\n"
          "AAAAAAA\r\n"); // two bytes short of B's end
    QApplication::processEvents();
    EXPECT_NE(pane().status->text().indexOf(QString::fromUtf8("終了位置で2ﾊﾞｲﾄ文字を分断 1")), -1)
        << pane().status->text().toStdString();
    grid->setRow(2);
    click(onLine(0, 5)); // the cut character, where A ends
    EXPECT_EQ(grid->row(), 1);
    click(onLine(1, 8)); // the missing bytes
    EXPECT_EQ(grid->row(), 2);

    grid->setRow(2);
    QTest::mouseDClick(ruler().viewport(), Qt::LeftButton, {}, onBands(2));
    EXPECT_EQ(grid->row(), 1);
}

TEST_F(PreviewWindow, TheGridKeepsItsSizeAndTheWindowItsWidthWhenThePaneCloses) {
    start({}, kSample);
    ed->mnuPreview_Click(); // closes it
    const QRect gridBox = grid->geometry();
    const int width = ed->width();
    ed->mnuPreview_Click();
    QApplication::processEvents();
    EXPECT_FALSE(ed->previewDock->isHidden());
    EXPECT_TRUE(ed->mnuPreview->isChecked());
    ed->mnuPreview_Click();
    QApplication::processEvents();
    EXPECT_TRUE(ed->previewDock->isHidden());
    EXPECT_FALSE(ed->mnuPreview->isChecked());
    EXPECT_EQ(ed->width(), width);
    EXPECT_EQ(grid->geometry(), gridBox);
}

TEST_F(PreviewWindow, TheSampleCanBeAnotherFileChosenInTheDialog) {
    start({}, kSample);
    EXPECT_EQ(pane().samplePath(), state.jobSourcePath);
    const std::string other = path("other.txt");
    std::ofstream(other, std::ios::binary) << "X\r\nY\r\nZ\r\n";
    desk.dialogs.answer(other);
    pane().chooseButton->click();
    EXPECT_EQ(pane().samplePath(), other);
    EXPECT_EQ(pane().preview()->lineCount(), 3);
    desk.dialogs.answer(std::nullopt); // cancelled: the sample stays
    pane().chooseButton->click();
    EXPECT_EQ(pane().samplePath(), other);
    // A folder is refused with the reason, and shows no lines.
    desk.dialogs.answer(dir.string());
    pane().chooseButton->click();
    EXPECT_EQ(pane().preview()->lineCount(), 0);
    EXPECT_NE(pane().status->text().indexOf(QString::fromUtf8("通常のﾌｧｲﾙではありません")), -1);
}

TEST_F(PreviewWindow, SuggestionsAreOnlyMarksUntilAcceptedOneByOneOrAllAtOnce) {
    std::string sample;
    for (int i = 0; i < 5; ++i)
        sample += "1234ABCD    XY\r\n";
    start({}, sample);
    state.formatDirty = false;
    ed->mnuSuggest_Click();
    EXPECT_EQ(pane().suggestions(), (std::vector<std::size_t>{4, 8, 12}));
    EXPECT_EQ(spans(), ""); // never applied silently
    EXPECT_FALSE(state.formatDirty);
    EXPECT_TRUE(pane().acceptAllButton->isVisibleTo(&pane()));

    const QPoint mark = onRuler(8);
    QHelpEvent hover(QEvent::ToolTip, mark, ruler().viewport()->mapToGlobal(mark));
    QApplication::sendEvent(ruler().viewport(), &hover);
    EXPECT_EQ(QToolTip::text(), QString::fromUtf8("ｸﾘｯｸで採用: 開始位置 9"));
    click(mark); // accepts that one
    EXPECT_EQ(spans(), "ﾌｨｰﾙﾄﾞ1:1+8 ﾌｨｰﾙﾄﾞ9:9+6 ");
    QApplication::processEvents();
    EXPECT_EQ(pane().suggestions(), (std::vector<std::size_t>{4, 12}));

    pane().acceptAllButton->click();
    EXPECT_EQ(spans(), "ﾌｨｰﾙﾄﾞ1:1+4 ﾌｨｰﾙﾄﾞ5:5+4 ﾌｨｰﾙﾄﾞ9:9+4 ﾌｨｰﾙﾄﾞ13:13+2 ");
    EXPECT_TRUE(pane().suggestions().empty());
    ed->mnuUndo_Click(); // all of them were one step
    EXPECT_EQ(spans(), "ﾌｨｰﾙﾄﾞ1:1+8 ﾌｨｰﾙﾄﾞ9:9+6 ");
}

// Settings and row ranges reach the pane as the grid's cells do: the output
// follows the output kind, excluded lines are shaded and write no record.
TEST_F(PreviewWindow, SelectorsAndRowRangesUpdateThePaneOnceTheChangeIsDone) {
    start({{"A", "1", "4", "Char", "", ""}, {"B", "5", "6", "Num", "", ""}}, kSample);
    EXPECT_EQ(pane().output->text(), "\"AAAA\",\"BBBBBB\"\n\"DDDD\",\"EEEEEE\"");
    ed->CmbToFile->setEditText(QString::fromUtf8("ﾃｷｽﾄﾌｧｲﾙ"));
    QApplication::processEvents();
    EXPECT_EQ(pane().output->text(), "AAAABBBBBB\nDDDDEEEEEE");
    ed->JumpTxtFrom->setText("1");
    ed->JumpTxtTo->setText("1");
    QApplication::processEvents();
    EXPECT_EQ(pane().output->text(), "DDDDEEEEEE");
    ASSERT_FALSE(ruler().shownLines().empty());
    EXPECT_EQ(ruler().shownLines()[0].role, LineRole::Excluded);
    // Typing a length through the grid: one update once it is typed.
    grid->setRow(2);
    grid->setCol(3);
    grid->setFocus();
    QTest::keyClicks(grid, "0");
    QApplication::processEvents();
    EXPECT_EQ(pane().preview()->bands()[1].length, 60u);
}

// Each value's colour covers its own cells, a double-byte character taking
// two, and the hover over a band names the field and the value written.
TEST_F(PreviewWindow, ValuesAreColouredOnTheirCellsAndTheHoverNamesThem) {
    start({{"CODE", "1", "2", "Char", "", ""}, {"CITY", "3", "4", "Char", "", ""}},
          "01\x93\x8C\x8B\x9E\r\n"); // 01東京
    ASSERT_EQ(pane().output->rows().size(), 1u);
    const OutputView::Row& row = pane().output->rows()[0];
    ASSERT_EQ(row.values.size(), 2u);
    EXPECT_EQ(row.values[0].from, 1u); // after the opening quote
    EXPECT_EQ(row.values[0].to, 3u);
    EXPECT_EQ(row.values[1].from, 6u); // after "," and the quote
    EXPECT_EQ(row.values[1].to, 10u);  // 東京: four cells
    EXPECT_EQ(row.values[1].colour, 1);

    const QPoint at = onLine(0, 4);
    QHelpEvent hover(QEvent::ToolTip, at, ruler().viewport()->mapToGlobal(at));
    QApplication::sendEvent(ruler().viewport(), &hover);
    const QString tip = QToolTip::text();
    EXPECT_NE(tip.indexOf("CITY"), -1) << tip.toStdString();
    EXPECT_NE(tip.indexOf(QString::fromUtf8("開始位置: 3")), -1) << tip.toStdString();
    EXPECT_NE(tip.indexOf(QString::fromUtf8("[東京]")), -1) << tip.toStdString();
}

} // namespace
} // namespace quisk::test
