#pragma once

#include <string>

namespace quisk {

// Starts a command line (a program path followed by arguments, with shell
// quoting but no command substitution) as a new process and does not wait
// for it. False when the line is malformed or the program cannot be started.
bool startProgram(const std::string& commandLine);

// Starts programs for the windows and the runner; tests replace it to see
// what would have been started.
class ProgramLauncher {
public:
    virtual ~ProgramLauncher() = default;
    virtual bool start(const std::string& commandLine) { return startProgram(commandLine); }
};

} // namespace quisk
