#include "separator_names.h"

#include "format/format_definition.h"
#include "format/format_texts.h"

#include <array>
#include <utility>

namespace quisk {
namespace {

using Pair = std::pair<const char*, const char*>; // display, stored
namespace t = format_texts;

constexpr std::array kQuotes{Pair{"\"", t::kStoredDoubleQuote}, Pair{"'", t::kStoredApostrophe}};
constexpr std::array kSeparators{
    Pair{kSeparatorComma, t::kStoredComma}, Pair{kSeparatorSemicolon, t::kStoredSemicolon},
    Pair{kSeparatorSpace, t::kStoredSpace}, Pair{kSeparatorTab, t::kStoredTab}};

template <typename Table>
std::string translate(const Table& table, const std::string& text, bool toStored) {
    for (const auto& [display, stored] : table) {
        if (text == (toStored ? display : stored))
            return toStored ? stored : display;
    }
    return text;
}

} // namespace

std::string quoteToStored(const std::string& display) { return translate(kQuotes, display, true); }
std::string quoteToDisplay(const std::string& stored) { return translate(kQuotes, stored, false); }
std::string separatorToStored(const std::string& display) {
    return translate(kSeparators, display, true);
}
std::string separatorToDisplay(const std::string& stored) {
    return translate(kSeparators, stored, false);
}

} // namespace quisk
