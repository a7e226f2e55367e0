#include "engine/conversion.h"
#include "support/temp_folder.h"

#include <cerrno>
#include <csignal>
#include <filesystem>
#include <sys/resource.h>
#include <sys/stat.h>

namespace quisk {
namespace {

class Conversion : public testing::TempFolder {
protected:
    void SetUp() override {
        TempFolder::SetUp();
        format.row(1) = {"A", "1", "2", "Char", "", ""};
    }
    ConversionResult run(const std::string& sourceText) {
        writeText("in.txt", sourceText);
        return runOnFile();
    }
    ConversionResult runOnFile() {
        return saveData(format, fieldNameRow, {path("in.txt"), path("out.csv"), path("Quisk.log")},
                        [this] { ++yields; });
    }
    FormatDefinition format;
    std::string fieldNameRow;
    int yields = 0;
};

TEST_F(Conversion, WritesHeaderFieldNamesRecordsFooterAndLog) {
    format.settings.headerText = "H1\r\nH2";
    format.settings.footerText = "F1\r\n";
    format.settings.fieldNamesOnTop = true;
    fieldNameRow = "\"A\"";
    ConversionResult r = run("ab1\r\ncd2\r\n");
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(r.recordCount, 2);
    EXPECT_EQ(readText("out.csv"), "H1\r\nH2\r\n\"A\"\r\n\"ab\"\r\n\"cd\"\r\nF1\r\n\r\n");
    EXPECT_EQ(readText("Quisk.log"), path("in.txt") + "を読込み､" + path("out.csv") +
                                         "に書込む｡\r\n2件のﾃﾞｰﾀの保存が終了しました｡\r\n");
    EXPECT_GE(yields, 1);
}

TEST_F(Conversion, AnEmptySourceGivesOnlyTheFixedLines) {
    format.settings.headerText = "H";
    format.settings.fieldNamesOnTop = true;
    fieldNameRow = "\"A\"";
    ConversionResult r = run("");
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(r.recordCount, 0);
    EXPECT_EQ(readText("out.csv"), "H\r\n\"A\"\r\n");
    EXPECT_NE(readText("Quisk.log").find("\r\n0件のﾃﾞｰﾀの保存が終了しました｡\r\n"),
              std::string::npos);
}

TEST_F(Conversion, FieldNamesAreWrittenOnlyWhenAskedForAndPresent) {
    fieldNameRow = "\"A\"";
    run("x\r\n");
    EXPECT_EQ(readText("out.csv"), "\"x\"\r\n");
    format.settings.fieldNamesOnTop = true;
    fieldNameRow.clear();
    run("x\r\n");
    EXPECT_EQ(readText("out.csv"), "\"x\"\r\n");
}

TEST_F(Conversion, RowRangesExcludeAndCopyLinesExcludedWinning) {
    const std::string source = "l1\r\nl2\r\nl3\r\nl4\r\nl5\r\n";
    format.row(1) = {"A", "1", "", "Char", "", ""};
    format.settings.excludeFrom = "2";
    format.settings.excludeTo = "3";
    run(source);
    EXPECT_EQ(readText("out.csv"), "\"l1\"\r\n\"l4\"\r\n\"l5\"\r\n");
    format.settings.writeAsIsFrom = "3";
    format.settings.writeAsIsTo = "4";
    ConversionResult r = run(source);
    EXPECT_EQ(readText("out.csv"), "\"l1\"\r\nl4\r\n\"l5\"\r\n");
    EXPECT_EQ(r.recordCount, 5); // excluded and copied lines count too
    format.settings.excludeFrom = "0";
    format.settings.excludeTo = "";
    format.settings.writeAsIsFrom = "0";
    format.settings.writeAsIsTo = "1";
    run(source);
    EXPECT_EQ(readText("out.csv"), "l1\r\n\"l2\"\r\n\"l3\"\r\n\"l4\"\r\n\"l5\"\r\n");
}

TEST_F(Conversion, LinesEndAtCarriageReturnsOnly) {
    format.row(1) = {"A", "1", "", "Char", "", ""};
    writeBytes("in.txt", "a\rb\r\nc\nd\r\n\r\ne");
    ConversionResult r = runOnFile();
    EXPECT_EQ(r.recordCount, 5);
    EXPECT_EQ(*readWholeFile(path("out.csv")), "\"a\"\r\n\"b\"\r\n\"c\nd\"\r\n\"\"\r\n\"e\"\r\n");
}

TEST_F(Conversion, WriteAsIsLinesAreCopiedByteForByte) {
    format.settings.writeAsIsFrom = "1";
    format.settings.writeAsIsTo = "1";
    const std::string odd = "\x81\xFF\x80\xA0 raw";
    writeBytes("in.txt", odd + "\r\n");
    runOnFile();
    EXPECT_EQ(*readWholeFile(path("out.csv")), odd + "\r\n");
}

TEST_F(Conversion, LongLinesAcrossBlocksAndManyLinesStreamThrough) {
    format.row(1) = {"A", "1", "", "Char", "", ""};
    const std::string longLine(3 * 1024 * 1024 + 17, 'x');
    std::string source = longLine + "\r\n";
    for (int i = 0; i < 70000; ++i)
        source += "row" + std::to_string(i) + "\r\n";
    writeBytes("in.txt", source);
    ConversionResult r = runOnFile();
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.recordCount, 70001); // past the old 32,767 line ceiling
    std::string out = *readWholeFile(path("out.csv"));
    EXPECT_EQ(out.substr(0, 3), "\"xx");
    EXPECT_EQ(out.size(), source.size() + 2 * 70001); // each line gains its two quotes
}

TEST_F(Conversion, AFailedRunKeepsThePreviousDestinationAndSaysWhere) {
    writeBytes("out.csv", "previous");
    format.row(2) = {"B", "0", "1", "Char", "", ""}; // cannot cut a line
    format.settings.writeAsIsFrom = "1";
    format.settings.writeAsIsTo = "2";
    ConversionResult r = run("a\r\nb\r\nc\r\n");
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.recordCount, 3); // the first line the row was applied to
    EXPECT_EQ(*readWholeFile(path("out.csv")), "previous");
    EXPECT_NE(readText("Quisk.log").find("\r\n3件目でﾃﾞｰﾀの保存に失敗しました｡\r\n"),
              std::string::npos);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), {}), 3);
}

TEST_F(Conversion, FilesThatCannotBeOpenedFailBeforeTheFirstRecord) {
    ConversionResult missing =
        saveData(format, "", {path("none.txt"), path("out.csv"), path("Quisk.log")});
    EXPECT_FALSE(missing.ok);
    EXPECT_EQ(missing.recordCount, 0);
    EXPECT_FALSE(std::filesystem::exists(path("out.csv")));
    writeText("in.txt", "x\r\n");
    ConversionResult toFolder =
        saveData(format, "", {path("in.txt"), dir.string(), path("Quisk.log")});
    EXPECT_FALSE(toFolder.ok);
    EXPECT_NE(readText("Quisk.log").find("0件目で"), std::string::npos);
}

// Makes every file system full for this process after `bytes` bytes of a
// file: writes past that fail with EFBIG, as a full disk fails them.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        ::getrlimit(RLIMIT_FSIZE, &previous_);
        previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = previous_;
        limit.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &previous_);
        std::signal(SIGXFSZ, previousHandler_);
    }

private:
    rlimit previous_{};
    void (*previousHandler_)(int);
};

TEST_F(Conversion, AFullDiskNamesTheRecordThatCouldNotBeWrittenAndKeepsTheOldFile) {
    format.settings.excludeFrom = "10";
    format.settings.excludeTo = "19";
    std::string source;
    for (int i = 0; i < 30000; ++i)
        source += "ab\r\n"; // each record is "ab" in quotes with CR LF: 6 bytes
    writeText("in.txt", source);
    // Records 1-9 and 20 on are written; the limit falls inside the one
    // after the 1000th written (in the first half of the block of lines),
    // then just before the line feed of the one after the 20000th (in the
    // second half).
    for (auto [written, partly] : {std::pair{1000LL, 3}, std::pair{20000LL, 5}}) {
        writeText("out.csv", "old");
        ConversionResult r;
        {
            FileSizeLimit limit(static_cast<rlim_t>(6 * written + partly));
            r = runOnFile();
        }
        EXPECT_FALSE(r.ok);
        EXPECT_EQ(r.recordCount, written + 11);
        EXPECT_EQ(r.failure.file, RunFailure::File::Destination);
        EXPECT_EQ(r.failure.path, path("out.csv"));
        EXPECT_EQ(r.failure.error, EFBIG);
        EXPECT_TRUE(r.failure.destinationExisted);
        EXPECT_FALSE(r.failure.destinationDamaged);
        EXPECT_EQ(readText("out.csv"), "old");
        EXPECT_NE(readText("Quisk.log").find(std::to_string(written + 11) + "件目で"),
                  std::string::npos);
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), {}), 3);
    }
}

TEST_F(Conversion, FailuresTellWhichFileAndWhy) {
    writeText("in.txt", "ab\r\n");
    ConversionResult full = saveData(format, "", {path("in.txt"), "/dev/full", path("Quisk.log")});
    EXPECT_FALSE(full.ok);
    EXPECT_EQ(full.recordCount, 1); // the first record could not be written
    EXPECT_EQ(full.failure.file, RunFailure::File::Destination);
    EXPECT_EQ(full.failure.error, ENOSPC);
    EXPECT_FALSE(full.failure.destinationExisted); // a device is written, not replaced

    ConversionResult folder =
        saveData(format, "", {dir.string(), path("out.csv"), path("Quisk.log")});
    EXPECT_EQ(folder.failure.file, RunFailure::File::Source);
    EXPECT_EQ(folder.failure.path, dir.string());
    EXPECT_EQ(folder.failure.error, EISDIR);

    ConversionResult missing =
        saveData(format, "", {path("in.txt"), path("no/out.csv"), path("Quisk.log")});
    EXPECT_EQ(missing.failure.file, RunFailure::File::Destination);
    EXPECT_EQ(missing.failure.error, ENOENT);

    format.row(1) = {"A", "0", "2", "Char", "", ""}; // the format, not a file
    EXPECT_EQ(runOnFile().failure.file, RunFailure::File::None);
}

TEST_F(Conversion, HeaderTextBecomesLines) {
    EXPECT_EQ(textToLines("A\r\nB"), (std::vector<std::string>{"A", "B"}));
    EXPECT_EQ(textToLines("A\r\n"), (std::vector<std::string>{"A", ""}));
    EXPECT_EQ(textToLines("A\nB"), (std::vector<std::string>{"AB"}));
    EXPECT_EQ(textToLines("single"), (std::vector<std::string>{"single"}));
}

} // namespace
} // namespace quisk
