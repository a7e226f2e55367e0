#pragma once

#include "common/message_box.h"
#include "common/process.h"

#include <cerrno>
#include <deque>
#include <optional>
#include <string>
#include <vector>

// The services the windows use from the desktop, each an interface with a
// scripted implementation for tests. The Qt implementations live in
// platform/; the core uses none of this but MessageBoxes.
namespace quisk {

// A file dialog's request: title, filter list in the form
// "label|pattern|label|pattern" (the first pair selected), initial name.
struct FileDialogRequest {
    std::string title;
    std::string filter;
    std::string initialName;

    bool operator==(const FileDialogRequest&) const = default;
};

// Open and save file dialogs. An empty optional means the user cancelled,
// which is not the same as an empty name.
class FileDialogs {
public:
    virtual ~FileDialogs() = default;
    virtual std::optional<std::string> open(const FileDialogRequest& request) = 0;
    virtual std::optional<std::string> save(const FileDialogRequest& request) = 0;
};

// The system clipboard, plain text.
class Clipboard {
public:
    virtual ~Clipboard() = default;
    virtual std::string text() const = 0;
    virtual void setText(const std::string& text) = 0;
};

// The screen the windows open on, in twips, and its logical DPI.
class Screen {
public:
    virtual ~Screen() = default;
    virtual int widthTwips() const = 0;
    virtual int heightTwips() const = 0;
    virtual double dpi() const = 0;
};

// Everything a window may ask of the desktop.
struct Platform {
    MessageBoxes& messages;
    FileDialogs& dialogs;
    Clipboard& clipboard;
    Screen& screen;
    ProgramLauncher& launcher;
};

// Scripted file dialogs: answers from a queue (nullopt = cancel) and records
// every request. With the script used up every dialog is cancelled.
class ScriptedFileDialogs : public FileDialogs {
public:
    std::optional<std::string> open(const FileDialogRequest& request) override;
    std::optional<std::string> save(const FileDialogRequest& request) override;
    void answer(std::optional<std::string> next) { script_.push_back(std::move(next)); }

    std::vector<FileDialogRequest> opened;
    std::vector<FileDialogRequest> saved;

private:
    std::optional<std::string> next();
    std::deque<std::optional<std::string>> script_;
};

class MemoryClipboard : public Clipboard {
public:
    std::string text() const override { return text_; }
    void setText(const std::string& text) override { text_ = text; }

private:
    std::string text_;
};

// A fixed screen: 1920 x 1080 pixels at 96 DPI unless told otherwise.
class FixedScreen : public Screen {
public:
    FixedScreen(int widthTwips = 28800, int heightTwips = 16200, double dpi = 96)
        : width_(widthTwips), height_(heightTwips), dpi_(dpi) {}
    int widthTwips() const override { return width_; }
    int heightTwips() const override { return height_; }
    double dpi() const override { return dpi_; }

private:
    int width_;
    int height_;
    double dpi_;
};

// Records the command lines it is asked to start and reports success unless
// told to fail (as a missing program does).
class RecordingLauncher : public ProgramLauncher {
public:
    StartResult start(const std::string& commandLine) override {
        started.push_back(commandLine);
        return {succeed ? 0 : ENOENT};
    }
    std::vector<std::string> started;
    bool succeed = true;
};

// A whole scripted desktop for tests.
struct ScriptedPlatform {
    ScriptedMessageBoxes messages;
    ScriptedFileDialogs dialogs;
    MemoryClipboard clipboard;
    FixedScreen screen;
    RecordingLauncher launcher;

    Platform platform() { return Platform{messages, dialogs, clipboard, screen, launcher}; }
};

} // namespace quisk
