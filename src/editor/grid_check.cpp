#include "grid_check.h"

#include "editor/editor_texts.h"

#include <string>

namespace quisk {

namespace t = editor_texts;

namespace {

bool filled(const std::string& cell) {
    return !cell.empty();
}

// True when every character is one of the ten ASCII digits; empty passes.
bool digitsOnly(const std::string& cell) {
    for (char c : cell)
        if (c < '0' || c > '9')
            return false;
    return true;
}

// A non-empty digit string is zero when all its digits are zero.
bool isZero(const std::string& digits) {
    return digits.find_first_not_of('0') == std::string::npos;
}

// The message of the first rule the row breaks, or null when it passes.
const char* brokenRule(const FieldRow& r) {
    const bool name = filled(r.fieldName), start = filled(r.startPosition),
               length = filled(r.length), type = filled(r.fieldType), fixed = filled(r.fixedValue),
               remarks = filled(r.remarks);
    if (fixed && (start || length || type))
        return t::kFixedValueAlone;
    if (remarks && !name && !start && !length && !type && !fixed)
        return t::kRemarksOnly;
    const bool allFour = name && start && length && type;
    if ((name && !fixed && !(start && length && type)) || (type && !allFour) ||
        (start && !allFour) || (length && !allFour))
        return t::kFillAllFour;
    if (!digitsOnly(r.startPosition) || !digitsOnly(r.length))
        return t::kDigitsInPosition;
    if ((length || start || type) && r.fieldType != kTypeNum && r.fieldType != kTypeChar)
        return t::kTypeCharOrNum;
    if ((start || length) && (isZero(r.startPosition) || isZero(r.length)))
        return t::kNoZero;
    return nullptr;
}

Message gapQuestion() {
    std::string text =
        std::string(t::kGapQuestion1) + "\r\n" + t::kGapQuestion2 + "\r\n\r\n" + t::kGapQuestion3;
    return Message{text, t::kCellErrorTitle, Icon::None, Buttons::YesNo, Answer::Yes};
}

} // namespace

GridCheckResult checkGrid(const FormatDefinition& format) {
    enum { NoGap, JustEmpty, FilledAfterGap } gap = NoGap;
    GridCheckResult result;
    for (int r = 1; r <= format.fieldRowCount(); ++r) {
        const FieldRow& row = format.row(r);
        result.endRow = r;
        if (row.isEmpty())
            gap = JustEmpty;
        else if (gap == JustEmpty)
            gap = FilledAfterGap;
        if (const char* text = brokenRule(row)) {
            result.outcome = GridCheckResult::Outcome::Failed;
            result.message =
                Message{std::to_string(r) + text, t::kCellErrorTitle, Icon::Stop, Buttons::Ok};
            return result;
        }
        if (gap == FilledAfterGap) {
            result.outcome = GridCheckResult::Outcome::AskGap;
            result.message = gapQuestion();
            return result;
        }
    }
    return result;
}

bool answerGridCheck(const GridCheckResult& result, MessageBoxes& boxes) {
    switch (result.outcome) {
    case GridCheckResult::Outcome::Passed:
        return true;
    case GridCheckResult::Outcome::Failed:
        boxes.show(*result.message);
        return false;
    case GridCheckResult::Outcome::AskGap:
        return boxes.show(*result.message) == Answer::Yes;
    }
    return false;
}

} // namespace quisk
