// The linear congruential generator and fresh game numbers: the sequence is frozen.
#include <gtest/gtest.h>

#include "engine/random.h"

using cw::engine::Random;

TEST(Random, SequenceIsTheFrozenLinearCongruentialOne)
{
    Random r(12345);
    std::vector<int> draws;
    for (int i = 0; i < 5; ++i)
        draws.push_back(r.next(100));
    EXPECT_EQ(draws, (std::vector<int>{38, 28, 7, 55, 63}));
    EXPECT_EQ(r.seed(), 2721613530u);
    EXPECT_EQ(r.next(0), 0);
}

TEST(Random, NewGameNumberIsTheProductOfTwoDrawsIn13Digits)
{
    Random r(Random::timeOfDaySeed(23, 59, 59, 999));
    EXPECT_EQ(r.seed(), 86399999u);
    EXPECT_EQ(r.newGameNumber(), "7197484340805"); // 7232555 x 995151
    Random zero(0);
    EXPECT_EQ(zero.newGameNumber(), "0000000000000"); // first draw 0: the product keeps 13 zeros
    Random a(777), b(777);
    for (int i = 0; i < 20; ++i) {
        const std::string n = a.newGameNumber();
        ASSERT_EQ(n.size(), 13u);
        ASSERT_EQ(n, b.newGameNumber());
    }
}
