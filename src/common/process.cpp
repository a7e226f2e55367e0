#include "process.h"

#include "common/file_io.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace quisk {
namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

// Characters a backslash keeps literally inside double quotes.
bool escapableInDoubleQuotes(char c) {
    return c == '"' || c == '\\' || c == '$' || c == '`';
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

std::optional<std::vector<std::string>> splitCommandLine(const std::string& line) {
    std::vector<std::string> words;
    std::string word;
    bool inWord = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (isBlank(c)) {
            if (inWord)
                words.push_back(std::move(word));
            word.clear();
            inWord = false;
            continue;
        }
        inWord = true;
        if (c == '\'') {
            std::size_t end = line.find('\'', i + 1);
            if (end == std::string::npos)
                return std::nullopt;
            word.append(line, i + 1, end - i - 1);
            i = end;
        } else if (c == '"') {
            for (++i;; ++i) {
                if (i >= line.size())
                    return std::nullopt;
                if (line[i] == '"')
                    break;
                if (line[i] == '\\' && i + 1 < line.size() && escapableInDoubleQuotes(line[i + 1]))
                    ++i;
                word += line[i];
            }
        } else if (c == '\\' && i + 1 < line.size()) {
            word += line[++i];
        } else {
            word += c;
        }
    }
    if (inWord)
        words.push_back(std::move(word));
    return words;
}

std::optional<std::vector<std::string>> commandWords(const std::string& commandLine) {
    if (isRegularFile(commandLine)) {
        // A name without a folder would be looked up in PATH instead.
        bool hasFolder = commandLine.find('/') != std::string::npos;
        return std::vector<std::string>{hasFolder ? commandLine : "./" + commandLine};
    }
    return splitCommandLine(commandLine);
}

std::string quoteCommandWord(const std::string& word) {
    auto words = splitCommandLine(word);
    if (!word.empty() && words && words->size() == 1 && words->front() == word)
        return word;
    std::string out = "\"";
    for (char c : word) {
        if (escapableInDoubleQuotes(c))
            out += '\\';
        out += c;
    }
    return out + "\"";
}

StartResult startProgram(const std::string& commandLine) {
    auto words = commandWords(commandLine);
    if (!words)
        return {EINVAL};
    if (words->empty())
        return {ENOENT};
    std::vector<char*> argv;
    for (std::string& w : *words)
        argv.push_back(w.data());
    argv.push_back(nullptr);

    // The program runs as a grandchild in a session of its own, so it
    // outlives us and leaves no zombie behind. A close-on-exec pipe tells
    // whether exec succeeded: it closes empty on success and carries errno
    // on failure.
    int report[2];
    if (::pipe2(report, O_CLOEXEC) != 0)
        return {errno};
    pid_t child = ::fork();
    if (child < 0) {
        int error = errno;
        ::close(report[0]);
        ::close(report[1]);
        return {error};
    }
    if (child == 0) {
        ::setsid();
        pid_t grandchild = ::fork();
        if (grandchild == 0) {
            // quisk-run ignores SIGPIPE for itself; the program gets the default.
            ::signal(SIGPIPE, SIG_DFL);
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
    return {failed ? error : 0};
}

} // namespace quisk
