#include "app/command_line.h"

#include "app/app_texts.h"
#include "common/file_io.h"

namespace quisk {

namespace t = app_texts;

CommandLine parseCommandLine(const std::vector<std::string>& arguments) {
    CommandLine out;
    out.empty = arguments.empty();
    for (const std::string& argument : arguments) {
        if (argument == "/I" || argument == "/i")
            out.unattended = true;
        else if (!out.jobPath)
            out.jobPath = argument;
    }
    return out;
}

std::optional<std::string> commandLinePath(const CommandLine& commandLine, MessageBoxes& boxes) {
    if (!commandLine.jobPath) {
        boxes.show({t::kParameterQuote, t::kParameterTitle, Icon::Stop});
        return std::nullopt;
    }
    if (!isRegularFile(*commandLine.jobPath)) {
        boxes.show({t::kParameterNoFile, t::kParameterTitle, Icon::Stop});
        return std::nullopt;
    }
    return commandLine.jobPath;
}

} // namespace quisk
