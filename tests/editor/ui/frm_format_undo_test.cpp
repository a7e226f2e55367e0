// Undo and redo in the format editor, through its menu items and keys.
#include "editor/ui/frm_change.h"
#include "editor_fixture.h"
#include "engine/ui/frm_row_option.h"
#include "format/ui/frm_header.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

namespace quisk::test {
namespace {

struct Undo : EditorTest {
    std::unique_ptr<FrmFormat> ed = open(Choice::New);
    FlexGrid& grid = *ed->Grid1;

    Undo() {
        ed->show();
        ed->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(ed.get()));
        for (int r = 1; r <= 4; ++r)
            ed->format().row(r) =
                FieldRow{"n" + std::to_string(r), std::to_string(r), "1", "Char", "",
                         "r" + std::to_string(r)};
    }
    void select(int row, int col, int rowSel, int colSel) {
        grid.setRow(row);
        grid.setCol(col);
        grid.setRowSel(rowSel);
        grid.setColSel(colSel);
        grid.setFocus();
    }
    void undoKey(QWidget* w = nullptr) {
        QTest::keyClick(w ? w : &grid, Qt::Key_Z, Qt::ControlModifier);
    }
    void redoKey(QWidget* w = nullptr) {
        QTest::keyClick(w ? w : &grid, Qt::Key_Y, Qt::ControlModifier);
    }
};

TEST_F(Undo, OneStepPerCellTypedThroughTheEditLine) {
    EXPECT_FALSE(ed->mnuUndo->isEnabled());
    EXPECT_FALSE(ed->mnuRedo->isEnabled());
    select(6, 1, 6, 1);
    QTest::keyClicks(&grid, "N");
    QTest::keyClicks(ed->CellText, "EW");
    EXPECT_TRUE(ed->mnuUndo->isEnabled()); // the step is open, and undoable
    select(7, 6, 7, 6);
    QTest::keyClicks(ed->CellText, "note");
    EXPECT_EQ(ed->format().row(6).fieldName, "NEW");
    EXPECT_EQ(ed->format().row(7).remarks, "note");

    undoKey(ed->CellText); // the editor's undo, not the line's own
    EXPECT_EQ(ed->format().row(7).remarks, "");
    EXPECT_EQ(ed->format().row(6).fieldName, "NEW");
    EXPECT_EQ(ed->CellText->text(), "");
    EXPECT_TRUE(ed->mnuRedo->isEnabled());
    undoKey();
    EXPECT_EQ(ed->format().row(6).fieldName, "");
    EXPECT_EQ(grid.row(), 6); // the cell that changed back is shown
    EXPECT_FALSE(ed->mnuUndo->isEnabled());

    redoKey();
    EXPECT_EQ(ed->format().row(6).fieldName, "NEW");
    EXPECT_EQ(ed->CellText->text(), "NEW");
    QTest::keyClick(&grid, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(ed->format().row(7).remarks, "note");
    EXPECT_FALSE(ed->mnuRedo->isEnabled());
    EXPECT_TRUE(state.formatDirty);
}

TEST_F(Undo, TenEditsUndoneAndRedone) {
    const FormatDefinition start = ed->format();
    for (int r = 1; r <= 10; ++r) {
        select(r, 5, r, 5);
        QTest::keyClicks(&grid, "v" + QString::number(r));
    }
    const FormatDefinition edited = ed->format();
    ed->mnuUndo->trigger(); // the last edit only
    EXPECT_EQ(ed->format().row(10).fixedValue, "");
    EXPECT_EQ(ed->format().row(9).fixedValue, "v9");
    for (int i = 1; i < 10; ++i)
        ed->mnuUndo->trigger();
    EXPECT_EQ(ed->format(), start);
    EXPECT_FALSE(ed->mnuUndo->isEnabled());
    for (int i = 0; i < 10; ++i)
        ed->mnuRedo->trigger();
    EXPECT_EQ(ed->format(), edited);
    EXPECT_FALSE(ed->mnuRedo->isEnabled());
}

// Every command that changes the table is one step, whatever it does to
// the rows: undoing gives the table before it, redoing the one after it.
TEST_F(Undo, EveryTableCommandIsOneStep) {
    desk.clipboard.setText("a\tb\rc\td");
    const std::vector<std::pair<const char*, std::function<void()>>> commands = {
        {"paste",
         [&] {
             select(2, 2, 3, 3);
             ed->mnuPASTE_Click();
         }},
        {"cut",
         [&] {
             select(1, 1, 2, 6);
             ed->mnuKILL_Click();
         }},
        {"clear cell",
         [&] {
             select(3, 4, 3, 4);
             ed->mnuCLRCELL_Click();
         }},
        {"clear selection",
         [&] {
             select(1, 2, 4, 3);
             ed->mnuCLRSEL_Click();
         }},
        {"Delete key",
         [&] {
             select(2, 1, 3, 1);
             QTest::keyClick(&grid, Qt::Key_Delete);
         }},
        {"insert row",
         [&] {
             select(3, 1, 3, 1);
             ed->mnuADDROW_Click();
         }},
        {"insert ten",
         [&] {
             select(2, 1, 2, 1);
             ed->mnuPopupAdd10Rows_Click();
         }},
        {"delete row",
         [&] {
             select(1, 1, 1, 1);
             ed->mnuKILLROW_Click();
         }},
        {"all to Num", [&] { ed->mnuAllNum_Click(); }},
        {"selected to Num",
         [&] {
             select(1, 4, 3, 4);
             ed->mnuChangeNum_Click();
         }},
        {"replace Char",
         [&] {
             whenShown<FrmChange>([](FrmChange& d) {
                 d.txtString()->setText("Char");
                 d.cmdOK()->click();
             });
             ed->mnuStrNum_Click();
         }},
    };
    for (const auto& [name, command] : commands) {
        const FormatDefinition before = ed->format();
        command();
        const FormatDefinition after = ed->format();
        ASSERT_NE(after, before) << name;
        ed->mnuUndo_Click();
        EXPECT_EQ(ed->format(), before) << name;
        EXPECT_EQ(grid.rows(), before.fieldRowCount() + 1) << name;
        EXPECT_EQ(grid.textAt(before.fieldRowCount(), 0), std::to_string(before.fieldRowCount()))
            << name;
        ed->mnuRedo_Click();
        EXPECT_EQ(ed->format(), after) << name;
        ed->mnuUndo_Click();
    }
}

TEST_F(Undo, SettingsChangesAreStepsToo) {
    QTest::keyClick(ed->CmbSepaChar->lineEdit(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(ed->CmbSepaChar->lineEdit(), "|");
    EXPECT_EQ(ed->format().settings.separatorChar, "|");
    ed->CmbToFile->setText("ﾃｷｽﾄﾌｧｲﾙ");
    ed->CmbToFile_Click();
    EXPECT_FALSE(ed->CmbSepaChar->isEnabled());
    ed->ChkFieldName->click();
    whenShown<FrmHeader>([](FrmHeader& d) {
        d.headerInputText()->setPlainText("HEAD");
        d.cmdOK()->click();
    });
    ed->CmdHeader->click();
    whenShown<FrmRowOption>([](FrmRowOption& d) {
        d.jumpTxtFrom()->setText("3");
        d.jumpTxtTo()->setText("5");
        d.cmdOK()->click();
    });
    ed->mnuRowOption_Click();
    EXPECT_EQ(ed->format().settings.excludeTo, "5");

    ed->mnuUndo_Click(); // both range values at once
    EXPECT_EQ(ed->format().settings.excludeFrom, "0");
    EXPECT_EQ(ed->JumpTxtTo->text(), "0");
    ed->mnuUndo_Click();
    EXPECT_EQ(ed->format().settings.headerText, "");
    ed->mnuUndo_Click();
    EXPECT_FALSE(ed->ChkFieldName->isChecked());
    ed->mnuUndo_Click();
    EXPECT_EQ(ed->CmbToFile->text(), "区切ﾌｧｲﾙ");
    EXPECT_TRUE(ed->CmbSepaChar->isEnabled()); // the boxes follow the kind
    ed->mnuUndo_Click();                       // the typed separator, one step for the typing
    EXPECT_EQ(ed->CmbSepaChar->text(), "ｶﾝﾏ");
    EXPECT_EQ(ed->format().settings, FormatSettings{});
    EXPECT_FALSE(ed->mnuUndo->isEnabled());
    ed->mnuRedo_Click();
    EXPECT_EQ(ed->CmbSepaChar->text(), "|");
}

TEST_F(Undo, HistoryEndsWithALoadOrASaveUnderAnotherName) {
    const std::string file = writeSample("sample.qfd");
    select(1, 1, 1, 1);
    QTest::keyClicks(&grid, "X");
    desk.messages.answer(Answer::No); // discard the change
    desk.dialogs.answer(file);
    ed->mnuOpen_Click();
    EXPECT_EQ(ed->format().row(1).fieldName, "CODE");
    EXPECT_FALSE(ed->mnuUndo->isEnabled());

    select(1, 6, 1, 6);
    QTest::keyClicks(&grid, "x");
    ed->mnuOverWrite_Click(); // the same file: the history goes on
    EXPECT_TRUE(ed->mnuUndo->isEnabled());
    desk.dialogs.answer(path("other.qfd"));
    ed->mnuSaveAs_Click();
    EXPECT_EQ(state.formatPath, path("other.qfd"));
    EXPECT_FALSE(ed->mnuUndo->isEnabled());
}

} // namespace
} // namespace quisk::test
