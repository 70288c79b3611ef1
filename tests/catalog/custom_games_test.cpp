// Tests of custom games: the rule string of the wizard's choices, the file read with damage, its writes, names and figures.
#include <gtest/gtest.h>

#include "catalog/custom_games.h"
#include "catalog/custom_rules.h"
#include "catalog/definitions.h"
#include "catalog/game_list.h"
#include "engine/built_catalog.h"
#include "storage/fixed_width.h"
#include "storage/ini_file.h"
#include "storage/safe_file.h"
#include "storage/temp_dir.h"

#include <optional>
#include <string>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

namespace cw::catalog {
namespace {

using storage::test::TempDir;

std::string record(const std::string& first, const std::string& rules)
{
    std::string out = first + "\r\n" + rules + "\r\n";
    for (int i = 2; i < kCustomRecordLines; ++i)
        out += "\r\n";
    return out;
}

std::string line1(int id, const std::string& name, int base)
{
    return std::to_string(id) + name + std::string(50 - name.size(), ' ') + storage::fixedNumber(base, 4);
}

struct Built {
    test::BuiltCatalog cat;
    Rules rules(int id) const { return LoadGameRules(cat.text, cat.list, id, {}).value(); }
    int id(const char* name) const { return GameIdByName(cat.list, {}, name); }
};

std::optional<Built> built()
{
    auto c = test::builtCatalog();
    if (!c)
        return std::nullopt;
    return Built{std::move(*c)};
}

// The seven changes on a few base games: each string written from the wizard's choices loads into
// the rules the choices name, reads back as the same choices, and leaves every other rule alone.
TEST(CustomRuleString, TheSevenChangesOnSeveralBaseGamesReadBack)
{
    auto b = built();
    if (!b)
        GTEST_SKIP() << "GAMES.DAT not built";
    using D = WizardDirection;
    using S = WizardSuit;
    using E = WizardEmptyPiles;
    const CustomChoices rows[] = {
        {3, -1, E::AnyCard, D::Down, S::RegardlessOfSuit, D::Up, S::AlternatingColours},
        {1, 0, E::None, D::Up, S::InSuit, D::Down, S::InColour},
        {2, 4, E::KingOnly, D::UpOrDown, S::AnySuitButOwn, D::UpOrDown, S::InSuit},
        {104, 999, E::AnyCard, D::Down, S::InColour, D::Up, S::AnySuitButOwn},
    };
    int checkedBases = 0;
    for (const char* name : {"Klondike", "Klondike (draw three)", "Spider", "FreeCell", "Canfield", "Golf"}) {
        const int id = b->id(name);
        if (id < 0)
            continue;
        ++checkedBases;
        const Rules base = b->rules(id);
        const CustomOptions available = CustomizableOptions(base);
        for (const CustomChoices& c : rows) {
            const std::string s = FormatCustomRuleString(c, available);
            ASSERT_EQ(s.size(), 17u) << name;
            EXPECT_EQ(CheckCustomRuleString(s), "") << name << " '" << s << "'";
            Rules custom = base;
            ApplyCustomRuleString(custom, s);
            const CustomChoices back = PresetChoices(custom, base.tableauEmptyRule(0));
            const CustomChoices before = PresetChoices(base, base.tableauEmptyRule(0));
            const std::string at = std::string(name) + " '" + s + "'";
            EXPECT_EQ(back.cardsPerClick, available.cardsPerClick ? c.cardsPerClick : before.cardsPerClick) << at;
            EXPECT_EQ(back.deals, available.deals ? c.deals : before.deals) << at;
            EXPECT_EQ(back.tableauDirection, available.tableauDirection ? c.tableauDirection : before.tableauDirection)
                << at;
            EXPECT_EQ(back.tableauSuit, available.tableauSuit ? c.tableauSuit : before.tableauSuit) << at;
            EXPECT_EQ(back.foundationDirection,
                      available.foundationDirection ? c.foundationDirection : before.foundationDirection)
                << at;
            EXPECT_EQ(back.foundationSuit, available.foundationSuit ? c.foundationSuit : before.foundationSuit) << at;
            EXPECT_EQ(back.emptyPiles, available.emptyPiles ? c.emptyPiles : before.emptyPiles) << at;
            if (available.emptyPiles) {
                const int want = c.emptyPiles == E::KingOnly ? 91 : c.emptyPiles == E::AnyCard ? -1 : 0;
                for (int k = 0; k < base.tableauCount(); ++k)
                    EXPECT_EQ(custom.tableauEmptyRule(k), want) << at << " pile " << k;
            }
            // Nothing outside the seven rules moves, and options the game does not offer keep its own rules.
            for (int p = 0; p <= kLastParam; ++p) {
                const bool changeable = p == 24 || p == 16 || (p >= 135 && p < 135 + kMaxTableaus) ||
                                        (p >= 175 && p < 175 + kMaxTableaus) || (p >= 215 && p < 215 + kMaxTableaus) ||
                                        (p >= 71 && p < 71 + kMaxFoundations) || (p >= 87 && p < 87 + kMaxFoundations);
                if (!changeable) {
                    EXPECT_EQ(custom[p], base[p]) << at << " parameter " << p;
                }
            }
            if (!available.foundationSuit)
                for (int k = 0; k < kMaxFoundations; ++k) {
                    EXPECT_EQ(custom.foundationSuitRule(k), base.foundationSuitRule(k)) << at;
                    EXPECT_EQ(custom.foundationDirection(k), base.foundationDirection(k)) << at;
                }
        }
    }
    EXPECT_GE(checkedBases, 3);
}

TEST(CustomRuleString, WhatTheWizardMayChange)
{
    Rules r;
    r.set(374, 4);
    r.set(375, 7);
    r.set(10, 1);
    r.set(11, 1);
    r.set(373, 2);
    for (int p = 490; p <= 496; ++p)
        r.set(p, 2);
    for (int k = 0; k < 7; ++k) {
        r.set(215 + k, 3);
        r.set(175 + k, 0);
    }
    for (int k = 0; k < 4; ++k)
        r.set(71 + k, 1);
    EXPECT_EQ(CustomizableOptions(r), (CustomOptions{true, true, true, true, true, true, true}));

    Rules rowsFromStock = r; // the stock deals rows: no waste to turn, no redeal
    rowsFromStock.set(295, 1);
    EXPECT_FALSE(CustomizableOptions(rowsFromStock).cardsPerClick);
    EXPECT_FALSE(CustomizableOptions(rowsFromStock).deals);

    Rules noBuilding = r; // foundations that take no building: neither the suit rule nor the direction
    for (int k = 0; k < 4; ++k)
        noBuilding.set(87 + k, 4);
    EXPECT_FALSE(CustomizableOptions(noBuilding).foundationSuit);
    EXPECT_FALSE(CustomizableOptions(noBuilding).foundationDirection);
    CustomChoices c;
    EXPECT_EQ(FormatCustomRuleString(c, CustomizableOptions(noBuilding)).substr(12), "-1-01");

    Rules mixed = r; // the fifth tableau pile builds otherwise: the tableau suit rule and direction stay
    mixed.set(219, 0);
    EXPECT_FALSE(CustomizableOptions(mixed).tableauSuit);
    EXPECT_FALSE(CustomizableOptions(mixed).tableauDirection);
    EXPECT_TRUE(CustomizableOptions(mixed).emptyPiles);

    Rules never = r;
    for (int p = 490; p <= 496; ++p)
        never.set(p, 0);
    EXPECT_FALSE(CustomizableOptions(never).any());
    // Nothing offered: the string changes nothing at all.
    Rules loaded = never;
    ApplyCustomRuleString(loaded, FormatCustomRuleString({}, CustomizableOptions(never)));
    EXPECT_EQ(loaded, never);
}

TEST(CustomRuleString, DamagedStringsAreNamed)
{
    const struct {
        std::string s;
        bool ok;
    } rows[] = {
        {"003-0120100200001", true},         {std::string(17, ' '), true},
        {"***00100000000000", true},         {"0010012", true},            // trailing blanks stripped by an editor
        {"003-0120100200001trailing", true}, {"000-0120100200001", false}, // no cards per click
        {"003-0220100200001", false},                                      // deals below -1
        {"003-0120900200001", false},                                      // direction 9
        {"003-0120100500001", false},                                      // suit rule 5
        {"003-01201002000x1", false},        {std::string("003\0-0120100200001", 18), false},
    };
    for (const auto& row : rows)
        EXPECT_EQ(CheckCustomRuleString(row.s).empty(), row.ok) << "'" << row.s << "'";
}

TEST(CustomGamesFile, DamagedRecordsAreSkippedNamedAndKept)
{
    auto b = built();
    if (!b)
        GTEST_SKIP() << "GAMES.DAT not built";
    const std::string good = record(line1(8000, "My Klondike", 0), "003-0120100200001");
    const std::string text = std::string("[R-0301]\r\n") + good +                          // 1 good
                             record(line1(8001, "Lost Base", 999), std::string(17, ' ')) + // 2 base not listed
                             record("80x1Bad Id" + std::string(44, ' ') + "0000", "") +    // 3 id not a number
                             record(line1(8002, "Junk Rules", 0), "\x01\x02\xff junk") +   // 4 rules not numbers
                             record(line1(8000, "Twin", 0), std::string(17, ' ')) +        // 5 id of record 1
                             record(std::string("\x7f\x00\x10garbage", 10), "") +          // 6 binary junk
                             record(line1(8003, "Short", 0), "0010012") +                  // 7 good, short rules
                             record("8006Cut Short", "") +                                 // 8 no base game
                             line1(8004, "Cut Off", 0) + "\r\n";                           // 9 the file ends early
    const CustomGamesRead read = ReadCustomGames(text, &b->cat.list);
    ASSERT_EQ(read.games.size(), 3u);
    EXPECT_EQ(read.games[0].name, "My Klondike");
    EXPECT_EQ(read.games[1].name, "Short");
    EXPECT_EQ(read.games[1].record, 6);
    EXPECT_EQ(read.games[1].ruleString, "0010012" + std::string(10, ' '));
    EXPECT_EQ(read.games[2].name, "Cut Off"); // its rules are blank: the base game's
    EXPECT_EQ(read.games[2].ruleString, std::string(17, ' '));
    ASSERT_EQ(read.skipped.size(), 6u);
    EXPECT_EQ(read.skipped[0], "record 2 (line 32) \"Lost Base\": the base game 999 is not in the game list");
    EXPECT_EQ(read.skipped[1], "record 3 (line 62) \"Bad Id\": the id \"80x1\" is not a number");
    EXPECT_EQ(read.skipped[2], "record 4 (line 92) \"Junk Rules\": the rules (second line) hold characters other "
                               "than digits");
    EXPECT_EQ(read.skipped[3], "record 5 (line 122) \"Twin\": the id 8000 is already used by record 1 (\"My "
                               "Klondike\")");
    EXPECT_EQ(read.skipped[4], "record 6 (line 152) \"arbage\": the id \"???g\" is not a number");
    EXPECT_EQ(read.skipped[5], "record 8 (line 212) \"Cut Short\": the first line is cut short (13 characters "
                               "instead of 58)");
    const std::string message = SkippedCustomGamesMessage("/data/GAM_CUST.DAT", read.skipped);
    EXPECT_NE(message.find("/data/GAM_CUST.DAT"), std::string::npos);
    EXPECT_NE(message.find("record 5 (line 122)"), std::string::npos);

    // Saving a new game and deleting one keep every other record byte for byte.
    TempDir dir;
    dir.write("gam_cust.dat", text);
    auto id = SaveNewCustomGame(dir.folder(), {"New One", 0, "001000000000000  "});
    ASSERT_TRUE(id) << id.error();
    EXPECT_EQ(*id, 8005); // 8000-8004 are taken, by readable records or not
    auto after = storage::readWholeFile(dir.file("gam_cust.dat"));
    ASSERT_TRUE(after);
    // The cut-off record was padded to its 30 lines; nothing else changed before the new record.
    std::string expectedPrefix = text;
    for (int i = 0; i < 29; ++i)
        expectedPrefix += "\r\n";
    EXPECT_EQ(after->substr(0, expectedPrefix.size()), expectedPrefix);
    EXPECT_EQ(after->substr(expectedPrefix.size()), record(line1(8005, "New One", 0), "001000000000000  "));

    auto removed = RemoveCustomGame(dir.folder(), 8000);
    ASSERT_TRUE(removed) << removed.error();
    EXPECT_TRUE(*removed);
    after = storage::readWholeFile(dir.file("gam_cust.dat"));
    EXPECT_EQ(after->substr(0, 10), "[R-0301]\r\n");
    EXPECT_EQ(after->substr(10, expectedPrefix.size() - 10 - good.size()), expectedPrefix.substr(10 + good.size()));
    // The twin of the deleted game can now be played under its id.
    const CustomGamesRead again = ReadCustomGames(*after, &b->cat.list);
    EXPECT_EQ(CustomGameName(again.games, 8000), "Twin");
    EXPECT_FALSE(*RemoveCustomGame(dir.folder(), 8999));
}

TEST(CustomGamesFile, IdsAreReusedAndRunOut)
{
    TempDir dir;
    for (const char* name : {"First", "Second", "Third"})
        ASSERT_TRUE(SaveNewCustomGame(dir.folder(), {name, 0, std::string(17, ' ')}));
    auto text = storage::readWholeFile(dir.file("GAM_CUST.DAT"));
    ASSERT_TRUE(text);
    EXPECT_EQ(text->substr(0, 10), "[R-0301]\r\n");
    EXPECT_EQ(ReadCustomGames(*text).games.size(), 3u);
    ASSERT_TRUE(*RemoveCustomGame(dir.folder(), 8001));
    EXPECT_EQ(*SaveNewCustomGame(dir.folder(), {"Fourth", 0, std::string(17, ' ')}), 8001);

    CustomGamesFile full;
    for (int id = kFirstCustomId; id <= kLastCustomId; ++id)
        full.records.push_back(CustomGameRecordLines(id, {"G" + std::to_string(id), 0, std::string(17, ' ')}));
    EXPECT_EQ(NextCustomGameId(full), std::nullopt);
    dir.write("GAM_CUST.DAT", FormatCustomGamesFile(full));
    auto refused = SaveNewCustomGame(dir.folder(), {"One Too Many", 0, std::string(17, ' ')});
    ASSERT_FALSE(refused);
    EXPECT_NE(refused.error().find("8000 to 9999"), std::string::npos);
}

TEST(CustomGamesFile, AFileThatCannotBeReadIsNeverReplaced)
{
    // Something under the file's name that is no file to read (here a FIFO) stays as it is.
    TempDir dir;
    const std::string fifo = dir.file("GAM_CUST.DAT");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_FALSE(SaveNewCustomGame(dir.folder(), {"New", 0, std::string(17, ' ')}));
    EXPECT_FALSE(RemoveCustomGame(dir.folder(), 8000));
    EXPECT_TRUE(std::filesystem::is_fifo(fifo));

    if (::geteuid() == 0)
        return;  // root reads every file
    TempDir other;
    const std::string path = other.write("GAM_CUST.DAT", "[R-0301]\r\n" + record(line1(8000, "Kept", 0), ""));
    std::filesystem::permissions(path, std::filesystem::perms::none);
    EXPECT_FALSE(SaveNewCustomGame(other.folder(), {"New", 0, std::string(17, ' ')}));
    EXPECT_FALSE(RemoveCustomGame(other.folder(), 8000));
    std::filesystem::permissions(path, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    EXPECT_NE(storage::readWholeFile(path)->find("Kept"), std::string::npos);
}

TEST(CustomGameNames, TheWizardsChecks)
{
    auto b = built();
    if (!b)
        GTEST_SKIP() << "GAMES.DAT not built";
    const std::vector<CustomGame> customs = {{8000, "My Klondike", 0, std::string(17, ' '), 0}};
    const struct {
        std::string name;
        std::string message;
    } rows[] = {
        {"Easy Street", ""},
        {"  Padded Name  ", ""},
        {"", kNameTooShortMessage},
        {"   ", kNameTooShortMessage},
        {"ab", kNameTooShortMessage},
        {std::string(50, 'x'), ""},
        {std::string(51, 'x'), kNameTooLongMessage},
        {"KLONDIKE", kNameExistsMessage},
        {"klondike   ", kNameExistsMessage},
        {"my klondike", kNameExistsMessage},
        {"a/b game", kNameCharactersMessage},
        {"a\\b game", kNameCharactersMessage},
        {"..", kNameCharactersMessage},
        {"x..y", kNameCharactersMessage},
        {"two\r\nlines", kNameCharactersMessage},
        {"tab\tin", kNameCharactersMessage},
        {"K\xc3\xb6nig", kNameCharactersMessage},
        {"Time: short", kNameCharactersMessage},
        {"100% luck", kNameCharactersMessage},
        {"What?", kNameCharactersMessage},
        {"Baker's Dozen (easy), 2 decks!", ""},
    };
    for (const auto& row : rows)
        EXPECT_EQ(CheckCustomGameName(row.name, b->cat.list, customs), row.message) << "'" << row.name << "'";
    EXPECT_EQ(CleanCustomGameName("  Padded Name  "), "Padded Name");
    // A name that passes makes one file name of the folder it is put in, whatever follows it.
    for (const char* name : {"../x", "..", "a/b", "x\ny", "C:\\tmp"})
        EXPECT_FALSE(IsPlainGameName(name)) << name;
}

TEST(CustomGameRules, ComparedWithTheBaseGame)
{
    auto b = built();
    if (!b)
        GTEST_SKIP() << "GAMES.DAT not built";
    const Rules base = b->rules(b->id("Klondike"));
    Rules custom = base;
    ApplyCustomRuleString(custom, "003-012"
                                  "01"
                                  "002"
                                  "00"
                                  "001");
    const auto rows = CompareWithBaseGame(base, custom);
    ASSERT_EQ(rows.size(), 7u);
    EXPECT_EQ(rows[0].label, "Cards dealt:");
    EXPECT_EQ(rows[0].custom, "3");
    EXPECT_EQ(rows[0].base, std::to_string(base.cardsPerClick()));
    EXPECT_EQ(rows[1].custom, "Unlimited");
    EXPECT_EQ(rows[2].label, "Tableau spaces:");
    EXPECT_EQ(rows[2].custom, "Any card");
    EXPECT_EQ(rows[2].base, "King only");
    EXPECT_EQ(rows[3].custom, "Down");
    EXPECT_EQ(rows[4].custom, "Regardless of suit");
    EXPECT_EQ(rows[4].base, "In alternating colours");
    EXPECT_EQ(rows[5].custom, "Up");
    EXPECT_EQ(rows[6].custom, "In alternating colours");
    EXPECT_EQ(rows[6].base, "In suit");

    // A change the base game does not offer shows "-" on both sides.
    Rules fixed = base;
    fixed.set(490, 0);
    EXPECT_EQ(CompareWithBaseGame(fixed, custom)[0].custom, "-");
    EXPECT_EQ(CompareWithBaseGame(fixed, custom)[0].base, "-");
}

TEST(CustomGameRules, MeasuredChanceFollowsTheRulesItWasMeasuredFor)
{
    TempDir dir;
    storage::IniFile ini(dir.file("Cfg.dat"));
    CustomGame g{8000, "Mine", 0, "003-0120100200001", 0};
    SaveMeasuredChance(ini, g, 18, 25);
    std::vector<CustomGame> games{g};
    AttachMeasuredChances(games, ini);
    EXPECT_EQ(games[0].chanceWon, 18);
    EXPECT_EQ(games[0].chanceSample, 25);

    // The id reused by a game of other rules, or another base game: no figure.
    games = {{8000, "Other", 0, std::string(17, ' '), 0}, {8000, "Mine", 1, g.ruleString, 0}};
    AttachMeasuredChances(games, ini);
    EXPECT_EQ(games[0].chanceSample, 0);
    EXPECT_EQ(games[1].chanceSample, 0);

    ForgetMeasuredChance(ini, 8000);
    games = {g};
    AttachMeasuredChances(games, ini);
    EXPECT_EQ(games[0].chanceSample, 0);
}

} // namespace
} // namespace cw::catalog
