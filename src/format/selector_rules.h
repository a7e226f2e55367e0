#pragma once

#include "common/message_box.h"
#include "format/format_definition.h"

#include <optional>
#include <string>

// The rules of the quote, file-kind, encoding and line-end selectors. The
// editor's boxes apply them to typed text, and loading a format file applies
// them to the values it reads, so both refuse the same input with the same
// message.
namespace quisk {

// A quote is at most one character: a longer text is cut to its first
// character and the message saying so is returned.
std::optional<Message> enforceQuoteLength(std::string& quote);

// A file kind is exactly "ﾃｷｽﾄﾌｧｲﾙ" or "区切ﾌｧｲﾙ": anything else is reset to
// the box's default and the message saying so is returned.
std::optional<Message> enforceFileKind(std::string& kind, const char* defaultKind);

// The output encoding is one of "Shift-JIS", "UTF-8" and "UTF-8 (BOM付き)",
// the output line end "CR+LF" or "LF": anything else is reset to Shift-JIS
// or CR+LF and the message saying so is returned.
std::optional<Message> enforceOutputEncoding(std::string& encoding);
std::optional<Message> enforceOutputLineEnd(std::string& lineEnd);

// The record length and the selection's start and length are digits only,
// at most 32767; empty counts 0 (no record length, no selection). Other
// characters are dropped and a larger number is cut to 32767, with the
// message saying so.
std::optional<Message> enforceRecordNumber(std::string& number);

// A selection with a text must start at byte 1 or later and be as long as
// the text's Shift-JIS bytes; the message when it is not, before a save.
std::optional<Message> checkRecordSelection(const FormatSettings& settings);

} // namespace quisk
