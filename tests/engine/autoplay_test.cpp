// Autoplay's completion step after a release and the automatic fills by rule parameter 25.
#include <gtest/gtest.h>

#include "engine/autoplay.h"
#include "engine/pickup.h"
#include "rules_fixture.h"

using namespace cw::engine;
using namespace cw::test;

namespace {

// Drags the top card of tableau pile `from` onto tableau pile `to` as the window would.
bool dragTop(Play& play, int from, int to)
{
    const int index = static_cast<int>(play.table().tableau(from).size()) - 1;
    tablePress(play, Press{PileRef::tableau(from), index});
    noteDragMoved(play.state);
    const PileRef target = PileRef::tableau(to);
    return tableRelease(play, std::span<const PileRef>(&target, 1));
}

TEST(Autoplay, ReleaseUncoveringAnAcePlaysItAndTheTwoBelow)
{
    const cw::engine::GameRules rules = basicRules();
    GameState st = stateFromText("Fila1: 2h Ah 9c; Fila2: 10c");
    PlayOptions opt;
    opt.autoplay = true;
    Play play{rules, st, opt};
    ASSERT_TRUE(dragTop(play, 0, 1));
    EXPECT_EQ(pileText(st, PileRef::foundation(0)), "001 002");
    EXPECT_TRUE(st.table.tableau(0).empty());
}

TEST(Autoplay, NothingMovesWithAutoplayOff)
{
    const cw::engine::GameRules rules = basicRules();
    GameState st = stateFromText("Fila1: 2h Ah 9c; Fila2: 10c");
    const PlayOptions opt;
    Play play{rules, st, opt};
    ASSERT_TRUE(dragTop(play, 0, 1));
    EXPECT_TRUE(st.table.foundation(0).empty());
}

TEST(Autoplay, CompletionStepRules)
{
    struct Case {
        const char* name;
        const char* table;
        int foundationTarget; // rule parameter 22
        int wasteLocked;      // rule parameter 8
        const char* dest1;    // foundation 1 afterwards
    };
    const Case cases[] = {
        {"any foundation: Aces start them", "Fila1: Ah; Fila2: 2h", 0, 0, "001 002"},
        {"started foundations only: Aces stay", "Fila1: Ah; Fila2: 2h", 1, 0, ""},
        {"started foundations only: the Two follows", "Dest1: Ah; Fila2: 2h", 1, 0, "001 002"},
        {"waste top plays", "Mazzo_Vis: 2h Ah", 0, 0, "001 002"},
        {"locked waste never plays", "Mazzo_Vis: 2h Ah", 0, 1, ""},
        {"face-down tops are turned and played", "Fila1: *Ah", 0, 0, "001"},
        {"reserve tops play", "Appogg1: Ah; Appogg2: 3h; Fila1: 2h", 0, 0, "001 002 003"},
    };
    for (const Case& c : cases) {
        cw::engine::GameRules rules = basicRules(4, 4, 2);
        rules.set(22, c.foundationTarget);
        rules.set(8, c.wasteLocked);
        GameState st = stateFromText(c.table);
        PlayOptions opt;
        opt.autoplay = true;
        Play play{rules, st, opt};
        runAutoplay(play);
        EXPECT_EQ(pileText(st, PileRef::foundation(0)), c.dest1) << c.name;
    }
}

TEST(Autoplay, CompletionWaitsForTheDeal)
{
    const cw::engine::GameRules rules = basicRules();
    GameState st = stateFromText("Fila1: Ah");
    st.dealFinished = false;
    PlayOptions opt;
    opt.autoplay = true;
    Play play{rules, st, opt};
    EXPECT_FALSE(completionStep(play));
    st.dealFinished = true;
    EXPECT_TRUE(completionStep(play));
}

TEST(Autoplay, AutomaticFillTable)
{
    struct Case {
        const char* name;
        int value;
        const char* table;
        PileRef pile;
        const char* expected;
    };
    const Case cases[] = {
        {"3: stock empty, the waste's top fills", 3, "Mazzo_Vis: Ah 2h 3h; Fila2: 9c", PileRef::tableau(0), "003"},
        {"3: the stock first", 3, "Mazzo: *5c; Mazzo_Vis: Ah; Fila2: 9c", PileRef::tableau(0), "031"},
        {"1: from reserve 1", 1, "Appogg1: 4s 5s; Fila2: 9c", PileRef::tableau(0), "044"},
        {"2: the waste, then the stock", 2, "Mazzo: *5c; Fila2: 9c", PileRef::tableau(0), "031"},
        {"5: up to three cards from the waste", 5, "Mazzo_Vis: Ah 2h 3h 4h; Fila2: 9c", PileRef::tableau(0),
         "004 003 002"},
        {"9: up to four from the stock", 9, "Mazzo: Ah 2h; Fila2: 9c", PileRef::tableau(0), "002 001"},
        {"7: only piles 11 and beyond", 7, "Mazzo: Ah; Fila2: 9c", PileRef::tableau(0), ""},
        {"0: no fill", 0, "Mazzo: Ah; Fila2: 9c", PileRef::tableau(0), ""},
    };
    for (const Case& c : cases) {
        cw::engine::GameRules rules = basicRules(4, 4, 1);
        rules.set(25, c.value);
        GameState st = stateFromText(c.table);
        const PlayOptions opt;
        Play play{rules, st, opt};
        automaticFill(play);
        EXPECT_EQ(pileText(st, c.pile), c.expected) << c.name;
        EXPECT_EQ(pileText(st, PileRef::tableau(1)), "035") << c.name << ": a filled pile is not refilled";
    }
}

TEST(Autoplay, FillWaitsForTheFirstMoveWhenItMustGoToAFoundation)
{
    cw::engine::GameRules rules = basicRules(2, 4);
    rules.set(25, 3);
    rules.set(42, 1);
    GameState st = stateFromText("Mazzo: 5c 6c; Fila1: Ah");
    const PlayOptions opt;
    Play play{rules, st, opt};
    EXPECT_FALSE(automaticFill(play));
    const PileRef target = PileRef::tableau(1);
    tablePress(play, Press{PileRef::tableau(0), 0});
    noteDragMoved(st);
    EXPECT_FALSE(tableRelease(play, std::span<const PileRef>(&target, 1))) << "the first move must go home";
    const PileRef home = PileRef::foundation(0);
    tablePress(play, Press{PileRef::tableau(0), 0});
    noteDragMoved(st);
    EXPECT_TRUE(tableRelease(play, std::span<const PileRef>(&home, 1)));
    EXPECT_EQ(pileText(st, PileRef::tableau(0)), "032");
    EXPECT_EQ(pileText(st, PileRef::tableau(1)), "031");
}

} // namespace

namespace {

TEST(AutoplayMemory, PerGameFlags)
{
    // Switching autoplay off in game 12 and coming back to it restores "off"; game 7 stays on.
    const std::string flags = withAutoplayFlag("", 12, false);
    EXPECT_EQ(flags.size(), 22u);
    EXPECT_FALSE(storedAutoplayOn(flags, "", 12));
    EXPECT_TRUE(storedAutoplayOn(flags, "", 7));
    EXPECT_TRUE(storedAutoplayOn(flags, "", 500)) << "a missing flag means on";
    EXPECT_EQ(withAutoplayFlag(flags, 12, true), std::string(22, 'Y'));
    EXPECT_EQ(customAutoplayKey(8003), "Cust_8003");
    EXPECT_FALSE(storedAutoplayOn(flags, "N", 8003));
    EXPECT_TRUE(storedAutoplayOn(flags, "", 8003));
}

} // namespace
