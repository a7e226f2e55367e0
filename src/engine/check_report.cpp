#include "check_report.h"

#include "common/sjis.h"
#include "engine/check_texts.h"

#include <cstdio>

namespace quisk {
namespace {

namespace t = check_texts;

struct KindNames {
    ProblemKind kind;
    const char* text;
    const char* key; // the JSON name
};

// The kinds other than cuts, which are reported per field, in report order.
constexpr KindNames kLineKinds[] = {
    {ProblemKind::ShortLine, t::kShortLine, "shortLine"},
    {ProblemKind::DroppedBytes, t::kDroppedBytes, "droppedBytes"},
    {ProblemKind::InvalidBytes, t::kInvalidBytes, "invalidBytes"},
    {ProblemKind::LoneLineFeed, t::kLoneLineFeed, "loneLineFeed"},
    {ProblemKind::LoneCarriageReturn, t::kLoneCarriageReturn, "loneCarriageReturn"},
};

const std::string& fieldName(const FormatDefinition& format, int row) {
    return format.row(row).fieldName;
}

std::string joinedLines(const ProblemTally& tally, const char* separator) {
    std::string text;
    for (long long line : tally.firstLines) {
        if (!text.empty())
            text += separator;
        text += std::to_string(line);
    }
    return text;
}

std::string tallyText(const ProblemTally& tally) {
    std::string text = ": " + std::to_string(tally.count) + t::kCount + " (";
    text += joinedLines(tally, ", ");
    text += t::kLines;
    if (tally.count > static_cast<long long>(tally.firstLines.size()))
        text += t::kMoreLines;
    return text + ")\n";
}

std::string jsonString(const std::string& text) {
    std::string out = "\"";
    for (char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (u < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", u);
            out += escaped;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

std::string jsonTally(const char* key, const ProblemTally& tally, const std::string& field = {}) {
    std::string out = "{\"kind\":\"";
    out += key;
    out += "\"" + field + ",\"count\":" + std::to_string(tally.count) + ",\"lines\":[";
    out += joinedLines(tally, ",");
    return out + "]}";
}

// A record type as text; bytes without a Shift-JIS reading in hex.
std::string typeText(const std::string& bytes) {
    if (auto text = sjis::decode(bytes))
        return *text;
    std::string hex;
    for (unsigned char c : bytes) {
        char two[4];
        std::snprintf(two, sizeof two, "%02X", c);
        hex += two;
    }
    return "0x" + hex;
}

std::string recordsText(const FileCheckResult& result) {
    if (result.recordLength == 0)
        return {};
    std::string text = t::kRecordLength + std::to_string(result.recordLength) +
                       (result.recordLineEnds ? t::kBytesWithLineEnds : t::kBytesWithoutLineEnds) +
                       "\n" + t::kRecordTypes;
    std::string types;
    for (const auto& [type, count] : result.recordTypes)
        types += (types.empty() ? "" : ", ") + typeText(type) + "=" + std::to_string(count) +
                 t::kCount;
    text += types + "\n";
    if (result.shortLastRecordBytes > 0)
        text += t::kShortLastRecord1 + std::to_string(result.shortLastRecordBytes) +
                t::kShortLastRecord2 + "\n";
    return text;
}

std::string recordsJson(const FileCheckResult& result) {
    if (result.recordLength == 0)
        return {};
    std::string types;
    for (const auto& [type, count] : result.recordTypes)
        types += std::string(types.empty() ? "" : ",") + "{\"type\":" + jsonString(typeText(type)) +
                 ",\"count\":" + std::to_string(count) + "}";
    return ",\"recordLength\":" + std::to_string(result.recordLength) +
           ",\"recordLineEnds\":" + (result.recordLineEnds ? "true" : "false") +
           ",\"recordTypes\":[" + types +
           "],\"shortLastRecord\":" + std::to_string(result.shortLastRecordBytes);
}

} // namespace

std::string checkReportText(const FileCheckResult& result, const FormatDefinition& format,
                            const CheckedFiles& files) {
    std::string text = t::kSource + files.source + "\n" + t::kFormat + files.format + "\n" +
                       t::kLinesRead + std::to_string(result.linesRead) + "\n" +
                       recordsText(result);
    for (const FieldCuts& cuts : result.cuts) {
        const std::string field = t::kFieldRow1 + std::to_string(cuts.row) + t::kFieldRow2 +
                                  fieldName(format, cuts.row) + t::kFieldRow3;
        if (cuts.starts.count > 0)
            text += field + t::kStartCut + tallyText(cuts.starts);
        if (cuts.ends.count > 0)
            text += field + t::kEndCut + tallyText(cuts.ends);
    }
    for (const KindNames& kind : kLineKinds)
        if (result.tally(kind.kind).count > 0)
            text += kind.text + tallyText(result.tally(kind.kind));
    return text + (result.clean() ? t::kClean : t::kProblemsFound) + "\n";
}

std::string checkReportJson(const FileCheckResult& result, const FormatDefinition& format,
                            const CheckedFiles& files) {
    std::string problems;
    auto add = [&problems](const std::string& item) {
        if (!problems.empty())
            problems += ',';
        problems += item;
    };
    for (const FieldCuts& cuts : result.cuts) {
        const std::string field = ",\"row\":" + std::to_string(cuts.row) +
                                  ",\"field\":" + jsonString(fieldName(format, cuts.row));
        if (cuts.starts.count > 0)
            add(jsonTally("startCut", cuts.starts, field));
        if (cuts.ends.count > 0)
            add(jsonTally("endCut", cuts.ends, field));
    }
    for (const KindNames& kind : kLineKinds)
        if (result.tally(kind.kind).count > 0)
            add(jsonTally(kind.key, result.tally(kind.kind)));
    return "{\"source\":" + jsonString(files.source) + ",\"format\":" + jsonString(files.format) +
           ",\"linesRead\":" + std::to_string(result.linesRead) + recordsJson(result) +
           ",\"clean\":" + (result.clean() ? "true" : "false") + ",\"problems\":[" + problems +
           "]}\n";
}

} // namespace quisk
