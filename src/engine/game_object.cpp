// The process-wide game object: catalog loading, rule loading and the current-game values it reads.
#include "engine/game_object.h"

#include "catalog/custom_rules.h"
#include "catalog/definitions.h"
#include "storage/fixed_width.h"
#include "storage/ini_file.h"
#include "storage/safe_file.h"
#include "storage/settings_store.h"

namespace cw::engine {

namespace {

std::string trimmed(std::string s)
{
    const auto b = s.find_first_not_of(' ');
    if (b == std::string::npos)
        return {};
    const auto e = s.find_last_not_of(' ');
    return s.substr(b, e - b + 1);
}

} // namespace

std::string TMainGame::loadCatalog()
{
    const auto path = catalog::DefinitionsFilePath(installFolder);
    auto text = catalog::ReadWholeFile(path);
    if (!text)
        return text.error();
    definitionsName = path.filename().string();
    setCatalog(std::move(*text));
    reloadCustomGames();
    return {};
}

void TMainGame::reloadCustomGames()
{
    customGames.clear();
    customGamesSkipped.clear();
    if (dataFolder.empty())
        return;
    catalog::CustomGamesRead read = catalog::ReadCustomGamesFile(dataFolder, &gameList);
    customGames = std::move(read.games);
    customGamesSkipped = std::move(read.skipped);
    if (settingsFile)
        catalog::AttachMeasuredChances(customGames, *settingsFile);
}

void TMainGame::setCatalog(std::string defsText, std::vector<catalog::CustomGame> customs)
{
    definitionsText = std::move(defsText);
    gameList = catalog::BuildGameList(definitionsText, definitionsName).list;
    customGames = std::move(customs);
}

bool TMainGame::knowsGame(int gameId) const
{
    if (gameId >= 8000)
        return catalog::CustomGameRecord(customGames, gameId).baseId >= 0;
    return gameList.find(gameId) != nullptr;
}

std::string TMainGame::gameName(int gameId) const
{
    return catalog::GameName(gameList, customGames, gameId);
}

catalog::Result<catalog::Rules> TMainGame::loadRules(int gameId) const
{
    return catalog::LoadGameRules(definitionsText, gameList, gameId, customGames, definitionsName);
}

int TMainGame::currentGameId() const
{
    return static_cast<int>(storage::parseInteger(settings.get(storage::col::GameId)).value_or(-1));
}

std::string TMainGame::player() const
{
    return trimmed(settings.get(storage::col::Player));
}

std::string TMainGame::preference(const std::string& key) const
{
    if (!settingsFile)
        return {};
    return settingsFile->readString("Preference", key, "");
}

void TMainGame::setPreference(const std::string& key, const std::string& value)
{
    if (!settingsFile)
        return;
    try {
        settingsFile->writeString("Preference", key, value);
    } catch (const storage::FileError&) {
        // The choice stays in effect for this run; the settings file reports its own errors on the next write.
    }
}

bool TMainGame::autoplayAtStart(int gameId) const
{
    switch (preferences.autoPlayAllGames) {
    case 3: return false;
    case 2: {
        if (!settingsFile || gameId < 0)
            return true;
        if (gameId >= 8000)
            return settingsFile->readString("Autoplay", "Cust_" + storage::fixedNumber(gameId, 4), "Y") != "N";
        const std::string flags = settingsFile->readString("Autoplay", "Games", "");
        // Character n + 1 (1-based) belongs to game n.
        const auto at = static_cast<std::size_t>(gameId);
        return at >= flags.size() || flags[at] != 'N';
    }
    default:
        return !settingsFile || settingsFile->readString("Preference", "AutoPlay", "Y") == "Y";
    }
}

void TMainGame::rememberAutoplay(int gameId, bool on)
{
    if (preferences.autoPlayAllGames != 2 || !settingsFile || gameId < 0)
        return;
    try {
        if (gameId >= 8000) {
            settingsFile->writeString("Autoplay", "Cust_" + storage::fixedNumber(gameId, 4), on ? "Y" : "N");
            return;
        }
        std::string flags = settingsFile->readString("Autoplay", "Games", "");
        const auto at = static_cast<std::size_t>(gameId);
        if (flags.size() <= at)
            flags.resize(at + 10, 'Y');
        flags[at] = on ? 'Y' : 'N';
        settingsFile->writeString("Autoplay", "Games", flags);
    } catch (const storage::FileError&) {
    }
}

} // namespace cw::engine
