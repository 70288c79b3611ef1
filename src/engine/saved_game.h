// The saved game file: one text format for saved games, bookmarks, the held game and sample games.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "catalog/rules.h"
#include "engine/game_state.h"
#include "engine/history.h"
#include "engine/table.h"

namespace cw::storage {
class SettingsStore;
}

namespace cw::engine {

// The format version every file is written with; older versions are brought up to it on reading.
inline constexpr std::string_view kSavedGameVersion = "0920";
inline constexpr const char* kHeldGameFileName = "Stat_e01.dat";
inline constexpr const char* kBookmarkPrefix = "~so";
inline constexpr const char* kSavedGameExtension = ".gam";
inline constexpr const char* kSavedGameFilter = "Cardwise Game (*.gam)|*.gam";
// A file with fewer lines than this cannot be a saved game.
inline constexpr int kSavedGameMinLines = 50;

// Section headers of the undo history, in file order.
inline constexpr const char* kUndoStockHeader = "[UNDO - Stock]";
inline constexpr const char* kUndoFoundationsHeader = "[UNDO - Foundations]";
inline constexpr const char* kUndoPilesHeader = "[UNDO - Piles]";
inline constexpr const char* kUndoReservesHeader = "[UNDO - Reserves]";
inline constexpr const char* kUndoLogHeader = "[UNDO - Log]";

// How the table looked when the game was saved (line 1, characters 13-75). Written from the
// settings store; the reader keeps what it finds but nothing uses it.
struct SavedAppearance {
    std::string backgroundName;     // 30 characters (settings column 43)
    long long backgroundColour = 0; // column 28, 15 characters
    std::string backgroundDef;      // column 27, one character
    std::string cardSize;           // column 128, one letter
    std::string cardSet;            // column 24, three characters
    int cardBack = 0;               // column 21

    friend bool operator==(const SavedAppearance&, const SavedAppearance&) = default;
};

// Everything a saved game file holds.
struct SavedGame {
    std::string version{kSavedGameVersion}; // as read; writing always uses the current version
    int gameId = 0;
    SavedAppearance appearance;
    int elapsedSeconds = 0;
    std::string scoringCode = "01";
    int score = 0;
    int dealNumber = 1;
    int gameCounter1 = 0;
    int gameCounter2 = 0;
    std::string player;
    std::string gameNumber;
    std::array<int, kFoundationPiles> foundationBases{}; // rule parameters 55..70
    Table table;
    HistoryList undo; // the undo history; the redo history is never saved

    friend bool operator==(const SavedGame&, const SavedGame&) = default;
};

// ---- Writing ----

// The whole file text: header, player line, ten empty lines, the 71 piles, the undo sections
// and the undo log, every line ended by CR LF. So that a file written is always a file that can
// be read: numbers too wide for their field are clamped to the widest value that fits, control
// characters in texts become blanks and a scoring code that is not a number is written "01".
std::string encodeSavedGame(const SavedGame& game);
// Writes the file whole (temporary file and rename). Throws storage::FileError.
void writeSavedGame(const std::string& path, const SavedGame& game);

// The saved game of the current deal: state (table, numbers, counters), the rules' foundation
// bases, the undo history and the appearance, player and scoring code from the settings store.
SavedGame captureGame(const GameState& state, const catalog::Rules& rules, const HistoryList& undo,
                      const storage::SettingsStore& settings, int elapsedSeconds);
SavedAppearance appearanceFromSettings(const storage::SettingsStore& settings);

// ---- Reading ----

enum class SavedGameError {
    None,
    NotFound, // "File not found: " + path
    TooShort, // fewer than 50 lines: "Error in reading the file: " + path
    Damaged,  // any other fault: the same message
};

struct SavedGameRead {
    SavedGameError error = SavedGameError::None;
    std::string message; // the text to show the player; empty when ok
    std::string detail;  // what exactly is wrong (line and field), for diagnostics
    SavedGame game;

    bool ok() const { return error == SavedGameError::None; }
};

// Reads a file's text. Untrusted input: any fault gives an error, never a partial game.
SavedGameRead parseSavedGame(std::string_view text, const std::string& path);
SavedGameRead readSavedGame(const std::string& path);

// Version adjustment of the lines for a file older than the current version: inserts the
// empty lines the older layouts lack. False when the file is too short for an insertion.
bool adjustSavedGameLines(std::vector<std::string>& lines, std::string_view version);

// The undo lists as read from a file, before they become snapshots.
struct UndoTexts {
    std::vector<std::string> stock, foundations, tableau, reserves;
    std::string log;
};
// Version adjustment of the undo lists: the empty entries of the piles older layouts lack.
void adjustUndoLists(UndoTexts& undo, std::string_view version);

// ---- Continuing an opened game ----

// The rules as the game continues: the foundations' base ranks from the file and every tableau
// empty-pile value 91 replaced as the deal replaces it. Call on freshly loaded rules.
void restoreRules(const SavedGame& game, catalog::Rules& rules);

// Whether the saved table is one the game's family can play on, under the game's loaded rules
// (before anything of the running game is given up).
bool savedTableFits(const SavedGame& game, const catalog::Rules& loaded);

enum class RestoreMode {
    Open,     // a saved, held or sample game: everything, the redo history emptied
    Bookmark, // go to bookmark: score, deal number, piles and undo history; redo left as it was
};

// Puts the game onto the state and history; the caller has reset the state's other per-deal
// values as a new deal does. The move counter is recounted from the "002"
// events of the log (and the state's event tallies from the whole log), so that later undos
// and the stock rules agree with the restored log; families 66, 71 and 73 get their draw-used
// flag from a "004" event. The caller stores scoring code and score in the settings store,
// restores the clock and recomputes the score.
void restoreGame(const SavedGame& game, const catalog::Rules& rules, RestoreMode mode, GameState& state,
                 History& history);

// The settings store's current-game values from an opened game: scoring system code (120),
// score (122), player (77) and game number (153).
void storeOpenedValues(const SavedGame& game, storage::SettingsStore& settings);

// ---- Files ----

// "Stat_e01.dat" in the data folder (matched without regard to case when it exists).
std::string heldGamePath(const std::string& dataFolder);
// "Demos/G" + four-digit game id + ".GAM" in the installation folder.
std::string sampleGamePath(const std::string& installFolder, int gameId);
// The save dialog's proposal: the game name + ".gam", with characters that cannot be part of a
// file name ("/" and control characters) replaced by "_".
std::string defaultSaveName(std::string_view gameName);
// Reads the held game and deletes the file once it has been read successfully; a damaged one is moved
// aside as "Stat_e01.dat.bad" (replacing an older one), so that it is reported once.
SavedGameRead takeHeldGame(const std::string& dataFolder);

// The system temporary folder ($TMPDIR, else /tmp), ending with "/".
std::string bookmarkFolder();
// Insert bookmark: writes the game to a new unique "~so" file in folder and returns its path
// (the caller stores it in settings column 701). The previous bookmark, when given, is deleted
// after the new one is written. Throws storage::FileError.
std::string writeBookmark(const SavedGame& game, const std::string& previousPath,
                          const std::string& folder = bookmarkFolder());
// Deletes a bookmark file; only names starting with "~so" are touched. True when none is left.
bool deleteBookmark(const std::string& path);

} // namespace cw::engine
