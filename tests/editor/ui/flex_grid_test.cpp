#include "common/twips.h"
#include "editor/ui/flex_grid.h"

#include <QApplication>
#include <QHeaderView>
#include <QMouseEvent>
#include <chrono>
#include <gtest/gtest.h>

namespace quisk {
namespace {

struct FlexGridTest : ::testing::Test {
    FormatDefinition format;
    FieldTableModel model{format};
    FlexGrid grid{model, 96};

    FlexGridTest() {
        grid.setAllRowHeights(388);
        model.renumber();
        grid.setRow(1);
        grid.setCol(1);
    }
};

TEST_F(FlexGridTest, FillStyleDecidesWhereTextGoes) {
    grid.setRow(2);
    grid.setCol(2);
    grid.setRowSel(3);
    grid.setColSel(3);
    EXPECT_EQ(grid.selection(), (CellSelection{2, 2, 3, 3}));
    grid.setText("7");
    EXPECT_EQ(format.row(2).startPosition, "7");
    EXPECT_EQ(format.row(3).length, "");
    grid.setFillStyle(FlexGrid::FillStyle::Repeat);
    grid.setText("9");
    for (int r = 2; r <= 3; ++r) {
        EXPECT_EQ(format.row(r).startPosition, "9");
        EXPECT_EQ(format.row(r).length, "9");
    }
    EXPECT_EQ(format.row(4).startPosition, "");
    EXPECT_EQ(format.row(2).fieldName, "");
}

TEST_F(FlexGridTest, SelectionUpwardsKeepsTheCurrentCell) {
    grid.setRow(5);
    grid.setCol(4);
    grid.setRowSel(2);
    grid.setColSel(1);
    EXPECT_EQ(grid.row(), 5);
    EXPECT_EQ(grid.rowSel(), 2);
    EXPECT_EQ(grid.colSel(), 1);
    EXPECT_FALSE(grid.singleCellSelected());
}

TEST_F(FlexGridTest, RowNumberColumnFitsTheLargestRowNumber) {
    grid.setColWidth(0, 480);
    EXPECT_EQ(grid.colWidth(0), 480);
    QHeaderView* numbers = grid.verticalHeader();
    EXPECT_GT(numbers->width(), numbers->fontMetrics().horizontalAdvance("32767"));
    EXPECT_GE(numbers->width(), twipsToPixels(480, 96));
}

TEST_F(FlexGridTest, AddItemAndRemoveItemMoveRowsWithTheirCells) {
    format.row(5).fieldName = "five";
    format.row(6).fieldName = "six";
    EXPECT_TRUE(grid.addItem(5));
    EXPECT_EQ(grid.rows(), 202);
    EXPECT_TRUE(format.row(5).isEmpty());
    EXPECT_EQ(grid.textAt(6, 1), "five");
    grid.removeItem(5);
    EXPECT_EQ(grid.textAt(5, 1), "five");
    EXPECT_EQ(grid.rows(), 201);
}

TEST_F(FlexGridTest, TableNeverPassesItsLimitsEitherWay) {
    grid.setRows(FormatDefinition::kMaxRowCount + 1);
    EXPECT_FALSE(grid.addItem(1));
    EXPECT_EQ(format.fieldRowCount(), FormatDefinition::kMaxRowCount);
    EXPECT_EQ(model.rowCount(), FormatDefinition::kMaxRowCount);
    grid.setRows(2);
    grid.removeItem(1);
    EXPECT_EQ(format.fieldRowCount(), 1);
}

TEST_F(FlexGridTest, HiddenRowsAndColumnsKeepTheirCells) {
    format.row(3).fieldName = "kept";
    grid.setRowHeight(3, 1);
    grid.setColWidth(5, 1);
    EXPECT_EQ(grid.rowHeight(3), 1);
    EXPECT_EQ(grid.colWidth(5), 1);
    EXPECT_TRUE(grid.isColumnHidden(4));
    EXPECT_EQ(grid.rows(), 201);
    EXPECT_EQ(grid.textAt(3, 1), "kept");
    grid.setAllRowHeights(388);
    grid.setColWidth(5, 1500);
    EXPECT_EQ(grid.rowHeight(3), 388);
    EXPECT_FALSE(grid.isColumnHidden(4));
}

TEST_F(FlexGridTest, ClipReadsAndWritesOnlyTheSelection) {
    format.row(1) = FieldRow{"a", "1", "2", "", "", ""};
    format.row(2) = FieldRow{"b", "3", "4", "", "", ""};
    grid.setRowSel(2);
    grid.setColSel(3);
    EXPECT_EQ(grid.clip(), "a\t1\t2\rb\t3\t4");
    grid.setRow(4);
    grid.setCol(1);
    grid.setRowSel(5);
    grid.setColSel(2);
    grid.setClip("x\ty\tz\rv\tw\rextra");
    EXPECT_EQ(format.row(4), (FieldRow{"x", "y", "", "", "", ""}));
    EXPECT_EQ(format.row(5), (FieldRow{"v", "w", "", "", "", ""}));
    EXPECT_TRUE(format.row(6).isEmpty());
}

TEST_F(FlexGridTest, OnlyTheUsersMovesEnterACell) {
    int entered = 0;
    QObject::connect(&grid, &FlexGrid::enterCell, [&entered] { ++entered; });
    grid.setRow(7);
    grid.setCol(3);
    EXPECT_EQ(entered, 0);
    grid.setCurrentIndex(model.index(1, 1)); // as a click or arrow key does
    EXPECT_EQ(entered, 1);
}

TEST_F(FlexGridTest, DraggingKeepsTheCurrentCellWhereItBegan) {
    grid.resize(800, 600);
    grid.show();
    const QPoint from = grid.visualRect(model.index(4, 1)).center();
    const QPoint to = grid.visualRect(model.index(1, 3)).center();
    auto send = [this](QEvent::Type type, QPoint at, Qt::MouseButtons buttons) {
        QMouseEvent e(type, at, grid.viewport()->mapToGlobal(at), Qt::LeftButton, buttons,
                      Qt::NoModifier);
        QApplication::sendEvent(grid.viewport(), &e);
    };
    send(QEvent::MouseButtonPress, from, Qt::LeftButton);
    send(QEvent::MouseMove, to, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, to, Qt::NoButton);
    EXPECT_EQ(grid.selection(), (CellSelection{5, 2, 2, 4}));
}

TEST_F(FlexGridTest, LargestTableStaysFluid) {
    using Clock = std::chrono::steady_clock;
    const auto start = Clock::now();
    grid.setRows(FormatDefinition::kMaxRowCount + 1);
    for (int r = 1; r <= FormatDefinition::kMaxRowCount; r += 1000)
        grid.setRowHeight(r, 1);
    grid.resize(800, 600);
    grid.show();
    grid.setRow(FormatDefinition::kMaxRowCount);
    grid.scrollTo(grid.currentIndex());
    grid.repaint();
    model.renumber();
    grid.setAllRowHeights(388);
    grid.repaint();
    const auto elapsed =
        std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start);
    EXPECT_LT(elapsed.count(), 1500) << "building and showing 32,767 rows took too long";
    EXPECT_EQ(grid.textAt(FormatDefinition::kMaxRowCount, 0), "32767");
}

} // namespace
} // namespace quisk
