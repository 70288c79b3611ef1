// Start-up loading of the preferences from the settings file into the settings store.
#pragma once

#include <string>
#include <vector>

#include "storage/ini_file.h"
#include "storage/settings_store.h"

namespace cw::storage {

// Preferences that the game object keeps for the whole run instead of the settings store.
struct GamePreferences {
    int fastSearchType = 0;             // "Settings"/"Games_Fast_Search_Type": the FastSearch list
    int randomGameType = 2;             // "Settings"/"Random_Game_Type": the source of random games
    int autoPlayAllGames = 1;           // "Preference"/"AutoPlay_All_Games": autoplay mode
    int highlightFoundationsMark = 0;   // "Preference"/"HighLights_Foundations_Mark"
    bool disableStatistics = false;     // "Preference"/"Disable_Statistics" = "Y"
    bool moveCardsDragAndDrop = true;   // "Preference"/"Move_Cards_DragAndDrop" = "Y"; else point and click
};

// How a preference of section "Preference" is read into its settings store field.
enum class PrefKind {
    Text,         // string with a default
    Integer,      // integer with a default, written as decimal text
    ZeroPadded,   // integer with a default, written through the fixed-width number text
    Customized,   // "Y" when the key holds any text, else "N"
};

// One row of the settings store map that is filled from the settings file.
struct PreferenceRow {
    Field field;
    const char* key;
    PrefKind kind;
    const char* def;  // default as text (integers in decimal); unused for Customized
};

// The rows of the settings store map that have a key in section "Preference", in reading order.
const std::vector<PreferenceRow>& preferenceRows();

inline constexpr const char* kPreferenceSection = "Preference";
inline constexpr const char* kSettingsSection = "Settings";
inline constexpr const char* kUsersSection = "Users";

// OpenSettingsFile: the INI file data folder + the settings file name held at column 1.
IniFile openSettingsFile(const SettingsStore& store, const std::string& dataFolder);

// LoadPreferences: fills the store from the settings file (defaults and special rules applied), writes the
// default player when none is set, resets the session fields, and returns the game-object preferences.
// lowColourDisplay selects card set 3 as the default (never the case on current displays).
GamePreferences loadPreferences(SettingsStore& store, IniFile& settings, bool lowColourDisplay = false);

}  // namespace cw::storage
