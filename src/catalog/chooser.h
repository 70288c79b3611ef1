// The game chooser's model: its views and folders, the description of a game, and the preview lines.
#pragma once

#include "catalog/custom_games.h"
#include "catalog/result.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace cw::catalog {

class GameList;

// The five views ("Game_TreeType").
enum class ChooserView : int { AllGames = 0, Groups = 1, Selected = 2, Favorites = 3, LastPlayed = 4 };
inline constexpr int kChooserViewCount = 5;

// Numbers of folders and placeholders (game entries carry their id).
inline constexpr int kFolderTopLevel = -1;          // also "Games by Features"
inline constexpr int kPlaceholderAddFavorite = -2;   // "(Double click to add a game)"
inline constexpr int kPlaceholderCustomize = -3;     // "(How to customize a game)"
inline constexpr int kFolderCustomGames = -2070;
inline constexpr int kFolderGameType = -2020;
inline constexpr int kFolderFeatures = -1;
inline constexpr int kFolderOtherGroups = -2090;
inline constexpr int kFolderNewGames = -2080;
inline constexpr int kFolderSpider = -202050;
inline constexpr int kDefaultTreeNum = -30;
inline constexpr int kFirstGroupsGame = 18;          // selected the first time the groups view is shown

// A folder of the game-groups view: its number, caption and sub-folders. Games are listed on
// demand by FolderGames, so that a folder is filled only when it is first opened.
struct ChooserFolder {
    int number = 0;
    std::string caption;
    std::vector<ChooserFolder> subfolders;
};

// What the chooser needs from the catalog, read once: the four feature classes of every listed
// game and the three game groups.
struct ChooserCatalog {
    const GameList* list = nullptr;
    std::vector<CustomGame> customGames;
    // Per listed game (list order): game time (497), difficulty (498), skill (499), chance (500).
    std::vector<std::array<int, 4>> features;
    std::vector<int> selected, original, children;  // [SectS], [SectO], [SectK]
};
Result<ChooserCatalog> LoadChooserCatalog(std::string_view defsText, const GameList& list,
                                          std::vector<CustomGame> customGames,
                                          std::string_view fileName = "GAMES.DAT");

// The folders of the game-groups view in display order; `versionText` ends the caption of
// the "New games" folder.
std::vector<ChooserFolder> GroupsViewFolders(std::string_view versionText);
// The games of a leaf folder, sorted by name (without regard to case); custom games for
// "Customized games". Empty for folders that hold only sub-folders.
std::vector<int> FolderGames(const ChooserCatalog& cat, int folderNumber);
// The folder (by number) that holds a game id in the groups view as its "home" folder when
// the saved folder is unknown: the game's type folder, "Customized games" for a custom game.
int HomeFolderOf(const ChooserCatalog& cat, int id);

// The games of a flat view, sorted by name: all built-in and custom games; the [SectS] games;
// the given last played ids that still have a name.
std::vector<int> AllGamesSorted(const ChooserCatalog& cat);
std::vector<int> SelectedGamesSorted(const ChooserCatalog& cat);
std::vector<int> LastPlayedSorted(const ChooserCatalog& cat, const std::vector<int>& lastPlayed);
// Ids sorted by game name without regard to case; ids without a name are dropped.
std::vector<int> SortedByName(const ChooserCatalog& cat, std::vector<int> ids);
std::string ChooserGameName(const ChooserCatalog& cat, int id);

// Whether `name` contains `typed` without regard to case (the chooser's search box).
bool NameMatches(std::string_view name, std::string_view typed);

// ---- Description panel ----
struct FeatureText {
    std::string text;     // e.g. "Quick", or "Customized game"
    std::string picture;  // e.g. "PROG_TIME_QUICK", or "PROG_DISABLED"
};
struct GameDescription {
    std::string name;
    FeatureText gameTime, difficulty, chance, skill;
    std::string decks;    // whole part of cards / 52
    std::string redeals;  // "Unlimited", or a count
    int previewId = -1;   // the game whose preview is drawn (a custom game's base game)
};
// The parameters of `id` (a custom game's base game) read from the definitions text.
Result<GameDescription> DescribeGame(std::string_view defsText, const ChooserCatalog& cat, int id,
                                     std::string_view fileName = "GAMES.DAT");
// " (X in Y  -  P%)" after the chance class; empty when y is 0. P is X / Y * 100 as "#0.#".
// DescribeGame adds " (Z undecided)" when the solver left more than one deal in twenty of the
// sample open (rule parameter 489), since the figure is then a lower bound.
std::string WinningSampleText(int x, int y);
// "Unlimited" for -1, n - 1 for other non-zero n, "0" for 0.
std::string RedealsText(int deals);

// ---- Games like this one ----
// A few rule values of every listed game that say how it plays (pack, piles, building, stock,
// the chooser's four features), read once from the definitions text.
struct RuleSketches {
    std::vector<int> ids;                 // listed, usable games in list order
    std::vector<int> types;               // their game types
    std::vector<std::vector<int>> values; // their rule values, one row per game
};
Result<RuleSketches> LoadRuleSketches(std::string_view defsText, const GameList& list,
                                      std::string_view fileName = "GAMES.DAT");
// The `count` games closest in rules to `id`: games of its own type first, then the nearest rule
// values; ties go by name. A custom game is shown its base game first, then the base game's
// relatives. Empty for a game the sketches do not hold.
std::vector<int> GamesLikeThis(const ChooserCatalog& cat, const RuleSketches& sketches, int id, std::size_t count = 3);

// ---- Preview lines of cwdp.dat ----
inline constexpr std::string_view kPreviewFileName = "cwdp.dat";
// The ten-digit key of the keyed character shift.
inline constexpr std::string_view kPreviewKey = "7305162849";
std::string EncodePreviewLine(std::string_view plain);
std::string DecodePreviewLine(std::string_view stored);
// Offsets of every drawn picture within the preview area.
inline constexpr int kPreviewOffsetX = 3;
inline constexpr int kPreviewOffsetY = 8;
// Preview picture numbers: 1-52 card faces; the rest are the chooser's own small pictures.
inline constexpr int kPreviewCardWidth = 25;
inline constexpr int kPreviewCardHeight = 32;
inline constexpr int kPreviewJoker = 53;
inline constexpr int kPreviewEmptyPile = 60;
inline constexpr int kPreviewFoundation = 61;
inline constexpr int kPreviewBack = 70;
struct PreviewPicture {
    int picture = 0;
    int x = 0, y = 0;  // as stored (the drawing adds the offsets)
};
// The groups of a deciphered line (characters from position 5 on, nine digits each); empty for a
// line of four characters or fewer. Unreadable groups end the list.
std::vector<PreviewPicture> ParsePreviewLine(std::string_view plain);
// The plain line of a list of pictures (four leading characters: the game id).
std::string FormatPreviewLine(int id, const std::vector<PreviewPicture>& pictures);

} // namespace cw::catalog
