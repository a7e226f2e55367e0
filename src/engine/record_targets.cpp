#include "record_targets.h"

#include <cstring>

namespace quisk {
namespace {

// Records that may take more than this are written a piece at a time, so
// that a sink which passes pieces on needs no room for the whole record.
constexpr std::size_t kPieceLimit = 1 << 20;

char* appendLineEnd(char* at) {
    *at++ = '\r';
    *at++ = '\n';
    return at;
}

void copyInPieces(std::string_view record, RecordSink& out) {
    while (!record.empty()) {
        std::size_t n = std::min(record.size(), kPieceLimit / 2);
        char* at = out.room(n);
        std::memcpy(at, record.data(), n);
        out.wrote(at + n);
        record.remove_prefix(n);
    }
}

} // namespace

Target::Target(const ConversionTarget& layout, RecordFormatter formatter, OutputEncoder encoder,
               RunTexts texts)
    : layout(layout), formatter(std::move(formatter)), encoder(encoder), texts(std::move(texts)) {
    const FormatSettings& s = layout.format.settings;
    exclude = {decimalValue(s.excludeFrom), decimalValue(s.excludeTo)};
    writeAsIs = {decimalValue(s.writeAsIsFrom), decimalValue(s.writeAsIsTo)};
}

std::optional<Targets> buildTargets(const std::vector<ConversionTarget>& layouts,
                                    RunFailure& failure) {
    Targets targets;
    for (const ConversionTarget& layout : layouts) {
        const FormatSettings& s = layout.format.settings;
        auto formatter = RecordFormatter::build(layout.format);
        auto encoder = OutputEncoder::build(s);
        auto texts = encodeRunTexts(s, layout.fieldNameRow);
        if (!formatter || !encoder || !texts)
            return std::nullopt;
        auto target = std::make_unique<Target>(layout, std::move(*formatter), *encoder,
                                               inOutputForm(*texts, *encoder));
        if (s.hasRecordSelection()) {
            target->selection = RecordSelection::build(s);
            if (!target->selection) {
                failure.selectionUnusable = true;
                return std::nullopt;
            }
        }
        targets.push_back(std::move(target));
    }
    return targets;
}

Outcome writeRecord(const Target& target, std::string_view record, long long number,
                    RecordSink& out, long long& skipped) {
    if (target.exclude.contains(number))
        return Outcome::Written;
    const bool asIs = target.writeAsIs.contains(number);
    if (!asIs && target.selection && !target.selection->matches(record)) {
        ++skipped;
        return Outcome::Written;
    }
    if (!asIs && !target.formatter.canFormat())
        return Outcome::Unformattable;
    const std::size_t most =
        (asIs ? record.size() : target.formatter.maxRecordBytes(record.size())) + 2;
    if (most > kPieceLimit) {
        if (asIs)
            copyInPieces(record, out);
        else
            target.formatter.writeInPieces(record, out);
        out.wrote(appendLineEnd(out.room(2)));
        return Outcome::Written;
    }
    char* at = out.room(most);
    if (asIs) {
        std::memcpy(at, record.data(), record.size());
        at += record.size();
    } else {
        at = target.formatter.write(record, at);
    }
    out.wrote(appendLineEnd(at));
    return Outcome::Written;
}

} // namespace quisk
