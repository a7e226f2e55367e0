#include "run_command.h"

#include "common/common_texts.h"
#include "common/file_io.h"
#include "engine/conversion.h"
#include "engine/engine_texts.h"
#include "engine/field_names.h"
#include "engine/path_hints.h"
#include "engine/record_conversion.h"
#include "engine/run_log.h"
#include "format/format_file.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <optional>
#include <sys/stat.h>
#include <tuple>

namespace quisk {
namespace {

namespace t = engine_texts;

Message stop(std::string text) {
    return {std::move(text), t::kErrorTitle, Icon::Stop};
}

// A line naming the file and a line with the cause, each after a line break.
std::string detail(const char* label, const std::string& path, int error, bool writing) {
    return "\r" + (label + path) + "\r" + common_texts::causeText(error, writing);
}

// Why path is no file to read: empty when it does not exist at all (the
// fixed text says enough), else a line naming it and one with the cause.
std::string notAFileDetail(const char* label, const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        return errno == ENOENT ? "" : detail(label, path, errno, false);
    return detail(label, path, S_ISDIR(st.st_mode) ? EISDIR : kNotARegularFile, false);
}

PathHintContext hints(const RunRequest& r) {
    std::error_code ec;
    return {std::filesystem::current_path(ec).string(), r.jobPath, r.rerunCommand};
}

// The message for a source or format that is no file to read: where it was
// looked for when nothing is there (with a hint when it lies beside the job
// file), else what is there and why it cannot be read.
std::string notAFileText(const char* fixedText, const char* label, const std::string& path,
                         const RunRequest& r) {
    std::string why = notAFileDetail(label, path);
    if (why.empty())
        return missingPathText(fixedText, path, PathRole::File, hints(r));
    return fixedText + why;
}

// A file of the run that is the run log itself: the log would destroy it.
bool refuseTheLog(const RunRequest& r, MessageBoxes& boxes) {
    const std::string log = runLogPath(r.logDirectory);
    const std::tuple<const std::string*, const char*, bool> files[] = {
        {&r.sourcePath, t::kSourceIsLog, r.standardInput},
        {&r.destinationPath, t::kDestinationIsLog, r.standardOutput},
        {&r.formatPath, t::kFormatIsLog, false},
    };
    std::vector<std::tuple<const std::string*, const char*, bool>> all(std::begin(files),
                                                                       std::end(files));
    for (const ExtraPair& pair : r.extraPairs) {
        all.emplace_back(&pair.destinationPath, t::kDestinationIsLog, false);
        all.emplace_back(&pair.formatPath, t::kFormatIsLog, false);
    }
    for (const auto& [path, name, isStream] : all) {
        if (!isStream && isRunLog(*path, log)) {
            boxes.show(stop(std::string(name) + t::kIsLog1 + log + t::kIsLog2));
            return true;
        }
    }
    return false;
}

// The checks of a destination file: not a folder, not replaced unasked.
bool checkDestination(const RunRequest& r, const std::string& destination, MessageBoxes& boxes) {
    if (isDirectory(destination)) {
        boxes.show(stop(std::string(t::kDestinationIsFolder) + "\r" + t::kDestinationLabel +
                        destination));
        return false;
    }
    // A dangling link counts as an existing destination: writing creates
    // the file it names.
    if (pathExists(destination) && !r.overwriteExisting) {
        Message ask{t::kOverwrite, t::kOverwriteTitle, Icon::None, Buttons::OkCancel, Answer::Ok};
        if (boxes.show(ask) != Answer::Ok)
            return false;
    }
    return true;
}

bool checkDestinationFolder(const RunRequest& r, const std::string& destination,
                            MessageBoxes& boxes) {
    std::string folder = destinationFolder(destination);
    if (!isDirectory(folder)) {
        boxes.show(
            stop(missingPathText(t::kNoDestinationFolder, folder, PathRole::Folder, hints(r))));
        return false;
    }
    return true;
}

// Two pairs that write one file would leave only the second's records.
bool refuseSharedDestinations(const RunRequest& r, MessageBoxes& boxes) {
    std::vector<std::string> seen{r.destinationPath};
    for (const ExtraPair& pair : r.extraPairs) {
        for (const std::string& earlier : seen) {
            // The log's test of one file under two names fits any two files.
            if (isRunLog(pair.destinationPath, earlier)) {
                boxes.show(stop(std::string(t::kDestinationTwice) + "\r" + t::kDestinationLabel +
                                pair.destinationPath));
                return true;
            }
        }
        seen.push_back(pair.destinationPath);
    }
    return false;
}

bool checkFormat(const RunRequest& r, const std::string& format, MessageBoxes& boxes) {
    if (isRegularFile(format))
        return true;
    boxes.show(stop(notAFileText(t::kNoFormat, t::kFormatLabel, format, r)));
    return false;
}

// The checks before anything is opened, in the order the user meets them,
// the job's first pair first; false when the run must not start. A stream
// is not checked.
bool checkPaths(const RunRequest& r, MessageBoxes& boxes) {
    bool pairsFilled = true;
    for (const ExtraPair& pair : r.extraPairs)
        pairsFilled = pairsFilled && !pair.formatPath.empty() && !pair.destinationPath.empty();
    if (r.sourcePath.empty() || r.destinationPath.empty() || r.formatPath.empty() ||
        !pairsFilled) {
        boxes.show(stop(std::string(t::kPathsRequired1) + "\r" + t::kPathsRequired2));
        return false;
    }
    if (refuseTheLog(r, boxes) || refuseSharedDestinations(r, boxes))
        return false;
    if (!r.standardInput && !isRegularFile(r.sourcePath)) {
        boxes.show(stop(notAFileText(t::kNoSource, t::kSourceLabel, r.sourcePath, r)));
        return false;
    }
    if (!r.standardOutput && !checkDestination(r, r.destinationPath, boxes))
        return false;
    if (!checkFormat(r, r.formatPath, boxes))
        return false;
    if (!r.standardOutput && !checkDestinationFolder(r, r.destinationPath, boxes))
        return false;
    for (const ExtraPair& pair : r.extraPairs)
        if (!checkDestination(r, pair.destinationPath, boxes) ||
            !checkFormat(r, pair.formatPath, boxes) ||
            !checkDestinationFolder(r, pair.destinationPath, boxes))
            return false;
    return true;
}

// The fixed failure text, then the file that failed and why, and what
// became of a destination that existed before.
Message failureMessage(const ConversionResult& result) {
    Message m = t::failureMessage(result.recordCount);
    const RunFailure& f = result.failure;
    if (f.file == RunFailure::File::Source)
        m.text += detail(t::kSourceLabel, f.path, f.error, false);
    else if (f.file == RunFailure::File::Destination)
        m.text += detail(t::kDestinationLabel, f.path, f.error, true);
    if (f.selectionUnusable)
        m.text += std::string("\r") + t::kSelectionUnusable;
    if (f.destinationDamaged)
        m.text += std::string("\r") + t::kDestinationDamaged;
    else if (f.destinationExisted)
        m.text += std::string("\r") + t::kDestinationKept;
    return m;
}

// Loads a format with the run's output override and its field-name line;
// false after the failure was shown.
bool loadTarget(const std::string& formatPath, const std::string& destination,
                const OutputOverride& output, MessageBoxes& boxes, ConversionTarget& target) {
    FormatDefinition& format = target.format;
    if (!loadFormatFile(formatPath, format, boxes))
        return false;
    if (!output.encoding.empty())
        format.settings.outputEncoding = output.encoding;
    if (!output.lineEnd.empty())
        format.settings.outputLineEnd = output.lineEnd;
    if (format.settings.fieldNamesOnTop) {
        auto names = readFieldNameRow(formatPath);
        if (!names) {
            boxes.show(stop(t::kFieldNamesFailed));
            return false;
        }
        target.fieldNameRow = *names;
    }
    target.destination = destination;
    return true;
}

// The run's layouts, the job's first pair first; empty after a failure was
// shown. All must cut the source alike, as it is read once for all.
std::optional<std::vector<ConversionTarget>> loadTargets(const RunRequest& r,
                                                         const OutputOverride& output,
                                                         MessageBoxes& boxes) {
    std::vector<ConversionTarget> targets(1 + r.extraPairs.size());
    if (!loadTarget(r.formatPath, r.destinationPath, output, boxes, targets[0]))
        return std::nullopt;
    targets[0].standardOutput = r.standardOutput;
    for (std::size_t i = 0; i < r.extraPairs.size(); ++i) {
        const ExtraPair& pair = r.extraPairs[i];
        if (!loadTarget(pair.formatPath, pair.destinationPath, output, boxes, targets[i + 1]))
            return std::nullopt;
    }
    const long long length = decimalValue(targets[0].format.settings.recordLength);
    for (const ConversionTarget& target : targets) {
        if (std::max(decimalValue(target.format.settings.recordLength), 0LL) !=
            std::max(length, 0LL)) {
            boxes.show(stop(t::kRecordLengthsDiffer));
            return std::nullopt;
        }
    }
    return targets;
}

// One layout of lines converted as ever, or records: fixed-length, selected
// or for several layouts at once.
ConversionResult convertTargets(const std::vector<ConversionTarget>& targets,
                                const RunRequest& r, RunObserver& observer) {
    const std::string log = runLogPath(r.logDirectory);
    auto yield = [&] { observer.yield(); };
    const FormatSettings& s = targets[0].format.settings;
    if (targets.size() == 1 && !s.hasRecordLength() && !s.hasRecordSelection())
        return saveData(targets[0].format, targets[0].fieldNameRow,
                        ConversionPaths{r.sourcePath, r.destinationPath, log, r.standardInput,
                                        r.standardOutput},
                        yield);
    return saveRecords(targets, {r.sourcePath, r.standardInput}, log, yield);
}

RunStatus convert(const RunRequest& r, const OutputOverride& output, MessageBoxes& boxes,
                  RunObserver& observer, RunReport& report) {
    auto targets = loadTargets(r, output, boxes);
    if (!targets)
        return RunStatus::Failed;
    ConversionResult result = convertTargets(*targets, r, observer);
    report.recordCount = result.recordCount;
    report.replacedCount = result.replacedCount;
    report.bytesRead = result.bytesRead;
    if (!result.logProblem.empty())
        report.logProblem = t::logNotWrittenText(runLogPath(r.logDirectory), result.logProblem);
    if (!result.ok) {
        boxes.show(failureMessage(result));
        return RunStatus::Failed;
    }
    std::vector<std::string> destinations;
    for (const ConversionTarget& target : *targets)
        destinations.push_back(target.standardOutput ? t::kStandardOutput : target.destination);
    report.noteLines = recordNoteLines(result.notes, destinations);
    bool someoneFollows = r.unattended || !r.afterRunPath.empty() || r.exitAfterRun;
    report.completionShown = !someoneFollows;
    if (!someoneFollows) {
        Message done = t::completionMessage(result.recordCount, result.replacedCount);
        for (const std::string& line : report.noteLines)
            done.text += "\r" + line;
        boxes.show(done);
    }
    return RunStatus::Completed;
}

} // namespace

RunReport runJob(const RunRequest& request, MessageBoxes& boxes, ProgramLauncher& launcher,
                 RunObserver& observer, const OutputOverride& output) {
    RunReport report;
    if (!checkPaths(request, boxes))
        return report;
    observer.started();
    report.status = convert(request, output, boxes, observer, report);
    // A program that follows the run would take the previous destination
    // for a new one, so it is only started after a completed conversion.
    if (report.status == RunStatus::Completed && !request.afterRunPath.empty()) {
        StartResult started = launcher.start(request.afterRunPath);
        report.afterRunStarted = static_cast<bool>(started);
        if (!started)
            boxes.show(stop(std::string(t::kAfterRunFailed1) + request.afterRunPath +
                            t::kAfterRunFailed2 + "\r" + t::startFailureText(started.error)));
    }
    return report;
}

} // namespace quisk
