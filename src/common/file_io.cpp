#include "file_io.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quisk {
namespace {

mode_t currentUmask() {
    mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
}

// A link is followed so that the file it names is replaced, not the link.
std::string resolveLink(const std::string& path) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
        return path;
    char resolved[PATH_MAX];
    return ::realpath(path.c_str(), resolved) ? std::string(resolved) : path;
}

std::string directoryOf(const std::string& path) {
    auto slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string baseNameOf(const std::string& path) {
    auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

} // namespace

bool isRegularFile(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::optional<std::string> readWholeFile(const std::string& path) {
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return std::nullopt;
    }
    std::string content;
    char buffer[65536];
    for (;;) {
        ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            ::close(fd);
            return std::nullopt;
        }
        if (n == 0)
            break;
        content.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fd);
    return content;
}

OutputFile::~OutputFile() { discard(); }

bool OutputFile::open(const std::string& path) {
    discard();
    written_ = reserved_ = 0;
    reserving_ = false;
    target_ = resolveLink(path);
    struct stat st {};
    bool exists = ::stat(target_.c_str(), &st) == 0;
    if (exists && S_ISDIR(st.st_mode))
        return false;
    if (exists && !S_ISREG(st.st_mode)) {
        fd_ = ::open(target_.c_str(), O_WRONLY | O_CLOEXEC);
        return fd_ >= 0;
    }
    std::string pattern = directoryOf(target_) + "/." + baseNameOf(target_) + ".XXXXXX";
    fd_ = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (fd_ < 0)
        return false;
    temporary_ = pattern;
    reserving_ = true;
    // mkostemp creates the file private; give it the mode the replaced file
    // had, or the one a newly created file would get.
    mode_t mode = exists ? (st.st_mode & 07777) : (0666 & ~currentUmask());
    if (::fchmod(fd_, mode) != 0) {
        discard();
        return false;
    }
    return true;
}

// A large file gets its disk space allocated ahead of the writes, in
// growing steps: the file system then has less to do for every page written.
// The space past the end is given back when the file is committed. Where
// the file system cannot do this, the writes go on without it.
void OutputFile::reserveFor(std::size_t more) {
    constexpr std::size_t kFirstReserve = 1 << 20;
    constexpr std::size_t kMaxStep = 64 << 20;
    std::size_t needed = written_ + more;
    if (!reserving_ || needed <= reserved_ || needed <= kFirstReserve)
        return;
    std::size_t target = needed + std::min(needed, kMaxStep);
    if (::fallocate(fd_, FALLOC_FL_KEEP_SIZE, 0, static_cast<off_t>(target)) == 0)
        reserved_ = target;
    else
        reserving_ = false;
}

bool OutputFile::write(std::string_view bytes) {
    if (fd_ < 0)
        return false;
    reserveFor(bytes.size());
    written_ += bytes.size();
    while (!bytes.empty()) {
        ssize_t n = ::write(fd_, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

bool OutputFile::commit(bool durable) {
    if (fd_ < 0)
        return false;
    // Truncating to the written size gives back the space reserved past it.
    bool ok = reserved_ == 0 || ::ftruncate(fd_, static_cast<off_t>(written_)) == 0;
    ok = ok && (!durable || ::fsync(fd_) == 0 || temporary_.empty());
    ok = (::close(fd_) == 0) && ok;
    fd_ = -1;
    if (ok && !temporary_.empty())
        ok = ::rename(temporary_.c_str(), target_.c_str()) == 0;
    if (!ok && !temporary_.empty())
        ::unlink(temporary_.c_str());
    temporary_.clear();
    return ok;
}

void OutputFile::discard() {
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
    if (!temporary_.empty())
        ::unlink(temporary_.c_str());
    temporary_.clear();
}

bool writeFileAtomically(const std::string& path, std::string_view bytes) {
    OutputFile file;
    return file.open(path) && file.write(bytes) && file.commit(true);
}

} // namespace quisk
