#pragma once

#include "format/format_definition.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace quisk {

// Where a format's layout and a source line disagree.
enum class ProblemKind {
    StartCut,           // a field starts on the second byte of a double-byte character
    EndCut,             // a field ends on the first byte of a double-byte character
    ShortLine,          // the line ends before the layout's last field does
    DroppedBytes,       // bytes past the last field, which no record holds
    InvalidBytes,       // bytes that are no code page 932 character
    LoneLineFeed,       // a line feed without a carriage return, kept inside the line
    LoneCarriageReturn, // the line ends in a carriage return without a line feed
};
inline constexpr std::size_t kProblemKindCount = 7;

// One problem found in one line. Byte positions count from 0 in the line
// without its line end; [from, to) is the span to mark: the cut character,
// the missing or dropped bytes, the invalid bytes, the line feed, or the
// place of the carriage return (one past the line's last byte).
struct LayoutProblem {
    ProblemKind kind = ProblemKind::ShortLine;
    long long line = 0; // line number, from 1
    int fieldRow = 0;   // the field's row in the table, for cuts; else 0
    std::size_t from = 0;
    std::size_t to = 0;

    bool operator==(const LayoutProblem&) const = default;
};

// Receives the problems of the lines checked, line by line in order.
class ProblemSink {
public:
    virtual void found(const LayoutProblem& problem) = 0;

protected:
    ~ProblemSink() = default;
};

// How a line ended in the file.
enum class LineEnd { CrLf, Cr, None };

// Checks source lines against a format's layout, cutting fields by the same
// rules as the record formatter: rows are taken up to the first empty row,
// fixed rows cut nothing, a length of 0 runs to the end of the line.
// Excluded lines are not checked: they are never written. Write-as-is lines
// are copied unchanged, so only their bytes and line ends are checked.
//
// A line is looked at 64 bytes at a time, which finds where fields cut
// characters too; it is walked character by character only when the look
// finds another problem, to say where that lies.
class LayoutCheck {
public:
    explicit LayoutCheck(const FormatDefinition& format);

    // The field rows that cut the line, as (row, first byte, length) with a
    // length of 0 for the rest of the line; rows whose start is below 1 or
    // whose length is negative cut nothing and are left out.
    struct Field {
        int row = 0;
        std::size_t offset = 0;
        std::size_t length = 0;
    };
    const std::vector<Field>& fields() const { return fields_; }

    // Whether line number is left unchecked: an excluded line is never
    // written.
    bool skips(long long number) const { return exclude_.contains(number); }

    // Checks one line (without its line end) numbered number; bytes past the
    // line need not be readable.
    void checkLine(std::string_view line, LineEnd end, long long number, ProblemSink& sink) const;

private:
    // A byte position where a field starts or ends, inside a line.
    struct Boundary {
        std::size_t at = 0; // the byte after the boundary
        int row = 0;
        ProblemKind kind = ProblemKind::StartCut;
    };

    void checkLength(std::size_t size, long long number, ProblemSink& sink) const;
    // The boundaries found on a character's second byte, as lane bits of the
    // first looks of 64 bytes; lanes past looks are not set.
    struct CutLanes {
        std::array<std::uint64_t, 8> lanes;
        std::size_t looks = 0;
        // Adds the cuts of a look after the ones added; false when the
        // look lies past those held.
        bool add(std::size_t look, std::uint64_t cut);
    };
    bool lookAt(std::string_view line, bool cuts, CutLanes& cutLanes) const;
    void reportCuts(const CutLanes& cutLanes, long long number, ProblemSink& sink) const;
    void walkCharacters(std::string_view line, std::size_t from, long long number, bool cuts,
                        ProblemSink& sink) const;

    struct Range {
        long long from = 0;
        long long to = 0;
        bool contains(long long n) const { return from <= n && n <= to; }
    };

    std::vector<Field> fields_;
    std::vector<Boundary> boundaries_; // sorted by position
    // Lane bits of the boundaries among bytes 64k to 64k + 63, by k.
    std::vector<std::uint64_t> boundaryLanes_;
    std::size_t lastFieldEnd_ = 0;     // the bytes a line needs to hold every field
    bool restOfLine_ = false;          // a field takes the rest of the line
    Range exclude_;
    Range writeAsIs_;
};

// Checks the lines of text, the start of a source file or any span of whole
// lines, as the engine's reader splits them: at a carriage return, a CR LF or
// the end of the text. Lines are numbered from firstNumber. A carriage
// return at the very end counts as a lone one: pass the byte after it too
// when the text is cut out of a longer file.
std::vector<LayoutProblem> checkLines(const FormatDefinition& format, std::string_view text,
                                      long long firstNumber = 1);

// Whether bytes are a character of code page 932, as the system's converter
// reads them: one byte, or a lead byte and a trail byte.
bool isCodePage932Character(unsigned char byte);
bool isCodePage932Character(unsigned char lead, unsigned char trail);

} // namespace quisk
