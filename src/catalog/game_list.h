// The list of built-in games read from the definitions file, and the lookups from game id to name, type and column.
#pragma once

#include "catalog/custom_games.h"
#include "catalog/result.h"

#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace cw::catalog {

inline constexpr int kCustomGameType = 800;
inline constexpr int kNoGame = -1;

// One listed [Sect1] row (its hidden mark is not "9"). Its index in the list is its
// column in the parameter matrix, so rows that cannot be read still hold their place.
struct GameEntry {
    std::string row;          // the row with the shift undone
    int sourceRow = 0;        // 1-based row number within [Sect1], for messages
    int type = -1;
    int id = -1;
    bool largeScreen = false; // column 9 is "1"
    bool newGame = false;     // column 10 is "1"
    std::string name;         // columns 11-60, trailing blanks removed
    bool usable = false;      // false: unreadable row or repeated id; no lookup finds it
};

class GameList {
public:
    const std::vector<GameEntry>& entries() const { return entries_; }
    int size() const { return static_cast<int>(entries_.size()); }
    bool empty() const { return entries_.empty(); }

    // The column of a built-in id (0..7999): row n first when it holds id n, then a
    // search from the first row; -1 when none.
    int columnOf(int id) const;
    // The entry of a built-in id, or nullptr.
    const GameEntry* find(int id) const;

    void append(GameEntry entry) { entries_.push_back(std::move(entry)); }

private:
    std::vector<GameEntry> entries_;
};

struct GameListBuild {
    GameList list;
    // One message per row that was skipped (too short, unreadable, repeated id).
    std::vector<std::string> warnings;
};

// Builds the game list from the [Sect1] section of the definitions text. Hidden rows
// ("9" in column 8) are skipped and take no column. A repeated id keeps the first row.
GameListBuild BuildGameList(std::string_view defsText, std::string_view fileName = "GAMES.DAT");
// Reads the definitions file; an error when it cannot be read.
Result<GameListBuild> BuildGameListFromFile(const std::filesystem::path& defsPath);

// ---- Lookups (never an error: unknown ids and names give -1 or the empty text) ----

// Matrix column of a built-in game; -1 for ids of 8000 and up or not listed.
int GameColumn(const GameList& list, int id);
// Type of a listed game; 800 for any id of 8000 and up; -1 otherwise.
int GameType(const GameList& list, int id);
// Name of a listed built-in game or of a custom game; empty when unknown.
std::string GameName(const GameList& list, const std::vector<CustomGame>& customGames, int id);
// Id of the game with this name (case and trailing blanks ignored; leading blanks count):
// built-in games first, then custom games; -1 when none.
int GameIdByName(const GameList& list, const std::vector<CustomGame>& customGames, std::string_view name);
// Names of every built-in and custom game, sorted without regard to case.
std::vector<std::string> AllGameNames(const GameList& list, const std::vector<CustomGame>& customGames);
// Marks of a listed built-in game (false when unknown).
bool IsLargeScreenGame(const GameList& list, int id);
bool IsNewGame(const GameList& list, int id);

// ---- Game types ----

struct GameTypeInfo {
    int type;
    std::string_view caption;  // folder caption in the chooser
    std::string_view icon;     // icon resource name
};
std::span<const GameTypeInfo> AllGameTypes();
std::string_view GameTypeCaption(int type);  // empty for an unknown type
std::string_view GameTypeIcon(int type);     // empty for an unknown type

// ---- Screen size, start-up, product name ----

inline constexpr int kMinScreenWidthForLargeGames = 650;

struct ScreenCheck {
    bool allowed = true;
    std::string message;  // the information text to show when not allowed
};
// Whether game `id` may be played on a screen `screenWidth` pixels wide; a custom game
// is judged by its base game's mark and named by its own name.
ScreenCheck CanPlayOnThisScreen(const GameList& list, const std::vector<CustomGame>& customGames,
                                int screenWidth, int id);

// The current game id after start-up: a stored id of 0 or more that names no game becomes -1.
int StartupGameId(const GameList& list, const std::vector<CustomGame>& customGames, int storedId);

inline constexpr std::string_view kProductTitle = "Cardwise 2002";
// Replaces the first "[Program]", then the first "[Program_sw]", by the product title.
std::string ExpandProductTemplates(std::string_view text);

} // namespace cw::catalog
