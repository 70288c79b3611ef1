// The quick proof that a position of an open game is lost: never said of a position a win passes through, and it settles deals whose Ace lies under the cards waiting for it.
#include <gtest/gtest.h>

#include "engine/built_catalog.h"

#include <string>

#include "catalog/definitions.h"
#include "engine/deal.h"
#include "engine/legal_moves.h"
#include "engine/search_open.h"
#include "engine/search_open_dead.h"
#include "engine/solver.h"

using namespace cw::engine;

namespace {

// Every position of every winning line the solver finds in the first deals of each game the
// compact form accepts: the test must let all of them live, or it would cut wins away.
TEST(SearchOpenDeadlock, NoPositionOfAWinningLineIsCalledLost)
{
    const auto catalog = cw::test::builtCatalog();
    if (!catalog)
        GTEST_SKIP() << "no GAMES.DAT next to the binaries";
    const PlayOptions options = solverPlayOptions();
    int lines = 0, positions = 0;
    catalog->forEachGame([&](const auto& entry, const cw::engine::GameRules& rules) {
        for (const char* number : {"1", "2", "3"}) {
            auto dealt = deal(rules, number);
            if (dealt.badCardCount || !openRulesFor(dealt.rules, dealt.state))
                return;
            SolverLimits limits;
            limits.maxStates = 5'000;
            const SolveResult r = solve(dealt.rules, dealt.state, limits);
            if (r.verdict != Verdict::Winnable)
                continue;
            ++lines;
            GameState s = dealt.state;
            for (const Move& m : r.line) {
                if (const auto open = openRulesFor(dealt.rules, s)) {
                    ++positions;
                    compact::DeadlockTest test(*open);
                    ASSERT_FALSE(test.lost(compact::Position(*open, s)))
                        << "game " << entry.id << " deal " << number << " before " << moveText(m);
                }
                Play play{dealt.rules, s, options};
                ASSERT_TRUE(applyMove(play, m));
            }
        }
    });
    EXPECT_GT(lines, 60);
    EXPECT_GT(positions, 5'000);
}

// Klondike deal 59 buries the Ace of Hearts under the Three of Hearts, which has neither a black
// Four to go on (one lies under the Ace, the other right under the Three) nor the Two at home.
// Deal 22 buries the Two of Hearts under the Five of Hearts, whose black Sixes can never carry
// it: the Six of Spades lies on the Five and the Six of Clubs waits in the stock, and both could
// only be laid on a red Seven, and both red Sevens lie under the Five too. Each deal is settled
// before any search, with either draw.
TEST(SearchOpenDeadlock, AnAceUnderTheCardsWaitingForItSettlesTheDeal)
{
    const auto catalog = cw::test::builtCatalog();
    if (!catalog)
        GTEST_SKIP() << "no GAMES.DAT next to the binaries";
    for (const int game : {0, 176}) {
        auto rules = cw::catalog::LoadGameRules(catalog->text, catalog->list, game, {});
        ASSERT_TRUE(rules.ok());
        for (const char* number : {"12", "59", "22"}) {
            auto dealt = deal(rules.value(), number);
            const SolveResult r = solve(dealt.rules, dealt.state, SolverLimits{});
            EXPECT_EQ(std::string(verdictText(Verdict::NotWinnable)), verdictText(r.verdict)) << game << " " << number;
            EXPECT_EQ(r.states, 1U) << game << " " << number;
        }
    }
}

} // namespace
