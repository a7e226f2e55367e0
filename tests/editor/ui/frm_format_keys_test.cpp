// The editor driven as a desktop user drives it: keys, clicks and input
// method events sent through Qt's test library to the real widgets.
#include "editor_fixture.h"

#include <QInputMethodEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <map>

namespace quisk::test {
namespace {

struct ShownEditor : EditorTest {
    std::unique_ptr<FrmFormat> ed = open(Choice::New);
    FlexGrid& grid = *ed->Grid1;

    ShownEditor() {
        ed->show();
        ed->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(ed.get()));
        grid.setFocus();
    }
    void moveTo(int row, int col) {
        grid.setRow(row);
        grid.setCol(col);
        grid.setFocus();
    }
    QPoint centreOf(int row, int col) const {
        return grid.visualRect(grid.model().index(row - 1, col - 1)).center();
    }
    void click(int row, int col, Qt::KeyboardModifiers keys = Qt::NoModifier) {
        QTest::mouseClick(grid.viewport(), Qt::LeftButton, keys, centreOf(row, col));
    }
    static void compose(QWidget* w, const QString& preedit, const QString& commit = {}) {
        QInputMethodEvent event(preedit, {});
        event.setCommitString(commit);
        QApplication::sendEvent(w, &event);
    }
    void fill(int rows) {
        for (int r = 1; r <= rows; ++r)
            for (int c = 1; c <= 6; ++c)
                ed->format().row(r).cell(c) = std::to_string(r) + "." + std::to_string(c);
    }
};

// Input method on the grid.
using InputMethodOnTheGrid = ShownEditor;

TEST_F(InputMethodOnTheGrid, CompositionMovesToTheEditLineAndTheCommitIsTyped) {
    ed->format().row(2).fieldName = "売上";
    moveTo(2, 1);
    EXPECT_TRUE(grid.testAttribute(Qt::WA_InputMethodEnabled));
    EXPECT_TRUE(grid.inputMethodQuery(Qt::ImEnabled).toBool());
    state.formatDirty = false;
    compose(&grid, "にほん");
    EXPECT_EQ(ed->CellText->text(), "売上");
    EXPECT_EQ(ed->CellText->cursorPosition(), 2);
    EXPECT_EQ(ed->format().row(2).fieldName, "売上"); // nothing committed yet
    // The candidate list opens at the edit line, where the pre-edit shows.
    const QRect caret = grid.inputMethodQuery(Qt::ImCursorRectangle).toRect();
    const QRect line(grid.mapFromGlobal(ed->CellText->mapToGlobal(QPoint(0, 0))),
                     ed->CellText->size());
    EXPECT_TRUE(line.contains(caret.center()));

    compose(&grid, "", "日本");
    EXPECT_EQ(ed->format().row(2).fieldName, "売上日本");
    EXPECT_EQ(ed->CellText->text(), "売上日本");
    EXPECT_EQ(QApplication::focusWidget(), ed->CellText);
    EXPECT_TRUE(state.formatDirty);
    // The next word goes on in the edit line, into the same cell.
    compose(ed->CellText, "", "金額");
    EXPECT_EQ(ed->format().row(2).fieldName, "売上日本金額");
    EXPECT_TRUE(desk.messages.shown.empty());
}

TEST_F(InputMethodOnTheGrid, KanaCommittedInOneEventIsAppended) {
    moveTo(1, 6);
    compose(&grid, "", "ﾌｨｰﾙﾄﾞめい");
    EXPECT_EQ(ed->format().row(1).remarks, "ﾌｨｰﾙﾄﾞめい");
    EXPECT_EQ(QApplication::focusWidget(), ed->CellText);
}

TEST_F(InputMethodOnTheGrid, NumberColumnsKeepTheirDigitsOnlyRule) {
    ed->format().row(1).startPosition = "3";
    moveTo(1, 2);
    compose(&grid, "", "４");
    EXPECT_EQ(ed->format().row(1).startPosition, "3");
    ASSERT_EQ(desk.messages.shown.size(), 1u);
    EXPECT_EQ(desk.messages.shown[0].text, "数字しか入力できません｡");
    EXPECT_EQ(QApplication::focusWidget(), &grid);
    compose(&grid, "", "12");
    EXPECT_EQ(ed->format().row(1).startPosition, "312");
}

// The edit line always holds the current cell.
using EditLineFollowsTheCell = ShownEditor;

TEST_F(EditLineFollowsTheCell, ArrowThenTypingChangesOnlyTheNewRow) {
    ed->format().row(3).fieldName = "CODE";
    moveTo(1, 1);
    QTest::keyClicks(&grid, "AB");
    EXPECT_EQ(ed->format().row(1).fieldName, "AB");
    grid.setFocus();
    state.formatDirty = false;
    QTest::keyClick(&grid, Qt::Key_Down);
    EXPECT_EQ(ed->CellText->text(), "");
    EXPECT_TRUE(state.formatDirty); // the user entered a cell
    QTest::keyClick(&grid, Qt::Key_Down);
    EXPECT_EQ(ed->CellText->text(), "CODE");
    EXPECT_EQ(ed->CellText->toolTip(), "3行目 ﾌｨｰﾙﾄﾞ名");
    QTest::keyClick(&grid, Qt::Key_Right);
    EXPECT_EQ(ed->CellText->toolTip(), "3行目 開始位置");
    EXPECT_EQ(ed->CellText->placeholderText(), "3行目 開始位置");
    QTest::keyClick(&grid, Qt::Key_Left);
    QTest::keyClicks(ed->CellText, "2");
    EXPECT_EQ(ed->format().row(3).fieldName, "CODE2");
    EXPECT_EQ(ed->format().row(2).fieldName, "");
    EXPECT_EQ(ed->format().row(1).fieldName, "AB");
}

TEST_F(EditLineFollowsTheCell, ClicksAndTheProgramsMovesLoadTheCell) {
    fill(3);
    click(2, 4);
    EXPECT_EQ(ed->CellText->text(), "2.4");
    EXPECT_EQ(ed->CellText->toolTip(), "2行目 ﾌｨｰﾙﾄﾞﾀｲﾌﾟ");
    ed->mnuUNDISP_Click(); // the rebuild moves to the first cell
    EXPECT_EQ(ed->CellText->text(), "1.1");
    EXPECT_EQ(ed->format().row(2), (FieldRow{"2.1", "2.2", "2.3", "2.4", "2.5", "2.6"}));
}

// Keyboard and clipboard.
using GridKeys = ShownEditor;

TEST_F(GridKeys, CopyAndPasteABlockWithTheKeyboard) {
    fill(4);
    moveTo(1, 2);
    for (int i = 0; i < 2; ++i)
        QTest::keyClick(&grid, Qt::Key_Down, Qt::ShiftModifier);
    for (int i = 0; i < 3; ++i)
        QTest::keyClick(&grid, Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_EQ(grid.selection(), (CellSelection{1, 2, 3, 5}));
    QTest::keyClick(&grid, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(desk.clipboard.text(), "1.2\t1.3\t1.4\t1.5\r2.2\t2.3\t2.4\t2.5\r3.2\t3.3\t3.4\t3.5");
    EXPECT_EQ(ed->format().row(1).startPosition, "1.2"); // copying changes nothing

    moveTo(10, 1);
    for (int i = 0; i < 2; ++i)
        QTest::keyClick(&grid, Qt::Key_Down, Qt::ShiftModifier);
    for (int i = 0; i < 3; ++i)
        QTest::keyClick(&grid, Qt::Key_Right, Qt::ShiftModifier);
    QTest::keyClick(&grid, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(ed->format().row(10), (FieldRow{"1.2", "1.3", "1.4", "1.5", "", ""}));
    EXPECT_EQ(ed->format().row(12), (FieldRow{"3.2", "3.3", "3.4", "3.5", "", ""}));
    EXPECT_TRUE(ed->format().row(13).isEmpty());
    EXPECT_TRUE(state.formatDirty);
}

TEST_F(GridKeys, CutCopiesAndClearsDeleteOnlyClears) {
    fill(2);
    moveTo(1, 1);
    QTest::keyClick(&grid, Qt::Key_Right, Qt::ShiftModifier);
    QTest::keyClick(&grid, Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(desk.clipboard.text(), "1.1\t1.2");
    EXPECT_EQ(ed->format().row(1), (FieldRow{"", "", "1.3", "1.4", "1.5", "1.6"}));
    moveTo(2, 3);
    QTest::keyClick(&grid, Qt::Key_Right, Qt::ShiftModifier);
    QTest::keyClick(&grid, Qt::Key_Delete);
    EXPECT_EQ(desk.clipboard.text(), "1.1\t1.2");
    EXPECT_EQ(ed->format().row(2), (FieldRow{"2.1", "2.2", "", "", "2.5", "2.6"}));
}

TEST_F(GridKeys, EditLineKeepsItsOwnClipboardKeys) {
    ed->format().row(1).fieldName = "KEEP";
    desk.clipboard.setText("block");
    moveTo(1, 1);
    QTest::keyClick(&grid, Qt::Key_F2);
    QTest::keyClick(ed->CellText, Qt::Key_Delete); // at the end: nothing to delete
    QTest::keyClick(ed->CellText, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(ed->format().row(1).fieldName, "KEEP");
    EXPECT_EQ(desk.clipboard.text(), "block");
}

TEST_F(GridKeys, F2AndEnterEditEscapeReturnsToTheGrid) {
    ed->format().row(2).fieldName = "NAME";
    moveTo(2, 1);
    for (Qt::Key key : {Qt::Key_F2, Qt::Key_Return}) {
        QTest::keyClick(&grid, key);
        EXPECT_EQ(QApplication::focusWidget(), ed->CellText);
        EXPECT_EQ(ed->CellText->cursorPosition(), 4);
        QTest::keyClick(ed->CellText, Qt::Key_Escape);
        EXPECT_EQ(QApplication::focusWidget(), &grid);
    }
    for (QWidget* box : {static_cast<QWidget*>(ed->CmbSepaChar),
                         static_cast<QWidget*>(ed->RecordLenTxt),
                         static_cast<QWidget*>(ed->SelectTxtText)}) {
        box->setFocus();
        QTest::keyClick(box, Qt::Key_Escape);
        EXPECT_EQ(QApplication::focusWidget(), &grid);
    }
    EXPECT_TRUE(ed->isVisible());
    EXPECT_TRUE(desk.messages.shown.empty()); // no closing question
    EXPECT_EQ(ed->format().row(2).fieldName, "NAME");
}

TEST_F(GridKeys, ShiftArrowAndShiftClickKeepTheCurrentCell) {
    fill(6);
    moveTo(4, 3);
    QTest::keyClick(&grid, Qt::Key_Up, Qt::ShiftModifier);
    QTest::keyClick(&grid, Qt::Key_Left, Qt::ShiftModifier);
    EXPECT_EQ(grid.selection(), (CellSelection{4, 3, 3, 2}));
    click(6, 5, Qt::ShiftModifier);
    EXPECT_EQ(grid.selection(), (CellSelection{4, 3, 6, 5}));
    EXPECT_EQ(ed->CellText->text(), "4.3");
    click(2, 2);
    EXPECT_EQ(grid.selection(), (CellSelection{2, 2, 2, 2}));
}

TEST_F(GridKeys, MenusShowTheirShortcuts) {
    std::map<QString, QString> keys;
    for (QMenu* menu : ed->menuBar->findChildren<QMenu*>())
        for (QAction* a : menu->actions())
            keys[a->text()] = a->shortcut().toString();
    for (QAction* a : ed->mnuPopup->actions())
        keys["popup " + a->text()] = a->shortcut().toString();
    EXPECT_EQ(keys["元に戻す"], "Ctrl+Z");
    EXPECT_EQ(keys["やり直し"], "Ctrl+Y");
    EXPECT_EQ(ed->mnuRedo->shortcuts().value(1).toString(), "Ctrl+Shift+Z");
    EXPECT_EQ(keys["ｺﾋﾟｰ(&C)"], "Ctrl+C");
    EXPECT_EQ(keys["切り取り(&T)"], "Ctrl+X");
    EXPECT_EQ(keys["貼り付け(&P)"], "Ctrl+V");
    EXPECT_EQ(keys["選択範囲の消去(&S)"], "Del");
    EXPECT_EQ(keys["popup ｺﾋﾟｰ(&C)"], "Ctrl+C");
    EXPECT_EQ(keys["popup 選択範囲の消去(&S)"], "Del");
}

} // namespace
} // namespace quisk::test
