#include "app/job_commands.h"
#include "app/job_file.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quisk {
namespace {

namespace fs = std::filesystem;

const std::string kStartupFailure = "ﾃﾞﾌｫﾙﾄ処理ﾌｧｲﾙ(Quisk.dof)の読み込みに失敗､\r"
                                    "またはﾊﾟﾗﾒｰﾀに誤りがあります｡\r"
                                    "次の画面で他の処理ﾌｧｲﾙを選択してください｡";

// The main window's boxes; showing a job marks it changed as the window's
// change notifications do.
struct FakeWindow : JobWindow {
    explicit FakeWindow(AppState& s) : state(s) {}
    JobDefinition jobValues() const override { return job; }
    void showJob(const JobDefinition& j) override {
        job = j;
        state.jobDirty = true;
    }
    void setCaption(const std::string& c) override { caption = c; }

    AppState& state;
    JobDefinition job;
    std::string caption = "Quisk";
};

// Each test works in a fresh current directory, where the untitled job is
// written.
class JobCommandsTest : public ::testing::Test {
protected:
    void SetUp() override {
        previous = fs::current_path();
        dir = fs::temp_directory_path() / ("quisk_jobs_" + std::to_string(::getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir);
        fs::current_path(dir);
        state.jobPath = "無題.dof";
        state.startDirectory = dir.string();
        window.job = {"売上", "in.txt", "out.csv", "f.qfd", "", true, false, {}};
    }
    void TearDown() override {
        fs::current_path(previous);
        fs::remove_all(dir);
    }
    std::string path(const std::string& name) const { return (dir / name).string(); }
    void writeJob(const std::string& name, const JobDefinition& job) {
        ASSERT_TRUE(writeJobFile(path(name), job));
    }

    fs::path previous, dir;
    AppState state;
    FakeWindow window{state};
    ScriptedMessageBoxes boxes;
    ScriptedFileDialogs dialogs;
    JobCommands jobs{state, window, boxes, dialogs};
};

TEST_F(JobCommandsTest, UntitledSaveAsksForANameAndCancelWritesNothing) {
    state.jobDirty = true;
    EXPECT_EQ(jobs.saveJobAs(), SaveOutcome::Cancelled);
    ASSERT_EQ(dialogs.saved.size(), 1u); // asked once, not again for "save as"
    EXPECT_EQ(
        dialogs.saved[0],
        (FileDialogRequest{"処理ﾌｧｲﾙの保存", "処理ﾌｧｲﾙ形式|*.dof|すべてのﾌｧｲﾙ|*.*", "無題.dof"}));
    EXPECT_EQ(state.jobPath, "無題.dof");
    EXPECT_TRUE(state.jobDirty);
    EXPECT_TRUE(fs::is_empty(dir));

    dialogs.answer("");
    EXPECT_EQ(jobs.saveJobAs(), SaveOutcome::Cancelled);
    EXPECT_EQ(boxes.texts(), std::vector<std::string>{"保存はｷｬﾝｾﾙされました｡"});
    EXPECT_TRUE(fs::is_empty(dir));
}

TEST_F(JobCommandsTest, SavingOverAnExistingFileAsksFirst) {
    writeJob("old.dof", {"old", "", "", "", "", false, false, {}});
    state.jobPath = path("a.dof");
    dialogs.answer(path("old.dof"));
    boxes.answer(Answer::Cancel);
    EXPECT_EQ(jobs.saveJobAs(), SaveOutcome::Cancelled);
    EXPECT_EQ(dialogs.saved[0].title, "名前を付けて保存");
    EXPECT_EQ(dialogs.saved[0].initialName, path("a.dof"));
    EXPECT_EQ(boxes.shown[0], (Message{"既に同名ﾌｧｲﾙが存在しています｡\r上書きしますか?",
                                       "上書き確認", Icon::None, Buttons::OkCancel}));
    EXPECT_EQ(state.jobPath, path("a.dof"));
    EXPECT_EQ(readJobFile(path("old.dof"))->jobName, "old");

    dialogs.answer(path("old.dof"));
    boxes.answer(Answer::Ok);
    state.jobDirty = true;
    EXPECT_EQ(jobs.saveJobAs(), SaveOutcome::Saved);
    EXPECT_EQ(state.jobPath, path("old.dof"));
    EXPECT_EQ(readJobFile(path("old.dof")), window.job);
    EXPECT_FALSE(state.jobDirty);
    EXPECT_EQ(window.caption, "Quisk"); // saving never changes the caption
}

TEST_F(JobCommandsTest, OverwriteWritesTheUntitledJobWithoutADialog) {
    EXPECT_EQ(jobs.saveJob(), SaveOutcome::Saved);
    EXPECT_TRUE(dialogs.saved.empty());
    EXPECT_EQ(readJobFile(path("無題.dof")), window.job);
}

TEST_F(JobCommandsTest, AFailedWriteIsReportedAndKeepsTheChangeMark) {
    state.jobPath = path("missing/dir.dof");
    state.jobDirty = true;
    EXPECT_EQ(jobs.saveJob(), SaveOutcome::Failed);
    EXPECT_EQ(boxes.shown.at(0),
              (Message{"処理ﾌｧｲﾙ｢" + state.jobPath +
                           "｣の書込みに失敗しました｡\rファイルまたはフォルダが見つかりません｡",
                       "ｴﾗｰ", Icon::Stop}));
    EXPECT_TRUE(state.jobDirty);
}

TEST_F(JobCommandsTest, ClosingPromptAnswers) {
    EXPECT_TRUE(jobs.mayClose()); // unchanged: no question
    EXPECT_TRUE(boxes.shown.empty());

    state.jobDirty = true;
    boxes.answer(Answer::Cancel);
    EXPECT_FALSE(jobs.mayClose());
    EXPECT_EQ(boxes.shown[0], (Message{"処理ﾌｧｲﾙに変更が加えられています｡\r処理ﾌｧｲﾙを保存しますか?",
                                       "保存確認", Icon::None, Buttons::YesNoCancel, Answer::Yes}));
    EXPECT_TRUE(state.jobDirty);

    boxes.answer(Answer::No);
    EXPECT_TRUE(jobs.mayClose());
    EXPECT_TRUE(fs::is_empty(dir));

    // Yes on an untitled job asks for a name; cancelling it still closes.
    boxes.answer(Answer::Yes);
    EXPECT_TRUE(jobs.mayClose());
    EXPECT_EQ(dialogs.saved.size(), 1u);
    EXPECT_TRUE(fs::is_empty(dir));
}

TEST_F(JobCommandsTest, ClosingPromptYesSavesAnExistingJobInPlace) {
    writeJob("a.dof", {});
    state.jobPath = path("a.dof");
    state.jobDirty = true;
    boxes.answer(Answer::Yes);
    EXPECT_TRUE(jobs.mayClose());
    EXPECT_TRUE(dialogs.saved.empty());
    EXPECT_EQ(readJobFile(path("a.dof")), window.job);
}

TEST_F(JobCommandsTest, ClosingPromptKeepsTheWindowWhenTheSaveFails) {
    fs::create_directory(dir / "a.dof"); // exists, but cannot be written as a file
    state.jobPath = path("a.dof");
    state.jobDirty = true;
    boxes.answer(Answer::Yes);
    dialogs.answer(path("a.dof"));
    boxes.answer(Answer::Ok);
    EXPECT_FALSE(jobs.mayClose());
    EXPECT_EQ(boxes.shown.back().text, "処理ﾌｧｲﾙ｢" + path("a.dof") +
                                           "｣の書込みに失敗しました｡\r"
                                           "フォルダです｡ファイルを指定してください｡");
}

TEST_F(JobCommandsTest, NewJobKeepsOnlyTheName) {
    jobs.newJob();
    EXPECT_EQ(window.job, (JobDefinition{"売上", "", "", "", "", false, false, {}}));
    EXPECT_EQ(window.caption, "Quisk - [ 無題.dof ]");
    EXPECT_FALSE(state.jobDirty);
}

TEST_F(JobCommandsTest, OpenJob) {
    state.jobPath = path("cur.dof");
    jobs.openJob(); // cancelled
    EXPECT_EQ(
        dialogs.opened[0],
        (FileDialogRequest{"処理ﾌｧｲﾙを開く", "処理ﾌｧｲﾙ|*.dof|すべてのﾌｧｲﾙ|*.*", path("cur.dof")}));
    EXPECT_EQ(state.jobPath, "無題.dof");
    EXPECT_EQ(window.caption, "Quisk");

    std::ofstream(path("short.dof")) << "\"a\",\"b\",\"c\",\"d\",\"e\",\"1\"\r\n";
    dialogs.answer(path("short.dof"));
    jobs.openJob();
    EXPECT_EQ(boxes.shown.at(0), (Message{"処理ﾌｧｲﾙの読み込みに失敗しました｡", "ｴﾗｰ", Icon::Stop}));
    EXPECT_EQ(state.jobPath, "無題.dof");
    EXPECT_EQ(window.job.jobName, "売上");

    // Something that is no file is refused at once, naming it and why.
    ASSERT_EQ(::mkfifo(path("pipe.dof").c_str(), 0600), 0);
    dialogs.answer(path("pipe.dof"));
    jobs.openJob();
    EXPECT_EQ(boxes.shown.at(1).text, "処理ﾌｧｲﾙの読み込みに失敗しました｡\r処理ﾌｧｲﾙ: " +
                                          path("pipe.dof") + "\r通常のファイルではありません｡");

    JobDefinition stored{"n", "s", "d", "f", "p", false, true, {}};
    writeJob("good.dof", stored);
    dialogs.answer(path("good.dof"));
    jobs.openJob();
    EXPECT_EQ(window.job, stored);
    EXPECT_EQ(state.jobPath, path("good.dof"));
    EXPECT_EQ(window.caption, "Quisk - [ " + path("good.dof") + " ]");
    EXPECT_FALSE(state.jobDirty);
}

TEST_F(JobCommandsTest, StartupLoadsTheDefaultJobOfTheStartDirectory) {
    JobDefinition stored{"既定", "s", "d", "f", "", false, false, {}};
    writeJob("Quisk.dof", stored);
    jobs.loadStartupJob(parseCommandLine({}));
    EXPECT_EQ(window.job, stored);
    EXPECT_EQ(state.jobPath, path("Quisk.dof"));
    EXPECT_FALSE(state.jobDirty);
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(JobCommandsTest, StartupWithoutADefaultJobOffersTheOpenDialog) {
    state.jobPath.clear();
    jobs.loadStartupJob(parseCommandLine({}));
    EXPECT_EQ(boxes.texts(), std::vector<std::string>{kStartupFailure});
    EXPECT_EQ(dialogs.opened.at(0).initialName, "");
    EXPECT_EQ(state.jobPath, "無題.dof");
    EXPECT_EQ(window.caption, "Quisk");
    EXPECT_FALSE(state.jobDirty);
}

TEST_F(JobCommandsTest, StartupWithAnUnusableCommandLine) {
    jobs.loadStartupJob(parseCommandLine({"/I"}));
    EXPECT_EQ(boxes.shown.at(0),
              (Message{"ﾊﾟﾗﾒｰﾀは､｢\"｣で囲んでください｡", "ﾊﾟﾗﾒｰﾀｴﾗｰ", Icon::Stop}));
    EXPECT_EQ(boxes.shown.at(1).text, kStartupFailure);
    EXPECT_EQ(dialogs.opened.at(0).initialName, "無題.dof");

    writeJob("Quisk.dof", {}); // a named job never falls back to the default one
    jobs.loadStartupJob(parseCommandLine({path("none.dof")}));
    EXPECT_EQ(boxes.shown.at(2),
              (Message{"ﾊﾟﾗﾒｰﾀで指定されたﾌｧｲﾙは存在しません｡", "ﾊﾟﾗﾒｰﾀｴﾗｰ", Icon::Stop}));
    EXPECT_EQ(boxes.shown.at(3).text, kStartupFailure);
    EXPECT_EQ(state.jobPath, "無題.dof");
    EXPECT_EQ(window.job.jobName, "売上");
}

TEST_F(JobCommandsTest, StartupWithAShortJobFileKeepsItsPathForTheDialog) {
    std::ofstream(path("short.dof")) << "\"a\",\"b\"\r\n";
    jobs.loadStartupJob(parseCommandLine({path("short.dof")}));
    EXPECT_EQ(boxes.texts(), std::vector<std::string>{kStartupFailure});
    EXPECT_EQ(dialogs.opened.at(0).initialName, path("short.dof"));
}

TEST(CommandLineTest, TheSwitchIsAWholeArgument) {
    CommandLine c = parseCommandLine({"/srv/input/daily.dof"});
    EXPECT_FALSE(c.unattended); // "/i" inside a path is not the switch
    EXPECT_EQ(c.jobPath, "/srv/input/daily.dof");
    EXPECT_FALSE(c.empty);

    c = parseCommandLine({"/i", "a.dof", "b.dof", "/I"});
    EXPECT_TRUE(c.unattended);
    EXPECT_EQ(c.jobPath, "a.dof"); // the first path; the second is ignored

    c = parseCommandLine({"/I"});
    EXPECT_TRUE(c.unattended);
    EXPECT_FALSE(c.jobPath);
    EXPECT_TRUE(parseCommandLine({}).empty);
    EXPECT_FALSE(parseCommandLine({"/Ix"}).unattended);
}

TEST(CommandLineTest, ThePathMustNameAnOrdinaryFile) {
    ScriptedMessageBoxes boxes;
    fs::path d = fs::temp_directory_path();
    EXPECT_EQ(commandLinePath(parseCommandLine({d.string()}), boxes), std::nullopt);
    EXPECT_EQ(boxes.texts(), std::vector<std::string>{"ﾊﾟﾗﾒｰﾀで指定されたﾌｧｲﾙは存在しません｡"});
}

} // namespace
} // namespace quisk
