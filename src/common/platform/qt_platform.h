#pragma once

#include "common/platform.h"
#include "common/platform/qt_desktop.h"
#include "common/platform/qt_file_dialogs.h"
#include "common/platform/qt_message_boxes.h"
#include "common/process.h"

namespace quisk {

// The desktop program's services: one of each, alive as long as the
// application. Create it after the QApplication.
class QtPlatform {
public:
    Platform platform() { return Platform{messages_, dialogs_, clipboard_, screen_, launcher_}; }

private:
    QtMessageBoxes messages_;
    QtFileDialogs dialogs_;
    QtClipboard clipboard_;
    QtScreen screen_;
    ProgramLauncher launcher_;
};

} // namespace quisk
