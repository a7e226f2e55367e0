#include "selector_rules.h"

#include "common/sjis.h"
#include "format/format_definition.h"
#include "format/format_texts.h"

namespace quisk {

std::optional<Message> enforceQuoteLength(std::string& quote) {
    if (sjis::characterCount(quote) <= 1)
        return std::nullopt;
    quote = sjis::firstCharacter(quote);
    return Message{format_texts::kQuoteTooLong, format_texts::kInputErrorTitle, Icon::Stop};
}

std::optional<Message> enforceFileKind(std::string& kind, const char* defaultKind) {
    if (kind == kTextFile || kind == kDelimitedFile)
        return std::nullopt;
    kind = defaultKind;
    return Message{format_texts::kFileKindFromList, format_texts::kInputErrorTitle, Icon::Stop};
}

std::optional<Message> enforceOutputEncoding(std::string& encoding) {
    if (encoding == kEncodingShiftJis || encoding == kEncodingUtf8 || encoding == kEncodingUtf8Bom)
        return std::nullopt;
    encoding = kEncodingShiftJis;
    return Message{format_texts::kEncodingFromList, format_texts::kInputErrorTitle, Icon::Stop};
}

std::optional<Message> enforceOutputLineEnd(std::string& lineEnd) {
    if (lineEnd == kLineEndCrLf || lineEnd == kLineEndLf)
        return std::nullopt;
    lineEnd = kLineEndCrLf;
    return Message{format_texts::kLineEndFromList, format_texts::kInputErrorTitle, Icon::Stop};
}

std::optional<Message> enforceRecordNumber(std::string& number) {
    constexpr long long kMost = 32767;
    std::string digits;
    for (char c : number)
        if (c >= '0' && c <= '9')
            digits += c;
    if (digits != number) {
        number = digits;
        return Message{format_texts::kDigitsOnly, format_texts::kInputErrorTitle, Icon::Stop};
    }
    if (digits.size() > 5 || decimalValue(digits) > kMost) {
        number = std::to_string(kMost);
        return Message{format_texts::kRecordNumberTooLarge, format_texts::kInputErrorTitle,
                       Icon::Stop};
    }
    return std::nullopt;
}

std::optional<Message> checkRecordSelection(const FormatSettings& s) {
    if (!s.hasRecordSelection())
        return std::nullopt;
    auto bytes = sjis::encode(s.recordSelectText);
    if (decimalValue(s.recordSelectStart) >= 1 && bytes &&
        decimalValue(s.recordSelectLength) == static_cast<long long>(bytes->size()))
        return std::nullopt;
    return Message{std::string(format_texts::kSelectionWrong1) + "\r" +
                       format_texts::kSelectionWrong2,
                   format_texts::kInputErrorTitle, Icon::Stop};
}

} // namespace quisk
