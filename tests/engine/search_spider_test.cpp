// The Spider family's compact generator and moves against the engine's, over the catalog, and its search on real deals.
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

// Random play from a few deals of every game the compact form accepts: at each position both
// generators give the same moves, and a move played on the compact form leaves the same piles,
// faces and verdict of a win as the engine's. Moves that join runs of one suit are preferred so
// that complete runs leave the tableau now and then.
TEST(SearchSpider, SameMovesAndPilesAsTheEngineOverTheCatalog)
{
    const auto catalog = cw::test::builtCatalog();
    if (!catalog)
        GTEST_SKIP() << "no GAMES.DAT next to the binaries";
    const PlayOptions options = solverPlayOptions();
    std::mt19937 random(5);
    int games = 0, positions = 0, runs = 0;
    bool spider4 = false, spider1 = false;
    catalog->forEachGame([&](const auto& entry, const cw::engine::GameRules& rules) {
        bool counted = false;
        for (const char* number : {"1", "617", "30"}) {
            auto dealt = deal(rules, number);
            if (dealt.badCardCount)
                return;
            GameState s = dealt.state;
            for (int step = 0; step < 400; ++step) {
                const auto spider = spiderRulesFor(dealt.rules, s);
                if (!spider)
                    break;
                if (!counted) {
                    ++games;
                    counted = true;
                    spider4 = spider4 || entry.id == 18;
                    spider1 = spider1 || entry.id == 207;
                }
                ++positions;
                MoveList general, compact;
                Play play{dealt.rules, s, options};
                generateMoves(play, general);
                spiderMoves(*spider, s, compact);
                ASSERT_EQ(sorted(general), sorted(compact)) << "game " << entry.id << " deal " << number << " step " << step;
                if (general.empty())
                    break;
                std::vector<Move> inSuit;
                for (const Move& m : general)
                    if (m.kind == MoveKind::Transfer && holdsCard(s.table.pile(m.to)) &&
                        suit(s.table.pile(m.to).top()) == suit(s.table.pile(m.from)[static_cast<std::size_t>(m.index)]))
                        inSuit.push_back(m);
                const Move m = !inSuit.empty() && random() % 4 != 0
                                   ? inSuit[random() % inSuit.size()]
                                   : general[static_cast<int>(random() % static_cast<unsigned>(general.size()))];
                GameState expected;
                ASSERT_TRUE(spiderPlay(*spider, s, m, expected)) << moveText(m);
                int homeBefore = 0, homeAfter = 0;
                for (int f = 0; f < kFoundationPiles; ++f)
                    homeBefore += static_cast<int>(s.table.foundation(f).size());
                ASSERT_TRUE(applyMove(play, m));
                for (int f = 0; f < kFoundationPiles; ++f)
                    homeAfter += static_cast<int>(s.table.foundation(f).size());
                runs += homeAfter > homeBefore ? 1 : 0;
                const std::string where = "game " + std::to_string(entry.id) + " deal " + number + " move " + moveText(m);
                ASSERT_EQ(expected.table.piles(), s.table.piles()) << where;
                ASSERT_EQ(expected.won, s.won) << where;
                for (int c = 0; c < kTableauPiles; ++c)
                    for (int card : s.table.tableau(c))
                        ASSERT_EQ(expected.table.isFaceDown(card), s.table.isFaceDown(card)) << where;
                if (s.won)
                    break;
            }
        }
    });
    EXPECT_TRUE(spider4) << "Spider should take the compact search";
    EXPECT_TRUE(spider1) << "Spider one suit should take the compact search";
    EXPECT_GT(runs, 0) << "no complete run was compared";
    std::cout << "[ spider games ] " << games << " games, " << positions << " positions, " << runs << " runs home\n";
}

} // namespace

namespace {

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
