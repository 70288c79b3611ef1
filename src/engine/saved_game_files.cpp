// Saved games in use: capturing the current deal, continuing an opened one, held game, samples and bookmarks.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>

#include "engine/saved_game.h"
#include "engine/family.h"
#include "engine/game_rules.h"
#include "storage/fixed_width.h"
#include "storage/safe_file.h"
#include "storage/settings_store.h"

namespace cw::engine {

SavedAppearance appearanceFromSettings(const storage::SettingsStore& settings)
{
    namespace col = storage::col;
    SavedAppearance a;
    a.backgroundName = settings.get(col::BackgroundBmp);
    a.backgroundColour = storage::parseInteger(settings.get(col::BackgroundCol)).value_or(0);
    a.backgroundDef = settings.get(col::BackgroundDef);
    a.cardSize = settings.get(col::CardSize);
    a.cardSet = settings.get(col::Card);
    a.cardBack = static_cast<int>(storage::parseInteger(settings.get(col::BackCard)).value_or(0));
    return a;
}

SavedGame captureGame(const GameState& state, const catalog::Rules& rules, const HistoryList& undo,
                      const storage::SettingsStore& settings, int elapsedSeconds)
{
    namespace col = storage::col;
    SavedGame g;
    g.gameId = state.gameId;
    g.appearance = appearanceFromSettings(settings);
    g.elapsedSeconds = elapsedSeconds;
    g.scoringCode = settings.get(col::ScoringCode);
    if (g.scoringCode.empty())
        g.scoringCode = "01";
    g.score = state.score;
    g.dealNumber = state.dealNumber;
    g.gameCounter1 = state.gameCounters[0];
    g.gameCounter2 = state.gameCounters[1];
    g.player = settings.get(col::Player);
    g.gameNumber = state.gameNumber;
    for (int k = 0; k < kFoundationPiles; ++k)
        g.foundationBases[static_cast<std::size_t>(k)] = rules.foundationBase(k);
    g.table = state.table;
    g.undo = undo;
    return g;
}

void restoreRules(const SavedGame& game, catalog::Rules& rules)
{
    for (int k = 0; k < kFoundationPiles; ++k)
        rules.setFoundationBase(k, game.foundationBases[static_cast<std::size_t>(k)]);
    // As after a deal: "king only" (91) becomes the rank below foundation 1's base.
    const int base = rules.foundationBase(0);
    const int derived = (base >= 2 && base <= 13) ? base - 1 : 13;
    for (int k = 0; k < catalog::kMaxTableaus; ++k)
        if (rules.emptyTableauTakesBaseRank(k))
            rules.setTableauEmptyRule(k, derived);
}

bool savedTableFits(const SavedGame& game, const catalog::Rules& loaded)
{
    GameRules rules(loaded);
    restoreRules(game, rules);
    return rules.family().tableFits(rules, game.table);
}

void restoreGame(const SavedGame& game, const catalog::Rules& rules, RestoreMode mode, GameState& state,
                 History& history)
{
    state.table = game.table;
    state.score = game.score;
    state.dealNumber = game.dealNumber;
    history.undo = game.undo;
    if (mode == RestoreMode::Open) {
        state.gameId = game.gameId;
        state.gameNumber = game.gameNumber;
        state.gameCounters = {game.gameCounter1, game.gameCounter2, 0, 0};
        history.redo.clear();
        history.undoMark = false;
        history.redoMark = false;
    }
    state.stockClicks = history.undo.countEvents(kEventMoveCounter);
    for (int code = 1; code < kEventCodes; ++code)
        state.eventCounts[static_cast<std::size_t>(code)] =
            static_cast<std::uint8_t>(std::min(255, history.undo.countEvents(code)));
    // The one-time Draw stays used after a reopen in every game, not only in the families that
    // keep other one-time actions in the log: otherwise saving and opening would give it back.
    state.drawUsed = history.undo.countEvents(kEventOneTime) > 0;
}

void storeOpenedValues(const SavedGame& game, storage::SettingsStore& settings)
{
    namespace col = storage::col;
    settings.set(col::ScoringCode, game.scoringCode);
    settings.set(col::Score, std::to_string(game.score));
    // A file without a player (written by cardwise-cli) keeps the current player.
    if (!storage::trim(game.player).empty())
        settings.set(col::Player, game.player);
    settings.set(col::GameNumber, game.gameNumber);
}

// ---- Files ----

std::string heldGamePath(const std::string& dataFolder)
{
    return storage::resolveNoCase(dataFolder + kHeldGameFileName);
}

std::string sampleGamePath(const std::string& installFolder, int gameId)
{
    return storage::resolveNoCase(installFolder + "Demos/G" + storage::fixedNumber(gameId, 4) + ".GAM");
}

std::string defaultSaveName(std::string_view gameName)
{
    std::string name(gameName);
    for (char& c : name)
        if (c == '/' || static_cast<unsigned char>(c) < 0x20)
            c = '_';
    if (name.empty() || name == "." || name == "..")
        name = "game";
    return name + kSavedGameExtension;
}

SavedGameRead takeHeldGame(const std::string& dataFolder)
{
    const std::string path = heldGamePath(dataFolder);
    SavedGameRead r = readSavedGame(path);
    if (r.ok())
        storage::removeFile(path);
    else if (r.error != SavedGameError::NotFound)
        // Reported once: kept under its name it would be reported at every start. Kept aside, not
        // deleted: the player may still want what is in it.
        (void)storage::renameFile(path, path + ".bad");
    return r;
}

std::string bookmarkFolder()
{
    const char* tmp = std::getenv("TMPDIR");
    std::string folder = (tmp && *tmp) ? tmp : "/tmp";
    if (folder.back() != '/')
        folder += '/';
    return folder;
}

std::string writeBookmark(const SavedGame& game, const std::string& previousPath, const std::string& folder)
{
    std::string path;
    const int fd = storage::makeTempFile(folder, kBookmarkPrefix, path);
    if (fd < 0)
        throw storage::FileError(storage::kErrorCreatingTemp);
    ::close(fd);
    try {
        writeSavedGame(path, game);
    } catch (...) {
        std::remove(path.c_str());
        throw;
    }
    if (!previousPath.empty() && previousPath != path)
        deleteBookmark(previousPath);
    return path;
}

bool deleteBookmark(const std::string& path)
{
    if (path.empty())
        return true;
    const std::size_t slash = path.find_last_of('/');
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    if (name.rfind(kBookmarkPrefix, 0) != 0)
        return false;
    std::remove(path.c_str());
    return !storage::fileExists(path);
}

} // namespace cw::engine
