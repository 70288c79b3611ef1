// The open games' compact search: keys kept move by move, looser games for proofs, twin cards, budgets and two threads.
#include <gtest/gtest.h>

#include "engine/built_catalog.h"

#include <algorithm>
#include <atomic>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "catalog/definitions.h"
#include "engine/deal.h"
#include "engine/legal_moves.h"
#include "engine/search_open.h"
#include "engine/search_open_position.h"
#include "engine/solver.h"

using namespace cw::engine;

namespace {

// The keys the search keeps up to date move by move (stock clicks and turn-overs included, many
// clicks as one step too) equal the keys of the same tables read afresh, and undoing every step
// gives the first key back.
TEST(SearchOpen, KeysKeptMoveByMoveMatchTheTableReadAfresh)
{
    const auto catalog = cw::test::builtCatalog();
    if (!catalog)
        GTEST_SKIP() << "no GAMES.DAT next to the binaries";
    std::mt19937 random(5);
    int stockGames = 0;
    catalog->forEachGame([&](const auto& entry, const cw::engine::GameRules& rules) {
        auto dealt = deal(rules, "3");
        if (dealt.badCardCount)
            return;
        const auto open = openRulesFor(dealt.rules, dealt.state);
        if (!open)
            return;
        stockGames += open->stock ? 1 : 0;
        GameState s = dealt.state;
        compact::Position pos(*open, s);
        const std::uint64_t first = pos.key();
        std::vector<compact::Op> ops;
        for (int step = 0; step < 300; ++step) {
            std::vector<compact::OpenMove> moves;
            compact::generate(*open, pos, [&](const compact::OpenMove& m) { moves.push_back(m); });
            if (moves.empty() || pos.won())
                break;
            // Clicks often, so that the stock goes round several times.
            const compact::OpenMove m = moves[random() % moves.size()];
            Move engineMove{MoveKind::Stock, PileRef::stock(), -1, {}};
            int clicks = 1;
            if (m.click()) {
                // Several clicks as one step where every one of them is sure to be there.
                const std::size_t talon = pos.pile(open->stockPile()).size() + pos.pile(open->wastePile()).size();
                if (open->deals == -1 && talon >= 2)
                    clicks = 1 + static_cast<int>(random() % 40);
                pos.clicks(clicks, ops);
            } else {
                ops.push_back(pos.move(m.from, m.index, m.to));
                engineMove = Move{MoveKind::Transfer, open->ref(m.from), m.index, open->ref(m.to)};
            }
            for (int k = 0; k < clicks; ++k) {
                GameState after;
                ASSERT_TRUE(openPlay(*open, s, engineMove, after));
                s = after;
            }
            ASSERT_EQ(compact::Position(*open, s).key(), pos.key())
                << "game " << entry.id << " step " << step << " " << moveText(engineMove);
        }
        while (!ops.empty()) {
            pos.undo(ops.back());
            ops.pop_back();
        }
        EXPECT_EQ(first, pos.key()) << "game " << entry.id;
    });
    EXPECT_GT(stockGames, 5);
}

// A loss of a looser game settles the deal, by one thread and by two. Klondike dealt three at a
// time, deal 73: lost dealt one at a time (within some 36,000 positions; its own complete search
// takes millions). Klondike deal 657: the real game took over 2 s; the looser games where the
// runs on twin cards change places and stock cards with nothing on them go back settle it within
// some 40,000 positions.
TEST(SearchOpen, ALossOfALooserGameSettlesTheDeal)
{
    const auto catalog = cw::test::builtCatalog();
    if (!catalog)
        GTEST_SKIP() << "no GAMES.DAT next to the binaries";
    const struct {
        int game;
        const char* number;
    } deals[] = {{176, "73"}, {0, "657"}};
    for (const auto& d : deals) {
        auto rules = cw::catalog::LoadGameRules(catalog->text, catalog->list, d.game, {});
        ASSERT_TRUE(rules.ok());
        auto dealt = deal(rules.value(), d.number);
        for (const int threads : {1, 2}) {
            SolverLimits limits;
            limits.maxStates = 200'000;
            limits.threads = threads;
            const SolveResult r = solve(dealt.rules, dealt.state, limits);
            EXPECT_EQ(std::string(verdictText(Verdict::NotWinnable)), verdictText(r.verdict))
                << "game " << d.game << " deal " << d.number << ", " << threads << " threads";
        }
    }
}

// Twins: the two cards that take the same cards (a red Three goes on either black Four in
// Klondike); none where building follows suit (Baker's Game) or ignores it (Baker's Dozen: four
// cards alike), and none for a card nothing goes on.
TEST(SearchOpen, TwinCardsTakeTheSameCards)
{
    const auto catalog = cw::test::builtCatalog();
    if (!catalog)
        GTEST_SKIP() << "no GAMES.DAT next to the binaries";
    auto card = [](int rank, int suit) { return suit * 13 + rank; }; // suits: Hearts, Diamonds, Clubs, Spades
    struct Case {
        int game;
        int card;
        int twin; // 0: none
    };
    const Case cases[] = {
        {0, card(4, 2), card(4, 3)},   {0, card(4, 3), card(4, 2)},   {0, card(3, 0), card(3, 1)},
        {0, card(13, 1), card(13, 0)}, {0, card(1, 0), 0},            {1, card(9, 3), card(9, 2)},
        {28, card(5, 0), 0},           {75, card(5, 0), 0},
    };
    for (const Case& c : cases) {
        auto rules = cw::catalog::LoadGameRules(catalog->text, catalog->list, c.game, {});
        ASSERT_TRUE(rules.ok()) << c.game;
        auto dealt = deal(rules.value(), "1");
        const auto open = openRulesFor(dealt.rules, dealt.state);
        ASSERT_TRUE(open) << c.game;
        EXPECT_EQ(c.twin, open->twin[static_cast<std::size_t>(c.card)]) << "game " << c.game << " card " << c.card;
    }
}

} // namespace

namespace {

// A budget spent in either phase of the Klondike search gives Unknown, never a lost deal: only a
// complete search proves a loss. Klondike deal 73 is lost, proven after some 36,000 positions of
// the complete search.
TEST(SearchOpen, ASpentBudgetNeverClaimsALoss)
{
    const auto catalog = cw::test::builtCatalog();
    if (!catalog)
        GTEST_SKIP() << "no GAMES.DAT next to the binaries";
    auto rules = cw::catalog::LoadGameRules(catalog->text, catalog->list, 0, {});
    ASSERT_TRUE(rules.ok());
    auto dealt = deal(rules.value(), "73");
    ASSERT_TRUE(openRulesFor(dealt.rules, dealt.state));
    struct Case {
        std::uint64_t maxStates;
        Verdict expected;
    };
    for (const Case& c : {Case{1000, Verdict::Unknown}, Case{20'000, Verdict::Unknown}, Case{200'000, Verdict::NotWinnable}}) {
        SolverLimits limits;
        limits.maxStates = c.maxStates;
        const SolveResult r = solve(dealt.rules, dealt.state, limits);
        EXPECT_EQ(verdictText(c.expected), std::string(verdictText(r.verdict))) << c.maxStates << " positions";
    }
}

// With two threads, the search for wins and the proof of a loss run side by side: the answers
// stay those of one thread, a spent budget or a cancel still gives Unknown, and the winning line
// comes from whichever search found it (solve replays it before returning it).
TEST(SearchOpen, TwoThreadsGiveTheAnswersOfOne)
{
    const auto catalog = cw::test::builtCatalog();
    if (!catalog)
        GTEST_SKIP() << "no GAMES.DAT next to the binaries";
    struct Case {
        int game;
        const char* number;
        std::uint64_t maxStates;
        bool cancel;
        Verdict expected;
    };
    // Thoughtful (draw three, every card face up), deal 1: its win needs a move that the searches
    // for wins skip, so the complete search must still run beside them.
    const Case cases[] = {
        {0, "73", 200'000, false, Verdict::NotWinnable}, {0, "73", 4000, false, Verdict::Unknown},
        {176, "43", 300'000, false, Verdict::Winnable},  {0, "3", 300'000, false, Verdict::Winnable},
        {4, "1", 200'000, false, Verdict::Winnable},     {0, "73", 200'000, true, Verdict::Unknown},
    };
    for (const Case& c : cases) {
        auto rules = cw::catalog::LoadGameRules(catalog->text, catalog->list, c.game, {});
        ASSERT_TRUE(rules.ok());
        auto dealt = deal(rules.value(), c.number);
        std::atomic<bool> cancel{c.cancel};
        SolverLimits limits;
        limits.maxStates = c.maxStates;
        limits.threads = 2;
        limits.cancel = &cancel;
        const SolveResult r = solve(dealt.rules, dealt.state, limits);
        const std::string where = "game " + std::to_string(c.game) + " deal " + c.number;
        EXPECT_EQ(verdictText(c.expected), std::string(verdictText(r.verdict))) << where;
        EXPECT_EQ(c.cancel, r.cancelled) << where;
        EXPECT_EQ(c.expected == Verdict::Winnable, !r.line.empty()) << where;
    }
}

// With any number of passes, the splits of stock and waste that clicks lead round to each other
// share one search key (drawn a multiple of the draw count, or all drawn); a split left by a short
// draw keeps its own, and a waste card played changes the key.
TEST(SearchOpen, StockSplitsOnOneRoundShareTheSearchKey)
{
    const auto catalog = cw::test::builtCatalog();
    if (!catalog)
        GTEST_SKIP() << "no GAMES.DAT next to the binaries";
    for (const int game : {0, 176}) {
        auto rules = cw::catalog::LoadGameRules(catalog->text, catalog->list, game, {});
        ASSERT_TRUE(rules.ok());
        auto dealt = deal(rules.value(), "73");
        const auto open = openRulesFor(dealt.rules, dealt.state);
        ASSERT_TRUE(open && open->stock && open->deals == -1) << game;
        compact::Position pos(*open, dealt.state);
        std::vector<compact::Op> ops;
        // One card out first: 23 cards leave short draws of three, so some splits lie off the round.
        pos.click(ops);
        const std::uint64_t full = pos.searchKey();
        pos.move(open->wastePile(), static_cast<int>(pos.pile(open->wastePile()).size()) - 1, 0);
        EXPECT_NE(full, pos.searchKey()) << game;
        const std::size_t n = pos.pile(open->stockPile()).size() + pos.pile(open->wastePile()).size();
        std::uint64_t round = 0;
        int offRound = 0;
        for (std::size_t k = 0; k < 2 * n + 2; ++k) {
            pos.click(ops);
            const std::size_t drawn = pos.pile(open->wastePile()).size();
            if (drawn % static_cast<std::size_t>(open->drawCount) == 0 || drawn == n) {
                round = round == 0 ? pos.searchKey() : round;
                EXPECT_EQ(round, pos.searchKey()) << "game " << game << ", " << drawn << " drawn";
            } else {
                ++offRound;
                EXPECT_NE(round, pos.searchKey()) << "game " << game << ", " << drawn << " drawn";
            }
        }
        EXPECT_EQ(offRound > 0, open->drawCount > 1) << game;
    }
}

} // namespace
