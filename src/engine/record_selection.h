#pragma once

#include "format/format_definition.h"

#include <cstring>
#include <optional>
#include <string>
#include <string_view>

namespace quisk {

// The record-type selection of a format: a record is converted only when its
// bytes from a start position on equal the Shift-JIS bytes of a text, as a
// header, data, trailer or end record is told apart by its first byte.
class RecordSelection {
public:
    // The selection of a format's settings. Empty (unusable) when the start
    // is below 1, the length is not the byte length of the text, or the text
    // has no Shift-JIS form. Call only when the settings select records.
    static std::optional<RecordSelection> build(const FormatSettings& settings);

    bool matches(std::string_view record) const {
        return record.size() >= offset_ + bytes_.size() &&
               std::memcmp(record.data() + offset_, bytes_.data(), bytes_.size()) == 0;
    }

private:
    RecordSelection(std::size_t offset, std::string bytes)
        : offset_(offset), bytes_(std::move(bytes)) {}

    std::size_t offset_;
    std::string bytes_;
};

} // namespace quisk
