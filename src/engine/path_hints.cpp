#include "path_hints.h"

#include "common/file_io.h"
#include "engine/engine_texts.h"

#include <filesystem>
#include <optional>

namespace quisk {
namespace {

namespace fs = std::filesystem;
namespace t = engine_texts;

bool exists(const fs::path& path, PathRole role) {
    if (role == PathRole::File)
        return isRegularFile(path.string());
    std::error_code ec;
    return fs::is_directory(path, ec);
}

fs::path absoluteFrom(const fs::path& base, const fs::path& path) {
    return (path.is_absolute() ? path : base / path).lexically_normal();
}

// The folder of the job file, when the run comes from one.
std::optional<fs::path> jobFolder(const PathHintContext& c) {
    if (c.jobPath.empty())
        return std::nullopt;
    return absoluteFrom(c.currentDirectory, c.jobPath).parent_path();
}

std::string startFromHint(const fs::path& folder, const PathHintContext& c) {
    if (c.rerunCommand.empty())
        return std::string(t::kStartWindowFrom1) + folder.string() + t::kStartWindowFrom2;
    return std::string(t::kRunnerStartFrom) + "cd " + shellWord(folder.string()) + " && " +
           c.rerunCommand;
}

} // namespace

std::string shellWord(const std::string& word) {
    bool plain =
        !word.empty() && word.find_first_not_of("abcdefghijklmnopqrstuvwxyz"
                                                "ABCDEFGHIJKLMNOPQRSTUVWXYZ"
                                                "0123456789_-./+,:@%") == std::string::npos;
    if (plain)
        return word;
    std::string quoted = "'";
    for (char c : word)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

std::string destinationFolder(const std::string& destinationPath) {
    fs::path folder = fs::path(destinationPath).parent_path();
    return folder.empty() ? "." : folder.string();
}

std::string missingPathText(const std::string& fixedText, const std::string& path, PathRole role,
                            const PathHintContext& context) {
    std::string text =
        fixedText + "\r" + t::kPathTried + absoluteFrom(context.currentDirectory, path).string();
    if (fs::path(path).is_absolute())
        return text;
    // Not found from the current folder, so something found beside the job
    // means the job's folder is another one.
    auto folder = jobFolder(context);
    if (!folder)
        return text;
    fs::path beside = absoluteFrom(*folder, path);
    if (!exists(beside, role))
        return text;
    return text + "\r" + t::kFoundBesideJob + beside.string() + "\r" + t::kRelativeToStart + "\r" +
           startFromHint(*folder, context);
}

} // namespace quisk
