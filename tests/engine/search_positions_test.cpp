// Every compact position of the solver against the engine: the same moves and the same table after them, over the catalog.
#include <gtest/gtest.h>

#include "engine/built_catalog.h"

#include <algorithm>
#include <functional>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "engine/deal.h"
#include "engine/legal_moves.h"
#include "engine/search_open.h"
#include "engine/search_open_position.h"
#include "engine/search_spider.h"
#include "engine/solver.h"

using namespace cw::engine;

namespace {

std::vector<std::tuple<int, int, int, int, int, int>> sorted(const MoveList& list)
{
    std::vector<std::tuple<int, int, int, int, int, int>> v;
    for (const Move& m : list)
        v.emplace_back(static_cast<int>(m.kind), static_cast<int>(m.from.kind), m.from.index, m.index,
                       static_cast<int>(m.to.kind), m.to.index);
    std::sort(v.begin(), v.end());
    return v;
}

// One compact form as the test drives it: whether it takes a position, its moves there, and a
// move played on it (false for a move it cannot make).
struct PositionKind {
    const char* name;
    std::function<bool(const GameRules&, const GameState&)> takes;
    std::function<void(const GameRules&, const GameState&, MoveList&)> moves;
    std::function<bool(const GameRules&, const GameState&, const Move&, GameState&)> play;
    // Checks of its own at each position (may be empty).
    std::function<void(const GameRules&, const GameState&, int step, const std::string& where)> more;
    std::vector<const char*> numbers;
    int steps;
    std::vector<int> mustTake; // games the kind must take
    bool keepsPass;            // it writes the pass number after a move
    bool keepsWon;             // it writes the verdict of a win after a move
};

// The open form's generator limited to the moves touching some piles gives exactly those of its
// full list.
void touchingMatchesTheFullList(const GameRules& rules, const GameState& s, int step, const std::string& where)
{
    const auto open = openRulesFor(rules, s);
    const compact::Position pos(*open, s);
    const int column = step % open->tableaus;
    const int also = step % 2 == 0 && open->foundations > 0 ? open->homeFirst() : (column + 1) % open->tableaus;
    const compact::Touching touching{column, also, column};
    std::vector<std::tuple<int, int, int>> expected, limited;
    compact::generate(*open, pos, [&](const compact::OpenMove& m) {
        if (!m.click() && (m.from == column || m.to == column || m.from == also))
            expected.emplace_back(m.from, m.index, m.to);
    });
    compact::generate(
        *open, pos, [&](const compact::OpenMove& m) { limited.emplace_back(m.from, m.index, m.to); }, &touching);
    std::sort(expected.begin(), expected.end());
    std::sort(limited.begin(), limited.end());
    ASSERT_EQ(expected, limited) << where;
}

std::vector<PositionKind> positionKinds()
{
    return {
        {"open",
         [](const GameRules& r, const GameState& s) { return openRulesFor(r, s) != nullptr; },
         [](const GameRules& r, const GameState& s, MoveList& l) { openMoves(*openRulesFor(r, s), s, l); },
         [](const GameRules& r, const GameState& s, const Move& m, GameState& after) {
             return openPlay(*openRulesFor(r, s), s, m, after);
         },
         touchingMatchesTheFullList,
         {"1", "617"},
         150,
         {0, 1}, // Klondike, FreeCell
         true,
         false},
        {"spider",
         [](const GameRules& r, const GameState& s) { return spiderRulesFor(r, s) != nullptr; },
         [](const GameRules& r, const GameState& s, MoveList& l) { spiderMoves(*spiderRulesFor(r, s), s, l); },
         [](const GameRules& r, const GameState& s, const Move& m, GameState& after) {
             return spiderPlay(*spiderRulesFor(r, s), s, m, after);
         },
         {},
         {"1", "617", "30"},
         400,
         {18, 207}, // Spider, four suits and one
         false,
         true},
    };
}

// Random play from a few deals of every game a compact form takes: at each position both
// generators give the same moves, and a move played on the compact form leaves the same piles,
// tableau faces, pass number and verdict of a win as the engine's. Moves that join cards of one
// suit are preferred, so that complete runs leave the tableau now and then.
TEST(SearchPositions, SameMovesAndPilesAsTheEngineOverTheCatalog)
{
    const auto catalog = cw::test::builtCatalog();
    if (!catalog)
        GTEST_SKIP() << "no GAMES.DAT next to the binaries";
    const PlayOptions options = solverPlayOptions();
    for (const PositionKind& kind : positionKinds()) {
        SCOPED_TRACE(kind.name);
        std::mt19937 random(11);
        int games = 0, positions = 0, home = 0;
        std::vector<int> taken;
        catalog->forEachGame([&](const auto& entry, const GameRules& rules) {
            bool counted = false;
            for (const char* number : kind.numbers) {
                auto dealt = deal(rules, number);
                if (dealt.badCardCount)
                    return;
                GameState s = dealt.state;
                for (int step = 0; step < kind.steps; ++step) {
                    if (!kind.takes(dealt.rules, s))
                        break;
                    if (!counted) {
                        ++games;
                        counted = true;
                        taken.push_back(entry.id);
                    }
                    ++positions;
                    const std::string where =
                        "game " + std::to_string(entry.id) + " deal " + number + " step " + std::to_string(step);
                    MoveList general, compact;
                    Play play{dealt.rules, s, options};
                    generateMoves(play, general);
                    kind.moves(dealt.rules, s, compact);
                    ASSERT_EQ(sorted(general), sorted(compact)) << where;
                    if (kind.more)
                        kind.more(dealt.rules, s, step, where);
                    if (general.empty())
                        break;
                    std::vector<Move> inSuit;
                    for (const Move& m : general)
                        if (m.kind == MoveKind::Transfer && holdsCard(s.table.pile(m.to)) &&
                            suit(s.table.pile(m.to).top()) ==
                                suit(s.table.pile(m.from)[static_cast<std::size_t>(m.index)]))
                            inSuit.push_back(m);
                    const Move m = !inSuit.empty() && random() % 4 != 0
                                       ? inSuit[random() % inSuit.size()]
                                       : general[static_cast<int>(random() % static_cast<unsigned>(general.size()))];
                    GameState expected;
                    ASSERT_TRUE(kind.play(dealt.rules, s, m, expected)) << where << ' ' << moveText(m);
                    int homeBefore = 0, homeAfter = 0;
                    for (int f = 0; f < kFoundationPiles; ++f)
                        homeBefore += static_cast<int>(s.table.foundation(f).size());
                    ASSERT_TRUE(applyMove(play, m));
                    for (int f = 0; f < kFoundationPiles; ++f)
                        homeAfter += static_cast<int>(s.table.foundation(f).size());
                    home += homeAfter > homeBefore ? 1 : 0;
                    const std::string after = where + " move " + moveText(m);
                    ASSERT_EQ(expected.table.piles(), s.table.piles()) << after;
                    if (kind.keepsPass) {
                        ASSERT_EQ(expected.dealNumber, s.dealNumber) << after;
                    }
                    if (kind.keepsWon) {
                        ASSERT_EQ(expected.won, s.won) << after;
                    }
                    for (int c = 0; c < kTableauPiles; ++c)
                        for (int card : s.table.tableau(c))
                            ASSERT_EQ(expected.table.isFaceDown(card), s.table.isFaceDown(card)) << after;
                    if (s.won)
                        break;
                }
            }
        });
        for (int id : kind.mustTake)
            EXPECT_NE(std::find(taken.begin(), taken.end(), id), taken.end()) << "game " << id;
        EXPECT_GT(home, 0) << "no card went home";
        std::cout << "[ " << kind.name << " ] " << games << " games, " << positions << " positions compared, " << home
                  << " moves home\n";
    }
}

} // namespace
