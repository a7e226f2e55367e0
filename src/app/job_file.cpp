#include "job_file.h"

#include "common/escape.h"
#include "common/file_io.h"
#include "common/sjis.h"
#include "format/record_reader.h"

#include <vector>

namespace quisk {
namespace {

constexpr std::size_t kJobValueCount = 7;

const char* flag(bool on) { return on ? "1" : "0"; }

} // namespace

std::string jobFileText(const JobDefinition& job) {
    std::string out;
    for (const std::string& value :
         {changeDouble(job.jobName), changeDouble(job.sourcePath),
          changeDouble(job.destinationPath), changeDouble(job.formatFilePath),
          changeDouble(job.afterRunPath), std::string(flag(job.overwriteExisting)),
          std::string(flag(job.exitAfterRun))}) {
        out += out.empty() ? "\"" : ",\"";
        out += value;
        out += '"';
    }
    for (const ExtraPair& pair : job.extraPairs) {
        for (const std::string& value : {pair.formatPath, pair.destinationPath}) {
            out += ",\"";
            out += changeDouble(value);
            out += '"';
        }
    }
    out += "\r\n";
    return out;
}

std::optional<JobDefinition> parseJobText(std::string_view text) {
    RecordReader reader(text);
    std::vector<std::string> v;
    if (!reader.readRecord(kJobValueCount, v))
        return std::nullopt;
    JobDefinition job{restoreDouble(v[0]), restoreDouble(v[1]), restoreDouble(v[2]),
                      restoreDouble(v[3]), restoreDouble(v[4]), v[5] == "1", v[6] == "1", {}};
    std::string format, destination;
    while (reader.valueFollowsOnLine() && reader.readNext(format) &&
           reader.valueFollowsOnLine() && reader.readNext(destination))
        job.extraPairs.push_back({restoreDouble(format), restoreDouble(destination)});
    return job;
}

std::optional<JobDefinition> readJobFile(const std::string& path, int* error) {
    std::optional<std::string> bytes = readWholeFile(path, error);
    std::optional<std::string> text = bytes ? sjis::decode(*bytes) : std::nullopt;
    return text ? parseJobText(*text) : std::nullopt;
}

bool writeJobFile(const std::string& path, const JobDefinition& job, int* error) {
    std::optional<std::string> bytes = sjis::encode(jobFileText(job));
    return bytes && writeFileAtomically(path, *bytes, error);
}

} // namespace quisk
