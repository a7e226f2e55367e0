#pragma once

#include <optional>
#include <string>
#include <string_view>

// The job file (.dof): one Shift-JIS line of seven quoted, comma-separated
// values naming everything one conversion needs.
namespace quisk {

struct JobDefinition {
    std::string jobName;
    std::string sourcePath;
    std::string destinationPath;
    std::string formatFilePath;
    std::string afterRunPath;
    bool overwriteExisting = false;
    bool exitAfterRun = false;

    bool operator==(const JobDefinition&) const = default;
};

// The line of a job file for a job (UTF-8, ending in CR LF).
std::string jobFileText(const JobDefinition& job);

// Reads the seven values of a job file's text: quoted or unquoted, on one
// line or several; anything after the seventh is ignored. Empty when fewer
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
