// The won / not won / not played state of games for a player, as the game chooser marks them.
#include <gtest/gtest.h>

#include "stats/played_state.h"
#include "stats_fixture.h"

namespace cw::stats::test {
namespace {

TEST(PlayedState, WinsCountBeforeLossesAndAnyCounterCounts) {
    struct Case {
        GameRecord record;
        int sessionWon, sessionLost;
        PlayedState expected;
    };
    const Case cases[] = {
        {{}, 0, 0, PlayedState::NotPlayed},
        {{1, 0}, 0, 0, PlayedState::Won},
        {{1, 5}, 0, 0, PlayedState::Won},
        {{0, 3}, 0, 0, PlayedState::NotWon},
        {{0, 0, 0, 0, 1, 0}, 0, 0, PlayedState::Won},     // a winning streak alone
        {{0, 0, 0, 2, 0, 0}, 0, 0, PlayedState::NotWon},  // a longest losing streak alone
        {{}, 1, 0, PlayedState::Won},
        {{}, 0, 1, PlayedState::NotWon},
    };
    for (const Case& c : cases) {
        GameStatistics s{c.record, c.sessionWon, c.sessionLost};
        EXPECT_EQ(playedState(s), c.expected) << c.record.won << "/" << c.record.lost;
    }
}

TEST_F(StatsTest, StatesOfAllGamesComeFromOnePlayersRecords) {
    setCurrent(7, "Ann");
    updateGameStatistics(ctx, 3, "Ann", true, 0);
    updateGameStatistics(ctx, 3, "Ann", false, 0);
    updateGameStatistics(ctx, 5, "Ann", false, 0);
    updateGameStatistics(ctx, 5, "Bob", true, 0);
    updateGameStatistics(ctx, 9, "Bob", false, 0);
    settings.set(storage::col::SessionWon, "0000");
    settings.set(storage::col::SessionLost, "0000");
    const auto ann = playedStates(ctx, "Ann");
    EXPECT_EQ(ann, (std::map<int, PlayedState>{{3, PlayedState::Won}, {5, PlayedState::NotWon}, {7, PlayedState::NotPlayed}}));
    const auto bob = playedStates(ctx, "Bob");
    EXPECT_EQ(bob, (std::map<int, PlayedState>{{5, PlayedState::Won}, {9, PlayedState::NotWon}}));
    // A loss in this session of the current game counts before Stat.dat holds it.
    settings.set(storage::col::SessionLost, "0001");
    EXPECT_EQ(playedStates(ctx, "Ann").at(7), PlayedState::NotWon);
}

TEST_F(StatsTest, DamagedOrMissingStatFileGivesNoMarksAndCreatesNothing) {
    EXPECT_TRUE(playedStates(ctx, "Ann").empty());
    EXPECT_FALSE(exists("Stat.dat"));
    dir.write("stat.DAT",
              "[Version]\r\nVersion=0300\r\n"
              "[0001]\nAnn=000002 000000 000002 000000 000002 000000 000000000000 000000000000\n"
              "Annie=000000 000001 000000 000001 000000 000001 000000000000 000000000000\n"
              "[0002\nAnn=000001 000000 000001 000000 000001 000000 000000000000 000000000000\n"
              "[abcd]\nAnn=000001 000000 000001 000000 000001 000000 000000000000 000000000000\n"
              "[0004]\nAnn=garbage\nAnn\n"
              "[0001]\nAnn=000000 000009 000000 000009 000000 000009 000000000000 000000000000\n"
              "[00005]\nAnn=000001 000000 000001 000000 000001 000000 000000000000 000000000000\n");
    setCurrent(-1, "Ann");
    // Only the first section of a game counts; broken headers and records give nothing to mark.
    EXPECT_EQ(playedStates(ctx, "Ann"),
              (std::map<int, PlayedState>{{1, PlayedState::Won}, {4, PlayedState::NotPlayed}}));
}

}  // namespace
}  // namespace cw::stats::test
