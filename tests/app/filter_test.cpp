// quisk-run with "-" for standard input and output, and with compressed
// sources and destinations, run as a pipeline would run it.
#include "app/runner_fixture.h"
#include "common/file_io.h"

#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

namespace quisk {
namespace {

namespace fs = std::filesystem;

constexpr const char* kRecords = "\"ab\",\"1\"\r\n\"cd\",\"2\"\r\n";

// A format with everything that surrounds the records: header, footer,
// field names and both line ranges.
constexpr const char* kFullFormat =
    "\"[!対象外範囲]\",\"2\",\"3\",\"\",\"\",\"\"\r\n"
    "\"[!そのまま書込む範囲]\",\"3\",\"4\",\"\",\"\",\"\"\r\n"
    "\"[!先頭に名前を付ける]\",\"はい\",\"\",\"\",\"\",\"\"\r\n"
    "\"[!ヘッダー]\",\"HEAD\",\"\",\"\",\"\",\"\"\r\n"
    "\"[!フッター]\",\"FOOT\",\"\",\"\",\"\",\"\"\r\n"
    "\"名前\",\"1\",\"2\",\"Char\",\"\",\"\"\r\n\"数\",\"3\",\"1\",\"Num\",\"\",\"\"\r\n";

class Filter : public testing::Runner {
protected:
    std::string bytes(const std::string& name) const {
        return readWholeFile(path(name)).value_or("<missing>");
    }
    // Runs quisk-run with its standard output on a pipe whose reading end
    // is already closed; returns the exit status and what it said.
    testing::Outcome runIntoClosedPipe(const std::string& source) {
        int ends[2];
        EXPECT_EQ(::pipe(ends), 0);
        ::close(ends[0]);
        std::string err = path("stderr.txt");
        pid_t child = ::fork();
        if (child == 0) {
            int errFd = ::open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
            if (::chdir(dir.c_str()) != 0 || ::dup2(ends[1], 1) < 0 || ::dup2(errFd, 2) < 0)
                ::_exit(126);
            ::execl(QUISK_BIN_DIR "/quisk-run", "quisk-run", "--format", "f.qfd", source.c_str(),
                    "-", nullptr);
            ::_exit(127);
        }
        ::close(ends[1]);
        int status = 0;
        ::waitpid(child, &status, 0);
        testing::Outcome o;
        o.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        o.err = readWholeFile(err).value_or("");
        return o;
    }
};

TEST_F(Filter, StandardInputToStandardOutputGivesTheFileConversionsBytes) {
    testing::Outcome o = run("--format f.qfd - - < in.txt");
    EXPECT_EQ(o.status, 0);
    EXPECT_EQ(o.out, kRecords); // only the data on standard output
    EXPECT_EQ(o.err, "確認: 2件のﾃﾞｰﾀの保存が終了しました｡\n");
    EXPECT_EQ(readText("Quisk.log"),
              "(標準入力)を読込み､(標準出力)に書込む｡\r\n2件のﾃﾞｰﾀの保存が終了しました｡\r\n");

    std::string source;
    for (int i = 1; i <= 3000; ++i)
        source += "x" + std::to_string(i % 10) + std::to_string(i % 7) + "表\r\n";
    write("in.txt", source);
    write("full.qfd", kFullFormat);
    ASSERT_EQ(run("--format full.qfd in.txt file.csv").status, 0);
    testing::Outcome piped = run("--format full.qfd - - < in.txt");
    EXPECT_EQ(piped.status, 0);
    EXPECT_EQ(piped.out, bytes("file.csv"));
    const std::string written = readText("file.csv");
    EXPECT_EQ(written.rfind("HEAD\r\n\"名前\",\"数\"\r\n\"x1\",\"1\"\r\nx44表\r\n", 0), 0u);
    EXPECT_EQ(written.substr(written.size() - 6), "FOOT\r\n");
    EXPECT_EQ(run("--format full.qfd - out.csv < in.txt").status, 0);
    EXPECT_EQ(bytes("out.csv"), bytes("file.csv"));
    EXPECT_EQ(run("--format full.qfd in.txt - > out2.csv").status, 0);
    EXPECT_EQ(bytes("out2.csv"), bytes("file.csv"));
}

TEST_F(Filter, AClosedPipeOrAFullDiskOnStandardOutputEndsWithStatusOne) {
    std::string big;
    for (int i = 0; i < 200000; ++i)
        big += "ab1\r\n";
    writeBytes("big.txt", big);
    for (const char* source : {"in.txt", "big.txt"}) {
        testing::Outcome closed = runIntoClosedPipe(source);
        EXPECT_EQ(closed.status, 1) << source; // not killed by SIGPIPE
        EXPECT_NE(closed.err.find("ｴﾗｰ: "), std::string::npos) << closed.err;
        EXPECT_NE(closed.err.find("件目でﾃﾞｰﾀの保存に失敗しました｡\n出力先: (標準出力)\n"
                                  "出力を受け取るプログラムが終了しています｡\n"),
                  std::string::npos)
            << closed.err;
    }
    testing::Outcome full = run("--format f.qfd big.txt - > /dev/full");
    EXPECT_EQ(full.status, 1);
    EXPECT_EQ(full.err, "ｴﾗｰ: 1件目でﾃﾞｰﾀの保存に失敗しました｡\n出力先: (標準出力)\n"
                        "ディスクの空き容量が不足しています｡\n");
    EXPECT_NE(readText("Quisk.log").find("1件目でﾃﾞｰﾀの保存に失敗しました｡"), std::string::npos);
}

TEST_F(Filter, CompressedSourcesAndDestinationsConvertAsThePlainFile) {
    ASSERT_EQ(std::system(("cd '" + dir.string() + "' && gzip -k in.txt").c_str()), 0);
    testing::Outcome fromGzip = run("--format f.qfd in.txt.gz -");
    EXPECT_EQ(fromGzip.status, 0);
    EXPECT_EQ(fromGzip.out, kRecords);
    testing::Outcome gzipPiped = run("--format f.qfd - - < in.txt.gz");
    EXPECT_EQ(gzipPiped.out, kRecords);
    EXPECT_EQ(run("--format f.qfd in.txt out.csv.gz").status, 0);
    EXPECT_EQ(run("--format f.qfd in.txt - 2>/dev/null && gzip -dc out.csv.gz").out,
              std::string(kRecords) + kRecords);
    EXPECT_EQ(run("--format f.qfd in.txt out.csv").status, 0);
    EXPECT_EQ(run("--format f.qfd in.txt.gz out.zst").status, 0);
    EXPECT_EQ(run("--format f.qfd out.zst -").out, run("--format f.qfd - - < out.csv").out);
    EXPECT_EQ(run("--format f.qfd - - < out.zst").out, run("--format f.qfd - - < out.csv").out);
}

TEST_F(Filter, ATruncatedCompressedSourceFailsAndLeavesNoDestination) {
    std::string source;
    for (int i = 0; i < 100000; ++i)
        source += "ab" + std::to_string(i % 10) + "\r\n";
    writeBytes("in.txt", source);
    ASSERT_EQ(std::system(("cd '" + dir.string() + "' && gzip -k in.txt").c_str()), 0);
    std::string gz = bytes("in.txt.gz");
    writeBytes("cut.gz", gz.substr(0, gz.size() - 100));
    testing::Outcome o = run("--format f.qfd cut.gz out.csv");
    EXPECT_EQ(o.status, 1);
    EXPECT_NE(o.err.find("件目でﾃﾞｰﾀの保存に失敗しました｡\n入力元: cut.gz\n"
                         "圧縮されたデータが途中で切れています｡\n"),
              std::string::npos)
        << o.err;
    EXPECT_FALSE(fs::exists(path("out.csv")));
    EXPECT_EQ(run("--format f.qfd - out.zst < cut.gz").status, 1);
    EXPECT_FALSE(fs::exists(path("out.zst")));
    writeBytes("out.csv", "previous");
    EXPECT_EQ(run("--overwrite --format f.qfd cut.gz out.csv").status, 1);
    EXPECT_EQ(bytes("out.csv"), "previous");
}

TEST_F(Filter, FixedLengthRecordsComeFromStandardInputAndCompressedFiles) {
    write("rec.qfd", "\"[!レコード長]\",\"3\",\"\",\"\",\"\",\"\"\r\n"
                     "\"[!対象レコード]\",\"1\",\"1\",\"2\",\"\",\"\"\r\n"
                     "\"A\",\"2\",\"2\",\"Char\",\"\",\"\"\r\n");
    writeBytes("rec.dat", "1hd2ab2cd9en");
    const std::string records = "\"ab\"\r\n\"cd\"\r\n";
    testing::Outcome piped = run("--format rec.qfd - - < rec.dat");
    EXPECT_EQ(piped.status, 0);
    EXPECT_EQ(piped.out, records);
    EXPECT_EQ(piped.err, "確認: 4件のﾃﾞｰﾀの保存が終了しました｡\n"
                         "2件のﾚｺｰﾄﾞは対象ﾚｺｰﾄﾞではないため飛ばしました｡\n");
    EXPECT_EQ(readText("Quisk.log"), "(標準入力)を読込み､(標準出力)に書込む｡\r\n"
                                     "4件のﾃﾞｰﾀの保存が終了しました｡\r\nﾚｺｰﾄﾞ長3ﾊﾞｲﾄ､改行なし｡\r\n"
                                     "2件のﾚｺｰﾄﾞは対象ﾚｺｰﾄﾞではないため飛ばしました｡\r\n");
    ASSERT_EQ(std::system(("cd '" + dir.string() + "' && gzip -k rec.dat").c_str()), 0);
    EXPECT_EQ(run("--format rec.qfd - - < rec.dat.gz 2>/dev/null").out, records);
    EXPECT_EQ(run("--format rec.qfd rec.dat.gz out.csv.gz >/dev/null && gzip -dc out.csv.gz").out,
              records);
}

} // namespace
} // namespace quisk
