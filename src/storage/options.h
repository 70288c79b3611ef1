// The values the options dialogs edit: a copy of the "Preference" keys, read, checked and written back with their mirrors.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "storage/ini_file.h"
#include "storage/preferences.h"
#include "storage/settings_store.h"

namespace cw::storage {

// Key comparison without regard to case, as the settings file matches its keys.
struct NoCaseLess {
    bool operator()(const std::string& a, const std::string& b) const;
};

// One preference the options dialogs own, with the default that applies when the file has none.
struct OptionSpec {
    const char* key;
    const char* def;
};

// Every "Preference" key that "Customize" and "Advanced options" show or write. The keys that
// have a column in the settings store take that column's default (preferenceRows()).
const std::vector<OptionSpec>& optionSpecs();

// A working copy of the preferences: every dialog changes this copy only; nothing reaches the
// settings file or the settings store before writeOptions.
class Options {
public:
    std::string get(const std::string& key) const;
    void set(const std::string& key, std::string value);
    bool yes(const std::string& key) const { return get(key) != "N"; } // checked unless "N"
    bool isY(const std::string& key) const { return get(key) == "Y"; } // checked only when "Y"
    void setYesNo(const std::string& key, bool on) { set(key, on ? "Y" : "N"); }
    int integer(const std::string& key, int def) const;

    const std::map<std::string, std::string, NoCaseLess>& values() const { return m_values; }
    friend bool operator==(const Options&, const Options&) = default;

private:
    std::map<std::string, std::string, NoCaseLess> m_values;
};

// Reads the copy: a key with a column of its own comes from the settings store (the values in force
// for this run, zero-padded numbers as plain decimals), every other key from the settings file with its
// default. The "Customized_..." and "Additional_..." keys hold names and always come from the file.
Options readOptions(const IniFile& settings, const SettingsStore& store);

// Writes every key of `values` into section "Preference" with one rewrite of the file, and updates each
// key's mirror column. The store is updated even when the file cannot be written (FileError is thrown
// after the mirrors are set).
void writeOptions(IniFile& settings, SettingsStore& store, const Options& values);

// Sets the settings store column of one "Preference" key as writeOptions does (nothing for a key without one).
void setMirror(SettingsStore& store, const std::string& key, const std::string& value);

// The values the game object keeps for the run (statistics off, drag and drop, autoplay mode, mark).
void applyGamePreferences(GamePreferences& prefs, const Options& values);

// ---- Values as the controls show them (a stored value out of range gives the default) ----

// "Speed_Move_Card": track bar positions 1 (slow) to 5 (fast) store 50, 25, 10, 3, 0.
int speedPosition(const std::string& stored); // 50->1 ... 0->5; anything else the default's position 3
std::string speedForPosition(int position);   // positions outside 1..5 are clamped

// "Card_Size": one of X, S, B, M, L (any case); anything else "B".
char cardSizeLetter(const std::string& stored);

// "Winning_Animations": the names in list order; an unknown name gives "(Random)".
const std::vector<std::string>& winningAnimationNames();
std::string winningAnimationName(const std::string& stored);
// "Winning_Animations_Time": a number of seconds 0..990 (step 10); a text that is not a number gives 30,
// a number out of range the nearest bound. "0" shows as "10" in the dialog (the caller's concern).
int winningAnimationSeconds(const std::string& stored);

// "Undo_Enabled": 2 "Disable", 1 "Only one undo/redo", anything else 0 "Unlimited levels".
int undoChoice(const std::string& stored);

// "Cursor": the list position 0..5 of "Arrow small", "Arrow large", "Right-hand 1", "Right-hand 2",
// "Left-hand 1", "Left-hand 2" (stored 10..15; a stored 0 selects "Arrow large"; anything else the standard
// arrow); and the stored value of a position (-1, nothing selected, stores 0).
int cursorChoice(const std::string& stored);
int cursorValue(int choice);

// An integer preference limited to [low, high]; the default outside it or when not a number.
int boundedInteger(const std::string& stored, int low, int high, int def);

// ---- The per-game autoplay memory of section "Autoplay" ----

// Rebuilds the "Games" text: 337 "Y", then each listed built-in game's choice at character id + 1 (the
// text lengthened with "Y" to id + 10 characters first when it is too short).
std::string autoplayGamesText(const std::vector<std::pair<int, bool>>& builtInChoices);

} // namespace cw::storage
