#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quisk {

// Reads comma-separated values as format and job files hold them. A value is
// either quoted (it ends at the next double quote, and anything after it up
// to the next comma or line end is skipped) or unquoted (it ends at a comma
// or a line end; surrounding blanks are dropped). Commas and line ends both
// separate values, so a record may continue over several lines. Blank lines
// between records are skipped.
class RecordReader {
public:
    explicit RecordReader(std::string_view text) : text_(text) {}

    // True when nothing but blanks and line ends is left.
    bool atEnd();

    // Reads count values into values. False when the text ends first or a
    // quoted value has no closing quote.
    bool readRecord(std::size_t count, std::vector<std::string>& values);

    // True when the last value read was followed by a comma: another value
    // follows on the same line.
    bool valueFollowsOnLine() const { return afterComma_; }
    // Reads one value; false when the text ends first.
    bool readNext(std::string& value) { return readValue(value); }

private:
    bool readValue(std::string& value);
    void skipBlanks();
    bool atLineEnd() const;
    void skipLineEnd();
    void skipDelimiter();

    std::string_view text_;
    std::size_t pos_ = 0;
    bool afterComma_ = false;
};

} // namespace quisk
