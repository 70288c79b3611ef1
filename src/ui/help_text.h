// The help overview shown by "&Contents": how to play, the menus and the keys.
#pragma once

#include <QString>

namespace cw::ui {

// HTML for the rules viewer.
QString helpOverviewPage();

} // namespace cw::ui
