// Runs quisk-run --check as a script would: what it prints, returns and
// leaves alone.
#include "app/job_file.h"
#include "common/file_io.h"
#include "support/temp_folder.h"

#include <cstdio>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/wait.h>

namespace quisk {
namespace {

struct Outcome {
    int status = -1;
    std::string out;
    std::string err;
};

Outcome runCommand(const std::string& command) {
    Outcome o;
    FILE* pipe = ::popen(command.c_str(), "r");
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        o.out.append(buffer, n);
    int status = ::pclose(pipe);
    o.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return o;
}

class Check : public testing::TempFolder {
protected:
    void SetUp() override {
        TempFolder::SetUp();
        // Line 2 cuts "あ" between the fields, line 3 is short.
        writeBytes("in.txt", "ab1\r\na\x82\xA0\r\nc\r\n");
        writeBytes("ok.txt", "ab1\r\ncd2\r\n");
        writeText(
            "f.qfd",
            "\"A\",\"1\",\"2\",\"Char\",\"\",\"\"\r\n\"N\",\"3\",\"1\",\"Num\",\"\",\"\"\r\n");
        writeJobFile(path("job.dof"),
                     JobDefinition{"job", "in.txt", "out.csv", "f.qfd", "", false, false, {}});
    }
    Outcome run(const std::string& arguments) {
        std::string err = path("stderr.txt");
        Outcome o = runCommand("cd '" + dir.string() + "' && '" QUISK_BIN_DIR "/quisk-run' " +
                               arguments + " 2>'" + err + "'");
        o.err = readWholeFile(err).value_or("");
        std::filesystem::remove(err);
        return o;
    }
    bool exists(const std::string& name) const { return std::filesystem::exists(path(name)); }
};

TEST_F(Check, ReportsProblemsWithStatusFourAndWritesNothing) {
    const std::string report = "元ﾌｧｲﾙ: in.txt\n"
                               "ﾌｫｰﾏｯﾄﾌｧｲﾙ: f.qfd\n"
                               "読込み行数: 3\n"
                               "ﾌｫｰﾏｯﾄ1行目｢A｣が2ﾊﾞｲﾄ文字の途中で終わる行: 1件 (2行目)\n"
                               "ﾌｫｰﾏｯﾄ2行目｢N｣が2ﾊﾞｲﾄ文字の途中から始まる行: 1件 (2行目)\n"
                               "最後のﾌｨｰﾙﾄﾞより短い行: 1件 (3行目)\n"
                               "問題が見つかりました｡\n";
    Outcome job = run("--check job.dof");
    EXPECT_EQ(job.status, 4);
    EXPECT_EQ(job.out, report);
    EXPECT_EQ(job.err, "");
    Outcome format = run("--check --format f.qfd in.txt");
    EXPECT_EQ(format.status, 4);
    EXPECT_EQ(format.out, report);
    EXPECT_FALSE(exists("out.csv"));
    EXPECT_FALSE(exists("Quisk.log"));
    Outcome clean = run("--format f.qfd --check ok.txt");
    EXPECT_EQ(clean.status, 0);
    EXPECT_NE(clean.out.find("読込み行数: 2\n問題は見つかりませんでした｡\n"), std::string::npos);
}

TEST_F(Check, PrintsOneJsonObjectWithJson) {
    Outcome o = run("--check --json job.dof");
    EXPECT_EQ(o.status, 4);
    // The shape, read by a JSON parser where one is at hand.
    if (runCommand("command -v python3 >/dev/null").status != 0)
        GTEST_SKIP() << "python3 not installed";
    writeBytes("report.json", o.out);
    Outcome parsed =
        runCommand("python3 -c \"import json,sys; d=json.load(open(sys.argv[1])); "
                   "print(d['linesRead'], d['clean'], [(p['kind'], p.get('row'), p.get('field'), "
                   "p['count'], p['lines']) for p in d['problems']])\" '" +
                   path("report.json") + "'");
    EXPECT_EQ(parsed.out, "3 False [('endCut', 1, 'A', 1, [2]), ('startCut', 2, 'N', 1, [2]), "
                          "('shortLine', None, None, 1, [3])]\n");
}

// A job with several layouts is checked with every one of them: problems
// that only a further format finds count, and a format that cannot be read
// fails the whole check before anything is printed.
TEST_F(Check, AJobIsCheckedWithEveryFormatItLists) {
    writeText("g.qfd", "\"A\",\"1\",\"1\",\"Char\",\"\",\"\"\r\n"); // leaves bytes out
    writeJobFile(
        path("pairs.dof"),
        JobDefinition{"job", "ok.txt", "out.csv", "f.qfd", "", false, false, {{"g.qfd", "g.csv"}}});
    Outcome text = run("--check pairs.dof");
    EXPECT_EQ(text.status, 4);
    EXPECT_NE(text.out.find("ﾌｫｰﾏｯﾄﾌｧｲﾙ: f.qfd\n読込み行数: 2\n問題は見つかりませんでした｡\n\n"
                            "元ﾌｧｲﾙ: ok.txt\nﾌｫｰﾏｯﾄﾌｧｲﾙ: g.qfd\n"),
              std::string::npos)
        << text.out;
    Outcome json = run("--check --json pairs.dof");
    EXPECT_EQ(json.status, 4);
    EXPECT_TRUE(json.out.starts_with("[{\"source\":\"ok.txt\",\"format\":\"f.qfd\""));
    EXPECT_NE(json.out.find("},{\"source\":\"ok.txt\",\"format\":\"g.qfd\""), std::string::npos);
    EXPECT_TRUE(json.out.ends_with("}]\n"));

    std::filesystem::remove(path("g.qfd"));
    Outcome missing = run("--check pairs.dof");
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.out, "");
}

TEST_F(Check, FailsWithStatusOneOrTwo) {
    Outcome missing = run("--check --format f.qfd nothing.txt");
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.err, "ｴﾗｰ: 元ﾌｧｲﾙは存在しません｡\n");
    Outcome noFormat = run("--check --format none.qfd in.txt");
    EXPECT_EQ(noFormat.status, 1);
    EXPECT_EQ(noFormat.err, "ｴﾗｰ: ﾌｫｰﾏｯﾄﾌｧｲﾙは存在しません｡\n");
    EXPECT_EQ(run("--check nothing.dof").status, 1);
    EXPECT_EQ(run("--json job.dof").status, 2);
    EXPECT_EQ(run("--check --format f.qfd in.txt out.csv").status, 2);
}

} // namespace
} // namespace quisk
