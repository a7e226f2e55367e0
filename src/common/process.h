#pragma once

#include <optional>
#include <string>
#include <vector>

namespace quisk {

// The words of a command line, split and unquoted as a shell does it
// ('...' keeps everything, "..." keeps all but \" \\ \$ \`, a backslash
// outside quotes keeps the next character), but with nothing expanded:
// "$HOME", "~" and "*.sh" stay as written. Empty when a quote does not close.
std::optional<std::vector<std::string>> splitCommandLine(const std::string& commandLine);

// The program and arguments a command line stands for: the whole text as one
// path when it names an existing file (spaces and all), else its words.
std::optional<std::vector<std::string>> commandWords(const std::string& commandLine);

// A path written as one word of a command line: unchanged when splitting
// would keep it whole, else in double quotes.
std::string quoteCommandWord(const std::string& word);

// The outcome of starting a program: 0 when it started, else the errno that
// stopped it (EINVAL for a command line whose quotes do not close).
struct StartResult {
    int error = 0;
    explicit operator bool() const { return error == 0; }
};

// Starts a command line (see commandWords) as a new process and does not
// wait for it; a program named without a folder is looked up in PATH.
StartResult startProgram(const std::string& commandLine);

// Starts programs for the windows and the runner; tests replace it to see
// what would have been started.
class ProgramLauncher {
public:
    virtual ~ProgramLauncher() = default;
    virtual StartResult start(const std::string& commandLine) { return startProgram(commandLine); }
};

} // namespace quisk
