// Index-placed drops: on tableau styles 8 and 9 a card dropped on a position fills the gap there or goes in front of the card there.
#include <gtest/gtest.h>

#include <vector>

#include "engine/drop.h"
#include "engine/pickup.h"
#include "rules_fixture.h"

using namespace cw::engine;
using namespace cw::test;

namespace {

// Two rows building down in suit, any card on an empty row or at a row's start.
cw::engine::GameRules rowRules(int fanStyle)
{
    cw::engine::GameRules rules = basicRules(2);
    rules.set(3, fanStyle);
    return rules;
}

TEST(IndexDrop, PositionDecidesWhereTheCardGoesAndWhatItIsJudgedAgainst)
{
    struct Case {
        const char* name;
        int fanStyle;
        PileRef from;
        int index;
        DropSpot spot;
        bool legal;
        const char* row1; // the first row after the release
    };
    // 9h, a gap, 5c in the first row; Kd and 8h in the second (8h on top).
    const Case cases[] = {
        {"8h fills the gap after 9h", 9, PileRef::tableau(1), 1, {PileRef::tableau(0), 1}, true, "009 008 031"},
        {"in front of 5c: it follows a gap, any card", 9, PileRef::tableau(1), 1, {PileRef::tableau(0), 2}, true,
         "009 000 008 031"},
        {"at the start of the row", 8, PileRef::tableau(1), 1, {PileRef::tableau(0), 0}, true, "008 009 000 031"},
        {"the next place is the top: 8h on 5c refused", 9, PileRef::tableau(1), 1, {PileRef::tableau(0), 3}, false,
         "009 000 031"},
        {"Kd does not follow 9h", 9, PileRef::tableau(1), 0, {PileRef::tableau(0), 1}, false, "009 000 031"},
        {"within its own row: 5c to the start", 9, PileRef::tableau(0), 2, {PileRef::tableau(0), 0}, true,
         "031 009 000"},
        {"onto its own place", 9, PileRef::tableau(0), 2, {PileRef::tableau(0), 2}, false, "009 000 031"},
        {"other styles ignore the position: 8h on 5c refused", 1, PileRef::tableau(1), 1, {PileRef::tableau(0), 1},
         false, "009 000 031"},
    };
    for (const Case& c : cases) {
        const cw::engine::GameRules rules = rowRules(c.fanStyle);
        GameState st = stateFromText("Fila1: 9h 000 5c; Fila2: Kd 8h");
        const PlayOptions opt;
        Play play{rules, st, opt};
        const Carried g = carriedAt(play, c.from, c.index);
        const Carried one{g.card, g.source, g.index, 1};
        EXPECT_EQ(mayDropAt(play, one, c.spot), c.legal) << c.name;
        const std::vector<DropSpot> spots{c.spot};
        EXPECT_EQ(dropAttemptAt(play, one, spots).valid(), c.legal) << c.name;
        EXPECT_EQ(pileText(st, PileRef::tableau(0)), c.row1) << c.name;
    }
}

TEST(IndexDrop, TheReleasePassesThePositionToTheDrop)
{
    const cw::engine::GameRules rules = rowRules(9);
    GameState st = stateFromText("Fila1: 9h 000 5c; Fila2: 8h");
    const PlayOptions opt;
    Play play{rules, st, opt};
    tablePress(play, Press{PileRef::tableau(1), 0});
    noteDragMoved(st);
    // The best spot refuses (8h on 5c); the gap after 9h takes the card.
    const std::vector<DropSpot> spots{{PileRef::tableau(0), 3}, {PileRef::tableau(0), 1}};
    EXPECT_TRUE(tableReleaseAt(play, spots));
    EXPECT_EQ(pileText(st, PileRef::tableau(0)), "009 008 031");
    EXPECT_TRUE(st.table.tableau(1).empty());
    EXPECT_EQ(st.drag.carriedCard, 0);
}

} // namespace
