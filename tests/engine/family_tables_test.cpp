// The special families' scores, win tests, gap rule and automatic steps over small hand-built tables.
#include <gtest/gtest.h>

#include "engine/families/family_drops.h"
#include "engine/families/family_scores.h"
#include "engine/families/family_steps.h"
#include "engine/families/family_wins.h"
#include "engine/families/gap_rules.h"
#include "family_support.h"

using namespace cw::engine;
using namespace cw::engine::families;
using namespace cw::test;

namespace {

// Thirteen piles with one card each, the given ranks in hearts then clubs.
std::vector<PileSpec> topsOfRanks(std::initializer_list<int> ranks)
{
    std::vector<PileSpec> out;
    int i = 0;
    static const char* names[] = {"Ah", "2h", "3h", "4h", "5h", "6h", "7h", "8h", "9h", "Th", "Jh", "Qh", "Kh"};
    for (int r : ranks) {
        ++i;
        out.push_back({"Fila" + std::to_string(i), {names[r - 1]}});
    }
    return out;
}

std::vector<PileSpec> gapRows(bool gapAtEnd)
{
    std::vector<PileSpec> rows;
    const std::string suits = "hdcs";
    for (int s = 0; s < 4; ++s) {
        PileSpec p{"Fila" + std::to_string(s + 1), {}};
        for (char r : std::string("23456789TJQK"))
            p.codes.push_back(std::string{r, suits[static_cast<std::size_t>(s)]});
        if (gapAtEnd)
            p.codes.push_back("--");
        else
            p.codes.insert(p.codes.begin() + 5, "--");
        rows.push_back(p);
    }
    return rows;
}

} // namespace

TEST(FamilyTables, Scores)
{
    struct Case {
        const char* name;
        cw::catalog::Rules rules;
        std::vector<PileSpec> piles;
        int expected;
    };
    const std::vector<Case> cases = {
        {"32: 2 3 4 of clubs counts the 2 and the 3", familyRules(32, 4), {{"Fila1", {"2c", "3c", "4c"}}}, -52 + 10},
        {"32: a row not starting with a Two", familyRules(32, 4), {{"Fila1", {"3c", "4c", "5c"}}}, -52},
        {"32: the game's units", familyRules(32, 4, {{48, 2}}), {{"Fila1", {"2c", "--"}}}, 10 - 52 + 5},
        {"34: bottoms A of diamonds, 2 and 4 of hearts",
         familyRules(34, 13),
         {{"Fila1", {"Ad"}}, {"Fila2", {"2h"}}, {"Fila3", {"4h"}}},
         -52 + 20},
        {"35: ten per card put away", familyRules(35, 4), {{"Mazzo_Waste", {"2c", "3c"}}}, -52 + 20},
        {"40: face-up cards on their own piles",
         familyRules(40, 13),
         {{"Fila1", {"Ah", "5c"}, {"5c"}}, {"Fila13", {"Kh", "Kc"}}, {"Fila2", {"3d"}}},
         -52 + 15},
        {"41: empty foundations from the second",
         familyRules(41, 8, {{374, 4}}),
         {{"Dest1", {"5c"}}, {"Dest3", {"Kh"}}},
         -52 + 40},
        {"42: a card that does not fit scores nothing, the count goes on",
         familyRules(42, 2),
         {{"Fila1", {"5h", "6c", "9d", "8s"}}, {"Fila2", {"Qh", "Kc", "Ad"}}},
         -52 + 15 + 15},
        {"43: nine down to the Ace",
         familyRules(43, 2),
         {{"Fila1", {"9h", "8c", "7d", "6s", "5h", "4c", "3d", "2s", "Ah"}}},
         -52 + 225},
        {"43: ten cards ending 9 to Ace",
         familyRules(43, 2),
         {{"Fila1", {"Kh", "9h", "8c", "7d", "6s", "5h", "4c", "3d", "2s", "Ah"}}},
         -52},
        {"44: tops Ace to King", familyRules(44, 13), topsOfRanks({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13}), 150},
        {"44: tops up to the first empty pile", familyRules(44, 13), topsOfRanks({13, 12}), -52},
        {"46: Ace and Two pay ten, then five", familyRules(46, 1), {{"Fila1", {"Ah", "2h", "3h"}}}, -32 + 15},
        {"46: the run wraps to the first pile",
         familyRules(46, 2),
         {{"Fila1", {"2s", "3s", "Ah"}}, {"Fila2", {"Kc", "As"}}},
         -32 + 15},
        {"46: a King never scores after a Queen",
         familyRules(46, 1),
         {{"Fila1", {"Ah", "2h", "3h", "4h", "5h", "6h", "7h", "8h", "9h", "Th", "Jh", "Qh", "Kh"}}},
         -32 + 10 + 50},
        {"47: cards left on the tableau", familyRules(47, 4), {{"Fila1", {"2c"}}, {"Mazzo_Waste", {"3c"}}}, -52 + 5},
        {"47: the last tableau pile emptied", familyRules(47, 4), {{"Mazzo_Waste", {"3c"}}}, 4 * 52},
        {"48: cards put away on foundation 2", familyRules(48, 1), {{"Dest2", {"3c", "4c"}}}, -52 + 10},
        {"49: the 24 gallery piles",
         familyRules(49, 25, {{48, 4}}),
         {{"Fila24", {"2c", "5c"}}, {"Fila25", {"Kc"}}},
         20 - 52 + 10},
        {"55: positions of the tableau", familyRules(55, 1), {{"Fila1", {"2c", "--", "5c"}}}, -52 + 15},
        {"62: reserves and foundations",
         familyRules(62, 9, {{376, 2}, {374, 1}}),
         {{"Appogg1", {"2c"}}, {"Dest1", {"3c"}}, {"Appogg3", {"4c"}}},
         -52 + 10},
        {"65: tableau and foundations",
         familyRules(65, 2, {{374, 1}}),
         {{"Fila1", {"2c"}}, {"Dest1", {"3c"}}},
         -52 + 10},
        {"70: the game's units and the second waste",
         familyRules(70, 1, {{48, 3}}),
         {{"Mazzo_Waste", {"3c"}}},
         15 - 52 + 5},
        {"73: King, Queen and Jack from the bottom",
         familyRules(73, 2, {{374, 1}}),
         {{"Fila1", {"Kh", "Qh", "Jh"}}, {"Fila2", {"Kc", "Jc"}}, {"Dest1", {"Ah"}}},
         -52 + 5 + 15 + 5},
        {"79: runs in alternating colours from pile 3",
         familyRules(79, 4),
         {{"Fila1", {"Kh", "Qs"}}, {"Fila3", {"Kh", "Qs", "Jd", "Th"}}, {"Fila4", {"Qh"}}},
         -52 + 15},
        {"81: the square's rows, columns and main diagonal",
         familyRules(81, 9, {{52, 21}}),
         {{"Fila1", {"Ah"}},
          {"Fila2", {"5h"}},
          {"Fila3", {"9h"}},
          {"Fila4", {"5c"}},
          {"Fila5", {"9c"}},
          {"Fila6", {"Ac"}},
          {"Fila7", {"9d"}},
          {"Fila8", {"Ad"}},
          {"Fila9", {"5d"}}},
         21},
        {"82: two decks, the first eight piles", familyRules(82, 9), {{"Fila8", {"2c"}}, {"Fila9", {"3c"}}}, -104 + 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Table t = tableFrom(c.piles);
        EXPECT_EQ(familyScore(FamilyScoreInput{c.rules, t}), c.expected);
    }
    const Table none;
    EXPECT_FALSE(familyScore(FamilyScoreInput{familyRules(0, 7), none}).has_value());
    EXPECT_FALSE(familyScore(FamilyScoreInput{familyRules(8, 25), none}).has_value());
}

TEST(FamilyTables, ScoresReadingTheDeal)
{
    // Family 74 scores nothing while the deal is laid out, then 20 per position adding up to 30.
    const auto thirty = familyRules(74, 4, {{378, 48}});
    const Table t =
        tableFrom({{"Fila1", {"Kh", "2c"}}, {"Fila2", {"Kc", "3c"}}, {"Fila3", {"2h", "--"}}, {"Fila4", {"2d", "4c"}}});
    EXPECT_EQ(familyScore(FamilyScoreInput{thirty, t, false}), 0);
    EXPECT_EQ(familyScore(FamilyScoreInput{thirty, t, true}), 20 - 48 + 20);

    // Family 57: the rank sums of the four rows against the deal's targets.
    // Row 1 holds 2 + 3 + 4 + 10; the other rows are empty.
    const Table rows = tableFrom({{"Fila1", {"2h"}}, {"Fila2", {"3c"}}, {"Fila3", {"4d"}}, {"Fila4", {"Ts"}}});
    FamilyScoreInput in{familyRules(57, 16), rows};
    in.rowTargets = {19, 0, 0, 0};
    EXPECT_EQ(familyScore(in), 48);
    in.rowTargets = {18, 0, 0, 0};
    EXPECT_EQ(familyScore(in), -52);

    // Family 58: five foundations adding up to the target.
    const Table five =
        tableFrom({{"Dest1", {"Ah"}}, {"Dest2", {"2h"}}, {"Dest3", {"3h"}}, {"Dest4", {"4h"}}, {"Dest5", {"Th"}}});
    FamilyScoreInput f{familyRules(58, 10), five};
    f.targetSum = 20;
    EXPECT_EQ(familyScore(f), 23);
    f.targetSum = 21;
    EXPECT_EQ(familyScore(f), -52);
}

TEST(FamilyTables, GroupScoreOfTheSecondWaste)
{
    EXPECT_EQ(groupPoints64(cards({"7h", "8c"})), 5);
    EXPECT_EQ(groupPoints64(cards({"4h", "3c", "5d"})), 0);
    EXPECT_EQ(groupPoints64(cards({"Kh"})), 0);
    EXPECT_EQ(groupPoints64(cards({"4h", "3c", "2d"})), 9);

    // Snapshots: nothing, then 7+8 arrived, then a lone 3; the current waste adds a 4 and a 2.
    const std::vector<std::vector<int>> history = {
        {}, cards({"7h", "8c"}), cards({"7h", "8c"}), cards({"7h", "8c", "3d"})};
    const Table t = tableFrom({{"Mazzo_Waste", {"7h", "8c", "3d", "4s", "2s"}}});
    EXPECT_EQ(groupScore64(52, history, t.secondWaste()), -52 + 5 + 3 + 6);
}

TEST(FamilyTables, Wins)
{
    struct Case {
        const char* name;
        cw::catalog::Rules rules;
        std::vector<PileSpec> piles;
        bool won;
        int score = 0;
    };
    const std::vector<Case> cases = {
        {"31: four lone Aces",
         familyRules(31, 4),
         {{"Fila1", {"Ah"}}, {"Fila2", {"Ac"}}, {"Fila3", {"Ad"}}, {"Fila4", {"As"}}},
         true},
        {"31: an Ace with a card on it",
         familyRules(31, 4),
         {{"Fila1", {"Ah", "2h"}}, {"Fila2", {"Ac"}}, {"Fila3", {"Ad"}}, {"Fila4", {"As"}}},
         false},
        {"31: cards left in the stock",
         familyRules(31, 4),
         {{"Fila1", {"Ah"}}, {"Fila2", {"Ac"}}, {"Fila3", {"Ad"}}, {"Fila4", {"As"}}, {"Mazzo", {"2h"}}},
         false},
        {"32: rows from Two to King, then a gap", familyRules(32, 4), gapRows(true), true},
        {"32: a gap inside a row", familyRules(32, 4), gapRows(false), false},
        {"85: one card left", familyRules(85, 3), {{"Fila2", {"5h"}}}, true},
        {"85: two piles of one card", familyRules(85, 3), {{"Fila2", {"5h"}}, {"Fila3", {"6h"}}}, false},
        {"44: the tops add up to 91", familyRules(44, 13), topsOfRanks({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13}),
         true},
        {"21: two cards in the row, stock empty", familyRules(21, 1), {{"Fila1", {"5h", "--", "9c"}}}, true},
        {"21: the stock still holds cards",
         familyRules(21, 1),
         {{"Fila1", {"5h", "--", "9c"}}, {"Mazzo", {"Ks"}}},
         false},
        {"22: three cards left", familyRules(22, 1), {{"Fila1", {"Qh", "--", "9c", "--", "Kh"}}}, false},
        {"48: one card left", familyRules(48, 1), {{"Fila1", {"9c"}}}, true},
        {"48: one card behind a placeholder", familyRules(48, 1), {{"Fila1", {"--", "9c"}}}, false},
        {"45: the four Aces left",
         familyRules(45, 16),
         {{"Fila1", {"Ah"}}, {"Fila6", {"Ac"}}, {"Fila11", {"Ad"}}, {"Fila16", {"As"}}},
         true},
        {"45: five cards left",
         familyRules(45, 16),
         {{"Fila1", {"Ah"}}, {"Fila6", {"Ac"}}, {"Fila11", {"Ad"}}, {"Fila16", {"As"}}, {"Fila2", {"2s"}}},
         false},
        {"41: the face cards are gone", familyRules(41, 8, {{374, 3}}), {{"Dest1", {"2h"}}}, true},
        {"41: a face card left", familyRules(41, 8, {{374, 3}}), {{"Dest3", {"Jh"}}}, false},
        {"43: nine down to the Ace",
         familyRules(43, 4),
         {{"Fila3", {"9h", "8c", "7d", "6s", "5h", "4c", "3d", "2s", "Ah"}}},
         true},
        {"55: the stock is used up", familyRules(55, 1), {{"Fila1", {"5h"}}}, true},
        {"40: the score reaches the target", familyRules(40, 13, {{53, 208}}), {}, true, 208},
        {"40: below the target", familyRules(40, 13, {{53, 208}}), {}, false, 203},
        {"46: the row score reaches the target",
         familyRules(46, 1, {{53, -17}}),
         {{"Fila1", {"Ah", "2h", "3h"}}},
         true},
        {"62: piles 1 to 9 and the stock empty", familyRules(62, 12), {{"Fila10", {"5h"}}}, true},
        {"64: piles 1 to 3 empty, a card in the stock", familyRules(64, 5), {{"Mazzo", {"5h"}}}, false},
        {"65: stock and waste empty", familyRules(65, 5), {{"Fila1", {"5h"}}}, true},
        {"72: five cards on every pile", familyRules(72, 1), {{"Fila1", {"5h", "6h", "7h", "8h", "9h"}}}, true},
        {"73: court piles and foundations of ten",
         familyRules(73, 1, {{374, 1}}),
         {{"Fila1", {"Kh", "Qh", "Jh"}}, {"Dest1", {"Ah", "2h", "3h", "4h", "5h", "6h", "7h", "8h", "9h", "Th"}}},
         true},
        {"74: every position adds up to 30",
         familyRules(74, 4),
         {{"Fila1", {"--", "Kh"}}, {"Fila2", {"--", "Kc"}}, {"Fila3", {"--", "2h"}}, {"Fila4", {"--", "2d"}}},
         true},
        {"74: a gap after a card",
         familyRules(74, 4),
         {{"Fila1", {"Kh", "--"}}, {"Fila2", {"Kc", "--"}}, {"Fila3", {"2h", "--"}}, {"Fila4", {"2d", "4c"}}},
         false},
        {"79: runs from Kings in alternating colours",
         familyRules(79, 4),
         {{"Fila3", {"Kh", "Qs", "Jd"}}, {"Fila4", {"Ks"}}},
         true},
        {"79: same colours", familyRules(79, 4), {{"Fila3", {"Kh", "Qd"}}}, false},
        {"81: a magic square",
         familyRules(81, 9),
         {{"Fila1", {"2h"}},
          {"Fila2", {"7h"}},
          {"Fila3", {"6h"}},
          {"Fila4", {"9h"}},
          {"Fila5", {"5h"}},
          {"Fila6", {"Ah"}},
          {"Fila7", {"4h"}},
          {"Fila8", {"3h"}},
          {"Fila9", {"8h"}}},
         true},
        {"82: reserves left", familyRules(82, 8, {{376, 1}}), {{"Appogg1", {"5h"}}}, false},
        {"52: eight cards on reserve 1",
         familyRules(52, 4),
         {{"Appogg1", {"Ah", "2h", "3h", "4h", "5h", "6h", "7h", "8h"}}},
         true},
        {"27: one card on every pile", familyRules(27, 2), {{"Fila1", {"5h"}}, {"Fila2", {"6h"}}}, true},
        {"49: four cards on each of 24 piles", familyRules(49, 25), {{"Fila1", {"2h", "5h", "8h", "Jh"}}}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Table t = tableFrom(c.piles);
        EXPECT_EQ(familyWon(FamilyWinInput{c.rules, t, c.score}), c.won);
    }
    const Table none;
    EXPECT_FALSE(familyWon(FamilyWinInput{familyRules(8, 25), none}).has_value()) << "Monte Carlo empties the table";
}

TEST(FamilyTables, GapRule)
{
    const auto montana = familyRules(32, 2);
    const Table t = tableFrom({{"Fila1", {"--", "5h", "--"}}, {"Fila2", {"Qs", "--"}}});
    EXPECT_TRUE(gapAccepts(montana, t, 0, 0, card("2c")));
    EXPECT_FALSE(gapAccepts(montana, t, 0, 0, card("3c"))) << "a row starts with a Two";
    EXPECT_TRUE(gapAccepts(montana, t, 0, 2, card("6h")));
    EXPECT_FALSE(gapAccepts(montana, t, 0, 2, card("6c")));
    EXPECT_FALSE(gapAccepts(montana, t, 0, 1, card("6h"))) << "not a gap";
    EXPECT_EQ(firstAcceptingGap(montana, t, card("Ks")), (CardSpot{PileRef::tableau(1), 1}));
    EXPECT_FALSE(firstAcceptingGap(montana, t, card("9d")).found());

    Table m = tableFrom({{"Fila1", {"--", "5h", "--"}}, {"Fila2", {"Qs", "--", "6h"}}});
    ASSERT_TRUE(moveIntoGap(montana, m, card("6h"), {PileRef::tableau(0), 2}));
    EXPECT_EQ(m.tableau(0).top(), card("6h"));
    EXPECT_EQ(m.tableau(1).top(), 0) << "the old place becomes a gap";
    EXPECT_FALSE(moveIntoGap(montana, m, card("Qs"), {PileRef::tableau(0), 0}));

    // Family 46 reads the rows as a ring, and an Ace may follow any Queen.
    const auto ring = familyRules(46, 2);
    const Table r = tableFrom({{"Fila1", {"--", "7c", "--"}}, {"Fila2", {"Qd", "--", "9h"}}});
    EXPECT_TRUE(gapAccepts(ring, r, 0, 0, card("Th"))) << "one above the last card of the last pile";
    EXPECT_TRUE(gapAccepts(ring, r, 0, 0, card("6c"))) << "one below the card after the gap";
    EXPECT_FALSE(gapAccepts(ring, r, 0, 0, card("8h")));
    EXPECT_TRUE(gapAccepts(ring, r, 0, 2, card("Jd"))) << "one below the first card of the next pile";
    EXPECT_TRUE(gapAccepts(ring, r, 1, 1, card("As"))) << "an Ace after a Queen of any suit";
    EXPECT_TRUE(gapAccepts(ring, r, 1, 1, card("Kd")));
    EXPECT_FALSE(gapAccepts(ring, r, 1, 1, card("2s")));

    // Family 74 takes any card into any gap.
    EXPECT_TRUE(gapAccepts(familyRules(74, 2), r, 1, 1, card("2s")));
}

TEST(FamilyTables, AutomaticSteps)
{
    // Family 29: four of a kind at the top leave; a fifth below them stays.
    Table t = tableFrom({{"Fila1", {"7s2", "7c", "7h", "7s", "7d"}}, {"Fila2", {"7c2", "7h2", "8s", "7d2"}}});
    EXPECT_EQ(fourOfAKindLeave(t, 0).size(), 4U);
    EXPECT_EQ(t.tableau(0).size(), 1U);
    EXPECT_EQ(t.secondWaste().bottom(), card("7d")) << "top card first";
    EXPECT_TRUE(fourOfAKindLeave(t, 1).empty());

    // Family 30: a King brings its Queen, a Jack its Ace, to the foundation four below.
    const auto partners = familyRules(30, 8, {{374, 8}});
    Table p = tableFrom({{"Dest6", {"Ks"}}, {"Fila3", {"Qs", "4c"}}, {"Dest7", {"Jh"}}, {"Mazzo_Vis", {"Ah"}}});
    const auto q = partnerFollows(partners, p, 6, card("Ks"));
    ASSERT_TRUE(q.has_value());
    EXPECT_EQ(p.foundation(1).top(), card("Qs"));
    ASSERT_TRUE(partnerFollows(partners, p, 7, card("Jh")).has_value());
    EXPECT_EQ(p.foundation(2).top(), card("Ah"));
    EXPECT_FALSE(partnerFollows(partners, p, 3, card("Kc")).has_value()) << "below foundation 5";

    // Family 40: a King put on pile 13 whose card below is face up hands the turn on to the next
    // pile with a face-down top card, from pile 1 again after pile 13.
    std::vector<PileSpec> clock;
    for (int c = 1; c <= 12; ++c)
        clock.push_back({"Fila" + std::to_string(c), {}});
    clock[2] = {"Fila3", {"9c", "5d"}, {"9c", "5d"}};
    clock.push_back({"Fila13", {"Kh", "Kc"}});
    Table k = tableFrom(clock);
    const CardMoves moves = clockStep(familyRules(40, 13), k, 12);
    EXPECT_EQ(k.tableau(12).bottom(), card("Kc"));
    EXPECT_EQ(k.tableau(2).bottom(), card("5d")) << "pile 3's face-down top went under";
    EXPECT_TRUE(k.isFaceUp(card("9c")));
    EXPECT_FALSE(moves.empty());

    EXPECT_EQ(pileCountLabel(1), "1 card");
    EXPECT_EQ(pileCountLabel(12), "12 cards");
    EXPECT_EQ(pileCountLabel(13), "Completed");
}

TEST(FamilyTables, DropRules)
{
    struct Case {
        const char* name;
        cw::catalog::Rules rules;
        std::vector<PileSpec> piles;
        const char* card;
        const char* from;
        const char* to;
        DropRule expected;
    };
    const std::vector<PileSpec> acesUp = {{"Fila1", {"5h"}}, {"Fila2", {"9h"}}, {"Fila3", {"Ac"}}, {"Fila4", {}}};
    const std::vector<PileSpec> puzzle = {{"Fila5", {"3h"}}, {"Fila6", {"4h"}}};
    const std::vector<PileSpec> couples = {
        {"Dest1", {"Ac"}}, {"Fila1", {"Jh"}}, {"Fila2", {"Kc"}}, {"Fila3", {"Ah"}}, {"Dest2", {"Td"}}};
    const std::vector<Case> cases = {
        {"29: onto its own rank",
         familyRules(29, 13),
         {{"Fila1", {"7c"}}, {"Fila2", {"7h"}}},
         "7c",
         "Fila1",
         "Fila2",
         DropRule::Allow},
        {"29: onto another rank",
         familyRules(29, 13),
         {{"Fila1", {"7c"}}, {"Fila2", {"8h"}}},
         "7c",
         "Fila1",
         "Fila2",
         DropRule::Refuse},
        {"29: an empty pile by the ordinary rule",
         familyRules(29, 13),
         {{"Fila1", {"7c"}}},
         "7c",
         "Fila1",
         "Fila2",
         DropRule::Ordinary},
        {"31: a higher heart on another pile", familyRules(31, 4), acesUp, "5h", "Fila1", "Dest1", DropRule::Allow},
        {"31: nothing higher", familyRules(31, 4), acesUp, "9h", "Fila2", "Dest1", DropRule::Refuse},
        {"31: an Ace ranks high", familyRules(31, 4), acesUp, "Ac", "Fila3", "Dest1", DropRule::Refuse},
        {"34: beside the empty place",
         familyRules(34, 9),
         {{"Fila8", {"3h"}}},
         "3h",
         "Fila8",
         "Fila9",
         DropRule::Allow},
        {"34: above the empty place", familyRules(34, 9), {{"Fila6", {"3h"}}}, "3h", "Fila6", "Fila9", DropRule::Allow},
        {"34: corner to corner", familyRules(34, 9), puzzle, "3h", "Fila5", "Fila9", DropRule::Refuse},
        {"40: to its own pile",
         familyRules(40, 13),
         {{"Fila13", {"5c"}}, {"Fila5", {"2h"}}},
         "5c",
         "Fila13",
         "Fila5",
         DropRule::Allow},
        {"40: to another pile", familyRules(40, 13), {{"Fila13", {"5c"}}}, "5c", "Fila13", "Fila6", DropRule::Refuse},
        {"49: an Ace to the last pile",
         familyRules(49, 25),
         {{"Appogg1", {"Ah"}}},
         "Ah",
         "Appogg1",
         "Fila25",
         DropRule::Allow},
        {"49: the gallery builds in suit",
         familyRules(49, 25),
         {{"Fila1", {"4h"}}, {"Appogg1", {"7c"}}},
         "7c",
         "Appogg1",
         "Fila1",
         DropRule::Refuse},
        {"49: same suit to the ordinary test",
         familyRules(49, 25),
         {{"Fila1", {"4h"}}, {"Appogg1", {"7h"}}},
         "7h",
         "Appogg1",
         "Fila1",
         DropRule::Ordinary},
        {"52: a King to the royal pile",
         familyRules(52, 10),
         {{"Fila1", {"Kh"}}},
         "Kh",
         "Fila1",
         "Appogg1",
         DropRule::Allow},
        {"52: a Queen", familyRules(52, 10), {{"Fila1", {"Qh"}}}, "Qh", "Fila1", "Appogg1", DropRule::Refuse},
        {"30: an Ace waits for its Jack", familyRules(30, 8), couples, "Ah", "Fila3", "Dest3", DropRule::Refuse},
        {"30: a Jack over an empty partner", familyRules(30, 8), couples, "Jh", "Fila1", "Dest7", DropRule::Ordinary},
        {"30: a Jack over a started partner", familyRules(30, 8), couples, "Jh", "Fila1", "Dest5", DropRule::Refuse},
        {"30: a King without his Ten below", familyRules(30, 8), couples, "Kc", "Fila2", "Dest5", DropRule::Refuse},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Table t = tableFrom(c.piles);
        EXPECT_EQ(familyDrop(c.rules, t, card(c.card), 1, pileFromName(c.from), pileFromName(c.to)), c.expected);
    }
}

TEST(FamilyTables, GapRowsRedeal)
{
    // The runs from a Two stay; everything else is dealt again after one gap per row, every row
    // keeping its places.
    Table t = tableFrom({{"Fila1", {"2h", "3h", "9c", "--", "5d"}}, {"Fila2", {"4s", "2c", "--", "Kd", "7h"}}});
    redealGapRows(familyRules(32, 2), t, nullptr);
    EXPECT_EQ(t.tableau(0).size(), 5U);
    EXPECT_EQ(t.tableau(1).size(), 5U);
    EXPECT_EQ(t.tableau(0)[0], card("2h"));
    EXPECT_EQ(t.tableau(0)[1], card("3h"));
    EXPECT_EQ(t.tableau(0)[2], 0);
    EXPECT_EQ(t.tableau(1)[0], 0);
    EXPECT_EQ(t.cardCount(), 8);
}
