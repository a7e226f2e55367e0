#include "record_formatter.h"

#include "common/sjis.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace quisk {
namespace {

// The most bytes of a field written in one piece by writeInPieces.
constexpr std::size_t kPieceBytes = 1 << 19;

// Copies up to kSlack bytes as one fixed-size move; both sides must have
// kSlack bytes of room, which the caller guarantees.
char* copyShort(const char* from, std::size_t n, char* out) {
    if (n > RecordFormatter::kSlack)
        std::memcpy(out, from, n);
    else
        std::memcpy(out, from, RecordFormatter::kSlack);
    return out + n;
}

std::size_t saturatingSum(std::size_t a, std::size_t b) {
    return a > std::numeric_limits<std::size_t>::max() - b ? std::numeric_limits<std::size_t>::max()
                                                           : a + b;
}

} // namespace

std::string resolveSeparator(const FormatSettings& s) {
    if (s.outputKind == kTextFile)
        return {};
    if (s.separatorChar == kSeparatorTab)
        return "\t";
    if (s.separatorChar == kSeparatorSemicolon)
        return ";";
    if (s.separatorChar == kSeparatorSpace)
        return " ";
    if (s.separatorChar == kSeparatorComma)
        return ",";
    return s.separatorChar;
}

std::optional<RecordFormatter> RecordFormatter::build(const FormatDefinition& format) {
    const FormatSettings& s = format.settings;
    auto separator = sjis::encode(resolveSeparator(s));
    auto quoteChar = sjis::encode(s.textQuoteChar);
    auto quoteNum = sjis::encode(s.textQuoteNum);
    if (!separator || !quoteChar || !quoteNum)
        return std::nullopt;
    const bool delimited = s.outputKind != kTextFile;

    RecordFormatter f;
    std::string glue;
    bool separatorDue = false;
    for (const FieldRow& row : format.rows()) {
        if (row.isEmpty())
            break;
        if (!row.fixedValue.empty()) {
            auto bytes = sjis::encode(row.fixedValue);
            if (!bytes)
                return std::nullopt;
            glue += *bytes;
            separatorDue = false;
            continue;
        }
        const std::string& quote = row.fieldType == kTypeNum ? *quoteNum : *quoteChar;
        if (delimited && separatorDue)
            glue += *separator;
        if (delimited)
            glue += quote;
        Cut cut = f.addGlue(glue);
        const long long start = decimalValue(row.startPosition);
        const long long length = decimalValue(row.length);
        if (start < 1 || length < 0)
            f.canFormat_ = false;
        else {
            cut.offset = static_cast<std::size_t>(start - 1);
            cut.length = static_cast<std::size_t>(length);
        }
        f.wholeLineBytes_ = std::max(f.wholeLineBytes_, saturatingSum(cut.offset, cut.length));
        f.cuts_.push_back(cut);
        glue = delimited ? quote : std::string();
        separatorDue = true;
    }
    f.tail_ = f.addGlue(glue);
    return f;
}

RecordFormatter::Cut RecordFormatter::addGlue(const std::string& glue) {
    Cut cut;
    cut.glueAt = glue_.size();
    cut.glueSize = glue.size();
    glueBytes_ += glue.size();
    glue_ += glue;
    glue_.append(kSlack, '\0'); // copyShort may read a whole slack
    return cut;
}

char* RecordFormatter::copyGlue(const Cut& cut, char* out) const {
    return copyShort(glue_.data() + cut.glueAt, cut.glueSize, out);
}

// The bytes of the field in a line of lineBytes bytes: to the end of the
// line for a length of 0, else the length cut short at the end of the line;
// none when the field starts past the end.
std::size_t RecordFormatter::fieldBytes(const Cut& cut, std::size_t lineBytes) {
    std::size_t available = cut.offset < lineBytes ? lineBytes - cut.offset : 0;
    return cut.length == 0 ? available : std::min(cut.length, available);
}

char* RecordFormatter::write(std::string_view line, char* out) const {
    const char* bytes = line.data();
    if (line.size() >= wholeLineBytes_) {
        // Every field lies whole inside the line.
        const char* glue = glue_.data();
        for (const Cut& cut : cuts_) {
            out = copyShort(glue + cut.glueAt, cut.glueSize, out);
            std::size_t n = cut.length != 0 ? cut.length : line.size() - cut.offset;
            out = copyFieldBytes(bytes + cut.offset, n, out);
        }
    } else {
        for (const Cut& cut : cuts_) {
            out = copyGlue(cut, out);
            std::size_t n = fieldBytes(cut, line.size());
            if (n > 0)
                out = copyFieldBytes(bytes + cut.offset, n, out);
        }
    }
    return copyGlue(tail_, out);
}

void RecordFormatter::writeInPieces(std::string_view line, RecordSink& sink) const {
    auto putGlue = [&](const Cut& cut) {
        sink.wrote(copyGlue(cut, sink.room(cut.glueSize + kSlack)));
    };
    for (const Cut& cut : cuts_) {
        putGlue(cut);
        const std::size_t n = fieldBytes(cut, line.size());
        const char* field = line.data() + cut.offset;
        for (std::size_t from = 0; from < n; from += kPieceBytes) {
            std::size_t to = std::min(n, from + kPieceBytes);
            char* at = sink.room(2 * (to - from) + kSlack);
            sink.wrote(copyFieldPart(field, n, from, to, at));
        }
    }
    putGlue(tail_);
}

void RecordFormatter::append(std::string_view line, std::string& out) const {
    std::string padded(line);
    padded.append(kSlack, '\0'); // the slack write() may read past the line
    std::size_t used = out.size();
    out.resize(used + maxRecordBytes(line.size()));
    char* end = write(std::string_view(padded.data(), line.size()), out.data() + used);
    out.resize(static_cast<std::size_t>(end - out.data()));
}

void RecordFormatter::append(std::string_view line, std::string& out,
                             std::vector<ValueSpan>& values) const {
    std::string padded(line);
    padded.append(kSlack, '\0');
    std::size_t used = out.size();
    out.resize(used + maxRecordBytes(line.size()));
    char* const begin = out.data();
    char* at = begin + used;
    for (const Cut& cut : cuts_) {
        at = copyGlue(cut, at);
        const std::size_t n = fieldBytes(cut, line.size());
        const auto from = static_cast<std::size_t>(at - begin);
        if (n > 0)
            at = copyFieldBytes(padded.data() + cut.offset, n, at);
        values.push_back({from, static_cast<std::size_t>(at - begin)});
    }
    at = copyGlue(tail_, at);
    out.resize(static_cast<std::size_t>(at - begin));
}

} // namespace quisk
