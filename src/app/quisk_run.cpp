// quisk-run: runs a conversion without a display, for scripts and servers.
#include "app/app_texts.h"
#include "app/check_command.h"
#include "app/job_file.h"
#include "common/signal_cleanup.h"
#include "engine/engine_texts.h"
#include "engine/output_encoding.h"
#include "engine/path_hints.h"
#include "engine/run_command.h"

#include <csignal>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <string>
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
    "  or:  quisk-run --check [--json] JOB.dof\n"
    "  or:  quisk-run --check [--json] --format FORMAT.qfd SOURCE\n"
    "Convert a Shift-JIS text file as the Quisk job JOB.dof describes, or convert\n"
    "SOURCE into DESTINATION with the format file FORMAT.qfd, and write Quisk.log\n"
    "in the current directory. With --check, only check the source against the\n"
    "layout.\n"
    "\n"
    "With --format, a SOURCE of - reads standard input and a DESTINATION of -\n"
    "writes standard output, so quisk-run works as a filter. A source that starts\n"
    "with a gzip or zstd header is decompressed while it is read; a DESTINATION\n"
    "ending in .gz or .zst is compressed while it is written.\n"
    "\n"
    "  --overwrite      replace an existing destination even if the job does not\n"
    "                   allow it\n"
    "  --format FILE    use the format file FILE instead of a job file\n"
    "  --encoding E     write the destination in E instead of the format's\n"
    "                   encoding: utf-8, utf-8-bom (UTF-8 with a byte order mark)\n"
    "                   or sjis\n"
    "  --eol L          end every line written with L instead of the format's\n"
    "                   line end: lf or crlf\n"
    "  --check          only check the whole SOURCE against the layout: report the\n"
    "                   lines read and, per kind of problem, its count and first\n"
    "                   lines; write neither the destination nor the log\n"
    "  --json           with --check, print the report as one JSON object\n"
    "  --help           display this help and exit\n"
    "  --version        output version information and exit\n"
    "\n"
    "Messages go to standard error, the completion message to standard output\n"
    "(to standard error when the destination is -).\n"
    "A destination file is replaced only once it is complete: a failed run leaves\n"
    "the previous one in place. This cannot apply to standard output: the bytes\n"
    "go out as they are converted, and a failed run (exit status 1) may have\n"
    "written part of the output. A reader that stops reading (a closed pipe) or\n"
    "a full disk ends the run with exit status 1 and a message.\n"
    "Bytes of the source that are not Shift-JIS become U+FFFD in UTF-8 output;\n"
    "a second line after the completion message says how many.\n"
    "\n"
    "Exit status:\n"
    " 0  if the destination was written,\n"
    " 1  if the run failed or was refused,\n"
    " 2  if the command line was wrong,\n"
    " 3  if the destination was written but the after-run program could not be\n"
    "    started,\n"
    " 4  if --check found problems (0 when it found none).\n"
    "\n"
    "Full documentation: man quisk-run, or the help of the quisk program (F1).\n";

constexpr const char* kVersion = "quisk-run (Quisk) " QUISK_VERSION "\n"
                                 "Copyright (C) 2026 The Quisk developers.\n";

// Messages go to standard error as "TITLE: TEXT", the completion message to
// standard output unless the converted data go there. A question cannot be
// asked: it is declined with a hint.
class ConsoleMessageBoxes : public MessageBoxes {
public:
    explicit ConsoleMessageBoxes(bool dataOnStandardOutput = false)
        : dataOnStandardOutput_(dataOnStandardOutput) {}
    Answer show(const Message& m) override {
        std::string text = m.text;
        for (char& c : text)
            if (c == '\r')
                c = '\n';
        bool completion = m.icon == Icon::Information && !dataOnStandardOutput_;
        (completion ? std::cout : std::cerr) << m.title << ": " << text << '\n';
        switch (m.buttons) {
        case Buttons::Ok:
            return Answer::Ok;
        case Buttons::OkCancel:
            std::cerr << app_texts::kRunnerOverwriteHint << '\n';
            return Answer::Cancel;
        default:
            return Answer::No;
        }
    }

private:
    bool dataOnStandardOutput_;
};

struct Options {
    bool overwrite = false;
    bool check = false;
    bool json = false;
    std::string format;
    OutputOverride output;
    std::vector<std::string> paths;
};

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
        else if (a == "--format" && i + 1 < argc)
            o.format = argv[++i];
        else if (a == "--encoding" && i + 1 < argc) {
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
    std::size_t expected = o.format.empty() || o.check ? 1 : 2;
    if (o.paths.size() != expected || (o.json && !o.check))
        return std::nullopt;
    return o;
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
    // An interrupted run leaves no temporary file behind.
    removeTemporariesOnSignals();
    // A reader that goes away ends the run with a message, not silently.
    std::signal(SIGPIPE, SIG_IGN);
    ConsoleMessageBoxes boxes(!options->format.empty() && options->paths.size() == 2 &&
                              options->paths[1] == kStream);
    if (options->check)
        return runCheck(checkRequestFor(*options), boxes, std::cout);
    auto request = requestFor(*options, commandFromJobFolder(argc, argv, options->paths[0]), boxes);
    if (!request)
        return kExitFailed;
    ProgramLauncher launcher;
    RunObserver observer;
    RunReport report = runJob(*request, boxes, launcher, observer, options->output);
    // A job that starts a program or ends the application shows no
    // completion message; replaced bytes are still worth a line.
    if (report.status == RunStatus::Completed && report.replacedCount > 0 &&
        !report.completionShown)
        std::cerr << engine_texts::kConfirmTitle << ": "
                  << engine_texts::replacedText(report.replacedCount) << '\n';
    if (!report.logProblem.empty())
        std::cerr << report.logProblem << '\n';
    if (report.status != RunStatus::Completed)
        return kExitFailed;
    bool afterRunFailed = !request->afterRunPath.empty() && !report.afterRunStarted;
    return afterRunFailed ? kExitAfterRunFailed : kExitOk;
}
