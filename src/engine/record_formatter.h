#pragma once

#include "format/format_definition.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quisk {

// Cuts a source line into fields and writes one record, working on the
// line's Shift-JIS bytes. The settings, quotes and fixed values are encoded
// once when the formatter is built; a line is never converted to text.
class RecordFormatter {
public:
    // Builds the formatter for a definition; empty when one of its texts
    // (quote, separator, fixed value) has no Shift-JIS form.
    static std::optional<RecordFormatter> build(const FormatDefinition& format);

    // False when a data row cannot cut any line: its start position is below
    // 1 or its length is negative (only a hand-written file holds these).
    bool canFormat() const { return canFormat_; }

    // Appends the record for line to out, without a line end.
    void append(std::string_view line, std::string& out) const;

    // The separator written between the fields of a delimited record.
    const std::string& separator() const { return separator_; }

private:
    struct Field {
        bool fixed = false;
        std::string fixedBytes;
        long long start = 0;
        long long length = 0;
        bool numeric = false; // quoted with the Num quote
    };

    void appendDataField(const Field& field, std::string_view line, std::string& out) const;

    std::vector<Field> fields_;
    std::string separator_;
    std::string quoteChar_;
    std::string quoteNum_;
    bool delimited_ = true;
    bool canFormat_ = true;
};

// The separator text of a run: none for fixed-width output, else the
// character a separator name stands for, else the text itself.
std::string resolveSeparator(const FormatSettings& settings);

// Appends the bytes of one field, read as a string of its own: a lead byte
// whose trail byte lies outside the field, or is not a trail byte, becomes
// "・" (bytes 81 45); every other byte is copied unchanged.
void appendFieldBytes(std::string_view field, std::string& out);

} // namespace quisk
