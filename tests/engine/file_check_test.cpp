#include "engine/check_report.h"
#include "engine/file_check.h"
#include "engine/line_reader.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

namespace quisk {
namespace {

using FileCheck = testing::TempFolder;

FormatDefinition twoFields() {
    FormatDefinition f;
    f.row(1) = {"NAME", "1", "4", kTypeChar, "", ""};
    f.row(2) = {"CODE", "5", "2", kTypeNum, "", ""};
    return f;
}

std::vector<long long> lines(std::initializer_list<long long> numbers) {
    return numbers;
}

TEST_F(FileCheck, CountsEachProblemOncePerLineWithTheFirstFiveLines) {
    // Line 2 has "あ" cut by both fields, line 3 is short, lines 4 to 10 long.
    std::string text = "ABCD12\r\nABC\x82\xA0X\r\nAB\r\n";
    for (int i = 0; i < 7; ++i)
        text += "ABCD12\x85\x40\n\r\n";
    text += "ABCD12\r";
    const FileCheckResult r = checkFile(twoFields(), writeBytes("in.txt", text));
    EXPECT_TRUE(r.complete);
    EXPECT_EQ(r.linesRead, 11);
    EXPECT_FALSE(r.clean());
    ASSERT_EQ(r.cuts.size(), 2u);
    EXPECT_EQ(r.cuts[0].row, 1);
    EXPECT_EQ(r.cuts[0].ends.firstLines, lines({2}));
    EXPECT_EQ(r.cuts[0].starts.count, 0);
    EXPECT_EQ(r.cuts[1].starts.firstLines, lines({2}));
    EXPECT_EQ(r.tally(ProblemKind::StartCut).count, 1);
    EXPECT_EQ(r.tally(ProblemKind::ShortLine).firstLines, lines({3}));
    // Three problems in each of lines 4 to 10, counted once per line and kind.
    for (ProblemKind kind :
         {ProblemKind::DroppedBytes, ProblemKind::InvalidBytes, ProblemKind::LoneLineFeed}) {
        EXPECT_EQ(r.tally(kind).count, 7);
        EXPECT_EQ(r.tally(kind).firstLines, lines({4, 5, 6, 7, 8}));
    }
    EXPECT_EQ(r.tally(ProblemKind::LoneCarriageReturn).firstLines, lines({11}));
}

TEST_F(FileCheck, TellsACarriageReturnAtTheEndOfAReadFromOneBeforeALineFeed) {
    // The first read ends right after a carriage return; what follows it in
    // the next read decides whether it ends the line alone.
    const std::string line(LineReader::kBlockSize - 1, 'A');
    FormatDefinition f;
    f.row(1) = {"ALL", "1", "", kTypeChar, "", ""};
    EXPECT_TRUE(checkFile(f, writeBytes("crlf.txt", line + "\r\nB\r\n")).clean());
    const FileCheckResult lone = checkFile(f, writeBytes("cr.txt", line + "\rB\r\n"));
    EXPECT_EQ(lone.tally(ProblemKind::LoneCarriageReturn).firstLines, lines({1}));
    EXPECT_EQ(lone.linesRead, 2);
    const FileCheckResult last = checkFile(f, writeBytes("last.txt", line + "\r"));
    EXPECT_EQ(last.tally(ProblemKind::LoneCarriageReturn).firstLines, lines({1}));
}

TEST_F(FileCheck, MergesTheHalvesOfLargeRunsInLineOrder) {
    // Large enough to be checked on two cores; problems in both halves.
    std::string text;
    for (int n = 1; n <= 20000; ++n)
        text += n % 4000 == 0 || n == 3 ? "ABC\r\n" : "ABCD12\r\n";
    const FileCheckResult r = checkFile(twoFields(), writeBytes("big.txt", text));
    EXPECT_EQ(r.linesRead, 20000);
    EXPECT_EQ(r.tally(ProblemKind::ShortLine).count, 6);
    EXPECT_EQ(r.tally(ProblemKind::ShortLine).firstLines, lines({3, 4000, 8000, 12000, 16000}));
}

TEST_F(FileCheck, ReportsAsTextAndAsJson) {
    std::string text = "ABC\x82\xA0X\r\nAB\r\n";
    const FormatDefinition f = twoFields();
    const FileCheckResult r = checkFile(f, writeBytes("in.txt", text));
    const CheckedFiles files{"in.txt", "f.qfd"};
    EXPECT_EQ(checkReportText(r, f, files),
              "元ﾌｧｲﾙ: in.txt\n"
              "ﾌｫｰﾏｯﾄﾌｧｲﾙ: f.qfd\n"
              "読込み行数: 2\n"
              "ﾌｫｰﾏｯﾄ1行目｢NAME｣が2ﾊﾞｲﾄ文字の途中で終わる行: 1件 (1行目)\n"
              "ﾌｫｰﾏｯﾄ2行目｢CODE｣が2ﾊﾞｲﾄ文字の途中から始まる行: 1件 (1行目)\n"
              "最後のﾌｨｰﾙﾄﾞより短い行: 1件 (2行目)\n"
              "問題が見つかりました｡\n");
    EXPECT_EQ(checkReportJson(r, f, {"a\"b\\c.txt", "f.qfd"}),
              "{\"source\":\"a\\\"b\\\\c.txt\",\"format\":\"f.qfd\",\"linesRead\":2,"
              "\"clean\":false,\"problems\":["
              "{\"kind\":\"endCut\",\"row\":1,\"field\":\"NAME\",\"count\":1,\"lines\":[1]},"
              "{\"kind\":\"startCut\",\"row\":2,\"field\":\"CODE\",\"count\":1,\"lines\":[1]},"
              "{\"kind\":\"shortLine\",\"count\":1,\"lines\":[2]}]}\n");
    const FileCheckResult clean = checkFile(f, writeBytes("ok.txt", "ABCD12"));
    EXPECT_EQ(
        checkReportText(clean, f, files).substr(checkReportText(clean, f, files).rfind("読込み")),
        "読込み行数: 1\n問題は見つかりませんでした｡\n");
}

} // namespace
} // namespace quisk
