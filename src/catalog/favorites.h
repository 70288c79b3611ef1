// The player's favorite games: the "Favorite Games" list of the settings file, its tree, and the old-list conversion.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace cw::storage {
class IniFile;
}

namespace cw::catalog {

inline constexpr std::string_view kFavoritesSection = "Favorite Games";
inline constexpr std::string_view kOldFavoritesSection = "Favourite Games";
inline constexpr int kNewFolderId = -10;   // a folder made in the organizer
inline constexpr int kReadFolderId = -11;  // a folder read back from the file
inline constexpr std::size_t kFavoriteNameLength = 50;

// One stored entry ("01"/"02" + id + name).
struct Favorite {
    bool inFolder = false;  // "02": belongs to the nearest preceding top-level entry
    int id = -1;            // negative: a folder
    std::string name;
    bool isFolder() const { return id < 0; }
    friend bool operator==(const Favorite&, const Favorite&) = default;
};

// A node of the favorites tree. A "02" entry hangs under the nearest preceding top-level entry,
// even when that entry is a game, so a game node may have children too.
struct FavoriteNode {
    int id = -1;
    std::string name;
    std::vector<FavoriteNode> children;
    bool isFolder() const { return id < 0; }
    friend bool operator==(const FavoriteNode&, const FavoriteNode&) = default;
};

// "Game" + index as four digits.
std::string FavoriteKey(int index);
// The stored value: level, id as four characters ("-010"), then the name.
std::string FormatFavorite(const Favorite& f);
// Parses a stored value; false when the level or the id cannot be read.
bool ParseFavorite(std::string_view value, Favorite& out);

// ReadFavorites: the entries in key order from Game0000 up to the first missing or empty key.
// Unreadable values end the list as a missing key would.
std::vector<Favorite> ReadFavorites(const storage::IniFile& ini);

// The tree of a list of entries (folders read back get kReadFolderId). A leading "02" entry,
// with no top-level entry before it, is kept at top level.
std::vector<FavoriteNode> BuildFavoritesTree(const std::vector<Favorite>& entries);
// The entries of a tree in display order: level "02" for every node with a parent.
std::vector<Favorite> FlattenFavoritesTree(const std::vector<FavoriteNode>& tree);

// SaveFavoritesTree: erases the section and writes the tree's entries as Game0000, Game0001, ...
void SaveFavoritesTree(storage::IniFile& ini, const std::vector<FavoriteNode>& tree);

// ConvertOldFavorites: when the old section holds "Game000", each old entry (names under
// Game000, Game001, ... up to the first missing key) becomes "01" + its id (idByName; -1 when
// the name is no game) + the name blank-padded to 50 under the same index, and the old section
// is erased. Returns true when a conversion took place.
bool ConvertOldFavorites(storage::IniFile& ini, const std::function<int(std::string_view)>& idByName);

// Removes every entry of game `id` from the stored list and closes the gap (later entries move up
// one key each); true when an entry was removed (a deleted custom game).
bool RemoveFavoriteGame(storage::IniFile& ini, int id);
// The game ids (id >= 0) of the entries in key order.
std::vector<int> FavoriteGameIds(const std::vector<Favorite>& entries);

// Inserts a game into the folder `folder` of the tree (an index into the top level; -1 for the
// top level): before the first entry of that folder whose name sorts after it (without regard to
// case); at top level only games are compared, so folders stay above. Returns the new node's
// position within its folder.
int InsertFavoriteGame(std::vector<FavoriteNode>& tree, int folder, int id, const std::string& name);
// Inserts a folder before the first top-level game, so folders stay above games. Returns its index.
int InsertFavoriteFolder(std::vector<FavoriteNode>& tree, const std::string& name, int id = kNewFolderId);

} // namespace cw::catalog
