// Game numbers the player can replay: the "Game_Numbers" history, typed numbers, and deals from the game log.
#pragma once

#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace cw::storage {
class IniFile;
}

namespace cw::catalog {

inline constexpr std::string_view kGameNumbersSection = "Game_Numbers";
inline constexpr int kGameNumberDigits = 13;
inline constexpr std::size_t kPreviousGamesShown = 100;

// The history after starting `number`: every equal entry removed, the number first, twenty kept.
std::vector<std::string> WithGameNumberAdded(std::vector<std::string> list, std::string_view number);
// AddGameNumberToHistory: records the number of a new deal.
void AddGameNumberToHistory(storage::IniFile& ini, std::string_view number);
// The non-empty numbers of the history, most recent first.
std::vector<std::string> ReadGameNumberHistory(const storage::IniFile& ini);

enum class NumberCheck { Ok, Empty, NotDigits, Zero };
struct TypedNumber {
    NumberCheck check = NumberCheck::Empty;
    std::string number;  // 13 digits when check is Ok or Zero
};
// A number typed or picked by the player: surrounding blanks removed; digits only; padded on the
// left with "0" to 13 characters and cut to its rightmost 13.
TypedNumber NormalizeGameNumber(std::string_view typed);

// One line of the "Previous games" page.
struct PreviousGame {
    std::string date;        // "yyyymmdd" as stored
    std::string gameName;
    std::string player;
    bool won = false;
    std::string gameNumber;  // without surrounding blanks
};
// The newest `limit` records of the game log (lines oldest first), newest first.
std::vector<PreviousGame> PreviousGames(const std::vector<std::string>& logLines,
                                        std::size_t limit = kPreviousGamesShown);

// One deal of the "Lost games" page.
struct LostDeal {
    std::string gameNumber;
    std::string player;
    std::string date;  // "yyyymmdd"
    std::string time;  // "hh:nn:ss"
};
// The deals of game `gameName` that the log records and that were never won: every number with
// a won record is dropped; of the others one record each (the first in the order of number,
// player, date and time). Newest date and time first.
std::vector<LostDeal> LostDeals(const std::vector<std::string>& logLines, std::string_view gameName);

// The names of the games that `player` has won according to the game log (FastSearch's list of the
// games not yet won).
std::set<std::string> GamesWonBy(const std::vector<std::string>& logLines, std::string_view player);

// Whether "yyyymmdd" is a real calendar date.
bool IsValidLogDate(std::string_view date);

} // namespace cw::catalog
