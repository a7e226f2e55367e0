#include "run_command.h"

#include "common/common_texts.h"
#include "common/file_io.h"
#include "engine/conversion.h"
#include "engine/engine_texts.h"
#include "engine/field_names.h"
#include "engine/path_hints.h"
#include "engine/run_log.h"
#include "format/format_file.h"

#include <cerrno>
#include <filesystem>
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
    for (const auto& [path, name, isStream] : files) {
        if (!isStream && isRunLog(*path, log)) {
            boxes.show(stop(std::string(name) + t::kIsLog1 + log + t::kIsLog2));
            return true;
        }
    }
    return false;
}

// The checks of a destination file: not a folder, not replaced unasked.
bool checkDestination(const RunRequest& r, MessageBoxes& boxes) {
    if (isDirectory(r.destinationPath)) {
        boxes.show(stop(std::string(t::kDestinationIsFolder) + "\r" + t::kDestinationLabel +
                        r.destinationPath));
        return false;
    }
    // A dangling link counts as an existing destination: writing creates
    // the file it names.
    if (pathExists(r.destinationPath) && !r.overwriteExisting) {
        Message ask{t::kOverwrite, t::kOverwriteTitle, Icon::None, Buttons::OkCancel, Answer::Ok};
        if (boxes.show(ask) != Answer::Ok)
            return false;
    }
    return true;
}

bool checkDestinationFolder(const RunRequest& r, MessageBoxes& boxes) {
    std::string folder = destinationFolder(r.destinationPath);
    if (!isDirectory(folder)) {
        boxes.show(
            stop(missingPathText(t::kNoDestinationFolder, folder, PathRole::Folder, hints(r))));
        return false;
    }
    return true;
}

// The checks before anything is opened, in the order the user meets them;
// false when the run must not start. A stream is not checked.
bool checkPaths(const RunRequest& r, MessageBoxes& boxes) {
    if (r.sourcePath.empty() || r.destinationPath.empty() || r.formatPath.empty()) {
        boxes.show(stop(std::string(t::kPathsRequired1) + "\r" + t::kPathsRequired2));
        return false;
    }
    if (refuseTheLog(r, boxes))
        return false;
    if (!r.standardInput && !isRegularFile(r.sourcePath)) {
        boxes.show(stop(notAFileText(t::kNoSource, t::kSourceLabel, r.sourcePath, r)));
        return false;
    }
    if (!r.standardOutput && !checkDestination(r, boxes))
        return false;
    if (!isRegularFile(r.formatPath)) {
        boxes.show(stop(notAFileText(t::kNoFormat, t::kFormatLabel, r.formatPath, r)));
        return false;
    }
    return r.standardOutput || checkDestinationFolder(r, boxes);
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
    if (f.destinationDamaged)
        m.text += std::string("\r") + t::kDestinationDamaged;
    else if (f.destinationExisted)
        m.text += std::string("\r") + t::kDestinationKept;
    return m;
}

RunStatus convert(const RunRequest& r, const OutputOverride& output, MessageBoxes& boxes,
                  RunObserver& observer, RunReport& report) {
    FormatDefinition format;
    if (!loadFormatFile(r.formatPath, format, boxes))
        return RunStatus::Failed;
    if (!output.encoding.empty())
        format.settings.outputEncoding = output.encoding;
    if (!output.lineEnd.empty())
        format.settings.outputLineEnd = output.lineEnd;
    std::string fieldNameRow;
    if (format.settings.fieldNamesOnTop) {
        auto names = readFieldNameRow(r.formatPath);
        if (!names) {
            boxes.show(stop(t::kFieldNamesFailed));
            return RunStatus::Failed;
        }
        fieldNameRow = *names;
    }
    ConversionPaths paths{r.sourcePath, r.destinationPath, runLogPath(r.logDirectory),
                          r.standardInput, r.standardOutput};
    ConversionResult result = saveData(format, fieldNameRow, paths, [&] { observer.yield(); });
    report.recordCount = result.recordCount;
    report.replacedCount = result.replacedCount;
    report.bytesRead = result.bytesRead;
    if (!result.logProblem.empty())
        report.logProblem = t::logNotWrittenText(paths.logFile, result.logProblem);
    if (!result.ok) {
        boxes.show(failureMessage(result));
        return RunStatus::Failed;
    }
    bool someoneFollows = r.unattended || !r.afterRunPath.empty() || r.exitAfterRun;
    report.completionShown = !someoneFollows;
    if (!someoneFollows)
        boxes.show(t::completionMessage(result.recordCount, result.replacedCount));
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
