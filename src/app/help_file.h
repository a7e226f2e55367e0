#pragma once

#include "common/message_box.h"
#include "common/process.h"

#include <string>

namespace quisk {

// The help file of a program installed with its data in dataDirectory: the
// one beside the program when there is one (a build tree, a copied folder),
// otherwise the installed one.
std::string helpFilePath(const std::string& programDirectory, const std::string& dataDirectory);

// Opens the help file in the desktop's viewer without waiting for it. A
// missing file or a viewer that cannot be started is reported as an error.
void openHelpFile(const std::string& path, ProgramLauncher& launcher, MessageBoxes& boxes);

} // namespace quisk
