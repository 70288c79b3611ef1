// Entry point of the Cardwise window: start-up checks, then the main window.
#include "ui/startup.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    cw::ui::startupClock().start();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Cardwise"));
    QApplication::setOrganizationName(QStringLiteral("Cardwise"));
    return cw::ui::runApplication(app);
}
