// The statistics commands that open the "Statistics" and "Log statistics" dialogs, and the games those
// dialogs start (a game of the list with a fresh number, a logged deal with its own).
#include "ui/main_window.h"
#include "ui/stats_commands.h"

#include "catalog/game_list.h"
#include "storage/settings_store.h"
#include "ui/clear_stats_dialog.h"
#include "ui/game_info_dialog.h"
#include "ui/hi_scores_dialog.h"
#include "ui/log_dialog.h"
#include "ui/statistics_dialog.h"

namespace cw::ui {

void StatsCommands::showGameStatistics()
{
    if (auto r = showStatisticsFor(m_game.currentGameId(), m_game.player(), &m_window))
        startRequested(*r);
}

void StatsCommands::showLogStatistics()
{
    if (auto r = showLogFor({}, {}, &m_window))
        startRequested(*r);
}

std::optional<PlayRequest> StatsCommands::showStatisticsFor(int gameId, const std::string& player, QWidget* parent,
                                                            PlayAgreement agreement)
{
    const auto ctx = context();
    if (refuseWhenStatisticsDisabled(parent, ctx))
        return std::nullopt;
    StatisticsSetup setup;
    setup.gameId = gameId;
    setup.player = player;
    setup.players = players();
    setup.gamesByName = gameList();
    setup.builtIn = catalog().catalogGames();
    setup.settingsFile = m_game.settingsFile;
    setup.agreeToPlay = agreement ? agreement : [this](const PlayRequest& r) { return agreeToPlay(r); };
    StatisticsDialog* self = nullptr;
    setup.clearValues = [this, &self] { ui::showClearValues(self, context(), gameList(), players()); };
    setup.showHiScores = [this, &self](int id) {
        HiScoresRequest request;
        request.gameId = id;
        const std::string code = m_game.settings.get(storage::col::ScoringCode);
        if (code.size() == 2)
            request.scoringCode = code;
        HiScoresDialog dialog(context(), gameList(), catalog(), request, m_game.settingsFile, self);
        dialog.players = players();
        dialog.exec();
    };
    StatisticsDialog dialog(ctx, std::move(setup), parent);
    self = &dialog;
    dialog.exec();
    return dialog.started();
}

std::optional<PlayRequest> StatsCommands::showLogFor(const std::string& player, const std::string& game,
                                                     QWidget* parent, PlayAgreement agreement)
{
    const auto ctx = context();
    if (refuseWhenStatisticsDisabled(parent, ctx))
        return std::nullopt;
    std::vector<std::string> names;
    for (const auto& g : gameList())
        names.push_back(g.name);
    LogStatisticsDialog dialog(ctx, players(), names, player, game, parent);
    dialog.agreeToPlay = agreement ? agreement : [this](const PlayRequest& r) { return agreeToPlay(r); };
    dialog.clearValues = [this, &dialog] { ui::showClearValues(&dialog, context(), gameList(), players()); };
    dialog.gameIdByName = [this](const std::string& name) {
        return catalog::GameIdByName(m_game.gameList, m_game.customGames, name);
    };
    dialog.exec();
    return dialog.started();
}

bool StatsCommands::agreeToPlay(const PlayRequest&)
{
    engine::Session& session = m_window.session();
    if (session.flags().dealActive && !session.confirmQuit())
        return false;
    session.endGame();
    return true;
}

void StatsCommands::startRequested(const PlayRequest& r)
{
    engine::Session& session = m_window.session();
    // The running game was ended when the dialog agreed; a deal dealt since then is asked about again.
    if (session.flags().dealActive) {
        if (!session.confirmQuit())
            return;
        session.endGame();
    }
    if (!m_game.knowsGame(r.gameId))
        return;
    if (r.gameNumber.empty()) {
        session.startGame(r.gameId, m_game.player(), engine::NumberMode::Fresh);
        return;
    }
    // The very same deal again: its number is the current game number before the game starts.
    m_game.settings.set(storage::col::GameNumber, r.gameNumber);
    if (r.gameId == m_game.currentGameId() && m_game.rulesGameId == r.gameId)
        session.newDeal(true, true, engine::NumberMode::Keep);
    else
        session.startGame(r.gameId, m_game.player(), engine::NumberMode::Keep);
}

} // namespace cw::ui
