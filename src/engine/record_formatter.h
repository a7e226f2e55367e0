#pragma once

#include "format/format_definition.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quisk {

// Cuts a source line into fields and writes one record, working on the
// line's Shift-JIS bytes; a line is never converted to text.
//
// Everything between two data fields (closing quote, separator, opening
// quote, fixed values) depends only on the table, so it is encoded once, when
// the formatter is built, into one "glue" piece per gap. A record is then the
// glue pieces with the cut fields between them.
class RecordFormatter {
public:
    // Short pieces are copied as one fixed-size move; see write().
    static constexpr std::size_t kSlack = 16;

    // Builds the formatter for a definition; empty when one of its texts
    // (quote, separator, fixed value) has no Shift-JIS form.
    static std::optional<RecordFormatter> build(const FormatDefinition& format);

    // False when a data row cannot cut any line: its start position is below
    // 1 or its length is negative (only a hand-written file holds these).
    bool canFormat() const { return canFormat_; }

    // The most bytes the record of a line of lineBytes bytes can take.
    std::size_t maxRecordBytes(std::size_t lineBytes) const;

    // Writes the record for line (no line end) at out, which must have room
    // for maxRecordBytes(line.size()); returns the end of what was written.
    // kSlack bytes after the line must be readable (LineReader guarantees
    // it): short fields are moved with a fixed-size copy.
    char* write(std::string_view line, char* out) const;

    // Appends the record for line to out, without a line end.
    void append(std::string_view line, std::string& out) const;

private:
    // A data field and the glue written before it.
    struct Cut {
        std::size_t glueAt = 0; // offset in glue_
        std::size_t glueSize = 0;
        long long start = 0;
        long long length = 0;
    };

    Cut addGlue(const std::string& glue);

    std::string glue_; // every glue piece, each followed by kSlack padding bytes
    std::vector<Cut> cuts_;
    Cut tail_;         // the glue after the last field
    std::size_t glueBytes_ = 0;
    bool canFormat_ = true;
};

// The separator text of a run: none for fixed-width output, else the
// character a separator name stands for, else the text itself.
std::string resolveSeparator(const FormatSettings& settings);

// Copies the bytes of one field, read as a string of its own: a lead byte
// whose trail byte lies outside the field, or is not a trail byte, becomes
// "・" (bytes 81 45); every other byte is copied unchanged. out needs room
// for twice the field's bytes; returns the end of what was written.
char* copyFieldBytes(std::string_view field, char* out);

} // namespace quisk
