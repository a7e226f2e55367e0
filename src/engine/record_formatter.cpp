#include "record_formatter.h"

#include "common/sjis.h"

#include <array>

namespace quisk {
namespace {

constexpr std::array<bool, 256> makeLeadTable() {
    std::array<bool, 256> table{};
    for (int b = 0; b < 256; ++b)
        table[static_cast<std::size_t>(b)] = sjis::isLeadByte(static_cast<unsigned char>(b));
    return table;
}
constexpr std::array<bool, 256> kLead = makeLeadTable();

bool isLead(char c) { return kLead[static_cast<unsigned char>(c)]; }

constexpr std::string_view kMiddleDot = "\x81\x45"; // "・"

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

void appendFieldBytes(std::string_view field, std::string& out) {
    std::size_t run = 0;
    std::size_t i = 0;
    const std::size_t n = field.size();
    while (i < n) {
        if (!isLead(field[i])) {
            ++i;
        } else if (i + 1 < n && sjis::isTrailByte(static_cast<unsigned char>(field[i + 1]))) {
            i += 2;
        } else {
            out.append(field.data() + run, i - run);
            out.append(kMiddleDot);
            run = ++i;
        }
    }
    out.append(field.data() + run, n - run);
}

std::optional<RecordFormatter> RecordFormatter::build(const FormatDefinition& format) {
    const FormatSettings& s = format.settings;
    RecordFormatter f;
    auto separator = sjis::encode(resolveSeparator(s));
    auto quoteChar = sjis::encode(s.textQuoteChar);
    auto quoteNum = sjis::encode(s.textQuoteNum);
    if (!separator || !quoteChar || !quoteNum)
        return std::nullopt;
    f.separator_ = *separator;
    f.quoteChar_ = *quoteChar;
    f.quoteNum_ = *quoteNum;
    f.delimited_ = s.outputKind != kTextFile;
    for (const FieldRow& row : format.rows()) {
        if (row.isEmpty())
            break;
        Field field;
        if (!row.fixedValue.empty()) {
            auto bytes = sjis::encode(row.fixedValue);
            if (!bytes)
                return std::nullopt;
            field.fixed = true;
            field.fixedBytes = *bytes;
        } else {
            field.start = decimalValue(row.startPosition);
            field.length = decimalValue(row.length);
            field.numeric = row.fieldType == kTypeNum;
            if (field.start < 1 || field.length < 0)
                f.canFormat_ = false;
        }
        f.fields_.push_back(std::move(field));
    }
    return f;
}

void RecordFormatter::appendDataField(const Field& field, std::string_view line,
                                      std::string& out) const {
    const long long lineBytes = static_cast<long long>(line.size());
    const long long s = field.start;
    long long n = field.length;
    if (n == 0)
        n = lineBytes - s + 1; // the field runs to the end of the line
    else if (s + n - 1 > lineBytes)
        n = s > lineBytes ? 0 : lineBytes - s + 1;
    if (n > 0)
        appendFieldBytes(line.substr(static_cast<std::size_t>(s - 1), static_cast<std::size_t>(n)),
                         out);
}

void RecordFormatter::append(std::string_view line, std::string& out) const {
    bool separatorDue = false;
    for (const Field& field : fields_) {
        if (field.fixed) {
            out += field.fixedBytes;
            separatorDue = false;
            continue;
        }
        if (!delimited_) {
            appendDataField(field, line, out);
        } else {
            const std::string& quote = field.numeric ? quoteNum_ : quoteChar_;
            if (separatorDue)
                out += separator_;
            out += quote;
            appendDataField(field, line, out);
            out += quote;
        }
        separatorDue = true;
    }
}

} // namespace quisk
