#pragma once

#include "editor/sample_head.h"
#include "engine/layout_check.h"
#include "engine/record_formatter.h"
#include "engine/record_selection.h"
#include "format/format_definition.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quisk {

// A data field's span over a line's bytes, as the layout cuts it.
struct FieldBand {
    int row = 0;            // the field's row in the table
    std::size_t offset = 0; // its first byte, from 0
    std::size_t length = 0; // 0: the rest of the line
    std::string name;
    int colour = 0; // the band's place among the bands, which picks its colour

    // One past its last byte in a line of lineBytes bytes.
    std::size_t end(std::size_t lineBytes) const {
        return length == 0 ? std::max(lineBytes, offset) : offset + length;
    }
};

// What a run does with a line: converts it, leaves it out by its number,
// writes it as it is, or skips it as a record of another type than the
// format's record-type selection names.
enum class LineRole { Record, Excluded, WriteAsIs, Skipped };

// One character of a line where it stands on the byte ruler: a double-byte
// character takes two columns.
struct Glyph {
    std::size_t column = 0;
    int width = 1;
    std::string text; // UTF-8; empty for a byte that is no character
};

// The characters of a Shift-JIS line, in column order.
std::vector<Glyph> glyphsOf(std::string_view line);

// A piece of an output line: the value of a field (colour of its band) or
// what the format puts around the values (colour -1).
struct OutputPiece {
    std::string text; // UTF-8
    int colour = -1;
    int row = 0; // the field's row, for a value
};

// A line of the sample as the preview shows it.
struct ShownLine {
    long long number = 0; // from 1
    LineRole role = LineRole::Record;
    std::vector<Glyph> glyphs;
    std::vector<LayoutProblem> problems;
    std::vector<OutputPiece> output; // nothing for an excluded or skipped line
};

// What a format does to the lines of a sample: the field bands, the problems
// of every line read, and for the lines asked for their characters and the
// record the engine writes. Built again after every change of the format; it
// works out the records only of the lines that are shown.
class LayoutPreview {
public:
    LayoutPreview(const FormatDefinition& format, const SampleHead& sample);

    const std::vector<FieldBand>& bands() const { return bands_; }
    // The band of a table row, or none.
    const FieldBand* bandOfRow(int row) const;
    // The row of the field whose bytes hold byte at, or 0; a byte past the
    // last field belongs to the field that ends last.
    int rowAt(std::size_t at) const;
    // The grid row a problem is about.
    int rowOf(const LayoutProblem& problem) const;

    // The problems of all lines read, by kind.
    const std::array<long long, kProblemKindCount>& counts() const { return counts_; }
    long long lineCount() const { return static_cast<long long>(sample_.lines.size()); }
    std::size_t longestLine() const { return longestLine_; }
    // What a run does with the line of that number (from 1); the ranges
    // count every line, skipped records included, as a run counts them.
    LineRole roleOf(long long number) const;

    // The lines first to first + count - 1 (from 0), as far as there are.
    std::vector<ShownLine> shownLines(std::size_t first, std::size_t count) const;

    // The output's lines before and after the records: header lines and the
    // field-name line, and footer lines.
    const std::vector<std::string>& outputHead() const { return outputHead_; }
    const std::vector<std::string>& outputTail() const { return outputTail_; }
    // False when the engine could not write records with this format (a
    // text without a Shift-JIS form, or a row that cuts nothing).
    bool writesRecords() const { return formatter_.has_value() && formatter_->canFormat(); }

private:
    std::vector<OutputPiece> recordOf(std::string_view line) const;

    const SampleHead& sample_;
    LayoutCheck check_;
    std::optional<RecordFormatter> formatter_;
    std::optional<RecordSelection> selection_; // none when every record is converted
    std::vector<FieldBand> bands_;
    std::vector<std::vector<LayoutProblem>> problems_; // by line
    std::array<long long, kProblemKindCount> counts_{};
    std::vector<std::string> outputHead_;
    std::vector<std::string> outputTail_;
    long long excludeFrom_ = 0, excludeTo_ = 0, asIsFrom_ = 0, asIsTo_ = 0;
    std::size_t longestLine_ = 0;
};

// Byte boundaries (the byte after each, from 1) where the character class
// (space, digit, letter, half-width kana, double-byte character, sign)
// changes on nearly all lines of the sample that reach that far, so that a
// field probably begins there. Boundaries the layout already has, and lines
// a run does not cut (excluded or written as they are), are left out; when
// most lines have one length, lines of other lengths are too.
std::vector<std::size_t> suggestBoundaries(const FormatDefinition& format,
                                           const SampleHead& sample);

} // namespace quisk
