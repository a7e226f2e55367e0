#include "run_parts.h"

#include "common/sjis.h"
#include "engine/conversion.h"

namespace quisk {
namespace {

// Encodes lines of text, each followed by CR LF.
std::optional<std::string> encodeLines(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) {
        text += line;
        text += "\r\n";
    }
    return sjis::encode(text);
}

} // namespace

std::optional<RunTexts> encodeRunTexts(const FormatSettings& s, const std::string& fieldNameRow) {
    std::vector<std::string> none;
    auto header = encodeLines(s.headerText.empty() ? none : textToLines(s.headerText));
    auto footer = encodeLines(s.footerText.empty() ? none : textToLines(s.footerText));
    bool namesWanted = s.fieldNamesOnTop && !fieldNameRow.empty();
    auto names = encodeLines(namesWanted ? std::vector{fieldNameRow} : none);
    if (!header || !footer || !names)
        return std::nullopt;
    return RunTexts{*header, *names, *footer};
}

RunTexts inOutputForm(const RunTexts& texts, const OutputEncoder& encoder) {
    return RunTexts{std::string(encoder.start()) + encoder.encode(texts.header),
                    encoder.encode(texts.fieldNames), encoder.encode(texts.footer)};
}

} // namespace quisk
