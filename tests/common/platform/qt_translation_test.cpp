#include "common/platform/qt_file_dialogs.h"
#include "common/platform/qt_translation.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QPushButton>
#include <QTranslator>
#include <gtest/gtest.h>
#include <memory>

namespace quisk {
namespace {

// Qt's texts as the program shows them; each test leaves Qt's English
// behind for the tests that run after it in the same process.
class QtTranslationTest : public ::testing::Test {
protected:
    void TearDown() override {
        QLocale::setDefault(locale_);
        for (QTranslator* t : qApp->findChildren<QTranslator*>()) {
            QCoreApplication::removeTranslator(t);
            delete t;
        }
    }
    // The menu's captions without the shortcut Qt appends after a tab.
    static QStringList actionTexts(const QMenu& menu) {
        QStringList texts;
        for (const QAction* a : menu.actions())
            if (!a->isSeparator())
                texts << a->text().section(u'\t', 0, 0);
        return texts;
    }

private:
    QLocale locale_;
};

TEST_F(QtTranslationTest, FileDialogAndContextMenuSpeakJapanese) {
    ASSERT_TRUE(installJapaneseQtTexts(*qApp));

    auto dialog =
        buildFileDialog({"元ﾌｧｲﾙを開く", "ﾃｷｽﾄﾌｧｲﾙ|*.txt", ""}, FileDialogMode::Open, nullptr);
    auto* fileName = dialog->findChild<QLabel*>(QStringLiteral("fileNameLabel"));
    ASSERT_NE(fileName, nullptr);
    EXPECT_EQ(fileName->text(), QStringLiteral("ファイル名(&N):"));
    auto* buttons = dialog->findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"));
    ASSERT_NE(buttons, nullptr);
    EXPECT_EQ(buttons->button(QDialogButtonBox::Cancel)->text(), QStringLiteral("キャンセル"));

    QLineEdit edit(QStringLiteral("元ﾌｧｲﾙ"));
    std::unique_ptr<QMenu> menu(edit.createStandardContextMenu());
    QStringList texts = actionTexts(*menu);
    EXPECT_TRUE(texts.contains(QStringLiteral("元に戻す(&U)"))) << texts.join(u',').toStdString();
    EXPECT_TRUE(texts.contains(QStringLiteral("貼り付け(&P)"))) << texts.join(u',').toStdString();
    EXPECT_FALSE(texts.contains(QStringLiteral("&Undo")));
}

TEST_F(QtTranslationTest, WithoutTheCatalogueQtStaysEnglish) {
    EXPECT_FALSE(installJapaneseQtTexts(*qApp, QStringLiteral("/nonexistent/translations")));
    EXPECT_TRUE(qApp->findChildren<QTranslator*>().isEmpty());
    QLineEdit edit;
    std::unique_ptr<QMenu> menu(edit.createStandardContextMenu());
    EXPECT_TRUE(actionTexts(*menu).contains(QStringLiteral("&Undo")));
}

} // namespace
} // namespace quisk
