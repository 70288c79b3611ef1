// Tests of the definitions file reader: text shift, sections, matrix cells, rules loading, lookups, groups.
#include "catalog/custom_games.h"
#include "catalog/definitions.h"
#include "storage/fixed_width.h"
#include "catalog/game_list.h"
#include "fixture_games.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

namespace cw::catalog {
namespace {

using testing::fixtureGames;
using testing::fixturePath;

std::string readFixture(const std::string& name)
{
    std::ifstream in(fixturePath(name), std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

std::vector<CustomGame> fixtureCustoms()
{
    return ReadCustomGamesFile(fixturePath("data")).games;
}

// A one-game matrix of 502 rows, every cell "0" except the given cell of row 1.
std::string oneColumnMatrix(const std::string& firstCell)
{
    std::string text = "[Sect2]\r\n";
    for (int n = 1; n <= kLastParam; ++n) {
        std::string row = std::string(4 - std::to_string(n).size(), ' ') + std::to_string(n) + std::string(12, ' ');
        row += EncodeDefinitionText(n == 1 ? firstCell : "0         ") + "P";
        text += row + "\r\n";
    }
    return text;
}

TEST(DefinitionText, ShiftDecodesAndIsItsOwnInverse)
{
    EXPECT_EQ(DecodeDefinitionText("P`i]"), " 09-");
    EXPECT_EQ(DecodeDefinitionText(" 09-"), "P`i]");
    for (int c = 32; c < 128; ++c) {
        const std::string s(1, static_cast<char>(c));
        EXPECT_EQ(DecodeDefinitionText(DecodeDefinitionText(s)), s) << c;
    }
}

TEST(DefinitionText, SplitLinesAcceptsCrLfAndLf)
{
    struct Case {
        std::string text;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {"a\r\nb\r\n", {"a", "b"}},
        {"a\nb\n", {"a", "b"}},
        {"a\r\nb\nc", {"a", "b", "c"}},
        {"a\r\n\r\nb", {"a", "", "b"}},
        {"a\rb\n", {"a\rb"}},  // a lone CR is part of the line
        {"", {}},
        {"\n", {""}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SplitLines(c.text), c.lines) << c.text;
}

TEST(DefinitionText, ExtractSection)
{
    struct Case {
        std::vector<std::string> lines;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {{"[Sect2]", "a", "[Sect3]", "b"}, {"a"}},
        {{"[Sect2]xyz", "a", " b "}, {"a", " b "}},          // the rest of a header line is ignored
        {{" [Sect2]", "a"}, {}},                             // a leading blank is no header
        {{"[sect2]", "a"}, {}},                              // case-sensitive
        {{"[Sect2]", "a", "", "  ", "[x", "b"}, {"a", "", "  "}},  // verbatim, blank lines kept
        {{"[Sect2]", "a", "[Sect1]", "x", "[Sect2]", "b"}, {"a", "b"}},  // occurrences concatenated
        {{"a", "b"}, {}},
        {{"[Sect2"}, {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ExtractSection(c.lines, "[Sect2]"), c.expected) << ::testing::PrintToString(c.lines);
}

TEST(ParameterMatrix, Cells)
{
    struct Case {
        std::string cell;
        std::optional<int> value;
    };
    const Case cases[] = {
        {"5         ", 5},
        {"         5", 5},
        {"  -17     ", -17},
        {"-32768    ", -32768},
        {"32767     ", 32767},
        {"          ", std::nullopt},  // blank cell
        {"32768     ", std::nullopt},  // outside 16 bits
        {"-32769    ", std::nullopt},
        {"1 2       ", std::nullopt},
        {"abc       ", std::nullopt},
        {"-         ", std::nullopt},
        {"99999999999999999999", std::nullopt},
    };
    for (const Case& c : cases) {
        auto rules = LoadRulesAtColumn(oneColumnMatrix(c.cell.substr(0, 10)), 0);
        if (c.value) {
            ASSERT_TRUE(rules) << c.cell << ": " << rules.error();
            EXPECT_EQ((*rules)[1], *c.value) << c.cell;
        } else {
            ASSERT_FALSE(rules) << c.cell;
            EXPECT_EQ(rules.error().rfind("GAMES.DAT, [Sect2], row 1: cell of game column 0", 0), 0u) << rules.error();
        }
    }
    // A second column that the rows do not have.
    auto missing = LoadRulesAtColumn(oneColumnMatrix("1         "), 1);
    ASSERT_FALSE(missing);
    EXPECT_EQ(missing.error(), "GAMES.DAT, [Sect2], row 1: row too short for game column 1");
}

struct Loaded {
    GameList list;
    std::vector<CustomGame> customs;
    std::string text;
};

Loaded loadFixture(const std::string& name = "GAMES.DAT")
{
    Loaded l;
    l.text = readFixture(name);
    l.list = BuildGameList(l.text).list;
    l.customs = fixtureCustoms();
    return l;
}

TEST(LoadGameRules, BuiltInGamesReadTheirOwnColumn)
{
    Loaded f = loadFixture();
    const auto games = fixtureGames();
    for (int id : {0, 1, 3}) {
        auto rules = LoadGameRules(f.text, f.list, id, f.customs);
        ASSERT_TRUE(rules) << rules.error();
        Rules expected = games[id].rules;
        expected.savePerPileCopy();
        EXPECT_EQ(*rules, expected) << "game " << id;
    }
    // The hidden game and unknown ids have no column: an error and no rules.
    for (int id : {2, 4, -1, 8009}) {
        auto rules = LoadGameRules(f.text, f.list, id, f.customs);
        ASSERT_FALSE(rules) << id;
        EXPECT_NE(rules.error().find("is not in the game list"), std::string::npos) << rules.error();
    }
}

TEST(LoadGameRules, FromFileReadsDefinitionsAndCustomGames)
{
    auto built = BuildGameListFromFile(fixturePath("GAMES.DAT"));
    ASSERT_TRUE(built) << built.error();
    auto rules = LoadGameRulesFromFile(fixturePath("GAMES.DAT"), built->list, 8000, fixturePath("data"));
    ASSERT_TRUE(rules) << rules.error();
    EXPECT_EQ(rules->cardsPerClick(), 3);

    auto missing = LoadGameRulesFromFile(fixturePath("NO_SUCH.DAT"), built->list, 0, fixturePath("data"));
    ASSERT_FALSE(missing);
    EXPECT_NE(missing.error().find("NO_SUCH.DAT"), std::string::npos);
}

TEST(LoadGameRules, CustomRuleString)
{
    Loaded f = loadFixture();
    const Rules klondike = fixtureGames()[0].rules;  // 7 tableau piles, 4 foundations

    // 003, -01, 2, 01, 002, 00, 001: every field changes its parameters.
    Rules r = klondike;
    ApplyCustomRuleString(r, "003-0120100200001");
    EXPECT_EQ(r.cardsPerClick(), 3);
    EXPECT_EQ(r.deals(), -1);
    for (int k = 0; k < 7; ++k) {
        EXPECT_EQ(r.tableauEmptyRule(k), -1) << k;
        EXPECT_EQ(r.tableauDirection(k), 0) << k;
        EXPECT_EQ(r.tableauSuitRule(k), 2) << k;
    }
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(r.foundationDirection(k), 1) << k;
        EXPECT_EQ(r.foundationSuitRule(k), 3) << k;
    }
    // Piles not in use are left alone.
    EXPECT_EQ(r.tableauEmptyRule(7), 0);
    EXPECT_EQ(r.foundationSuitRule(4), 0);

    struct Case {
        std::string ruleString;
        std::vector<std::pair<int, int>> changes;  // parameter, value; the rest stays as the base game's
    };
    const Case cases[] = {
        {std::string(17, ' '), {}},
        {"", {}},
        {"***00100000000000", {{16, 1}, {175, 1}, {176, 1}, {177, 1}, {178, 1}, {179, 1}, {180, 1}, {181, 1},
                               {215, 0}, {216, 0}, {217, 0}, {218, 0}, {219, 0}, {220, 0}, {221, 0},
                               {71, 1}, {72, 1}, {73, 1}, {74, 1}}},
        {"   ***1-1-01-1-01", {{135, 91}, {136, 91}, {137, 91}, {138, 91}, {139, 91}, {140, 91}, {141, 91}}},
        {"0010013", {{24, 1}, {16, 1}, {135, 0}, {136, 0}, {137, 0}, {138, 0}, {139, 0}, {140, 0}, {141, 0}}},
        {"      9", {}},
        {"       02004", {{175, 2}, {176, 2}, {177, 2}, {178, 2}, {179, 2}, {180, 2}, {181, 2},
                          {215, 21}, {216, 21}, {217, 21}, {218, 21}, {219, 21}, {220, 21}, {221, 21}}},
        {"            01003", {{71, 0}, {72, 0}, {73, 0}, {74, 0}, {87, 1}, {88, 1}, {89, 1}, {90, 1}}},
    };
    for (const Case& c : cases) {
        Rules got = klondike;
        ApplyCustomRuleString(got, c.ruleString);
        Rules expected = klondike;
        for (auto [p, v] : c.changes)
            expected.set(p, v);
        EXPECT_EQ(got, expected) << "'" << c.ruleString << "'";
    }

    // A damaged pile count must not spill into the neighbouring ranges.
    Rules wide = klondike;
    wide.set(375, 300);
    wide.set(374, 300);
    ApplyCustomRuleString(wide, "0010012000000000");
    EXPECT_EQ(wide.tableauEmptyRule(39), -1);
        EXPECT_EQ(wide.tableauDirection(39), 1);
    EXPECT_EQ(wide.tableauSuitRule(0), 0);
    EXPECT_EQ(wide.foundationDirection(15), 1);
    EXPECT_EQ(wide[255], 0);  // first continuity parameter after the tableau suit rules
    EXPECT_EQ(wide[103], 0);  // first foundation initial card after the foundation suit rules

    // Through the loader: the custom game's record is found and the per-pile copy holds the changes.
    auto custom = LoadGameRules(f.text, f.list, 8000, f.customs);
    ASSERT_TRUE(custom) << custom.error();
    EXPECT_EQ(custom->deals(), -1);
    EXPECT_EQ(custom->perPileCopy()[0], -1);
    // A custom game of spaces is its base game, but for the chance figures: its own (none measured).
    auto spaces = LoadGameRules(f.text, f.list, 8001, f.customs);
    ASSERT_TRUE(spaces) << spaces.error();
    Rules spider = fixtureGames()[1].rules;
    spider.set(501, 0);
    spider.set(502, 0);
    spider.savePerPileCopy();
    EXPECT_EQ(*spaces, spider);
    // No record: no game column.
    EXPECT_FALSE(LoadGameRules(f.text, f.list, 8007, f.customs));
}

TEST(LoadGameRules, RestartRestoresPerPileCopy)
{
    Loaded f = loadFixture();
    auto rules = LoadGameRules(f.text, f.list, 0, f.customs);
    ASSERT_TRUE(rules);
    const Rules loaded = *rules;
    rules->set(135, 5);   // the deal derives empty-pile rules and foundation bases
    rules->set(56, 12);
    RestorePerPileParameters(*rules);
    EXPECT_EQ(*rules, loaded);
    EXPECT_EQ(rules->tableauEmptyRule(0), 13);
}

TEST(ReadGameParameters, ReadsRowsOfOneGame)
{
    Loaded f = loadFixture();
    ParameterRequest none;
    none.fill(-1);
    auto unused = ReadGameParameters(f.text, f.list, 0, none);
    ASSERT_TRUE(unused);
    for (int v : *unused)
        EXPECT_EQ(v, -99);
    // Still reads the file: a missing file is reported even when nothing is requested.
    EXPECT_FALSE(ReadGameParametersFromFile(fixturePath("NO_SUCH.DAT"), f.list, 0, none));
    auto fromFile = ReadGameParametersFromFile(fixturePath("GAMES.DAT"), f.list, 0, none);
    ASSERT_TRUE(fromFile);
    EXPECT_EQ(*fromFile, *unused);

    auto some = ReadGameParameters(f.text, f.list, 3, {16, 378, 497, -1, 45, 48, 0, 502, 24});
    ASSERT_TRUE(some) << some.error();
    EXPECT_EQ(*some, (ParameterRequest{0, 52, 0, -99, -32768, 32767, 0, 0, 0}));

    EXPECT_FALSE(ReadGameParameters(f.text, f.list, 2, {16, -1, -1, -1, -1, -1, -1, -1, -1}));
    EXPECT_FALSE(ReadGameParameters(f.text, f.list, 0, {503, -1, -1, -1, -1, -1, -1, -1, -1}));
}

TEST(ReadParameterPairForAllGames, OneTextPerListedGame)
{
    Loaded f = loadFixture();
    auto pairs = ReadParameterPairForAllGames(f.text, f.list, 501, 502);
    ASSERT_TRUE(pairs) << pairs.error();
    EXPECT_EQ(*pairs, (std::vector<std::string>{"00000001230000001000", "00000000050000000050",
                                                 "00000000000000000000"}));
    auto hiscore = ReadParameterPairForAllGamesFromFile(fixturePath("GAMES.DAT"), f.list, 52, 45);
    ASSERT_TRUE(hiscore) << hiscore.error();
    EXPECT_EQ(hiscore->at(0), "-0000000010000000000");
    EXPECT_EQ(hiscore->at(2), "0000000000-000032768");
}

TEST(ReadParameterPairForAllGames, ZeroPaddedFields)
{
    struct Case {
        long long value;
        int width;
        std::string text;
    };
    const Case cases[] = {
        {0, 10, "0000000000"},        {-1, 10, "-000000001"},     {123, 4, "0123"},
        {-1, 4, "-001"},              {18, 4, "0018"},            {8003, 4, "8003"},
        {-999999999, 10, "-999999999"}, {-1000000000, 10, "**********"}, {10000, 4, "****"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(cw::storage::fixedNumber(c.value, c.width), c.text) << c.value;
}

TEST(ReadGameGroup, GroupsInFileOrder)
{
    Loaded f = loadFixture();
    EXPECT_EQ(ReadGameGroup(f.text, kSectPopular).value(), (std::vector<int>{0, 3}));
    EXPECT_EQ(ReadGameGroup(f.text, kSectOriginal).value(), (std::vector<int>{1}));
    EXPECT_EQ(ReadGameGroupFromFile(fixturePath("GAMES.DAT"), kSectChildren).value(), (std::vector<int>{0}));
    EXPECT_TRUE(ReadGameGroup(f.text, "[SectX]").value().empty());

    auto bad = ReadGameGroup("[SectS]\r\n" + EncodeDefinitionText("12") + "\r\n" + EncodeDefinitionText("x1") + "\r\n",
                             kSectPopular);
    ASSERT_FALSE(bad);
    EXPECT_EQ(bad.error(), "GAMES.DAT, [SectS], row 2: not a game id");
}

TEST(MalformedDefinitions, LoadErrorsNameFileSectionRowAndColumn)
{
    struct Case {
        std::string file;
        int id;
        std::string error;  // empty: loads
    };
    const Case cases[] = {
        {"bad_cell.DAT", 3, "bad_cell.DAT, [Sect2], row 17: cell of game column 2 is not a number"},
        {"bad_cell.DAT", 0, ""},
        {"sect2_501_rows.DAT", 0, "sect2_501_rows.DAT, [Sect2]: 501 rows, expected 502"},
        {"blank_line_sect2.DAT", 1, "blank_line_sect2.DAT, [Sect2], row 101: parameter number is not a number"},
        {"short_row.DAT", 3, ""},  // the short row keeps its column, so FreeCell still reads column 2
        {"short_row.DAT", 1, "short_row.DAT: game 1 is not in the game list"},
        {"duplicate_id.DAT", 3, "duplicate_id.DAT: game 3 is not in the game list"},
    };
    for (const Case& c : cases) {
        const std::string text = readFixture(c.file);
        const GameList list = BuildGameList(text, c.file).list;
        auto rules = LoadGameRules(text, list, c.id, {}, c.file);
        if (c.error.empty()) {
            ASSERT_TRUE(rules) << c.file << ": " << rules.error();
            Rules expected = fixtureGames()[c.id].rules;
            expected.savePerPileCopy();
            EXPECT_EQ(*rules, expected) << c.file;
        } else {
            ASSERT_FALSE(rules) << c.file;
            EXPECT_EQ(rules.error(), c.error);
        }
    }
    // The single-parameter lookups fail on the damaged rows only.
    const std::string bad = readFixture("bad_cell.DAT");
    const GameList list = BuildGameList(bad).list;
    EXPECT_TRUE(ReadGameParameters(bad, list, 3, {16, -1, -1, -1, -1, -1, -1, -1, -1}));
    EXPECT_FALSE(ReadGameParameters(bad, list, 3, {17, -1, -1, -1, -1, -1, -1, -1, -1}));
    const std::string short501 = readFixture("sect2_501_rows.DAT");
    EXPECT_FALSE(ReadGameParameters(short501, BuildGameList(short501).list, 0,
                                    {502, -1, -1, -1, -1, -1, -1, -1, -1}));
}

TEST(MalformedDefinitions, MisnumberedAndExtraRows)
{
    std::string text = oneColumnMatrix("1         ");
    std::string swapped = text;
    swapped.replace(swapped.find("   2 "), 5, "   3 ");
    auto r = LoadRulesAtColumn(swapped, 0);
    ASSERT_FALSE(r);
    EXPECT_EQ(r.error(), "GAMES.DAT, [Sect2], row 2: holds parameter 3, expected 2");

    auto extra = LoadRulesAtColumn(text + " 503" + std::string(12, ' ') + EncodeDefinitionText("0         P") + "\r\n", 0);
    ASSERT_FALSE(extra);
    EXPECT_EQ(extra.error(), "GAMES.DAT, [Sect2], row 503: more than 502 rows");

    EXPECT_FALSE(LoadRulesAtColumn("", 0));
    EXPECT_FALSE(LoadRulesAtColumn(text, -1));
}

TEST(WriteDefinitions, RefusesWhatCannotBeStored)
{
    struct Case {
        int id;
        int type;
        std::string name;
    };
    const Case cases[] = {
        {1000, 5, "Too Big"},
        {-1, 5, "Negative"},
        {1, 1000, "Wide type"},
        {1, 5, std::string(51, 'x')},
        {1, 5, "Caf\xc3\xa9"},
        {1, 5, "Line\nbreak"},
    };
    for (const Case& c : cases) {
        DefinitionGame g;
        g.id = c.id;
        g.type = c.type;
        g.name = c.name;
        EXPECT_FALSE(writeDefinitions({g}, {})) << c.name;
    }
    EXPECT_FALSE(writeDefinitions({}, {{10000}, {}, {}}));
}

} // namespace
} // namespace cw::catalog
