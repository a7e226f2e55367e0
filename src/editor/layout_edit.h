#pragma once

#include "format/format_definition.h"

#include <cstddef>

namespace quisk {

// Changes of the field table made by pointing at byte boundaries instead of
// typing numbers. A boundary is given as the byte after it, counting from 0:
// boundary 10 lies between the tenth and the eleventh byte of a line, where
// a field with start position 11 begins. Each returns the row of the field
// that now begins (or ends) at the boundary, or 0 when nothing changed.

// Splits the field holding the bytes on both sides of the boundary in two;
// the second part becomes a new row below it, of the same type, named after
// its start position. Where no field holds those bytes, the stretch of bytes
// between the neighbouring fields (up to lineBytes after the last one) gets
// new fields on both sides of the boundary instead.
int splitAt(FormatDefinition& format, std::size_t boundary, std::size_t lineBytes);

// Moves the boundary at from to to: a field ending there ends at to, a field
// beginning there begins at to and keeps its end. The move stops short of
// leaving any of those fields without a byte.
int moveBoundary(FormatDefinition& format, std::size_t from, std::size_t to);

// The name of a field created by a split: "ﾌｨｰﾙﾄﾞ" and its start position.
std::string newFieldName(std::size_t boundary);

} // namespace quisk
