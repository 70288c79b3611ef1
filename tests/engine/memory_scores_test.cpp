// The memory families: the run of the Ace-to-King record, the score formulas, what the table holds and the result pages.
#include <gtest/gtest.h>

#include <vector>

#include "engine/families/memory_scores.h"
#include "engine/families/memory_table.h"

namespace {

using namespace cw::engine;

TEST(MemoryScores, RunOfTheSequenceRecord)
{
    struct Row {
        std::vector<int> record;
        int run;
    };
    const Row rows[] = {
        {{}, 0},
        {{14}, 1},      // an Ace of Diamonds
        {{5}, 0},       // a first card that is not an Ace
        {{1, 15}, 2},   // suits do not matter
        {{1, 2, 5}, 2}, // the record then holds 3 cards: a miss
        {{1, 3}, 0},    // the second card fails at once
        {{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13}, 13},
        {{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 1}, 13},
    };
    for (const Row& row : rows)
        EXPECT_EQ(memoryRun(row.record), row.run) << row.record.size();
}

TEST(MemoryScores, Formulas)
{
    EXPECT_EQ(aceToKingScore(0, 1), -53); // Ace, Two, Five: one miss, record emptied
    EXPECT_EQ(aceToKingScore(13, 4), 139);
    EXPECT_EQ(pairsScore(6, 1), 6); // the 4 x 3 grid with one miss
    EXPECT_EQ(forgetMeNotScore(0, 52), -52);
    EXPECT_EQ(forgetMeNotScore(10, 52), 48);
    EXPECT_EQ(concentrationScore(26, 10), 120);
}

} // namespace

namespace {

using namespace cw::engine;

TEST(MemoryTable, WhatTheTableHolds)
{
    Table t;
    // Family 37: two pairs found on the second waste, a grid with one face-up card.
    for (int code : {13, 65, 1, 53})
        t.append(PileRef::secondWaste(), code, true);
    t.append(PileRef::tableau(0), 0);
    t.append(PileRef::tableau(0), 5, false);
    t.append(PileRef::tableau(1), 57, true);
    EXPECT_EQ(memoryPairsFound(t), 2);
    EXPECT_EQ(memoryScore(kFamilyPairs, t, 2, 3, 104), 20 - 52 - 6);
    EXPECT_EQ(memoryScore(kFamilyConcentration, t, 2, 3, 52), 14 - 52 - 3);
    EXPECT_TRUE(faceDownLeft(t, 2));
    EXPECT_FALSE(faceDownLeft(t, 0));
    std::vector<int> up;
    EXPECT_EQ(faceUpTableauPiles(t, 2, &up), std::vector<PileRef>{PileRef::tableau(1)});
    EXPECT_EQ(up, std::vector<int>{57});

    EXPECT_TRUE(memoryCardsPair(kFamilyPairs, 13, 65));  // King of Hearts of both packs
    EXPECT_FALSE(memoryCardsPair(kFamilyPairs, 13, 52)); // King of Hearts, King of Spades
    EXPECT_TRUE(memoryCardsPair(kFamilyConcentration, 13, 52));
    EXPECT_FALSE(memoryCardsPair(kFamilyConcentration, 13, 12));
}

TEST(MemoryTable, AceToKingRecordIsTheFaceUpCardsByRank)
{
    Table t;
    const int cards[] = {3, 14, 28, 9, 44}; // Three of Hearts, Ace of Diamonds, Two of Clubs, Nine, Five of Spades
    for (int p = 0; p < 5; ++p)
        t.append(PileRef::tableau(p), cards[p], p < 3);
    EXPECT_EQ(aceToKingRecord(t, 5), (std::vector<int>{14, 28, 3}));
    EXPECT_EQ(memoryScore(kFamilyAceToKing, t, 5, 2, 52), 45 - 52 - 2);
}

TEST(MemoryTable, ForgetMeNotMatchesOnlyOnceEveryAnswerIsGiven)
{
    Table t;
    for (int f = 0; f < kForgetMeNotCards; ++f)
        t.append(PileRef::foundation(f), f + 1, false);
    for (int j = 0; j < 9; ++j)
        t.append(PileRef::tableau(j), j + 1 + kTwinOffset, true);
    EXPECT_EQ(forgetMeNotMatches(t), 0);
    EXPECT_EQ(memoryScore(kFamilyForgetMeNot, t, 20, 0, 52), -52);
    t.append(PileRef::tableau(9), 30 + kTwinOffset, true); // the wrong twin under foundation 10
    EXPECT_EQ(forgetMeNotMatches(t), 9);
    EXPECT_EQ(memoryScore(kFamilyForgetMeNot, t, 20, 0, 52), 38);
}

TEST(MemoryTable, ResultPages)
{
    Table t;
    for (int code : {1, 53, 5, 57})
        t.append(PileRef::secondWaste(), code, true);
    const MemoryResultPage pairs = memoryResultPage(kFamilyPairs, 3, t, 3, -38, 2, false);
    EXPECT_EQ(pairs.caption, "Game Lost");
    EXPECT_EQ(pairs.page, "Pairs");
    EXPECT_EQ(pairs.group, "Grid: 4 x 3");
    EXPECT_EQ(pairs.matchesTotal, 20);
    EXPECT_EQ(pairs.perMiss, "-2");
    EXPECT_EQ(pairs.missesTotal, -6);
    EXPECT_EQ(memoryResultPage(kFamilyPairs, 5, t, 0, 0, 0, true).group, "Grid: 8 x 5");
    EXPECT_EQ(memoryResultPage(kFamilyPairs, 4, t, 0, 0, 0, true).caption, "Game Won");

    const MemoryResultPage fmn = memoryResultPage(kFamilyForgetMeNot, 20, t, 5, -52, 28, false);
    EXPECT_EQ(fmn.page, "Forget me not");
    EXPECT_EQ(fmn.group, "Cards: 10 ");
    EXPECT_EQ(fmn.misses, 10);
    EXPECT_EQ(fmn.missesTotal, 0);
    EXPECT_EQ(memoryResultPage(kFamilyAceToKing, 13, t, 1, -53, 130, false).group, "Sequence ");
    const MemoryResultPage conc = memoryResultPage(kFamilyConcentration, 6, t, 4, -42, 100, false);
    EXPECT_EQ(conc.page, "Concentration");
    EXPECT_EQ(conc.group, "Cards: 52 ");
    EXPECT_EQ(conc.matchesTotal, 14);
    EXPECT_EQ(conc.missesTotal, -4);
}

} // namespace
