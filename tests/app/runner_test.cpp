// Runs the quisk-run program as a script would and checks what it prints,
// writes and returns.
#include "app/job_file.h"
#include "app/runner_fixture.h"
#include "common/file_io.h"
#include "common/sjis.h"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <set>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace quisk {
namespace {

namespace fs = std::filesystem;
using testing::Outcome;
using testing::Runner;

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
    EXPECT_EQ(folder.err, "ｴﾗｰ: ﾌｫｰﾏｯﾄﾌｧｲﾙは存在しません｡\nﾌｫｰﾏｯﾄﾌｧｲﾙ: .\n"
                          "フォルダです｡ファイルを指定してください｡\n");
    write("broken.qfd", "\"A\",\"1\r\n");
    Outcome broken = run("--format broken.qfd in.txt out.csv");
    EXPECT_EQ(broken.status, 1);
    EXPECT_EQ(broken.err,
              "ﾌｧｲﾙｴﾗｰ: ﾌｫｰﾏｯﾄﾌｧｲﾙの読込みに失敗しました｡\nbroken.qfdは存在していますか?\n");
    EXPECT_EQ(read("out.csv"), "<missing>");
}

TEST_F(Runner, AJobStartedFromAnotherFolderSaysWhereToRunIt) {
    fs::create_directory(dir / "sub");
    for (const char* name : {"in.txt", "f.qfd", "job.dof"})
        fs::rename(dir / name, dir / "sub" / name);
    Outcome o = run("--overwrite sub/job.dof");
    EXPECT_EQ(o.status, 1);
    EXPECT_EQ(o.err, "ｴﾗｰ: 元ﾌｧｲﾙは存在しません｡\n"
                     "探したﾊﾟｽ: " +
                         path("in.txt") +
                         "\n"
                         "処理ﾌｧｲﾙのﾌｫﾙﾀﾞにはあります: " +
                         path("sub/in.txt") +
                         "\n"
                         "相対ﾊﾟｽは起動したﾌｫﾙﾀﾞを基準にします｡\n"
                         "処理ﾌｧｲﾙのﾌｫﾙﾀﾞから実行してください: cd " +
                         path("sub") + " && " QUISK_BIN_DIR "/quisk-run --overwrite job.dof\n");
    EXPECT_EQ(read("Quisk.log"), "<missing>");
}

TEST_F(Runner, AnAfterRunProgramThatCannotStartExitsWithThree) {
    writeJobFile(path("job.dof"), JobDefinition{"job", "in.txt", "out.csv", "f.qfd",
                                                "/no/such/program 'an argument'", true, false, {}});
    Outcome o = run("job.dof");
    EXPECT_EQ(o.status, 3);
    EXPECT_EQ(o.err, "ｴﾗｰ: 処理後実行ﾌｧｲﾙ｢/no/such/program 'an argument'｣を実行できませんでした｡\n"
                     "ファイルまたはフォルダが見つかりません｡\n");
    EXPECT_EQ(read("out.csv"), "\"ab\",\"1\"\r\n\"cd\",\"2\"\r\n");
}

TEST_F(Runner, AStartFolderThatIsGoneOnlyCostsTheLog) {
    fs::create_directory(dir / "gone");
    Outcome o =
        run("--format '" + path("f.qfd") + "' '" + path("in.txt") + "' '" + path("out.csv") + "'",
            "cd gone && rmdir ../gone && ");
    EXPECT_EQ(o.status, 0);
    EXPECT_EQ(o.out, "確認: 2件のﾃﾞｰﾀの保存が終了しました｡\n");
    EXPECT_EQ(
        o.err,
        "ﾛｸﾞﾌｧｲﾙ｢Quisk.log｣は書き込まれませんでした｡ファイルまたはフォルダが見つかりません｡\n");
    EXPECT_EQ(read("out.csv"), "\"ab\",\"1\"\r\n\"cd\",\"2\"\r\n");
}

TEST_F(Runner, UsageErrorsHelpAndVersion) {
    EXPECT_EQ(run("").status, 2);
    EXPECT_EQ(run("a.dof b.dof").status, 2);
    EXPECT_EQ(run("--bogus job.dof").status, 2);
    EXPECT_EQ(run("--format f.qfd in.txt").status, 2);
    Outcome help = run("--help");
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("Usage: quisk-run"), std::string::npos);
    EXPECT_EQ(run("--version").out.substr(0, 24), "quisk-run (Quisk) 1.0.0\n");
}

TEST_F(Runner, OddInputsFailAtOnceNamingTheFile) {
    ASSERT_EQ(::mkfifo(path("pipe.dof").c_str(), 0600), 0);
    Outcome fifo = run("pipe.dof");
    EXPECT_EQ(fifo.status, 1);
    EXPECT_EQ(fifo.err, "ｴﾗｰ: 処理ﾌｧｲﾙの読み込みに失敗しました｡\n処理ﾌｧｲﾙ: pipe.dof\n"
                        "通常のファイルではありません｡\n");
    Outcome folderJob = run(".");
    EXPECT_EQ(folderJob.status, 1);
    EXPECT_NE(folderJob.err.find("フォルダです｡"), std::string::npos);
    Outcome folderSource = run("--format f.qfd . out.csv");
    EXPECT_EQ(folderSource.status, 1);
    EXPECT_EQ(folderSource.err, "ｴﾗｰ: 元ﾌｧｲﾙは存在しません｡\n入力元: .\n"
                                "フォルダです｡ファイルを指定してください｡\n");
    fs::create_directory(dir / "sub");
    Outcome folderDestination = run("--format f.qfd in.txt sub");
    EXPECT_EQ(folderDestination.status, 1);
    EXPECT_EQ(folderDestination.err, "ｴﾗｰ: 先ﾌｧｲﾙにﾌｫﾙﾀﾞが指定されています｡\n出力先: sub\n");
}

TEST_F(Runner, AFullDiskNamesTheDestinationAndTheCause) {
    Outcome o = run("--overwrite --format f.qfd in.txt /dev/full");
    EXPECT_EQ(o.status, 1);
    EXPECT_EQ(o.err, "ｴﾗｰ: 1件目でﾃﾞｰﾀの保存に失敗しました｡\n出力先: /dev/full\n"
                     "ディスクの空き容量が不足しています｡\n");
}

// Runs quisk-run on a large source and sends it a signal as soon as it has
// its new destination open; returns how it ended.
class InterruptedRunner : public Runner {
protected:
    void SetUp() override {
        Runner::SetUp();
        std::string source;
        source.reserve(kLines * 5);
        for (int i = 0; i < kLines; ++i)
            source += "ab1\r\n";
        writeBytes("big.txt", source);
        writeJobFile(path("big.dof"),
                     JobDefinition{"job", "big.txt", "out.csv", "f.qfd", "", true, false, {}});
    }

    int runAndSend(int signal) {
        pid_t child = ::fork();
        if (child == 0) {
            int null = ::open("/dev/null", O_WRONLY);
            if (::chdir(dir.c_str()) != 0 || ::dup2(null, 1) < 0 || ::dup2(null, 2) < 0)
                ::_exit(126);
            ::execl(QUISK_BIN_DIR "/quisk-run", "quisk-run", "big.dof", nullptr);
            ::_exit(127);
        }
        auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (!writingDestination(child) && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        ::kill(child, signal);
        int status = 0;
        ::waitpid(child, &status, 0);
        return status;
    }

    // True once the child holds a file open in the folder other than its
    // source and the log: the new destination.
    bool writingDestination(pid_t child) const {
        std::error_code ec;
        fs::path fds = "/proc/" + std::to_string(child) + "/fd";
        for (const auto& entry : fs::directory_iterator(fds, ec)) {
            std::string target = fs::read_symlink(entry.path(), ec).string();
            if (target.rfind(dir.string() + "/", 0) == 0 && target.find("big.txt") == target.npos &&
                target.find("Quisk.log") == target.npos)
                return true;
        }
        return false;
    }

    std::set<std::string> entries() const {
        std::set<std::string> names;
        for (const auto& entry : fs::directory_iterator(dir))
            names.insert(entry.path().filename().string());
        return names;
    }

    static constexpr int kLines = 4'000'000; // 20 MB
};

TEST_F(InterruptedRunner, LeavesTheOldDestinationAndNothingElse) {
    const std::string expected = "\"ab\",\"1\"\r\n";
    for (int signal : {SIGINT, SIGTERM, SIGHUP, SIGKILL}) {
        writeBytes("out.csv", "previous");
        int status = runAndSend(signal);
        std::set<std::string> left = entries();
        left.erase("Quisk.log"); // there when the signal came after it was opened
        EXPECT_EQ(left, (std::set<std::string>{"big.dof", "big.txt", "f.qfd", "in.txt", "job.dof",
                                               "out.csv"}))
            << "signal " << signal;
        if (WIFSIGNALED(status)) {
            EXPECT_EQ(WTERMSIG(status), signal);
            EXPECT_EQ(readWholeFile(path("out.csv")), "previous") << "signal " << signal;
        } else { // the run was done before the signal came
            EXPECT_EQ(WEXITSTATUS(status), 0);
            EXPECT_EQ(fs::file_size(path("out.csv")), expected.size() * kLines);
        }
    }
}

TEST_F(Runner, EncodingAndLineEndOverrideTheFormatForOneRun) {
    // 0x85 0x40 is a pair code page 932 does not assign
    writeBytes("in.txt", *sjis::encode("表1\r\n") + "\x85\x40" + "2\r\n");
    Outcome o = run("--encoding utf-8-bom --eol lf --format f.qfd in.txt out.csv");
    EXPECT_EQ(o.status, 0);
    EXPECT_EQ(o.out, "確認: 2件のﾃﾞｰﾀの保存が終了しました｡\n"
                     "1文字をUTF-8に変換できず､U+FFFDに置き換えました｡\n");
    EXPECT_EQ(readWholeFile(path("out.csv")), "\xEF\xBB\xBF\"表\",\"1\"\n\"\uFFFD\",\"2\"\n");
    Outcome back = run("--overwrite --encoding sjis --eol crlf --format f.qfd in.txt out.csv");
    EXPECT_EQ(back.status, 0);
    EXPECT_EQ(back.out, "確認: 2件のﾃﾞｰﾀの保存が終了しました｡\n"); // nothing replaced
    EXPECT_EQ(readWholeFile(path("out.csv")),
              *sjis::encode("\"表\",\"1\"\r\n") + "\"\x85\x40\",\"2\"\r\n");
    EXPECT_EQ(run("--overwrite --encoding utf8 --format f.qfd in.txt out.csv").status, 2);
    EXPECT_EQ(run("--overwrite --eol cr --format f.qfd in.txt out.csv").status, 2);
    EXPECT_NE(run("--help").out.find("--encoding E"), std::string::npos);
}

} // namespace
} // namespace quisk
