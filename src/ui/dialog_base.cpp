// The one font of every dialog: "Tahoma" when it is installed, else the system's UI font.
#include "ui/dialog_base.h"

#include <QApplication>
#include <QFontDatabase>
#include <QWidget>

namespace cw::ui {

QFont dialogFont()
{
    // The font database is slow to query; the answer cannot change during a run.
    static const QFont font = [] {
        if (QFontDatabase::families().contains(QStringLiteral("Tahoma"), Qt::CaseInsensitive)) {
            QFont f(QStringLiteral("Tahoma"));
            f.setPointSizeF(QFontDatabase::systemFont(QFontDatabase::GeneralFont).pointSizeF());
            return f;
        }
        return QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    }();
    return font;
}

void applyDialogFont(QWidget* dialog)
{
    if (dialog)
        dialog->setFont(dialogFont());
}

BusyCursor::BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
BusyCursor::~BusyCursor() { QApplication::restoreOverrideCursor(); }

} // namespace cw::ui
