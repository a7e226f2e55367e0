// The whole-file check of a source of fixed-length records: records counted
// by type, only selected records checked, a short last record reported.
#include "engine/check_report.h"
#include "engine/file_check.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

namespace quisk {
namespace {

using RecordCheck = testing::TempFolder;

FormatDefinition dataRecords() {
    FormatDefinition f;
    f.row(1) = {"KIND", "1", "1", kTypeChar, "", ""};
    f.row(2) = {"NAME", "2", "2", kTypeChar, "", ""};
    f.row(3) = {"FILL", "4", "1", kTypeChar, "", ""};
    f.settings.recordLength = "4";
    f.settings.recordSelectStart = "1";
    f.settings.recordSelectLength = "1";
    f.settings.recordSelectText = "2";
    return f;
}

TEST_F(RecordCheck, CountsRecordsByTypeAndChecksOnlyTheSelectedOnes) {
    // the header's "あ" would be cut by NAME; it is no data record
    const std::string source = *sjis::encode("1Xあ2ab 2cd 9   ");
    const FileCheckResult r = checkFile(dataRecords(), writeBytes("in.dat", source));
    ASSERT_TRUE(r.complete);
    EXPECT_EQ(r.linesRead, 4);
    EXPECT_EQ(r.recordTypes, (std::map<std::string, long long>{{"1", 1}, {"2", 2}, {"9", 1}}));
    EXPECT_FALSE(r.recordLineEnds);
    EXPECT_TRUE(r.clean());

    FormatDefinition all = dataRecords();
    all.settings.recordSelectText.clear();
    const FileCheckResult unselected = checkFile(all, path("in.dat"));
    EXPECT_EQ(unselected.tally(ProblemKind::EndCut).firstLines, std::vector<long long>{1});
}

TEST_F(RecordCheck, AShortLastRecordIsAProblemInTheReports) {
    FormatDefinition f = dataRecords();
    f.settings.recordSelectText.clear();
    const FileCheckResult r = checkFile(f, writeBytes("in.dat", "2abc\r\n2de\r\n"));
    EXPECT_TRUE(r.recordLineEnds);
    EXPECT_EQ(r.shortLastRecordBytes, 3);
    EXPECT_FALSE(r.clean());
    EXPECT_EQ(r.tally(ProblemKind::ShortLine).count, 1);
    const CheckedFiles files{"in.dat", "f.qfd"};
    const std::string text = checkReportText(r, f, files);
    EXPECT_NE(text.find("ﾚｺｰﾄﾞ長: 4ﾊﾞｲﾄ(各ﾚｺｰﾄﾞの後に改行あり)\nﾚｺｰﾄﾞの種類: 2=2件\n"
                        "最後のﾚｺｰﾄﾞがﾚｺｰﾄﾞ長より短い: 3ﾊﾞｲﾄ\n"),
              std::string::npos)
        << text;
    EXPECT_NE(checkReportJson(r, f, files)
                  .find("\"recordLength\":4,\"recordLineEnds\":true,\"recordTypes\":[{\"type\":"
                        "\"2\",\"count\":2}],\"shortLastRecord\":3,\"clean\":false"),
              std::string::npos);
}

TEST_F(RecordCheck, LineFormatsReportAsBefore) {
    FormatDefinition f = dataRecords();
    f.settings.recordLength = "0";
    const FileCheckResult r = checkFile(f, writeBytes("in.txt", "2abc\r\n"));
    EXPECT_EQ(r.recordLength, 0);
    const std::string json = checkReportJson(r, f, {"in.txt", "f.qfd"});
    EXPECT_EQ(json.find("record"), std::string::npos);
}

} // namespace
} // namespace quisk
