#include "app/job_commands.h"

#include "app/app_texts.h"
#include "common/file_io.h"

#include <sys/stat.h>

namespace quisk {
namespace {

namespace t = app_texts;

bool exists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0;
}

Message stop(std::string text) {
    return {std::move(text), t::kErrorTitle, Icon::Stop};
}

} // namespace

JobCommands::JobCommands(AppState& state, JobWindow& window, MessageBoxes& boxes,
                         FileDialogs& dialogs)
    : state_(state), window_(window), boxes_(boxes), dialogs_(dialogs) {}

std::string JobCommands::captionFor(const std::string& jobPath) {
    return std::string(t::kCaptionOpen) + jobPath + t::kCaptionClose;
}

void JobCommands::newJob() {
    state_.jobPath = t::kUntitledJob;
    JobDefinition empty;
    empty.jobName = window_.jobValues().jobName;
    window_.showJob(empty);
    window_.setCaption(captionFor(state_.jobPath));
    state_.jobDirty = false;
}

bool JobCommands::readJob(const std::string& path, int* error) {
    auto job = readJobFile(path, error);
    if (!job)
        return false;
    window_.showJob(*job);
    window_.setCaption(captionFor(path));
    return true;
}

void JobCommands::openJob() {
    auto chosen = dialogs_.open({t::kJobOpenTitle, t::kJobOpenFilter, state_.jobPath});
    if (!chosen) {
        state_.jobPath = t::kUntitledJob;
        return;
    }
    int error = 0;
    if (!readJob(*chosen, &error)) {
        boxes_.show(stop(t::jobReadFailedText(*chosen, error)));
        return;
    }
    state_.jobPath = *chosen;
    state_.jobDirty = false;
}

SaveOutcome JobCommands::saveJob() {
    int error = 0;
    if (!writeJobFile(state_.jobPath, window_.jobValues(), &error)) {
        boxes_.show(stop(t::jobWriteFailedText(state_.jobPath, error)));
        return SaveOutcome::Failed;
    }
    state_.jobDirty = false;
    return SaveOutcome::Saved;
}

SaveOutcome JobCommands::saveJobAs() {
    bool askName = true;
    return saveWithName(askName);
}

std::optional<std::string> JobCommands::askSaveName(const char* title,
                                                    const std::string& initialName) {
    auto chosen = dialogs_.save({title, t::kJobSaveFilter, initialName});
    if (!chosen)
        return std::nullopt;
    if (chosen->empty()) {
        boxes_.show({t::kSaveCancelled, t::kConfirmTitle});
        return std::nullopt;
    }
    if (exists(*chosen)) {
        Message ask{std::string(t::kJobExists1) + "\r" + t::kJobExists2, t::kJobExistsTitle,
                    Icon::None, Buttons::OkCancel, Answer::Ok};
        if (boxes_.show(ask) != Answer::Ok)
            return std::nullopt;
    }
    return chosen;
}

SaveOutcome JobCommands::saveWithName(bool& askName) {
    if (state_.jobPath == t::kUntitledJob) {
        auto name = askSaveName(t::kJobSaveTitle, t::kUntitledJob);
        if (!name)
            return SaveOutcome::Cancelled;
        state_.jobPath = *name;
        askName = false;
    }
    if (askName) {
        auto name = askSaveName(t::kJobSaveAsTitle, state_.jobPath);
        if (!name)
            return SaveOutcome::Cancelled;
        state_.jobPath = *name;
    }
    return saveJob();
}

// Saves the job the save question was about, asking for a name when it
// has no file yet.
SaveOutcome JobCommands::saveChangedJob() {
    bool askName = !isRegularFile(state_.jobPath);
    return saveWithName(askName);
}

Answer JobCommands::askToSave() {
    Message ask{std::string(t::kJobChanged1) + "\r" + t::kJobChanged2, t::kJobChangedTitle,
                Icon::None, Buttons::YesNoCancel, Answer::Yes};
    return boxes_.show(ask);
}

bool JobCommands::mayClose() {
    if (!state_.jobDirty)
        return true;
    switch (askToSave()) {
    case Answer::No:
        return true;
    case Answer::Yes:
        // A failed write keeps the window open: closing would lose the
        // changes the user has just asked to keep. Its message is shown.
        return saveChangedJob() != SaveOutcome::Failed;
    default:
        state_.jobDirty = true;
        return false;
    }
}

bool JobCommands::mayReplace() {
    if (!state_.jobDirty)
        return true;
    switch (askToSave()) {
    case Answer::No:
        return true;
    case Answer::Yes:
        return saveChangedJob() == SaveOutcome::Saved;
    default:
        return false;
    }
}

void JobCommands::loadStartupJob(const CommandLine& commandLine) {
    bool loaded = false;
    if (commandLine.empty) {
        std::string path = state_.startDirectory + "/" + t::kDefaultJobFile;
        if (isRegularFile(path)) {
            state_.jobPath = path;
            loaded = readJob(path);
        }
    } else if (auto path = commandLinePath(commandLine, boxes_)) {
        state_.jobPath = *path;
        loaded = readJob(*path);
    } else {
        state_.jobPath = t::kUntitledJob;
    }
    if (!loaded) {
        boxes_.show(stop(std::string(t::kStartupFailed1) + "\r" + t::kStartupFailed2 + "\r" +
                         t::kStartupFailed3));
        openJob();
    }
    state_.jobDirty = false;
}

} // namespace quisk
