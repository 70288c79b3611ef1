// The toolbar's pictures: small icons of our own, drawn with QPainter for the main commands.
#pragma once

#include <QIcon>
#include <QString>
#include <QStringList>

namespace cw::ui {

// The icon of a toolbar command by its name ("mnuNew", "mnuRestart", "mnuSave", "mnuUndo",
// "mnuRedo", "mnuAutoplay", "mnuRules", "mnuExit", "tbRestore"); null for other names.
// Holds 16, 24 and 32 pixel pictures; Qt derives the disabled look from them.
QIcon toolbarIcon(const QString& command);
QStringList toolbarIconNames();

} // namespace cw::ui
