// quisk-run --output-dir and --splittable, run as a script would, and the
// rules behind them.
#include "app/batch_run.h"
#include "app/runner_fixture.h"
#include "app/splittable.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <regex>
#include <set>

namespace quisk {
namespace {

namespace fs = std::filesystem;

constexpr const char* kRecords = "\"ab\",\"1\"\r\n\"cd\",\"2\"\r\n";

TEST(BatchDestination, TakesTheNameWithoutCompressionAndExtension) {
    EXPECT_EQ(batchDestination("in/a.txt", "out", ".csv"), "out/a.csv");
    EXPECT_EQ(batchDestination("/x/a.b.txt.gz", "out", ".csv"), "out/a.b.csv");
    EXPECT_EQ(batchDestination("a.zst", "out/", ".txt"), "out/a.txt");
    EXPECT_EQ(batchDestination("README", "out", ".csv"), "out/README.csv");
    EXPECT_EQ(batchDestination(".hidden", "out", ".csv"), "out/.hidden.csv");
    EXPECT_EQ(outputExtension(kTextFile), ".txt");
    EXPECT_EQ(outputExtension(kDelimitedFile), ".csv");
}

TEST(Splittable, OnlyWhatSurroundsOrCountsLinesPreventsIt) {
    FormatSettings s;
    EXPECT_TRUE(unsplittableReasons(s, "").empty());
    s.fieldNamesOnTop = true;
    EXPECT_TRUE(unsplittableReasons(s, "").empty()); // no names: no line is written
    EXPECT_EQ(unsplittableReasons(s, "\"A\"").size(), 1u);
    s = {};
    s.excludeFrom = "0";
    s.excludeTo = "0"; // selects no line
    s.writeAsIsFrom = "5";
    s.writeAsIsTo = "4"; // nor does a range the wrong way round
    EXPECT_TRUE(unsplittableReasons(s, "").empty());
    s.excludeTo = "1";
    s.writeAsIsTo = "5";
    s.headerText = "H";
    s.footerText = "F";
    s.outputEncoding = kEncodingUtf8Bom;
    EXPECT_EQ(unsplittableReasons(s, "").size(), 5u);
    s.outputEncoding = kEncodingUtf8;
    EXPECT_EQ(unsplittableReasons(s, "").size(), 4u);
    // records without line ends cannot be cut where a line ends; a selection can
    s = {};
    s.recordSelectText = "2";
    EXPECT_TRUE(unsplittableReasons(s, "").empty());
    s.recordLength = "120";
    EXPECT_EQ(unsplittableReasons(s, ""),
              std::vector<std::string>{"ﾚｺｰﾄﾞ長があります(改行のないﾚｺｰﾄﾞは行で分けられません)｡"});
}

class ManyFiles : public testing::Runner {
protected:
    std::string bytes(const std::string& name) const {
        return readWholeFile(path(name)).value_or("<missing>");
    }
    std::set<std::string> entries(const std::string& folder) const {
        std::set<std::string> names;
        for (const auto& entry : fs::directory_iterator(dir / folder))
            names.insert(entry.path().filename().string());
        return names;
    }
};

TEST_F(ManyFiles, ConvertsGoodSourcesListsBadOnesAndExitsWithOne) {
    fs::create_directory(dir / "out");
    fs::create_directory(dir / "src");
    for (int i = 0; i < 6; ++i)
        write("src/s" + std::to_string(i) + ".txt", "ab1\r\ncd2\r\n");
    ASSERT_EQ(std::system(("gzip '" + path("src/s5.txt") + "'").c_str()), 0);
    fs::create_directory(dir / "src/folder.txt");
    for (const char* jobs : {"-j 1", "-j 2", "--jobs 3"}) {
        fs::remove_all(dir / "out");
        fs::create_directory(dir / "out");
        testing::Outcome o =
            run(std::string(jobs) + " --format f.qfd --output-dir out src/s0.txt src/s1.txt "
                                    "missing.txt src/s2.txt src/folder.txt src/s3.txt src/s4.txt "
                                    "src/s5.txt.gz");
        EXPECT_EQ(o.status, 1) << jobs;
        EXPECT_TRUE(std::regex_match(
            o.out, std::regex("確認: 8ﾌｧｲﾙ中6ﾌｧｲﾙを変換しました｡12件､60ﾊﾞｲﾄ､[0-9]+\\.[0-9][0-9]秒｡"
                              "失敗: 2ﾌｧｲﾙ\n")))
            << o.out;
        EXPECT_NE(o.err.find("missing.txt: ｴﾗｰ: 元ﾌｧｲﾙは存在しません｡\n"), std::string::npos);
        EXPECT_NE(o.err.find("src/folder.txt: ｴﾗｰ: 元ﾌｧｲﾙは存在しません｡\n"), std::string::npos);
        EXPECT_NE(o.err.find("変換できなかったﾌｧｲﾙ:\n  missing.txt\n  src/folder.txt\n"),
                  std::string::npos)
            << o.err;
        // Every destination complete and nothing else left in the folder.
        EXPECT_EQ(entries("out"), (std::set<std::string>{"s0.csv", "s1.csv", "s2.csv", "s3.csv",
                                                         "s4.csv", "s5.csv"}));
        for (int i = 0; i < 6; ++i)
            EXPECT_EQ(bytes("out/s" + std::to_string(i) + ".csv"), kRecords) << jobs;
    }
}

TEST_F(ManyFiles, AllConvertedExitsWithZeroAndExistingDestinationsNeedOverwrite) {
    fs::create_directory(dir / "out");
    write("a.txt", "ab1\r\n");
    writeBytes("out/a.csv", "previous");
    testing::Outcome refused = run("--format f.qfd --output-dir out a.txt in.txt");
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.err.find("a.txt: 上書確認: "), std::string::npos);
    EXPECT_EQ(bytes("out/a.csv"), "previous");
    EXPECT_EQ(bytes("out/in.csv"), kRecords);
    testing::Outcome o = run("--overwrite --format f.qfd --output-dir out a.txt in.txt");
    EXPECT_EQ(o.status, 0);
    EXPECT_EQ(o.err, "");
    EXPECT_EQ(bytes("out/a.csv"), "\"ab\",\"1\"\r\n");
}

TEST_F(ManyFiles, SourcesThatWouldShareADestinationOrBeOverwrittenAreRefused) {
    fs::create_directory(dir / "b");
    write("b/in.txt", "zz9\r\n");
    write("f2.qfd", "\"[!書出しファイル形式]\",\"テキストファイル\",\"\",\"\",\"\",\"\"\r\n"
                    "\"A\",\"1\",\"2\",\"Char\",\"\",\"\"\r\n");
    write("keep.txt", "ab1\r\n");
    testing::Outcome o = run("--overwrite --format f2.qfd --output-dir . in.txt b/in.txt keep.txt");
    EXPECT_EQ(o.status, 1);
    EXPECT_NE(o.err.find("b/in.txt: ｴﾗｰ: 元ﾌｧｲﾙ｢in.txt｣と出力先が同じになるため､変換しません｡\n"),
              std::string::npos)
        << o.err;
    EXPECT_NE(o.err.find("keep.txt: ｴﾗｰ: 出力先が元ﾌｧｲﾙ自身になるため､変換しません｡\n"),
              std::string::npos);
    EXPECT_EQ(readText("keep.txt"), "ab1\r\n");
    EXPECT_EQ(readText("in.txt"), "ab1\r\ncd2\r\n"); // the first in.txt is its own destination too
}

TEST_F(ManyFiles, UsageErrorsAndAMissingFolder) {
    EXPECT_EQ(run("--format f.qfd --output-dir out").status, 2);    // no source
    EXPECT_EQ(run("--format f.qfd --output-dir out - ").status, 2); // no stream
    EXPECT_EQ(run("--output-dir out in.txt").status, 2);            // no format
    EXPECT_EQ(run("--format f.qfd -j 0 --output-dir out in.txt").status, 2);
    EXPECT_EQ(run("--format f.qfd -j 2 in.txt out.csv").status, 2); // -j needs a folder
    testing::Outcome o = run("--format f.qfd --output-dir nowhere in.txt");
    EXPECT_EQ(o.status, 1);
    EXPECT_EQ(o.err, "ｴﾗｰ: 出力先のﾌｫﾙﾀﾞは存在しません｡\n出力先ﾌｫﾙﾀﾞ: nowhere\n");
}

TEST_F(ManyFiles, SplittableAnswersWithItsExitStatus) {
    testing::Outcome yes = run("--format f.qfd --splittable");
    EXPECT_EQ(yes.status, 0);
    EXPECT_EQ(yes.out, "yes\n");
    testing::Outcome bom = run("--encoding utf-8-bom --format f.qfd --splittable");
    EXPECT_EQ(bom.status, 1);
    EXPECT_EQ(bom.out, "no\n");
    EXPECT_EQ(bom.err, "出力の先頭にBOMを書き込みます｡\n");
    write("h.qfd", "\"[!ヘッダー]\",\"H\",\"\",\"\",\"\",\"\"\r\n"
                   "\"[!先頭に名前を付ける]\",\"はい\",\"\",\"\",\"\",\"\"\r\n"
                   "\"A\",\"1\",\"2\",\"Char\",\"\",\"\"\r\n");
    testing::Outcome header = run("--format h.qfd --splittable");
    EXPECT_EQ(header.status, 1);
    EXPECT_EQ(header.err, "ﾌｨｰﾙﾄﾞ名の行を先頭に付けます｡\nﾍｯﾀﾞｰがあります｡\n");
    EXPECT_EQ(run("--format missing.qfd --splittable").status, 1);
    EXPECT_EQ(run("--format f.qfd --splittable in.txt").status, 2);
}

} // namespace
} // namespace quisk
