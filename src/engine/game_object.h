// The process-wide game object: the game list, the run's preferences, the current rules and the settings store.
#pragma once

#include <string>
#include <vector>

#include "catalog/custom_games.h"
#include "catalog/game_list.h"
#include "catalog/result.h"
#include "catalog/rules.h"
#include "engine/game_rules.h"
#include "storage/preferences.h"

namespace cw::storage {
class IniFile;
class SettingsStore;
} // namespace cw::storage

namespace cw::engine {

// Lives for the whole run. The session reads the catalog and the preferences from it and keeps
// the current rules in it; the window, the chooser and the statistics dialogs read the same
// object. The settings store and the settings file are owned by the caller (start-up).
class TMainGame {
public:
    explicit TMainGame(storage::SettingsStore& settings, storage::IniFile* settingsFile = nullptr)
        : settings(settings), settingsFile(settingsFile)
    {}

    // ---- Where things are ----
    std::string installFolder; // ends with "/": GAMES.DAT, "Demos/"
    std::string dataFolder;    // ends with "/": the held game, the statistics files

    // ---- The catalog ----
    std::string definitionsText;               // GAMES.DAT as read at start-up
    std::string definitionsName = "GAMES.DAT"; // the file name messages show
    catalog::GameList gameList;
    std::vector<catalog::CustomGame> customGames;
    // The records of the custom games file the last read left out, one line each (shown once).
    std::vector<std::string> customGamesSkipped;

    // ---- The run ----
    storage::GamePreferences preferences;
    storage::SettingsStore& settings;
    storage::IniFile* settingsFile = nullptr; // "Cfg.dat"; nullptr: preferences are not written back

    // ---- The current game ----
    GameRules rules;      // the current rules (with their family), as the deal adjusted them
    int rulesGameId = -1; // the game the rules were loaded for; -1 none

    // Reads the definitions file of installFolder (and the custom games of dataFolder). Returns
    // the error text ("" when the catalog was read).
    std::string loadCatalog();
    // Reads the custom games of dataFolder again (after one was saved or deleted), each with the
    // solver's measured chance kept in the settings file.
    void reloadCustomGames();
    // Uses definitions text already in memory (tests, tools).
    void setCatalog(std::string defsText, std::vector<catalog::CustomGame> customs = {});

    // Whether the game id names a built-in game of the list or a custom game.
    bool knowsGame(int gameId) const;
    // Name of a built-in or custom game ("" when unknown).
    std::string gameName(int gameId) const;
    // The rules of a game, freshly loaded (per-pile copy saved).
    catalog::Result<catalog::Rules> loadRules(int gameId) const;

    // ---- Current-game values of the settings store ----
    int currentGameId() const;  // column 62; -1 when none or unreadable
    std::string player() const; // column 77, blanks removed

    // A "Preference" key of the settings file ("" without a file or key).
    std::string preference(const std::string& key) const;
    void setPreference(const std::string& key, const std::string& value);

    // ---- Autoplay ----
    // Whether autoplay starts switched on for a game that is started or opened, by the autoplay
    // mode: 1 the "AutoPlay" preference, 2 the per-game memory of section "Autoplay", 3 off.
    bool autoplayAtStart(int gameId) const;
    // Mode 2: remembers the switch for the game (key "Games" or "Cust_" + id).
    void rememberAutoplay(int gameId, bool on);
};

} // namespace cw::engine
