#include "app/help_file.h"

#include "app/app_texts.h"
#include "common/file_io.h"

#include <fstream>

namespace quisk {

namespace t = app_texts;

std::string helpFilePath(const std::string& programDirectory, const std::string& dataDirectory) {
    std::string beside = programDirectory + "/" + t::kHelpFile;
    std::string installed = dataDirectory + "/" + t::kHelpFile;
    return isRegularFile(beside) || !isRegularFile(installed) ? beside : installed;
}

bool helpFileReadable(const std::string& path, MessageBoxes& boxes) {
    const char* why = nullptr;
    if (!isRegularFile(path))
        why = t::kHelpMissing2;
    else if (!std::ifstream(path))
        why = t::kHelpFailed2;
    if (why)
        boxes.show({std::string(t::kHelpMissing1) + path + why, t::kErrorTitle, Icon::Stop});
    return why == nullptr;
}

} // namespace quisk
