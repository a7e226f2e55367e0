// Runs the quisk-run program as a script would and checks what it prints,
// writes and returns.
#include "app/job_file.h"
#include "common/file_io.h"
#include "common/sjis.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <sys/wait.h>

namespace quisk {
namespace {

namespace fs = std::filesystem;

struct Outcome {
    int status = -1;
    std::string out;
    std::string err;
};

class Runner : public testing::TempFolder {
protected:
    void SetUp() override {
        TempFolder::SetUp();
        write("in.txt", "ab1\r\ncd2\r\n");
        write("f.qfd", "\"A\",\"1\",\"2\",\"Char\",\"\",\"\"\r\n\"N\",\"3\",\"1\",\"Num\",\"\",\"\"\r\n");
        writeJobFile(path("job.dof"),
                     JobDefinition{"job", "in.txt", "out.csv", "f.qfd", "", false, false});
    }
    void write(const std::string& name, const std::string& utf8) { writeText(name, utf8); }
    std::string read(const std::string& name) const { return readText(name); }
    Outcome run(const std::string& arguments) {
        std::string err = (dir / "stderr.txt").string();
        std::string command = "cd '" + dir.string() + "' && '" QUISK_BIN_DIR "/quisk-run' " +
                              arguments + " 2>'" + err + "'";
        Outcome o;
        FILE* pipe = ::popen(command.c_str(), "r");
        char buffer[4096];
        for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
            o.out.append(buffer, n);
        int status = ::pclose(pipe);
        o.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        o.err = readWholeFile(err).value_or("");
        fs::remove(err);
        return o;
    }
};

TEST_F(Runner, RunsAJobAndPrintsTheCompletionMessage) {
    Outcome o = run("job.dof");
    EXPECT_EQ(o.status, 0);
    EXPECT_EQ(o.out, "確認: 2件のﾃﾞｰﾀの保存が終了しました｡\n");
    EXPECT_EQ(o.err, "");
    EXPECT_EQ(read("out.csv"), "\"ab\",\"1\"\r\n\"cd\",\"2\"\r\n");
    EXPECT_EQ(read("Quisk.log"),
              "in.txtを読込み､out.csvに書込む｡\r\n2件のﾃﾞｰﾀの保存が終了しました｡\r\n");
}

TEST_F(Runner, RefusesToOverwriteUnlessAllowed) {
    write("out.csv", "keep me");
    Outcome refused = run("job.dof");
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.err, "上書確認: 同名ﾌｧｲﾙが存在します｡上書きしますか?\n"
                           "上書きする場合は --overwrite を指定してください｡\n");
    EXPECT_EQ(read("out.csv"), "keep me");
    EXPECT_EQ(run("--overwrite job.dof").status, 0);
    EXPECT_EQ(read("out.csv"), "\"ab\",\"1\"\r\n\"cd\",\"2\"\r\n");
}

TEST_F(Runner, RunsAFormatWithoutAJob) {
    Outcome o = run("--format f.qfd in.txt out.csv");
    EXPECT_EQ(o.status, 0);
    EXPECT_EQ(read("out.csv"), "\"ab\",\"1\"\r\n\"cd\",\"2\"\r\n");
}

TEST_F(Runner, ReportsBadInputWithMessagesAndExitStatus) {
    write("six.dof", "\"a\",\"b\",\"c\",\"d\",\"e\",\"1\"\r\n");
    Outcome six = run("six.dof");
    EXPECT_EQ(six.status, 1);
    EXPECT_EQ(six.err, "ｴﾗｰ: 処理ﾌｧｲﾙの読み込みに失敗しました｡\n");
    Outcome folder = run("--format . in.txt out.csv");
    EXPECT_EQ(folder.status, 1);
    EXPECT_EQ(folder.err, "ｴﾗｰ: ﾌｫｰﾏｯﾄﾌｧｲﾙは存在しません｡\n");
    write("broken.qfd", "\"A\",\"1\r\n");
    Outcome broken = run("--format broken.qfd in.txt out.csv");
    EXPECT_EQ(broken.status, 1);
    EXPECT_EQ(broken.err,
              "ﾌｧｲﾙｴﾗｰ: ﾌｫｰﾏｯﾄﾌｧｲﾙの読込みに失敗しました｡\nbroken.qfdは存在していますか?\n");
    EXPECT_EQ(read("out.csv"), "<missing>");
}

TEST_F(Runner, UsageErrorsHelpAndVersion) {
    EXPECT_EQ(run("").status, 2);
    EXPECT_EQ(run("a.dof b.dof").status, 2);
    EXPECT_EQ(run("--bogus job.dof").status, 2);
    EXPECT_EQ(run("--format f.qfd in.txt").status, 2);
    Outcome help = run("--help");
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("Usage: quisk-run"), std::string::npos);
    EXPECT_EQ(run("--version").out, "quisk-run 1.0.0\n");
}

TEST_F(Runner, EncodingAndLineEndOverrideTheFormatForOneRun) {
    writeBytes("in.txt", *sjis::encode("表1\r\n") + "\xFD\xFD" + "2\r\n");
    Outcome o = run("--encoding utf-8-bom --eol lf --format f.qfd in.txt out.csv");
    EXPECT_EQ(o.status, 0);
    EXPECT_EQ(o.out, "確認: 2件のﾃﾞｰﾀの保存が終了しました｡\n"
                     "2文字をUTF-8に変換できず､U+FFFDに置き換えました｡\n");
    EXPECT_EQ(readWholeFile(path("out.csv")), "\xEF\xBB\xBF\"表\",\"1\"\n\"\uFFFD\uFFFD\",\"2\"\n");
    Outcome back = run("--overwrite --encoding sjis --eol crlf --format f.qfd in.txt out.csv");
    EXPECT_EQ(back.status, 0);
    EXPECT_EQ(back.out, "確認: 2件のﾃﾞｰﾀの保存が終了しました｡\n"); // nothing replaced
    EXPECT_EQ(readWholeFile(path("out.csv")),
              *sjis::encode("\"表\",\"1\"\r\n") + "\"\xFD\xFD\",\"2\"\r\n");
    EXPECT_EQ(run("--overwrite --encoding utf8 --format f.qfd in.txt out.csv").status, 2);
    EXPECT_EQ(run("--overwrite --eol cr --format f.qfd in.txt out.csv").status, 2);
    EXPECT_NE(run("--help").out.find("--encoding E"), std::string::npos);
}

} // namespace
} // namespace quisk
