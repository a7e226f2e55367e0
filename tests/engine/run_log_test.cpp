#include "engine/engine_texts.h"
#include "engine/run_log.h"
#include "support/temp_folder.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace quisk {
namespace {

namespace fs = std::filesystem;

class Log : public testing::TempFolder {
protected:
    std::string logPath() const { return path("Quisk.log"); }
    std::string runOnce(const std::string& source, const std::string& outcome) {
        RunLog log(logPath());
        log.begin(source, "out.csv");
        log.finish(outcome);
        return log.problem();
    }
};

TEST_F(Log, WritesPathsWithoutAShiftJisFormWithAStandIn) {
    EXPECT_EQ(runOnce("café😀/波〜線−.txt", "1件のﾃﾞｰﾀの保存が終了しました｡"), "");
    EXPECT_EQ(readWholeFile(logPath()),
              "caf?"
              "?/" +
                  *sjis::encode("波〜線−.txt") + *sjis::encode("を読込み､out.csvに書込む｡") +
                  "\r\n" + *sjis::encode("1件のﾃﾞｰﾀの保存が終了しました｡") + "\r\n");
}

TEST_F(Log, IsRewrittenWholeSoItOnlyDescribesTheLastRun) {
    writeText("Quisk.log", std::string(500, 'x') + "\r\nold\r\nlines\r\n");
    runOnce("a.txt", "done");
    EXPECT_EQ(readText("Quisk.log"), "a.txtを読込み､out.csvに書込む｡\r\ndone\r\n");
}

// Nothing, or one line of digits: what runOnce writes as the outcome.
bool outcomeOrNothing(std::string_view rest) {
    if (rest.empty())
        return true;
    if (!rest.ends_with("\r\n") || rest.size() < 3)
        return false;
    rest.remove_suffix(2);
    return std::all_of(rest.begin(), rest.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// The log's bytes as a reader that honours the runs' lock sees them.
std::string readLocked(const std::string& path) {
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return "";
    ::flock(fd, LOCK_SH);
    std::string bytes;
    char buffer[4096];
    for (ssize_t n; (n = ::read(fd, buffer, sizeof buffer)) > 0;)
        bytes.append(buffer, static_cast<std::size_t>(n));
    ::close(fd);
    return bytes;
}

TEST_F(Log, TwoRunsAtOnceLeaveTheLinesOfOneOfThem) {
    const std::string longSource(300, 'a');
    std::atomic<int> running{2};
    auto runMany = [&](const std::string& source) {
        for (int i = 0; i < 300; ++i)
            runOnce(source, std::to_string(i));
        --running;
    };
    std::thread a(runMany, longSource);
    std::thread b(runMany, "b");
    // Whenever it looks, a reader finds the first line of one run, followed
    // by nothing or by that run's outcome.
    auto whole = [&](const std::string& bytes) {
        for (const std::string& source : {longSource, std::string("b")}) {
            std::string first = *sjis::encode(source + "を読込み､out.csvに書込む｡\r\n");
            if (bytes.starts_with(first))
                return outcomeOrNothing(bytes.substr(first.size()));
        }
        return bytes.empty(); // not yet created
    };
    std::string torn;
    while (running > 0 && torn.empty()) {
        std::string bytes = readLocked(logPath());
        if (!whole(bytes))
            torn = bytes;
    }
    a.join();
    b.join();
    EXPECT_EQ(torn, "");
    std::string text = readText("Quisk.log");
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 2) << text;
}

TEST_F(Log, ARewriteWaitsForTheLockOfAnotherRun) {
    writeText("Quisk.log", "other run\r\n");
    int fd = ::open(logPath().c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_EQ(::flock(fd, LOCK_EX), 0);
    std::thread run([this] { runOnce("a", "done"); });
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_EQ(readText("Quisk.log"), "other run\r\n");
    ::close(fd); // releases the lock
    run.join();
    EXPECT_EQ(readText("Quisk.log"), "aを読込み､out.csvに書込む｡\r\ndone\r\n");
}

TEST_F(Log, NeverWritesThroughALinkOrIntoSomethingElse) {
    std::string precious = writeText("precious.txt", "keep");
    fs::create_symlink(precious, logPath());
    EXPECT_EQ(runOnce("a", "done"), engine_texts::kLogIsLink);
    fs::remove(logPath());
    fs::create_symlink(path("nowhere"), logPath()); // dangling: nothing is created
    EXPECT_EQ(runOnce("a", "done"), engine_texts::kLogIsLink);
    EXPECT_FALSE(fs::exists(path("nowhere")));
    fs::remove(logPath());

    fs::create_hard_link(precious, logPath());
    EXPECT_EQ(runOnce("a", "done"), engine_texts::kLogHasOtherNames);
    EXPECT_EQ(readText("precious.txt"), "keep");
    fs::remove(logPath());

    ASSERT_EQ(::mkfifo(logPath().c_str(), 0600), 0); // must not block
    EXPECT_EQ(runOnce("a", "done"), common_texts::kNotARegular);
    fs::remove(logPath());
    fs::create_directory(logPath());
    EXPECT_EQ(runOnce("a", "done"), common_texts::kNotARegular);
}

TEST_F(Log, AMissingFolderIsReportedNotFatal) {
    RunLog log(path("gone/Quisk.log"));
    log.begin("a", "b");
    log.finish("done");
    EXPECT_EQ(log.problem(), common_texts::kNotFound);
    EXPECT_EQ(runLogPath(""), "Quisk.log"); // a start folder that had no name
    EXPECT_EQ(runLogPath("/x"), "/x/Quisk.log");
}

TEST_F(Log, KnowsFilesThatAreTheLog) {
    writeText("Quisk.log", "log");
    writeText("in.txt", "in");
    fs::create_symlink(logPath(), path("link.txt"));
    EXPECT_TRUE(isRunLog(logPath(), logPath()));
    EXPECT_TRUE(isRunLog(path("link.txt"), logPath()));
    EXPECT_TRUE(isRunLog(path("./Quisk.log"), logPath()));
    EXPECT_FALSE(isRunLog(path("in.txt"), logPath()));
    EXPECT_FALSE(isRunLog(path("new.csv"), logPath()));
    fs::remove(logPath());
    EXPECT_TRUE(isRunLog(path("new/../Quisk.log"), logPath())); // neither exists yet
    EXPECT_FALSE(isRunLog(path("in.txt"), logPath()));
}

} // namespace
} // namespace quisk
