// The Draw as a generated move: offered in the last deal only, once per game, in the notation and through playMove.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/built_catalog.h"
#include "engine/deal.h"
#include "engine/legal_moves.h"
#include "rules_fixture.h"

using namespace cw::engine;
using namespace cw::test;

namespace {

// Fans built down in suit, one card at a time, with the one Draw of the last deal.
cw::engine::GameRules drawRules()
{
    cw::engine::GameRules rules = basicRules(3);
    rules.set(14, -17);
    return rules;
}

std::vector<std::string> drawTexts(const Play& play)
{
    MoveList list;
    generateMoves(play, list);
    std::vector<std::string> out;
    for (const Move& m : list)
        if (m.kind == MoveKind::Draw)
            out.push_back(moveText(m));
    return out;
}

TEST(LegalMovesDraw, OfferedInTheLastDealOnceAndOutsideTheTutor)
{
    const cw::engine::GameRules rules = drawRules();
    struct Case {
        const char* name;
        int dealNumber;
        bool drawUsed;
        int tutorMode;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {"deal 3: every buried face-up card", 3, false, 0, {"draw Fila1 0", "draw Fila1 1", "draw Fila3 1"}},
        {"deal 2: not yet", 2, false, 0, {}},
        {"already used", 3, true, 0, {}},
        {"the demo never draws", 3, false, 3, {}},
    };
    for (const Case& c : cases) {
        GameState st = stateFromText("Fila1: 5c Kh 9d; Fila2: 10d; Fila3: *2s 7h 4s");
        st.dealNumber = c.dealNumber;
        st.drawUsed = c.drawUsed;
        st.tutorMode = c.tutorMode;
        const PlayOptions opt;
        const Play play{rules, st, opt};
        EXPECT_EQ(drawTexts(play), c.expected) << c.name;
    }
}

TEST(LegalMovesDraw, PlaysThroughTheNotationOnceAndRefusesWithAReason)
{
    const cw::engine::GameRules rules = drawRules();
    GameState st = stateFromText("Fila1: 5c Kh 9d; Fila2: 10d; Fila3: 7h 4s");
    st.dealNumber = 3;
    const PlayOptions opt;
    Play play{rules, st, opt};

    const auto draw = parseMove("draw Fila1 0");
    ASSERT_TRUE(draw.has_value());
    EXPECT_EQ(moveText(*draw), "draw Fila1 0");
    std::string reason;
    ASSERT_TRUE(playMove(play, *draw, &reason)) << reason;
    EXPECT_EQ(pileText(st, PileRef::tableau(0)), "013 022 031");
    EXPECT_TRUE(st.drawUsed);
    EXPECT_TRUE(drawTexts(play).empty());

    struct Refusal {
        const char* move;
        const char* reason;
        int dealNumber;
        bool drawUsed;
    };
    const Refusal refusals[] = {
        {"draw Fila1 1", "only one Draw is permitted", 3, true},
        {"draw Fila1 1", "the Draw is allowed after the last redeal", 2, false},
        {"draw Fila1 2", "no buried card to draw there", 3, false},
        {"draw Fila2 0", "no buried card to draw there", 3, false},
        {"draw Fila9 0", "not a tableau pile in use", 3, false},
    };
    for (const Refusal& r : refusals) {
        st.dealNumber = r.dealNumber;
        st.drawUsed = r.drawUsed;
        const GameState before = st;
        const auto mv = parseMove(r.move);
        ASSERT_TRUE(mv.has_value()) << r.move;
        EXPECT_FALSE(playMove(play, *mv, &reason)) << r.move;
        EXPECT_EQ(reason, r.reason) << r.move;
        EXPECT_EQ(st.table, before.table) << r.move;
    }
    std::string error;
    for (const char* bad : {"draw Dest1 0", "draw Fila1 x", "draw Fila1", "draw Fila1 0 Fila2"})
        EXPECT_FALSE(parseMove(bad, &error).has_value()) << bad;
}

// La Belle Lucie from the built catalog: after its two redeals the Draw is listed for buried
// cards, and after one is played it is gone for the rest of the game.
TEST(LegalMovesDraw, LaBelleLucieOffersTheDrawAfterItsLastRedeal)
{
    const auto catalog = builtCatalog();
    if (!catalog)
        GTEST_SKIP() << "no GAMES.DAT next to the binaries";
    auto loaded = cw::catalog::LoadGameRules(catalog->text, catalog->list, 50, {});
    ASSERT_TRUE(loaded.ok());
    DealResult dealt = deal(loaded.value(), "1234");
    const PlayOptions opt;
    Play play{dealt.rules, dealt.state, opt};
    for (int i = 0; i < 2; ++i) {
        EXPECT_TRUE(drawTexts(play).empty()) << "deal " << dealt.state.dealNumber;
        std::string reason;
        ASSERT_TRUE(playMove(play, Move{MoveKind::Stock, PileRef::stock(), -1, {}}, &reason)) << reason;
    }
    ASSERT_EQ(dealt.state.dealNumber, 3);
    const std::vector<std::string> draws = drawTexts(play);
    ASSERT_FALSE(draws.empty());
    std::string reason;
    ASSERT_TRUE(playMove(play, *parseMove(draws.back()), &reason)) << draws.back() << ": " << reason;
    EXPECT_TRUE(dealt.state.drawUsed);
    EXPECT_TRUE(drawTexts(play).empty());
}

} // namespace
