#pragma once

#include "common/message_box.h"
#include "editor/block_text.h"
#include "format/format_definition.h"

#include <string>
#include <vector>

// Bulk changes of the field-type cell. Each command has its own row filter:
// a field name (every named row), a field name without fixed value and with a
// given type text (replace), a start position (selected rows). Row numbers
// count from 1.
namespace quisk {

// Rows that have a field name.
std::vector<int> namedRows(const FormatDefinition& format);

// Rows that have a field name, no fixed value and exactly the type text
// `from` (case included; an empty text picks the named rows without a type).
std::vector<int> rowsOfType(const FormatDefinition& format, const std::string& from);

// Rows between two rows, in either order and both included, that have a
// start position.
std::vector<int> rowsWithStartPosition(const FormatDefinition& format, int firstRow, int lastRow);

// Writes the type into the type cell of each row listed.
void setFieldType(FormatDefinition& format, const std::vector<int>& rows, const std::string& type);

// Asks whether to give every named row the type, and does so on Yes. Returns
// true when the table was changed (the format is then modified).
bool setTypeOfNamedRows(FormatDefinition& format, const std::string& type, MessageBoxes& messages);

// True when the answer of the type-change dialog cancels the command: it is
// the literal "Cancel", whether from the cancel button or typed by hand.
bool isCancelAnswer(const std::string& answer);

// Gives the type to the named data rows whose type is the dialog's answer.
// Returns false, changing nothing, when the answer cancels; true otherwise
// (the format is then modified even when no row matched).
bool replaceType(FormatDefinition& format, const std::string& answer, const std::string& type);

// The context-menu command on the selection. Only acts when the current
// column is the type column: a selection within one row gives the current
// row's type cell the type; a selection over several rows gives it to those
// of its rows that have a start position. Returns true when it acted (the
// format is then modified even when no cell changed).
bool setTypeOfSelection(FormatDefinition& format, const CellSelection& selection,
                        const std::string& type);

} // namespace quisk
