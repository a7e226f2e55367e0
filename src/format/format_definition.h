#pragma once

#include <array>
#include <string>
#include <vector>

namespace quisk {

// The two kinds of file, in their display form.
inline constexpr const char* kTextFile = "ﾃｷｽﾄﾌｧｲﾙ";      // fixed-width text
inline constexpr const char* kDelimitedFile = "区切ﾌｧｲﾙ"; // delimited

// The separator names in display form.
inline constexpr const char* kSeparatorComma = "ｶﾝﾏ";
inline constexpr const char* kSeparatorTab = "ﾀﾌﾞ";
inline constexpr const char* kSeparatorSemicolon = "ｾﾐｺﾛﾝ";
inline constexpr const char* kSeparatorSpace = "ｽﾍﾟｰｽ";

// The output encodings and line ends, as the editor lists them.
inline constexpr const char* kEncodingShiftJis = "Shift-JIS";
inline constexpr const char* kEncodingUtf8 = "UTF-8";
inline constexpr const char* kEncodingUtf8Bom = "UTF-8 (BOM付き)";
inline constexpr const char* kLineEndCrLf = "CR+LF";
inline constexpr const char* kLineEndLf = "LF";

// Field types; compared exactly, case included.
inline constexpr const char* kTypeChar = "Char";
inline constexpr const char* kTypeNum = "Num";

// One row of the field table: six text cells, held exactly as typed.
struct FieldRow {
    static constexpr int kCellCount = 6;

    std::string fieldName;
    std::string startPosition;
    std::string length;
    std::string fieldType;
    std::string fixedValue;
    std::string remarks;

    // Cell by grid column, 1 (name) to 6 (remarks).
    std::string& cell(int column);
    const std::string& cell(int column) const;

    bool isEmpty() const;
    bool operator==(const FieldRow&) const = default;
};

// The settings, each in the form the editor shows it: the thirteen of every
// format, and the output encoding, line end, record length and record-type
// selection, which a format file only holds when they differ from their
// defaults (Shift-JIS, CR+LF, records are lines, every record converted).
struct FormatSettings {
    std::string textQuoteChar = "\"";
    std::string textQuoteNum = "\"";
    std::string separatorChar = kSeparatorComma;
    std::string separatorNum = kSeparatorComma;
    std::string inputKind = kTextFile;
    std::string outputKind = kDelimitedFile;
    std::string excludeFrom = "0";
    std::string excludeTo = "0";
    std::string writeAsIsFrom = "0";
    std::string writeAsIsTo = "0";
    bool fieldNamesOnTop = false;
    std::string headerText; // lines joined by carriage return + line feed
    std::string footerText;
    std::string outputEncoding = kEncodingShiftJis;
    std::string outputLineEnd = kLineEndCrLf;
    // Bytes per record, as typed; 0 means that records are lines.
    std::string recordLength = "0";
    // Only records whose bytes from recordSelectStart on, recordSelectLength
    // of them, equal the Shift-JIS bytes of recordSelectText are converted;
    // an empty text selects every record.
    std::string recordSelectStart = "0";
    std::string recordSelectLength = "0";
    std::string recordSelectText;

    // Whether the format reads fixed-length records, or selects some.
    bool hasRecordLength() const;
    bool hasRecordSelection() const { return !recordSelectText.empty(); }

    bool operator==(const FormatSettings&) const = default;
};

// How lines of a source file are cut into fields and how the destination is
// written: the field table (rows numbered from 1) and the settings.
class FormatDefinition {
public:
    static constexpr int kNewRowCount = 200;
    static constexpr int kMaxRowCount = 32767;

    // A new definition: 200 empty rows and the default settings.
    FormatDefinition();

    int fieldRowCount() const { return static_cast<int>(rows_.size()); }

    // Row n, 1 <= n <= fieldRowCount().
    FieldRow& row(int n) { return rows_.at(static_cast<std::size_t>(n - 1)); }
    const FieldRow& row(int n) const { return rows_.at(static_cast<std::size_t>(n - 1)); }
    const std::vector<FieldRow>& rows() const { return rows_; }

    // Inserts an empty row before row n (n may be fieldRowCount() + 1 to
    // append). Refused, returning false, when the table is full.
    bool insertRow(int n);
    // Removes row n.
    void removeRow(int n);
    // Grows the table with empty rows up to count rows; never shrinks it.
    // Refused when count exceeds the maximum.
    bool growTo(int count);
    // Empties every cell of every row, keeping the row count.
    void clearRows();
    // Replaces the count rows from row n on by the given rows, which may be
    // more or fewer (undoing and redoing a change of the table).
    void replaceRows(int n, int count, const std::vector<FieldRow>& rows);

    // The rows in use: rows 1 up to the row before the first empty row.
    int usedRowCount() const;

    FormatSettings settings;

    bool operator==(const FormatDefinition&) const = default;

private:
    std::vector<FieldRow> rows_;
};

// The numeric value of a digit cell or row bound, read as a number typed by
// hand: blanks are skipped, a sign may lead, reading stops at the first other
// character, and empty text counts 0. Saturates far beyond any line count
// instead of overflowing.
long long decimalValue(const std::string& text);

} // namespace quisk
