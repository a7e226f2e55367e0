// The bundled bank-transfer example: quisk-run splits its four record types
// into four CSV files in one run, and its format and job files keep their
// bytes when loaded and saved.
#include "app/job_file.h"
#include "common/file_io.h"
#include "common/sjis.h"
#include "format/format_file.h"
#include "support/temp_folder.h"

#include <cstdio>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/wait.h>

namespace quisk {
namespace {

namespace fs = std::filesystem;

const std::string kExample = std::string(QUISK_SOURCE_DIR) + "/examples/zengin";

class ZenginExample : public testing::TempFolder {
protected:
    void SetUp() override {
        TempFolder::SetUp();
        fs::copy(kExample, dir, fs::copy_options::recursive);
    }
    int runJob() {
        std::string command = "cd '" + dir.string() +
                              "' && timeout 20 '" QUISK_BIN_DIR
                              "/quisk-run' zengin.dof >out.txt 2>err.txt";
        int status = std::system(command.c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    std::vector<std::string> lines(const std::string& name) const {
        std::vector<std::string> out;
        std::string text = readText(name);
        for (std::size_t at = 0, end; (end = text.find("\r\n", at)) != std::string::npos;
             at = end + 2)
            out.push_back(text.substr(at, end - at));
        return out;
    }
};

TEST_F(ZenginExample, OneRunSplitsTheFileIntoItsFourRecordTypes) {
    ASSERT_EQ(runJob(), 0) << readText("err.txt");
    const auto header = lines("header.csv");
    const auto data = lines("data.csv");
    const auto trailer = lines("trailer.csv");
    ASSERT_EQ(header.size(), 2u);
    ASSERT_EQ(data.size(), 21u); // the field names and 20 transfers
    ASSERT_EQ(trailer.size(), 2u);
    EXPECT_EQ(lines("end.csv"), (std::vector<std::string>{"\"データ区分\"", "9"}));
    EXPECT_EQ(header[1].substr(0, 19), "1,21,0,1234567890,\"");
    EXPECT_NE(data[1].find("\"ﾔﾏﾀﾞ ﾀﾛｳ "), std::string::npos);
    // the trailer's count and total agree with the data records
    long long total = 0;
    for (std::size_t i = 1; i < data.size(); ++i) {
        // the amount is the tenth value; no earlier value holds a comma
        std::size_t at = 0;
        for (int comma = 0; comma < 9; ++comma)
            at = data[i].find(',', at) + 1;
        total += std::stoll(data[i].substr(at, 10));
    }
    EXPECT_EQ(trailer[1], "8,000020," + std::string(12 - std::to_string(total).size(), '0') +
                              std::to_string(total));
    EXPECT_NE(readWholeFile(path("out.txt"))->find("23件のﾃﾞｰﾀの保存が終了しました｡"),
              std::string::npos);
    EXPECT_NE(readText("Quisk.log").find("ﾚｺｰﾄﾞ長120ﾊﾞｲﾄ､改行なし｡"), std::string::npos);
}

TEST_F(ZenginExample, FormatsAndJobSaveByteForByte) {
    ScriptedMessageBoxes boxes;
    for (const char* name : {"header.qfd", "data.qfd", "trailer.qfd", "end.qfd"}) {
        FormatDefinition f;
        ASSERT_TRUE(loadFormatFile(path(name), f, boxes)) << name;
        EXPECT_EQ(decimalValue(f.settings.recordLength), 120) << name;
        ASSERT_TRUE(saveFormatFile(path("again.qfd"), f, boxes));
        EXPECT_EQ(readWholeFile(path("again.qfd")), readWholeFile(path(name))) << name;
    }
    auto job = readJobFile(path("zengin.dof"));
    ASSERT_TRUE(job);
    EXPECT_EQ(job->extraPairs.size(), 3u);
    ASSERT_TRUE(writeJobFile(path("again.dof"), *job));
    EXPECT_EQ(readWholeFile(path("again.dof")), readWholeFile(path("zengin.dof")));
    EXPECT_TRUE(boxes.shown.empty());
}

} // namespace
} // namespace quisk
