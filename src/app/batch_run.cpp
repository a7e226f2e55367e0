#include "batch_run.h"

#include "app/app_texts.h"
#include "app/console_messages.h"
#include "common/file_io.h"
#include "engine/engine_texts.h"
#include "format/format_file.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <map>
#include <mutex>
#include <sstream>
#include <thread>

namespace quisk {
namespace {

namespace fs = std::filesystem;
namespace t = app_texts;

// One source, where it goes, and why it is refused (empty when it is not).
struct Planned {
    std::string source;
    std::string destination;
    std::string refusal;
};

struct FileOutcome {
    bool converted = false;
    long long records = 0;
    long long bytes = 0;
    std::string messages;
    std::string logProblem;
};

bool sameFile(const std::string& a, const std::string& b) {
    std::error_code ec;
    if (fs::equivalent(a, b, ec))
        return true;
    return fs::absolute(a, ec).lexically_normal() == fs::absolute(b, ec).lexically_normal();
}

std::vector<Planned> plan(const BatchRequest& r, const std::string& extension) {
    std::vector<Planned> plans;
    std::map<std::string, std::string> firstSourceOf; // by normalised destination
    for (const std::string& source : r.sources) {
        Planned p{source, batchDestination(source, r.outputFolder, extension), {}};
        std::error_code ec;
        std::string key = fs::absolute(p.destination, ec).lexically_normal().string();
        auto [first, isNew] = firstSourceOf.emplace(key, source);
        if (!isNew)
            p.refusal = t::sameDestinationText(first->second, p.destination);
        else if (sameFile(source, p.destination))
            p.refusal = t::ownSourceText(p.destination);
        plans.push_back(std::move(p));
    }
    return plans;
}

FileOutcome convertOne(const Planned& p, const BatchRequest& r) {
    FileOutcome outcome;
    std::ostringstream text;
    ConsoleMessageBoxes boxes(text, text);
    if (!p.refusal.empty()) {
        boxes.show({p.refusal, engine_texts::kErrorTitle, Icon::Stop});
        outcome.messages = text.str();
        return outcome;
    }
    RunRequest run;
    run.sourcePath = p.source;
    run.destinationPath = p.destination;
    run.formatPath = r.formatPath;
    run.overwriteExisting = r.overwriteExisting;
    run.unattended = true; // the summary stands for the completion messages
    run.logDirectory = r.logDirectory;
    ProgramLauncher launcher;
    RunObserver observer;
    RunReport report = runJob(run, boxes, launcher, observer, r.output);
    outcome.converted = report.status == RunStatus::Completed;
    if (outcome.converted) {
        outcome.records = report.recordCount;
        outcome.bytes = report.bytesRead;
        if (report.replacedCount > 0)
            text << engine_texts::kConfirmTitle << ": "
                 << engine_texts::replacedText(report.replacedCount) << '\n';
    }
    outcome.messages = text.str();
    outcome.logProblem = report.logProblem;
    return outcome;
}

// A source's messages as one block, its name in front of the first line.
void printBlock(std::ostream& out, const std::string& source, const std::string& messages) {
    if (!messages.empty())
        out << source << ": " << messages << std::flush;
}

} // namespace

std::string outputExtension(const std::string& outputKind) {
    return outputKind == kTextFile ? ".txt" : ".csv";
}

std::string batchDestination(const std::string& source, const std::string& folder,
                             const std::string& extension) {
    fs::path name = fs::path(source).filename();
    if (name.extension() == ".gz" || name.extension() == ".zst")
        name = name.stem();
    name = name.stem();
    if (name.empty() || name == "." || name == "..")
        name = fs::path(source).filename(); // a name that is all extension
    return (fs::path(folder) / name).string() + extension;
}

bool runBatch(const BatchRequest& request, std::ostream& messages, BatchSummary& summary) {
    const auto start = std::chrono::steady_clock::now();
    ConsoleMessageBoxes boxes(messages, messages);
    if (!isDirectory(request.outputFolder)) {
        boxes.show({t::missingOutputFolderText(request.outputFolder), engine_texts::kErrorTitle,
                    Icon::Stop});
        return false;
    }
    FormatDefinition format;
    if (!loadFormatFile(request.formatPath, format, boxes))
        return false;
    const std::vector<Planned> plans = plan(request, outputExtension(format.settings.outputKind));

    std::vector<FileOutcome> outcomes(plans.size());
    std::atomic<std::size_t> next{0};
    std::mutex printing;
    auto work = [&] {
        for (std::size_t i; (i = next++) < plans.size();) {
            outcomes[i] = convertOne(plans[i], request);
            std::lock_guard lock(printing);
            printBlock(messages, plans[i].source, outcomes[i].messages);
        }
    };
    const std::size_t helpers = std::min<std::size_t>(std::max(request.jobs, 1u), plans.size());
    std::vector<std::thread> threads;
    for (std::size_t i = 1; i < helpers; ++i)
        threads.emplace_back(work);
    work();
    for (std::thread& thread : threads)
        thread.join();

    summary = {};
    summary.files = static_cast<long long>(plans.size());
    std::string logProblem;
    for (std::size_t i = 0; i < plans.size(); ++i) {
        const FileOutcome& o = outcomes[i];
        summary.converted += o.converted;
        summary.records += o.records;
        summary.bytes += o.bytes;
        if (!o.converted)
            summary.failed.push_back(plans[i].source);
        if (logProblem.empty())
            logProblem = o.logProblem;
    }
    if (!logProblem.empty()) // the same folder for every run: said once
        messages << logProblem << '\n';
    summary.seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return true;
}

} // namespace quisk
