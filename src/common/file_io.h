#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <sys/stat.h>

namespace quisk {

// Why a file operation failed: an errno value, or kNotARegularFile for
// something that exists but is no ordinary file (a FIFO, a device).
inline constexpr int kNotARegularFile = -1;
// Why reading a compressed file failed: its data are not what the
// compression format allows, or they end before the compressed stream does.
inline constexpr int kCompressedDataBroken = -2;
inline constexpr int kCompressedDataTruncated = -3;

// True when path names an ordinary file (following links); a directory,
// FIFO or device does not count.
bool isRegularFile(const std::string& path);

// True when path names a folder (following links).
bool isDirectory(const std::string& path);

// True when something is at path, a dangling or looping link included.
bool pathExists(const std::string& path);

// The whole content of a regular file, or empty when it cannot be read;
// error, when given, then tells why. A FIFO or device is refused without
// waiting for a writer.
std::optional<std::string> readWholeFile(const std::string& path, int* error = nullptr);

// A file being written so that no failure or interruption leaves a partial
// or stray file, and replacing a file keeps what the user had:
// - a new file is written without a name (O_TMPFILE) and linked into place
//   by commit();
// - an existing file with one link, an owner that can be kept and a
//   writable folder is replaced by renaming the new content over it;
// - any other existing file is replaced in place: the new content is first
//   written completely to a temporary file, then copied over it, so only a
//   failure during that last copy leaves it incomplete (see damaged());
// - something that is not a regular file (a FIFO, a device) is written
//   directly, since it cannot be replaced.
// A link is followed: the file it names is replaced, not the link. Where the
// file system refuses unnamed files, a hidden temporary file beside the
// target is used and registered for removal on SIGINT, SIGTERM and SIGHUP.
// Set-user-ID and set-group-ID bits are never carried to new content.
class OutputFile {
public:
    OutputFile() = default;
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;
    ~OutputFile(); // discards an uncommitted file

    bool open(const std::string& path);
    bool write(std::string_view bytes);
    // Puts the new content into place. With durable set, the data and the
    // folder entry are flushed to the disk first.
    bool commit(bool durable = false);
    // The first half of commit(), for putting several files into place all
    // or none: everything that can fail short of touching the target. The
    // data are flushed as commit() would, an unnamed file gets a hidden
    // name in the target's folder and the space for an in-place copy is
    // claimed, so that commit() is left with a rename, which cannot
    // reasonably fail. What it cannot make safe: an in-place copy (a file
    // with several links or another owner) still writes over the target in
    // commit(), and something that is not a regular file was written as the
    // run went. False leaves the target as it was; discard() then removes
    // what was prepared.
    bool prepareCommit(bool durable = false);
    // Drops the new content; the target stays as it was.
    void discard();

    int error() const { return error_; }          // why the last step failed
    bool replacing() const { return replacing_; } // an existing file is the target
    bool damaged() const { return damaged_; }     // the in-place copy failed half-way
    std::size_t bytesWritten() const { return written_; }

    // Tests use this to exercise the named temporary file that file systems
    // without unnamed files get.
    static void useNamedTemporaries(bool on);

private:
    enum class Mode { Direct, Create, Rename, InPlace };

    bool openExisting(const struct stat& st);
    bool openTemporary(const std::string& folder, mode_t mode);
    bool claimTemporaryName(const std::string& folder,
                            const std::function<bool(const std::string&)>& create);
    bool openNamedTemporary(const std::string& folder, mode_t mode);
    bool linkIntoPlace();
    bool renameIntoPlace();
    bool nameTemporary();
    bool targetTakesRename();
    bool claimTargetSpace();
    bool flush(bool durable);
    bool copyOver(bool durable);
    void reserveFor(std::size_t more);
    bool fail(int error);

    Mode mode_ = Mode::Direct;
    int fd_ = -1;       // where the bytes go: a temporary file, or the target when Direct
    int targetFd_ = -1; // the file replaced in place
    std::string target_;
    std::string named_; // the temporary file's name, when it has one
    int cleanupSlot_ = -1;
    mode_t targetMode_ = 0; // of the replaced file, to clear set-ID bits kept in place
    std::size_t written_ = 0;
    std::size_t reserved_ = 0; // disk space allocated ahead of the writes
    bool reserving_ = false;   // only for a temporary file, while it works
    bool replacing_ = false;
    bool damaged_ = false;
    bool prepared_ = false; // prepareCommit() has done its part
    int error_ = 0;
};

// Writes bytes to path through OutputFile, durably; error, when given,
// tells why it failed.
bool writeFileAtomically(const std::string& path, std::string_view bytes, int* error = nullptr);

} // namespace quisk
