#include "common/file_io.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quisk {
namespace {

namespace fs = std::filesystem;

class FileIo : public testing::TempFolder {
protected:
    std::size_t entries() const {
        return static_cast<std::size_t>(std::distance(fs::directory_iterator(dir), {}));
    }
};

TEST_F(FileIo, ReplacesOnlyOnCommitAndKeepsTheFileMode) {
    std::string target = path("out.txt");
    ASSERT_TRUE(writeFileAtomically(target, "old"));
    ::chmod(target.c_str(), 0640);
    {
        OutputFile file;
        ASSERT_TRUE(file.open(target));
        ASSERT_TRUE(file.write("new"));
        EXPECT_EQ(readWholeFile(target), "old"); // not yet in place
        ASSERT_TRUE(file.commit());
    }
    EXPECT_EQ(readWholeFile(target), "new");
    struct stat st {};
    ::stat(target.c_str(), &st);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    EXPECT_EQ(entries(), 1u);
}

TEST_F(FileIo, SpaceReservedAheadOfALargeFileIsGivenBack) {
    std::string target = path("large.txt");
    const std::string block(700 * 1024, 'x');
    OutputFile file;
    ASSERT_TRUE(file.open(target));
    for (int i = 0; i < 5; ++i)
        ASSERT_TRUE(file.write(block));
    ASSERT_TRUE(file.commit());
    struct stat st {};
    ASSERT_EQ(::stat(target.c_str(), &st), 0);
    EXPECT_EQ(static_cast<std::size_t>(st.st_size), 5 * block.size());
    EXPECT_LE(static_cast<std::size_t>(st.st_blocks) * 512, 5 * block.size() + 64 * 1024);
}

TEST_F(FileIo, AnUncommittedFileLeavesThePreviousOneAndNoLeftovers) {
    std::string target = path("out.txt");
    ASSERT_TRUE(writeFileAtomically(target, "previous"));
    {
        OutputFile file;
        ASSERT_TRUE(file.open(target));
        ASSERT_TRUE(file.write("half"));
    }
    EXPECT_EQ(readWholeFile(target), "previous");
    EXPECT_EQ(entries(), 1u);
}

TEST_F(FileIo, WritesThroughALinkToItsTarget) {
    std::string target = path("real.txt");
    std::string link = path("link.txt");
    ASSERT_TRUE(writeFileAtomically(target, "a"));
    fs::create_symlink(target, link);
    ASSERT_TRUE(writeFileAtomically(link, "b"));
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(readWholeFile(target), "b");
}

TEST_F(FileIo, RefusesDirectoriesAndMissingFolders) {
    OutputFile file;
    EXPECT_FALSE(file.open(dir.string()));
    EXPECT_FALSE(file.open(path("missing/out.txt")));
    EXPECT_FALSE(readWholeFile(dir.string()));
    EXPECT_FALSE(readWholeFile(path("missing.txt")));
    EXPECT_FALSE(isRegularFile(dir.string()));
}

TEST_F(FileIo, WritesAFifoDirectly) {
    std::string fifo = path("pipe");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_FALSE(isRegularFile(fifo));
    int readEnd = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(readEnd, 0);
    OutputFile file;
    ASSERT_TRUE(file.open(fifo));
    ASSERT_TRUE(file.write("through"));
    ASSERT_TRUE(file.commit(true));
    char buffer[16] = {};
    EXPECT_EQ(::read(readEnd, buffer, sizeof buffer), 7);
    ::close(readEnd);
    EXPECT_TRUE(fs::is_fifo(fifo));
}

} // namespace
} // namespace quisk
