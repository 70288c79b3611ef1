// The custom games file GAM_CUST.DAT: its records read and checked, written back whole, and the lookups by id and name.
#pragma once

#include "catalog/result.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace cw::catalog {

class GameList;

inline constexpr std::string_view kCustomGamesFileName = "GAM_CUST.DAT";
inline constexpr std::string_view kCustomGamesHeader = "[R-0301]";
inline constexpr int kFirstCustomId = 8000;
inline constexpr int kLastCustomId = 9999;
inline constexpr int kCustomRecordLines = 30;
inline constexpr int kCustomRuleStringLength = 17;
inline constexpr int kCustomNameLength = 50;

// One usable record of the custom games file.
struct CustomGame {
    int id = 0;             // 8000..9999
    std::string name;       // trailing blanks removed
    int baseId = -1;        // the built-in base game
    std::string ruleString; // the 17-character custom rule string
    int record = 0;         // 0-based record index in the file
    // The solver's measured chance of these rules (rule parameters 501 and 502); 0 and 0 when
    // none was measured. Kept in the settings file, not in the record (see custom_rules.h).
    int chanceWon = 0;
    int chanceSample = 0;
};

// The file as it stands: the header line and the lines of every record, usable or not. A save
// changes only the record it adds or removes and writes every other one back as it was read, so
// a record this program cannot use stays in the file for the player to mend.
struct CustomGamesFile {
    std::string header{kCustomGamesHeader};
    std::vector<std::vector<std::string>> records; // 30 lines each (fewer when the file was cut short)
};

// Splits a file's text (CR LF or LF) into its header and records of 30 lines. Records made only
// of empty lines (blank lines at the end of a hand-edited file) are dropped.
CustomGamesFile ParseCustomGamesFile(std::string_view text);
// The text of the file: the header, then each record padded to 30 lines; CR LF line ends.
std::string FormatCustomGamesFile(const CustomGamesFile& file);

// The records a game can be played from, and the others. A record is usable when its id is a
// number from 8000 to 9999 that no earlier usable record has, its name is not empty and holds
// no control characters, its base game is a number (listed in `list`, when given) and its rule
// string has 17 characters, each field empty, "***" or a value the Rules Wizard writes.
struct CustomGamesRead {
    std::vector<CustomGame> games;    // in file order
    std::vector<std::string> skipped; // one line per record left out: "record 2 (line 31): why"
};
CustomGamesRead ReadCustomGames(const CustomGamesFile& file, const GameList* list = nullptr);
CustomGamesRead ReadCustomGames(std::string_view text, const GameList* list = nullptr);

// The custom games file of a data folder (the name matched without regard to case).
std::filesystem::path CustomGamesFilePath(const std::filesystem::path& dataFolder);
// Reads the data folder's file; no file, or a file that cannot be read, gives no games (the
// reason then is the only line of `skipped`, except for a missing file, which is no fault).
CustomGamesRead ReadCustomGamesFile(const std::filesystem::path& dataFolder, const GameList* list = nullptr);
// The one message shown for the records left out: the file and a line per record.
std::string SkippedCustomGamesMessage(const std::filesystem::path& file, const std::vector<std::string>& skipped);

// NextCustomGameId: the smallest id from 8000 up that no record uses (records that cannot be
// played count too, so that mending one never makes two games of one id); nullopt when every id
// up to 9999 is taken.
std::optional<int> NextCustomGameId(const CustomGamesFile& file);

// A new game for the file: the name (checked by the caller, at most 50 characters), its built-in
// base game and its custom rule string.
struct NewCustomGame {
    std::string name;
    int baseId = -1;
    std::string ruleString;
};
// The two meaningful lines of a record; the other 28 are empty.
std::vector<std::string> CustomGameRecordLines(int id, const NewCustomGame& game);
// Saves a new game in the data folder's file (made with its header when missing) under
// NextCustomGameId, through the atomic replace. Returns the id. Fails, writing nothing, when no id
// is free or when a file exists that cannot be read (it would be lost otherwise).
Result<int> SaveNewCustomGame(const std::filesystem::path& dataFolder, const NewCustomGame& game);
// Removes the record of game `id` (the usable record with that id) through the atomic replace;
// false when there is none.
Result<bool> RemoveCustomGame(const std::filesystem::path& dataFolder, int id);

// The path of a file in `folder` whose name equals `name` without regard to case; the
// path with `name` as given when there is none.
std::filesystem::path FindFileNoCase(const std::filesystem::path& folder, std::string_view name);

// Base game id (-1 when not found) and custom rule string (empty when not found) of a
// custom game.
struct CustomGameRecordInfo {
    int baseId = -1;
    std::string ruleString;
};
CustomGameRecordInfo CustomGameRecord(const std::vector<CustomGame>& games, int id);
// The record of custom game `id`, or nullptr.
const CustomGame* FindCustomGame(const std::vector<CustomGame>& games, int id);

// The name of custom game `id` (empty when unknown).
std::string CustomGameName(const std::vector<CustomGame>& games, int id);

// The id of the custom game with this name, compared without regard to case and trailing
// blanks; the last matching record wins; -1 when none.
int CustomGameIdByName(const std::vector<CustomGame>& games, std::string_view name);

// ListCustomGames: the games sorted by name without regard to case.
std::vector<CustomGame> ListCustomGames(std::vector<CustomGame> games);

} // namespace cw::catalog
