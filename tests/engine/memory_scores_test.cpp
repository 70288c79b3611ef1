// The memory families' run of the Ace-to-King record and their score formulas.
#include <gtest/gtest.h>

#include <vector>

#include "engine/families/memory_scores.h"

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
