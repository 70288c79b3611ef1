// Players: the names kept in the settings file, the name check, and the list the "Players" dialog edits.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "storage/ini_file.h"

namespace cw::storage {

inline constexpr int kMaxPlayers = 20;
// The current player's field in the settings store is 30 characters wide; a longer name could not be
// found again under its own name.
inline constexpr int kMaxPlayerNameLength = 30;

// Why a name cannot be taken.
enum class PlayerNameProblem {
    None,
    Empty,              // "Please enter at least 1 character."
    ForbiddenCharacter, // one of \ / : * ? " < > |, or a character that would break the data files
    TooLong,            // more than kMaxPlayerNameLength characters
    Duplicate,          // "This player name already exists."
    Reserved,           // "Version" or "Clear scores": sections of the statistics files, not players
};

// The texts of the name box for each problem ("" for None).
std::string playerNameMessage(PlayerNameProblem problem);

// Checks one name as typed (surrounding blanks are not part of a name and are ignored).
// Names become parts of file names ("Stat_prg_" + name + ".dat") and keys and section names of the
// statistics files, so besides \ / : * ? " < > | these are refused: control characters (NUL, CR,
// LF, tab...), "[" and "]" (section headers), "=" (key lines) and ".."; and the names of the files' own
// sections, "Version" and "Clear scores", in any case. The length counts characters (UTF-8), not bytes.
PlayerNameProblem checkPlayerName(std::string_view name);
// True when the name may be used in a file name and a statistics key.
inline bool isValidPlayerName(std::string_view name) { return checkPlayerName(name) == PlayerNameProblem::None; }
// The name as stored: surrounding blanks removed.
std::string normalizePlayerName(std::string_view name);

// The names of User001..User020 in key order, empty values skipped.
std::vector<std::string> readPlayerSlots(const IniFile& settings);
// ListPlayers: the same names sorted without regard to case.
std::vector<std::string> listPlayers(const IniFile& settings);
// Sorts names without regard to case (names equal without case keep their order).
void sortPlayerNames(std::vector<std::string>& names);
// Writes User001..User020 from the list in its order (at most 20; empty keys after its end).
void writePlayerSlots(IniFile& settings, const std::vector<std::string>& names);

// CheckPlayerNames: the index of the first invalid name, or -1 when all are valid.
int firstInvalidPlayerName(const std::vector<std::string>& names);
// The box text for an invalid stored name (what is wrong with it + CR + "Please rename the Player name:  "
// + the name).
std::string renamePlayerMessage(const std::string& name);

// Renames a player in the settings file's player list and as "Preference"/"UserDefault" (one write);
// a list without the old name is left as it is, so doing it twice changes nothing more.
void renamePlayerInSettings(IniFile& settings, const std::string& oldName, const std::string& newName);

// At the first start of this version ("Parameters"/"Players_Names_V01" not yet "Y"): marks the check as
// done and returns true when a stored name is invalid, so that the Players dialog opens for renaming.
bool playerNamesNeedRenaming(IniFile& settings);

// The list the "Players" dialog edits; it checks every change and says what the dialog shows.
class PlayerRoster {
public:
    PlayerRoster(std::vector<std::string> names, std::string current);

    const std::vector<std::string>& names() const { return m_names; }  // sorted without case
    const std::string& current() const { return m_current; }
    bool changed() const { return m_changed; }

    // Adds a player; returns the problem (the list is unchanged unless None).
    PlayerNameProblem add(std::string_view name);
    // Renames the player at index; an unchanged name is accepted. A renamed current player stays current.
    // Duplicates are compared without regard to case: the files of "Ann" and "ANN" would be the same file.
    PlayerNameProblem rename(std::size_t index, std::string_view newName);
    // Removes the player at index; false for the current player ("It is impossible to delete the
    // selected player.") or a bad index.
    bool remove(std::size_t index);
    // Index of a name in the sorted list, or -1.
    int indexOf(std::string_view name) const;
    void setCurrent(std::string name) { m_current = std::move(name); }

private:
    bool isDuplicate(std::string_view name, std::size_t except) const;

    std::vector<std::string> m_names;
    std::string m_current;
    bool m_changed = false;
};

inline constexpr const char* kCannotDeletePlayerMessage = "It is impossible to delete the selected player.";

}  // namespace cw::storage
