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

// The source and format of the request, read from the job when it names one.
std::optional<CheckedFiles> filesFor(const CheckRequest& request, MessageBoxes& boxes) {
    if (request.jobPath.empty())
        return CheckedFiles{request.sourcePath, request.formatPath};
    int error = 0;
    auto job = readJobFile(request.jobPath, &error);
    if (!job) {
        boxes.show({app_texts::jobReadFailedText(request.jobPath, error), app_texts::kErrorTitle,
                    Icon::Stop});
        return std::nullopt;
    }
    return CheckedFiles{job->sourcePath, job->formatFilePath};
}

} // namespace

int runCheck(const CheckRequest& request, MessageBoxes& boxes, std::ostream& out) {
    auto files = filesFor(request, boxes);
    if (!files)
        return kCheckFailed;
    if (!isRegularFile(files->source)) {
        boxes.show(stop(t::kNoSource));
        return kCheckFailed;
    }
    if (!isRegularFile(files->format)) {
        boxes.show(stop(t::kNoFormat));
        return kCheckFailed;
    }
    FormatDefinition format;
    if (!loadFormatFile(files->format, format, boxes))
        return kCheckFailed;
    const FileCheckResult result = checkFile(format, files->source);
    if (!result.complete) {
        boxes.show(stop(std::string(t::kReadFailed) + "\r" + engine_texts::kSourceLabel +
                        files->source + "\r" + common_texts::causeText(result.error, false)));
        return kCheckFailed;
    }
    out << (request.json ? checkReportJson(result, format, *files)
                         : checkReportText(result, format, *files));
    return result.clean() ? kCheckClean : kCheckProblems;
}

} // namespace quisk
