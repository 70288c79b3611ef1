// Tests of the catalog source format: parsing, inheritance, the checks that name game and parameter, rules texts.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "catalog/catalog_source.h"
#include "catalog/params.h"
#include "catalog/tools/engine_checks.h"

namespace cw::catalog {
namespace {

// A small catalog using every form of the format.
constexpr std::string_view kSample = R"(# comment line
defaults
  cards = 52
  foundation.suit_rule_all = per_pile
  tableau.suit_rule_all = per_pile
  layout.table_arrangement = 1
  layout.stock_arrangement = 13
  layout.foundation_arrangement = 31
  chooser.game_time = quick   # named feature class

template "four" 
  foundation.count = 4
  foundation.base = 4*ace
  foundation.direction = all up

template "waste"
  layout.stock_piles = 2
  stock.shown = 1
  stock.turns_to_waste = 1

game "Base Game" : "four", "waste"
  id = 7
  type = klondike
  marks = new large_screen
  groups = popular children
  tableau.count = 3
  tableau.deal = 1 2 3
  tableau.face = 3*1
  tableau.suit_rule = alternate 2*suit
  stock.deal = 46
  stock.deals = unlimited
  382 = 1                   # plain numbers work too
  rules:
    > First paragraph,
    > continued.
    >
    > Second # not a comment.

game "Variant # two" : "Base Game"
  id = 9
  tableau.deal.3 = 4
  stock.deal = 45
  rules.more:
    > Added.
)";

std::vector<CatalogGame> resolveText(std::string_view text)
{
    auto blocks = parseCatalogSource(text, "sample.games");
    EXPECT_TRUE(blocks.ok()) << blocks.error();
    if (!blocks.ok())
        return {};
    auto games = resolveCatalog(blocks.value());
    EXPECT_TRUE(games.ok()) << games.error();
    return games.ok() ? games.value() : std::vector<CatalogGame>{};
}

TEST(CatalogSource, ParsesEveryFormAndAppliesInheritanceInOrder)
{
    const auto games = resolveText(kSample);
    ASSERT_EQ(games.size(), 2u);
    const CatalogGame& base = games[0];
    const CatalogGame& variant = games[1];

    EXPECT_EQ(base.name, "Base Game");
    EXPECT_EQ(base.id, 7);
    EXPECT_EQ(base.type, 5);
    EXPECT_TRUE(base.newGame);
    EXPECT_TRUE(base.largeScreen);
    EXPECT_FALSE(base.hidden);
    EXPECT_TRUE(base.popular);
    EXPECT_TRUE(base.children);
    EXPECT_FALSE(variant.popular) << "groups are not inherited";
    EXPECT_TRUE(variant.newGame) << "marks are inherited";
    EXPECT_EQ(variant.name, "Variant # two") << "a '#' inside quotes is not a comment";

    struct Row {
        std::string_view param;
        int base;
        int variant;
    };
    const Row rows[] = {
        {"cards", 52, 52},
        {"chooser.game_time", 2, 2},             // from the defaults, by name
        {"foundation.suit_rule_all", -1, -1},
        {"foundation.count", 4, 4},              // first base
        {"foundation.base.4", 1, 1},             // repeat form
        {"foundation.direction.16", 1, 1},       // "all" fills the whole range
        {"stock.turns_to_waste", 1, 1},          // second base
        {"tableau.deal.1", 1, 1},                // plain number line
        {"tableau.deal.3", 3, 4},                // single element override
        {"tableau.deal.4", 0, 0},                // the rest of a range is cleared
        {"tableau.suit_rule.1", 3, 3},
        {"tableau.suit_rule.3", 0, 0},
        {"stock.deal", 46, 45},
        {"stock.deals", -1, -1},
    };
    for (const Row& r : rows) {
        const auto ref = findParam(r.param);
        ASSERT_TRUE(ref) << r.param;
        EXPECT_EQ(base.rules[ref->number], r.base) << r.param;
        EXPECT_EQ(variant.rules[ref->number], r.variant) << r.param;
    }
    EXPECT_EQ(base.rulesText, "First paragraph, continued.\n\nSecond # not a comment.");
    EXPECT_EQ(variant.rulesText, "First paragraph, continued.\n\nSecond # not a comment.\n\nAdded.");
    EXPECT_TRUE(checkCatalog(games).empty()) << checkCatalog(games).front();
}

// A valid one-game source with one line replaced or added, for the error table.
std::string withLine(std::string_view extra)
{
    return std::string(R"(defaults
  cards = 52
  foundation.suit_rule_all = -1
  tableau.suit_rule_all = -1
  layout.table_arrangement = 1
  layout.table_row = 2
  layout.foundation_arrangement = 31
game "Good"
  id = 3
  type = 9
  foundation.count = 4
  foundation.base = 4*1
  foundation.direction = 4*1
  tableau.count = 4
  tableau.deal = 13 13 13 13
  tableau.face = 4*13
  rules:
    > Text.
)") + std::string(extra) + "\n";
}

// Templates where each level names the one below twice: 2^depth applications if unguarded.
std::string diamondChain(int depth)
{
    std::string text = "template \"t0\"\n  stock.deal = 0\n";
    for (int i = 1; i <= depth; ++i)
        text += "template \"t" + std::to_string(i) + "\" : \"t" + std::to_string(i - 1) + "\", \"t" +
                std::to_string(i - 1) + "\"\n";
    return text + "game \"Diamond\" : \"t" + std::to_string(depth) + "\"\n  id = 9";
}

TEST(CatalogSource, BadSourcesGiveMessagesNamingGameAndParameter)
{
    struct Case {
        std::string text;
        std::vector<std::string> expected; // substrings of the first message
    };
    const Case cases[] = {
        {withLine("game \"Other\" : \"Good\"\n  id = 3"), {"\"Other\"", "\"id\"", "3", "\"Good\""}},
        {withLine("game \"good\" : \"Good\"\n  id = 4"), {"\"good\"", "name already used"}},
        {withLine("  tableau.sideways = 2"), {"\"Good\"", "unknown parameter \"tableau.sideways\""}},
        {withLine("  stock.deal = 40000"), {"\"Good\"", "\"stock.deal\"", "16 bits"}},
        {withLine("  stock.deal = 1"), {"\"Good\"", "stock.deal", "53 cards", "52"}},
        {withLine("  tableau.deal.4 = 12"), {"\"Good\"", "stock.deal", "1 cards unplaced"}},
        {withLine("  tableau.count = 41"), {"\"Good\"", "\"tableau.count\"", "0..40"}},
        {withLine("  foundation.count = 17"), {"\"Good\"", "\"foundation.count\"", "0..16"}},
        {withLine("  reserve.count = 13"), {"\"Good\"", "\"reserve.count\"", "0..12"}},
        {withLine("  layout.table_arrangement = 199"), {"\"Good\"", "layout.table_arrangement", "199"}},
        {withLine("  tableau.suit_rule.2 = 77"), {"\"Good\"", "tableau.suit_rule.2", "77"}},
        {withLine("  tableau.deal = 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 19 20 21 22 23 24 25 26 27 28 29 30 31 32 33 34 35 36 37 38 39 40 41"),
         {"\"Good\"", "tableau.deal", "41 values"}},
        {withLine("game \"Child\" : \"Nowhere\"\n  id = 9"), {"\"Child\"", "base \"Nowhere\""}},
        {withLine("game \"Loop\" : \"Loop\"\n  id = 9"), {"\"Loop\"", "loop"}},
        {withLine(diamondChain(30)), {"\"Diamond\"", "too many base blocks"}},
        {withLine("game \"No id\" : \"Good\""), {"\"No id\"", "\"id\" is missing"}},
        {withLine("game \"Kept\" : \"Good\"\n  id = 159"), {"\"Kept\"", "\"id\"", "159"}},
        {withLine("  tableau.direction = sideways"), {"\"Good\"", "tableau.direction", "sideways"}},
        {withLine("  just words"), {"\"Good\"", "name = value"}},
    };
    for (const Case& c : cases) {
        std::string message;
        auto blocks = parseCatalogSource(c.text, "bad.games");
        if (!blocks.ok()) {
            message = blocks.error();
        } else if (auto games = resolveCatalog(blocks.value()); !games.ok()) {
            message = games.error();
        } else {
            const auto errors = checkCatalog(games.value());
            ASSERT_FALSE(errors.empty()) << c.text;
            message = errors.front();
        }
        EXPECT_NE(message.find("bad.games:"), std::string::npos) << message;
        for (const std::string& e : c.expected)
            EXPECT_NE(message.find(e), std::string::npos) << "expected \"" << e << "\" in: " << message;
    }
}

TEST(CatalogSource, DealCheckCountsEveryCardOnce)
{
    auto good = resolveText(withLine(""));
    ASSERT_EQ(good.size(), 1u);
    EXPECT_TRUE(tools::checkGameDeal(good[0]).empty());

    // Only 48 of 52 cards are dealt: the engine's deal leaves four behind.
    auto shortDeal = good;
    shortDeal[0].rules.set(385, 9);
    const auto errors = tools::checkGameDeal(shortDeal[0]);
    ASSERT_FALSE(errors.empty());
    EXPECT_NE(errors[0].find("\"Good\""), std::string::npos) << errors[0];
    EXPECT_NE(errors[0].find("4 of 52 cards were not dealt"), std::string::npos) << errors[0];

    // The same deal is accepted when the game declares the four cards as meant to stay out.
    shortDeal[0].leftover = 4;
    EXPECT_TRUE(tools::checkGameDeal(shortDeal[0]).empty());
}

TEST(CatalogSource, LayoutCheckNeedsEveryPileInsideTheWindow)
{
    auto games = resolveText(withLine("  tableau.count = 20\n  tableau.deal = 12*3 8*2\n  tableau.face = 20*1"));
    ASSERT_EQ(games.size(), 1u);
    EXPECT_TRUE(tools::checkGameDeal(games[0]).empty());
    const auto errors = tools::checkGameLayout(games[0]);
    ASSERT_EQ(errors.size(), 2u) << "too wide for both screens";
    EXPECT_NE(errors[0].find("\"Good\""), std::string::npos) << errors[0];
    EXPECT_NE(errors[0].find("layout.table_arrangement"), std::string::npos) << errors[0];
    EXPECT_NE(errors[0].find("800 x 600"), std::string::npos) << errors[0];

    // The same twenty piles in two rows of ten fit 800 pixels but not 640 with standard cards...
    games[0].rules.set(366, 3);
    auto small = tools::checkGameLayout(games[0]);
    ASSERT_EQ(small.size(), 1u);
    EXPECT_NE(small[0].find("640 x 480"), std::string::npos) << small[0];
    // ...so the game either gets smaller cards on small screens or is kept off them.
    games[0].rules.set(40, 1);
    EXPECT_TRUE(tools::checkGameLayout(games[0]).empty()) << tools::checkGameLayout(games[0]).front();
    games[0].rules.set(40, 0);
    games[0].largeScreen = true;
    EXPECT_TRUE(tools::checkGameLayout(games[0]).empty());
}

TEST(CatalogSource, RulesTextsRoundTrip)
{
    const auto games = resolveText(kSample);
    const std::string text = writeRulesTexts(games);
    EXPECT_NE(text.find("[Game 007]\r\nName=Base Game\r\nText=First paragraph, continued.\r\n"), std::string::npos);
    auto back = readRulesTexts(text);
    ASSERT_TRUE(back.ok()) << back.error();
    ASSERT_EQ(back->size(), 2u);
    EXPECT_EQ((*back)[1].id, 9);
    EXPECT_EQ((*back)[1].name, "Variant # two");
    EXPECT_EQ((*back)[1].paragraphs,
              (std::vector<std::string>{"First paragraph, continued.", "Second # not a comment.", "Added."}));

    auto bad = readRulesTexts("Text=orphan\r\n", "R.DAT");
    ASSERT_FALSE(bad.ok());
    EXPECT_NE(bad.error().find("R.DAT:1"), std::string::npos);
}

} // namespace
} // namespace cw::catalog
