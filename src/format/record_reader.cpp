#include "record_reader.h"

namespace quisk {
namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }
bool isLineEnd(char c) { return c == '\r' || c == '\n'; }

} // namespace

void RecordReader::skipBlanks() {
    while (pos_ < text_.size() && isBlank(text_[pos_]))
        ++pos_;
}

bool RecordReader::atLineEnd() const { return pos_ < text_.size() && isLineEnd(text_[pos_]); }

void RecordReader::skipLineEnd() {
    if (pos_ < text_.size() && text_[pos_] == '\r')
        ++pos_;
    if (pos_ < text_.size() && text_[pos_] == '\n')
        ++pos_;
}

// Consumes the comma or line end that ends a value.
void RecordReader::skipDelimiter() {
    afterComma_ = pos_ < text_.size() && text_[pos_] == ',';
    if (afterComma_)
        ++pos_;
    else
        skipLineEnd();
}

bool RecordReader::atEnd() {
    if (!afterComma_) {
        while (pos_ < text_.size() && (isBlank(text_[pos_]) || isLineEnd(text_[pos_])))
            ++pos_;
    }
    return pos_ >= text_.size() && !afterComma_;
}

bool RecordReader::readValue(std::string& value) {
    skipBlanks();
    if (pos_ >= text_.size()) {
        // A comma at the very end still promises one (empty) value.
        bool promised = afterComma_;
        afterComma_ = false;
        value.clear();
        return promised;
    }
    if (text_[pos_] == '"') {
        std::size_t close = text_.find('"', pos_ + 1);
        if (close == std::string_view::npos)
            return false;
        value.assign(text_.substr(pos_ + 1, close - pos_ - 1));
        pos_ = close + 1;
        while (pos_ < text_.size() && text_[pos_] != ',' && !isLineEnd(text_[pos_]))
            ++pos_;
    } else {
        std::size_t start = pos_;
        while (pos_ < text_.size() && text_[pos_] != ',' && !isLineEnd(text_[pos_]))
            ++pos_;
        std::size_t end = pos_;
        while (end > start && isBlank(text_[end - 1]))
            --end;
        value.assign(text_.substr(start, end - start));
    }
    skipDelimiter();
    return true;
}

bool RecordReader::readRecord(std::size_t count, std::vector<std::string>& values) {
    values.assign(count, std::string());
    if (atEnd())
        return false;
    for (std::string& value : values) {
        if (!readValue(value))
            return false;
    }
    return true;
}

} // namespace quisk
