// The mouse pointers the player may choose ("Cursor" 10 to 15), drawn by our own code.
#pragma once

#include <QCursor>
#include <QStringList>

namespace cw::ui {

// "Arrow small", "Arrow large", "Right-hand 1", "Right-hand 2", "Left-hand 1", "Left-hand 2".
QStringList pointerNames();
// The pointer of a "Cursor" value: 10 (and anything unknown) the platform's standard arrow.
QCursor pointerFor(int cursorValue);

} // namespace cw::ui
