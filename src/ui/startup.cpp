// Start-up and shutdown of the window application.
#include "engine/rules_context.h"
#include "engine/session.h"

#include "ui/startup.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPointer>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "catalog/custom_games.h"
#include "catalog/definitions.h"
#include "catalog/game_list.h"
#include "stats/game_end.h"
#include "stats/pending_work.h"
#include "storage/folders.h"
#include "storage/preferences.h"
#include "ui/main_window.h"
#include "ui/message_boxes.h"
#include "ui/splash.h"

namespace cw::ui {

namespace st = cw::storage;
namespace cat = cw::catalog;

// ---- Statistics ----

StatsSink::StatsSink(stats::StatsContext context, std::function<std::unique_ptr<stats::GameCatalog>()> makeCatalog)
    : m_context(std::move(context)), m_makeCatalog(std::move(makeCatalog))
{
    m_context.notices = this;
}

engine::GameEndOutcome StatsSink::recordGameEnd(const engine::GameEndRecord& g)
{
    stats::FinishedGame f;
    f.gameId = g.gameId;
    f.gameName = g.gameName;
    f.gameNumber = g.gameNumber;
    f.player = g.player;
    f.won = g.won;
    f.score = g.score;
    f.scoringCode = g.scoringCode;
    f.playingSeconds = g.seconds;
    f.end = stats::DateTime{g.end.year, g.end.month, g.end.day, g.end.hour, g.end.minute, g.end.second};
    f.randomNumberDeal = g.randomNumberDeal;
    f.eligible = g.eligible;
    if (!m_catalog)
        m_catalog = m_makeCatalog();
    // The recorder shows its messages itself, as one box.
    const stats::GameEndResult r = stats::GameEndRecorder(m_context, *m_catalog).record(f);
    return {r.recorded, r.hiScoreRank, r.hiScoreCaption};
}

void StatsSink::information(const std::string& text) { informationBox(nullptr, boxText(text)); }

// ---- Start-up ----

QString prepareCore(AppCore& core, const std::string& installFolder, const std::string& dataFolder)
{
    core.settingsFile = std::make_unique<st::IniFile>(st::openSettingsFile(core.store, dataFolder));
    // A settings file that cannot be written is told once; the window goes on with the choices made.
    core.settingsFile->setReporter([](const std::string& text) { informationBox(nullptr, boxText(text)); });
    {
        // What a copy stopped half-way left (a game end, a rename of a player) is finished first.
        stats::StatsContext recovery;
        recovery.dataFolder = dataFolder;
        recovery.settingsFile = core.settingsFile.get();
        const std::vector<std::string> notes = stats::recoverDataFolder(recovery);
        if (!notes.empty())
            informationBox(nullptr, boxText(stats::GameEndResult{false, -1, {}, notes}.summary()));
    }
    const st::GamePreferences prefs = st::loadPreferences(core.store, *core.settingsFile);

    // Without the picture library nothing can be drawn.
    const QString libraryPath = QString::fromStdString(installFolder) + QStringLiteral("CWD.RGF");
    if (!core.library.load(libraryPath))
        return PictureLibrary::loadErrorText(libraryPath);

    const auto defsPath = cat::DefinitionsFilePath(installFolder);
    if (!std::filesystem::exists(defsPath))
        return QString::fromStdString(cat::MissingDefinitionsFileMessage(defsPath));

    core.game = std::make_unique<engine::TMainGame>(core.store, core.settingsFile.get());
    engine::TMainGame& game = *core.game;
    game.installFolder = installFolder;
    game.dataFolder = dataFolder;
    game.preferences = prefs;
    const std::string error = game.loadCatalog();
    if (!error.empty())
        return QString::fromStdString(error);

    // A stored game that is no longer in the catalog is forgotten.
    const int stored = std::atoi(core.store.get(st::col::GameId).c_str());
    const int id = cat::StartupGameId(game.gameList, game.customGames, stored);
    if (id != stored) {
        core.store.set(st::col::GameId, "-1");
        core.store.set(st::col::GameName, "");
    }

    stats::StatsContext ctx;
    ctx.dataFolder = dataFolder;
    ctx.settings = &core.store;
    ctx.settingsFile = core.settingsFile.get();
    ctx.statisticsDisabled = prefs.disableStatistics;
    const engine::TMainGame* g = core.game.get();
    core.sink = std::make_unique<StatsSink>(ctx, [g]() -> std::unique_ptr<stats::GameCatalog> {
        return std::make_unique<stats::DefinitionsCatalog>(g->definitionsText, g->gameList, &g->customGames);
    });
    return {};
}

QElapsedTimer& startupClock()
{
    static QElapsedTimer clock;
    return clock;
}

namespace {

// CW_STARTUP_TIMING=1 prints the time from process start to the first paint of a dealt table;
// "exit" quits right after it (for measuring start-up).
class FirstPaintProbe : public QObject {
public:
    FirstPaintProbe(TfrmMain& window, bool quit) : m_window(window), m_quit(quit) {}
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && m_window.session().flags().dealActive && !m_done) {
            m_done = true;
            // Measured once the paint has run.
            QTimer::singleShot(0, this, [this] {
                std::fprintf(stderr, "first table painted after %lld ms\n",
                             static_cast<long long>(startupClock().elapsed()));
                if (m_quit)
                    QApplication::exit(0);
            });
        }
        return false;
    }

private:
    TfrmMain& m_window;
    bool m_quit;
    bool m_done = false;
};

} // namespace

int runApplication(QApplication& app)
{
    if (!startupClock().isValid())
        startupClock().start();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    // On screen while the settings, pictures and definitions load; gone at the first table paint.
    QPointer<SplashWindow> splash = new SplashWindow;
    splash->showNow();

    const std::string install = st::installationFolder();
    const st::Environment env = st::Environment::fromProcess();
    const st::DataFolderLocation data = st::locateDataFolder(install, env);
    if (!data.message.empty()) {
        QApplication::restoreOverrideCursor();
        splash->hide();
        informationBox(nullptr, QString::fromStdString(data.message));
        splash->showNow();
        QApplication::setOverrideCursor(Qt::WaitCursor);
    }

    AppCore core;
    const QString stop = prepareCore(core, install, data.folder);
    if (!stop.isEmpty()) {
        QApplication::restoreOverrideCursor();
        delete splash;
        informationBox(nullptr, stop);
        return 1;
    }

    TfrmMain window(*core.game, core.library, core.sink.get());
    window.restoreWindowState();
    // Without a held game the player picks the first game; start-up timing measures the dealt table.
    window.setChooserAtStartup(std::getenv("CW_STARTUP_TIMING") == nullptr);
    window.show();
    splash->closeAtFirstPaint(window.table());
    // The sound greets the table as the splash goes: starting the audio output takes a while
    // and must not hold up the first paint.
    if (core.store.flag(st::col::SoundsEnabled) && core.store.flag(st::col::SoundsSplash))
        QObject::connect(splash, &QObject::destroyed, &window,
                         [&window] { window.playSound(QStringLiteral("Splash")); });
    QApplication::restoreOverrideCursor();

    std::unique_ptr<FirstPaintProbe> probe;
    if (const char* timing = std::getenv("CW_STARTUP_TIMING")) {
        probe = std::make_unique<FirstPaintProbe>(window, std::string(timing) == "exit");
        window.table()->installEventFilter(probe.get());
    }
    return app.exec();
}

} // namespace cw::ui
