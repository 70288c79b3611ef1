// Start-up and shutdown of the window application.
#pragma once

class QApplication;

namespace cw::ui {

// Runs the checks of start-up, shows the main window and runs the event loop.
// Returns the process exit status.
int runApplication(QApplication& app);

} // namespace cw::ui
