#include "common/process.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

namespace quisk {
namespace {

namespace fs = std::filesystem;

TEST(Process, StartsAProgramWithQuotedArgumentsWithoutWaiting) {
    fs::path marker = fs::temp_directory_path() / ("quisk-started " + std::to_string(::getpid()));
    fs::remove(marker);
    ASSERT_TRUE(startProgram("/bin/sh -c 'sleep 0.2; touch \"$0\"' '" + marker.string() + "'"));
    EXPECT_FALSE(fs::exists(marker)); // returned before the program finished
    for (int i = 0; i < 100 && !fs::exists(marker); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_TRUE(fs::exists(marker));
    fs::remove(marker);
}

TEST(Process, ReportsAProgramThatCannotBeStarted) {
    EXPECT_FALSE(startProgram("/no/such/program --flag"));
    EXPECT_FALSE(startProgram(""));
    EXPECT_FALSE(startProgram("echo $(touch /tmp/never)")); // no command substitution
    EXPECT_FALSE(startProgram("'unbalanced"));
}

} // namespace
} // namespace quisk
