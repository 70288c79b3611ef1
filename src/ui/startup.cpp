// Start-up and shutdown of the window application.
#include "ui/startup.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QMainWindow>
#include <QMessageBox>
#include <QPalette>

namespace cw::ui {

int runApplication(QApplication& app)
{
    const QString defs = QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("GAMES.DAT"));
    if (!QFileInfo::exists(defs)) {
        QMessageBox::critical(nullptr, QStringLiteral("Error"),
            QStringLiteral("Cannot find file:\n%1\nCopy the file into the directory that above is specified\nor reinstall the program.")
                .arg(defs));
        return 1;
    }
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Cardwise"));
    QPalette pal = window.palette();
    pal.setColor(QPalette::Window, QColor(0, 110, 50));
    window.setPalette(pal);
    window.setAutoFillBackground(true);
    window.resize(1024, 720);
    window.show();
    return app.exec();
}

} // namespace cw::ui
