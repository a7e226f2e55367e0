#include "app/job_file.h"
#include "common/file_io.h"
#include "common/sjis.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <cstring>


namespace quisk {
namespace {

const char* const kExampleLine =
    "\"月次売上\",\"C:\\DATA\\URIAGE.TXT\",\"C:\\OUT\\A$44$B.CSV\",\"C:\\DATA\\URIAGE.qfd\","
    "\"\",\"1\",\"0\"\r\n";

JobDefinition exampleJob() {
    return {"月次売上", "C:\\DATA\\URIAGE.TXT", "C:\\OUT\\A,B.CSV", "C:\\DATA\\URIAGE.qfd", "",
            true, false, {}};
}

TEST(JobFile, TheWorkedExampleRoundTripsByteForByte) {
    EXPECT_EQ(jobFileText(exampleJob()), kExampleLine);
    EXPECT_EQ(parseJobText(kExampleLine), exampleJob());
}

TEST(JobFile, QuotesCommasAndLiteralPlaceholders) {
    JobDefinition job{"a\"b", "x,y", "$34$", "", "", false, true, {}};
    auto back = parseJobText(jobFileText(job));
    ASSERT_TRUE(back);
    EXPECT_EQ(back->jobName, "a\"b");
    EXPECT_EQ(back->sourcePath, "x,y");
    EXPECT_EQ(back->destinationPath, "\""); // the file cannot keep "$34$"
    EXPECT_TRUE(back->exitAfterRun);
}

TEST(JobFile, ReadsValuesOverSeveralLinesOrUnquotedAndIgnoresTheRest) {
    auto job = parseJobText("\"n\",\"s\"\r\n\"d\",\"f\"\r\n\"\",\"1\",\"1\"\r\n\"second line\"\r\n");
    ASSERT_TRUE(job);
    EXPECT_EQ(job->formatFilePath, "f");
    EXPECT_TRUE(job->overwriteExisting);
    auto plain = parseJobText("n, s ,d,f,,2,true\r\n");
    ASSERT_TRUE(plain);
    EXPECT_EQ(plain->sourcePath, "s");
    EXPECT_EQ(plain->afterRunPath, "");
    EXPECT_FALSE(plain->overwriteExisting); // only exactly "1" ticks the box
    EXPECT_FALSE(plain->exitAfterRun);
}

TEST(JobFile, FewerThanSevenValuesFail) {
    EXPECT_FALSE(parseJobText("\"n\",\"s\",\"d\",\"f\",\"\",\"1\"\r\n"));
    EXPECT_FALSE(parseJobText(""));
    EXPECT_FALSE(parseJobText("\"n\",\"s\",\"d\",\"f\",\"\",\"1\",\"0"));
}

TEST(JobFileExtraPairs, FollowTheSeventhValueOnItsLineAndRoundTrip) {
    JobDefinition job = exampleJob();
    job.extraPairs = {{"C:\\Z\\data.qfd", "C:\\OUT\\data,1.csv"}, {"t.qfd", ""}};
    const std::string text = jobFileText(job);
    EXPECT_EQ(text, std::string(kExampleLine, std::strlen(kExampleLine) - 2) +
                        ",\"C:\\Z\\data.qfd\",\"C:\\OUT\\data$44$1.csv\",\"t.qfd\",\"\"\r\n");
    EXPECT_EQ(parseJobText(text), job);
}

TEST(JobFileExtraPairs, AHalfPairIsDroppedAndLaterLinesStayIgnored) {
    auto job = parseJobText("\"n\",\"s\",\"d\",\"f\",\"\",\"1\",\"0\",\"g.qfd\",\"e.csv\",\"h.qfd\"\r\n");
    ASSERT_TRUE(job);
    EXPECT_EQ(job->extraPairs, (std::vector<ExtraPair>{{"g.qfd", "e.csv"}}));
    job = parseJobText("\"n\",\"s\",\"d\",\"f\",\"\",\"1\",\"0\"\r\n\"g.qfd\",\"e.csv\"\r\n");
    ASSERT_TRUE(job);
    EXPECT_TRUE(job->extraPairs.empty());
    // the seven values over several lines, the pair after the seventh
    job = parseJobText("\"n\",\"s\"\r\n\"d\",\"f\",\"\",\"1\",\"0\",\"g.qfd\",\"e.csv\"\r\n");
    ASSERT_TRUE(job);
    EXPECT_EQ(job->extraPairs.size(), 1u);
}

using JobFileOnDisk = testing::TempFolder;

TEST_F(JobFileOnDisk, FilesAreShiftJisAndWrittenSafely) {
    std::string path = this->path("job.dof");
    ASSERT_TRUE(writeJobFile(path, exampleJob()));
    EXPECT_EQ(readWholeFile(path), sjis::encode(kExampleLine));
    EXPECT_EQ(readJobFile(path), exampleJob());

    JobDefinition bad = exampleJob();
    bad.jobName = "😀";
    EXPECT_FALSE(writeJobFile(path, bad));
    EXPECT_EQ(readJobFile(path), exampleJob()); // the previous file is intact
    EXPECT_FALSE(writeJobFile(this->path("missing/job.dof"), exampleJob()));

    ASSERT_TRUE(writeFileAtomically(path, "\x81"));
    EXPECT_FALSE(readJobFile(path)); // not Shift-JIS
    EXPECT_FALSE(readJobFile(dir.string()));
}

} // namespace
} // namespace quisk
