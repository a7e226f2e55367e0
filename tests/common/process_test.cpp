#include "common/process.h"
#include "support/temp_folder.h"

#include <chrono>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <thread>

namespace quisk {
namespace {

namespace fs = std::filesystem;
using Words = std::vector<std::string>;

bool appears(const fs::path& file) {
    for (int i = 0; i < 150 && !fs::exists(file); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    return fs::exists(file);
}

// A script that writes its arguments, one a line, into a file beside it.
class Programs : public testing::TempFolder {
protected:
    std::string script(const std::string& name) {
        fs::path file = dir / name;
        fs::create_directories(file.parent_path());
        std::ofstream(file) << "#!/bin/sh\nprintf '%s\\n' \"$@\" > \"$(dirname \"$0\")/args.tmp\"\n"
                               "mv \"$(dirname \"$0\")/args.tmp\" \"$(dirname \"$0\")/args\"\n";
        fs::permissions(file, fs::perms::owner_all);
        return file.string();
    }
    std::string argumentsBeside(const std::string& file) {
        fs::path args = fs::path(file).parent_path() / "args";
        return appears(args) ? readWholeFile(args.string()).value_or("") : "<not started>";
    }
};

TEST(CommandLine, SplitsLikeAShellButExpandsNothing) {
    EXPECT_EQ(splitCommandLine("  a  b\tc "), (Words{"a", "b", "c"}));
    EXPECT_EQ(splitCommandLine("'a b' \"c d\" e\\ f"), (Words{"a b", "c d", "e f"}));
    EXPECT_EQ(splitCommandLine("\"say \\\"hi\\\" \\$x \\n\""), (Words{"say \"hi\" $x \\n"}));
    EXPECT_EQ(splitCommandLine("x'y'\"z\" '' \"\""), (Words{"xyz", "", ""}));
    EXPECT_EQ(splitCommandLine("price$list.sh ~/bin/* $(date) `id`"),
              (Words{"price$list.sh", "~/bin/*", "$(date)", "`id`"}));
    EXPECT_EQ(splitCommandLine(""), Words{});
    EXPECT_FALSE(splitCommandLine("'unbalanced"));
    EXPECT_FALSE(splitCommandLine("\"unbalanced\\\""));
}

TEST(CommandLine, QuotedPathsSplitBackIntoThemselves) {
    for (std::string path :
         {"/usr/bin/true", "/a b/c.sh", "/it's/\"q\"/$x/`y`/back\\slash", "/tab\there", ""}) {
        auto words = splitCommandLine(quoteCommandWord(path));
        ASSERT_TRUE(words) << path;
        EXPECT_EQ(*words, Words{path});
    }
    EXPECT_EQ(quoteCommandWord("/usr/bin/true"), "/usr/bin/true");
    EXPECT_EQ(quoteCommandWord("/a b/c.sh"), "\"/a b/c.sh\"");
}

TEST_F(Programs, RunsTheWholeTextAsOnePathWhenItNamesAFile) {
    std::string spaced = script("my tools/after run.sh");
    EXPECT_TRUE(startProgram(spaced));
    EXPECT_EQ(argumentsBeside(spaced), "\n"); // printf's line for no arguments

    std::string dollar = script("d/price$list.sh");
    script("d/price.sh"); // what variable expansion would have run
    EXPECT_TRUE(startProgram(dollar));
    EXPECT_EQ(argumentsBeside(dollar), "\n");
    EXPECT_EQ(commandWords(dollar), Words{dollar});
}

TEST_F(Programs, PassesQuotedArgumentsLiterallyWithoutWaiting) {
    std::string run = script("bin/run.sh");
    fs::path marker = dir / "touched";
    std::string line =
        quoteCommandWord(run) + " 'one two' $HOME ~ * \"$(touch " + marker.string() + ")\"";
    EXPECT_TRUE(startProgram(line));
    EXPECT_EQ(argumentsBeside(run), "one two\n$HOME\n~\n*\n$(touch " + marker.string() + ")\n");
    EXPECT_FALSE(fs::exists(marker));

    fs::path late = dir / "late";
    ASSERT_TRUE(startProgram("/bin/sh -c 'sleep 0.2; touch \"$0\"' " + quoteCommandWord(late)));
    EXPECT_FALSE(fs::exists(late)); // returned before the program finished
    EXPECT_TRUE(appears(late));
}

TEST_F(Programs, SaysWhyAProgramCannotStart) {
    EXPECT_EQ(startProgram("/no/such/program --flag").error, ENOENT);
    EXPECT_EQ(startProgram("").error, ENOENT);
    EXPECT_EQ(startProgram("'unbalanced").error, EINVAL);
    writeText("not-executable.sh", "#!/bin/sh\n");
    EXPECT_EQ(startProgram(path("not-executable.sh")).error, EACCES);
}

} // namespace
} // namespace quisk
