// Makes the window's commands end the table's animations and pause before they act.
#pragma once

class QWidget;

namespace cw::ui {

class TableWidget;

// Every command of `window` (an action's shortcut, a menu opened, a tool button pressed) first
// finishes the table's queued animations, so that it acts on the finished table. While the table
// is paused, a shortcut or tool button only ends the pause, as a click on the table would; a menu
// still opens. Call again after adding actions (already watched objects are skipped).
void finishAnimationsBeforeCommands(QWidget& window, TableWidget& table);

} // namespace cw::ui
