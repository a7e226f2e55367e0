#pragma once

#include "common/message_box.h"

#include <optional>
#include <string>
#include <vector>

// The desktop program's command line. The shell has already split the
// arguments and removed their quotes, and paths are full of "/", so the
// unattended switch is an argument that is exactly "/I" or "/i", and the job
// path is the first other argument, taken as it is.
namespace quisk {

struct CommandLine {
    bool empty = true;                  // no argument at all: use the default job
    bool unattended = false;            // run the job once the window shows
    std::optional<std::string> jobPath; // the first argument that is not the switch
};

CommandLine parseCommandLine(const std::vector<std::string>& arguments);

// The job file the command line names, when it names an ordinary file. When
// it names none (only the switch) or no such file exists, the user is told
// with the parameter error message and the result is empty.
std::optional<std::string> commandLinePath(const CommandLine& commandLine, MessageBoxes& boxes);

} // namespace quisk
