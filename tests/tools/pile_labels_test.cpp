// The piles' information labels, the pile names file (good, damaged, absent) and the tip of the day's steps.
#include <gtest/gtest.h>

#include "storage/temp_dir.h"
#include "tools/core/pile_labels.h"
#include "tools/core/tips.h"

namespace cw::tools {
namespace {

using engine::PileRef;

TEST(PileLabels, KindAndCountTexts)
{
    struct Row {
        std::string word;
        int cardWidth;
        std::string line;
    };
    const Row rows[] = {
        {"Foundation", 71, "Found."}, {"Foundation", 40, "Found."}, {"Tableau", 71, "Tableau"},
        {"Tableau", 70, "Tabl."},     {"Reserve", 70, "Res."},      {"Reserve", 71, "Reserve"},
        {"Stock", 40, "Stock"},       {"Waste", 40, "Waste"},       {"Left Foundation", 80, "Left Found."},
    };
    for (const Row& r : rows)
        EXPECT_EQ(kindLine(r.word, r.cardWidth), r.line) << r.word << " " << r.cardWidth;
    EXPECT_EQ(cardCountText(0), "0 cards");
    EXPECT_EQ(cardCountText(1), "1 card");
    EXPECT_EQ(cardCountText(2), "2 cards");
}

TEST(PileLabels, EveryPileInUseInDrawingOrder)
{
    catalog::Rules rules;
    rules.set(375, 2);
    rules.set(376, 1);
    rules.set(374, 1);
    engine::Table table;
    table.append(PileRef::tableau(0), 5, false);
    table.append(PileRef::tableau(0), 0);
    table.append(PileRef::tableau(0), 6, true);
    table.append(PileRef::foundation(0), 1, true);
    table.append(PileRef::stock(), 7, false);
    const auto onTable = [](PileRef p) { return p.kind != engine::PileKind::SecondWaste; };
    const std::vector<PileLabel> labels = pileLabels(rules, table, 3, 71, PileNames{}, onTable);
    const std::vector<PileLabel> expected = {
        {PileRef::tableau(0), "Tableau", "3 cards"}, // a placeholder is a position of the pile
        {PileRef::tableau(1), "Tableau", "0 cards"},  {PileRef::reserve(0), "Reserve", "0 cards"},
        {PileRef::foundation(0), "Found.", "1 card"}, {PileRef::stock(), "Stock", "1 card"},
        {PileRef::waste(), "Waste", "0 cards"},
    };
    EXPECT_EQ(labels, expected);
    // The snake and grid styles count real cards only; a stock off the table has no label.
    rules.set(3, 8);
    const auto noStock = [](PileRef) { return false; };
    const std::vector<PileLabel> snake = pileLabels(rules, table, 3, 60, PileNames{}, noStock);
    ASSERT_EQ(snake.size(), 4u);
    EXPECT_EQ(snake[0], (PileLabel{PileRef::tableau(0), "Tabl.", "2 cards"}));
}

TEST(PileLabels, NamesFileGivesGamesTheirOwnWords)
{
    EXPECT_EQ(pileNameKey(18, PileRef::tableau(2)), "0018TD03");
    EXPECT_EQ(pileNameKey(18, PileRef::foundation(11)), "0018FD12");
    EXPECT_EQ(pileNameKey(7, PileRef::stock()), "0007SD01");
    EXPECT_EQ(pileNameKey(7, PileRef::secondWaste()), "0007WD02");
    EXPECT_EQ(unscramblePileText(scramblePileText("Left Foundation,more")), "Left Foundation,more");

    storage::test::TempDir dir;
    const std::string path = dir.write(
        "cwdr.dat", writePileNamesFile({{"0018TD01", "Pyramid Tableau,ignored"}, {"0018FD01", "Discard pile"}}));
    const PileNames names = PileNames::load(dir.file("CWDR.DAT")); // names match without regard to case
    EXPECT_EQ(names.name(18, PileRef::tableau(0)), "Pyramid Tableau");
    EXPECT_EQ(names.name(18, PileRef::tableau(1)), "");
    EXPECT_EQ(names.name(19, PileRef::tableau(0)), "");
    catalog::Rules rules;
    rules.set(375, 1);
    rules.set(374, 1);
    const auto labels = pileLabels(rules, engine::Table{}, 18, 60, names, {});
    ASSERT_EQ(labels.size(), 2u);
    EXPECT_EQ(labels[0].kind, "Pyramid Tabl.");
    EXPECT_EQ(labels[1].kind, "Discard pile");

    // Damaged files: whatever cannot be unscrambled is left out; the rest still counts.
    const std::string good = scramblePileText("0018TD01") + "=" + scramblePileText("Row");
    const std::string damaged[] = {
        "",
        "\x01\x02\xFF garbage without lines",
        "[Other]\r\n" + good + "\r\n",                                                      // not the "Main" section
        "[Main]\r\n" + good.substr(0, good.size() - 1) + "\r\n",                            // odd length
        "[Main]\r\nZZ" + good.substr(2) + "\r\n",                                           // not hex
        "[Main]\r\n" + scramblePileText("0018TD01") + "=" + scramblePileText(",") + "\r\n", // empty name
    };
    for (const std::string& text : damaged)
        EXPECT_TRUE(PileNames::parse(text).empty()) << text;
    EXPECT_EQ(PileNames::parse("junk\r\n[Main]\r\nAB=CD=\r\n" + good + "\r\n").name(18, PileRef::tableau(0)), "Row");
    EXPECT_TRUE(PileNames::load(dir.file("missing.dat")).empty());
}

TEST(Tips, OpeningAndStepping)
{
    ASSERT_EQ(tipCount(), 28);
    EXPECT_EQ(openingTip(0), 1); // no saved number reads as 0: the first opening shows hint 1
    EXPECT_EQ(openingTip(5), 6);
    EXPECT_EQ(openingTip(27), 0);
    EXPECT_EQ(openingTip(-7), 0);
    EXPECT_EQ(openingTip(1000), 0);
    EXPECT_EQ(nextTip(27), 0);
    EXPECT_EQ(previousTip(0), 27);
    EXPECT_EQ(previousTip(nextTip(5)), 5);
}

} // namespace
} // namespace cw::tools
