#pragma once

#include "common/app_state.h"
#include "common/platform.h"

class QWidget;

namespace quisk {

// Opens the format editor modally over parent and returns when it closes.
// The caller has copied the job's paths into state; the editor may write the
// path of the format it saved into box.
void showFormatEditor(QWidget* parent, AppState& state, Platform platform, FormatPathBox& box);

} // namespace quisk
