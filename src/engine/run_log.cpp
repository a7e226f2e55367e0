#include "run_log.h"

#include "common/common_texts.h"
#include "common/sjis.h"
#include "engine/engine_texts.h"

#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quisk {
namespace {

namespace t = engine_texts;
namespace fs = std::filesystem;

constexpr std::string_view kLineEnd = "\r\n";

std::string lineBytes(const std::string& utf8) {
    return sjis::encodeWithStandIn(utf8) + std::string(kLineEnd);
}

// Closes a descriptor (and so drops its lock) when it goes out of scope.
class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }

private:
    int fd_;
};

bool writeAllAt(int fd, std::string_view bytes) {
    off_t at = 0;
    while (!bytes.empty()) {
        ssize_t n = ::pwrite(fd, bytes.data(), bytes.size(), at);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        bytes.remove_prefix(static_cast<std::size_t>(n));
        at += n;
    }
    return true;
}

// The absolute form of a path with its existing folders resolved; empty
// when it has none (a relative path in a folder that was deleted).
fs::path comparablePath(const std::string& path) {
    std::error_code ec;
    fs::path absolute = fs::absolute(path, ec);
    if (ec || absolute.empty())
        return {};
    fs::path resolved = fs::weakly_canonical(absolute, ec);
    return ec ? absolute.lexically_normal() : resolved;
}

std::string openFailure(int error) {
    switch (error) {
    case ELOOP:
        return t::kLogIsLink;
    case EISDIR:
    case ENXIO:
        return common_texts::kNotARegular; // a folder, or a FIFO nobody reads
    }
    return common_texts::causeText(error, true);
}

} // namespace

std::string runLogPath(const std::string& startDirectory) {
    if (startDirectory.empty())
        return t::kLogFileName;
    return startDirectory + "/" + t::kLogFileName;
}

bool isRunLog(const std::string& path, const std::string& logPath) {
    struct stat file {};
    struct stat log {};
    const bool fileExists = ::stat(path.c_str(), &file) == 0;
    const bool logExists = ::lstat(logPath.c_str(), &log) == 0;
    if (fileExists && logExists)
        return file.st_dev == log.st_dev && file.st_ino == log.st_ino;
    if (fileExists || logExists)
        return false;
    fs::path a = comparablePath(path);
    return !a.empty() && a == comparablePath(logPath);
}

void RunLog::begin(const std::string& sourcePath, const std::string& destinationPath) {
    firstLine_ = lineBytes(sourcePath + t::kLogRead + destinationPath + t::kLogWritten);
    rewrite(firstLine_);
}

void RunLog::finish(const std::string& outcome) {
    rewrite(firstLine_ + lineBytes(outcome));
}

void RunLog::rewrite(const std::string& bytes) {
    // O_NONBLOCK keeps a FIFO planted under the log's name from blocking the
    // open; such a file is then refused below.
    Descriptor fd(::open(
        path_.c_str(), O_WRONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0666));
    if (fd.get() < 0)
        return noteProblem(openFailure(errno));
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0)
        return noteProblem(common_texts::causeText(errno, true));
    if (!S_ISREG(st.st_mode))
        return noteProblem(common_texts::kNotARegular);
    if (st.st_nlink > 1)
        return noteProblem(t::kLogHasOtherNames);
    // The lock makes the write and the cut one step for other runs.
    while (::flock(fd.get(), LOCK_EX) != 0)
        if (errno != EINTR)
            return noteProblem(common_texts::causeText(errno, true));
    if (!writeAllAt(fd.get(), bytes) ||
        ::ftruncate(fd.get(), static_cast<off_t>(bytes.size())) != 0)
        return noteProblem(common_texts::causeText(errno, true));
}

void RunLog::noteProblem(std::string why) {
    if (problem_.empty())
        problem_ = std::move(why);
}

} // namespace quisk
