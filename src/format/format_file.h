#pragma once

#include "common/message_box.h"
#include "format/format_definition.h"

#include <optional>
#include <string>
#include <string_view>

// The format file (.qfd): Shift-JIS lines of six quoted, comma-separated
// values. Marker records ("[!...]" in value 1) hold the settings, the other
// records are the rows of the field table in order.
namespace quisk {

// A record of a format file is a marker record when its first value begins
// with "[!" and ends with "]".
bool isMarkerRecord(std::string_view firstValue);

// The text of a format file for a definition (UTF-8, lines ending in CR LF).
std::string formatFileText(const FormatDefinition& format);

// Reads the text of a format file into format, which keeps what the file
// does not mention. The selector rules apply to the values read; each refused
// value is reported to boxes. False when the text cannot be read (a short
// last record, a missing closing quote, more rows than the table can hold):
// format is then left unchanged.
bool parseFormatText(std::string_view text, FormatDefinition& format, MessageBoxes& boxes);

// Loads the format file at path into format (see parseFormatText), showing
// the load-failure message when it cannot be read.
bool loadFormatFile(const std::string& path, FormatDefinition& format, MessageBoxes& boxes);

// Saves format to path atomically: a failed save (no permission, full disk,
// a character Shift-JIS cannot hold) shows the save-failure message and
// leaves any previous file intact.
bool saveFormatFile(const std::string& path, const FormatDefinition& format,
                    MessageBoxes& boxes);

// The load-failure message for a path.
Message formatLoadFailure(const std::string& path);

// Reads the raw records (six values, nothing restored) of a format file's
// text; used by readers that walk the file themselves. Empty when the text
// cannot be read.
std::optional<std::vector<std::vector<std::string>>> readFormatRecords(std::string_view text);

} // namespace quisk
