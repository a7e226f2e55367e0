// The desktop program started with "/I" on the offscreen platform must write
// exactly what the headless runner writes for the same job.
#include "app/job_file.h"
#include "common/file_io.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <unistd.h>

namespace quisk {
namespace {

namespace fs = std::filesystem;

class UnattendedRunTest : public ::testing::Test {
protected:
    void SetUp() override {
        root = fs::temp_directory_path() / ("quisk_unattended_" + std::to_string(::getpid()));
        fs::remove_all(root);
        for (const char* name : {"desktop", "runner"}) {
            fs::create_directories(root / name);
            for (const char* file : {"sales.txt", "sales.qfd"})
                fs::copy_file(fs::path(QUISK_SOURCE_DIR) / "examples" / file, root / name / file);
            JobDefinition job{"売上の変換", "sales.txt", "sales.csv", "sales.qfd", "", false, true, {}};
            ASSERT_TRUE(writeJobFile((root / name / "job.dof").string(), job));
        }
    }
    void TearDown() override { fs::remove_all(root); }

    // Runs a command in one of the folders; the exit status, or -1.
    int runIn(const char* folder, const std::string& command) {
        std::string line = "cd '" + (root / folder).string() + "' && " + command;
        int status = std::system(line.c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    fs::path root;
};

TEST_F(UnattendedRunTest, WritesWhatTheRunnerWrites) {
    fs::path desktop = fs::path(QUISK_BIN_DIR) / "quisk";
    fs::path runner = fs::path(QUISK_BIN_DIR) / "quisk-run";
    if (!fs::exists(desktop) || !fs::exists(runner))
        GTEST_SKIP() << "build the quisk and quisk-run targets first";

    // A program that does not end by itself fails here after the time-out
    // instead of hanging the test run.
    EXPECT_EQ(runIn("desktop",
                    "QT_QPA_PLATFORM=offscreen timeout 60 '" + desktop.string() + "' job.dof /I"),
              0);
    EXPECT_EQ(runIn("runner", "'" + runner.string() + "' job.dof > /dev/null"), 0);

    for (const char* file : {"sales.csv", "Quisk.log"}) {
        auto fromDesktop = readWholeFile((root / "desktop" / file).string());
        auto fromRunner = readWholeFile((root / "runner" / file).string());
        ASSERT_TRUE(fromDesktop && fromRunner) << file;
        EXPECT_FALSE(fromDesktop->empty()) << file;
        EXPECT_EQ(*fromDesktop, *fromRunner) << file;
    }
}

} // namespace
} // namespace quisk
