// Cribbage games read from the table: the scored hand and crib, the game's total over the undo history, the full square.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "engine/families/cribbage_table.h"
#include "engine/freecell_board.h"
#include "engine/history.h"

namespace {

using namespace cw::engine;

// Lays cards on tableau piles from `first` on, one each; "--" leaves a pile empty.
void lay(Table& t, int first, const std::string& text)
{
    std::istringstream in(text);
    int pile = first;
    for (std::string w; in >> w; ++pile)
        if (w != "--")
            t.append(PileRef::tableau(pile), freecellCardCode(w), true);
}

void stock(Table& t, int cards)
{
    for (int i = 0; i < cards; ++i)
        t.append(PileRef::stock(), 100 + i, false); // second-deck filler: never scored here
}

TEST(CribbageTable, HandAndCribScoredOnceTheStarterIsCut)
{
    Table t;
    stock(t, 20);
    lay(t, 0, "2C 9D 3H 4S 5H 5D 5C JS -- --");
    EXPECT_FALSE(scoreCribbageTable(t).scored); // laid away, no starter yet

    t.append(PileRef::tableau(kStarterPile), freecellCardCode("5S"), true);
    CribbageTableScore s = scoreCribbageTable(t);
    ASSERT_TRUE(s.scored);
    EXPECT_EQ(s.hand.total(), 29);
    EXPECT_EQ(s.crib, (CribbageScore{2, 0, 4, 0, 0})); // 2+9+4, the run 2-3-4-5 with the starter
    EXPECT_EQ(s.current(), 29 + s.crib.total());

    // With the stock empty the crib scores nothing.
    t.stock().clear();
    EXPECT_EQ(scoreCribbageTable(t).crib, CribbageScore{});
}

TEST(CribbageTable, LastHandAloneWithoutStarter)
{
    Table t;
    lay(t, 4, "2H 4H 6H JH");
    const CribbageTableScore s = scoreCribbageTable(t);
    ASSERT_TRUE(s.scored);
    EXPECT_TRUE(s.lastHand);
    EXPECT_EQ(s.hand, (CribbageScore{0, 0, 0, 4, 0}));
    // The same cards while the stock still holds cards are a hand being played, not scored.
    stock(t, 4);
    EXPECT_FALSE(scoreCribbageTable(t).scored);
}

TEST(CribbageTable, TotalCountsTheHandsClearedAndTheOneOnTheTable)
{
    HistoryList undo;
    Table hand1;
    stock(hand1, 44);
    lay(hand1, 0, "KD QD -- -- 5H 5D 5C JS 7C 8C");
    undo.snapshots.push(hand1);
    Table scored1;
    stock(scored1, 43);
    lay(scored1, 0, "KD QD 7C 8C 5H 5D 5C JS -- -- 5S");
    undo.snapshots.push(scored1);
    const int first = scoreCribbageTable(scored1).current();
    EXPECT_EQ(cribbagePatienceTotal(&undo, scored1), first); // the table shows it (no transition yet)

    Table hand2;
    stock(hand2, 36);
    lay(hand2, 0, "AD 2D -- -- 3C 4C 9S TH QS KS");
    EXPECT_EQ(cribbagePatienceTotal(&undo, hand2), first); // cleared: counted from the history
    undo.snapshots.push(hand2);
    Table scored2 = hand2;
    scored2.tableau(4).clear();
    scored2.tableau(5).clear();
    lay(scored2, 2, "3C 4C");
    lay(scored2, 10, "2H");
    const int second = scoreCribbageTable(scored2).current();
    EXPECT_EQ(cribbagePatienceTotal(&undo, scored2), first + second);
    EXPECT_EQ(cribbagePatienceTotal(nullptr, scored2), second);

    // An undo of the first scoring (the history shrinks to the dealt hand): nothing scored.
    HistoryList early;
    early.snapshots.push(hand1);
    EXPECT_EQ(cribbagePatienceTotal(&early, hand1), 0);
}

TEST(CribbageTable, SquareScoredOnlyWhenFullWithAStarter)
{
    Table t;
    lay(t, 0, "5C 5D 5H JS 2S 8D 3C 4H 9C 9D TS KH AC 6D 7H QC");
    EXPECT_FALSE(scoreCribbageSquareTable(t).has_value());
    t.append(PileRef::waste(), freecellCardCode("5S"), true);
    const auto s = scoreCribbageSquareTable(t);
    ASSERT_TRUE(s.has_value());
    EXPECT_EQ(s->rows[0].total(), 29);
    t.tableau(7).clear();
    EXPECT_FALSE(scoreCribbageSquareTable(t).has_value());
}

} // namespace
