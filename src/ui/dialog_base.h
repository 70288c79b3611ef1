// The one font of every dialog: "Tahoma" when it is installed, else the system's UI font.
#pragma once

#include <QFont>

class QWidget;

namespace cw::ui {

// Looked up once per run; later calls return the same font.
QFont dialogFont();
// Sets the dialog font on a dialog or message box (its children inherit it).
void applyDialogFont(QWidget* dialog);

// The busy cursor while a dialog reads or rewrites files (the previous cursor comes back).
class BusyCursor {
public:
    BusyCursor();
    ~BusyCursor();
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

} // namespace cw::ui
