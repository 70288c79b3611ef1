// The stock: draws, the two-phase turnover, dealing rows, redeal procedures and the gather-and-redeal interleave.
#include <gtest/gtest.h>

#include "engine/pickup.h"
#include "engine/stock.h"
#include "rules_fixture.h"

using namespace cw::engine;
using namespace cw::test;

namespace {

cw::engine::GameRules wasteGame(int perClick, int deals)
{
    cw::engine::GameRules r = basicRules(7);
    r.set(11, 1);
    r.set(7, 1);
    r.set(24, perClick);
    r.set(16, deals);
    return r;
}

TEST(Stock, DrawThreeWithTwoLeft)
{
    const cw::engine::GameRules rules = wasteGame(3, -1);
    GameState st = stateFromText("Mazzo: *Ah *2h; Mazzo_Vis: 5c");
    const PlayOptions opt;
    Play play{rules, st, opt};
    EXPECT_TRUE(stockClick(play, false));
    EXPECT_TRUE(st.table.stock().empty());
    EXPECT_EQ(pileText(st, PileRef::waste()), "031 002 001");
}

TEST(Stock, TurnoverHasTwoPhasesAndNeedsTwoCards)
{
    const cw::engine::GameRules rules = wasteGame(1, 3);
    GameState st = stateFromText("Mazzo_Vis: Ah 2h 3h");
    const PlayOptions opt;
    Events ev;
    Play play{rules, st, opt, &ev};
    EXPECT_FALSE(stockClick(play, false)) << "the press only arms the turnover";
    EXPECT_TRUE(st.redealArmed);
    EXPECT_EQ(ev.back().type, EventType::StockDown);
    EXPECT_TRUE(stockRelease(play));
    EXPECT_EQ(pileText(st, PileRef::stock()), "*003 *002 *001");
    EXPECT_EQ(st.dealNumber, 2);
    EXPECT_FALSE(st.redealArmed);

    // Deal 3 of 3: no turnover left.
    st = stateFromText("Mazzo_Vis: Ah 2h 3h");
    st.dealNumber = 3;
    EXPECT_FALSE(stockClick(play, true));
    // A waste of one card is not turned over.
    st = stateFromText("Mazzo_Vis: Ah");
    EXPECT_FALSE(stockClick(play, true));
    EXPECT_EQ(pileText(st, PileRef::waste()), "001");
}

TEST(Stock, DrawRestrictionWhileTheWasteHoldsCards)
{
    cw::engine::GameRules rules = wasteGame(1, -1);
    rules.set(18, 1);
    GameState st = stateFromText("Mazzo: 5c; Mazzo_Vis: Ah");
    const PlayOptions opt;
    Play play{rules, st, opt};
    EXPECT_FALSE(stockClickAvailable(play));
    EXPECT_FALSE(stockClick(play, true));
    st.table.waste().clear();
    EXPECT_TRUE(stockClick(play, true));
}

TEST(Stock, AddTableausDealsWhileTheStockLasts)
{
    cw::engine::GameRules rules = basicRules(7);
    setRange(rules, 295, 7, 1);
    GameState st = stateFromText("Mazzo: *Ah *2h *3h; Fila1: 9c; Fila2: 9c:2; Fila3: 9s; Fila4: 9s:2");
    const PlayOptions opt;
    Play play{rules, st, opt};
    EXPECT_TRUE(stockClick(play, false));
    EXPECT_EQ(pileText(st, PileRef::tableau(0)), "035 003");
    EXPECT_EQ(pileText(st, PileRef::tableau(1)), "087 002");
    EXPECT_EQ(pileText(st, PileRef::tableau(2)), "048 001");
    EXPECT_TRUE(st.table.tableau(3).cardCount() == 1);
}

TEST(Stock, DealValueSevenSkipsEmptyPilesAndSixDealsFaceDown)
{
    cw::engine::GameRules rules = basicRules(3);
    setList(rules, 295, {7, 6, 1});
    GameState st = stateFromText("Mazzo: *Ah *2h *3h; Fila2: 9c");
    const PlayOptions opt;
    Play play{rules, st, opt};
    EXPECT_TRUE(executeStockMove(play, "Add_Tableaus"));
    EXPECT_EQ(pileText(st, PileRef::tableau(0)), "");
    EXPECT_EQ(pileText(st, PileRef::tableau(1)), "035 *003");
    EXPECT_EQ(pileText(st, PileRef::tableau(2)), "002");
}

TEST(Stock, FillGapsBeforeDealing)
{
    cw::engine::GameRules rules = basicRules(2);
    setRange(rules, 295, 2, 2);
    GameState st = stateFromText("Mazzo: Ah 2h; Fila1: 9c");
    const PlayOptions opt;
    Events ev;
    Play play{rules, st, opt, &ev};
    EXPECT_FALSE(stockClick(play, false));
    ASSERT_EQ(ev.size(), 1u);
    EXPECT_EQ(ev[0].text, "Fill in any gaps in the tableau before dealing.");
}

TEST(Stock, InterleaveOfTheGatheredCards)
{
    EXPECT_EQ(interleaveGathered({1, 2, 3, 4}), (std::vector<int>{3, 1, 2, 4}));
    EXPECT_EQ(interleaveGathered({}), std::vector<int>{});
    EXPECT_EQ(interleaveGathered({7}), std::vector<int>{7});
}

TEST(Stock, GatherAndRedealKeepsEveryCard)
{
    cw::engine::GameRules rules = basicRules(3);
    rules.set(17, 2);
    rules.set(16, 3);
    setList(rules, 382, {2, 2, 2});
    setList(rules, 422, {1, 1, 1});
    GameState st = stateFromText("Fila1: Ah 2h; Fila2: 3h; Fila3: 4h 5h 6h");
    const PlayOptions opt;
    Events ev;
    Play play{rules, st, opt, &ev};
    EXPECT_FALSE(stockClick(play, false));
    EXPECT_TRUE(stockRelease(play));
    EXPECT_EQ(st.dealNumber, 2);
    EXPECT_EQ(st.table.cardCount(), 6);
    // Gathered Ah 2h 3h 4h 5h 6h, interleaved 4h Ah 2h 6h 3h 5h, dealt round; top cards face up.
    EXPECT_EQ(pileText(st, PileRef::tableau(0)), "*004 006");
    EXPECT_EQ(pileText(st, PileRef::tableau(1)), "*001 003");
    EXPECT_EQ(pileText(st, PileRef::tableau(2)), "*002 005");
    EXPECT_EQ(st.eventCounts[3], 1);
}

TEST(Stock, RedealProcedures)
{
    struct RedealCase {
        const char* name;
        int mode;
        const char* table;
        PileRef pile;
        const char* expected;
    };
    const RedealCase cases[] = {
        {"7: bottom card to the top", 7, "Fila1: Ah 2h 3h", PileRef::tableau(0), "002 003 001"},
        {"4: tableau back to the stock", 4, "Fila1: Ah 2h; Fila2: 3h", PileRef::stock(), "*003 *001 *002"},
        {"11: gathered in passes, reversed", 11, "Fila1: Ah 2h; Fila2: 3h", PileRef::stock(), "*001 *002 *003"},
        {"10: interleaved into the stock", 10, "Fila1: Ah 2h; Appogg1: 3h 4h", PileRef::stock(), "*003 *001 *002 *004"},
        {"12: gathered in passes and dealt round", 12, "Fila1: Ah 2h; Fila2: 3h", PileRef::tableau(0), "*003 001"},
        {"8: the suit run from a Two stays, the row closes", 8, "Fila1: 2h 3h 5h 4h; Fila2: 7c", PileRef::tableau(0),
         "002 003 000"},
        {"13: the first pile keeps its top, the rest dealt round", 13, "Fila1: Ah 2h 3h", PileRef::tableau(1), "002"},
        {"19: tops move to the neighbour", 19, "Fila1: Ah 2h; Fila2: 3h", PileRef::tableau(0), "001 003"},
        {"20: waste bottom cards to the reserves", 20, "Mazzo_Vis: 5c 6c", PileRef::reserve(0), "031"},
    };
    for (const RedealCase& c : cases) {
        cw::engine::GameRules rules = basicRules(2, 4, 1);
        rules.set(17, c.mode);
        rules.set(16, -1);
        setRange(rules, 382, 2, 2); // the initial deal: two cards a pile, the top one face up
        setRange(rules, 422, 2, 1);
        GameState st = stateFromText(c.table);
        const PlayOptions opt;
        Play play{rules, st, opt};
        EXPECT_TRUE(executeStockMove(play, "Mazzo_Redeal")) << c.name;
        EXPECT_EQ(pileText(st, c.pile), c.expected) << c.name;
    }
}

TEST(Stock, ReserveDealsAlternate)
{
    cw::engine::GameRules rules = basicRules(2, 4, 3);
    setRange(rules, 347, 3, 4);
    GameState st = stateFromText("Mazzo: Ah 2h 3h 4h 5h 6h");
    const PlayOptions opt;
    Play play{rules, st, opt};
    EXPECT_TRUE(stockClick(play, false));
    EXPECT_EQ(st.table.reserve(0).cardCount(), 3);
    EXPECT_TRUE(stockClick(play, false));
    EXPECT_EQ(st.table.reserve(1).cardCount(), 3);
    EXPECT_EQ(st.eventCounts[2], 2);
}

} // namespace
