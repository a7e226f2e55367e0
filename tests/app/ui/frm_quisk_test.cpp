#include "app/job_file.h"
#include "app/ui/frm_quisk.h"
#include "app/ui/frm_version.h"
#include "app/ui/help_window.h"
#include "common/file_io.h"
#include "support/access_keys.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <unistd.h>

namespace quisk {
namespace {

namespace fs = std::filesystem;

// Message boxes that also let a test act while a message is up, as a user
// could while the run waits for the answer.
class WatchingMessageBoxes : public ScriptedMessageBoxes {
public:
    Answer show(const Message& m) override {
        if (onShow)
            onShow(m);
        return ScriptedMessageBoxes::show(m);
    }
    std::function<void(const Message&)> onShow;
};

class FrmQuiskTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("quisk_frm_" + std::to_string(::getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir);
        for (const char* file : {"sales.txt", "sales.qfd"})
            fs::copy_file(fs::path(QUISK_SOURCE_DIR) / "examples" / file, dir / file);
    }
    void TearDown() override {
        window.reset();
        fs::remove_all(dir);
    }
    std::string at(const std::string& name) const { return (dir / name).string(); }
    Platform platform() {
        return Platform{boxes, dialogs, desktop.clipboard, desktop.screen, desktop.launcher};
    }
    // Creates the window and runs start-up with a default job in place.
    FrmQuisk& start(const JobDefinition& job, std::vector<std::string> arguments = {}) {
        EXPECT_TRUE(writeJobFile(at("Quisk.dof"), job));
        return startWith(std::move(arguments));
    }
    FrmQuisk& startWith(std::vector<std::string> arguments) {
        window = std::make_unique<FrmQuisk>(state, platform());
        window->Form_Load({std::move(arguments), dir.string(), at("Quisk.hlp")});
        return *window;
    }
    JobDefinition salesJob() const {
        return {"売上", at("sales.txt"), at("out.csv"), at("sales.qfd"), "", false, false, {}};
    }
    template <class T> T* child(const char* name) {
        T* found = window->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    QLineEdit* box(const char* name) { return child<QLineEdit>(name); }
    void click(const char* name) { child<QPushButton>(name)->click(); }
    void trigger(const char* name) { child<QAction>(name)->trigger(); }

    fs::path dir;
    AppState state;
    ScriptedPlatform desktop;
    WatchingMessageBoxes boxes;
    ScriptedFileDialogs dialogs;
    std::unique_ptr<FrmQuisk> window;
};

TEST_F(FrmQuiskTest, ControlsSitWhereTheTwipTableSaysInTabOrder) {
    start(salesJob());
    struct Expected {
        const char* name;
        const char* caption;
        const char* tip;
        int l, t, w, h;
    };
    const Expected table[] = {
        {"cmdSearch", "実行", "このﾎﾞﾀﾝで処理を実行します", 120, 0, 1452, 375},
        {"CmdFmt", "ﾌｫｰﾏｯﾄﾌｧｲﾙの編集", "ﾌｫｰﾏｯﾄﾌｧｲﾙの編集画面を開きます", 1680, 0, 2172, 372},
        {"cmdSrchCancel", "終了", "終了しちゃうんですか?", 3960, 0, 852, 375},
        {"DoNameTxt", nullptr, "この処理の名前を入力します", 240, 600, 5652, 396},
        {"ChkFileExist", "先ﾌｧｲﾙが存在したら上書きする", "", 240, 1080, 3852, 384},
        {"PasTxt1", nullptr, "元になるﾌｧｲﾙのﾊﾟｽを入力します", 240, 1920, 5652, 396},
        {"CmdFileShow1", "", "元ﾌｧｲﾙを開く", 6000, 1920, 492, 420},
        {"PasTxt2", nullptr, "書込み先になるﾌｧｲﾙのﾊﾟｽを入力します", 240, 2760, 5652, 396},
        {"CmdFileShow2", "", "先ﾌｧｲﾙを開く", 6000, 2760, 492, 420},
        {"PasTxt3", nullptr, "処理ﾌｫｰﾏｯﾄﾌｧｲﾙのﾊﾟｽを入力します", 240, 3600, 5652, 396},
        {"CmdFileShow3", "", "ﾌｫｰﾏｯﾄﾌｧｲﾙを開く", 6000, 3600, 492, 420},
        {"PasTxt4", nullptr, "処理後実行するﾊﾞｯﾁ･実行ﾌｧｲﾙのﾊﾟｽを入力します", 240, 4440, 5652, 396},
        {"CmdFileShow4", "", "ﾊﾞｯﾁ･実行ﾌｧｲﾙを開く", 6000, 4440, 492, 420},
        {"ChkBatDo", "処理終了後､Quiskを終了する｡", "", 240, 4920, 5652, 384},
        {"Label3", "先ﾌｧｲﾙﾊﾟｽ:", "", 240, 2400, 2292, 372},
        {"Label4", "元ﾌｧｲﾙﾊﾟｽ:", "", 240, 1560, 2052, 372},
        {"Label1", "ﾌｫｰﾏｯﾄﾌｧｲﾙﾊﾟｽ:", "", 240, 3240, 2052, 372},
        {"Label2", "処理終了後ﾊﾞｯﾁ･実行ﾌｧｲﾙﾊﾟｽ(任意):", "", 240, 4080, 4452, 372},
    };
    QStringList focusable;
    for (const Expected& e : table) {
        QWidget* w = child<QWidget>(e.name);
        ASSERT_NE(w, nullptr);
        // 15 twips to the pixel at 96 DPI.
        EXPECT_EQ(w->geometry(), QRect(qRound(e.l / 15.0), qRound(e.t / 15.0), qRound(e.w / 15.0),
                                       qRound(e.h / 15.0)))
            << e.name;
        EXPECT_EQ(w->toolTip(), QString::fromUtf8(e.tip)) << e.name;
        QVariant caption = w->property("text");
        if (e.caption) {
            EXPECT_EQ(caption.toString(), QString::fromUtf8(e.caption)) << e.name;
        }
        if (w->focusPolicy() & Qt::TabFocus)
            focusable << e.name;
    }
    QStringList chain;
    QWidget* w = child<QWidget>("cmdSearch");
    for (int i = 0; i < focusable.size(); ++i, w = w->nextInFocusChain()) {
        while (!(w->focusPolicy() & Qt::TabFocus))
            w = w->nextInFocusChain();
        chain << w->objectName();
    }
    EXPECT_EQ(chain, focusable);
}

TEST_F(FrmQuiskTest, WindowIsFixedCentredAndHasTheMenus) {
    start(salesJob());
    EXPECT_EQ(window->minimumSize(), window->maximumSize());
    // (28800 - 6800) / 2 = 11000 and (16200 - 6216) / 2 = 4992 twips.
    EXPECT_EQ(window->pos(), QPoint(733, 333));
    QStringList captions;
    for (QAction* menu : window->menuBar()->actions()) {
        captions << menu->text();
        for (QAction* item : menu->menu()->actions()) {
            captions << (item->isSeparator() ? QStringLiteral("-") : item->text());
            EXPECT_TRUE(item->shortcut().isEmpty());
        }
    }
    EXPECT_EQ(captions, QStringList({"ﾌｧｲﾙ(&F)", "新規作成(&N)", "処理ﾌｧｲﾙを開く(&O)",
                                     "処理ﾌｧｲﾙの上書き保存(&V)", "処理ﾌｧｲﾙを名前を付けて保存(&E)",
                                     "ﾌｫｰﾏｯﾄと先ﾌｧｲﾙの組を追加(&P)", "-", "終了(&X)", "ﾍﾙﾌﾟ(&H)",
                                     "Quiskﾍﾙﾌﾟ(&E)", "-", "ﾊﾞｰｼﾞｮﾝ情報(&V)"}));
}

TEST_F(FrmQuiskTest, StartupShowsTheDefaultJobUnchanged) {
    start({"売上", "a.txt", "b.csv", "c.qfd", "d.sh", true, false, {}});
    EXPECT_EQ(window->windowTitle(), QString::fromStdString("Quisk - [ " + at("Quisk.dof") + " ]"));
    EXPECT_EQ(box("DoNameTxt")->text(), QStringLiteral("売上"));
    EXPECT_EQ(box("PasTxt4")->text(), QStringLiteral("d.sh"));
    EXPECT_TRUE(child<QCheckBox>("ChkFileExist")->isChecked());
    EXPECT_FALSE(state.jobDirty);
    EXPECT_EQ(state.startDirectory, dir.string());
}

TEST_F(FrmQuiskTest, StartupThatFindsNoJobLeavesAnEmptyUntitledWindow) {
    startWith({});
    EXPECT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(dialogs.opened.size(), 1u);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Quisk"));
    EXPECT_TRUE(box("PasTxt1")->text().isEmpty());
    EXPECT_EQ(state.jobPath, "無題.dof");
    EXPECT_FALSE(state.jobDirty);
}

TEST_F(FrmQuiskTest, ClosingAChangedJobAsksAndCancelKeepsTheWindow) {
    start(salesJob());
    window->show();
    box("PasTxt2")->setText(QString::fromStdString(at("other.csv")));
    EXPECT_TRUE(state.jobDirty);
    boxes.answer(Answer::Cancel);
    click("cmdSrchCancel");
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(boxes.shown.at(0).title, "保存確認");

    boxes.answer(Answer::Cancel);
    trigger("mnuEnd");
    EXPECT_TRUE(window->isVisible());

    boxes.answer(Answer::Yes); // the job file exists: saved in place
    window->close();
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(readJobFile(at("Quisk.dof"))->destinationPath, at("other.csv"));
}

TEST_F(FrmQuiskTest, BrowseButtons) {
    start(salesJob());
    box("PasTxt3")->clear();
    state.jobDirty = false;
    click("CmdFileShow3"); // cancelled
    EXPECT_EQ(
        dialogs.opened.at(0),
        (FileDialogRequest{"ﾌｫｰﾏｯﾄﾌｧｲﾙを開く", "ﾌｫｰﾏｯﾄﾌｧｲﾙ形式|*.qfd|すべてのﾌｧｲﾙ|*.*", "*.qfd"}));
    EXPECT_FALSE(state.jobDirty);

    dialogs.answer(at("new.csv"));
    click("CmdFileShow2");
    EXPECT_EQ(dialogs.opened.at(1).initialName, at("out.csv"));
    EXPECT_EQ(dialogs.opened.at(1).filter, "CSV形式|*.csv|ﾃｷｽﾄﾌｧｲﾙ|*.txt|すべてのﾌｧｲﾙ|*.*");
    EXPECT_EQ(box("PasTxt2")->text().toStdString(), at("new.csv"));
    EXPECT_TRUE(state.jobDirty);

    click("CmdFileShow1");
    click("CmdFileShow4");
    EXPECT_EQ(dialogs.opened.at(2).filter, "ﾃｷｽﾄﾌｧｲﾙ|*.txt|CSV形式|*.csv|すべてのﾌｧｲﾙ|*.*");
    EXPECT_EQ(dialogs.opened.at(3).title, "ﾊﾞｯﾁ･実行ﾌｧｲﾙを開く");
    EXPECT_EQ(box("PasTxt1")->text().toStdString(), at("sales.txt"));
}

TEST_F(FrmQuiskTest, TheProgramBrowserQuotesAPathWithSpaces) {
    start(salesJob());
    dialogs.answer("/opt/my tools/after run.sh");
    click("CmdFileShow4");
    EXPECT_EQ(box("PasTxt4")->text().toStdString(), "\"/opt/my tools/after run.sh\"");
    box("PasTxt4")->setText(box("PasTxt4")->text() + " --quiet");
    dialogs.answer("/usr/bin/notify-send");
    click("CmdFileShow4");
    EXPECT_EQ(dialogs.opened.at(1).initialName, "/opt/my tools/after run.sh");
    EXPECT_EQ(box("PasTxt4")->text().toStdString(), "/usr/bin/notify-send");
}

TEST_F(FrmQuiskTest, MissingFormatIsReportedOnlyAfterTheOverwriteQuestion) {
    JobDefinition job = salesJob();
    job.formatFilePath = at("missing.qfd");
    start(job);
    std::ofstream(at("out.csv")) << "keep";
    boxes.answer(Answer::Cancel);
    click("cmdSearch");
    EXPECT_EQ(boxes.texts(), std::vector<std::string>{"同名ﾌｧｲﾙが存在します｡上書きしますか?"});

    boxes.answer(Answer::Ok);
    click("cmdSearch");
    EXPECT_EQ(boxes.shown.back().text,
              "ﾌｫｰﾏｯﾄﾌｧｲﾙは存在しません｡\r探したﾊﾟｽ: " + at("missing.qfd"));
    EXPECT_EQ(*readWholeFile(at("out.csv")), "keep");
    EXPECT_FALSE(fs::exists(dir / "Quisk.log"));
    EXPECT_EQ(state.jobFormatPath, ""); // the checks failed before the paths were taken
}

TEST_F(FrmQuiskTest, ARelativeSourceBesideTheJobGetsAHintToStartThere) {
    JobDefinition job = salesJob();
    job.sourcePath = "sales.txt"; // taken from the start folder, not the job's
    start(job, {at("Quisk.dof")});
    click("cmdSearch");
    ASSERT_EQ(boxes.shown.size(), 1u);
    std::string text = boxes.shown[0].text;
    EXPECT_EQ(text.substr(0, text.find('\r')), "元ﾌｧｲﾙは存在しません｡");
    EXPECT_NE(text.find("\rQuiskを処理ﾌｧｲﾙのﾌｫﾙﾀﾞ｢" + dir.string() + "｣から起動してください｡"),
              std::string::npos)
        << text;
}

TEST_F(FrmQuiskTest, TheButtonShowsTheRunAndASecondClickDoesNothing) {
    start(salesJob());
    QString captionDuringRun;
    boxes.onShow = [&](const Message&) {
        captionDuringRun = child<QPushButton>("cmdSearch")->text();
        child<QPushButton>("cmdSearch")->click();
    };
    click("cmdSearch");
    EXPECT_EQ(captionDuringRun, QStringLiteral("処理中..."));
    EXPECT_EQ(boxes.texts(), std::vector<std::string>{"5件のﾃﾞｰﾀの保存が終了しました｡"});
    EXPECT_EQ(child<QPushButton>("cmdSearch")->text(), QStringLiteral("実行"));
    EXPECT_EQ(state.jobSourcePath, at("sales.txt"));
    EXPECT_FALSE(state.openFormatDirectly);
    EXPECT_TRUE(fs::exists(dir / "Quisk.log"));
}

TEST_F(FrmQuiskTest, AFormatThatFailsToLoadStopsTheRun) {
    JobDefinition job = salesJob();
    job.exitAfterRun = true;
    start(job);
    std::ofstream(at("sales.qfd"), std::ios::trunc) << "\"[!broken";
    window->show();
    click("cmdSearch");
    EXPECT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(child<QPushButton>("cmdSearch")->text(), QStringLiteral("実行"));
    EXPECT_FALSE(fs::exists(dir / "out.csv"));
    EXPECT_TRUE(window->isVisible());
}

TEST_F(FrmQuiskTest, ExitAfterRunClosesWithoutTheSaveQuestion) {
    JobDefinition job = salesJob();
    job.exitAfterRun = true;
    job.afterRunPath = "notify-send done";
    start(job);
    window->show();
    box("DoNameTxt")->setText(QStringLiteral("changed"));
    click("cmdSearch");
    EXPECT_TRUE(boxes.shown.empty()); // no completion message, no save question
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(desktop.launcher.started, std::vector<std::string>{"notify-send done"});
    EXPECT_TRUE(fs::exists(dir / "out.csv"));
}

TEST_F(FrmQuiskTest, UnattendedRunStartsOnceWhenTheWindowShows) {
    JobDefinition job = salesJob();
    job.afterRunPath = "true";
    start(job, {"/i", at("Quisk.dof")});
    EXPECT_TRUE(state.runMode);
    window->show();
    QApplication::processEvents();
    EXPECT_FALSE(state.runMode);
    EXPECT_EQ(desktop.launcher.started.size(), 1u);
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_TRUE(window->isVisible()); // exit after run is not ticked

    window->hide();
    window->show();
    window->activateWindow();
    QApplication::processEvents();
    EXPECT_EQ(desktop.launcher.started.size(), 1u);
}

TEST_F(FrmQuiskTest, FormatButtonHandsThePathsToTheEditor) {
    start(salesJob());
    box("PasTxt1")->setText(QStringLiteral("unsaved.txt"));
    std::string seenSource;
    window->setFormatEditor([&](QWidget* parent, AppState& s, Platform, FormatPathBox& pathBox) {
        EXPECT_EQ(parent, window.get());
        seenSource = s.jobSourcePath;
        EXPECT_EQ(pathBox.text(), at("sales.qfd"));
        pathBox.setText("edited.qfd");
    });
    click("CmdFmt");
    EXPECT_EQ(seenSource, "unsaved.txt");
    EXPECT_EQ(state.jobFormatPath, at("sales.qfd"));
    EXPECT_EQ(box("PasTxt3")->text(), QStringLiteral("edited.qfd"));
    EXPECT_FALSE(fs::exists(dir / "無題.dof")); // nothing was saved
}

TEST_F(FrmQuiskTest, HelpWithoutTheHelpFileSaysSo) {
    start(salesJob());
    trigger("mnuQuiskHelp");
    EXPECT_EQ(boxes.shown.at(0).text, "ﾍﾙﾌﾟﾌｧｲﾙ｢" + at("Quisk.hlp") + "｣が見つかりません｡");
    EXPECT_TRUE(window->findChildren<HelpWindow*>().isEmpty());
}

TEST_F(FrmQuiskTest, HelpOpensOneHelpWindowOfItsOwn) {
    std::ofstream(at("Quisk.hlp")) << "<h1>Quiskﾍﾙﾌﾟ</h1><p>本文</p>";
    start(salesJob());
    trigger("mnuQuiskHelp");
    trigger("mnuQuiskHelp"); // brings the open one forward
    auto helps = window->findChildren<HelpWindow*>();
    ASSERT_EQ(helps.size(), 1);
    EXPECT_TRUE(helps[0]->isVisible());
    EXPECT_TRUE(helps[0]->isWindow());
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_TRUE(desktop.launcher.started.empty()); // no outside viewer
}

TEST_F(FrmQuiskTest, AboutWindowIsModalCentredAndClosesWithOk) {
    start(salesJob());
    window->show();
    bool seen = false;
    QTimer::singleShot(0, [&] {
        auto* about = qobject_cast<FrmVersion*>(QApplication::activeModalWidget());
        ASSERT_NE(about, nullptr);
        seen = true;
        EXPECT_EQ(about->windowTitle(), QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報"));
        EXPECT_EQ(about->size(), QSize(345, 183)); // 5172 x 2748 twips
        // (28800 - 5172) / 2 = 11814 and (16200 - 2748) / 2 = 6726 twips.
        EXPECT_EQ(about->pos(), QPoint(788, 448));
        EXPECT_EQ(about->findChild<QLabel*>("lblTitle")->text(),
                  QStringLiteral("Quisk Version 1.0"));
        about->findChild<QPushButton*>("cmdOK")->click();
    });
    trigger("mnuVersion");
    EXPECT_TRUE(seen);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

// New and open ask before a changed job goes, as closing does; only a
// completed save or a No lets the other job in.
TEST_F(FrmQuiskTest, NewAndOpenAskBeforeReplacingAChangedJob) {
    start(salesJob());
    box("PasTxt2")->setText(QString::fromStdString(at("edited.csv")));
    boxes.answer(Answer::Cancel);
    trigger("mnuNewFile");
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].title, "保存確認");
    EXPECT_EQ(boxes.shown[0].text, "処理ﾌｧｲﾙに変更が加えられています｡\r処理ﾌｧｲﾙを保存しますか?");
    EXPECT_EQ(box("PasTxt2")->text().toStdString(), at("edited.csv"));
    EXPECT_TRUE(state.jobDirty);

    boxes.answer(Answer::Yes); // saved in place, then the open dialog (cancelled)
    trigger("mnuOpenDofile");
    EXPECT_EQ(readJobFile(at("Quisk.dof"))->destinationPath, at("edited.csv"));
    EXPECT_EQ(dialogs.opened.size(), 1u);

    state.jobPath = "無題.dof";
    box("PasTxt2")->setText("again.csv");
    boxes.answer(Answer::Yes); // the name dialog is cancelled: nothing is replaced
    trigger("mnuNewFile");
    EXPECT_EQ(box("PasTxt2")->text(), QStringLiteral("again.csv"));

    boxes.answer(Answer::No);
    trigger("mnuNewFile");
    EXPECT_TRUE(box("PasTxt2")->text().isEmpty());
    EXPECT_FALSE(state.jobDirty);
    trigger("mnuNewFile"); // unchanged: no question
    EXPECT_EQ(boxes.shown.size(), 4u);
}

TEST_F(FrmQuiskTest, AccessKeysAreDistinct) {
    start(salesJob());
    const std::map<QString, QStringList> expected = {
        {"window", {"F ﾌｧｲﾙ(&F)", "H ﾍﾙﾌﾟ(&H)"}},
        {"ﾌｧｲﾙ(&F)",
         {"N 新規作成(&N)", "O 処理ﾌｧｲﾙを開く(&O)", "V 処理ﾌｧｲﾙの上書き保存(&V)",
          "E 処理ﾌｧｲﾙを名前を付けて保存(&E)", "P ﾌｫｰﾏｯﾄと先ﾌｧｲﾙの組を追加(&P)", "X 終了(&X)"}},
        {"ﾍﾙﾌﾟ(&H)", {"E Quiskﾍﾙﾌﾟ(&E)", "V ﾊﾞｰｼﾞｮﾝ情報(&V)"}},
    };
    const auto groups = test::accessKeyGroups(*window);
    EXPECT_EQ(groups, expected);
    EXPECT_TRUE(test::accessKeyClashes(groups).isEmpty());
}

// The table of further (format, destination) pairs under the job's boxes.
TEST_F(FrmQuiskTest, AJobWithoutPairsLooksAndSavesAsBefore) {
    start(salesJob());
    const auto before = readWholeFile(at("Quisk.dof"));
    EXPECT_FALSE(window->pairTable()->isVisible());
    EXPECT_EQ(window->centralWidget()->size(), QSize(448, 368)); // 6720 x 5520 twips
    state.jobPath = at("Quisk.dof");
    trigger("mnuOverWrite");
    EXPECT_EQ(readWholeFile(at("Quisk.dof")), before);
}

TEST_F(FrmQuiskTest, PairsShowInTheTableAndSaveBack) {
    JobDefinition job = salesJob();
    job.extraPairs = {{"data.qfd", "data.csv"}, {"end.qfd", "end.csv"}};
    start(job);
    window->show();
    QTableWidget* table = window->pairTable();
    EXPECT_TRUE(table->isVisible());
    ASSERT_EQ(table->rowCount(), 2);
    EXPECT_EQ(table->item(1, 0)->text(), QStringLiteral("end.qfd"));
    EXPECT_EQ(table->item(1, 1)->text(), QStringLiteral("end.csv"));
    EXPECT_EQ(window->centralWidget()->height(), 368 + 136); // 2040 twips more
    EXPECT_FALSE(state.jobDirty);

    const auto before = readWholeFile(at("Quisk.dof"));
    state.jobPath = at("Quisk.dof");
    table->item(0, 1)->setText("other.csv");
    EXPECT_TRUE(state.jobDirty);
    trigger("mnuOverWrite");
    auto saved = readJobFile(at("Quisk.dof"));
    ASSERT_TRUE(saved);
    EXPECT_EQ(saved->extraPairs,
              (std::vector<ExtraPair>{{"data.qfd", "other.csv"}, {"end.qfd", "end.csv"}}));
    table->item(0, 1)->setText("data.csv");
    trigger("mnuOverWrite");
    EXPECT_EQ(readWholeFile(at("Quisk.dof")), before);
}

TEST_F(FrmQuiskTest, AWindowGrownByPairsStaysOnTheScreen) {
    JobDefinition job = salesJob();
    job.extraPairs = {{"data.qfd", "data.csv"}};
    // 1024 x 600 pixels: centred for its height without pairs (414 pixels),
    // the window would end below the screen once the table is added.
    desktop.screen = FixedScreen(15360, 9000);
    start(job);
    EXPECT_LE(window->y() + window->frameGeometry().height(), 600);
    EXPECT_GE(window->y(), 0);
}

TEST_F(FrmQuiskTest, TheRunButtonConvertsEveryPair) {
    JobDefinition job = salesJob();
    job.extraPairs = {{at("sales.qfd"), at("again.csv")}};
    start(job);
    click("cmdSearch");
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].title, "確認");
    EXPECT_EQ(readWholeFile(at("again.csv")), readWholeFile(at("out.csv")));
    EXPECT_TRUE(fs::exists(at("out.csv")));
}

TEST_F(FrmQuiskTest, PairsAreAddedFromTheMenuAndTheLastRemovalHidesTheTable) {
    start(salesJob());
    window->show();
    trigger("mnuAddPair");
    QTableWidget* table = window->pairTable();
    EXPECT_TRUE(table->isVisible());
    EXPECT_EQ(table->rowCount(), 1);
    EXPECT_TRUE(state.jobDirty);
    click("CmdPairAdd");
    table->item(1, 0)->setText("b.qfd");
    table->setCurrentCell(0, 0);
    click("CmdPairRemove");
    ASSERT_EQ(table->rowCount(), 1);
    EXPECT_EQ(table->item(0, 0)->text(), QStringLiteral("b.qfd"));
    click("CmdPairRemove");
    EXPECT_FALSE(table->isVisible());
    EXPECT_EQ(window->centralWidget()->size(), QSize(448, 368));
    // a new job has no pairs
    trigger("mnuAddPair");
    state.jobDirty = false;
    trigger("mnuNewFile");
    EXPECT_EQ(table->rowCount(), 0);
}

} // namespace
} // namespace quisk
