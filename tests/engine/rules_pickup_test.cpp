// Pick-up: what a press lifts under the group limits and sequence rules, turn-ups, the Draw and the drag state.
#include <gtest/gtest.h>

#include "engine/autoplay.h"
#include "engine/drop.h"
#include "engine/pickup.h"
#include "engine/rules_groups.h"
#include "rules_fixture.h"

using namespace cw::engine;
using namespace cw::test;

namespace {

struct PressCase {
    const char* name;
    int groupLimit;
    int sequenceRule;
    const char* table;
    PileRef pile;
    int index;
    PressAction expected;
    int dealNumber = 1;
};

TEST(PickUp, PressActionTable)
{
    const char* five = "Fila1: Kh Qh Jh 10h 9h; Fila2: 3c";
    const PressCase cases[] = {
        {"limit 0 lifts no tableau card", 0, 1, five, PileRef::tableau(0), 4, PressAction::None},
        {"limit 0 still turns a face-down top", 0, 1, "Fila1: *5c", PileRef::tableau(0), 0, PressAction::TurnUp},
        {"limit -13: a group of four is refused", -13, 1, five, PileRef::tableau(0), 1, PressAction::None},
        {"limit -13: the whole pile lifts", -13, 1, five, PileRef::tableau(0), 0, PressAction::Lift},
        {"limit -13: the top card lifts", -13, 1, five, PileRef::tableau(0), 4, PressAction::Lift},
        {"limit 2 refuses three cards", 2, 1, five, PileRef::tableau(0), 2, PressAction::None},
        {"limit 2 lifts two", 2, 1, five, PileRef::tableau(0), 3, PressAction::Lift},
        {"limit -12 lifts a group from a King", -12, 1, five, PileRef::tableau(0), 0, PressAction::Lift},
        {"limit -12 refuses other groups", -12, 1, five, PileRef::tableau(0), 1, PressAction::None},
        {"limit -17 buried card: the Draw", -17, 1, five, PileRef::tableau(0), 2, PressAction::Draw},
        {"sequence broken", -1, 1, "Fila1: Kh 5c 4c", PileRef::tableau(0), 0, PressAction::None},
        {"sequence rule 0: any group", -1, 0, "Fila1: Kh 5c 4d", PileRef::tableau(0), 0, PressAction::Lift},
        {"sequence rule 12, deal 1: top only", -1, 12, five, PileRef::tableau(0), 3, PressAction::None},
        {"sequence rule 12, deal 3: buried card", -1, 12, five, PileRef::tableau(0), 3, PressAction::Lift, 3},
        {"face-down buried card", -1, 1, "Fila1: *Kh *Qh Jh", PileRef::tableau(0), 1, PressAction::None},
        {"placeholder position", -1, 1, "Fila1: 000 Kh", PileRef::tableau(0), 0, PressAction::None},
        {"waste top lifts", -1, 1, "Mazzo_Vis: 5c 6c", PileRef::waste(), 1, PressAction::Lift},
        {"waste below top", -1, 1, "Mazzo_Vis: 5c 6c", PileRef::waste(), 0, PressAction::None},
        {"stock press", -1, 1, "Mazzo: 5c", PileRef::stock(), 0, PressAction::StockClick},
    };
    for (const PressCase& c : cases) {
        cw::engine::GameRules rules = basicRules();
        rules.set(14, c.groupLimit);
        rules.set(2, c.sequenceRule);
        GameState st = stateFromText(c.table);
        st.dealNumber = c.dealNumber;
        const PlayOptions opt;
        const Play play{rules, st, opt};
        EXPECT_EQ(pressAction(play, c.pile, c.index), c.expected) << c.name;
    }
}

TEST(PickUp, FoundationTakeBack)
{
    cw::engine::GameRules rules = basicRules();
    GameState st = stateFromText("Dest1: Ah; Dest2: Ac 2c");
    const PlayOptions opt;
    const Play play{rules, st, opt};
    rules.set(19, 2);
    EXPECT_EQ(pressAction(play, PileRef::foundation(0), 0), PressAction::None) << "only its base card";
    EXPECT_EQ(pressAction(play, PileRef::foundation(1), 1), PressAction::Lift);
    rules.set(19, 0);
    EXPECT_EQ(pressAction(play, PileRef::foundation(1), 1), PressAction::None);
}

// Group limit -5 counts empty reserves and tableau piles as sums: with one empty tableau pile
// and three empty reserves, five cards reach a non-empty pile and four an empty one.
TEST(PickUp, GroupLimitMinusFiveIsASum)
{
    cw::engine::GameRules rules = basicRules(4, 4, 3);
    rules.set(14, -5);
    GameState st = stateFromText("Fila1: Kh Qh Jh 10h 9h; Fila2: Ks; Fila3: 10d");
    const PlayOptions opt;
    const Play play{rules, st, opt};
    EXPECT_EQ(groupFits(play, PileRef::tableau(0), 0, false), GroupFit::Fits);
    EXPECT_EQ(groupFits(play, PileRef::tableau(0), 0, true), GroupFit::TooLarge);
    EXPECT_EQ(groupFits(play, PileRef::tableau(0), 1, true), GroupFit::Fits);
    // No empty tableau pile: r + 1 = 4.
    st.table.append(PileRef::tableau(3), cardCode(0, 2));
    EXPECT_EQ(groupFits(play, PileRef::tableau(0), 1, false), GroupFit::Fits);
    EXPECT_EQ(groupFits(play, PileRef::tableau(0), 0, false), GroupFit::TooLarge);
}

TEST(PickUp, DrawOnlyInTheLastDealAndOnce)
{
    cw::engine::GameRules rules = basicRules();
    rules.set(14, -17);
    GameState st = stateFromText("Fila1: 5c Kh 9d");
    const PlayOptions opt;
    Events ev;
    Play play{rules, st, opt, &ev};
    st.dealNumber = 2;
    tablePress(play, Press{PileRef::tableau(0), 0});
    ASSERT_EQ(ev.size(), 1u);
    EXPECT_EQ(ev[0].text, "The Draw is allowed after the last Redeal.");
    EXPECT_EQ(pileText(st, PileRef::tableau(0)), "031 013 022");

    st.dealNumber = 3;
    tablePress(play, Press{PileRef::tableau(0), 0});
    EXPECT_EQ(pileText(st, PileRef::tableau(0)), "013 022 031");
    EXPECT_TRUE(st.drawUsed);
    EXPECT_EQ(st.drag.carriedCard, 0) << "nothing is lifted by the Draw";

    ev.clear();
    tablePress(play, Press{PileRef::tableau(0), 0});
    ASSERT_FALSE(ev.empty());
    EXPECT_EQ(ev.back().text, "Only one Draw is permitted.");
}

TEST(PickUp, PressLiftsWithoutChangingTheTableAndIgnoresASecondPress)
{
    cw::engine::GameRules rules = basicRules();
    GameState st = stateFromText("Fila1: *Kh Qh Jh; Fila2: *9c");
    const GameState before = st;
    const PlayOptions opt;
    Play play{rules, st, opt};
    tablePress(play, Press{PileRef::tableau(0), 1});
    EXPECT_EQ(st.drag.carriedCard, cardCode(0, 12));
    EXPECT_FALSE(st.drag.singleCard);
    EXPECT_EQ(st.table, before.table);
    tablePress(play, Press{PileRef::tableau(1), 0});
    EXPECT_TRUE(st.table.isFaceDown(cardCode(2, 9))) << "a press while carrying is ignored";
    // A release without movement puts the cards back.
    const PileRef target = PileRef::tableau(1);
    tableRelease(play, std::span<const PileRef>(&target, 1));
    EXPECT_EQ(st.drag.carriedCard, 0);
    EXPECT_EQ(st.table, before.table);
}

TEST(PickUp, ReverseColumnWaitsForAnEmptyStock)
{
    cw::engine::GameRules rules = basicRules(10);
    setRange(rules, 215, 10, 149);
    GameState st = stateFromText("Mazzo: 2c; Fila3: 9h 8h 7h");
    const PlayOptions opt;
    Events ev;
    Play play{rules, st, opt, &ev};
    tablePress(play, Press{PileRef::tableau(2), 2, Button::Left, true});
    ASSERT_EQ(ev.size(), 1u);
    EXPECT_EQ(pileText(st, PileRef::tableau(2)), "009 008 007");
    st.table.stock().clear();
    tablePress(play, Press{PileRef::tableau(2), 2, Button::Left, true});
    EXPECT_EQ(pileText(st, PileRef::tableau(2)), "007 008 009");
    EXPECT_EQ(play.columnDirection(2), 1) << "the column now builds up";
}

TEST(PickUp, AvailabilityTests)
{
    cw::engine::GameRules rules = basicRules(36);
    GameState st = stateFromText("Fila1: Ah; Fila2: 2h; Fila9: 3h; Fila13: 4h; Fila25: 5h");
    const PlayOptions opt;
    const Play play{rules, st, opt};
    EXPECT_TRUE(rowOpen(play, PileRef::tableau(0)));
    EXPECT_FALSE(rowOpen(play, PileRef::tableau(1))) << "pile 1 to its left holds a card";
    EXPECT_FALSE(rowOpen(play, PileRef::tableau(7))) << "pile 9 to its right holds a card";
    EXPECT_TRUE(rowOpen(play, PileRef::tableau(8)));
    EXPECT_FALSE(threeRowOpen(play, 1));
    EXPECT_TRUE(threeRowOpen(play, 2));
    EXPECT_FALSE(threeRowOpen(play, 13));
    EXPECT_TRUE(threeRowOpen(play, 25));
    rules.set(27, 3);
    rules.set(28, 12);
    EXPECT_FALSE(gridOpen(play, 0));
    EXPECT_TRUE(gridOpen(play, 1));
}

} // namespace

namespace {

TEST(PickUp, PointAndClickMovesOnTheSecondClick)
{
    cw::engine::GameRules rules = basicRules();
    GameState st = stateFromText("Fila1: 9h 8h; Fila2: 9s; Fila3: 9h:2");
    st.selection.pointAndClick = true;
    const PlayOptions opt;
    Play play{rules, st, opt};
    const PileRef target = PileRef::tableau(2);
    tablePress(play, Press{PileRef::tableau(0), 1});
    EXPECT_EQ(st.selection.selectedCard, cardCode(0, 8));
    EXPECT_FALSE(tableRelease(play, std::span<const PileRef>(&target, 1))) << "the first release waits";
    tablePress(play, Press{PileRef::tableau(2), 0});
    EXPECT_TRUE(tableRelease(play, std::span<const PileRef>(&target, 1)));
    EXPECT_EQ(pileText(st, PileRef::tableau(2)), "061 008");
    EXPECT_EQ(st.selection.selectedCard, 0);
    // Pressing the selected card again clears the selection.
    tablePress(play, Press{PileRef::tableau(2), 1});
    tablePress(play, Press{PileRef::tableau(2), 1});
    EXPECT_EQ(st.selection.selectedCard, 0);
}

TEST(PickUp, StockPressArmsTheRedealAndTheReleaseRunsIt)
{
    cw::engine::GameRules rules = basicRules(2);
    rules.set(11, 1);
    rules.set(24, 1);
    rules.set(7, 1);
    GameState st = stateFromText("Mazzo_Vis: Ah 2h");
    const PlayOptions opt;
    Play play{rules, st, opt};
    EXPECT_FALSE(tablePress(play, Press{PileRef::stock(), -1}));
    EXPECT_TRUE(st.redealArmed);
    EXPECT_TRUE(st.table.stock().empty());
    EXPECT_TRUE(tableRelease(play, {}));
    EXPECT_EQ(pileText(st, PileRef::stock()), "*002 *001");
    // A double click on a card plays it home; on the stock it only clears the swallow flag.
    st = stateFromText("Fila1: Ah");
    EXPECT_TRUE(tableDoubleClick(play, PileRef::tableau(0), 0));
    EXPECT_TRUE(st.swallowStockPress);
    tableDoubleClick(play, PileRef::stock(), -1);
    EXPECT_FALSE(st.swallowStockPress);
}

} // namespace

namespace {

// Under the row availability test a closed pile gives up nothing: not to a drag, a right click
// or autoplay.
TEST(PickUp, RowAvailabilityBindsClicksAndAutoplay)
{
    cw::engine::GameRules rules = basicRules(3);
    rules.set(14, -15);
    struct Case {
        const char* name;
        const char* table;
        bool autoplay;
        bool moved;
    };
    const Case cases[] = {
        {"right click on a closed pile", "Fila1: 5c; Fila2: Ah", false, false},
        {"autoplay passes a closed pile by", "Fila1: 5c; Fila2: Ah", true, false},
        {"right click once the left neighbour is empty", "Fila2: Ah", false, true},
        {"autoplay once the left neighbour is empty", "Fila2: Ah", true, true},
    };
    for (const Case& c : cases) {
        GameState st = stateFromText(c.table);
        PlayOptions opt;
        opt.autoplay = c.autoplay;
        Play play{rules, st, opt};
        EXPECT_EQ(pressAction(play, PileRef::tableau(1), 0) == PressAction::Lift, c.moved) << c.name;
        if (c.autoplay)
            completionStep(play);
        else
            clickToPlay(play, PileRef::tableau(1), 0, Gesture::RightClick);
        EXPECT_EQ(pileText(st, PileRef::foundation(0)), c.moved ? "001" : "") << c.name;
    }
}

} // namespace
