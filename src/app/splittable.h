#pragma once

#include "format/format_definition.h"

#include <string>
#include <vector>

namespace quisk {

// Why the output of a format cannot be made by converting pieces of a source
// (split between lines) separately and joining the results: each piece
// would get the field-name line, the header, the footer or the byte order
// mark, or the line ranges would count lines from each piece's start.
// Empty when it can. fieldNameRow is the format's field-name line.
std::vector<std::string> unsplittableReasons(const FormatSettings& settings,
                                             const std::string& fieldNameRow);

} // namespace quisk
