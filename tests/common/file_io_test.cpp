#include "common/file_io.h"
#include "common/signal_cleanup.h"
#include "support/temp_folder.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <future>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
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

// Prepared, a file has a hidden name beside its target and the target is
// untouched; a discard then leaves nothing, a commit only renames.
TEST_F(FileIo, APreparedFileIsNamedBesideItsTargetUntilCommittedOrDiscarded) {
    const std::string kept = path("kept.txt"), dropped = path("dropped.txt");
    ASSERT_TRUE(writeFileAtomically(kept, "old"));
    OutputFile replace, create;
    ASSERT_TRUE(replace.open(kept) && replace.write("new") && replace.prepareCommit());
    ASSERT_TRUE(create.open(dropped) && create.write("new") && create.prepareCommit());
    EXPECT_EQ(readWholeFile(kept), "old");
    EXPECT_FALSE(pathExists(dropped));
    EXPECT_EQ(entries(), 3u); // kept.txt and the two hidden names
    create.discard();
    EXPECT_EQ(entries(), 2u);
    ASSERT_TRUE(replace.commit());
    EXPECT_EQ(readWholeFile(kept), "new");
    EXPECT_EQ(entries(), 1u);
    // A file that cannot be prepared says why, and its target stays.
    OutputFile blocked;
    ASSERT_TRUE(blocked.open(path("blocked.txt")) && blocked.write("new"));
    fs::create_directory(path("blocked.txt"));
    EXPECT_FALSE(blocked.prepareCommit());
    EXPECT_EQ(blocked.error(), EISDIR);
    blocked.discard();
    EXPECT_EQ(entries(), 2u);
    OutputFile unopened;
    EXPECT_FALSE(unopened.prepareCommit());
    EXPECT_EQ(unopened.error(), EBADF);
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

TEST_F(FileIo, FollowsLinkChainsAndCreatesTheTargetOfADanglingOne) {
    std::string link = path("link.txt");
    fs::create_symlink("sub/new.txt", link);
    fs::create_directory(dir / "sub");
    EXPECT_TRUE(pathExists(link));
    EXPECT_FALSE(isRegularFile(link));
    ASSERT_TRUE(writeFileAtomically(link, "created"));
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(readWholeFile(path("sub/new.txt")), "created");

    fs::create_symlink("loop2", path("loop1"));
    fs::create_symlink("loop1", path("loop2"));
    int error = 0;
    EXPECT_FALSE(writeFileAtomically(path("loop1"), "x", &error));
    EXPECT_EQ(error, ELOOP);
    EXPECT_TRUE(fs::is_symlink(path("loop1")));
}

TEST_F(FileIo, FailuresTellTheirCause) {
    int error = 0;
    OutputFile file;
    EXPECT_FALSE(file.open(dir.string()));
    EXPECT_EQ(file.error(), EISDIR);
    EXPECT_FALSE(writeFileAtomically(path("missing/out.txt"), "x", &error));
    EXPECT_EQ(error, ENOENT);
    ASSERT_TRUE(file.open("/dev/full"));
    EXPECT_FALSE(file.write(std::string(100000, 'x')));
    EXPECT_EQ(file.error(), ENOSPC);
    EXPECT_FALSE(readWholeFile(dir.string(), &error));
    EXPECT_EQ(error, EISDIR);
    EXPECT_FALSE(readWholeFile(path("missing.txt"), &error));
    EXPECT_EQ(error, ENOENT);
    EXPECT_FALSE(readWholeFile("/dev/null", &error));
    EXPECT_EQ(error, kNotARegularFile);
    EXPECT_FALSE(isRegularFile(dir.string()));
    EXPECT_TRUE(isDirectory(dir.string()));
    EXPECT_EQ(entries(), 0u);
}

TEST_F(FileIo, ReadingAFifoReturnsAtOnce) {
    std::string fifo = path("pipe");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    int error = 0;
    auto read = std::async(std::launch::async, [&] { return readWholeFile(fifo, &error); });
    if (read.wait_for(std::chrono::seconds(5)) != std::future_status::ready) {
        ::close(::open(fifo.c_str(), O_WRONLY)); // let the waiting reader go
        FAIL() << "reading a FIFO waited for a writer";
    }
    EXPECT_FALSE(read.get());
    EXPECT_EQ(error, kNotARegularFile);
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

TEST_F(FileIo, ANewFileHasNoNameUntilItIsComplete) {
    for (bool named : {false, true}) {
        OutputFile::useNamedTemporaries(named);
        {
            OutputFile file;
            ASSERT_TRUE(file.open(path("new.txt")));
            ASSERT_TRUE(file.write("abc"));
            EXPECT_FALSE(pathExists(path("new.txt")));
            EXPECT_EQ(entries(), named ? 1u : 0u); // the hidden temporary file, or nothing
        }
        EXPECT_EQ(entries(), 0u);
        OutputFile file;
        ASSERT_TRUE(file.open(path("new.txt")));
        ASSERT_TRUE(file.write("abc"));
        ASSERT_TRUE(file.commit());
        EXPECT_EQ(readWholeFile(path("new.txt")), "abc");
        EXPECT_EQ(entries(), 1u);
        fs::remove(path("new.txt"));
    }
    OutputFile::useNamedTemporaries(false);
}

// A child process writes a file the way a run does and is stopped by a
// signal half-way; returns how it ended.
int interruptedWrite(const std::string& target, int signal) {
    pid_t child = ::fork();
    if (child == 0) {
        OutputFile::useNamedTemporaries(true);
        removeTemporariesOnSignals();
        OutputFile file;
        if (!file.open(target) || !file.write("half"))
            ::_exit(10);
        ::raise(signal);
        ::_exit(11); // the signal did not end the process
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return status;
}

TEST_F(FileIo, ANamedTemporaryFileIsRemovedWhenTheProgramIsInterrupted) {
    std::string target = writeBytes("out.txt", "previous");
    for (int signal : {SIGINT, SIGTERM, SIGHUP}) {
        int status = interruptedWrite(target, signal);
        ASSERT_TRUE(WIFSIGNALED(status)) << "signal " << signal << ", status " << status;
        EXPECT_EQ(WTERMSIG(status), signal);
        EXPECT_EQ(entries(), 1u) << "signal " << signal;
        EXPECT_EQ(readWholeFile(target), "previous");
    }
}

TEST_F(FileIo, ReplacingKeepsLinksAndOwnerAndDropsSetIdBits) {
    // A second name for the file sees the new content: the file is
    // replaced in place, not split from its other name.
    std::string target = writeBytes("out.txt", "old content");
    fs::create_hard_link(target, path("other.txt"));
    ::chmod(target.c_str(), 04750);
    ASSERT_TRUE(writeFileAtomically(target, "new"));
    EXPECT_EQ(readWholeFile(path("other.txt")), "new");
    EXPECT_EQ(fs::hard_link_count(target), 2u);
    struct stat st {};
    ::stat(target.c_str(), &st);
    EXPECT_EQ(st.st_mode & 07777, 0750u);
    EXPECT_EQ(entries(), 2u);

    // Renamed over: the mode stays, without the set-ID bits.
    std::string single = writeBytes("single.txt", "old");
    ::chmod(single.c_str(), 06755);
    ASSERT_TRUE(writeFileAtomically(single, "new"));
    ::stat(single.c_str(), &st);
    EXPECT_EQ(st.st_mode & 07777, 0755u);

    if (::geteuid() == 0) { // only root can give a file to someone else
        ASSERT_EQ(::chown(single.c_str(), 4321, 4321), 0);
        ASSERT_TRUE(writeFileAtomically(single, "again"));
        ::stat(single.c_str(), &st);
        EXPECT_EQ(st.st_uid, 4321u);
        EXPECT_EQ(st.st_gid, 4321u);
        EXPECT_EQ(readWholeFile(single), "again");
    }
    EXPECT_EQ(entries(), 3u);
}

// In a child that cannot write the folder (root drops to another user for
// that), a writable file in it is replaced in place.
TEST_F(FileIo, ReplacesAWritableFileInAReadOnlyFolder) {
    fs::create_directory(dir / "locked");
    std::string target = writeBytes("locked/out.txt", "old");
    const uid_t user = ::geteuid() == 0 ? 4321 : ::geteuid();
    ASSERT_EQ(::chown(target.c_str(), user, user), 0);
    ASSERT_EQ(::chmod((dir / "locked").c_str(), 0555), 0);
    pid_t child = ::fork();
    if (child == 0) {
        if (::geteuid() == 0 && (::setgid(user) != 0 || ::setuid(user) != 0))
            ::_exit(10);
        ::_exit(writeFileAtomically(target, "new content") ? 0 : 11);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    ::chmod((dir / "locked").c_str(), 0755);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_EQ(readWholeFile(target), "new content");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir / "locked"), {}), 1);
}

} // namespace
} // namespace quisk
