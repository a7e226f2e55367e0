#include "record_formatter.h"

#include "common/sjis.h"

#include <array>
#include <bit>
#include <cstdint>
#include <cstring>

namespace quisk {
namespace {

// Byte classes of code page 932, looked up once per byte.
enum : unsigned char { kLeadByte = 1, kTrailByte = 2 };

constexpr std::array<unsigned char, 256> makeClassTable() {
    std::array<unsigned char, 256> table{};
    for (int b = 0; b < 256; ++b) {
        auto c = static_cast<unsigned char>(b);
        table[c] = static_cast<unsigned char>((sjis::isLeadByte(c) ? kLeadByte : 0) |
                                              (sjis::isTrailByte(c) ? kTrailByte : 0));
    }
    return table;
}
constexpr std::array<unsigned char, 256> kClass = makeClassTable();

unsigned char byteClass(char c) { return kClass[static_cast<unsigned char>(c)]; }

// The length of the leading run of 7-bit bytes, looked at a word at a time:
// such bytes never start a double-byte character.
std::size_t asciiPrefix(const char* p, std::size_t n) {
    std::size_t i = 0;
    for (; i + 8 <= n; i += 8) {
        std::uint64_t word;
        std::memcpy(&word, p + i, 8);
        if (word & 0x8080808080808080ULL)
            break;
    }
    while (i < n && !(p[i] & 0x80))
        ++i;
    return i;
}

// The position of the first lead byte whose trail byte is missing (outside
// the field) or is not a trail byte; n when every character is whole. Runs of
// 7-bit bytes are skipped a word at a time, other bytes one by one.
std::size_t firstBrokenLead(const char* p, std::size_t n) {
    std::size_t i = 0;
    for (;;) {
        i += asciiPrefix(p + i, n - i);
        while (i < n && (p[i] & 0x80)) {
            if (!(byteClass(p[i]) & kLeadByte))
                ++i;
            else if (i + 1 < n && (byteClass(p[i + 1]) & kTrailByte))
                i += 2;
            else
                return i;
        }
        if (i >= n)
            return n;
    }
}

// The bits of the first n bytes (n < 8) of a word loaded from memory.
std::uint64_t firstBytesMask(std::size_t n) {
    std::uint64_t low = (std::uint64_t{1} << (8 * n)) - 1;
    if constexpr (std::endian::native == std::endian::little)
        return low;
    else
        return ~(~std::uint64_t{0} >> (8 * n));
}

// Whether a field of at most kSlack bytes holds a byte with the high bit set,
// tested with two word loads; the slack after the line makes them safe.
bool shortFieldHasHighByte(const char* p, std::size_t n) {
    constexpr std::uint64_t kHighBits = 0x8080808080808080ULL;
    std::uint64_t a;
    std::uint64_t b;
    std::memcpy(&a, p, 8);
    std::memcpy(&b, p + 8, 8);
    if (n < 8)
        return a & firstBytesMask(n) & kHighBits;
    return ((a | (n < 16 ? b & firstBytesMask(n - 8) : b)) & kHighBits) != 0;
}

char* copyBytes(const char* from, std::size_t n, char* out) {
    std::memcpy(out, from, n);
    return out + n;
}

// Copies up to kSlack bytes as one fixed-size move; both sides must have
// kSlack bytes of room, which the caller guarantees.
char* copyShort(const char* from, std::size_t n, char* out) {
    if (n > RecordFormatter::kSlack)
        return copyBytes(from, n, out);
    std::memcpy(out, from, RecordFormatter::kSlack);
    return out + n;
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

char* copyFieldBytes(std::string_view field, char* out) {
    const char* p = field.data();
    std::size_t n = field.size();
    for (std::size_t broken; (broken = firstBrokenLead(p, n)) < n;) {
        out = copyBytes(p, broken, out);
        *out++ = '\x81'; // "・"
        *out++ = '\x45';
        p += broken + 1;
        n -= broken + 1;
    }
    return copyBytes(p, n, out);
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
        cut.start = decimalValue(row.startPosition);
        cut.length = decimalValue(row.length);
        if (cut.start < 1 || cut.length < 0)
            f.canFormat_ = false;
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

std::size_t RecordFormatter::maxRecordBytes(std::size_t lineBytes) const {
    return glueBytes_ + 2 * lineBytes * cuts_.size() + kSlack;
}

char* RecordFormatter::write(std::string_view line, char* out) const {
    const long long lineBytes = static_cast<long long>(line.size());
    const char* glue = glue_.data();
    for (const Cut& cut : cuts_) {
        out = copyShort(glue + cut.glueAt, cut.glueSize, out);
        const long long s = cut.start;
        long long n = cut.length;
        if (n == 0)
            n = lineBytes - s + 1; // the field runs to the end of the line
        else if (s + n - 1 > lineBytes)
            n = s > lineBytes ? 0 : lineBytes - s + 1;
        if (n <= 0)
            continue;
        const char* field = line.data() + (s - 1);
        auto bytes = static_cast<std::size_t>(n);
        bool plain = bytes <= kSlack && !shortFieldHasHighByte(field, bytes);
        if (plain || firstBrokenLead(field, bytes) == bytes)
            out = copyShort(field, bytes, out); // the usual case: whole characters
        else
            out = copyFieldBytes(std::string_view(field, bytes), out);
    }
    return copyShort(glue + tail_.glueAt, tail_.glueSize, out);
}

void RecordFormatter::append(std::string_view line, std::string& out) const {
    std::string padded(line);
    padded.append(kSlack, '\0'); // the slack write() may read past the line
    std::size_t used = out.size();
    out.resize(used + maxRecordBytes(line.size()));
    char* end = write(std::string_view(padded.data(), line.size()), out.data() + used);
    out.resize(static_cast<std::size_t>(end - out.data()));
}

} // namespace quisk
