#include "app/ui/help_window.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTreeWidget>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <unistd.h>

namespace quisk {
namespace {

namespace fs = std::filesystem;

class HelpWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("quisk_helpwin_" + std::to_string(::getpid()));
        fs::create_directories(dir);
    }
    void TearDown() override {
        delete window;
        fs::remove_all(dir);
    }
    HelpWindow& open(const std::string& html) {
        std::string path = (dir / "Quisk.hlp").string();
        std::ofstream(path) << html;
        window = new HelpWindow(QString::fromStdString(path));
        window->setAttribute(Qt::WA_DeleteOnClose, false);
        return *window;
    }
    template <class T> T* child(const char* name) {
        T* found = window->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    QStringList visibleContents() {
        QStringList titles;
        for (QTreeWidgetItemIterator it(child<QTreeWidget>("helpContents")); *it; ++it)
            if (!(*it)->isHidden())
                titles << (*it)->text(0);
        return titles;
    }
    // The heading of the block the cursor is in or the last one above it.
    QString headingAtCursor() {
        QTextBlock b = child<QTextBrowser>("helpBrowser")->textCursor().block();
        for (; b.isValid(); b = b.previous())
            if (b.blockFormat().headingLevel() > 0)
                return b.text();
        return {};
    }

    fs::path dir;
    HelpWindow* window = nullptr;
};

const char* kManual = R"(<html><body>
<h1>Quiskﾍﾙﾌﾟ</h1><p>はじめに</p>
<h2><a name="run"></a>実行</h2><p>変換を始めます。区切ﾌｧｲﾙを書きます。</p>
<h3><a name="unattended"></a>無人実行</h3><p>/I を付けます。</p>
<h2><a name="log"></a>ﾛｸﾞ</h2><p>Quisk.log を書きます。区切ﾌｧｲﾙの行数も。</p>
<h2>付録</h2><p>なし</p>
</body></html>)";

TEST_F(HelpWindowTest, ContentsFollowTheHeadingsAndLinkToThem) {
    open(kManual);
    auto* contents = child<QTreeWidget>("helpContents");
    ASSERT_EQ(contents->topLevelItemCount(), 1);
    QTreeWidgetItem* top = contents->topLevelItem(0);
    EXPECT_EQ(top->text(0), QStringLiteral("Quiskﾍﾙﾌﾟ"));
    ASSERT_EQ(top->childCount(), 3);
    EXPECT_EQ(top->child(0)->child(0)->text(0), QStringLiteral("無人実行"));
    EXPECT_EQ(top->child(1)->text(0), QStringLiteral("ﾛｸﾞ"));

    // A section with an anchor is visited as a link: back and forward work.
    auto* browser = child<QTextBrowser>("helpBrowser");
    auto* back = child<QAction>("helpBack");
    auto* forward = child<QAction>("helpForward");
    EXPECT_FALSE(back->isEnabled());
    emit contents->itemClicked(top->child(1), 0);
    EXPECT_EQ(browser->source().fragment(), QStringLiteral("log"));
    ASSERT_TRUE(back->isEnabled());
    back->trigger();
    EXPECT_TRUE(browser->source().fragment().isEmpty());
    ASSERT_TRUE(forward->isEnabled());
    forward->trigger();
    EXPECT_EQ(browser->source().fragment(), QStringLiteral("log"));

    // One without an anchor is still reached.
    emit contents->itemClicked(top->child(2), 0);
    EXPECT_EQ(headingAtCursor(), QStringLiteral("付録"));
}

TEST_F(HelpWindowTest, SearchMarksMatchesNarrowsTheContentsAndWraps) {
    open(kManual);
    auto* box = child<QLineEdit>("helpSearch");
    auto* browser = child<QTextBrowser>("helpBrowser");
    box->setText(QStringLiteral("区切ﾌｧｲﾙ"));
    EXPECT_EQ(browser->extraSelections().size(), 2);
    EXPECT_EQ(child<QLabel>("helpHits")->text(), QStringLiteral("2件"));
    EXPECT_EQ(visibleContents(), (QStringList{"Quiskﾍﾙﾌﾟ", "実行", "ﾛｸﾞ"}));
    EXPECT_EQ(headingAtCursor(), QStringLiteral("実行"));
    emit box->returnPressed();
    EXPECT_EQ(headingAtCursor(), QStringLiteral("ﾛｸﾞ"));
    emit box->returnPressed(); // past the last match back to the first
    EXPECT_EQ(headingAtCursor(), QStringLiteral("実行"));

    box->setText(QStringLiteral("/I"));
    EXPECT_EQ(visibleContents(), (QStringList{"Quiskﾍﾙﾌﾟ", "実行", "無人実行"}));

    box->setText(QStringLiteral("存在しない語"));
    EXPECT_TRUE(browser->extraSelections().isEmpty());
    EXPECT_EQ(child<QLabel>("helpHits")->text(), QStringLiteral("見つかりません"));
    EXPECT_EQ(visibleContents(), QStringList{});

    box->clear();
    EXPECT_EQ(visibleContents().size(), 5);
    EXPECT_TRUE(child<QLabel>("helpHits")->text().isEmpty());
}

// The bundled manual as the program finds it: every picture it shows is
// there, and its chapters make the contents.
TEST_F(HelpWindowTest, TheBundledManualShowsWithItsPictures) {
    QString path = QStringLiteral(QUISK_BIN_DIR "/Quisk.hlp");
    window = new HelpWindow(path);
    window->setAttribute(Qt::WA_DeleteOnClose, false);
    EXPECT_GE(child<QTreeWidget>("helpContents")->topLevelItem(0)->childCount(), 8);
    QTextDocument* doc = child<QTextBrowser>("helpBrowser")->document();
    int pictures = 0;
    for (QTextBlock b = doc->begin(); b.isValid(); b = b.next())
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            QTextCharFormat f = it.fragment().charFormat();
            if (!f.isImageFormat())
                continue;
            ++pictures;
            QString name = f.toImageFormat().name();
            EXPECT_TRUE(QFileInfo(QFileInfo(path).dir(), name).isFile()) << name.toStdString();
        }
    EXPECT_GE(pictures, 4);
}

} // namespace
} // namespace quisk
