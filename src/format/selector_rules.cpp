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

} // namespace quisk
