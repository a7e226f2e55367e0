#pragma once

#include <string>

namespace quisk {

// Where a run that could not find one of its paths was started, so that a
// message can say where it looked and, when the path was meant relative to
// the job file, how to start the run from the job's folder. Relative paths
// keep meaning "from the current folder"; only the message changes.
struct PathHintContext {
    std::string currentDirectory; // the folder relative paths are taken from
    std::string jobPath;          // the job file the paths come from; empty without one
    std::string rerunCommand;     // the runner's command for the job's folder; empty in the window
};

// What a path names when a run needs it to exist.
enum class PathRole {
    File,   // an ordinary file (the source, the format)
    Folder, // the folder a file is to be written into (the destination)
};

// The folder that must exist for the destination path to be written.
std::string destinationFolder(const std::string& destinationPath);

// The message for a path that was not found: the fixed text, then the
// absolute path looked at, then, when the path is relative and names an
// existing file or folder beside the job file, where that is and how to run
// from there. Lines are joined with a carriage return.
std::string missingPathText(const std::string& fixedText, const std::string& path, PathRole role,
                            const PathHintContext& context);

// A word as the shell takes it: unchanged when it is safe, else quoted.
std::string shellWord(const std::string& word);

} // namespace quisk
