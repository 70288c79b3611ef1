// Start-up and shutdown of the window application.
#pragma once

#include "engine/game_object.h"
#include "engine/session.h"

#include <QElapsedTimer>
#include <QString>

#include <functional>
#include <memory>
#include <string>

#include "stats/game_catalog.h"
#include "stats/stat_context.h"
#include "storage/ini_file.h"
#include "storage/settings_store.h"
#include "ui/picture_library.h"

class QApplication;

namespace cw::ui {

// The statistics' side of the end of a game: the session's record handed to the recorder, file
// errors shown in boxes.
class StatsSink : public engine::GameEndSink, public stats::Notices {
public:
    // The catalog is built at the first game end (reading every game's parameters takes a while).
    StatsSink(stats::StatsContext context, std::function<std::unique_ptr<stats::GameCatalog>()> makeCatalog);
    engine::GameEndOutcome recordGameEnd(const engine::GameEndRecord& game) override;
    void information(const std::string& text) override;

private:
    stats::StatsContext m_context;
    std::function<std::unique_ptr<stats::GameCatalog>()> m_makeCatalog;
    std::unique_ptr<stats::GameCatalog> m_catalog;
};

// What lives for the whole run besides the window: settings, the game object, the pictures
// and the statistics recorder.
struct AppCore {
    storage::SettingsStore store;
    std::unique_ptr<storage::IniFile> settingsFile;
    std::unique_ptr<engine::TMainGame> game;
    PictureLibrary library;
    std::unique_ptr<StatsSink> sink;
};

// The start-up steps before the window: settings loaded from the data folder, the picture library
// and the definitions file read, the stored game checked. Returns the message to show when the
// application must stop ("" when it may go on).
QString prepareCore(AppCore& core, const std::string& installFolder, const std::string& dataFolder);

// The process's start-up clock: main() starts it first thing (for the start-up timing).
QElapsedTimer& startupClock();

// Runs the whole start-up, shows the main window and runs the event loop.
// Returns the process exit status.
int runApplication(QApplication& app);

} // namespace cw::ui
