// The values and texts the statistics dialogs show, as plain data: "Game information", the clearing
// dialogs' confirmations and the "Clear Log statistics" limits.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "stats/hi_scores.h"
#include "stats/stat_context.h"

namespace cw::stats {

// One group of the "Game information" dialog.
struct GameInformationGroup {
    std::int64_t won = 0, lost = 0, total = 0;
    std::string wonPercent, lostPercent;  // "(67%)" and "(33%)"; empty when the total is 0
    std::string bestScore;                // empty when there is no entry or its score is 0
    std::string bestTime;                 // "h:mm:ss"
    std::string bestDate;                 // "yyyymmdd" (shown in the short date format)
    std::string bestPlayer;               // the global group only: the player of the table's first entry
};

struct GameInformation {
    std::string caption;  // the current game's name
    std::string player;
    GameInformationGroup current;  // "Current player:"
    GameInformationGroup global;   // "Global ": summed over all players
    std::string chance;            // "about X in Y"; empty when either is 0
};

inline constexpr const char* kStatisticsDisabledMessage =
    "The Statistics are disabled. To enable the Statistics, change the value in the \"Customize\" dialog box.";

// The "Game information" values. players: the player list; chanceX/Y: rule parameters 501 and 502;
// undecided: parameter 489, the deals of that sample the solver left open (named when above 5 %).
GameInformation gameInformation(const StatsContext& ctx, int gameId, const std::string& gameName,
                                const std::string& player, const std::vector<std::string>& players,
                                std::string_view scoringCode, const DefaultScores& defaults, int chanceX,
                                int chanceY, int undecided = 0);

// "(" + p + "%)" with p = won x 100 / total rounded half up; empty when total is 0.
std::string roundedPercentText(std::int64_t part, std::int64_t total);

// The confirmation of the "Clear statistics" dialog (hiScores: its "Clear Hi-Scores" form).
std::string clearStatisticsQuestion(const std::string& playerEntry, const std::string& gameEntry, bool hiScores);

// "Clear Log statistics": the number first offered, and whether OK is enabled for an entered number.
std::int64_t initialRecordsToKeep(std::int64_t recordCount);
bool canTrimLog(std::int64_t keep, std::int64_t recordCount);

}  // namespace cw::stats
