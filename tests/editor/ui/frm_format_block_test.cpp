// The editor's menus end to end: each item triggered as the user would,
// through the menu bar or the context menu, with its dialog answered.
#include "editor/ui/frm_change.h"
#include "editor_fixture.h"
#include "engine/ui/frm_row_option.h"
#include "format/ui/frm_header.h"

#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <functional>

namespace quisk::test {
namespace {

struct MenuWiring : EditorTest {
    std::unique_ptr<FrmFormat> ed = open(Choice::New);
    FlexGrid& grid = *ed->Grid1;

    QMenu* barMenu(const char* caption) const {
        for (QAction* a : ed->menuBar->actions())
            if (a->text() == QString::fromUtf8(caption))
                return a->menu();
        ADD_FAILURE() << "no menu " << caption;
        return nullptr;
    }
    static QAction* item(QMenu* menu, const char* caption) {
        for (QAction* a : menu->actions())
            if (a->text() == QString::fromUtf8(caption))
                return a;
        ADD_FAILURE() << "no item " << caption;
        return nullptr;
    }
    void choose(const char* menu, const char* caption) { item(barMenu(menu), caption)->trigger(); }
    void choosePopup(const char* caption) { item(ed->mnuPopup, caption)->trigger(); }

    void select(int row, int col, int rowSel, int colSel) {
        grid.setRow(row);
        grid.setCol(col);
        grid.setRowSel(rowSel);
        grid.setColSel(colSel);
    }
    std::vector<std::string> types(int count) const {
        std::vector<std::string> out;
        for (int r = 1; r <= count; ++r)
            out.push_back(ed->format().row(r).fieldType);
        return out;
    }
};

// Every item of the edit and display menus reaches its own command; the
// context menu shares the edit items with the menu bar.
struct GridItems : MenuWiring {
    void fillRows() {
        for (int r = 1; r <= 3; ++r)
            ed->format().row(r) =
                FieldRow{"n" + std::to_string(r), std::to_string(r), "1", "Char", "", ""};
    }
    void checkEditItems(const std::function<void(const char*)>& trigger) {
        fillRows();
        select(1, 1, 2, 3);
        trigger("ｺﾋﾟｰ(&C)");
        EXPECT_EQ(desk.clipboard.text(), "n1\t1\t1\rn2\t2\t1");

        select(3, 1, 3, 1);
        trigger("切り取り(&T)");
        EXPECT_EQ(desk.clipboard.text(), "n3");
        EXPECT_EQ(ed->format().row(3).fieldName, "");

        select(5, 6, 5, 6);
        trigger("貼り付け(&P)");
        EXPECT_EQ(ed->format().row(5).remarks, "n3");

        select(2, 1, 2, 1);
        trigger("行の挿入(&I)");
        EXPECT_EQ(ed->format().fieldRowCount(), 201);
        EXPECT_TRUE(ed->format().row(2).isEmpty());
        select(2, 1, 2, 1);
        trigger("行の削除(&D)");
        EXPECT_EQ(ed->format().fieldRowCount(), 200);
        EXPECT_EQ(ed->format().row(2).fieldName, "n2");

        select(1, 1, 2, 2);
        trigger("選択ｾﾙの消去(&L)");
        EXPECT_EQ(ed->format().row(1), (FieldRow{"", "1", "1", "Char", "", ""}));
        EXPECT_EQ(ed->format().row(2).fieldName, "n2");
        select(1, 2, 2, 2);
        trigger("選択範囲の消去(&S)");
        EXPECT_EQ(ed->format().row(1).startPosition, "");
        EXPECT_EQ(ed->format().row(2).startPosition, "");
        EXPECT_EQ(ed->format().row(2).fieldName, "n2");
    }
};

TEST_F(GridItems, EditMenuItemsReachTheirCommands) {
    checkEditItems([this](const char* caption) { choose("編集(&E)", caption); });
}

TEST_F(GridItems, ContextMenuItemsReachTheirCommands) {
    checkEditItems([this](const char* caption) { choosePopup(caption); });
    select(4, 1, 4, 1);
    choosePopup("10行挿入(&R)");
    EXPECT_EQ(ed->format().fieldRowCount(), 210);
    EXPECT_TRUE(ed->format().row(13).isEmpty());
    EXPECT_EQ(ed->format().row(15).remarks, "n3"); // the old row 5
}

TEST_F(GridItems, DisplayMenuHidesAndShowsAgain) {
    select(3, 5, 4, 6);
    choose("表示(&D)", "選択行の非表示(&R)");
    choose("表示(&D)", "選択列の非表示(&C)");
    EXPECT_EQ(grid.rowHeight(3), 1);
    EXPECT_EQ(grid.rowHeight(4), 388);
    EXPECT_EQ(grid.colWidth(5), 1);
    EXPECT_EQ(grid.colWidth(6), 1500);
    choose("表示(&D)", "非表示の解除(&U)");
    EXPECT_EQ(grid.rowHeight(3), 388);
    EXPECT_EQ(grid.colWidth(5), 1500);
}

TEST_F(GridItems, FileMenuItemsShowTheirDialogs) {
    fillRows();
    choose("ﾌｧｲﾙ(&F)", "上書き保存(&V)");
    choose("ﾌｧｲﾙ(&F)", "名前を付けて保存(&S)");
    choose("ﾌｧｲﾙ(&F)", "ﾌｧｲﾙを開く(&O)");
    ASSERT_EQ(desk.dialogs.saved.size(), 2u);
    EXPECT_EQ(desk.dialogs.saved[0].title, "ﾌｫｰﾏｯﾄﾌｧｲﾙの保存");
    EXPECT_EQ(desk.dialogs.saved[1].title, "名前を付けて保存");
    ASSERT_EQ(desk.dialogs.opened.size(), 1u);
    EXPECT_EQ(desk.dialogs.opened[0].title, "ﾌｫｰﾏｯﾄﾌｧｲﾙを開く");
}

// A table that tells the three row filters apart.
struct TypeChanges : MenuWiring {
    TypeChanges() {
        FormatDefinition& f = ed->format();
        f.row(1) = FieldRow{"CODE", "1", "5", "Num", "", ""};
        f.row(2) = FieldRow{"AMOUNT", "6", "8", "num", "", ""};
        f.row(3) = FieldRow{"KIND", "", "", "", "X", ""};
        f.row(4) = FieldRow{"", "14", "2", "Num", "", ""};
        f.row(5) = FieldRow{"NOTE", "16", "4", "", "", ""};
        f.row(6) = FieldRow{"REM", "20", "1", "Char", "", ""};
        select(4, 2, 4, 2);
    }
    const std::vector<std::string> before = {"Num", "num", "", "Num", "", "Char"};
    void expectUntouched() {
        EXPECT_EQ(types(6), before);
        EXPECT_FALSE(state.formatDirty);
    }
    void answerChange(const QString& typed, bool ok = true) {
        whenShown<FrmChange>([typed, ok](FrmChange& d) {
            d.txtString()->setText(typed);
            (ok ? d.cmdOK() : d.cmdCancel())->click();
        });
    }
};

TEST_F(TypeChanges, AllCharAskedThenGivesEveryNamedRowTheType) {
    bool gridTold = false;
    QObject::connect(&grid.model(), &QAbstractItemModel::dataChanged,
                     [&](const QModelIndex& from, const QModelIndex& to) {
                         gridTold |= from.column() <= 3 && to.column() >= 3 && from.row() == 0 &&
                                     to.row() >= 5;
                     });
    desk.messages.answer(Answer::Yes);
    choose("一括変更(&C)", "全てをCharに変換(&C)");
    ASSERT_EQ(desk.messages.shown.size(), 1u);
    EXPECT_EQ(desk.messages.shown[0],
              (Message{"全てのﾌｨｰﾙﾄﾞﾀｲﾌﾟを｢Char｣に一括で変更します", "変換確認", Icon::None,
                       Buttons::YesNo, Answer::Yes}));
    // The fixed-value row is named and so converted; the unnamed row is not.
    EXPECT_EQ(types(6), (std::vector<std::string>{"Char", "Char", "Char", "Num", "Char", "Char"}));
    EXPECT_TRUE(state.formatDirty);
    EXPECT_TRUE(gridTold);
    EXPECT_EQ(grid.row(), 1);
    EXPECT_EQ(grid.col(), 1);
}

TEST_F(TypeChanges, AllNumAnsweredNoOnlyMovesToTheFirstCell) {
    desk.messages.answer(Answer::No);
    choose("一括変更(&C)", "全てをNumに変換(&N)");
    EXPECT_EQ(desk.messages.shown.at(0).text, "全てのﾌｨｰﾙﾄﾞﾀｲﾌﾟを｢Num｣に一括で変更します");
    expectUntouched();
    EXPECT_EQ(grid.row(), 1);
    EXPECT_EQ(grid.col(), 1);
}

TEST_F(TypeChanges, ReplaceConvertsOnlyNamedDataRowsOfExactlyThatType) {
    state.typeChangeAnswer = "left over";
    QString shownTarget, shownText;
    whenShown<FrmChange>([&](FrmChange& d) {
        shownTarget = d.txtCharNum()->text();
        shownText = d.txtString()->text();
        d.txtString()->setText("Num");
        d.cmdOK()->click();
    });
    choose("一括変更(&C)", "任意の文字をCharに変換(&S)");
    EXPECT_EQ(shownTarget, "Char");
    EXPECT_EQ(shownText, ""); // the last answer is cleared before asking
    EXPECT_EQ(types(6), (std::vector<std::string>{"Char", "num", "", "Num", "", "Char"}));
    EXPECT_TRUE(state.formatDirty);
    EXPECT_EQ(grid.row(), 1);
    EXPECT_EQ(grid.col(), 1);
}

TEST_F(TypeChanges, EveryWayOfCancellingTheReplaceChangesNothing) {
    answerChange("Num", false);
    choose("一括変更(&C)", "任意の文字をCharに変換(&S)");
    answerChange("Cancel"); // typed by hand and confirmed with OK
    choose("一括変更(&C)", "任意の文字をNumに変換(&I)");
    whenShown<FrmChange>([](FrmChange& d) {
        d.txtString()->setText("Num");
        d.close();
    });
    choose("一括変更(&C)", "任意の文字をCharに変換(&S)");
    expectUntouched();
    EXPECT_EQ(state.typeChangeAnswer, "Cancel");
    EXPECT_EQ(grid.row(), 4); // the current cell stays too
    EXPECT_EQ(grid.col(), 2);
}

TEST_F(TypeChanges, ContextMenuConvertsSelectedRowsThatHaveAStartPosition) {
    select(1, 1, 6, 1); // not from a type cell: nothing at all
    choosePopup("Charに変換(&H)");
    expectUntouched();

    select(3, 4, 6, 4);
    choosePopup("Numに変換(&N)");
    // Row 3 has no start position and keeps its empty type.
    EXPECT_EQ(types(6), (std::vector<std::string>{"Num", "num", "", "Num", "Num", "Num"}));
    EXPECT_TRUE(state.formatDirty);
    EXPECT_EQ(grid.selection(), (CellSelection{3, 4, 6, 4}));
}

struct HeaderFooterDialog : MenuWiring {
    HeaderFooterDialog() {
        ed->format().settings.headerText = "H1\r\nH2";
        ed->format().settings.footerText = "F1";
    }
    const FormatSettings& settings() const { return ed->format().settings; }
};

TEST_F(HeaderFooterDialog, OkFromTheMenuWritesBothTextsAndMarksTheChange) {
    QString shownHeader;
    whenShown<FrmHeader>([&](FrmHeader& d) {
        shownHeader = d.headerInputText()->toPlainText();
        d.footerInputText()->setPlainText("end\nof file");
        d.cmdOK()->click();
    });
    choose("ｵﾌﾟｼｮﾝ(&O)", "ﾍｯﾀﾞｰ･ﾌｯﾀｰ(&H)");
    EXPECT_EQ(shownHeader, "H1\nH2");
    EXPECT_EQ(settings().headerText, "H1\r\nH2");
    EXPECT_EQ(settings().footerText, "end\r\nof file");
    EXPECT_TRUE(state.formatDirty);
}

TEST_F(HeaderFooterDialog, CancelOrAnUneditedOkFromTheButtonIsNoChange) {
    whenShown<FrmHeader>([](FrmHeader& d) { d.cmdOK()->click(); });
    ed->CmdHeader->click();
    whenShown<FrmHeader>([](FrmHeader& d) {
        d.mnuAllClear()->trigger();
        d.cmdCancel()->click();
    });
    ed->CmdHeader->click();
    EXPECT_EQ(settings().headerText, "H1\r\nH2");
    EXPECT_EQ(settings().footerText, "F1");
    EXPECT_FALSE(state.formatDirty);
}

struct RowRangeDialog : MenuWiring {
    RowRangeDialog() {
        ed->JumpTxtFrom->setText("2");
        ed->JumpTxtTo->setText("4");
        ed->IgnoreTxtFrom->setText("7");
        ed->IgnoreTxtTo->setText("9");
        state.formatDirty = false;
    }
    std::vector<std::string> boxes() const {
        std::vector<std::string> out;
        for (QLineEdit* box : {ed->JumpTxtFrom, ed->JumpTxtTo, ed->IgnoreTxtFrom, ed->IgnoreTxtTo})
            out.push_back(box->text().toStdString());
        return out;
    }
    std::vector<std::string> ranges() const {
        const FormatSettings& s = ed->format().settings;
        return {s.excludeFrom, s.excludeTo, s.writeAsIsFrom, s.writeAsIsTo};
    }
    void chooseRowOption() { choose("ｵﾌﾟｼｮﾝ(&O)", "特別列処理設定(&R)"); }
};

TEST_F(RowRangeDialog, OkWritesTheFourValuesIntoTheDefinition) {
    QString shownFrom;
    whenShown<FrmRowOption>([&](FrmRowOption& d) {
        shownFrom = d.ignoreTxtFrom()->text();
        d.jumpTxtFrom()->setText("10");
        d.jumpTxtTo()->setText("12");
        d.ignoreTxtTo()->clear();
        d.ignoreTxtFrom()->setText("0");
        d.cmdOK()->click();
    });
    chooseRowOption();
    EXPECT_EQ(shownFrom, "7");
    const std::vector<std::string> expected{"10", "12", "0", "0"};
    EXPECT_EQ(boxes(), expected);
    EXPECT_EQ(ranges(), expected);
    EXPECT_TRUE(state.formatDirty);
}

TEST_F(RowRangeDialog, CancelWritesZeroForAnEmptiedBoxOnly) {
    whenShown<FrmRowOption>([](FrmRowOption& d) { d.cmdCancel()->click(); });
    chooseRowOption();
    EXPECT_FALSE(state.formatDirty); // nothing emptied, nothing changed

    whenShown<FrmRowOption>([](FrmRowOption& d) {
        d.jumpTxtTo()->clear();
        d.ignoreTxtFrom()->setText("8");
        d.cmdCancel()->click();
    });
    chooseRowOption();
    const std::vector<std::string> expected{"2", "0", "7", "9"};
    EXPECT_EQ(boxes(), expected);
    EXPECT_EQ(ranges(), expected);
    EXPECT_TRUE(state.formatDirty);
}

} // namespace
} // namespace quisk::test
