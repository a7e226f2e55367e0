#include "common/sjis.h"
#include "editor/layout_preview.h"

#include <set>

namespace quisk {
namespace {

// A boundary is suggested where at least this share of the lines reaching
// it change character class there...
constexpr double kNearlyAll = 0.9;
// ...and at least this share of the lines reach it at all.
constexpr double kReaching = 0.5;

enum class CharClass { Space, Digit, Letter, HalfKana, Wide, WideSpace, Sign };

CharClass classOf(std::string_view line, const Glyph& g) {
    const auto b = static_cast<unsigned char>(line[g.column]);
    if (g.width == 2)
        return b == 0x81 && static_cast<unsigned char>(line[g.column + 1]) == 0x40
                   ? CharClass::WideSpace
                   : CharClass::Wide;
    if (b == ' ')
        return CharClass::Space;
    if (b >= '0' && b <= '9')
        return CharClass::Digit;
    if ((b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z'))
        return CharClass::Letter;
    if (b >= 0xA1 && b <= 0xDF)
        return CharClass::HalfKana;
    return CharClass::Sign;
}

bool isSpace(CharClass c) {
    return c == CharClass::Space || c == CharClass::WideSpace;
}

// The layout's own boundaries: where its fields start and end.
std::set<std::size_t> layoutBoundaries(const FormatDefinition& format) {
    std::set<std::size_t> at;
    const LayoutCheck check(format);
    for (const LayoutCheck::Field& f : check.fields()) {
        at.insert(f.offset);
        if (f.length != 0)
            at.insert(f.offset + f.length);
    }
    return at;
}

} // namespace

std::vector<std::size_t> suggestBoundaries(const FormatDefinition& format,
                                           const SampleHead& sample) {
    const LayoutPreview preview(format, sample);
    std::vector<long long> changes(preview.longestLine() + 1, 0);
    std::vector<long long> reaching(preview.longestLine() + 1, 0);
    long long lines = 0;
    for (std::size_t i = 0; i < sample.lines.size(); ++i) {
        if (preview.roleOf(static_cast<long long>(i) + 1) != LineRole::Record)
            continue;
        const std::string& line = sample.lines[i].bytes;
        if (line.empty())
            continue;
        ++lines;
        // Every boundary inside the line is reached; one inside a
        // double-byte character never changes class.
        for (std::size_t at = 1; at < line.size(); ++at)
            ++reaching[at];
        const std::vector<Glyph> glyphs = glyphsOf(line);
        for (std::size_t g = 1; g < glyphs.size(); ++g) {
            const CharClass before = classOf(line, glyphs[g - 1]);
            const CharClass after = classOf(line, glyphs[g]);
            // A run of spaces, half or full width, is one run.
            if (before != after && !(isSpace(before) && isSpace(after)))
                ++changes[glyphs[g].column];
        }
    }
    const std::set<std::size_t> existing = layoutBoundaries(format);
    std::vector<std::size_t> suggested;
    for (std::size_t at = 1; at < changes.size(); ++at) {
        const bool reached = static_cast<double>(reaching[at]) >= kReaching * lines;
        const bool nearlyAll = static_cast<double>(changes[at]) >= kNearlyAll * reaching[at];
        if (reaching[at] > 0 && reached && nearlyAll && !existing.contains(at))
            suggested.push_back(at);
    }
    return suggested;
}

} // namespace quisk
