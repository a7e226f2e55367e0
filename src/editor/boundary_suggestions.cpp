#include "common/sjis.h"
#include "editor/layout_preview.h"

#include <algorithm>
#include <map>
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

// The lines to learn from: those a run cuts into fields, and of those, when
// most share one length, only the lines of that length: in a file of
// fixed-length records a title or total line of another length is no record.
std::vector<const std::string*> recordLines(const LayoutPreview& preview,
                                            const SampleHead& sample) {
    std::vector<const std::string*> lines;
    std::map<std::size_t, std::size_t> lengths;
    for (std::size_t i = 0; i < sample.lines.size(); ++i) {
        const std::string& line = sample.lines[i].bytes;
        if (preview.roleOf(static_cast<long long>(i) + 1) == LineRole::Record && !line.empty()) {
            lines.push_back(&line);
            ++lengths[line.size()];
        }
    }
    const auto most =
        std::max_element(lengths.begin(), lengths.end(),
                         [](const auto& a, const auto& b) { return a.second < b.second; });
    if (most != lengths.end() && 2 * most->second > lines.size())
        std::erase_if(lines, [&](const std::string* line) { return line->size() != most->first; });
    return lines;
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
    const std::vector<const std::string*> learnt = recordLines(preview, sample);
    const auto lines = static_cast<double>(learnt.size());
    for (const std::string* record : learnt) {
        const std::string& line = *record;
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
