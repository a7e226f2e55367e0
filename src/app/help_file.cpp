#include "app/help_file.h"

#include "app/app_texts.h"
#include "common/file_io.h"

#include <climits>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

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

// A private folder for the link below: the session's runtime folder, or one
// of our own under /tmp that nobody else can have prepared.
std::string privateFolder() {
    if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime && *runtime)
        return runtime;
    std::string folder = "/tmp/quisk-" + std::to_string(::getuid());
    ::mkdir(folder.c_str(), 0700);
    struct stat st {};
    bool ours = ::lstat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode) &&
                st.st_uid == ::getuid() && (st.st_mode & 077) == 0;
    return ours ? folder : std::string();
}

// Desktops take the ".hlp" ending for an old Windows help format and would
// pick no viewer or the wrong one; the file is HTML, so the viewer is given a
// link to it whose name ends in ".html". Falls back to the file itself.
std::string viewablePath(const std::string& path) {
    std::string folder = privateFolder();
    char resolved[PATH_MAX];
    if (folder.empty() || !::realpath(path.c_str(), resolved))
        return path;
    std::string link = folder + "/" + t::kHelpLinkName;
    ::unlink(link.c_str());
    return ::symlink(resolved, link.c_str()) == 0 ? link : path;
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
    if (!launcher.start("xdg-open " + quoted(viewablePath(path))))
        boxes.show(
            {std::string(t::kHelpMissing1) + path + t::kHelpFailed2, t::kErrorTitle, Icon::Stop});
}

} // namespace quisk
