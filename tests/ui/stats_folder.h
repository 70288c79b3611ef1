// The statistics dialogs' tests: a statistics context on an emptied temporary folder, current game and player set.
#pragma once

#include <QDir>
#include <QTemporaryDir>

#include <string>

#include "stats/stat_context.h"
#include "storage/settings_store.h"

namespace cw::ui::testing {

inline void resetStatsFolder(const QTemporaryDir& dir, storage::SettingsStore& settings, stats::StatsContext& ctx,
                             int gameId, const std::string& player)
{
    QDir(dir.path()).removeRecursively();
    QDir().mkpath(dir.path());
    ctx = {};
    ctx.dataFolder = dir.path().toStdString() + "/";
    ctx.settings = &settings;
    settings.setNumber(storage::col::GameId, gameId);
    settings.set(storage::col::Player, player);
    settings.set(storage::col::ScoringCode, "01");
    settings.set(storage::col::SessionWon, "0000");
    settings.set(storage::col::SessionLost, "0000");
}

} // namespace cw::ui::testing
