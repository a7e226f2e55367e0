#include "app/help_file.h"
#include "common/file_io.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <unistd.h>

namespace quisk {
namespace {

namespace fs = std::filesystem;

class HelpFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("quisk_help_" + std::to_string(::getpid()));
        fs::create_directories(dir / "bin");
        fs::create_directories(dir / "share");
    }
    void TearDown() override { fs::remove_all(dir); }
    std::string at(const std::string& name) const { return (dir / name).string(); }

    fs::path dir;
    ScriptedMessageBoxes boxes;
};

TEST_F(HelpFileTest, TheFileBesideTheProgramComesFirst) {
    EXPECT_EQ(helpFilePath(at("bin"), at("share")), at("bin/Quisk.hlp")); // neither exists
    std::ofstream(at("share/Quisk.hlp")) << "installed";
    EXPECT_EQ(helpFilePath(at("bin"), at("share")), at("share/Quisk.hlp"));
    std::ofstream(at("bin/Quisk.hlp")) << "beside";
    EXPECT_EQ(helpFilePath(at("bin"), at("share")), at("bin/Quisk.hlp"));
}

TEST_F(HelpFileTest, TheBuildTreeHasTheHelpFileBesideTheProgram) {
    std::string path = helpFilePath(QUISK_BIN_DIR, at("share"));
    EXPECT_TRUE(helpFileReadable(path, boxes));
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(HelpFileTest, AMissingFileIsSaidInAMessageBox) {
    EXPECT_FALSE(helpFileReadable(at("bin/Quisk.hlp"), boxes));
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0], (Message{"ﾍﾙﾌﾟﾌｧｲﾙ｢" + at("bin/Quisk.hlp") + "｣が見つかりません｡",
                                       "ｴﾗｰ", Icon::Stop}));
}

} // namespace
} // namespace quisk
