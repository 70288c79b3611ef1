// Reader of the custom games file GAM_CUST.DAT: the records the game lookups and the rules loader need.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace cw::catalog {

inline constexpr std::string_view kCustomGamesFileName = "GAM_CUST.DAT";
inline constexpr int kFirstCustomId = 8000;
inline constexpr int kLastCustomId = 9999;
inline constexpr int kCustomRecordLines = 30;
inline constexpr int kCustomRuleStringLength = 17;

// One record of the custom games file.
struct CustomGame {
    int id = 0;              // 8000..9999
    std::string name;        // trailing blanks removed
    int baseId = -1;         // built-in base game; -1 when the field is not a number
    std::string ruleString;  // the 17-character custom rule string (may be shorter in a damaged file)
    int record = 0;          // 0-based record index in the file
};

// The records of the file's text in file order. Line 0 is the header (not checked);
// record k starts at line 1 + 30k. Records whose id field is not a custom id (8000..9999)
// are left out, so that a damaged record never shadows a built-in game.
std::vector<CustomGame> ReadCustomGames(std::string_view text);

// Finds GAM_CUST.DAT in the data folder (the name is matched without regard to case) and
// reads it; no file or an unreadable file means no custom games.
std::vector<CustomGame> ReadCustomGamesFile(const std::filesystem::path& dataFolder);

// The path of a file in `folder` whose name equals `name` without regard to case; the
// path with `name` as given when there is none.
std::filesystem::path FindFileNoCase(const std::filesystem::path& folder, std::string_view name);

// Base game id (-1 when not found) and custom rule string (empty when not found) of a
// custom game; the first record with the id counts.
struct CustomGameRecordInfo {
    int baseId = -1;
    std::string ruleString;
};
CustomGameRecordInfo CustomGameRecord(const std::vector<CustomGame>& games, int id);

// The name of custom game `id` (empty when unknown).
std::string CustomGameName(const std::vector<CustomGame>& games, int id);

// The id of the custom game with this name, compared without regard to case and trailing
// blanks; the last matching record wins; -1 when none.
int CustomGameIdByName(const std::vector<CustomGame>& games, std::string_view name);

} // namespace cw::catalog
