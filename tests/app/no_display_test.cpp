// The desktop program started without a display: a Japanese word naming the
// ways to run a job without one and exit status 2, never Qt's plugin text.
#include "app/job_file.h"
#include "support/temp_folder.h"

#include <cstdio>
#include <filesystem>
#include <sys/wait.h>

namespace quisk {
namespace {

namespace fs = std::filesystem;

struct Outcome {
    int status = -1;
    std::string err;
};

class NoDisplay : public testing::TempFolder {
protected:
    void SetUp() override {
        TempFolder::SetUp();
        if (!fs::exists(desktop()))
            GTEST_SKIP() << "build the quisk target first";
    }
    static fs::path desktop() { return fs::path(QUISK_BIN_DIR) / "quisk"; }

    // Starts quisk in the test's folder with the display variables removed
    // and the given ones set; standard error is kept, standard output dropped.
    Outcome start(const std::string& variables, const std::string& arguments = "") {
        std::string command = "cd '" + dir.string() +
                              "' && env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM " +
                              variables + " timeout 60 '" + desktop().string() + "' " + arguments +
                              " 2>&1 >/dev/null";
        Outcome o;
        FILE* pipe = ::popen(command.c_str(), "r");
        char buffer[4096];
        for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
            o.err.append(buffer, n);
        int status = ::pclose(pipe);
        o.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        return o;
    }
    static void expectTheClearWord(const Outcome& o, const std::string& firstLine) {
        EXPECT_EQ(o.status, 2);
        EXPECT_EQ(o.err.substr(0, o.err.find('\n')), firstLine);
        EXPECT_NE(o.err.find("\n  quisk-run 処理ﾌｧｲﾙ.dof "), std::string::npos) << o.err;
        EXPECT_NE(o.err.find("\n  quisk -platform offscreen 処理ﾌｧｲﾙ.dof /I "), std::string::npos)
            << o.err;
        EXPECT_EQ(o.err.find("qt.qpa"), std::string::npos) << o.err;
        EXPECT_EQ(o.err.find("Reinstalling"), std::string::npos) << o.err;
    }
};

TEST_F(NoDisplay, NoDisplayVariablesGetTheClearWord) {
    expectTheClearWord(
        start(""), "quisk: ﾃﾞｨｽﾌﾟﾚｲがありません(DISPLAY も WAYLAND_DISPLAY も設定されていません)｡");
    // Empty variables count as unset.
    expectTheClearWord(
        start("DISPLAY= WAYLAND_DISPLAY=", "job.dof /I"),
        "quisk: ﾃﾞｨｽﾌﾟﾚｲがありません(DISPLAY も WAYLAND_DISPLAY も設定されていません)｡");
}

TEST_F(NoDisplay, APlatformThatCannotStartGetsTheSameWord) {
    const std::string failed =
        "quisk: ﾃﾞｨｽﾌﾟﾚｲに接続できません(画面表示用のﾌﾟﾗｸﾞｲﾝを開始できませんでした)｡";
    // A display that is not there, through the default platform and a chosen one.
    expectTheClearWord(start("DISPLAY=:7913"), failed);
    expectTheClearWord(start("", "-platform xcb"), failed);
    expectTheClearWord(start("QT_QPA_PLATFORM=no-such-platform"), failed);
}

TEST_F(NoDisplay, TheOffscreenPlatformStillRunsAJob) {
    writeText("in.txt", "ab\r\n");
    writeText("f.qfd", "\"A\",\"1\",\"2\",\"Char\",\"\",\"\"\r\n");
    ASSERT_TRUE(writeJobFile(path("job.dof"),
                             JobDefinition{"job", "in.txt", "out.csv", "f.qfd", "", false, true, {}}));
    Outcome byOption = start("", "-platform offscreen job.dof /I");
    EXPECT_EQ(byOption.status, 0) << byOption.err;
    EXPECT_EQ(readText("out.csv"), "\"ab\"\r\n");
    fs::remove(dir / "out.csv");
    EXPECT_EQ(start("QT_QPA_PLATFORM=offscreen", "job.dof /I").status, 0);
    EXPECT_EQ(readText("out.csv"), "\"ab\"\r\n");
}

} // namespace
} // namespace quisk
