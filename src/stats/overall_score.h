// The tamper-evident value files: the overall score STAT_GLO.DAT and the single-game values Stat_uni.dat.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "stats/game_catalog.h"
#include "stats/stat_context.h"

namespace cw::stats {

inline constexpr const char* kOverallResetMessage =
    "It appears as if the Overall Score Values are incorrect or corrupted.\r"
    "The Overall Score Values will be deleted and reset to zero.";
inline constexpr const char* kSingleGameResetMessage =
    "It appears as if the Internet Single Game Values are incorrect or corrupted.\r"
    "The Internet Single Game Values will be deleted and reset to zero.";

// True for the games that take part (catalog games 0..7999; custom games never do).
inline bool takesPartInOverall(int gameId) { return gameId >= 0 && gameId < kFirstCustomGameId; }

// UpdateOverallScore: keeps the player's best score of the game (and its time) and the totals over all
// games; remove takes the game's contribution out. A file that fails its checks is deleted with the
// message (ResetOverallScore). Returns false when nothing was written. Throws FileError on write errors.
bool updateOverallScore(const StatsContext& ctx, int gameId, const std::string& player, std::int64_t score,
                        std::int64_t seconds, bool remove);

// One player of the overall ranking.
struct OverallEntry {
    std::string player;
    std::int64_t totalScore = 0;
    std::int64_t totalTime = 0;
    std::string publishingCode;  // scrambled "T01" + "T02" + "T03" rebuilt from the recomputed totals
};

// A player whose stored totals differ from the sum of the game values (files of older versions).
struct TotalsDifference {
    std::string player;
    std::int64_t stored = 0;
    std::int64_t recomputed = 0;
};

struct OverallRanking {
    std::vector<OverallEntry> entries;        // score descending, then time ascending; totals of 0 left out
    std::vector<TotalsDifference> differences;  // for the "Overall Score " dialog
    bool reset = false;                       // the file failed its checks and was deleted
};

// ReadOverallRanking.
OverallRanking readOverallRanking(const StatsContext& ctx);

// One row of the overall score details.
struct OverallDetail {
    int gameId = 0;
    std::string name;
    std::int64_t score = 0;
    std::int64_t seconds = 0;
    std::int64_t maxScore = 0;  // rule parameter 52, or 4 x rule parameter 378 when 52 is -1
    bool maxReached = false;    // shown as "Yes"
};
struct OverallDetails {
    std::vector<OverallDetail> rows;  // every catalog game, sorted by name
    std::int64_t totalScore = 0, totalTime = 0;
    bool reset = false;
};
// ReadOverallDetails (caption "Overall score details [" + player + "]").
OverallDetails readOverallDetails(const StatsContext& ctx, const std::string& player, const GameCatalog& games);

// ResetOverallScore / ResetSingleGameValues: delete the file and show the message.
void resetOverallScore(const StatsContext& ctx);
void resetSingleGameValues(const StatsContext& ctx);

// UpdateSingleGameValues: adds a won or lost deal, or clears both values (clear = true). The caller
// passes only deals whose game number was drawn at random. Returns false when nothing was written.
bool updateSingleGameValues(const StatsContext& ctx, int gameId, const std::string& player, bool clear, bool won);

// Clears the single-game values of a player ("" for every player) for one game (-1 for every game) in
// one rewrite of the file.
void clearSingleGameValues(const StatsContext& ctx, const std::string& player, int gameId);

// Removes the section of `player` from STAT_GLO.DAT or Stat_uni.dat (file: kOverallFile or
// kSingleGameFile) when every value in it reads as 0, so that a player renamed to that name finds its
// own section first. Sections holding any value are kept. Returns whether a section was removed.
bool dropZeroSection(const StatsContext& ctx, const char* file, const std::string& player);

struct SingleGameValues {
    std::int64_t won = 0, lost = 0;
    std::string wonPlain, lostPlain;  // the unscrambled stored forms (16 characters; zeros when missing)
    bool reset = false;               // the file failed its checks and was deleted
};
// ReadSingleGameValues.
SingleGameValues readSingleGameValues(const StatsContext& ctx, int gameId, const std::string& player);
// The won count of every catalog game of a player that has values ("Game", "Tot. Won").
std::vector<std::pair<int, std::int64_t>> singleGameWonCounts(const StatsContext& ctx, const std::string& player);
// The code the player copies to the product web site for one game; "" when the values were reset.
std::string singleGamePublishingCode(const StatsContext& ctx, int gameId, const std::string& player);

}  // namespace cw::stats
