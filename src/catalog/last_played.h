// The last played games ("Last Played Games") and the twenty-key history lists they share with the game numbers.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace cw::storage {
class IniFile;
}

namespace cw::catalog {

inline constexpr std::string_view kLastPlayedSection = "Last Played Games";
inline constexpr int kHistoryLength = 20;

// "Game0" + two digits: Game001 .. Game020 (index 0 .. 19).
std::string HistoryKey(int index);
// The twenty values of a history section (blanks removed; "" for a missing key).
std::vector<std::string> ReadHistory(const storage::IniFile& ini, std::string_view section);
// Writes the first twenty values (missing ones as "") to Game001 .. Game020.
void WriteHistory(storage::IniFile& ini, std::string_view section, const std::vector<std::string>& values);

// The list after adding `entry`: unchanged when already present (the first play among the last
// twenty keeps its place), else the entry first and the twenty-first dropped.
std::vector<std::string> WithLastPlayedAdded(std::vector<std::string> list, std::string_view entry);
// The list after removing the first occurrence of `entry` (an empty entry appended).
std::vector<std::string> WithLastPlayedRemoved(std::vector<std::string> list, std::string_view entry);

// AddLastPlayedGame: records a game at the start of a new deal; true when the list changed.
bool AddLastPlayedGame(storage::IniFile& ini, int id);
// RemoveLastPlayedGame: forgets a deleted custom game; true when it was in the list.
bool RemoveLastPlayedGame(storage::IniFile& ini, int id);
// The ids of the list in key order (empty and unreadable entries left out).
std::vector<int> ReadLastPlayedGames(const storage::IniFile& ini);

} // namespace cw::catalog
