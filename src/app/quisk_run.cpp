// quisk-run: runs a conversion without a display, for scripts and servers.
#include "app/app_texts.h"
#include "app/batch_run.h"
#include "app/check_command.h"
#include "app/console_messages.h"
#include "app/job_file.h"
#include "app/splittable.h"
#include "common/signal_cleanup.h"
#include "engine/engine_texts.h"
#include "engine/field_names.h"
#include "engine/output_encoding.h"
#include "engine/path_hints.h"
#include "engine/run_command.h"
#include "format/format_file.h"

#include <algorithm>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <iomanip>
#include <iostream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace quisk;

constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;
constexpr int kExitAfterRunFailed = 3;

// A source or destination of "-" is standard input or standard output.
constexpr const char* kStream = "-";

constexpr const char* kUsage =
    "Usage: quisk-run [OPTION]... JOB.dof\n"
    "  or:  quisk-run [OPTION]... --format FORMAT.qfd SOURCE DESTINATION\n"
    "  or:  quisk-run [OPTION]... --format FORMAT.qfd --output-dir DIR SOURCE...\n"
    "  or:  quisk-run --check [--json] JOB.dof\n"
    "  or:  quisk-run --check [--json] --format FORMAT.qfd SOURCE\n"
    "  or:  quisk-run [--encoding E] --format FORMAT.qfd --splittable\n"
    "Convert a Shift-JIS text file as the Quisk job JOB.dof describes, or convert\n"
    "SOURCE into DESTINATION with the format file FORMAT.qfd, and write Quisk.log\n"
    "in the current directory. With --check, only check the source against the\n"
    "layout.\n"
    "\n"
    "With --format, a SOURCE of - reads standard input and a DESTINATION of -\n"
    "writes standard output, so quisk-run works as a filter:\n"
    "  zcat in.txt.gz | quisk-run --format F.qfd - - | sort > out.csv\n"
    "A source that starts with a gzip or zstd header is decompressed while it is\n"
    "read; a DESTINATION ending in .gz or .zst is compressed while it is written.\n"
    "\n"
    "  --overwrite      replace an existing destination even if the job does not\n"
    "                   allow it\n"
    "  --format FILE    use the format file FILE instead of a job file\n"
    "  --encoding E     write the destination in E instead of the format's\n"
    "                   encoding: utf-8, utf-8-bom (UTF-8 with a byte order mark)\n"
    "                   or sjis\n"
    "  --eol L          end every line written with L instead of the format's\n"
    "                   line end: lf or crlf\n"
    "  --output-dir DIR convert every SOURCE into DIR/NAME.csv (NAME.txt for\n"
    "                   fixed-width output), NAME being the source's file name\n"
    "                   without .gz or .zst and its extension; print a summary\n"
    "                   (files, records, bytes, seconds, failures) and list the\n"
    "                   sources that failed\n"
    "  -j, --jobs N     with --output-dir, convert N sources at once (default:\n"
    "                   the number of processor cores)\n"
    "  --check          only check the whole SOURCE against the layout: report the\n"
    "                   lines read and, per kind of problem, its count and first\n"
    "                   lines; write neither the destination nor the log. A job\n"
    "                   with several formats gets a report for each\n"
    "  --json           with --check, print the report as one JSON object (an\n"
    "                   array of them for a job with several formats)\n"
    "  --splittable     print yes (exit status 0) when converting pieces of a\n"
    "                   source split between lines and joining the results gives\n"
    "                   the same output as converting it whole: the format has no\n"
    "                   field-name line, header, footer, line ranges or byte order\n"
    "                   mark; else print no (exit status 1) and the reasons\n"
    "  --help           display this help and exit\n"
    "  --version        output version information and exit\n"
    "\n"
    "Messages go to standard error, the completion message to standard output\n"
    "(to standard error when the destination is -).\n"
    "A destination file is replaced only once it is complete: a failed run leaves\n"
    "the previous one in place. This does not apply to standard output: the\n"
    "bytes go out as they are converted, and a failed run (exit status 1) may\n"
    "have written part of the output. A reader that stops reading (a closed\n"
    "pipe) or a full disk ends the run with exit status 1 and a message.\n"
    "Bytes of the source that are not Shift-JIS become U+FFFD in UTF-8 output;\n"
    "a second line after the completion message says how many.\n"
    "\n"
    "Exit status:\n"
    " 0  if the destination was written (with --output-dir: every destination),\n"
    " 1  if the run failed or was refused (with --output-dir: any of them),\n"
    " 2  if the command line was wrong,\n"
    " 3  if the destination was written but the after-run program could not be\n"
    "    started,\n"
    " 4  if --check found problems (0 when it found none).\n"
    "\n"
    "Full documentation: man quisk-run, or the help of the quisk program (F1).\n";

constexpr const char* kVersion = "quisk-run (Quisk) " QUISK_VERSION "\n"
                                 "Copyright (C) 2026 The Quisk developers.\n";

struct Options {
    bool overwrite = false;
    bool check = false;
    bool json = false;
    bool splittable = false;
    std::string format;
    std::string outputFolder;
    unsigned jobs = 0; // 0: not given
    OutputOverride output;
    std::vector<std::string> paths;
};

// A positive count of conversions at once, or 0 for anything else.
unsigned jobCount(const std::string& text) {
    if (text.empty() || text.size() > 4 || text.find_first_not_of("0123456789") != text.npos)
        return 0;
    return static_cast<unsigned>(std::stoul(text));
}

// Whether the options make one of the command forms of the usage text.
bool fitsTogether(const Options& o) {
    const bool withFormat = !o.format.empty();
    const bool batch = !o.outputFolder.empty();
    const std::size_t n = o.paths.size();
    if ((o.json && !o.check) || (o.jobs > 0 && !batch))
        return false;
    if (o.splittable)
        return withFormat && n == 0 && !o.check && !batch;
    if (batch)
        return withFormat && n >= 1 && !o.check &&
               std::find(o.paths.begin(), o.paths.end(), kStream) == o.paths.end();
    return n == (withFormat && !o.check ? 2u : 1u);
}

// Parses the arguments; an empty optional means a usage error.
std::optional<Options> parse(int argc, char** argv) {
    Options o;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        if (a == "--overwrite")
            o.overwrite = true;
        else if (a == "--check")
            o.check = true;
        else if (a == "--json")
            o.json = true;
        else if (a == "--splittable")
            o.splittable = true;
        else if (a == "--format" && i + 1 < argc)
            o.format = argv[++i];
        else if (a == "--output-dir" && i + 1 < argc)
            o.outputFolder = argv[++i];
        else if ((a == "-j" || a == "--jobs") && i + 1 < argc) {
            o.jobs = jobCount(argv[++i]);
            if (o.jobs == 0)
                return std::nullopt;
        } else if (a == "--encoding" && i + 1 < argc) {
            auto encoding = encodingForOption(argv[++i]);
            if (!encoding)
                return std::nullopt;
            o.output.encoding = *encoding;
        } else if (a == "--eol" && i + 1 < argc) {
            auto lineEnd = lineEndForOption(argv[++i]);
            if (!lineEnd)
                return std::nullopt;
            o.output.lineEnd = *lineEnd;
        } else if (a == "--")
            for (++i; i < argc; ++i)
                o.paths.emplace_back(argv[i]);
        else if (a.size() > 1 && a[0] == '-')
            return std::nullopt;
        else
            o.paths.push_back(a);
    }
    return fitsTogether(o) ? std::optional(o) : std::nullopt;
}

// The runner as a command that works from another folder: as typed when it
// was found through PATH, else made absolute.
std::string runnerCommand(const char* argv0) {
    std::string typed = argv0;
    if (typed.find('/') == std::string::npos)
        return typed;
    std::error_code ec;
    return shellWord(std::filesystem::absolute(typed, ec).lexically_normal().string());
}

// The same command line, to be run from the job file's folder: the job is
// named by its file name, every option stays.
std::string commandFromJobFolder(int argc, char** argv, const std::string& jobPath) {
    std::string command = runnerCommand(argv[0]);
    for (int i = 1; i < argc; ++i) {
        std::string argument = argv[i];
        std::string previous = i > 1 ? argv[i - 1] : "";
        bool optionValue =
            previous == "--format" || previous == "--encoding" || previous == "--eol";
        if (argument == jobPath && !optionValue)
            argument = std::filesystem::path(jobPath).filename().string();
        command += " " + shellWord(argument);
    }
    return command;
}

std::optional<RunRequest> requestFor(const Options& o, const std::string& rerunCommand,
                                     MessageBoxes& boxes) {
    RunRequest r;
    if (o.format.empty()) {
        int error = 0;
        auto job = readJobFile(o.paths[0], &error);
        if (!job) {
            boxes.show({app_texts::jobReadFailedText(o.paths[0], error), app_texts::kErrorTitle,
                        Icon::Stop});
            return std::nullopt;
        }
        r.sourcePath = job->sourcePath;
        r.destinationPath = job->destinationPath;
        r.formatPath = job->formatFilePath;
        r.afterRunPath = job->afterRunPath;
        r.overwriteExisting = job->overwriteExisting;
        r.exitAfterRun = job->exitAfterRun;
        r.extraPairs = job->extraPairs;
        r.jobPath = o.paths[0];
        r.rerunCommand = rerunCommand;
    } else {
        r.formatPath = o.format;
        r.sourcePath = o.paths[0];
        r.destinationPath = o.paths[1];
        r.standardInput = r.sourcePath == kStream;
        r.standardOutput = r.destinationPath == kStream;
    }
    r.overwriteExisting = r.overwriteExisting || o.overwrite;
    std::error_code ec;
    r.logDirectory = std::filesystem::current_path(ec).string();
    return r;
}

CheckRequest checkRequestFor(const Options& o) {
    CheckRequest r;
    (o.format.empty() ? r.jobPath : r.sourcePath) = o.paths[0];
    r.formatPath = o.format;
    r.json = o.json;
    return r;
}

// One conversion: of a job, or of one source with a format.
int runOne(const Options& o, int argc, char** argv) {
    // The completion message goes to standard error when the data go to
    // standard output.
    bool dataOnStandardOutput = !o.format.empty() && o.paths[1] == kStream;
    ConsoleMessageBoxes boxes(dataOnStandardOutput ? std::cerr : std::cout, std::cerr);
    auto request = requestFor(o, commandFromJobFolder(argc, argv, o.paths[0]), boxes);
    if (!request)
        return kExitFailed;
    ProgramLauncher launcher;
    RunObserver observer;
    RunReport report = runJob(*request, boxes, launcher, observer, o.output);
    // A job that starts a program or ends the application shows no
    // completion message; replaced bytes and skipped records are still worth
    // a line each.
    if (report.status == RunStatus::Completed && !report.completionShown) {
        if (report.replacedCount > 0)
            std::cerr << engine_texts::kConfirmTitle << ": "
                      << engine_texts::replacedText(report.replacedCount) << '\n';
        for (const std::string& line : report.noteLines)
            std::cerr << engine_texts::kConfirmTitle << ": " << line << '\n';
    }
    if (!report.logProblem.empty())
        std::cerr << report.logProblem << '\n';
    if (report.status != RunStatus::Completed)
        return kExitFailed;
    bool afterRunFailed = !request->afterRunPath.empty() && !report.afterRunStarted;
    return afterRunFailed ? kExitAfterRunFailed : kExitOk;
}

// Many sources into one folder: the summary on standard output, the sources
// that failed by name on standard error.
int runMany(const Options& o) {
    BatchRequest request;
    request.formatPath = o.format;
    request.outputFolder = o.outputFolder;
    request.sources = o.paths;
    request.jobs = o.jobs > 0 ? o.jobs : std::max(1u, std::thread::hardware_concurrency());
    request.overwriteExisting = o.overwrite;
    request.output = o.output;
    std::error_code ec;
    request.logDirectory = std::filesystem::current_path(ec).string();
    BatchSummary summary;
    if (!runBatch(request, std::cerr, summary))
        return kExitFailed;
    std::ostringstream seconds;
    seconds << std::fixed << std::setprecision(2) << summary.seconds;
    std::cout << engine_texts::kConfirmTitle << ": "
              << app_texts::batchSummaryText(summary.files, summary.converted, summary.records,
                                             summary.bytes, seconds.str())
              << '\n';
    if (summary.failed.empty())
        return kExitOk;
    std::cerr << app_texts::kBatchFailedList << '\n';
    for (const std::string& source : summary.failed)
        std::cerr << "  " << source << '\n';
    return kExitFailed;
}

// Answers whether the format's output can be made from pieces of a source:
// "yes" and status 0, or "no" and status 1 with the reasons on standard error.
int answerSplittable(const Options& o) {
    ConsoleMessageBoxes boxes(std::cout, std::cerr);
    FormatDefinition format;
    if (!loadFormatFile(o.format, format, boxes))
        return kExitFailed;
    if (!o.output.encoding.empty())
        format.settings.outputEncoding = o.output.encoding;
    std::string fieldNameRow;
    if (format.settings.fieldNamesOnTop) {
        auto names = readFieldNameRow(o.format);
        if (!names) {
            boxes.show({engine_texts::kFieldNamesFailed, engine_texts::kErrorTitle, Icon::Stop});
            return kExitFailed;
        }
        fieldNameRow = *names;
    }
    std::vector<std::string> reasons = unsplittableReasons(format.settings, fieldNameRow);
    std::cout << (reasons.empty() ? app_texts::kSplittableYes : app_texts::kSplittableNo) << '\n';
    for (const std::string& reason : reasons)
        std::cerr << reason << '\n';
    return reasons.empty() ? kExitOk : kExitFailed;
}

} // namespace

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0) {
            std::cout << kUsage;
            return kExitOk;
        }
        if (std::strcmp(argv[i], "--version") == 0) {
            std::cout << kVersion;
            return kExitOk;
        }
    }
    auto options = parse(argc, argv);
    if (!options) {
        std::cerr << kUsage;
        return kExitUsage;
    }
    if (options->splittable)
        return answerSplittable(*options);
    // An interrupted run leaves no temporary file behind.
    removeTemporariesOnSignals();
    // A reader that goes away ends the run with a message, not silently.
    std::signal(SIGPIPE, SIG_IGN);
    if (options->check) {
        ConsoleMessageBoxes boxes(std::cout, std::cerr);
        return runCheck(checkRequestFor(*options), boxes, std::cout);
    }
    return options->outputFolder.empty() ? runOne(*options, argc, argv) : runMany(*options);
}
