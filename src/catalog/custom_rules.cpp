// The seven rules a player may change in a custom game: which ones a base game allows, the custom rule string, names and the measured chance.
#include "catalog/custom_rules.h"

#include "catalog/chooser.h"
#include "catalog/definitions.h"
#include "catalog/game_list.h"
#include "storage/fixed_width.h"
#include "storage/ini_file.h"

#include <algorithm>
#include <cctype>
#include <optional>

namespace cw::catalog {
namespace {

bool allEqual(const Rules& r, int first, int last)
{
    for (int p = first + 1; p <= last; ++p)
        if (r[p] != r[first])
            return false;
    return true;
}

bool offeredSuitRule(int value) { return value == 0 || value == 1 || value == 2 || value == 3 || value == 21; }

std::string upper(std::string_view s)
{
    std::string out(s);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return out;
}

// One field of the rule string as a number; nullopt when it is not one (such a field changes nothing).
std::optional<long long> number(std::string_view s, std::size_t first, std::size_t len)
{
    if (s.size() < first + len)
        return std::nullopt;
    return ParseDefinitionInteger(s.substr(first, len));
}

std::string directionText(int value)
{
    switch (value) {
    case 0: return "Down";
    case 1: return "Up";
    case 2: return "Up or down";
    default: return {};
    }
}

std::string suitText(int value)
{
    switch (value) {
    case 0: return "In suit";
    case 1: return "In colour";
    case 2: return "Regardless of suit";
    case 3: return "In alternating colours";
    case 21: return "On any suit but its own";
    default: return {};
    }
}

std::string emptyPilesText(int value)
{
    if (value == 13 || value == 91)
        return "King only";
    if (value == -1)
        return "Any card";
    if (value == 0)
        return "None";
    return {};
}

} // namespace

CustomOptions CustomizableOptions(const Rules& r)
{
    CustomOptions o;
    const bool plainStock = r[295] == 0 && r[296] == 0 && r[10] != 0 && (r[11] != 0 || r[377] != 0) && r[373] != 0;
    auto stockOption = [&](int p) { return r[p] == 1 || (r[p] != 0 && plainStock); };
    o.cardsPerClick = stockOption(490);
    o.deals = stockOption(491);

    const bool tableau = r.tableauCount() > 0;
    auto tableauOption = [&](int p) { return tableau && (r[p] == 1 || (r[p] != 0 && r[41] == 0 && r[215] != 4)); };
    o.emptyPiles = tableauOption(492);
    o.tableauSuit = tableauOption(494) && allEqual(r, 215, 219) && offeredSuitRule(r[215]);
    o.tableauDirection = tableauOption(493) && allEqual(r, 175, 179) && o.tableauSuit;

    const bool many = r.foundationCount() > 4;
    auto foundationOption = [&](int p, bool otherwise) {
        if (r[p] == 0 || r.foundationCount() <= 0)
            return false;
        return r[p] == 1 || otherwise;
    };
    o.foundationSuit =
        foundationOption(496, r[41] == 0 && r[87] != 4) && allEqual(r, 87, many ? 91 : 90) && offeredSuitRule(r[87]);
    o.foundationDirection = foundationOption(495, r[87] != 4) && allEqual(r, 71, many ? 75 : 74) && o.foundationSuit;
    return o;
}

int DirectionValue(int code) { return code == 0 ? 1 : code == 1 ? 0 : code; }
int DirectionCode(int value) { return value == 1 ? 0 : value == 0 ? 1 : value; }
int SuitValue(int code) { return code == 1 ? 3 : code == 3 ? 1 : code == 4 ? 21 : code; }
int SuitCode(int value) { return value == 3 ? 1 : value == 1 ? 3 : value == 21 ? 4 : value; }

std::string FormatCustomRuleString(const CustomChoices& c, const CustomOptions& available)
{
    using storage::fixedNumber;
    std::string s;
    s += available.cardsPerClick ? fixedNumber(std::max(1, c.cardsPerClick), 3) : "   ";
    s += available.deals ? fixedNumber(c.deals, 3) : "   ";
    s += available.emptyPiles ? static_cast<char>('0' + static_cast<int>(c.emptyPiles)) : '0';
    s += available.tableauDirection ? fixedNumber(static_cast<int>(c.tableauDirection), 2) : "-1";
    s += available.tableauSuit ? fixedNumber(static_cast<int>(c.tableauSuit), 3) : "-01";
    s += available.foundationDirection ? fixedNumber(static_cast<int>(c.foundationDirection), 2) : "-1";
    s += available.foundationSuit ? fixedNumber(static_cast<int>(c.foundationSuit), 3) : "-01";
    return s;
}

CustomChoices PresetChoices(const Rules& r, int definitionEmptyRule)
{
    CustomChoices c;
    c.cardsPerClick = std::max(1, r.cardsPerClick());
    c.deals = r.deals();
    const int empty = r.tableauEmptyRule(0);
    // The deal turns 91 into the rank below the base card; a custom game's "Any card" (-1) or
    // "None" (0) must not read as King only because its base game's definition says 91.
    const bool kingOnly = empty == 13 || empty == 91 || (definitionEmptyRule == 91 && empty != -1 && empty != 0);
    c.emptyPiles = kingOnly     ? WizardEmptyPiles::KingOnly
                   : empty != 0 ? WizardEmptyPiles::AnyCard
                                : WizardEmptyPiles::None;
    auto direction = [](int value) {
        const int code = DirectionCode(value);
        return code >= 0 && code <= 2 ? static_cast<WizardDirection>(code) : WizardDirection::Up;
    };
    auto suit = [](int value) {
        const int code = SuitCode(value);
        return code >= 0 && code <= 4 ? static_cast<WizardSuit>(code) : WizardSuit::InSuit;
    };
    c.tableauDirection = direction(r.tableauDirection(0));
    c.tableauSuit = suit(r.tableauSuitRule(0));
    c.foundationDirection = direction(r.foundationDirection(0));
    c.foundationSuit = suit(r.foundationSuitRule(0));
    return c;
}

std::string CheckCustomRuleString(std::string_view s)
{
    // A shorter line reads as one ending in blanks (editors strip trailing blanks), which change nothing.
    s = s.substr(0, std::min(s.size(), static_cast<std::size_t>(kCustomRuleStringLength)));
    for (char c : s)
        if (!(std::isdigit(static_cast<unsigned char>(c)) || c == ' ' || c == '-' || c == '*'))
            return "the rules (second line) hold characters other than digits";
    struct Field {
        std::size_t first, len;
        long long low, high;
        const char* what;
    };
    const Field fields[] = {
        {0, 3, 1, 999, "cards per stock click"}, {3, 3, -1, 999, "number of deals"},
        {7, 2, -1, 2, "tableau direction"},      {9, 3, -1, 4, "tableau suit rule"},
        {12, 2, -1, 2, "foundation direction"},  {14, 3, -1, 4, "foundation suit rule"},
    };
    for (const Field& f : fields) {
        const auto v = number(s, f.first, f.len);
        if (v && (*v < f.low || *v > f.high))
            return std::string("the ") + f.what + " " + std::to_string(*v) + " is not one the Rules Wizard offers";
    }
    return {};
}

std::string CleanCustomGameName(std::string_view typed)
{
    const auto first = typed.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    const auto last = typed.find_last_not_of(" \t");
    return std::string(typed.substr(first, last - first + 1));
}

bool IsPlainGameName(std::string_view name)
{
    for (char ch : name) {
        const auto c = static_cast<unsigned char>(ch);
        if (c < 0x20 || c >= 0x7f || std::string_view("\\/:*?\"<>|%~").find(ch) != std::string_view::npos)
            return false;
    }
    return name.find("..") == std::string_view::npos;
}

std::string CheckCustomGameName(std::string_view typed, const GameList& list, const std::vector<CustomGame>& customs)
{
    const std::string name = CleanCustomGameName(typed);
    if (!IsPlainGameName(name))
        return kNameCharactersMessage;
    if (name.size() < static_cast<std::size_t>(kMinCustomNameLength))
        return kNameTooShortMessage;
    if (name.size() > static_cast<std::size_t>(kCustomNameLength))
        return kNameTooLongMessage;
    const std::string wanted = upper(TrimTrailingBlanks(name));
    for (const GameEntry& e : list.entries())
        if (!e.name.empty() && upper(TrimTrailingBlanks(e.name)) == wanted)
            return kNameExistsMessage;
    for (const CustomGame& g : customs)
        if (upper(TrimTrailingBlanks(g.name)) == wanted)
            return kNameExistsMessage;
    return {};
}

std::vector<RuleComparisonRow> CompareWithBaseGame(const Rules& base, const Rules& custom)
{
    const CustomOptions o = CustomizableOptions(base);
    std::vector<RuleComparisonRow> rows;
    auto row = [&](const char* label, bool available, std::string c, std::string b) {
        if (!available)
            c = b = "-";
        rows.push_back({label, std::move(c), std::move(b)});
    };
    row("Cards dealt:", o.cardsPerClick, std::to_string(custom.cardsPerClick()), std::to_string(base.cardsPerClick()));
    row("Redeals:", o.deals, RedealsText(custom.deals()), RedealsText(base.deals()));
    row("Tableau spaces:", o.emptyPiles, emptyPilesText(custom.tableauEmptyRule(0)),
        emptyPilesText(base.tableauEmptyRule(0)));
    row("Tableau direction:", o.tableauDirection, directionText(custom.tableauDirection(0)),
        directionText(base.tableauDirection(0)));
    row("Tableau suits:", o.tableauSuit, suitText(custom.tableauSuitRule(0)), suitText(base.tableauSuitRule(0)));
    row("Foundation direction:", o.foundationDirection, directionText(custom.foundationDirection(0)),
        directionText(base.foundationDirection(0)));
    row("Foundation suits:", o.foundationSuit, suitText(custom.foundationSuitRule(0)),
        suitText(base.foundationSuitRule(0)));
    return rows;
}

std::string MeasuredChanceKey(int id) { return "Cust_" + storage::fixedNumber(id, 4); }

void SaveMeasuredChance(storage::IniFile& ini, const CustomGame& game, int won, int sample)
{
    using storage::fixedNumber;
    ini.writeString(kMeasuredChanceSection, MeasuredChanceKey(game.id),
                    fixedNumber(won, 4) + " " + fixedNumber(sample, 4) + " " + fixedNumber(game.baseId, 4) + " " +
                        game.ruleString);
}

void ForgetMeasuredChance(storage::IniFile& ini, int id)
{
    if (ini.hasKey(kMeasuredChanceSection, MeasuredChanceKey(id)))
        ini.deleteKey(kMeasuredChanceSection, MeasuredChanceKey(id));
}

void AttachMeasuredChances(std::vector<CustomGame>& games, const storage::IniFile& ini)
{
    for (CustomGame& g : games) {
        g.chanceWon = g.chanceSample = 0;
        const std::string v = ini.readString(kMeasuredChanceSection, MeasuredChanceKey(g.id), "");
        if (v.size() != 15 + static_cast<std::size_t>(kCustomRuleStringLength) || v.substr(15) != g.ruleString)
            continue;
        const auto won = ParseDefinitionInteger(std::string_view(v).substr(0, 4));
        const auto sample = ParseDefinitionInteger(std::string_view(v).substr(5, 4));
        const auto base = ParseDefinitionInteger(std::string_view(v).substr(10, 4));
        if (!won || !sample || !base || *base != g.baseId || *won < 0 || *sample <= 0 || *won > *sample)
            continue;
        g.chanceWon = static_cast<int>(*won);
        g.chanceSample = static_cast<int>(*sample);
    }
}

} // namespace cw::catalog
