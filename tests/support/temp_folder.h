#pragma once

#include "common/file_io.h"
#include "common/sjis.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <unistd.h>

namespace quisk::testing {

// A fresh, empty folder for each test (named after it, so tests running in
// parallel never share one), removed afterwards.
class TempFolder : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        dir = std::filesystem::temp_directory_path() /
              ("quisk-" + std::to_string(::getpid()) + "-" + info->test_suite_name() + "-" +
               info->name());
        std::filesystem::remove_all(dir);
        std::filesystem::create_directories(dir);
    }
    void TearDown() override { std::filesystem::remove_all(dir); }

    std::string path(const std::string& name) const { return (dir / name).string(); }

    // Writes UTF-8 text as Shift-JIS bytes.
    std::string writeText(const std::string& name, const std::string& utf8) const {
        return writeBytes(name, *sjis::encode(utf8));
    }
    std::string writeBytes(const std::string& name, const std::string& bytes) const {
        EXPECT_TRUE(writeFileAtomically(path(name), bytes));
        return path(name);
    }
    // Reads a Shift-JIS file as UTF-8 text ("<missing>" when absent).
    std::string readText(const std::string& name) const {
        auto bytes = readWholeFile(path(name));
        return bytes ? sjis::decode(*bytes).value_or("<not Shift-JIS>") : "<missing>";
    }

    std::filesystem::path dir;
};

} // namespace quisk::testing
