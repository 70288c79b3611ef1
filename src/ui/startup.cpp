// Start-up and shutdown of the window application.
#include "ui/startup.h"

#include <QApplication>
#include <QMainWindow>
#include <QMessageBox>
#include <QPalette>
#include <QString>

#include "catalog/custom_games.h"
#include "catalog/definitions.h"
#include "catalog/game_list.h"
#include "storage/folders.h"
#include "storage/preferences.h"
#include "storage/settings_store.h"

namespace cw::ui {

namespace {

QString qs(const std::string& s) { return QString::fromStdString(s); }

} // namespace

int runApplication(QApplication& app)
{
    namespace st = cw::storage;
    namespace cat = cw::catalog;

    const std::string install = st::installationFolder();
    const st::Environment env = st::Environment::fromProcess();
    const st::DataFolderLocation data = st::locateDataFolder(install, env);
    if (!data.message.empty())
        QMessageBox::information(nullptr, QStringLiteral("Information"), qs(data.message));

    st::SettingsStore store;
    st::IniFile settings = st::openSettingsFile(store, data.folder);
    st::loadPreferences(store, settings);

    const auto defsPath = cat::DefinitionsFilePath(install);
    if (!std::filesystem::exists(defsPath)) {
        QMessageBox::critical(nullptr, QStringLiteral("Error"), qs(cat::MissingDefinitionsFileMessage(defsPath)));
        return 1;
    }
    auto built = cat::BuildGameListFromFile(defsPath);
    if (!built) {
        QMessageBox::critical(nullptr, QStringLiteral("Error"), qs(built.error()));
        return 1;
    }
    for (const auto& w : built->warnings)
        QMessageBox::warning(nullptr, QStringLiteral("Warning"), qs(w));

    const auto custom = cat::ReadCustomGamesFile(data.folder);
    const int storedId = std::atoi(store.get(st::col::GameId).c_str());
    const int gameId = cat::StartupGameId(built->list, custom, storedId);
    if (gameId != storedId) {
        store.setNumber(st::col::GameId, gameId);
        store.set(st::col::GameName, "");
    }

    QMainWindow window;
    const std::string name = cat::GameName(built->list, custom, gameId);
    window.setWindowTitle(name.empty() ? QStringLiteral("Cardwise") : QStringLiteral("Cardwise - %1").arg(qs(name)));
    QPalette pal = window.palette();
    pal.setColor(QPalette::Window, QColor(0, 110, 50));
    window.setPalette(pal);
    window.setAutoFillBackground(true);
    window.resize(1024, 720);
    window.show();
    return app.exec();
}

} // namespace cw::ui
