// The seven rules a player may change in a custom game: which ones a base game allows, the custom rule string, names and the measured chance.
#pragma once

#include "catalog/custom_games.h"
#include "catalog/rules.h"

#include <string>
#include <string_view>
#include <vector>

namespace cw::storage {
class IniFile;
}

namespace cw::catalog {

class GameList;

// Which of the seven options a base game lets the Rules Wizard change (rule parameters 490 to
// 496 and the conditions they name). A direction is available only where the suit rule of the
// same piles is.
struct CustomOptions {
    bool cardsPerClick = false;
    bool deals = false;
    bool emptyPiles = false;
    bool tableauDirection = false;
    bool tableauSuit = false;
    bool foundationDirection = false;
    bool foundationSuit = false;
    bool any() const
    {
        return cardsPerClick || deals || emptyPiles || tableauDirection || tableauSuit || foundationDirection ||
               foundationSuit;
    }
    friend bool operator==(const CustomOptions&, const CustomOptions&) = default;
};
CustomOptions CustomizableOptions(const Rules& base);

// The wizard's own codes of the string (not rule parameter values).
enum class WizardDirection : int { Up = 0, Down = 1, UpOrDown = 2 };
enum class WizardSuit : int {
    InSuit = 0,
    AlternatingColours = 1,
    RegardlessOfSuit = 2,
    InColour = 3,
    AnySuitButOwn = 4
};
enum class WizardEmptyPiles : int { Unchanged = 0, KingOnly = 1, AnyCard = 2, None = 3 };

// Wizard code <-> rule parameter value (direction: 0 Up gives 1, 1 Down gives 0; suit: 1 gives 3,
// 3 gives 1, 4 gives 21; other values pass unchanged).
int DirectionValue(int wizardCode);
int DirectionCode(int value);
int SuitValue(int wizardCode);
int SuitCode(int value);

// The player's choices as the string stores them.
struct CustomChoices {
    int cardsPerClick = 1; // 0 is stored as 1
    int deals = 1;         // -1 unlimited redeals, 0 no redeal, n + 1 for n redeals
    WizardEmptyPiles emptyPiles = WizardEmptyPiles::Unchanged;
    WizardDirection tableauDirection = WizardDirection::Up;
    WizardSuit tableauSuit = WizardSuit::InSuit;
    WizardDirection foundationDirection = WizardDirection::Up;
    WizardSuit foundationSuit = WizardSuit::InSuit;
    friend bool operator==(const CustomChoices&, const CustomChoices&) = default;
};

// The 17-character string of the choices. The fields of options the base game does not offer are
// written so that loading leaves the base game's rules as they are (blank numbers, "0" for the
// empty piles, -1 for directions and suit rules): the base game's own rules stay whole.
std::string FormatCustomRuleString(const CustomChoices& choices, const CustomOptions& available);

// The wizard's starting choices from a rule vector (a custom game's vector already holds its
// changes). `definitionEmptyRule` is rule parameter 135 of the base game as the definitions file
// holds it (91 there means King only, which the deal replaces).
CustomChoices PresetChoices(const Rules& rules, int definitionEmptyRule);

// "" when a rule string can be stored in a record and loaded; otherwise why not (for the message
// about a damaged file). Each field is empty, "***" or a value the Rules Wizard writes; a string
// shorter than 17 characters reads as one ending in blanks.
std::string CheckCustomRuleString(std::string_view ruleString);

// ---- Names ----
inline constexpr int kMinCustomNameLength = 3;
inline constexpr const char* kNameTooShortMessage = "Please enter at least 3 characters.";
inline constexpr const char* kNameExistsMessage = "This game name already exists.";
inline constexpr const char* kNameTooLongMessage = "Please enter at most 50 characters.";
inline constexpr const char* kNameCharactersMessage =
    "A game name can hold letters, digits, blanks and punctuation marks, but not two dots in a row\n"
    "nor any of the following characters: \\ / : * ? \" < > | % ~";
// Whether a name holds only what the Rules Wizard accepts: printable ASCII without the characters
// a file name cannot hold (the comments file is named after the game) and without "..".
bool IsPlainGameName(std::string_view name);
// The name as it will be stored: blanks at both ends removed.
std::string CleanCustomGameName(std::string_view typed);
// "" when the (cleaned) name may be given to a new custom game; otherwise the message to show.
// Names are compared with every built-in and custom game's in upper case, trailing blanks removed.
std::string CheckCustomGameName(std::string_view name, const GameList& list, const std::vector<CustomGame>& customs);

// ---- The rules help of a custom game ----
struct RuleComparisonRow {
    std::string label;  // "Cards dealt:"
    std::string custom; // the custom game's rule, "-" when the base game does not offer the change
    std::string base;   // the base game's rule
};
// The seven rules side by side: "Cards dealt:", "Redeals:", "Tableau spaces:" (as the original box
// shows them) and the building rules of the tableau and the foundations. `base` is the base game's
// vector from the definitions file, `custom` the same with the custom rule string applied.
std::vector<RuleComparisonRow> CompareWithBaseGame(const Rules& base, const Rules& custom);

// ---- The solver's measured chance of a custom game ----
// Kept in the settings file with the game's base id and rule string, so that a figure never
// outlives the rules it was measured for (ids are reused after a deletion).
inline constexpr std::string_view kMeasuredChanceSection = "Customized Games Chance";
std::string MeasuredChanceKey(int id); // "Cust_" + four digits
void SaveMeasuredChance(storage::IniFile& ini, const CustomGame& game, int won, int sample);
void ForgetMeasuredChance(storage::IniFile& ini, int id);
// Sets chanceWon and chanceSample of every game whose stored figure matches its rules.
void AttachMeasuredChances(std::vector<CustomGame>& games, const storage::IniFile& ini);

} // namespace cw::catalog
