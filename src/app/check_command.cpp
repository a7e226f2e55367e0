#include "check_command.h"

#include "app/app_texts.h"
#include "app/job_file.h"
#include "common/common_texts.h"
#include "common/file_io.h"
#include "engine/check_report.h"
#include "engine/check_texts.h"
#include "engine/engine_texts.h"
#include "format/format_file.h"

namespace quisk {
namespace {

namespace t = check_texts;

Message stop(std::string text) {
    return {std::move(text), t::kErrorTitle, Icon::Stop};
}

// The source and the formats of the request: a job's every layout, in the
// order the job lists them.
std::optional<std::vector<CheckedFiles>> filesFor(const CheckRequest& request,
                                                  MessageBoxes& boxes) {
    if (request.jobPath.empty())
        return std::vector{CheckedFiles{request.sourcePath, request.formatPath}};
    int error = 0;
    auto job = readJobFile(request.jobPath, &error);
    if (!job) {
        boxes.show({app_texts::jobReadFailedText(request.jobPath, error), app_texts::kErrorTitle,
                    Icon::Stop});
        return std::nullopt;
    }
    std::vector files{CheckedFiles{job->sourcePath, job->formatFilePath}};
    for (const ExtraPair& pair : job->extraPairs)
        files.push_back({job->sourcePath, pair.formatPath});
    return files;
}

// Checks the source against one format; empty when either cannot be read.
std::optional<std::string> checkOne(const CheckedFiles& files, bool json, MessageBoxes& boxes,
                                    bool& clean) {
    if (!isRegularFile(files.source)) {
        boxes.show(stop(t::kNoSource));
        return std::nullopt;
    }
    if (!isRegularFile(files.format)) {
        boxes.show(stop(t::kNoFormat));
        return std::nullopt;
    }
    FormatDefinition format;
    if (!loadFormatFile(files.format, format, boxes))
        return std::nullopt;
    const FileCheckResult result = checkFile(format, files.source);
    if (!result.complete) {
        boxes.show(stop(std::string(t::kReadFailed) + "\r" + engine_texts::kSourceLabel +
                        files.source + "\r" + common_texts::causeText(result.error, false)));
        return std::nullopt;
    }
    clean = result.clean();
    return json ? checkReportJson(result, format, files) : checkReportText(result, format, files);
}

// Several reports: as text one after another with a blank line between, as
// JSON one array of the objects.
std::string joined(const std::vector<std::string>& reports, bool json) {
    if (reports.size() == 1)
        return reports[0];
    std::string all = json ? "[" : "";
    for (std::size_t i = 0; i < reports.size(); ++i) {
        std::string report = reports[i];
        if (json && report.ends_with('\n'))
            report.pop_back();
        all += (i == 0 ? "" : json ? "," : "\n") + report;
    }
    return json ? all + "]\n" : all;
}

} // namespace

int runCheck(const CheckRequest& request, MessageBoxes& boxes, std::ostream& out) {
    auto files = filesFor(request, boxes);
    if (!files)
        return kCheckFailed;
    // Every format is checked before anything is printed, so a failure
    // leaves no half report.
    std::vector<std::string> reports;
    bool allClean = true;
    for (const CheckedFiles& f : *files) {
        bool clean = true;
        auto report = checkOne(f, request.json, boxes, clean);
        if (!report)
            return kCheckFailed;
        reports.push_back(std::move(*report));
        allClean = allClean && clean;
    }
    out << joined(reports, request.json);
    return allClean ? kCheckClean : kCheckProblems;
}

} // namespace quisk
