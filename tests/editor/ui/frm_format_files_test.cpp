#include "editor_fixture.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QLineEdit>

namespace quisk::test {
namespace {

using EditorOpening = EditorTest;

TEST_F(EditorOpening, CurrentFileLoadsTheJobsFormat) {
    state.jobFormatPath = box.value = writeSample("job.qfd");
    auto ed = open(Choice::Current);
    EXPECT_TRUE(desk.dialogs.opened.empty());
    EXPECT_EQ(ed->format().row(2).remarks, "net, yen");
    EXPECT_EQ(ed->Grid1->textAt(1, 1), "CODE");
    EXPECT_EQ(ed->CmbSepaChar->text(), "ﾀﾌﾞ");
    EXPECT_TRUE(ed->ChkFieldName->isChecked());
    EXPECT_EQ(state.separatorChar, "ﾀﾌﾞ");
    EXPECT_EQ(ed->windowTitle().toStdString(), "ﾌｫｰﾏｯﾄ設定 - [ " + state.jobFormatPath + " ]");
    EXPECT_FALSE(state.formatDirty);
    ed->show();
    ed->CmdClose_Click();
    EXPECT_TRUE(ed->closed());
    EXPECT_TRUE(desk.messages.shown.empty()); // the job already uses it
}

TEST_F(EditorOpening, CurrentFileWithAnEmptyJobPathShowsTheOpenDialog) {
    desk.dialogs.answer(writeSample("a.qfd"));
    auto ed = open(Choice::Current);
    ASSERT_EQ(desk.dialogs.opened.size(), 1u);
    EXPECT_EQ(desk.dialogs.opened[0],
              (FileDialogRequest{"ﾌｫｰﾏｯﾄﾌｧｲﾙを開く", "ﾌｫｰﾏｯﾄﾌｧｲﾙ形式|*.qfd|すべてのﾌｧｲﾙ|*.*", ""}));
    EXPECT_EQ(ed->format().row(1).fieldName, "CODE");
}

TEST_F(EditorOpening, ExistingFileThatIsTheJobsFormatIsNotOfferedAgain) {
    state.jobFormatPath = box.value = writeSample("job.qfd");
    desk.dialogs.answer(state.jobFormatPath);
    auto ed = open(Choice::Existing);
    EXPECT_EQ(ed->format().row(3).fixedValue, "X");
    ed->show();
    ed->CmdClose_Click();
    EXPECT_TRUE(ed->closed());
    EXPECT_TRUE(desk.messages.shown.empty());
}

TEST_F(EditorOpening, JobsFormatPickedFromTheDialogIsReadOnce) {
    FormatDefinition f;
    f.settings.textQuoteChar = "ab"; // refused, with a message, when read
    ASSERT_TRUE(saveFormatFile(path("long.qfd"), f, desk.messages));
    state.jobFormatPath = box.value = path("long.qfd");
    desk.dialogs.answer(path("long.qfd"));
    auto ed = open(Choice::Existing);
    EXPECT_EQ(ed->CmbTextChar->text(), "a");
    EXPECT_EQ(desk.messages.shown.size(), 1u);
}

TEST_F(EditorOpening, CancelClosesTheEditorAtOnce) {
    box.value = state.jobFormatPath = "/jobs/keep.qfd";
    auto ed = open(Choice::Cancel);
    EXPECT_TRUE(ed->closesWhenShown());
    ed->show();
    QCoreApplication::processEvents();
    EXPECT_TRUE(ed->closed());
    EXPECT_FALSE(ed->isVisible());
    EXPECT_EQ(box.value, "/jobs/keep.qfd");
    EXPECT_TRUE(desk.messages.shown.empty());
    EXPECT_FALSE(state.openFormatDirectly);
}

TEST_F(EditorOpening, FailedLoadReportsAndCloses) {
    state.jobFormatPath = path("missing.qfd");
    auto ed = open(Choice::Current);
    ASSERT_EQ(desk.messages.shown.size(), 1u);
    EXPECT_EQ(desk.messages.shown[0], formatLoadFailure(path("missing.qfd")));
    ed->show();
    QCoreApplication::processEvents();
    EXPECT_TRUE(ed->closed());
}

TEST_F(EditorOpening, DirectModeLoadsWithoutAsking) {
    state.jobFormatPath = writeSample("job.qfd", "ﾃｷｽﾄﾌｧｲﾙ");
    state.openFormatDirectly = true;
    FrmFormat ed(state, desk.platform(), box);
    EXPECT_EQ(ed.format().settings.outputKind, "ﾃｷｽﾄﾌｧｲﾙ");
    EXPECT_FALSE(ed.CmbTextChar->isEnabled());
    state.formatDirty = true;
    ed.show();
    ed.CmdClose_Click();
    EXPECT_TRUE(ed.closed());
    EXPECT_TRUE(desk.messages.shown.empty());
}

using OpenCommand = EditorTest;

TEST_F(OpenCommand, UnsavedChangesCancelStaysNoDiscards) {
    auto ed = open(Choice::New);
    ed->format().row(1).fieldName = "A";
    state.formatDirty = true;
    desk.messages.answer(Answer::Cancel);
    ed->mnuOpen_Click();
    EXPECT_TRUE(desk.dialogs.opened.empty());
    EXPECT_TRUE(state.formatDirty);

    desk.messages.answer(Answer::No);
    desk.dialogs.answer(writeSample("b.qfd", "ﾃｷｽﾄﾌｧｲﾙ"));
    ed->mnuOpen_Click();
    EXPECT_EQ(ed->format().row(1).fieldName, "CODE");
    EXPECT_FALSE(ed->CmbSepaChar->isEnabled());
    EXPECT_FALSE(state.formatDirty);
    EXPECT_EQ(state.formatPath, path("b.qfd"));
    EXPECT_EQ(ed->windowTitle().toStdString(), "ﾌｫｰﾏｯﾄ設定 - [ " + path("b.qfd") + " ]");
}

TEST_F(OpenCommand, ASeparatorChangeAloneIsAskedAbout) {
    auto ed = open(Choice::New);
    ed->CmbSepaChar->setText("|");
    EXPECT_FALSE(state.formatDirty); // separators do not mark it themselves
    desk.messages.answer(Answer::Cancel);
    ed->mnuOpen_Click();
    ASSERT_EQ(desk.messages.shown.size(), 1u);
    EXPECT_EQ(desk.messages.shown[0].title, "保存確認");
    EXPECT_TRUE(desk.dialogs.opened.empty());
    EXPECT_EQ(ed->CmbSepaChar->text(), "|");
}

TEST_F(OpenCommand, YesSavesAnUntitledFormatUnderANewNameFirst) {
    auto ed = open(Choice::New);
    ed->format().row(1) = FieldRow{"A", "1", "2", "Char", "", ""};
    state.formatDirty = true;
    desk.messages.answer(Answer::Yes);
    desk.dialogs.answer(path("saved.qfd"));
    desk.dialogs.answer(writeSample("next.qfd"));
    ed->mnuOpen_Click();
    ASSERT_EQ(desk.dialogs.saved.size(), 1u);
    EXPECT_EQ(desk.dialogs.saved[0].title, "名前を付けて保存");
    EXPECT_EQ(desk.dialogs.saved[0].initialName, "無題.qfd");
    FormatDefinition saved;
    ASSERT_TRUE(loadFormatFile(path("saved.qfd"), saved, desk.messages));
    EXPECT_EQ(saved.row(1).fieldName, "A");
    EXPECT_EQ(ed->format().row(1).fieldName, "CODE");
}

TEST_F(OpenCommand, CancelledSaveStopsTheOpen) {
    auto ed = open(Choice::New);
    state.formatDirty = true;
    desk.messages.answer(Answer::Yes);
    desk.dialogs.answer(std::nullopt);
    ed->mnuOpen_Click();
    EXPECT_TRUE(desk.dialogs.opened.empty());
    EXPECT_TRUE(state.formatDirty);
    EXPECT_EQ(desk.messages.texts().back(), "保存に失敗しました｡");
}

TEST_F(OpenCommand, CancelledDialogKeepsThePathAndDefinition) {
    state.jobFormatPath = box.value = writeSample("job.qfd");
    auto ed = open(Choice::Current);
    desk.dialogs.answer(std::nullopt);
    ed->mnuOpen_Click();
    EXPECT_EQ(state.formatPath, path("job.qfd"));
    EXPECT_EQ(ed->format().row(1).fieldName, "CODE");
    EXPECT_TRUE(ed->isEnabled());
}

TEST_F(OpenCommand, ShorterFormatLeavesNoStaleRows) {
    FormatDefinition big;
    for (int i = 1; i <= 250; ++i)
        big.growTo(251), big.row(i) = FieldRow{"F", std::to_string(i), "1", "Char", "", ""};
    ASSERT_TRUE(saveFormatFile(path("big.qfd"), big, desk.messages));
    state.jobFormatPath = path("big.qfd");
    auto ed = open(Choice::Current);
    EXPECT_EQ(ed->format().fieldRowCount(), 251);
    EXPECT_EQ(ed->Grid1->rows(), 252);
    EXPECT_EQ(ed->Grid1->textAt(251, 0), "251");
    desk.dialogs.answer(writeSample("small.qfd"));
    ed->mnuOpen_Click();
    EXPECT_EQ(ed->format().row(3).fieldName, "KIND");
    EXPECT_TRUE(ed->format().row(4).isEmpty());
    EXPECT_TRUE(ed->format().row(250).isEmpty());
}

using Closing = EditorTest;

TEST_F(Closing, UnchangedUntitledFormatAsksNothing) {
    auto ed = open(Choice::New);
    ed->show();
    ed->CmdClose_Click();
    EXPECT_TRUE(ed->closed());
    EXPECT_TRUE(desk.messages.shown.empty());
}

TEST_F(Closing, CancelKeepsTheWindowNoClosesWithoutSaving) {
    auto ed = open(Choice::New);
    ed->show();
    ed->CmbSepaChar->setText("ｾﾐｺﾛﾝ"); // a change only the comparison notices
    EXPECT_FALSE(state.formatDirty);
    desk.messages.answer(Answer::Cancel);
    ed->CmdClose_Click();
    EXPECT_FALSE(ed->closed());
    EXPECT_TRUE(state.formatDirty);
    EXPECT_EQ(desk.messages.shown.back().title, "保存確認");
    EXPECT_EQ(desk.messages.shown.back().text,
              "ﾌｫｰﾏｯﾄに変更が加えられています｡\rﾌｧｲﾙを保存しますか?");
    desk.messages.answer(Answer::No);
    ed->close();
    EXPECT_TRUE(ed->closed());
    EXPECT_FALSE(state.formatDirty);
    EXPECT_TRUE(desk.dialogs.saved.empty());
}

TEST_F(Closing, YesSavesATitledFormatInPlace) {
    state.jobFormatPath = box.value = writeSample("job.qfd");
    auto ed = open(Choice::Current);
    ed->show();
    ed->format().row(4) = FieldRow{"NEW", "14", "2", "Char", "", ""};
    state.formatDirty = true;
    desk.messages.answer(Answer::Yes);
    ed->CmdClose_Click();
    EXPECT_TRUE(ed->closed());
    EXPECT_TRUE(desk.dialogs.saved.empty());
    FormatDefinition saved;
    ASSERT_TRUE(loadFormatFile(path("job.qfd"), saved, desk.messages));
    EXPECT_EQ(saved.row(4).fieldName, "NEW");
}

TEST_F(Closing, InvalidTableKeepsTheWindowOpen) {
    auto ed = open(Choice::New);
    ed->show();
    ed->format().row(1).remarks = "alone";
    state.formatDirty = true;
    desk.messages.answer(Answer::Yes);
    ed->CmdClose_Click();
    EXPECT_FALSE(ed->closed());
    EXPECT_EQ(desk.messages.texts().back(), "1行目:｢備考欄｣しか入力されていません｡");
}

TEST_F(Closing, FailedWriteKeepsTheWindowAndTheChanges) {
    state.jobFormatPath = box.value = writeSample("job.qfd");
    auto ed = open(Choice::Current);
    ed->show();
    std::filesystem::remove(path("job.qfd"));
    std::filesystem::create_directory(path("job.qfd")); // cannot be replaced by a file
    state.formatDirty = true;
    desk.messages.answer(Answer::Yes);
    desk.dialogs.answer(path("job.qfd"));
    desk.messages.answer(Answer::Yes);
    ed->CmdClose_Click();
    EXPECT_FALSE(ed->closed());
    EXPECT_TRUE(state.formatDirty);
    EXPECT_EQ(state.formatPath, path("job.qfd"));
}

TEST_F(Closing, SavedUnderANewNameIsOfferedToTheJob) {
    box.value = state.jobFormatPath = "/jobs/old.qfd";
    auto ed = open(Choice::New);
    ed->show();
    ed->format().row(1) = FieldRow{"A", "1", "2", "Char", "", ""};
    desk.dialogs.answer(path("new.qfd"));
    ed->mnuSaveAs_Click();
    EXPECT_EQ(ed->windowTitle().toStdString(), "ﾌｫｰﾏｯﾄ設定 - [ " + path("new.qfd") + " ]");
    desk.messages.answer(Answer::Yes);
    ed->CmdClose_Click();
    EXPECT_TRUE(ed->closed());
    ASSERT_EQ(desk.messages.shown.size(), 1u);
    EXPECT_EQ(desk.messages.shown[0], (Message{"このﾌｫｰﾏｯﾄを処理で使用するように設定しますか?",
                                               "確認", Icon::None, Buttons::YesNo, Answer::Yes}));
    EXPECT_EQ(box.value, path("new.qfd"));
    EXPECT_EQ(state.jobFormatPath, path("new.qfd"));
}

TEST_F(Closing, NoLeavesTheJobsFormatAlone) {
    box.value = state.jobFormatPath = "/jobs/old.qfd";
    desk.dialogs.answer(writeSample("other.qfd"));
    auto ed = open(Choice::Existing);
    ed->show();
    desk.messages.answer(Answer::No);
    ed->CmdClose_Click();
    EXPECT_TRUE(ed->closed());
    EXPECT_EQ(box.value, "/jobs/old.qfd");
}

using Saving = EditorTest;

TEST_F(Saving, UntitledFormatOverAnExistingFileCancelWritesNothing) {
    const std::string existing = writeSample("exists.qfd");
    const auto before = readWholeFile(existing);
    auto ed = open(Choice::New);
    ed->format().row(1) = FieldRow{"A", "1", "2", "Char", "", ""};
    state.formatDirty = true;
    desk.dialogs.answer(existing);
    desk.messages.answer(Answer::Cancel);
    ed->mnuOverWrite_Click();
    ASSERT_EQ(desk.dialogs.saved.size(), 1u);
    EXPECT_EQ(desk.dialogs.saved[0],
              (FileDialogRequest{"ﾌｫｰﾏｯﾄﾌｧｲﾙの保存", "ﾌｫｰﾏｯﾄﾌｧｲﾙ形式|*.qfd|すべてのﾌｧｲﾙ|*.*",
                                 "無題.qfd"}));
    EXPECT_EQ(desk.messages.shown[0],
              (Message{"既に同名ﾌｧｲﾙが存在しています｡\r上書きしますか?", "上書確認", Icon::None,
                       Buttons::YesNoCancel, Answer::Yes}));
    EXPECT_EQ(readWholeFile(existing), before);
    EXPECT_EQ(state.formatPath, "無題.qfd");
    EXPECT_TRUE(state.formatDirty);
}

TEST_F(Saving, DecliningToOverwriteKeepsTheOldPathAndTheChanges) {
    const std::string existing = writeSample("exists.qfd");
    auto ed = open(Choice::New);
    ed->format().row(1) = FieldRow{"A", "1", "2", "Char", "", ""};
    state.formatDirty = true;
    desk.dialogs.answer(existing);
    desk.messages.answer(Answer::No);
    EXPECT_EQ(ed->File_Save(0), 1);
    EXPECT_EQ(state.formatPath, "無題.qfd");
    EXPECT_TRUE(state.formatDirty);
    desk.dialogs.answer(existing);
    desk.messages.answer(Answer::No);
    EXPECT_EQ(ed->File_Save(1), 1);
    EXPECT_EQ(desk.messages.shown.back().buttons, Buttons::YesNo);
    FormatDefinition kept;
    ASSERT_TRUE(loadFormatFile(existing, kept, desk.messages));
    EXPECT_EQ(kept.row(1).fieldName, "CODE");
}

TEST_F(Saving, TitledFormatIsOverwrittenWithoutQuestions) {
    state.jobFormatPath = writeSample("job.qfd");
    auto ed = open(Choice::Current);
    ed->format().row(1).fieldName = "RENAMED";
    state.formatDirty = true;
    EXPECT_EQ(ed->File_Save(0), 0);
    EXPECT_FALSE(state.formatDirty);
    EXPECT_TRUE(desk.dialogs.saved.empty());
    EXPECT_TRUE(desk.messages.shown.empty());
}

TEST_F(Saving, SavedFormatReloadsIntoTheSameGridAndSettings) {
    auto ed = open(Choice::New);
    FlexGrid& g = *ed->Grid1;
    g.setTextAt(1, 1, "CODE");
    g.setTextAt(1, 2, "1");
    g.setTextAt(1, 3, "5");
    g.setTextAt(1, 4, "Char");
    g.setTextAt(2, 1, "NOTE \"q\", x");
    g.setTextAt(2, 5, "fixed");
    ed->CmbTextNum->setText("'");
    ed->CmbSepaChar->setText("ｾﾐｺﾛﾝ");
    ed->CmbToFile->setText("ﾃｷｽﾄﾌｧｲﾙ");
    ed->ChkFieldName->setChecked(true);
    ed->JumpTxtFrom->setText("2");
    ed->JumpTxtTo->setText("4");
    ed->format().settings.headerText = "H1\r\nH2";
    desk.dialogs.answer(path("round.qfd"));
    ed->mnuSaveAs_Click();
    const FormatDefinition written = ed->format();

    state.jobFormatPath = path("round.qfd");
    auto again = open(Choice::Current);
    EXPECT_EQ(again->format(), written);
    EXPECT_EQ(again->CmbTextNum->text(), "'");
    EXPECT_EQ(again->JumpTxtTo->text().toStdString(), "4");
    EXPECT_FALSE(again->CmbTextNum->isEnabled());
}

} // namespace
} // namespace quisk::test
