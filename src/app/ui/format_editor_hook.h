#pragma once

#include "common/app_state.h"
#include "common/platform.h"

#include <functional>

class QWidget;

namespace quisk {

// Shows the format editor modally over the main window. It gets the shared
// state (whose job paths the main window has just refreshed), the desktop
// services and the main window's format path box, into which it may put the
// path of the format it saved. The main window opens the real editor; tests
// put a stand-in here.
using FormatEditorHook =
    std::function<void(QWidget* parent, AppState& state, Platform platform, FormatPathBox& box)>;

} // namespace quisk
