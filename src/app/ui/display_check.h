#pragma once

namespace quisk {

// The desktop program needs a display. Without one (neither DISPLAY nor
// WAYLAND_DISPLAY set and no platform chosen with -platform or
// QT_QPA_PLATFORM) it says so in Japanese, names the ways to run a job
// without a display, and exits with status 2. With a display or a chosen
// platform it watches the start of Qt's platform plugin until
// platformStarted(), so that a plugin that cannot start (an unreachable
// display, a missing library) ends the same way instead of with Qt's message.
void requireDisplay(int argc, char** argv);

// Called once the QApplication stands: Qt's messages go their usual way
// again, including those held back while the plugin started.
void platformStarted();

} // namespace quisk
