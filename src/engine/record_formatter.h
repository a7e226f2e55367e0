#pragma once

#include "engine/field_bytes.h"
#include "format/format_definition.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quisk {

// Where a record too large to be built in one piece is written to, a piece at
// a time; the writer may pass full pieces on before asking for more room.
class RecordSink {
public:
    // At least n writable bytes.
    virtual char* room(std::size_t n) = 0;
    // Marks the bytes up to end, in the last room given, as written.
    virtual void wrote(char* end) = 0;

protected:
    ~RecordSink() = default;
};

// Cuts a source line into fields and writes one record, working on the
// line's Shift-JIS bytes; a line is never converted to text.
//
// Everything that does not depend on the line is worked out once, when the
// formatter is built: everything between two data fields (closing quote,
// separator, opening quote, fixed values) becomes one "glue" piece per gap,
// and each field becomes an offset and a length. A record is then the glue
// pieces with the cut fields between them, and a line long enough to hold
// every field needs no cutting short at all.
class RecordFormatter {
public:
    // Short pieces are copied as one fixed-size move; see write().
    static constexpr std::size_t kSlack = kFieldSlack;

    // Builds the formatter for a definition; empty when one of its texts
    // (quote, separator, fixed value) has no Shift-JIS form.
    static std::optional<RecordFormatter> build(const FormatDefinition& format);

    // False when a data row cannot cut any line: its start position is below
    // 1 or its length is negative (only a hand-written file holds these).
    bool canFormat() const { return canFormat_; }

    // The most bytes the record of a line of lineBytes bytes can take.
    std::size_t maxRecordBytes(std::size_t lineBytes) const {
        return glueBytes_ + 2 * lineBytes * cuts_.size() + kSlack;
    }

    // Writes the record for line (no line end) at out, which must have room
    // for maxRecordBytes(line.size()); returns the end of what was written.
    // kSlack bytes after the line must be readable (LineReader guarantees
    // it): short fields are moved with a fixed-size copy.
    char* write(std::string_view line, char* out) const;

    // Writes the same record through sink, asking for room before every
    // piece, so that a record far larger than memory can still be written.
    // The line needs the same slack as for write().
    void writeInPieces(std::string_view line, RecordSink& sink) const;

    // Appends the record for line to out, without a line end.
    void append(std::string_view line, std::string& out) const;

    // Appends the same record and, for each data field in order, where its
    // value lies in out, so that a preview can show which bytes of the
    // record came from which field.
    struct ValueSpan {
        std::size_t from = 0;
        std::size_t to = 0;
    };
    void append(std::string_view line, std::string& out, std::vector<ValueSpan>& values) const;

private:
    // A data field and the glue written before it.
    struct Cut {
        std::size_t glueAt = 0; // offset in glue_
        std::size_t glueSize = 0;
        std::size_t offset = 0; // start position - 1
        std::size_t length = 0; // 0: to the end of the line
    };

    Cut addGlue(const std::string& glue);
    char* copyGlue(const Cut& cut, char* out) const;
    static std::size_t fieldBytes(const Cut& cut, std::size_t lineBytes);

    std::string glue_; // every glue piece, each followed by kSlack padding bytes
    std::vector<Cut> cuts_;
    Cut tail_; // the glue after the last field
    std::size_t glueBytes_ = 0;
    std::size_t wholeLineBytes_ = 0; // a line this long holds every field whole
    bool canFormat_ = true;
};

// The separator text of a run: none for fixed-width output, else the
// character a separator name stands for, else the text itself.
std::string resolveSeparator(const FormatSettings& settings);

} // namespace quisk
