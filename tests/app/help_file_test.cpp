#include "app/help_file.h"
#include "common/file_io.h"
#include "common/platform.h"

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
    RecordingLauncher launcher;
};

TEST_F(HelpFileTest, TheFileBesideTheProgramComesFirst) {
    EXPECT_EQ(helpFilePath(at("bin"), at("share")), at("bin/Quisk.hlp")); // neither exists
    std::ofstream(at("share/Quisk.hlp")) << "installed";
    EXPECT_EQ(helpFilePath(at("bin"), at("share")), at("share/Quisk.hlp"));
    std::ofstream(at("bin/Quisk.hlp")) << "beside";
    EXPECT_EQ(helpFilePath(at("bin"), at("share")), at("bin/Quisk.hlp"));
}

TEST_F(HelpFileTest, TheBuildTreeHasTheHelpFileBesideTheProgram) {
    EXPECT_TRUE(isRegularFile(helpFilePath(QUISK_BIN_DIR, at("share"))));
}

TEST_F(HelpFileTest, AMissingFileIsReportedAndNothingStarts) {
    openHelpFile(at("bin/Quisk.hlp"), launcher, boxes);
    EXPECT_TRUE(launcher.started.empty());
    EXPECT_EQ(boxes.shown.at(0), (Message{"ﾍﾙﾌﾟﾌｧｲﾙ｢" + at("bin/Quisk.hlp") + "｣が見つかりません｡",
                                          "ｴﾗｰ", Icon::Stop}));
}

TEST_F(HelpFileTest, TheViewerGetsAnHtmlLinkToTheFile) {
    // Desktops map ".hlp" to an old Windows format; the viewer is given a
    // link ending in ".html", quoted as one shell word.
    std::string odd = at("it's $HOME; x.hlp");
    std::ofstream(odd) << "help";
    ::setenv("XDG_RUNTIME_DIR", at("bin").c_str(), 1);
    openHelpFile(odd, launcher, boxes);
    ::unsetenv("XDG_RUNTIME_DIR");
    ASSERT_EQ(launcher.started.size(), 1u);
    EXPECT_EQ(launcher.started[0], "xdg-open '" + at("bin/Quisk-help.html") + "'");
    EXPECT_EQ(fs::canonical(at("bin/Quisk-help.html")), fs::canonical(odd));
    EXPECT_TRUE(boxes.shown.empty());

    launcher.succeed = false;
    openHelpFile(odd, launcher, boxes);
    EXPECT_EQ(boxes.texts(), std::vector<std::string>{"ﾍﾙﾌﾟﾌｧｲﾙ｢" + odd + "｣を開けませんでした｡"});
}

} // namespace
} // namespace quisk
