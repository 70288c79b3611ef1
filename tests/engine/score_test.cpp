// The score: the standard formula's terms, added points, a family's own formula and the score after undo.
#include <gtest/gtest.h>

#include "engine/family.h"
#include "engine/score.h"
#include "history_support.h"
#include "rule_sets.h"

using namespace cw::engine;
using namespace cw::test;
using Rules = cw::engine::GameRules;

namespace {

Rules scoringRules(int cards, int reducedPack, int foundations, int constant = 0, int jokers = 0)
{
    Rules r;
    r.set(378, cards);
    r.set(49, reducedPack);
    r.set(374, foundations);
    r.set(48, constant);
    r.set(381, jokers);
    return r;
}

// n cards of the first deck (codes from first) on a pile, face up.
std::string cards(int first, int n)
{
    std::string s;
    for (int c = first; c < first + n; ++c)
        s += codeText(c) + "1";
    return s;
}

} // namespace

TEST(Score, StandardFormula)
{
    struct Case {
        const char* name;
        Rules rules;
        std::vector<std::pair<std::string, std::string>> piles;
        const char* code;
        int expected;
    };
    const std::vector<Case> cases = {
        {"one deck, nothing home", scoringRules(52, 0, 4), {}, "01", -52},
        {"one deck, all home",
         scoringRules(52, 0, 4),
         {{"Dest1", cards(1, 13)}, {"Dest2", cards(14, 13)}, {"Dest3", cards(27, 13)}, {"Dest4", cards(40, 13)}},
         "01",
         208},
        {"32-card deck", scoringRules(52, 1, 4), {}, "01", -32},
        {"two decks reduced", scoringRules(104, 1, 8), {}, "01", -64},
        {"reduced pack code 2", scoringRules(52, 2, 4), {}, "01", -28},
        {"other pack code: no debt", scoringRules(52, 3, 4), {}, "01", 0},
        {"each joker lowers by 5", scoringRules(54, 0, 4, 0, 2), {}, "01", -54 - 10},
        {"game constant", scoringRules(52, 0, 4, 3), {}, "01", -52 + 15},
        {"second waste counts", scoringRules(52, 0, 4), {{"Mazzo_Waste", cards(1, 3)}}, "01", -52 + 15},
        {"placeholders count", scoringRules(52, 0, 4), {{"Dest1", "00110000"}}, "01", -52 + 10},
        {"foundations beyond the count do not", scoringRules(52, 0, 2), {{"Dest3", cards(1, 2)}}, "01", -52},
        {"waste and tableau do not",
         scoringRules(52, 0, 4),
         {{"Mazzo_Vis", cards(1, 2)}, {"Fila1", cards(5, 2)}},
         "01",
         -52},
        {"other scoring code", scoringRules(52, 0, 4), {{"Dest1", cards(1, 2)}}, "02", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(standardScore(c.rules, tableOf(c.piles), c.code), c.expected);
    }
}

TEST(Score, AddPoints)
{
    struct Case {
        int family;
        const char* code;
        int expected;
    };
    for (const Case& c : std::vector<Case>{{0, "01", -37},
                                           {12, "01", -37},
                                           {9, "01", -52},
                                           {59, "01", -52},
                                           {76, "01", -52},
                                           {77, "01", -52},
                                           {0, "02", -52}})
        EXPECT_EQ(addPoints(-52, 3, c.code, familyFor(c.family)), c.expected) << c.family << " " << c.code;
}

// A family that scores its own way: the stored score carries on, as a hand-scoring family's does.
class KeepsStoredScore final : public SpecialFamily {
public:
    std::optional<int> score(const ScoreInput& in) const override { return in.storedScore; }
};

TEST(Score, FamilyFormulaReplacesTheStandardOne)
{
    Rules r = scoringRules(52, 0, 4);
    GameState s;
    s.table = tableOf({{"Dest1", cards(1, 2)}});
    EXPECT_EQ(recomputeScore({r, s, "01", 17}), -42) << "ordinary game";
    static const KeepsStoredScore own;
    const Rules withOwn(r, own);
    EXPECT_EQ(recomputeScore({withOwn, s, "01", 17}), 17);
    r.set(54, 12);
    EXPECT_EQ(recomputeScore({r, s}), -42) << "a family without a formula scores by the standard one";
}

TEST(Score, UndoingAFoundationMoveTakesThePointsBack)
{
    Rules r = scoringRules(52, 0, 4);
    GameState s;
    s.table = tableOf({{"Fila1", cards(1, 1)}});
    History h;
    const HistoryPolicy p;
    EXPECT_EQ(recomputeScore({r, s}), -52);
    h.pushUndo(s.table, p);
    s.table.append(PileRef::foundation(0), s.table.tableau(0).pop(), true);
    EXPECT_EQ(recomputeScore({r, s}), -47);
    ASSERT_TRUE(h.undoMove(s, p));
    EXPECT_EQ(recomputeScore({r, s}), -52);
    ASSERT_TRUE(h.redoMove(s, p));
    EXPECT_EQ(recomputeScore({r, s}), -47);
}
