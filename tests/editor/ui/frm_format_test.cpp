#include "common/twips.h"
#include "editor_fixture.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QMenuBar>

namespace quisk::test {
namespace {

using EditorWindow = EditorTest;

TEST_F(EditorWindow, NewEditorShowsTheEmptyTable) {
    auto ed = open(Choice::New);
    FlexGrid& g = *ed->Grid1;
    EXPECT_EQ(g.rows(), 201);
    EXPECT_EQ(g.cols(), 7);
    EXPECT_EQ(ed->format().fieldRowCount(), 200);
    EXPECT_EQ(g.textAt(1, 0), "1");
    EXPECT_EQ(g.textAt(200, 0), "200");
    const char* titles[] = {"ﾌｨｰﾙﾄﾞ名", "開始位置", "長さ", "ﾌｨｰﾙﾄﾞﾀｲﾌﾟ", "固定処理", "備考欄"};
    for (int c = 1; c <= 6; ++c)
        EXPECT_EQ(g.textAt(0, c), titles[c - 1]);
    EXPECT_EQ(ed->windowTitle().toStdString(), "ﾌｫｰﾏｯﾄ設定 - [ 無題.qfd ]");
    EXPECT_EQ(g.row(), 1);
    EXPECT_EQ(g.col(), 1);
    EXPECT_EQ(g.colAlignment(2), Qt::AlignRight | Qt::AlignVCenter);
    EXPECT_EQ(g.colAlignment(4), Qt::AlignLeft | Qt::AlignVCenter);
    EXPECT_EQ(g.colWidth(3), 700);
    EXPECT_EQ(g.rowHeight(5), 388);
    EXPECT_FALSE(state.formatDirty);
    EXPECT_EQ(ed->CmbTextChar->text(), "\"");
    EXPECT_EQ(ed->CmbSepaNum->text(), "ｶﾝﾏ");
    EXPECT_EQ(ed->CmbFromFile->text(), "ﾃｷｽﾄﾌｧｲﾙ");
    EXPECT_EQ(ed->CmbToFile->text(), "区切ﾌｧｲﾙ");
    EXPECT_EQ(state.separatorChar, "ｶﾝﾏ");
    EXPECT_TRUE(desk.messages.shown.empty());
}

TEST_F(EditorWindow, SizeCentringMinimumAndMenus) {
    auto ed = open(Choice::New);
    EXPECT_EQ(ed->size(), QSize(twipsToPixels(8000, 96), twipsToPixels(6000, 96)));
    EXPECT_EQ(ed->pos().x(), twipsToPixels((28800 - 8000) / 2, 96));
    ed->show();
    ed->resize(ed->width() + 100, ed->height() + 100);
    ed->resize(ed->width() + 100, 200); // too low: both dimensions come back
    EXPECT_EQ(ed->size(), QSize(twipsToPixels(8000, 96), twipsToPixels(6000, 96)));

    QStringList bar;
    for (QAction* a : ed->menuBar->actions())
        bar << a->text();
    EXPECT_EQ(bar.join("|").toStdString(), "ﾌｧｲﾙ(&F)|編集(&E)|表示(&D)|一括変更(&C)|ｵﾌﾟｼｮﾝ(&O)");
    int popupItems = 0;
    for (QAction* a : ed->mnuPopup->actions())
        popupItems += a->isSeparator() ? 0 : 1;
    EXPECT_EQ(popupItems, 10);
    ed->CmdClose_Click();
}

TEST_F(EditorWindow, TypingDigitsInTheStartColumn) {
    auto ed = open(Choice::New);
    ed->show();
    ed->Grid1->setCol(2);
    EXPECT_FALSE(state.formatDirty); // the program's own move
    typeText(ed->Grid1, "1");
    EXPECT_EQ(ed->format().row(1).startPosition, "1");
    EXPECT_EQ(ed->CellText->text(), "1");
    EXPECT_TRUE(state.formatDirty);
    typeText(ed->CellText, "2");
    EXPECT_EQ(ed->format().row(1).startPosition, "12");
    EXPECT_TRUE(desk.messages.shown.empty());
}

TEST_F(EditorWindow, RefusedLetterLeavesTheNumber) {
    auto ed = open(Choice::New);
    ed->show();
    ed->format().row(1).startPosition = "34";
    ed->Grid1->setCol(2);
    ed->Grid1->setFocus();
    typeText(ed->Grid1, "x");
    EXPECT_EQ(ed->format().row(1).startPosition, "34");
    EXPECT_EQ(ed->CellText->text(), "34");
    ASSERT_EQ(desk.messages.shown.size(), 1u);
    EXPECT_EQ(desk.messages.shown[0],
              (Message{"数字しか入力できません｡", "入力ｴﾗｰ", Icon::Stop, Buttons::Ok}));
    EXPECT_EQ(ed->focusWidget(), ed->Grid1);
}

TEST_F(EditorWindow, MixedTextInTheLengthColumnKeepsTheDigits) {
    auto ed = open(Choice::New);
    ed->Grid1->setCol(3);
    ed->CellText->setText("1a2");
    EXPECT_EQ(ed->format().row(1).length, "12");
    EXPECT_EQ(ed->CellText->text(), "12");
    EXPECT_EQ(desk.messages.shown.size(), 1u);
}

TEST_F(EditorWindow, ClickingACellWithASpaceCleansIt) {
    auto ed = open(Choice::New);
    ed->format().row(2).startPosition = "1 2";
    ed->Grid1->setRow(2);
    ed->Grid1->setCol(2);
    ed->Grid1_MouseDown(Qt::LeftButton, QPoint());
    EXPECT_EQ(ed->format().row(2).startPosition, "12");
    EXPECT_EQ(desk.messages.shown.size(), 1u);
}

TEST_F(EditorWindow, NameColumnAppendsAndBackspaceOnlyMovesTheFocus) {
    auto ed = open(Choice::New);
    ed->show();
    ed->activateWindow();
    ed->format().row(1).fieldName = "NAM";
    typeText(ed->Grid1, "E");
    EXPECT_EQ(ed->format().row(1).fieldName, "NAME");
    ed->Grid1->setFocus();
    typeKey(ed->Grid1, Qt::Key_Backspace, QString(QChar(8)));
    EXPECT_EQ(ed->format().row(1).fieldName, "NAME");
    EXPECT_EQ(ed->focusWidget(), ed->CellText);
    // Enter and Escape are not appended and do not close the editor.
    typeKey(ed->Grid1, Qt::Key_Return, "\r");
    typeKey(ed->Grid1, Qt::Key_Escape, "\x1b");
    EXPECT_EQ(ed->format().row(1).fieldName, "NAME");
    EXPECT_TRUE(ed->isVisible());
}

TEST_F(EditorWindow, TypingStraightIntoTheEditLineMarksTheFormatChanged) {
    auto ed = open(Choice::New);
    ed->show();
    typeText(ed->CellText, "Q");
    EXPECT_EQ(ed->format().row(1).fieldName, "Q");
    EXPECT_TRUE(state.formatDirty);
}

TEST_F(EditorWindow, GridCheckReportsTheRowAndLeavesTheCurrentCell) {
    auto ed = open(Choice::New);
    ed->format().row(1) = FieldRow{"A", "1", "2", "Char", "", ""};
    ed->format().row(2) = FieldRow{"B", "1", "2", "num", "", ""};
    EXPECT_FALSE(ed->Grid_Check());
    ASSERT_EQ(desk.messages.shown.size(), 1u);
    EXPECT_EQ(desk.messages.shown[0].text, "2行目:ﾌｨｰﾙﾄﾞﾀｲﾌﾟは｢Char｣または｢Num｣だけです｡");
    EXPECT_EQ(ed->Grid1->row(), 2);
    EXPECT_EQ(ed->Grid1->col(), 6);
    EXPECT_FALSE(state.formatDirty);
}

TEST_F(EditorWindow, GapQuestionAnswers) {
    auto ed = open(Choice::New);
    ed->format().row(2) = FieldRow{"A", "1", "2", "Char", "", ""};
    desk.messages.answer(Answer::Yes);
    desk.messages.answer(Answer::No);
    EXPECT_TRUE(ed->Grid_Check());
    EXPECT_FALSE(ed->Grid_Check());
    EXPECT_EQ(ed->Grid1->row(), 2);
    EXPECT_EQ(desk.messages.shown.size(), 2u);
}

using Selectors = EditorTest;

TEST_F(Selectors, DropDownRebuildsTheListAndKeepsTheText) {
    auto ed = open(Choice::New);
    ed->CmbTextChar->setText("'");
    ed->CmbTextChar_DropDown();
    ASSERT_EQ(ed->CmbTextChar->count(), 3);
    EXPECT_EQ(ed->CmbTextChar->itemText(0).toStdString(), "\"");
    EXPECT_EQ(ed->CmbTextChar->itemText(2).toStdString(), "#");
    EXPECT_EQ(ed->CmbTextChar->text(), "'");
    ed->CmbToFile_DropDown();
    ed->CmbToFile_DropDown();
    EXPECT_EQ(ed->CmbToFile->count(), 2);
    EXPECT_EQ(ed->CmbToFile->text(), "区切ﾌｧｲﾙ");
    EXPECT_TRUE(desk.messages.shown.empty());
    EXPECT_FALSE(state.formatDirty);
}

TEST_F(Selectors, QuoteKeepsOneCharacterAndMayBeEmpty) {
    auto ed = open(Choice::New);
    ed->CmbTextNum->setText("'#");
    EXPECT_EQ(ed->CmbTextNum->text(), "'");
    EXPECT_EQ(ed->format().settings.textQuoteNum, "'");
    EXPECT_EQ(desk.messages.texts(),
              std::vector<std::string>{"ﾃｷｽﾄの引用符は､1文字以下でなければなりません｡"});
    ed->CmbTextNum->setText("");
    ed->CmbTextChar->setText("「");
    EXPECT_EQ(ed->format().settings.textQuoteNum, "");
    EXPECT_EQ(ed->format().settings.textQuoteChar, "「");
    EXPECT_EQ(desk.messages.shown.size(), 1u);
    EXPECT_FALSE(state.formatDirty);
}

TEST_F(Selectors, SeparatorTakesAnyTextSilently) {
    auto ed = open(Choice::New);
    ed->CmbSepaChar->setText("|");
    EXPECT_EQ(ed->format().settings.separatorChar, "|");
    EXPECT_TRUE(desk.messages.shown.empty());
    EXPECT_FALSE(state.formatDirty);
}

TEST_F(Selectors, TypedFileKindIsResetToTheDefault) {
    auto ed = open(Choice::New);
    ed->CmbToFile->setText("ﾃｷｽﾄﾌｧｲﾙ");
    ed->CmbToFile_Click();
    EXPECT_FALSE(ed->CmbTextChar->isEnabled());
    ed->CmbToFile->setText("x");
    EXPECT_EQ(ed->CmbToFile->text(), "区切ﾌｧｲﾙ");
    EXPECT_TRUE(ed->CmbTextChar->isEnabled()); // the boxes follow the reset text
    ed->CmbFromFile->setText("区");
    EXPECT_EQ(ed->CmbFromFile->text(), "ﾃｷｽﾄﾌｧｲﾙ");
    EXPECT_EQ(ed->format().settings.inputKind, "ﾃｷｽﾄﾌｧｲﾙ");
    EXPECT_EQ(desk.messages.shown.size(), 2u);
    EXPECT_EQ(desk.messages.shown[0].text, "ﾌｧｲﾙ形式の選択はｺﾝﾎﾞﾎﾞｯｸｽからしかできません｡");
    EXPECT_TRUE(state.formatDirty);
}

TEST_F(Selectors, PickingTheOutputKindSwitchesTheFourBoxes) {
    auto ed = open(Choice::New);
    ed->CmbSepaNum->setText("ﾀﾌﾞ");
    ed->CmbToFile->setText("ﾃｷｽﾄﾌｧｲﾙ");
    ed->CmbToFile_Click();
    for (SelectorCombo* box : {ed->CmbTextChar, ed->CmbSepaChar, ed->CmbTextNum, ed->CmbSepaNum})
        EXPECT_FALSE(box->isEnabled());
    EXPECT_TRUE(ed->CmbFromFile->isEnabled());
    EXPECT_EQ(ed->CmbSepaNum->text(), "ﾀﾌﾞ");
    ed->CmbToFile->setText("区切ﾌｧｲﾙ");
    ed->CmbToFile_Click();
    EXPECT_TRUE(ed->CmbSepaNum->isEnabled());
}

TEST_F(Selectors, CheckBoxAndRangeBoxesMarkTheFormatChanged) {
    auto ed = open(Choice::New);
    ed->ChkFieldName->click();
    EXPECT_TRUE(ed->format().settings.fieldNamesOnTop);
    EXPECT_TRUE(state.formatDirty);
    state.formatDirty = false;
    ed->IgnoreTxtTo->setText("3");
    EXPECT_EQ(ed->format().settings.writeAsIsTo, "3");
    EXPECT_TRUE(state.formatDirty);
}

} // namespace
} // namespace quisk::test
