// The run command with further (format, destination) pairs and with formats
// that read fixed-length records or select records.
#include "common/platform.h"
#include "engine/engine_texts.h"
#include "engine/run_command.h"
#include "support/temp_folder.h"

namespace quisk {
namespace {

std::string format(const std::string& length, const std::string& selectText) {
    std::string text = "\"A\",\"2\",\"3\",\"Char\",\"\",\"\"\r\n";
    if (length != "0")
        text += "\"[!レコード長]\",\"" + length + "\",\"\",\"\",\"\",\"\"\r\n";
    if (!selectText.empty())
        text += "\"[!対象レコード]\",\"1\",\"1\",\"" + selectText + "\",\"\",\"\"\r\n";
    return text;
}

class RunPairs : public testing::TempFolder {
protected:
    void SetUp() override {
        TempFolder::SetUp();
        request.sourcePath = writeText("in.dat", "1hdr2abc2def9end");
        request.destinationPath = path("data.csv");
        request.formatPath = writeText("data.qfd", format("4", "2"));
        request.extraPairs = {{writeText("head.qfd", format("4", "1")), path("head.csv")}};
        request.logDirectory = dir.string();
    }
    RunReport run() { return runJob(request, boxes, launcher, observer); }

    RunRequest request;
    ScriptedMessageBoxes boxes;
    RecordingLauncher launcher;
    RunObserver observer;
};

TEST_F(RunPairs, ConvertsEveryPairAndSaysWhatEachSkipped) {
    RunReport r = run();
    ASSERT_EQ(r.status, RunStatus::Completed);
    EXPECT_EQ(readText("data.csv"), "\"abc\"\r\n\"def\"\r\n");
    EXPECT_EQ(readText("head.csv"), "\"hdr\"\r\n");
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, "4件のﾃﾞｰﾀの保存が終了しました｡\r" + path("data.csv") +
                                       ": 2件のﾚｺｰﾄﾞは対象ﾚｺｰﾄﾞではないため飛ばしました｡\r" +
                                       path("head.csv") +
                                       ": 3件のﾚｺｰﾄﾞは対象ﾚｺｰﾄﾞではないため飛ばしました｡");
}

TEST_F(RunPairs, EachExistingDestinationIsAskedAboutAndADeclineTouchesNothing) {
    writeText("head.csv", "old");
    boxes.answer(Answer::Cancel);
    EXPECT_EQ(run().status, RunStatus::Refused);
    EXPECT_EQ(readText("head.csv"), "old");
    EXPECT_FALSE(pathExists(path("data.csv")));
    EXPECT_EQ(boxes.shown.back().text, engine_texts::kOverwrite);
}

TEST_F(RunPairs, PairsMustBeFilledDifferAndCutTheSourceAlike) {
    request.extraPairs.push_back({path("head.qfd"), ""});
    EXPECT_EQ(run().status, RunStatus::Refused);
    request.extraPairs.back().destinationPath = path("data.csv");
    EXPECT_EQ(run().status, RunStatus::Refused);
    EXPECT_EQ(boxes.shown.back().text,
              "同じ先ﾌｧｲﾙが2回指定されています｡\r出力先: " + path("data.csv"));
    request.extraPairs.back() = {writeText("lines.qfd", format("0", "")), path("lines.csv")};
    EXPECT_EQ(run().status, RunStatus::Failed);
    EXPECT_EQ(boxes.shown.back().text, engine_texts::kRecordLengthsDiffer);
    EXPECT_FALSE(pathExists(path("data.csv")));
    EXPECT_FALSE(pathExists(path("lines.csv")));
}

TEST_F(RunPairs, AShortLastRecordIsSaidOnTheSecondLine) {
    request.extraPairs.clear();
    request.formatPath = writeText("all.qfd", format("4", ""));
    writeText("in.dat", "1hdr2a");
    ASSERT_EQ(run().status, RunStatus::Completed);
    EXPECT_EQ(boxes.shown.back().text, "2件のﾃﾞｰﾀの保存が終了しました｡\r"
                                       "最後のﾚｺｰﾄﾞは2ﾊﾞｲﾄで､ﾚｺｰﾄﾞ長より短いまま変換しました｡");
}

TEST_F(RunPairs, AnUnusableSelectionSaysSo) {
    request.extraPairs.clear();
    writeText("data.qfd", format("4", "22"));
    EXPECT_EQ(run().status, RunStatus::Failed);
    EXPECT_NE(boxes.shown.back().text.find(engine_texts::kSelectionUnusable), std::string::npos);
}

} // namespace
} // namespace quisk
