// The Spider family's compact form at an empty column, a won line on both forms, and its search on real deals.
#include <gtest/gtest.h>

#include "engine/built_catalog.h"

#include <algorithm>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "catalog/definitions.h"
#include "engine/deal.h"
#include "engine/legal_moves.h"
#include "engine/search_spider.h"
#include "engine/solver.h"

using namespace cw::engine;

namespace {

std::vector<std::tuple<int, int, int, int, int>> sorted(const MoveList& list)
{
    std::vector<std::tuple<int, int, int, int, int>> v;
    for (const Move& m : list)
        v.emplace_back(static_cast<int>(m.kind), m.from.index, m.index, static_cast<int>(m.to.kind), m.to.index);
    std::sort(v.begin(), v.end());
    return v;
}

cw::engine::GameRules rulesOf(const cw::test::BuiltCatalog& catalog, int id)
{
    auto rules = cw::catalog::LoadGameRules(catalog.text, catalog.list, id, {});
    EXPECT_TRUE(rules.ok());
    return cw::engine::GameRules(rules.value());
}

// An empty column while the stock still holds rows: the compact form offers the deal exactly when
// the engine does.
TEST(SearchSpider, TheDealWithAnEmptyColumnAsTheEngineHasIt)
{
    const auto catalog = cw::test::builtCatalog();
    if (!catalog)
        GTEST_SKIP() << "no GAMES.DAT next to the binaries";
    for (int id : {18, 207}) {
        auto dealt = deal(rulesOf(*catalog, id), "3");
        GameState& s = dealt.state;
        Pile& first = s.table.tableau(0);
        for (int card : first) {
            s.table.tableau(1).push(card);
            s.table.setFace(card, true);
        }
        first.clear();
        const auto spider = spiderRulesFor(dealt.rules, s);
        ASSERT_TRUE(spider) << id;
        MoveList general, compact;
        const PlayOptions options = solverPlayOptions();
        Play play{dealt.rules, s, options};
        generateMoves(play, general);
        spiderMoves(*spider, s, compact);
        EXPECT_EQ(sorted(general), sorted(compact)) << id;
    }
}

// A won line of the search played on both forms: every complete run leaves the same way and the
// last move wins on both.
TEST(SearchSpider, AWonLineRunsTheSameOnBothForms)
{
    const auto catalog = cw::test::builtCatalog();
    if (!catalog)
        GTEST_SKIP() << "no GAMES.DAT next to the binaries";
    const struct {
        int game;
        const char* number;
    } deals[] = {{207, "1"}, {18, "3"}}; // one suit, four suits
    for (const auto& d : deals) {
        SCOPED_TRACE(std::to_string(d.game) + " #" + d.number);
        auto dealt = deal(rulesOf(*catalog, d.game), d.number);
        SolverLimits limits;
        limits.maxStates = 400'000;
        const auto result = solveSpider(dealt.rules, dealt.state, limits);
        ASSERT_TRUE(result);
        ASSERT_EQ(std::string("Winnable"), verdictText(result->verdict));
        GameState s = dealt.state;
        const PlayOptions options = solverPlayOptions();
        for (const Move& m : result->line) {
            const auto spider = spiderRulesFor(dealt.rules, s);
            ASSERT_TRUE(spider);
            GameState expected;
            ASSERT_TRUE(spiderPlay(*spider, s, m, expected)) << moveText(m);
            Play play{dealt.rules, s, options};
            ASSERT_TRUE(playMove(play, m, nullptr)) << moveText(m);
            ASSERT_EQ(expected.table.piles(), s.table.piles()) << moveText(m);
            ASSERT_EQ(expected.won, s.won) << moveText(m);
        }
        EXPECT_TRUE(s.won);
    }
}

// Spiderette deal 9 once kept the search going round attempts that added no position, so the
// clock was never read and the time budget never ended it. A hang here is that fault back.
TEST(SearchSpider, TheTimeBudgetEndsEveryAttempt)
{
    const auto catalog = cw::test::builtCatalog();
    if (!catalog)
        GTEST_SKIP() << "no GAMES.DAT next to the binaries";
    auto dealt = deal(rulesOf(*catalog, 33), "9");
    SolverLimits limits;
    limits.budgetMs = 200;
    const auto result = solveSpider(dealt.rules, dealt.state, limits);
    ASSERT_TRUE(result);
    if (result->verdict == Verdict::Winnable) {
        std::string why;
        EXPECT_TRUE(replayWins(dealt.rules, dealt.state, result->line, &why)) << why;
    } else {
        EXPECT_EQ(Verdict::Unknown, result->verdict);
    }
}

} // namespace
