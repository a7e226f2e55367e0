#pragma once

#include "app/command_line.h"
#include "app/job_file.h"
#include "common/app_state.h"
#include "common/platform.h"

#include <string>

// The job commands of the main window's File menu, start-up's loading of the
// first job and the question when the window closes. The job itself lives
// only in the window's boxes: these commands read it from there and write it
// back there through JobWindow.
namespace quisk {

// The main window as the job commands see it.
class JobWindow {
public:
    virtual ~JobWindow() = default;
    virtual JobDefinition jobValues() const = 0;
    virtual void showJob(const JobDefinition& job) = 0; // marks the job changed
    virtual void setCaption(const std::string& caption) = 0;
};

enum class SaveOutcome { Saved, Cancelled, Failed };

class JobCommands {
public:
    JobCommands(AppState& state, JobWindow& window, MessageBoxes& boxes, FileDialogs& dialogs);

    void newJob();         // empties the paths and switches, keeps the job name
    void openJob();        // asks for a job file and reads it
    SaveOutcome saveJob(); // writes the window's job to the current job path
    SaveOutcome saveJobAs();
    // Saves, asking for a name first when the job is untitled or askName is
    // set; askName is cleared once a name has been asked for.
    SaveOutcome saveWithName(bool& askName);

    // The question when the window closes; false keeps the window open.
    bool mayClose();
    // The same question before another job replaces a changed one (new,
    // open); false keeps the current job: the user cancelled, or the save
    // did not happen.
    bool mayReplace();

    // Reads a job file into the window and shows its path in the caption;
    // false (window unchanged) when it cannot be read.
    bool readJob(const std::string& path, int* error = nullptr);

    // Loads the first job at start-up: the one the command line names, or
    // the default job in the start directory; offers the open dialog when
    // neither can be read. The job counts as unchanged afterwards.
    void loadStartupJob(const CommandLine& commandLine);

    static std::string captionFor(const std::string& jobPath);

private:
    Answer askToSave();
    SaveOutcome saveChangedJob();
    std::optional<std::string> askSaveName(const char* title, const std::string& initialName);

    AppState& state_;
    JobWindow& window_;
    MessageBoxes& boxes_;
    FileDialogs& dialogs_;
};

} // namespace quisk
