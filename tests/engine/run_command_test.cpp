#include "common/platform.h"
#include "engine/engine_texts.h"
#include "engine/run_command.h"
#include "support/temp_folder.h"

namespace quisk {
namespace {

const char* const kFormat = "\"[!先頭に名前を付ける]\",\"はい\",\"\",\"\",\"\",\"\"\r\n"
                            "\"名前\",\"1\",\"2\",\"Char\",\"\",\"\"\r\n";

class RunCommand : public testing::TempFolder {
protected:
    void SetUp() override {
        TempFolder::SetUp();
        request.sourcePath = writeText("in.txt", "ab\r\ncd\r\n");
        request.destinationPath = path("out.csv");
        request.formatPath = writeText("f.qfd", kFormat);
        request.logDirectory = dir.string();
    }
    RunReport run() { return runJob(request, boxes, launcher, observer); }
    std::vector<std::string> titles() const {
        std::vector<std::string> out;
        for (const Message& m : boxes.shown)
            out.push_back(m.title);
        return out;
    }

    struct CountingObserver : RunObserver {
        void started() override { ++starts; }
        int starts = 0;
    };
    RunRequest request;
    ScriptedMessageBoxes boxes;
    RecordingLauncher launcher;
    CountingObserver observer;
};

TEST_F(RunCommand, ConvertsWithFieldNamesAndReportsCompletion) {
    RunReport r = run();
    EXPECT_EQ(r.status, RunStatus::Completed);
    EXPECT_EQ(readText("out.csv"), "\"名前\"\r\n\"ab\"\r\n\"cd\"\r\n");
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0], engine_texts::completionMessage(2));
    EXPECT_EQ(observer.starts, 1);
    EXPECT_NE(readText("Quisk.log"), "<missing>");
}

TEST_F(RunCommand, EmptyPathsAreRefusedFirst) {
    request.destinationPath.clear();
    request.sourcePath = path("missing.txt");
    EXPECT_EQ(run().status, RunStatus::Refused);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, "元ﾌｧｲﾙ､先ﾌｧｲﾙ､ﾌｫｰﾏｯﾄﾌｧｲﾙは必ず入力\rしなければいけません｡");
    EXPECT_EQ(observer.starts, 0);
}

TEST_F(RunCommand, OddPathsAreRefusedAtOnceNamingThem) {
    request.sourcePath = path("missing.txt");
    EXPECT_EQ(run().status, RunStatus::Refused);
    request.sourcePath = dir.string();
    EXPECT_EQ(run().status, RunStatus::Refused);
    request.sourcePath = path("in.txt");
    request.destinationPath = dir.string(); // asked nothing: it cannot be replaced
    EXPECT_EQ(run().status, RunStatus::Refused);
    request.destinationPath = path("out.csv");
    request.formatPath = "/dev/null";
    EXPECT_EQ(run().status, RunStatus::Refused);
    EXPECT_EQ(
        boxes.texts(),
        (std::vector<std::string>{
            "元ﾌｧｲﾙは存在しません｡\r探したﾊﾟｽ: " + path("missing.txt"),
            "元ﾌｧｲﾙは存在しません｡\r入力元: " + dir.string() +
                "\rフォルダです｡ファイルを指定してください｡",
            "先ﾌｧｲﾙにﾌｫﾙﾀﾞが指定されています｡\r出力先: " + dir.string(),
            "ﾌｫｰﾏｯﾄﾌｧｲﾙは存在しません｡\rﾌｫｰﾏｯﾄﾌｧｲﾙ: /dev/null\r通常のファイルではありません｡"}));
    EXPECT_EQ(observer.starts, 0);
}

TEST_F(RunCommand, ADanglingLinkIsAnExistingDestination) {
    std::filesystem::create_symlink("target.csv", path("out.csv"));
    boxes.answer(Answer::Cancel);
    EXPECT_EQ(run().status, RunStatus::Refused);
    EXPECT_EQ(boxes.texts(), std::vector<std::string>{"同名ﾌｧｲﾙが存在します｡上書きしますか?"});
    EXPECT_EQ(readText("target.csv"), "<missing>");
    boxes.answer(Answer::Ok);
    EXPECT_EQ(run().status, RunStatus::Completed);
    EXPECT_TRUE(std::filesystem::is_symlink(path("out.csv")));
    EXPECT_EQ(readText("target.csv"), "\"名前\"\r\n\"ab\"\r\n\"cd\"\r\n");
}

TEST_F(RunCommand, AskingBeforeOverwritingComesBeforeTheFormatCheck) {
    writeText("out.csv", "previous");
    request.formatPath = path("missing.qfd");
    boxes.answer(Answer::Cancel);
    EXPECT_EQ(run().status, RunStatus::Refused);
    EXPECT_EQ(boxes.texts(), std::vector<std::string>{"同名ﾌｧｲﾙが存在します｡上書きしますか?"});
    EXPECT_EQ(boxes.shown[0].buttons, Buttons::OkCancel);
    EXPECT_EQ(readText("out.csv"), "previous");
    EXPECT_EQ(readText("Quisk.log"), "<missing>");

    boxes.shown.clear();
    boxes.answer(Answer::Ok);
    EXPECT_EQ(run().status, RunStatus::Refused);
    EXPECT_EQ(titles(), (std::vector<std::string>{"上書確認", "ｴﾗｰ"}));
    EXPECT_EQ(boxes.shown[1].text, "ﾌｫｰﾏｯﾄﾌｧｲﾙは存在しません｡\r探したﾊﾟｽ: " + path("missing.qfd"));
}

TEST_F(RunCommand, AMissingDestinationFolderIsRefusedLast) {
    request.destinationPath = path("none/out.csv");
    request.formatPath = path("missing.qfd");
    EXPECT_EQ(run().status, RunStatus::Refused);
    EXPECT_EQ(boxes.shown.at(0).text,
              "ﾌｫｰﾏｯﾄﾌｧｲﾙは存在しません｡\r探したﾊﾟｽ: " + path("missing.qfd"));

    request.formatPath = path("f.qfd");
    boxes.shown.clear();
    EXPECT_EQ(run().status, RunStatus::Refused);
    EXPECT_EQ(
        boxes.shown.at(0),
        (Message{"先ﾌｧｲﾙのﾌｫﾙﾀﾞは存在しません｡\r探したﾊﾟｽ: " + path("none"), "ｴﾗｰ", Icon::Stop}));
    EXPECT_EQ(observer.starts, 0);
    EXPECT_EQ(readText("Quisk.log"), "<missing>");
}

TEST_F(RunCommand, TheJobsOverwriteSwitchSkipsTheQuestion) {
    writeText("out.csv", "previous");
    request.overwriteExisting = true;
    EXPECT_EQ(run().status, RunStatus::Completed);
    EXPECT_EQ(titles(), std::vector<std::string>{"確認"});
}

TEST_F(RunCommand, NoCompletionMessageWhenSomethingFollowsTheRun) {
    request.overwriteExisting = true;
    request.unattended = true;
    run();
    request.unattended = false;
    request.exitAfterRun = true;
    run();
    request.exitAfterRun = false;
    request.afterRunPath = "/usr/bin/true --after";
    run();
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_EQ(launcher.started, std::vector<std::string>{"/usr/bin/true --after"});
}

TEST_F(RunCommand, AnAfterRunProgramThatCannotStartIsReported) {
    request.afterRunPath = "/no/such/program";
    launcher.succeed = false;
    RunReport r = run();
    EXPECT_EQ(r.status, RunStatus::Completed);
    EXPECT_EQ(boxes.texts(),
              std::vector<std::string>{"処理後実行ﾌｧｲﾙ｢/no/such/program｣を実行できませんでした｡\r"
                                       "ファイルまたはフォルダが見つかりません｡"});
    EXPECT_EQ(readText("out.csv"), "\"名前\"\r\n\"ab\"\r\n\"cd\"\r\n");
}

TEST_F(RunCommand, ABrokenFormatStopsTheRunBeforeAnythingIsWritten) {
    writeText("f.qfd", "\"名前\",\"1\",\"2\"\r\n");
    request.afterRunPath = "/usr/bin/true";
    EXPECT_EQ(run().status, RunStatus::Failed);
    EXPECT_EQ(titles(), std::vector<std::string>{"ﾌｧｲﾙｴﾗｰ"});
    EXPECT_EQ(readText("out.csv"), "<missing>");
    EXPECT_TRUE(launcher.started.empty());
}

TEST_F(RunCommand, AFailedConversionIsReportedWithItsRecordNumberFileAndCause) {
    writeText("out.csv", "previous");
    request.overwriteExisting = true;
    writeText("f.qfd", "\"A\",\"0\",\"2\",\"Char\",\"\",\"\"\r\n");
    EXPECT_EQ(run().status, RunStatus::Failed);
    writeText("f.qfd", kFormat);
    request.destinationPath = "/dev/full";
    EXPECT_EQ(run().status, RunStatus::Failed);
    ASSERT_EQ(boxes.shown.size(), 2u);
    Message cannotCut = engine_texts::failureMessage(1);
    cannotCut.text += "\r出力先の元の内容はそのまま残っています｡";
    EXPECT_EQ(boxes.shown[0], cannotCut);
    EXPECT_EQ(boxes.shown[1].text, "0件目でﾃﾞｰﾀの保存に失敗しました｡\r出力先: /dev/full\r"
                                   "ディスクの空き容量が不足しています｡");
    EXPECT_EQ(readText("out.csv"), "previous");
}

TEST_F(RunCommand, TheLogIsNeverASourceDestinationOrFormat) {
    const std::string log = path("Quisk.log");
    const std::string source = request.sourcePath;
    writeText("Quisk.log", "ab\r\n");
    request.sourcePath = log;
    request.overwriteExisting = true;
    EXPECT_EQ(run().status, RunStatus::Refused);
    request.sourcePath = source;
    std::filesystem::create_symlink(log, path("link.csv"));
    request.destinationPath = path("link.csv");
    EXPECT_EQ(run().status, RunStatus::Refused);
    request.destinationPath = path("out.csv");
    request.formatPath = log;
    EXPECT_EQ(run().status, RunStatus::Refused);
    EXPECT_EQ(readText("Quisk.log"), "ab\r\n");
    std::filesystem::remove(log);
    request.formatPath = path("f.qfd");
    request.destinationPath = log; // a new destination under the log's name
    EXPECT_EQ(run().status, RunStatus::Refused);
    EXPECT_EQ(readText("Quisk.log"), "<missing>");
    EXPECT_EQ(boxes.texts(),
              (std::vector<std::string>{"元ﾌｧｲﾙにﾛｸﾞﾌｧｲﾙ｢" + log + "｣は指定できません｡",
                                        "先ﾌｧｲﾙにﾛｸﾞﾌｧｲﾙ｢" + log + "｣は指定できません｡",
                                        "ﾌｫｰﾏｯﾄﾌｧｲﾙにﾛｸﾞﾌｧｲﾙ｢" + log + "｣は指定できません｡",
                                        "先ﾌｧｲﾙにﾛｸﾞﾌｧｲﾙ｢" + log + "｣は指定できません｡"}));
    EXPECT_EQ(observer.starts, 0);
}

TEST_F(RunCommand, ALogThatCannotBeWrittenNeverStopsTheRun) {
    // Paths without a Shift-JIS form, then a start folder that is gone.
    request.sourcePath = writeText("café 😀.txt", "ab\r\n");
    request.destinationPath = path("波〜線.csv");
    RunReport r = run();
    EXPECT_EQ(r.status, RunStatus::Completed);
    EXPECT_EQ(r.logProblem, "");
    EXPECT_EQ(readText("Quisk.log").substr(0, dir.string().size() + 8), dir.string() + "/caf? ?.");

    boxes.shown.clear();
    request.logDirectory = path("gone");
    request.overwriteExisting = true;
    r = run();
    EXPECT_EQ(r.status, RunStatus::Completed);
    EXPECT_EQ(readText("波〜線.csv"), "\"名前\"\r\n\"ab\"\r\n");
    EXPECT_EQ(boxes.shown, std::vector<Message>{engine_texts::completionMessage(1)});
    EXPECT_EQ(r.logProblem, "ﾛｸﾞﾌｧｲﾙ｢" + path("gone/Quisk.log") +
                                "｣は書き込まれませんでした｡ファイルまたはフォルダが見つかりません｡");
}

} // namespace
} // namespace quisk
