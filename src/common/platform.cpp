#include "platform.h"

namespace quisk {

std::optional<std::string> ScriptedFileDialogs::next() {
    if (script_.empty())
        return std::nullopt;
    auto answer = script_.front();
    script_.pop_front();
    return answer;
}

std::optional<std::string> ScriptedFileDialogs::open(const FileDialogRequest& request) {
    opened.push_back(request);
    return next();
}

std::optional<std::string> ScriptedFileDialogs::save(const FileDialogRequest& request) {
    saved.push_back(request);
    return next();
}

} // namespace quisk
