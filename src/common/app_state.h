#pragma once

#include <string>

namespace quisk {

// The application-wide values shared by the windows; the application holds
// one instance and hands it to each window it creates.
struct AppState {
    // The current job file and whether the main window's job changed since
    // it was loaded, created or saved.
    std::string jobPath;
    bool jobDirty = false;

    // The current directory at start-up (the log and default job live
    // there) and whether an unattended run waits for the window to show.
    std::string startDirectory;
    bool runMode = false;
    bool unattended = false; // the switch "/I" was given

    // The job's paths as last copied from the main window.
    std::string jobSourcePath;
    std::string jobDestinationPath;
    std::string jobFormatPath;

    // The format editor's file, its change mark, and whether it loads and
    // closes without asking.
    std::string formatPath;
    bool formatDirty = false;
    bool openFormatDirectly = false;

    // The four quote and separator texts as of the last load or save, in
    // the order quote for Char, quote for Num, separator for Char and Num.
    std::string textQuoteChar;
    std::string textQuoteNum;
    std::string separatorChar;
    std::string separatorNum;

    // The field-name line of the current run.
    std::string fieldNameRow;

    // Input and answer of the bulk type-change dialog.
    std::string typeChangeTarget;
    std::string typeChangeAnswer;
};

} // namespace quisk

namespace quisk {

// The main window's format path box as the format editor sees it: on
// closing, the editor may offer its format as the job's format and write the
// path there.
class FormatPathBox {
public:
    virtual ~FormatPathBox() = default;
    virtual std::string text() const = 0;
    virtual void setText(const std::string& path) = 0;
};

} // namespace quisk
