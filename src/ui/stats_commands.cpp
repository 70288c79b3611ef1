// The statistics commands: each builds its dialog from the game object and the settings of the window.
#include "ui/main_window.h"
#include "ui/stats_commands.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QTimer>

#include <algorithm>

#include "catalog/definitions.h"
#include "stats/game_stats.h"
#include "stats/hi_scores.h"
#include "storage/players.h"
#include "storage/settings_store.h"
#include "ui/clear_stats_dialog.h"
#include "ui/game_info_dialog.h"
#include "ui/game_won_dialog.h"
#include "ui/hi_scores_dialog.h"
#include "ui/open_game_dialog_commands.h"
#include "ui/overall_score_dialog.h"
#include "ui/players_dialog.h"
#include "ui/single_game_dialog.h"

namespace cw::ui {

namespace {

QMenu* menuTitled(QMenuBar* bar, const QString& title)
{
    for (QAction* a : bar->actions())
        if (a->menu() && a->text() == title) return a->menu();
    return nullptr;
}

EndOfGameDialogHook& endOfGameHook()
{
    static EndOfGameDialogHook hook;
    return hook;
}

} // namespace

void setEndOfGameDialogHook(EndOfGameDialogHook hook) { endOfGameHook() = std::move(hook); }

StatsCommands::StatsCommands(TfrmMain& window, engine::TMainGame& game)
    : QObject(&window), m_window(window), m_game(game)
{
    setObjectName(QStringLiteral("StatsCommands"));
    addMenus();
}

StatsCommands* installStatsCommands(TfrmMain& window, engine::TMainGame& game)
{
    return new StatsCommands(window, game);
}

void StatsCommands::addMenus()
{
    QMenuBar* bar = m_window.menuBar();
    auto make = [this](const char* name, const QString& caption, const QKeySequence& key, void (StatsCommands::*fn)()) {
        auto* a = new QAction(caption, &m_window);
        a->setObjectName(QString::fromLatin1(name));
        if (!key.isEmpty()) a->setShortcut(key);
        connect(a, &QAction::triggered, this, [this, fn] { (this->*fn)(); });
        m_window.addAction(a);  // keys in full screen too
        return a;
    };
    QAction* players = make("mnuPlayers", tr("&Players..."), QKeySequence(Qt::CTRL | Qt::Key_L), &StatsCommands::showPlayers);
    QMenu* file = menuTitled(bar, QStringLiteral("&File"));
    if (file) {
        // Before "&Hold and exit..." / "E&xit", at the end of the game commands.
        QAction* before = nullptr;
        for (QAction* a : file->actions())
            if (a->objectName() == QLatin1String("mnuHoldAndExit") || a->objectName() == QLatin1String("mnuExit")) {
                before = a;
                break;
            }
        file->insertAction(before, players);
        file->insertSeparator(before);
    }
    auto* stats = new QMenu(tr("&Statistics"), &m_window);
    stats->setObjectName(QStringLiteral("mnuStatistics"));
    stats->addAction(
        make("mnuGameStatistics", tr("&Game statistics..."), Qt::Key_F4, &StatsCommands::showGameStatistics));
    stats->addAction(make("mnuHiScores", tr("&Hi-Scores..."), Qt::Key_F9, &StatsCommands::showHiScores));
    stats->addAction(make("mnuLogStatistics", tr("&Log statistics..."), {}, &StatsCommands::showLogStatistics));
    stats->addAction(make("mnuGameInformation", tr("Game &information..."), Qt::Key_F5,
                          &StatsCommands::showGameInformation));
    stats->addSeparator();
    stats->addAction(make("mnuOverallScore", tr("&Overall Score champions..."), {}, &StatsCommands::showOverallScore));
    stats->addAction(make("mnuSingleGame", tr("&Single Game champions..."), {}, &StatsCommands::showSingleGame));
    stats->addSeparator();
    stats->addAction(make("mnuClearValues", tr("&Clear values..."), {}, &StatsCommands::showClearValues));
    QMenu* help = menuTitled(bar, QStringLiteral("&Help"));
    bar->insertMenu(help ? help->menuAction() : nullptr, stats);

    // The table's pop-up menu (the window's own menu that starts with "Pause") opens with "Game information...".
    for (QMenu* menu : m_window.findChildren<QMenu*>(QString(), Qt::FindDirectChildrenOnly)) {
        const auto actions = menu->actions();
        if (!actions.isEmpty() && actions.front()->objectName() == QLatin1String("mnuPause")) {
            auto* info = new QAction(tr("Game information..."), menu);
            info->setObjectName(QStringLiteral("popGameInformation"));
            connect(info, &QAction::triggered, this, &StatsCommands::showGameInformation);
            menu->insertAction(actions.front(), info);
            menu->insertSeparator(actions.front());
            break;
        }
    }
}

stats::StatsContext StatsCommands::context() const
{
    stats::StatsContext ctx;
    ctx.dataFolder = m_game.dataFolder;
    ctx.settings = &m_game.settings;
    ctx.statisticsDisabled = m_game.preferences.disableStatistics;
    return ctx;
}

const stats::GameCatalog& StatsCommands::catalog()
{
    // Reading every game's parameters takes a while: once per run, at the first command that needs them.
    if (!m_catalog)
        m_catalog = std::make_unique<stats::DefinitionsCatalog>(m_game.definitionsText, m_game.gameList,
                                                                &m_game.customGames);
    return *m_catalog;
}

std::vector<stats::CatalogGame> StatsCommands::gameList()
{
    auto games = catalog().catalogGames();
    for (const auto& c : m_game.customGames)
        if (auto g = catalog().game(c.id)) games.push_back(*g);
    std::stable_sort(games.begin(), games.end(), [](const auto& a, const auto& b) {
        return QString::fromStdString(a.name).compare(QString::fromStdString(b.name), Qt::CaseInsensitive) < 0;
    });
    return games;
}

std::vector<std::string> StatsCommands::players() const
{
    return m_game.settingsFile ? storage::listPlayers(*m_game.settingsFile) : std::vector<std::string>{m_game.player()};
}

void StatsCommands::showHiScores()
{
    const auto ctx = context();
    HiScoresRequest request;
    request.gameId = m_game.currentGameId();
    const std::string code = m_game.settings.get(storage::col::ScoringCode);
    if (code.size() == 2) request.scoringCode = code;
    if (refuseWhenStatisticsDisabled(&m_window, ctx)) return;
    HiScoresDialog dialog(ctx, gameList(), catalog(), request, m_game.settingsFile, &m_window);
    dialog.players = players();
    dialog.exec();
}

void StatsCommands::showGameInformation()
{
    showGameInformationFor(m_game.currentGameId(), m_game.player(), &m_window);
}

void StatsCommands::showGameInformationFor(int id, const std::string& player, QWidget* parent)
{
    const auto ctx = context();
    if (refuseWhenStatisticsDisabled(parent, ctx)) return;
    if (id < 0) return;
    GameInfoRequest r;
    r.gameId = id;
    r.gameName = m_game.gameName(id);
    r.player = player;
    r.players = players();
    const std::string code = m_game.settings.get(storage::col::ScoringCode);
    if (code.size() == 2) r.scoringCode = code;
    r.defaults = stats::gameDefaultScores(catalog(), id);
    if (m_game.rulesGameId == id) {
        r.chanceX = m_game.rules[501];
        r.chanceY = m_game.rules[502];
        r.chanceUndecided = m_game.rules[489];
    } else if (id < catalog::kFirstCustomId) {
        // Another built-in game (chosen in the chooser): its winning sample from the definitions.
        const auto p = catalog::ReadGameParameters(m_game.definitionsText, m_game.gameList, id,
                                                   {501, 502, 489, -1, -1, -1, -1, -1, -1}, m_game.definitionsName);
        if (p) {
            r.chanceX = (*p)[0];
            r.chanceY = (*p)[1];
            r.chanceUndecided = (*p)[2];
        }
    }
    ui::showGameInformation(parent, ctx, r);
}

void StatsCommands::showPlayers()
{
    if (!runPlayersDialog(&m_window)) return;
    // The new player chooses a game; without the chooser, or when it is cancelled, the current game
    // starts afresh for them (the old player's deal has ended and must not stay on the table).
    if (auto* chooser = m_window.findChild<ChooserCommands*>()) {
        QTimer::singleShot(0, chooser, [chooser] { chooser->openGameDialog(true); });
        return;
    }
    const int id = m_game.currentGameId();
    if (id >= 0) m_window.session().startGame(id, m_game.player());
}

bool StatsCommands::runPlayersDialog(QWidget* parent)
{
    if (!m_game.settingsFile) return false;
    const auto ctx = context();
    PlayersDialog dialog(ctx, *m_game.settingsFile, parent);
    dialog.switchPlayer = [this](const std::string& player) {
        // The running deal is recorded for the old player; the new one starts with a fresh deal.
        engine::Session& session = m_window.session();
        if (session.flags().dealActive &&
            !session.confirmQuit("Start a new game for player " + player + "?"))
            return false;
        if (session.flags().dealActive) session.endGame();
        stats::resetSessionCounters(m_game.settings);
        m_game.settings.set(storage::col::Player, player);
        return true;
    };
    dialog.exec();
    if (!dialog.playerChanged()) return false;
    m_window.refreshTitle();
    return true;
}

void StatsCommands::showClearValues()
{
    ui::showClearValues(&m_window, context(), gameList(), players());
}

void StatsCommands::showOverallScore() { ui::showOverallScore(&m_window, context(), catalog()); }

void StatsCommands::showSingleGame() { showSingleGameValues(&m_window, context(), catalog(), players()); }

void StatsCommands::gameEnded(const engine::GameEndReport& report)
{
    if (report.hiScoreRank < 0) return;
    if (m_game.settings.get(storage::col::ConfirmEnterHiScores) == "N") return;
    const auto ctx = context();
    if (ctx.statisticsDisabled) return;
    if (endOfGameHook()) {
        endOfGameHook()(report, true);
        return;
    }
    HiScoresRequest request;
    request.newScore = true;
    request.selectRow = report.hiScoreRank;
    request.caption = report.hiScoreCaption;
    request.gameId = report.gameId;
    const std::string code = m_game.settings.get(storage::col::ScoringCode);
    if (code.size() == 2) request.scoringCode = code;
    HiScoresDialog dialog(ctx, gameList(), catalog(), request, m_game.settingsFile, &m_window);
    dialog.players = players();
    dialog.exec();
}

void StatsCommands::gameWon(const engine::GameEndReport& report)
{
    const auto ctx = context();
    // A button for each next step the window offers; the others are not shown.
    const std::pair<GameWonChoice, const char*> commands[] = {
        {GameWonChoice::New, "mnuNew"},           {GameWonChoice::Open, "mnuOpen"},
        {GameWonChoice::Restart, "mnuRestart"},   {GameWonChoice::Random, "mnuRandomAll"},
        {GameWonChoice::Select, "mnuSelectGameNumber"}};
    std::set<GameWonChoice> choices;
    for (const auto& [c, name] : commands)
        if (m_window.command(QString::fromLatin1(name)) || m_window.findChild<QAction*>(QString::fromLatin1(name)))
            choices.insert(c);
    GameWonChoice choice = GameWonChoice::Close;
    std::optional<PlayRequest> fromStatistics;
    if (endOfGameHook()) {
        choice = endOfGameHook()(report, false);
    } else {
        GameWonDialog dialog(ctx, report.gameId, report.gameName, report.player, choices, &m_window);
        dialog.setStatsHandler([&] {
            // A game started from the statistics closes this dialog too.
            fromStatistics = showStatisticsFor(m_game.currentGameId(), m_game.player(), &dialog);
            if (fromStatistics)
                dialog.reject();
        });
        dialog.exec();
        choice = dialog.choice();
    }
    if (fromStatistics) {
        // Started once the end of the game has returned.
        QTimer::singleShot(0, this, [this, r = *fromStatistics] { startRequested(r); });
        return;
    }
    for (const auto& [c, name] : commands) {
        if (c != choice) continue;
        QAction* a = m_window.command(QString::fromLatin1(name));
        if (!a) a = m_window.findChild<QAction*>(QString::fromLatin1(name));
        // Carried out once the end of the game has returned.
        if (a) QTimer::singleShot(0, a, &QAction::trigger);
    }
}

} // namespace cw::ui
