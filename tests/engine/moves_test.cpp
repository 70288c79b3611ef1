// Drops and move execution: legality per target kind, the release, move names, events, turn-ups and complete runs.
#include <gtest/gtest.h>

#include <algorithm>

#include "engine/drop.h"
#include "engine/moves.h"
#include "engine/pickup.h"
#include "rules_fixture.h"

using namespace cw::engine;
using namespace cw::test;

namespace {

struct DropCase {
    const char* name;
    const char* table;
    PileRef source;
    int index;
    PileRef target;
    bool expected;
};

TEST(Drop, MayDropTable)
{
    // Four tableau piles in suit down, free cells 1-2, reserve 3 takes Kings (code 90),
    // reserve 4 nothing (code 4).
    cw::engine::GameRules rules = basicRules(4, 4, 4);
    rules.set(337, 90);
    rules.set(338, 4);
    const char* t = "Fila1: 9h 8h; Fila2: 9s; Fila4: Ks; Dest1: Ah; Appogg1: 5c";
    const DropCase cases[] = {
        {"single onto a matching card", "Fila1: 9h 8h; Fila2: 9s 7h; Fila3: 9h:2", PileRef::tableau(0), 1,
         PileRef::tableau(2), true},
        {"wrong suit", t, PileRef::tableau(0), 1, PileRef::tableau(1), false},
        {"group onto an empty pile", t, PileRef::tableau(0), 0, PileRef::tableau(2), true},
        {"own pile", t, PileRef::tableau(0), 1, PileRef::tableau(0), false},
        {"group never to a foundation", "Fila1: 3h 2h; Dest1: Ah", PileRef::tableau(0), 0, PileRef::foundation(0), false},
        {"single to its foundation", "Fila1: 3h 2h; Dest1: Ah", PileRef::tableau(0), 1, PileRef::foundation(0), true},
        {"free cell takes a single card", t, PileRef::tableau(1), 0, PileRef::reserve(1), true},
        {"occupied free cell", t, PileRef::tableau(1), 0, PileRef::reserve(0), false},
        {"free cell refuses a group", t, PileRef::tableau(0), 0, PileRef::reserve(1), false},
        {"King reserve takes a King", t, PileRef::tableau(3), 0, PileRef::reserve(2), true},
        {"King reserve refuses a Nine", t, PileRef::tableau(1), 0, PileRef::reserve(2), false},
        {"closed reserve", t, PileRef::tableau(1), 0, PileRef::reserve(3), false},
        {"face-down target", "Fila1: 8h; Fila2: *9h", PileRef::tableau(0), 0, PileRef::tableau(1), false},
        {"pile beyond the count", t, PileRef::tableau(1), 0, PileRef::tableau(5), false},
    };
    for (const DropCase& c : cases) {
        GameState st = stateFromText(c.table);
        const PlayOptions opt;
        const Play play{rules, st, opt};
        EXPECT_EQ(mayDrop(play, carriedAt(play, c.source, c.index), c.target), c.expected) << c.name;
    }
}

TEST(Drop, GroupLimitMinusFiveForAnEmptyTarget)
{
    cw::engine::GameRules rules = basicRules(4, 4, 2);
    rules.set(14, -5);
    GameState st = stateFromText("Fila1: Kh Qh Jh 10h; Fila2: Ks; Fila3: Jh:2");
    const PlayOptions opt;
    const Play play{rules, st, opt};
    // Two empty reserves, one empty tableau pile: four cards to a non-empty pile, three to the empty one.
    st.table.append(PileRef::tableau(2), cardCode(3, 5)); // block Fila3 with a card that fits nothing
    EXPECT_FALSE(mayDrop(play, carriedAt(play, PileRef::tableau(0), 0), PileRef::tableau(3)));
    EXPECT_TRUE(mayDrop(play, carriedAt(play, PileRef::tableau(0), 1), PileRef::tableau(3)));
}

TEST(Drop, ReleaseTakesTheFirstLegalCandidate)
{
    cw::engine::GameRules rules = basicRules(4, 4, 1);
    GameState st = stateFromText("Fila1: 9h 8h; Fila2: 9s; Fila3: 9h:2");
    const PlayOptions opt;
    Events ev;
    Play play{rules, st, opt, &ev};
    tablePress(play, Press{PileRef::tableau(0), 1});
    noteDragMoved(st);
    const PileRef candidates[] = {PileRef::tableau(1), PileRef::reserve(0), PileRef::tableau(2)};
    EXPECT_TRUE(tableRelease(play, candidates));
    EXPECT_EQ(pileText(st, PileRef::reserve(0)), "008");
    EXPECT_EQ(st.drag.carriedCard, 0);
    EXPECT_TRUE(st.moveMade);
    const auto moved = std::find_if(ev.begin(), ev.end(), [](const Event& e) { return e.type == EventType::CardMoved; });
    ASSERT_NE(moved, ev.end());
    EXPECT_EQ(moved->card, cardCode(0, 8));
    EXPECT_EQ(moved->from, PileRef::tableau(0));
    EXPECT_EQ(moved->to, PileRef::reserve(0));
}

TEST(Drop, CandidateRankingPrefersTheHigherKindOnEqualArea)
{
    const auto ranked = rankCandidates({{PileRef::tableau(3), 500}, {PileRef::reserve(0), 500},
                                        {PileRef::foundation(1), 200}, {PileRef::tableau(1), 900},
                                        {PileRef::waste(), 100}});
    const std::vector<PileRef> expected = {PileRef::tableau(1), PileRef::reserve(0), PileRef::tableau(3),
                                           PileRef::foundation(1)};
    EXPECT_EQ(ranked, expected);
}

TEST(Drop, StockFirstCodeHoldsTableauMovesBack)
{
    cw::engine::GameRules rules = basicRules();
    setRange(rules, 215, 4, 129);
    GameState st = stateFromText("Mazzo: 2c; Fila1: 8h; Fila2: 9s");
    const PlayOptions opt;
    Events ev;
    Play play{rules, st, opt, &ev};
    const PileRef target = PileRef::tableau(1);
    EXPECT_FALSE(dropAttempt(play, carriedAt(play, PileRef::tableau(0), 0), std::span(&target, 1)).valid());
    ASSERT_EQ(ev.size(), 1u);
    EXPECT_EQ(ev[0].text, "Building on the tableau is allowed only when the stock is empty.");
}

TEST(MoveExecution, MoveNamesTargetTheirPiles)
{
    EXPECT_EQ(cardMoveTarget("Dest_Autoplay3"), PileRef::foundation(2));
    EXPECT_EQ(cardMoveTarget("Dest3"), PileRef::foundation(2));
    EXPECT_EQ(cardMoveTarget("Fila12"), PileRef::tableau(11));
    EXPECT_EQ(cardMoveTarget("Appogg4"), PileRef::reserve(3));
    EXPECT_EQ(cardMoveTarget("Stock02"), PileRef::waste());
    EXPECT_EQ(cardMoveTarget("Waste"), PileRef::secondWaste());
    EXPECT_FALSE(cardMoveTarget("Fila41").valid());
    EXPECT_FALSE(cardMoveTarget("Mazzo_Vis").valid());
}

TEST(MoveExecution, AutoplayNameSoundsAutoplay)
{
    cw::engine::GameRules rules = basicRules();
    for (const char* name : {"Dest3", "Dest_Autoplay3"}) {
        GameState st = stateFromText("Fila1: 5c Ah");
        const PlayOptions opt;
        Events ev;
        Play play{rules, st, opt, &ev};
        ASSERT_TRUE(executeMove(play, cardCode(0, 1), name));
        EXPECT_EQ(pileText(st, PileRef::foundation(2)), "001") << name;
        bool autoplaySound = false;
        for (const Event& e : ev)
            autoplaySound = autoplaySound || (e.type == EventType::Sound && e.text == "Autoplay");
        EXPECT_EQ(autoplaySound, std::string(name) == "Dest_Autoplay3");
    }
}

TEST(MoveExecution, AutomaticTurnUpFollowsATableauMove)
{
    cw::engine::GameRules rules = basicRules();
    GameState st = stateFromText("Fila1: *5c 8h; Fila2: 9h");
    PlayOptions opt;
    Events ev;
    Play play{rules, st, opt, &ev};
    ASSERT_TRUE(moveCards(play, PileRef::tableau(0), 1, PileRef::tableau(1), false));
    EXPECT_FALSE(st.table.isFaceDown(cardCode(2, 5)));
    EXPECT_EQ(st.movesMade, 1);
    // Without rule parameter 44 the card stays face down.
    rules.set(44, 0);
    st = stateFromText("Fila1: *5c 8h; Fila2: 9h");
    ASSERT_TRUE(moveCards(play, PileRef::tableau(0), 1, PileRef::tableau(1), false));
    EXPECT_TRUE(st.table.isFaceDown(cardCode(2, 5)));
}

TEST(MoveExecution, CompleteRuns)
{
    struct RunCase {
        const char* name;
        int base;
        const char* pile;
        bool removed;
    };
    const RunCase cases[] = {
        {"same-suit run, base 97", 97, "Kh Qh Jh 10h 9h 8h 7h 6h 5h 4h 3h 2h", true},
        {"mixed suits, base 97", 97, "Kh Qs Jh 10h 9h 8h 7h 6h 5h 4h 3h 2h", false},
        {"mixed suits, base 83", 83, "Kh Qs Jh 10h 9h 8h 7h 6h 5h 4h 3h 2h", false},
        {"mixed suits, same colour, base 98", 98, "Kh Qd Jh 10h 9h 8h 7h 6h 5h 4h 3h 2h", true},
        {"face-down card in the run", 97, "Kh *Qh Jh 10h 9h 8h 7h 6h 5h 4h 3h 2h", false},
    };
    for (const RunCase& c : cases) {
        cw::engine::GameRules rules = basicRules(2, 2);
        rules.set(2, 0);
        setRange(rules, 55, 2, c.base);
        GameState st = stateFromText(std::string("Fila1: ") + c.pile + "; Fila2: Ah");
        const PlayOptions opt;
        Play play{rules, st, opt};
        ASSERT_TRUE(moveCards(play, PileRef::tableau(1), 0, PileRef::tableau(0), false)) << c.name;
        EXPECT_EQ(st.table.foundation(0).cardCount(), c.removed ? 13 : 0) << c.name;
        EXPECT_EQ(st.table.tableau(0).cardCount(), c.removed ? 0 : 13) << c.name;
    }
}

TEST(MoveExecution, WinTestAfterTheLastCard)
{
    cw::engine::GameRules rules = basicRules(2, 1);
    GameState st = stateFromText("Dest1: Ah 2h 3h; Fila1: 4h");
    const PlayOptions opt;
    Events ev;
    Play play{rules, st, opt, &ev};
    ASSERT_TRUE(executeMove(play, cardCode(0, 4), "Dest1"));
    EXPECT_TRUE(st.won);
    EXPECT_EQ(ev.back().type, EventType::GameWon);
}

TEST(MoveExecution, ClickToPlayPrefersFoundationsThenNonEmptyPiles)
{
    cw::engine::GameRules rules = basicRules(4, 4, 1);
    GameState st = stateFromText("Fila1: 9h 8h; Fila2: 9h:2; Dest1: 7h");
    const PlayOptions opt;
    Play play{rules, st, opt};
    ASSERT_TRUE(clickToPlay(play, PileRef::tableau(0), 1, Gesture::RightClick));
    EXPECT_EQ(pileText(st, PileRef::foundation(0)), "007 008");
    st = stateFromText("Fila1: 9h 8h; Fila3: 9h:2");
    ASSERT_TRUE(clickToPlay(play, PileRef::tableau(0), 1, Gesture::RightClick));
    EXPECT_EQ(pileText(st, PileRef::tableau(2)), "061 008") << "the non-empty pile before the empty ones";
    // A double click goes to tableau piles only when its option says so; free cells take the
    // card whatever the options.
    st = stateFromText("Fila1: 9h 8h; Fila3: 9h:2");
    ASSERT_TRUE(clickToPlay(play, PileRef::tableau(0), 1, Gesture::DoubleClick));
    EXPECT_EQ(pileText(st, PileRef::reserve(0)), "008");
    rules.set(376, 0);
    st = stateFromText("Fila1: 9h 8h; Fila3: 9h:2");
    EXPECT_FALSE(clickToPlay(play, PileRef::tableau(0), 1, Gesture::DoubleClick));
}

} // namespace
