#include "common/platform/qt_platform.h"
#include "common/twips.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <unistd.h>

namespace quisk {
namespace {

// Runs action on the modal window once it is up; a test that shows a dialog
// would otherwise wait forever.
void whenModalShows(std::function<void(QWidget*)> action) {
    QTimer::singleShot(0, [action] {
        QWidget* modal = QApplication::activeModalWidget();
        ASSERT_NE(modal, nullptr);
        action(modal);
    });
}

QPushButton* buttonCaptioned(QMessageBox& box, const QString& caption) {
    for (QAbstractButton* b : box.buttons())
        if (b->text() == caption)
            return qobject_cast<QPushButton*>(b);
    return nullptr;
}

TEST(QtMessageBoxesTest, BoxShowsTextTitleIconAndButtons) {
    Message m{"一行目\r二行目", "保存確認", Icon::None, Buttons::YesNoCancel, Answer::Yes};
    auto box = buildMessageBox(m, nullptr);
    EXPECT_EQ(box->text(), QStringLiteral("一行目\n二行目"));
    EXPECT_EQ(box->windowTitle(), QStringLiteral("保存確認"));
    EXPECT_EQ(box->icon(), QMessageBox::NoIcon);
    EXPECT_EQ(box->textFormat(), Qt::PlainText);
    ASSERT_EQ(box->buttons().size(), 3);
    EXPECT_EQ(box->defaultButton(), buttonCaptioned(*box, "はい(&Y)"));
    EXPECT_EQ(box->escapeButton(), buttonCaptioned(*box, "ｷｬﾝｾﾙ"));
    EXPECT_EQ(answerOf(*box, buttonCaptioned(*box, "いいえ(&N)")), Answer::No);
}

TEST(QtMessageBoxesTest, StopIconAndCancelAsDefault) {
    Message stop{"<b>x</b>", "ｴﾗｰ", Icon::Stop};
    auto box = buildMessageBox(stop, nullptr);
    EXPECT_EQ(box->icon(), QMessageBox::Critical);
    EXPECT_EQ(box->text(), QStringLiteral("<b>x</b>")); // shown as typed, not as markup
    Message ask{"上書きしますか?", "上書確認", Icon::None, Buttons::OkCancel, Answer::Cancel};
    auto question = buildMessageBox(ask, nullptr);
    EXPECT_EQ(question->defaultButton(), buttonCaptioned(*question, "ｷｬﾝｾﾙ"));
    EXPECT_EQ(buildMessageBox({"i", "確認", Icon::Information}, nullptr)->icon(),
              QMessageBox::Information);
}

TEST(QtMessageBoxesTest, ShowReturnsTheButtonPressed) {
    QtMessageBoxes boxes;
    whenModalShows([](QWidget* w) {
        auto* box = qobject_cast<QMessageBox*>(w);
        ASSERT_NE(box, nullptr);
        buttonCaptioned(*box, "いいえ(&N)")->click();
    });
    EXPECT_EQ(boxes.show({"q", "確認", Icon::None, Buttons::YesNo, Answer::Yes}), Answer::No);
}

TEST(QtMessageBoxesTest, ClosingWithoutAButtonIsTheCautiousAnswer) {
    QtMessageBoxes boxes;
    whenModalShows([](QWidget* w) { w->close(); });
    EXPECT_EQ(boxes.show({"q", "確認", Icon::None, Buttons::YesNoCancel, Answer::Yes}),
              Answer::Cancel);
    whenModalShows([](QWidget* w) { w->close(); });
    EXPECT_EQ(boxes.show({"q", "確認", Icon::None, Buttons::YesNo, Answer::Yes}), Answer::No);
}

TEST(QtFileDialogsTest, FilterListsBecomeQtNameFilters) {
    EXPECT_EQ(qtNameFilters("ﾃｷｽﾄﾌｧｲﾙ|*.txt|CSV形式|*.csv|すべてのﾌｧｲﾙ|*.*"),
              QStringList({"ﾃｷｽﾄﾌｧｲﾙ (*.txt)", "CSV形式 (*.csv)", "すべてのﾌｧｲﾙ (*.*)"}));
    EXPECT_EQ(qtNameFilters("表|*.txt; *.csv"), QStringList({"表 (*.txt *.csv)"}));
    EXPECT_EQ(qtNameFilters("a|*.a|dangling"), QStringList({"a (*.a)"}));
    EXPECT_TRUE(qtNameFilters("").isEmpty());
}

class FileDialogFolder : public ::testing::Test {
protected:
    void SetUp() override {
        dir = std::filesystem::temp_directory_path() /
              ("quisk_dialogs_" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir);
    }
    void TearDown() override { std::filesystem::remove_all(dir); }
    std::filesystem::path dir;
};

TEST_F(FileDialogFolder, OpenDialogStartsInTheInitialFolderWithTheFirstFilter) {
    std::string initial = (dir / "in.txt").string();
    auto dialog = buildFileDialog({"元ﾌｧｲﾙを開く", "ﾃｷｽﾄﾌｧｲﾙ|*.txt|CSV形式|*.csv", initial},
                                  FileDialogMode::Open, nullptr);
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("元ﾌｧｲﾙを開く"));
    EXPECT_TRUE(dialog->testOption(QFileDialog::DontUseNativeDialog));
    EXPECT_EQ(dialog->fileMode(), QFileDialog::AnyFile);
    EXPECT_EQ(dialog->acceptMode(), QFileDialog::AcceptOpen);
    EXPECT_EQ(dialog->selectedNameFilter(), QStringLiteral("ﾃｷｽﾄﾌｧｲﾙ (*.txt)"));
    EXPECT_EQ(QDir(dialog->directory()).canonicalPath(),
              QDir(QString::fromStdString(dir.string())).canonicalPath());
    EXPECT_EQ(dialog->findChild<QLineEdit*>("fileNameEdit")->text(), QStringLiteral("in.txt"));
}

TEST_F(FileDialogFolder, WildcardInitialNameIsTheStartingFileName) {
    auto dialog = buildFileDialog({"ﾌｫｰﾏｯﾄﾌｧｲﾙを開く", "ﾌｫｰﾏｯﾄﾌｧｲﾙ形式|*.qfd", "*.qfd"},
                                  FileDialogMode::Open, nullptr);
    EXPECT_EQ(dialog->findChild<QLineEdit*>("fileNameEdit")->text(), QStringLiteral("*.qfd"));
}

TEST_F(FileDialogFolder, SaveDialogLeavesTheOverwriteQuestionToTheCaller) {
    auto dialog = buildFileDialog({"処理ﾌｧｲﾙの保存", "処理ﾌｧｲﾙ形式|*.dof", "無題.dof"},
                                  FileDialogMode::Save, nullptr);
    EXPECT_EQ(dialog->acceptMode(), QFileDialog::AcceptSave);
    EXPECT_TRUE(dialog->testOption(QFileDialog::DontConfirmOverwrite));
}

TEST_F(FileDialogFolder, OpenAcceptsAFileThatDoesNotExistYetAndCancelIsDistinct) {
    QtFileDialogs dialogs;
    std::string wanted = (dir / "new.csv").string();
    whenModalShows([](QWidget* w) {
        auto* dialog = qobject_cast<QFileDialog*>(w);
        ASSERT_NE(dialog, nullptr);
        QMetaObject::invokeMethod(dialog, "accept");
    });
    auto chosen = dialogs.open({"先ﾌｧｲﾙを開く", "CSV形式|*.csv", wanted});
    ASSERT_TRUE(chosen.has_value());
    EXPECT_EQ(std::filesystem::path(*chosen).filename(), "new.csv");
    EXPECT_FALSE(std::filesystem::exists(*chosen));

    whenModalShows([](QWidget* w) { qobject_cast<QDialog*>(w)->reject(); });
    EXPECT_EQ(dialogs.save({"名前を付けて保存", "処理ﾌｧｲﾙ形式|*.dof", wanted}), std::nullopt);
}

TEST(QtDesktopTest, ScreenSizeIsInTwipsAtTheLogicalDpi) {
    QtScreen screen;
    const QScreen* qs = QGuiApplication::primaryScreen();
    ASSERT_NE(qs, nullptr);
    EXPECT_DOUBLE_EQ(screen.dpi(), qs->logicalDotsPerInch());
    EXPECT_EQ(twipsToPixels(screen.widthTwips(), screen.dpi()), qs->geometry().width());
    EXPECT_EQ(twipsToPixels(screen.heightTwips(), screen.dpi()), qs->geometry().height());
}

TEST(QtDesktopTest, ClipboardKeepsJapaneseText) {
    QtClipboard clipboard;
    clipboard.setText("ﾌｨｰﾙﾄﾞ\t1\r");
    EXPECT_EQ(clipboard.text(), "ﾌｨｰﾙﾄﾞ\t1\r");
}

} // namespace
} // namespace quisk
