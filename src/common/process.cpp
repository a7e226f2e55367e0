#include "process.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>
#include <wordexp.h>

namespace quisk {
namespace {

// The words of a command line, split and unquoted as a shell would, with
// command substitution refused.
std::vector<std::string> splitCommandLine(const std::string& commandLine) {
    wordexp_t words{};
    std::vector<std::string> out;
    if (::wordexp(commandLine.c_str(), &words, WRDE_NOCMD) == 0) {
        for (std::size_t i = 0; i < words.we_wordc; ++i)
            out.emplace_back(words.we_wordv[i]);
    }
    ::wordfree(&words);
    return out;
}

bool readAll(int fd, void* data, std::size_t size) {
    auto* p = static_cast<char*>(data);
    while (size > 0) {
        ssize_t n = ::read(fd, p, size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        p += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

} // namespace

bool startProgram(const std::string& commandLine) {
    std::vector<std::string> words = splitCommandLine(commandLine);
    if (words.empty())
        return false;
    std::vector<char*> argv;
    for (std::string& w : words)
        argv.push_back(w.data());
    argv.push_back(nullptr);

    // The program runs as a grandchild in a session of its own, so it
    // outlives us and leaves no zombie behind. A close-on-exec pipe tells
    // whether exec succeeded: it closes empty on success and carries errno
    // on failure.
    int report[2];
    if (::pipe2(report, O_CLOEXEC) != 0)
        return false;
    pid_t child = ::fork();
    if (child < 0) {
        ::close(report[0]);
        ::close(report[1]);
        return false;
    }
    if (child == 0) {
        ::setsid();
        pid_t grandchild = ::fork();
        if (grandchild == 0) {
            ::execvp(argv[0], argv.data());
            int error = errno;
            (void)!::write(report[1], &error, sizeof error);
            ::_exit(127);
        }
        if (grandchild < 0) {
            int error = errno;
            (void)!::write(report[1], &error, sizeof error);
        }
        ::_exit(0);
    }
    ::close(report[1]);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    int error = 0;
    bool failed = readAll(report[0], &error, sizeof error);
    ::close(report[0]);
    return !failed;
}

} // namespace quisk
