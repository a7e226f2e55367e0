#include "file_io.h"

#include "common/signal_cleanup.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace quisk {
namespace {

constexpr int kMaxLinkHops = 40;
constexpr mode_t kSetIdBits = S_ISUID | S_ISGID;
std::atomic<bool> namedTemporariesOnly{false};

mode_t currentUmask() {
    mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
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

// Follows a chain of links to the path it ends at, which may not exist yet
// (a dangling link names the file to create). Empty with error set for a
// loop or an unreadable link.
std::optional<std::string> followLinks(std::string path, int& error) {
    for (int hop = 0; hop < kMaxLinkHops; ++hop) {
        struct stat st {};
        if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
            return path;
        char buffer[PATH_MAX];
        ssize_t n = ::readlink(path.c_str(), buffer, sizeof buffer);
        if (n < 0) {
            error = errno;
            return std::nullopt;
        }
        std::string link(buffer, static_cast<std::size_t>(n));
        path = link.front() == '/' ? link : directoryOf(path) + "/" + link;
    }
    error = ELOOP;
    return std::nullopt;
}

// A hidden name beside the target for a temporary file.
std::string temporaryName(const std::string& folder, const std::string& base) {
    static constexpr char kChars[] =
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    thread_local std::mt19937 random{std::random_device{}()};
    std::string name = folder + "/." + base + ".";
    for (int i = 0; i < 6; ++i)
        name += kChars[random() % (sizeof kChars - 1)];
    return name;
}

// An unnamed file can be given a name through /proc; without /proc it is
// not used, as it could not be linked into place.
bool unnamedFilesUsable() {
    return !namedTemporariesOnly && ::access("/proc/self/fd", X_OK) == 0;
}

bool refusesUnnamedFiles(int error) {
    return error == EOPNOTSUPP || error == EISDIR || error == EINVAL;
}

void syncFolder(const std::string& folder) {
    int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

std::string temporaryFolder() {
    const char* tmp = std::getenv("TMPDIR");
    return tmp && *tmp ? tmp : "/tmp";
}

} // namespace

bool isRegularFile(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool isDirectory(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool pathExists(const std::string& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0;
}

std::optional<std::string> readWholeFile(const std::string& path, int* error) {
    auto failed = [error](int cause, int fd) -> std::optional<std::string> {
        if (error)
            *error = cause;
        if (fd >= 0)
            ::close(fd);
        return std::nullopt;
    };
    // Opening a FIFO would wait for a writer: open without waiting, then
    // refuse anything that is not a regular file.
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return failed(errno, fd);
    struct stat st {};
    if (::fstat(fd, &st) != 0)
        return failed(errno, fd);
    if (S_ISDIR(st.st_mode))
        return failed(EISDIR, fd);
    if (!S_ISREG(st.st_mode))
        return failed(kNotARegularFile, fd);
    std::string content;
    char buffer[65536];
    for (;;) {
        ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return failed(errno, fd);
        if (n == 0)
            break;
        content.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fd);
    return content;
}

void OutputFile::useNamedTemporaries(bool on) {
    namedTemporariesOnly = on;
}

OutputFile::~OutputFile() {
    discard();
}

bool OutputFile::fail(int error) {
    error_ = error;
    return false;
}

bool OutputFile::open(const std::string& path) {
    discard();
    written_ = reserved_ = 0;
    reserving_ = replacing_ = damaged_ = prepared_ = false;
    error_ = 0;
    auto target = followLinks(path, error_);
    if (!target)
        return false;
    target_ = *target;
    struct stat st {};
    if (::stat(target_.c_str(), &st) == 0)
        return openExisting(st);
    if (errno != ENOENT)
        return fail(errno);
    mode_ = Mode::Create;
    return openTemporary(directoryOf(target_), 0666 & ~currentUmask());
}

bool OutputFile::openExisting(const struct stat& st) {
    if (S_ISDIR(st.st_mode))
        return fail(EISDIR);
    if (!S_ISREG(st.st_mode)) {
        mode_ = Mode::Direct;
        fd_ = ::open(target_.c_str(), O_WRONLY | O_CLOEXEC);
        return fd_ >= 0 || fail(errno);
    }
    replacing_ = true;
    targetMode_ = st.st_mode & 07777;
    const mode_t newMode = targetMode_ & ~kSetIdBits;
    // Renaming the new content over the file is safe when that changes
    // nothing but the content: it has one link, its owner and group can be
    // given to the new file, and the folder takes a new entry.
    if (st.st_nlink == 1) {
        mode_ = Mode::Rename;
        if (openTemporary(directoryOf(target_), newMode)) {
            bool sameOwner = st.st_uid == ::geteuid() && st.st_gid == ::getegid();
            if (sameOwner || ::fchown(fd_, st.st_uid, st.st_gid) == 0)
                return true;
            discard();
        } else if (error_ != EACCES && error_ != EPERM && error_ != EROFS) {
            return false;
        }
    }
    // In place: the file itself must take the writes, checked now so that a
    // refusal comes before the run rather than at its end.
    mode_ = Mode::InPlace;
    targetFd_ = ::open(target_.c_str(), O_WRONLY | O_CLOEXEC);
    if (targetFd_ < 0)
        return fail(errno);
    error_ = 0;
    if (openTemporary(directoryOf(target_), 0600))
        return true;
    return openTemporary(temporaryFolder(), 0600) || (discard(), false);
}

bool OutputFile::openTemporary(const std::string& folder, mode_t mode) {
    if (unnamedFilesUsable()) {
        fd_ = ::open(folder.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
        if (fd_ < 0 && !refusesUnnamedFiles(errno))
            return fail(errno);
    }
    if (fd_ < 0 && !openNamedTemporary(folder, mode))
        return false;
    if (::fchmod(fd_, mode) != 0) {
        int cause = errno;
        discard();
        return fail(cause);
    }
    reserving_ = true;
    return true;
}

// Tries fresh hidden names beside the target, in folder, until create
// makes one; create returns false with errno set when it cannot. Each name
// is registered for removal before it exists, so an interruption never
// finds an unknown file.
bool OutputFile::claimTemporaryName(const std::string& folder,
                                    const std::function<bool(const std::string&)>& create) {
    const std::string base = baseNameOf(target_);
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string name = temporaryName(folder, base);
        cleanupSlot_ = registerTemporary(name);
        if (create(name)) {
            named_ = name;
            return true;
        }
        int cause = errno;
        forgetTemporary(cleanupSlot_);
        cleanupSlot_ = -1;
        if (cause != EEXIST)
            return fail(cause);
    }
    return fail(EEXIST);
}

bool OutputFile::openNamedTemporary(const std::string& folder, mode_t mode) {
    return claimTemporaryName(folder, [&](const std::string& name) {
        fd_ = ::open(name.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, mode & 0600);
        return fd_ >= 0;
    });
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
        return error_ == 0 ? fail(EBADF) : false;
    reserveFor(bytes.size());
    while (!bytes.empty()) {
        ssize_t n = ::write(fd_, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return fail(n < 0 ? errno : EIO);
        written_ += static_cast<std::size_t>(n);
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

// Truncating to the written size gives back the space reserved past it.
// In place, the target is flushed after the copy; a FIFO cannot be.
bool OutputFile::flush(bool durable) {
    if (reserved_ > 0 && ::ftruncate(fd_, static_cast<off_t>(written_)) != 0)
        return fail(errno);
    if (durable && mode_ != Mode::InPlace && ::fsync(fd_) != 0 && mode_ != Mode::Direct)
        return fail(errno);
    return true;
}

bool OutputFile::prepareCommit(bool durable) {
    if (fd_ < 0)
        return error_ == 0 ? fail(EBADF) : false;
    if (!flush(durable))
        return false;
    switch (mode_) {
    case Mode::Direct:
        break;
    case Mode::Create:
    case Mode::Rename:
        if (!targetTakesRename() || (named_.empty() && !nameTemporary()))
            return false;
        break;
    case Mode::InPlace:
        if (!claimTargetSpace())
            return false;
        break;
    }
    prepared_ = true;
    return true;
}

bool OutputFile::commit(bool durable) {
    if (fd_ < 0)
        return error_ == 0 ? fail(EBADF) : false;
    bool ok = prepared_ || flush(durable);
    if (ok) {
        switch (mode_) {
        case Mode::Direct:
            ok = ::close(fd_) == 0 || fail(errno);
            fd_ = -1;
            break;
        case Mode::Create:
            ok = named_.empty() ? linkIntoPlace() : renameIntoPlace();
            break;
        case Mode::Rename:
            ok = renameIntoPlace();
            break;
        case Mode::InPlace:
            ok = copyOver(durable);
            break;
        }
    }
    if (ok && durable && (mode_ == Mode::Create || mode_ == Mode::Rename))
        syncFolder(directoryOf(target_));
    discard();
    return ok;
}

// Gives the unnamed file the target's name; a file that appeared there in
// the meantime is replaced.
bool OutputFile::linkIntoPlace() {
    std::string self = "/proc/self/fd/" + std::to_string(fd_);
    if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, target_.c_str(), AT_SYMLINK_FOLLOW) == 0)
        return true;
    return errno == EEXIST ? renameIntoPlace() : fail(errno);
}

// Renames the new content over the target. An unnamed file first gets a
// hidden temporary name, registered for removal, for the moment between
// the link and the rename.
bool OutputFile::renameIntoPlace() {
    if (named_.empty() && !nameTemporary())
        return false;
    if (::rename(named_.c_str(), target_.c_str()) != 0)
        return fail(errno); // discard() removes the temporary name
    named_.clear();
    forgetTemporary(cleanupSlot_);
    cleanupSlot_ = -1;
    return true;
}

// Whether a rename can still put the new content in the target's place: a
// folder made there since the file was opened cannot be renamed over.
bool OutputFile::targetTakesRename() {
    struct stat st {};
    if (::stat(target_.c_str(), &st) == 0 && S_ISDIR(st.st_mode))
        return fail(EISDIR);
    return true;
}

// Gives the unnamed file a hidden temporary name beside the target,
// registered for removal.
bool OutputFile::nameTemporary() {
    const std::string self = "/proc/self/fd/" + std::to_string(fd_);
    return claimTemporaryName(directoryOf(target_), [&](const std::string& name) {
        return ::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0;
    });
}

// Claims the space of the new content in the file replaced in place, so a
// full disk is found while the old content is still whole.
bool OutputFile::claimTargetSpace() {
    const auto size = static_cast<off_t>(written_);
    if (size > 0 && ::fallocate(targetFd_, FALLOC_FL_KEEP_SIZE, 0, size) != 0 &&
        (errno == ENOSPC || errno == EDQUOT))
        return fail(errno);
    return true;
}

// The last step of an in-place replace: the complete new content is copied
// over the old, into space claimed first.
bool OutputFile::copyOver(bool durable) {
    if (!prepared_ && !claimTargetSpace())
        return false;
    const auto size = static_cast<off_t>(written_);
    off_t in = 0, out = 0;
    auto broken = [&](int cause) {
        damaged_ = out > 0;
        return fail(cause);
    };
    bool kernelCopy = true;
    while (in < size) {
        if (kernelCopy) {
            auto left = static_cast<std::size_t>(size - in);
            ssize_t n = ::copy_file_range(fd_, &in, targetFd_, &out, left, 0);
            if (n > 0 || (n < 0 && errno == EINTR))
                continue;
            if (n == 0)
                return broken(EIO);
            if (errno != EXDEV && errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP)
                return broken(errno);
            kernelCopy = false; // not between these files: copy through a buffer
        }
        char buffer[1 << 16];
        ssize_t got = ::pread(fd_, buffer, sizeof buffer, in);
        if (got <= 0)
            return broken(got < 0 ? errno : EIO);
        ssize_t put = ::pwrite(targetFd_, buffer, static_cast<std::size_t>(got), out);
        if (put <= 0)
            return broken(put < 0 ? errno : EIO);
        in += put;
        out += put;
    }
    if (::ftruncate(targetFd_, size) != 0 || (durable && ::fsync(targetFd_) != 0)) {
        damaged_ = true;
        return fail(errno);
    }
    if ((targetMode_ & kSetIdBits) && ::fchmod(targetFd_, targetMode_ & ~kSetIdBits) != 0)
        return fail(errno);
    return true;
}

void OutputFile::discard() {
    if (fd_ >= 0)
        ::close(fd_);
    if (targetFd_ >= 0)
        ::close(targetFd_);
    fd_ = targetFd_ = -1;
    if (!named_.empty())
        ::unlink(named_.c_str());
    named_.clear();
    forgetTemporary(cleanupSlot_);
    cleanupSlot_ = -1;
}

bool writeFileAtomically(const std::string& path, std::string_view bytes, int* error) {
    OutputFile file;
    bool ok = file.open(path) && file.write(bytes) && file.commit(true);
    if (!ok && error)
        *error = file.error();
    return ok;
}

} // namespace quisk
