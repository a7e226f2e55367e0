#include "format_file.h"

#include "common/common_texts.h"
#include "common/escape.h"
#include "common/file_io.h"
#include "common/sjis.h"
#include "format/format_texts.h"
#include "format/record_reader.h"
#include "format/selector_rules.h"
#include "format/separator_names.h"

#include <algorithm>

namespace quisk {
namespace {

namespace t = format_texts;
constexpr std::size_t kValuesPerRecord = 6;

void appendRecord(std::string& out, std::initializer_list<std::string_view> values) {
    std::size_t i = 0;
    for (std::string_view v : values) {
        out += i++ ? ",\"" : "\"";
        out += v;
        out += '"';
    }
    for (; i < kValuesPerRecord; ++i)
        out += ",\"\"";
    out += "\r\n";
}

// Header and footer texts: one record per line. A carriage return ends a
// line, a line feed is dropped, and the last line is written even if empty.
void appendTextLines(std::string& out, const char* marker, const std::string& text) {
    std::string line;
    for (char c : text) {
        if (c == '\r') {
            appendRecord(out, {marker, line});
            line.clear();
        } else if (c != '\n') {
            line += changeDouble(std::string_view(&c, 1));
        }
    }
    appendRecord(out, {marker, line});
}

// The two file kinds are translated directly: building a transliterator
// costs more than converting a small file, so only other values (which the
// selector rule then refuses) go through one.
std::string kindToStored(const std::string& display) {
    if (display == kTextFile)
        return t::kStoredTextFile;
    if (display == kDelimitedFile)
        return t::kStoredDelimitedFile;
    return sjis::toFullwidth(display);
}

std::string kindToDisplay(const std::string& stored) {
    if (stored == t::kStoredTextFile)
        return kTextFile;
    if (stored == t::kStoredDelimitedFile)
        return kDelimitedFile;
    return sjis::toHalfwidth(stored);
}

// Marker 1 to 4 values may hold any typed text; a double quote in them would
// end the value early, so they get the same stand-ins as cells (which
// read back unchanged, as every value read is restored).
std::string storedSetting(const std::string& stored) { return changeDouble(stored); }

// The quote and separator values as stored in the file; a marker the file
// does not hold leaves its setting alone.
struct StoredForms {
    std::optional<std::string> quoteChar, quoteNum, separatorChar, separatorNum;
};

void appendLine(std::string& text, const std::string& value, bool& seen) {
    if (seen)
        text += "\r\n";
    text += value;
    seen = true;
}

// Applies one marker record to the staged definition; unknown markers are
// dropped. File kinds go through the selector rule as they are read.
void applyMarker(const std::vector<std::string>& v, FormatDefinition& f, StoredForms& stored,
                 bool& headerSeen, bool& footerSeen, MessageBoxes& boxes) {
    const std::string& marker = v[0];
    FormatSettings& s = f.settings;
    auto kind = [&](std::string& setting, const char* fallback) {
        setting = kindToDisplay(v[1]);
        if (auto refused = enforceFileKind(setting, fallback))
            boxes.show(*refused);
    };
    auto checked = [&](std::string& setting, auto rule) {
        setting = v[1];
        if (auto refused = rule(setting))
            boxes.show(*refused);
    };
    auto number = [&](std::string& setting, const std::string& value) {
        setting = value;
        if (auto refused = enforceRecordNumber(setting))
            boxes.show(*refused);
    };
    if (marker == t::kMarkerQuoteChar)
        stored.quoteChar = v[1];
    else if (marker == t::kMarkerQuoteNum)
        stored.quoteNum = v[1];
    else if (marker == t::kMarkerSeparatorChar)
        stored.separatorChar = v[1];
    else if (marker == t::kMarkerSeparatorNum)
        stored.separatorNum = v[1];
    else if (marker == t::kMarkerInputKind)
        kind(s.inputKind, kTextFile);
    else if (marker == t::kMarkerOutputKind)
        kind(s.outputKind, kDelimitedFile);
    else if (marker == t::kMarkerOutputEncoding)
        checked(s.outputEncoding, enforceOutputEncoding);
    else if (marker == t::kMarkerOutputLineEnd)
        checked(s.outputLineEnd, enforceOutputLineEnd);
    else if (marker == t::kMarkerRecordLength)
        number(s.recordLength, v[1]);
    else if (marker == t::kMarkerRecordSelection) {
        number(s.recordSelectStart, v[1]);
        number(s.recordSelectLength, v[2]);
        s.recordSelectText = v[3];
    } else if (marker == t::kMarkerExclude) {
        s.excludeFrom = v[1];
        s.excludeTo = v[2];
    } else if (marker == t::kMarkerWriteAsIs) {
        s.writeAsIsFrom = v[1];
        s.writeAsIsTo = v[2];
    } else if (marker == t::kMarkerNamesOnTop)
        s.fieldNamesOnTop = v[1] != t::kNo;
    else if (marker == t::kMarkerHeader)
        appendLine(s.headerText, v[1], headerSeen);
    else if (marker == t::kMarkerFooter)
        appendLine(s.footerText, v[1], footerSeen);
}

// The stored quote and separator forms become display forms, in selector
// order; a quote longer than one character is cut with its message.
void applyStoredForms(const StoredForms& stored, FormatSettings& s, MessageBoxes& boxes) {
    for (auto [from, to] : {std::pair{&stored.quoteChar, &s.textQuoteChar},
                            std::pair{&stored.quoteNum, &s.textQuoteNum}}) {
        if (!*from)
            continue;
        *to = quoteToDisplay(**from);
        if (auto refused = enforceQuoteLength(*to))
            boxes.show(*refused);
    }
    if (stored.separatorChar)
        s.separatorChar = separatorToDisplay(*stored.separatorChar);
    if (stored.separatorNum)
        s.separatorNum = separatorToDisplay(*stored.separatorNum);
}

// A selection is stored when any of its three values was set, so that a
// start or length typed before the text survives a save.
bool hasSelectionValues(const FormatSettings& s) {
    return s.hasRecordSelection() || decimalValue(s.recordSelectStart) != 0 ||
           decimalValue(s.recordSelectLength) != 0;
}

} // namespace

bool isMarkerRecord(std::string_view firstValue) {
    return firstValue.size() >= 3 && firstValue.substr(0, 2) == "[!" && firstValue.back() == ']';
}

std::string formatFileText(const FormatDefinition& format) {
    const FormatSettings& s = format.settings;
    std::string out;
    appendRecord(out, {t::kMarkerQuoteChar, storedSetting(quoteToStored(s.textQuoteChar))});
    appendRecord(out, {t::kMarkerQuoteNum, storedSetting(quoteToStored(s.textQuoteNum))});
    appendRecord(out,
                 {t::kMarkerSeparatorChar, storedSetting(separatorToStored(s.separatorChar))});
    appendRecord(out, {t::kMarkerSeparatorNum, storedSetting(separatorToStored(s.separatorNum))});
    appendRecord(out, {t::kMarkerInputKind, kindToStored(s.inputKind)});
    appendRecord(out, {t::kMarkerOutputKind, kindToStored(s.outputKind)});
    if (s.outputEncoding != kEncodingShiftJis)
        appendRecord(out, {t::kMarkerOutputEncoding, s.outputEncoding});
    if (s.outputLineEnd != kLineEndCrLf)
        appendRecord(out, {t::kMarkerOutputLineEnd, s.outputLineEnd});
    if (s.hasRecordLength())
        appendRecord(out, {t::kMarkerRecordLength, s.recordLength});
    if (hasSelectionValues(s))
        appendRecord(out, {t::kMarkerRecordSelection, s.recordSelectStart, s.recordSelectLength,
                           changeDouble(s.recordSelectText)});
    appendRecord(out, {t::kMarkerExclude, s.excludeFrom, s.excludeTo});
    appendRecord(out, {t::kMarkerWriteAsIs, s.writeAsIsFrom, s.writeAsIsTo});
    appendRecord(out, {t::kMarkerNamesOnTop, s.fieldNamesOnTop ? t::kYes : t::kNo});
    appendTextLines(out, t::kMarkerHeader, s.headerText);
    appendTextLines(out, t::kMarkerFooter, s.footerText);
    for (const FieldRow& row : format.rows()) {
        if (row.isEmpty())
            break;
        appendRecord(out, {changeDouble(row.fieldName), changeDouble(row.startPosition),
                           changeDouble(row.length), changeDouble(row.fieldType),
                           changeDouble(row.fixedValue), changeDouble(row.remarks)});
    }
    return out;
}

std::optional<std::vector<std::vector<std::string>>> readFormatRecords(std::string_view text) {
    RecordReader reader(text);
    std::vector<std::vector<std::string>> records;
    std::vector<std::string> values;
    while (!reader.atEnd()) {
        if (!reader.readRecord(kValuesPerRecord, values))
            return std::nullopt;
        records.push_back(values);
    }
    return records;
}

namespace {

enum class ParseResult { Read, Unreadable, TooManyRows };

ParseResult parseFormat(std::string_view text, FormatDefinition& format, MessageBoxes& boxes) {
    auto records = readFormatRecords(text);
    if (!records)
        return ParseResult::Unreadable;
    FormatDefinition staged = format;
    FormatSettings& s = staged.settings;
    s.headerText.clear();
    s.footerText.clear();
    // A file without the encoding, line-end, record-length or selection
    // marker was saved with the defaults: only other values are written.
    s.outputEncoding = kEncodingShiftJis;
    s.outputLineEnd = kLineEndCrLf;
    s.recordLength = "0";
    s.recordSelectStart = s.recordSelectLength = "0";
    s.recordSelectText.clear();
    StoredForms stored;
    bool headerSeen = false;
    bool footerSeen = false;
    int n = 0;
    for (std::vector<std::string>& v : *records) {
        for (std::string& value : v)
            value = restoreDouble(value);
        if (isMarkerRecord(v[0])) {
            applyMarker(v, staged, stored, headerSeen, footerSeen, boxes);
            continue;
        }
        if (++n > FormatDefinition::kMaxRowCount)
            return ParseResult::TooManyRows;
        // The table keeps one empty row after the last record read, when
        // there is room for it.
        if (n >= staged.fieldRowCount())
            staged.growTo(std::min(n + 1, FormatDefinition::kMaxRowCount));
        FieldRow& row = staged.row(n);
        for (int column = 1; column <= FieldRow::kCellCount; ++column)
            row.cell(column) = std::move(v[static_cast<std::size_t>(column - 1)]);
    }
    applyStoredForms(stored, s, boxes);
    format = std::move(staged);
    return ParseResult::Read;
}

} // namespace

bool parseFormatText(std::string_view text, FormatDefinition& format, MessageBoxes& boxes) {
    return parseFormat(text, format, boxes) == ParseResult::Read;
}

Message formatLoadFailure(const std::string& path) {
    return Message{std::string(t::kLoadFailed) + "\r" + path + t::kLoadFailedAsk,
                   t::kFileErrorTitle, Icon::Stop};
}

bool loadFormatFile(const std::string& path, FormatDefinition& format, MessageBoxes& boxes) {
    std::optional<std::string> bytes = readWholeFile(path);
    std::optional<std::string> text = bytes ? sjis::decode(*bytes) : std::nullopt;
    const ParseResult result = text ? parseFormat(*text, format, boxes) : ParseResult::Unreadable;
    if (result == ParseResult::TooManyRows)
        boxes.show(Message{std::string(t::kLoadFailed) + "\r" + path + t::kTooManyRows,
                           t::kFileErrorTitle, Icon::Stop});
    else if (result == ParseResult::Unreadable)
        boxes.show(formatLoadFailure(path));
    return result == ParseResult::Read;
}

bool saveFormatFile(const std::string& path, const FormatDefinition& format,
                    MessageBoxes& boxes) {
    std::optional<std::string> bytes = sjis::encode(formatFileText(format));
    int error = 0;
    if (!bytes || !writeFileAtomically(path, *bytes, &error)) {
        std::string text = t::kSaveFailed;
        if (error != 0)
            text += "\r" + (t::kSavePathLabel + path) + "\r" + common_texts::causeText(error, true);
        boxes.show(Message{text, t::kFileErrorTitle, Icon::Stop});
        return false;
    }
    return true;
}

} // namespace quisk
