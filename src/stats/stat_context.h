// What every statistics operation shares: the data folder, file names, the session settings and how to tell the player.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "storage/settings_store.h"

namespace cw::storage {
class IniFile;
}

namespace cw::stats {

struct FileChange;

// The statistics files of the data folder; names are matched without regard to case.
inline constexpr const char* kStatFile = "Stat.dat";
inline constexpr const char* kLogFile = "Stat_log.dat";
inline constexpr const char* kHiScoreFile = "Stat_scr.dat";
inline constexpr const char* kSeriesScoreFile = "Series_scr.dat";
inline constexpr const char* kOverallFile = "STAT_GLO.DAT";
inline constexpr const char* kSingleGameFile = "Stat_uni.dat";

// Stamp of the program version written into log lines and the tamper-evident files.
inline constexpr const char* kVersionStamp = "4706";
// Version of the keyed statistics files' layout.
inline constexpr const char* kFileVersion = "0300";

// Catalog games take part in the overall score and single-game values; custom games start here.
inline constexpr int kFirstCustomGameId = 8000;

// The information boxes of the statistics code (implemented by the window; tests collect the texts).
class Notices {
public:
    virtual ~Notices() = default;
    virtual void information(const std::string& text) = 0;
};

// A calendar date and time of day, as taken once at the end of a game.
struct DateTime {
    int year = 2000, month = 1, day = 1;
    int hour = 0, minute = 0, second = 0;

    static DateTime now();  // local time
    std::string dateText() const;                    // "yyyymmdd"
    std::string timeText(char separator) const;      // "hh" sep "nn" sep "ss"
};

// Told of each change of a statistics file before it is made (the journal of a game end).
class ChangeRecorder {
public:
    virtual ~ChangeRecorder() = default;
    virtual void beforeChange(const FileChange& change) = 0;
};

// Shared by every operation: where the files are, the run's settings and the player-facing channels.
struct StatsContext {
    std::string dataFolder;                       // ends with "/"
    storage::SettingsStore* settings = nullptr;   // session counters and the current game and player
    bool statisticsDisabled = false;              // "Preference"/"Disable_Statistics" = "Y"
    Notices* notices = nullptr;                   // nullptr: messages are dropped
    char timeSeparator = ':';                     // the locale's time separator
    // Draws a digit 0..maxDigit for the tamper-evident files; empty: a process-wide random engine.
    std::function<int(int maxDigit)> randomDigit;
    // The settings file, whose player list a rename of a player changes too (nullptr: not changed).
    storage::IniFile* settingsFile = nullptr;
    // Set while a game end is recorded: every change is written down before it is made.
    ChangeRecorder* changes = nullptr;

    // Full path of a file of the data folder (the exact spelling; readers resolve the case).
    std::string path(std::string_view name) const { return dataFolder + std::string(name); }
    // Shows an information box (when a channel is set).
    void inform(const std::string& text) const;
    int digit(int maxDigit) const;
    // The current player and game id from the settings ("" and -1 without settings).
    std::string currentPlayer() const;
    int currentGameId() const;
};

// Four-digit section name of a game id ("0001").
std::string gameSection(int gameId);

}  // namespace cw::stats
