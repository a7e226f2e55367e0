#include "splittable.h"

#include "app/app_texts.h"

#include <algorithm>

namespace quisk {
namespace {

// Whether a range of line numbers takes in any line (lines count from 1).
bool selectsLines(const std::string& from, const std::string& to) {
    return decimalValue(to) >= std::max(1LL, decimalValue(from));
}

} // namespace

std::vector<std::string> unsplittableReasons(const FormatSettings& s,
                                             const std::string& fieldNameRow) {
    namespace t = app_texts;
    std::vector<std::string> reasons;
    if (s.fieldNamesOnTop && !fieldNameRow.empty())
        reasons.emplace_back(t::kSplitFieldNames);
    if (!s.headerText.empty())
        reasons.emplace_back(t::kSplitHeader);
    if (!s.footerText.empty())
        reasons.emplace_back(t::kSplitFooter);
    if (selectsLines(s.excludeFrom, s.excludeTo))
        reasons.emplace_back(t::kSplitExcluded);
    if (selectsLines(s.writeAsIsFrom, s.writeAsIsTo))
        reasons.emplace_back(t::kSplitAsIs);
    // Records without line ends cannot be split where a line ends.
    if (s.hasRecordLength())
        reasons.emplace_back(t::kSplitRecordLength);
    if (s.outputEncoding == kEncodingUtf8Bom)
        reasons.emplace_back(t::kSplitByteOrderMark);
    return reasons;
}

} // namespace quisk
