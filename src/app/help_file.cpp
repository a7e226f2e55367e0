#include "app/help_file.h"

#include "app/app_texts.h"
#include "common/file_io.h"

namespace quisk {
namespace {

namespace t = app_texts;

// One shell word for a path, whatever it contains.
std::string quoted(const std::string& path) {
    std::string out = "'";
    for (char c : path)
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

} // namespace

std::string helpFilePath(const std::string& programDirectory, const std::string& dataDirectory) {
    std::string beside = programDirectory + "/" + t::kHelpFile;
    std::string installed = dataDirectory + "/" + t::kHelpFile;
    return isRegularFile(beside) || !isRegularFile(installed) ? beside : installed;
}

void openHelpFile(const std::string& path, ProgramLauncher& launcher, MessageBoxes& boxes) {
    if (!isRegularFile(path)) {
        boxes.show(
            {std::string(t::kHelpMissing1) + path + t::kHelpMissing2, t::kErrorTitle, Icon::Stop});
        return;
    }
    if (!launcher.start("xdg-open " + quoted(path)))
        boxes.show(
            {std::string(t::kHelpMissing1) + path + t::kHelpFailed2, t::kErrorTitle, Icon::Stop});
}

} // namespace quisk
