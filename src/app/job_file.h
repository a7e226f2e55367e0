#pragma once

#include "engine/run_command.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The job file (.dof): one Shift-JIS line of seven quoted, comma-separated
// values naming everything one conversion needs, optionally followed on the
// same line by further (format, destination) pairs for the same source.
namespace quisk {

struct JobDefinition {
    std::string jobName;
    std::string sourcePath;
    std::string destinationPath;
    std::string formatFilePath;
    std::string afterRunPath;
    bool overwriteExisting = false;
    bool exitAfterRun = false;
    // Further layouts of the source and the files they write, converted in
    // the same pass; written after the seventh value only when there are any.
    std::vector<ExtraPair> extraPairs;

    bool operator==(const JobDefinition&) const = default;
};

// The line of a job file for a job (UTF-8, ending in CR LF).
std::string jobFileText(const JobDefinition& job);

// Reads the seven values of a job file's text: quoted or unquoted, on one
// line or several. Values that follow the seventh on its line are read as
// (format, destination) pairs, a last half pair dropped; anything on later
// lines is ignored. Empty when fewer
// than seven values can be read.
std::optional<JobDefinition> parseJobText(std::string_view text);

// Reads a job file; empty when it cannot be opened, is not valid Shift-JIS,
// or holds fewer than seven values. error, when given, is set when the file
// could not be read (left 0 for a file that was read but is not a job).
std::optional<JobDefinition> readJobFile(const std::string& path, int* error = nullptr);

// Writes a job file atomically; false (with any previous file intact) when it
// cannot be written or a value holds a character Shift-JIS cannot represent.
// error, when given, is set when the file could not be written.
bool writeJobFile(const std::string& path, const JobDefinition& job, int* error = nullptr);

} // namespace quisk
