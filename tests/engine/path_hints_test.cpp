// Missing-path messages: where the run looked, and a hint when a relative
// path was meant from the job file's folder.
#include "engine/path_hints.h"
#include "support/temp_folder.h"

#include <filesystem>

namespace quisk {
namespace {

namespace fs = std::filesystem;

class PathHints : public testing::TempFolder {
protected:
    void SetUp() override {
        TempFolder::SetUp();
        fs::create_directories(dir / "start");
        fs::create_directories(dir / "jobs" / "out");
        writeText("jobs/in.txt", "x");
        context = {path("start"), "../jobs/job.dof", ""};
    }
    std::string text(const std::string& missing, PathRole role = PathRole::File) {
        return missingPathText("元ﾌｧｲﾙは存在しません｡", missing, role, context);
    }
    std::string jobs() const { return path("jobs"); }

    PathHintContext context;
};

TEST_F(PathHints, ARelativePathFoundBesideTheJobSaysWhereToStart) {
    EXPECT_EQ(text("in.txt"), "元ﾌｧｲﾙは存在しません｡\r"
                              "探したﾊﾟｽ: " +
                                  path("start/in.txt") +
                                  "\r"
                                  "処理ﾌｧｲﾙのﾌｫﾙﾀﾞにはあります: " +
                                  jobs() +
                                  "/in.txt\r"
                                  "相対ﾊﾟｽは起動したﾌｫﾙﾀﾞを基準にします｡\r"
                                  "Quiskを処理ﾌｧｲﾙのﾌｫﾙﾀﾞ｢" +
                                  jobs() + "｣から起動してください｡");

    // The runner names the command; a folder with a blank is quoted.
    fs::rename(dir / "jobs", dir / "my jobs");
    context.jobPath = path("my jobs/job.dof");
    context.rerunCommand = "quisk-run job.dof";
    EXPECT_EQ(text("./in.txt").substr(text("./in.txt").rfind('\r') + 1),
              "処理ﾌｧｲﾙのﾌｫﾙﾀﾞから実行してください: cd '" + path("my jobs") +
                  "' && quisk-run job.dof");
}

TEST_F(PathHints, OnlyThePathTriedWhenNothingHelps) {
    // Found nowhere.
    EXPECT_EQ(text("sub/../none.txt"),
              "元ﾌｧｲﾙは存在しません｡\r探したﾊﾟｽ: " + path("start/none.txt"));
    // Absolute: the same file wherever the run starts.
    EXPECT_EQ(text(path("none.txt")), "元ﾌｧｲﾙは存在しません｡\r探したﾊﾟｽ: " + path("none.txt"));
    // No job file (the runner given a format and two paths).
    context.jobPath.clear();
    EXPECT_EQ(text("in.txt"), "元ﾌｧｲﾙは存在しません｡\r探したﾊﾟｽ: " + path("start/in.txt"));
    // A folder beside the job is not the file that is asked for.
    context.jobPath = path("jobs/job.dof");
    EXPECT_EQ(text("out"), "元ﾌｧｲﾙは存在しません｡\r探したﾊﾟｽ: " + path("start/out"));
}

TEST_F(PathHints, TheDestinationNeedsItsFolder) {
    EXPECT_EQ(destinationFolder("out.csv"), ".");
    EXPECT_EQ(destinationFolder("out/a.csv"), "out");
    EXPECT_EQ(destinationFolder("/a.csv"), "/");
    EXPECT_NE(text(destinationFolder("out/a.csv"), PathRole::Folder).find("jobs/out\r"),
              std::string::npos);
    EXPECT_EQ(text(destinationFolder("in.txt/a.csv"), PathRole::Folder),
              "元ﾌｧｲﾙは存在しません｡\r探したﾊﾟｽ: " + path("start/in.txt"));
}

TEST(ShellWord, QuotesOnlyWhatTheShellWouldSplitOrExpand) {
    EXPECT_EQ(shellWord("/srv/jobs-2026/a_b.dof"), "/srv/jobs-2026/a_b.dof");
    EXPECT_EQ(shellWord("売上 月次"), "'売上 月次'");
    EXPECT_EQ(shellWord("it's $HOME"), "'it'\\''s $HOME'");
}

} // namespace
} // namespace quisk
