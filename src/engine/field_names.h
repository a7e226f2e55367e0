#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quisk {

// The field-name line of a run, built from the format file itself: every
// field record's restored name in double quotes, joined by commas, whatever
// quote and separator the records use. A fixed value without a name adds no
// entry. Empty when the file holds no field record.
std::optional<std::string> fieldNameRowFromText(std::string_view formatText);

// The same, read from the format file at path; empty when it cannot be read.
std::optional<std::string> readFieldNameRow(const std::string& formatPath);

} // namespace quisk
