#include "record_selection.h"

#include "common/sjis.h"

namespace quisk {

std::optional<RecordSelection> RecordSelection::build(const FormatSettings& s) {
    const long long start = decimalValue(s.recordSelectStart);
    const long long length = decimalValue(s.recordSelectLength);
    std::optional<std::string> bytes = sjis::encode(s.recordSelectText);
    if (start < 1 || !bytes || bytes->empty() || length != static_cast<long long>(bytes->size()))
        return std::nullopt;
    return RecordSelection(static_cast<std::size_t>(start - 1), std::move(*bytes));
}

} // namespace quisk
