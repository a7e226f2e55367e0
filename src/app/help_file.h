#pragma once

#include "common/message_box.h"

#include <string>

namespace quisk {

// The help file of a program installed with its data in dataDirectory: the
// one beside the program when there is one (a build tree, a copied folder),
// otherwise the installed one.
std::string helpFilePath(const std::string& programDirectory, const std::string& dataDirectory);

// Whether the help file can be shown. A missing or unreadable file is said
// in a message box, so F1 never fails without a word.
bool helpFileReadable(const std::string& path, MessageBoxes& boxes);

} // namespace quisk
