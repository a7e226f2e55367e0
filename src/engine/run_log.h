#pragma once

#include <string>

namespace quisk {

// The path of the run log in the start folder; a start folder that could
// not be named (it was deleted) leaves the log relative to the current one.
std::string runLogPath(const std::string& startDirectory);

// True when path names the run log itself: the same file (a link to it
// included), or, while neither exists, the same path. A run must not read or
// write such a file: the log would destroy it.
bool isRunLog(const std::string& path, const std::string& logPath);

// The two-line record of the last run. It never stops a run: characters
// without a Shift-JIS form are written as "?", and when the file cannot be
// written at all, problem() says why. Each rewrite holds an exclusive lock,
// so two runs in one folder leave the two lines of one of them. A symbolic
// link, a file with other names or anything but a regular file is never
// written through.
class RunLog {
public:
    explicit RunLog(std::string path) : path_(std::move(path)) {}

    // Rewrites the log with its first line: the files the run reads and writes.
    void begin(const std::string& sourcePath, const std::string& destinationPath);
    // Rewrites the log with the first line and the outcome of the run.
    void finish(const std::string& outcome);

    const std::string& path() const { return path_; }
    // Why the log could not be written; empty while every rewrite worked.
    const std::string& problem() const { return problem_; }

private:
    void rewrite(const std::string& bytes);
    void noteProblem(std::string why);

    std::string path_;
    std::string firstLine_;
    std::string problem_;
};

} // namespace quisk
