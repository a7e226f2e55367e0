#pragma once

#include "common/message_box.h"
#include "format/format_definition.h"

#include <optional>

// The check that guards every save of the field table: it walks the rows
// from the top and stops at the first row that breaks a rule, or at the
// first filled row below a gap of empty rows (the file writer stops at the
// first empty row, so the user decides whether to save only the part above).
namespace quisk {

struct GridCheckResult {
    enum class Outcome {
        Passed, // every row passed: the save may go ahead
        Failed, // a row broke a rule: show the message and do not save
        AskGap, // a filled row follows a gap: ask, Yes saves, No does not
    };
    Outcome outcome = Outcome::Passed;
    // The message for Failed, the question for AskGap.
    std::optional<Message> message;
    // The row whose sixth cell becomes the grid's current cell: the last
    // row read (the failing row, the row below the gap, or the last row).
    int endRow = 0;
};

// Checks the rows of a definition; pure, shows nothing.
GridCheckResult checkGrid(const FormatDefinition& format);

// Shows what a check found and answers whether the save may go ahead.
bool answerGridCheck(const GridCheckResult& result, MessageBoxes& boxes);

} // namespace quisk
