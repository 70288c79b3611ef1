// The game clock driven by a hand-set time of day: midnight, pauses, restore on open, the label read back.
#include <gtest/gtest.h>

#include "engine/game_clock.h"

using namespace cw::engine;

namespace {

constexpr std::int64_t at(int h, int m, int s) { return ((h * 60LL + m) * 60 + s) * 1000; }

struct FakeTime {
    std::int64_t now = 0;
    TimeSource source()
    {
        return [this] { return now; };
    }
};

} // namespace

TEST(GameClock, RunsAcrossMidnightAndLeavesPausesOut)
{
    FakeTime t;
    GameClock clock(t.source());
    EXPECT_EQ(clock.label(), "0:00:00") << "a new clock shows the zero time";
    EXPECT_FALSE(clock.running());

    t.now = at(23, 59, 30);
    clock.start();
    t.now = at(0, 0, 30);
    EXPECT_EQ(clock.label(), "0:01:00");

    // A five-minute pause adds nothing.
    clock.pause();
    EXPECT_FALSE(clock.running());
    t.now = at(0, 5, 30);
    EXPECT_EQ(clock.elapsedSeconds(), 60);
    clock.resume();
    t.now = at(0, 6, 0);
    EXPECT_EQ(clock.label(), "0:01:30");

    // A pause that spans midnight.
    t.now = at(23, 58, 0);
    clock.reset();
    clock.start();
    t.now = at(23, 59, 0);
    clock.pause();
    t.now = at(0, 30, 0);
    clock.resume();
    t.now = at(0, 30, 45);
    EXPECT_EQ(clock.elapsedSeconds(), 105);

    clock.stop();
    t.now = at(5, 0, 0);
    EXPECT_EQ(clock.elapsedSeconds(), 105) << "a stopped clock keeps the game's duration";
    clock.resume();
    EXPECT_FALSE(clock.running()) << "resume only ends a pause";
}

TEST(GameClock, RestoredFromASavedGame)
{
    struct Case {
        int saved;
        int later;
        const char* label;
    };
    for (const Case& c : std::vector<Case>{{61 * 60 + 5, 0, "1:01:05"}, {3600, 7, "1:00:07"}, {0, 0, "0:00:00"},
                                           {30 * 3600 + 59, 1, "30:01:00"}}) {
        FakeTime t;
        t.now = at(23, 59, 59);
        GameClock clock(t.source());
        clock.restore(c.saved);
        EXPECT_TRUE(clock.running());
        t.now = (at(23, 59, 59) + c.later * 1000LL) % kDayMs;
        EXPECT_EQ(clock.label(), c.label);
    }
}

TEST(GameClock, LabelReadBack)
{
    struct Case {
        const char* label;
        int seconds;
    };
    for (const Case& c : std::vector<Case>{{"0:00:00", 0},
                                           {"1:01:05", 3665},
                                           {"12.34.56", 12 * 3600 + 34 * 60 + 56},
                                           {"", 0},
                                           {"1:02", 0},
                                           {"a:00:00", 0},
                                           {"1::00", 0},
                                           {"1:00:00:00", 0},
                                           {"99999999:00:00", 0}})
        EXPECT_EQ(parseClockLabel(c.label), c.seconds) << c.label;
    EXPECT_EQ(parseClockLabel(GameClock::formatClock(123456)), 123456);
}
