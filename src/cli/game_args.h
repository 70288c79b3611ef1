// Shared argument handling of the cli sub-commands: numbers, the definitions file, loading a game.
#pragma once

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "catalog/game_list.h"
#include "catalog/rules.h"
#include "engine/table.h"

namespace cw::cli {

// A decimal number of 1..maxDigits digits, nothing else.
bool parseDigits(const std::string& text, int maxDigits, long long& value);
// A game number: 1 to 13 digits.
bool isGameNumber(const std::string& text);

// The definitions file named by "--defs FILE", else GAMES.DAT of the installation folder.
std::string definitionsPath(const std::vector<std::string>& args);

// The data folder named by "--data DIR", else the player's data folder as the game finds it (found
// without creating anything). Ends with "/".
std::string dataFolder(const std::vector<std::string>& args);

// The definitions file read and its game list built.
struct Catalog {
    std::string path;
    std::string text;
    catalog::GameList list;
    // The player's custom games (read by readCustomGames).
    std::vector<catalog::CustomGame> customs;
};

// Reads the custom games file of the data folder into the catalog; records that cannot be played
// are named on err ("cardwise-cli CMD: ...").
void readCustomGames(const std::string& command, const std::vector<std::string>& args, Catalog& catalog,
                     std::ostream& err);

// Reads the definitions file of the arguments; on failure writes "cardwise-cli CMD: why" and sets status.
std::optional<Catalog> readCatalog(const std::string& command, const std::vector<std::string>& args,
                                   std::ostream& err, int& status);

// A game chosen by "--game ID" with its rules loaded from the catalog.
struct LoadedGame {
    Catalog catalog;
    int id = -1;
    catalog::Rules rules;
};

// Reads "--game ID" and loads its rules; an unknown game gives status 2, an unreadable file status 1.
// A custom game (8000 and up) is read from the data folder (see dataFolder).
std::optional<LoadedGame> loadGame(const std::string& command, const std::vector<std::string>& args,
                                   std::ostream& err, int& status);

// Prints the table as the 71 snapshot lines of a saved game (empty piles as empty lines).
void printTable(std::ostream& out, const engine::Table& table);

} // namespace cw::cli
