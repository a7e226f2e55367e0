#include "editor_fixture.h"

#include <QLineEdit>
#include <QMenu>

namespace quisk::test {
namespace {

struct BlockCommands : EditorTest {
    std::unique_ptr<FrmFormat> ed = open(Choice::New);
    FlexGrid& grid = *ed->Grid1;

    void select(int row, int col, int rowSel, int colSel) {
        grid.setRow(row);
        grid.setCol(col);
        grid.setRowSel(rowSel);
        grid.setColSel(colSel);
    }
    void fillRows(int count) {
        for (int r = 1; r <= count; ++r)
            ed->format().row(r) =
                FieldRow{"n" + std::to_string(r), std::to_string(r), "1", "Char", "", ""};
    }
};

TEST_F(BlockCommands, CopyPutsTheBlockOnTheClipboard) {
    fillRows(3);
    select(1, 1, 2, 3);
    ed->mnuCOPY_Click();
    EXPECT_EQ(desk.clipboard.text(), "n1\t1\t1\rn2\t2\t1");
    EXPECT_FALSE(state.formatDirty);
}

TEST_F(BlockCommands, PasteFillsOnlyTheSelection) {
    desk.clipboard.setText("a\tb\tc\rd\te\tf");
    select(5, 1, 5, 1);
    ed->mnuPASTE_Click();
    EXPECT_EQ(ed->format().row(5), (FieldRow{"a", "", "", "", "", ""}));
    EXPECT_TRUE(ed->format().row(6).isEmpty());
    EXPECT_TRUE(state.formatDirty);

    select(8, 4, 10, 6);
    ed->mnuPASTE_Click();
    EXPECT_EQ(ed->format().row(8), (FieldRow{"", "", "", "a", "b", "c"}));
    EXPECT_EQ(ed->format().row(9), (FieldRow{"", "", "", "d", "e", "f"}));
    EXPECT_TRUE(ed->format().row(10).isEmpty());
}

TEST_F(BlockCommands, EmptyClipboardPastesNothing) {
    fillRows(1);
    ed->mnuPASTE_Click();
    EXPECT_EQ(ed->format().row(1).fieldName, "n1");
    EXPECT_FALSE(state.formatDirty);
}

TEST_F(BlockCommands, CutCopiesThenEmptiesTheSelection) {
    fillRows(2);
    select(1, 1, 2, 1);
    ed->mnuKILL_Click();
    EXPECT_EQ(desk.clipboard.text(), "n1\rn2");
    EXPECT_EQ(ed->format().row(1).fieldName, "");
    EXPECT_EQ(ed->format().row(2).startPosition, "2");
}

TEST_F(BlockCommands, InsertRowRenumbersAndShowsHiddenRows) {
    fillRows(6);
    grid.setRowHeight(2, 1);
    select(5, 2, 5, 2);
    ed->mnuADDROW_Click();
    EXPECT_EQ(ed->format().fieldRowCount(), 201);
    EXPECT_TRUE(ed->format().row(5).isEmpty());
    EXPECT_EQ(ed->format().row(6).fieldName, "n5");
    EXPECT_EQ(grid.textAt(5, 0), "5");
    EXPECT_EQ(grid.textAt(201, 0), "201");
    EXPECT_EQ(grid.rowHeight(2), 388);
    EXPECT_EQ(grid.row(), 1);
    EXPECT_EQ(grid.col(), 1);
    EXPECT_TRUE(state.formatDirty);
}

TEST_F(BlockCommands, InsertTenRowsAboveTheCurrentRow) {
    fillRows(3);
    select(3, 1, 3, 1);
    ed->mnuPopupAdd10Rows_Click();
    for (int r = 3; r <= 12; ++r)
        EXPECT_TRUE(ed->format().row(r).isEmpty());
    EXPECT_EQ(ed->format().row(13).fieldName, "n3");
    EXPECT_EQ(grid.rows(), 211);
    EXPECT_TRUE(state.formatDirty);
}

TEST_F(BlockCommands, InsertStopsAtTheLargestTable) {
    grid.setRows(FormatDefinition::kMaxRowCount - 4);
    select(2, 1, 2, 1);
    ed->mnuPopupAdd10Rows_Click();
    EXPECT_EQ(ed->format().fieldRowCount(), FormatDefinition::kMaxRowCount);
    EXPECT_EQ(grid.rows(), FormatDefinition::kMaxRowCount + 1);
    EXPECT_EQ(grid.textAt(FormatDefinition::kMaxRowCount, 0), "32767");
}

TEST_F(BlockCommands, DeleteRowMovesTheRestUpButKeepsTheLastRow) {
    fillRows(3);
    select(2, 3, 2, 3);
    ed->mnuKILLROW_Click();
    EXPECT_EQ(ed->format().row(2).fieldName, "n3");
    EXPECT_EQ(ed->format().fieldRowCount(), 199);
    EXPECT_TRUE(state.formatDirty);
    grid.setRows(2);
    ed->mnuKILLROW_Click();
    EXPECT_EQ(ed->format().fieldRowCount(), 1);
}

TEST_F(BlockCommands, ClearCellTouchesOnlyTheCurrentCell) {
    fillRows(2);
    select(1, 1, 2, 2);
    ed->mnuCLRCELL_Click();
    EXPECT_EQ(ed->format().row(1).fieldName, "");
    EXPECT_EQ(ed->format().row(1).startPosition, "1");
    EXPECT_EQ(ed->format().row(2).fieldName, "n2");
}

TEST_F(BlockCommands, ClearSelectionThenTheEditLineFillsTheRange) {
    fillRows(3);
    select(1, 1, 3, 1);
    ed->mnuCLRSEL_Click();
    for (int r = 1; r <= 3; ++r)
        EXPECT_EQ(ed->format().row(r).fieldName, "");
    ed->CellText->setText("same");
    for (int r = 1; r <= 3; ++r)
        EXPECT_EQ(ed->format().row(r).fieldName, "same");
    EXPECT_EQ(ed->format().row(4).fieldName, "");
}

TEST_F(BlockCommands, HideAndShowAgain) {
    fillRows(4);
    select(4, 5, 4, 5);
    ed->mnuROWUNDISP_Click();
    ed->mnuCOLUNDISP_Click();
    EXPECT_EQ(grid.rowHeight(4), 1);
    EXPECT_EQ(grid.colWidth(5), 1);
    EXPECT_EQ(grid.rowHeight(3), 388);
    ed->mnuUNDISP_Click();
    EXPECT_EQ(grid.rowHeight(4), 388);
    EXPECT_EQ(grid.colWidth(5), 1500);
    EXPECT_EQ(ed->format().row(4).fieldName, "n4");
}

TEST_F(BlockCommands, RightButtonOpensTheContextMenuAndKeepsTheCell) {
    ed->show();
    select(3, 2, 3, 2);
    ed->CellText->setText("");
    ed->Grid1_MouseDown(Qt::RightButton, QPoint(10, 10));
    EXPECT_TRUE(ed->mnuPopup->isVisible());
    ed->mnuPopup->hide();
    EXPECT_EQ(grid.row(), 3);
    EXPECT_EQ(grid.col(), 2);
}

} // namespace
} // namespace quisk::test
