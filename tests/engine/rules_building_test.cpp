// The building test: the general rule, empty-pile rules, colour balance and the special codes, as case tables.
#include <gtest/gtest.h>

#include "engine/rules_building.h"
#include "rules_fixture.h"

using namespace cw::engine;
using namespace cw::test;

namespace {

struct BuildCase {
    const char* name;
    int code;      // building rule code
    int direction; // 0 down, 1 up, 2 both
    int continuity;
    int baseRank;
    int emptyRule;
    bool foundation;
    const char* target; // "" for an empty pile
    const char* moving;
    bool expected;
    bool single = true;
};

int card(const char* tok)
{
    bool up = true;
    return *tok ? parseCardToken(tok, up) : 0;
}

TEST(BuildingTest, CaseTable)
{
    const BuildCase cases[] = {
        {"in suit down: 6h on 7h", 0, 0, 0, 1, -1, false, "7h", "6h", true},
        {"in suit down: 6h on 7s refused", 0, 0, 0, 1, -1, false, "7s", "6h", false},
        {"nothing on an Ace (base 1)", 0, 0, 0, 1, -1, false, "Ah", "Kh", false},
        {"continuity 1: King on Ace", 0, 0, 1, 1, -1, false, "Ah", "Kh", true},
        {"base 5: nothing on a 5", 0, 0, 0, 5, -1, false, "5h", "4h", false},
        {"base 5: King on Ace", 0, 0, 0, 5, -1, false, "Ah", "Kh", true},
        {"alternating: red on black", 3, 0, 0, 1, -1, false, "7s", "6d", true},
        {"alternating: red on red refused", 3, 0, 0, 1, -1, false, "7h", "6d", false},
        {"same colour", 1, 0, 0, 1, -1, false, "7h", "6d", true},
        {"any suit up", 2, 1, 0, 1, -1, false, "7s", "8d", true},
        {"up or down, down side", 2, 2, 0, 1, -1, false, "7s", "6d", true},
        {"foundation: empty takes the Ace", 0, 1, 1, 1, 1, true, "", "Ah", true},
        {"foundation: empty refuses a Two", 0, 1, 1, 1, 1, true, "", "2h", false},
        {"foundation: Two follows the Ace", 0, 1, 1, 1, 1, true, "Ah", "2h", true},
        {"foundation base 1: no Ace on the King", 0, 1, 1, 1, 1, true, "Kh", "Ah", false},
        {"foundation base 5: Ace on the King", 0, 1, 1, 5, 5, true, "Kh", "Ah", true},
        {"empty rule 13: King only", 0, 0, 0, 1, 13, false, "", "Kc", true},
        {"empty rule 13: Queen refused", 0, 0, 0, 1, 13, false, "", "Qc", false},
        {"empty rule 0: nothing", 0, 0, 0, 1, 0, false, "", "Kc", false},
        {"empty rule 86: single card", 0, 0, 0, 1, 86, false, "", "5c", true},
        {"empty rule 86: group refused", 0, 0, 0, 1, 86, false, "", "5c", false, false},
        {"base rank -1: any card on empty", 0, 0, 0, -1, 0, false, "", "5c", true},
        {"code 4 refuses", 4, 0, 0, 1, -1, false, "7h", "6h", false},
        {"code 12 accepts", 12, 0, 0, 1, -1, false, "7h", "2c", true},
        {"code 11: no Queen on a King", 11, 0, 1, 1, -1, false, "Kh", "Qh", false},
        {"code 11: Jack on Queen", 11, 0, 1, 1, -1, false, "Qh", "Jh", true},
        {"code 14: two above", 14, 1, 0, 1, -1, false, "Ah", "3c", true},
        {"code 14: modulo 13", 14, 1, 0, 1, -1, false, "Qh", "Ac", true},
        {"code 16: four above", 16, 1, 0, 1, -1, false, "Ah", "5c", true},
        {"code 20: Ace on King", 20, 1, 0, 1, -1, false, "Kh", "As", true},
        {"code 20: Ace on empty", 20, 1, 0, 1, 0, false, "", "As", true},
        {"code 20: Two on empty refused", 20, 1, 0, 1, -1, false, "", "2s", false},
        {"code 21: never the own suit", 21, 0, 0, 1, -1, false, "7h", "6h", false},
        {"code 21: another suit", 21, 0, 0, 1, -1, false, "7h", "6d", true},
        {"code 24: no King on Queen", 24, 2, 1, 1, -1, false, "Qh", "Kh", false},
        {"code 25: two ranks down", 25, 0, 0, 1, -1, false, "9h", "7h", true},
        {"code 28: Ace takes only a Two", 28, 2, 0, 1, -1, false, "Ah", "Kh", false},
        {"code 28: any card on empty", 28, 2, 0, 1, 0, false, "", "Kh", true},
        {"code 31: nothing on an Ace", 31, 0, 0, 1, -1, false, "Ah", "Kh", false},
        {"code 31: one below in suit", 31, 0, 0, 1, -1, false, "5h", "4h", true},
        {"code 32: nothing on a King", 32, 1, 0, 1, -1, false, "Kh", "Ah", false},
        {"code 32: nothing on empty", 32, 1, 0, 1, -1, false, "", "Ah", false},
        {"code 35: King and Ace adjacent", 35, 2, 0, 1, -1, false, "Ah", "Ks", true},
        {"code 39: Queens never placed", 39, 1, 0, 1, -1, false, "Jh", "Qh", false},
        {"code 39: Ace on empty", 39, 1, 0, 1, 13, false, "", "Ah", true},
        {"code 41: two above modulo 13", 41, 1, 0, 1, -1, false, "Qh", "Ah", true},
        {"code 43: exactly two above", 43, 1, 0, 1, -1, false, "Ah", "3h", true},
        {"code 43: suit differs", 43, 1, 0, 1, -1, false, "Ah", "3c", false},
        {"code 6: nothing built on a card", 6, 0, 0, 1, -1, false, "7h", "6h", false},
        {"code 6: an empty pile by its own rule", 6, 0, 0, 1, -1, false, "", "6h", true},
        {"code 6: empty rule 0 keeps it shut", 6, 0, 0, 1, 0, false, "", "6h", false},
        {"code 27: alternating from the tableau", 27, 0, 0, 1, -1, false, "7s", "6d", true},
        {"code 27: same colour refused", 27, 0, 0, 1, -1, false, "7h", "6d", false},
        {"empty rule 89: an Ace", 0, 0, 0, 1, 89, false, "", "Ac", true},
        {"empty rule 89: a King", 0, 0, 0, 1, 89, false, "", "Kd", true},
        {"empty rule 89: a Queen refused", 0, 0, 0, 1, 89, false, "", "Qd", false},
        {"no turn: King on Ace refused", 0, 2, -1, 1, -1, false, "Ah", "Kh", false},
        {"no turn: Ace on King refused", 0, 2, -1, 1, -1, false, "Kh", "Ah", false},
        {"no turn, King base: Queen on King", 0, 2, -1, 13, -1, false, "Kh", "Qh", true},
        {"no turn, King base: King on Queen", 0, 2, -1, 13, -1, false, "Qh", "Kh", true},
        {"no turn, up: Two on Ace", 0, 1, -1, 1, -1, false, "Ah", "2h", true},
    };
    for (const BuildCase& c : cases) {
        const cw::engine::GameRules rules = basicRules();
        GameState st;
        const PlayOptions opt;
        const Play play{rules, st, opt};
        BuildQuery q;
        q.target = card(c.target);
        q.moving = card(c.moving);
        q.code = c.code;
        q.direction = c.direction;
        q.continuity = c.continuity;
        q.baseRank = c.baseRank;
        q.emptyRule = c.emptyRule;
        q.foundation = c.foundation;
        q.singleCard = c.single;
        q.source = PileRef::tableau(1);
        EXPECT_EQ(buildingTest(play, q), c.expected) << c.name;
    }
}

TEST(BuildingTest, Code27TakesNothingFromAReserveOrAFoundation)
{
    const cw::engine::GameRules rules = basicRules();
    GameState st;
    const PlayOptions opt;
    const Play play{rules, st, opt};
    BuildQuery q;
    q.target = card("7s");
    q.moving = card("6d");
    q.code = 27;
    for (const PileRef from : {PileRef::tableau(2), PileRef::waste(), PileRef::reserve(0), PileRef::foundation(0)}) {
        q.source = from;
        const bool expected = from.kind == PileKind::Tableau || from.kind == PileKind::Waste;
        EXPECT_EQ(buildingTest(play, q), expected) << static_cast<int>(from.kind);
    }
}

TEST(BuildingTest, ColourBalanceOfAceFoundations)
{
    cw::engine::GameRules rules = basicRules();
    setRange(rules, 55, 4, 81); // four foundations that start with Aces, two red and two black
    GameState st = stateFromText("Dest1: Ah; Dest2: Ad");
    const PlayOptions opt;
    const Play play{rules, st, opt};
    BuildQuery q = foundationQuery(play, 2, card("Ac"), PileRef::tableau(0));
    EXPECT_TRUE(buildingTest(play, q));
    q.moving = card("Ah:2");
    EXPECT_FALSE(buildingTest(play, q)) << "a third red Ace breaks the balance";
    q.moving = card("2c");
    EXPECT_FALSE(buildingTest(play, q)) << "only Aces start these foundations";
}

TEST(BuildingTest, StockFirstRestrictionRefusesTableauCards)
{
    cw::engine::GameRules rules = basicRules();
    rules.set(37, 1);
    GameState st = stateFromText("Mazzo: 5c; Fila1: Ah");
    const PlayOptions opt;
    const Play play{rules, st, opt};
    EXPECT_FALSE(buildingTest(play, foundationQuery(play, 0, card("Ah"), PileRef::tableau(0))));
    EXPECT_TRUE(buildingTest(play, foundationQuery(play, 0, card("Ah"), PileRef::waste())));
    st.table.stock().clear();
    EXPECT_TRUE(buildingTest(play, foundationQuery(play, 0, card("Ah"), PileRef::tableau(0))));
}

TEST(BuildingTest, FoundationStartTestSpreadsSuits)
{
    cw::engine::GameRules rules = basicRules();
    setRange(rules, 55, 4, -1); // any first card
    rules.set(51, 1);
    GameState st = stateFromText("Dest1: 7h");
    const PlayOptions opt;
    const Play play{rules, st, opt};
    EXPECT_FALSE(buildingTest(play, foundationQuery(play, 1, card("2h"), PileRef::tableau(0))));
    EXPECT_TRUE(buildingTest(play, foundationQuery(play, 1, card("2s"), PileRef::tableau(0))));
}

} // namespace
