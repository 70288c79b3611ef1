// Solver tests: hand-built positions with known answers, winning lines replayed, hashing, budgets and cancellation.
#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <set>
#include <sstream>

#include "catalog/definitions.h"
#include "catalog/game_list.h"
#include "engine/deal.h"
#include "engine/freecell_board.h"
#include "engine/legal_moves.h"
#include "engine/moves.h"
#include "engine/random.h"
#include "engine/search_keyset.h"
#include "engine/solver.h"
#include "engine/zobrist.h"

namespace {

using namespace cw::engine;

// The built catalog, read once.
struct CatalogFile {
    std::string text;
    cw::catalog::GameList list;
    bool ok = false;
};
const CatalogFile& catalogFile()
{
    static const CatalogFile file = [] {
        CatalogFile f;
        auto text = cw::catalog::ReadWholeFile(CW_BIN_DIR "/GAMES.DAT");
        if (!text.ok())
            return f;
        f.text = text.value();
        f.list = cw::catalog::BuildGameList(f.text).list;
        f.ok = true;
        return f;
    }();
    return file;
}

// A dealt game of the catalog: the rules as the deal left them and the dealt state.
std::optional<DealResult> dealGame(int id, const std::string& number)
{
    const CatalogFile& cat = catalogFile();
    if (!cat.ok)
        return std::nullopt;
    auto rules = cw::catalog::LoadGameRules(cat.text, cat.list, id, {});
    if (!rules.ok())
        return std::nullopt;
    auto dealt = deal(rules.value(), number);
    dealt.state.gameId = id;
    dealt.state.gameNumber = number;
    return dealt;
}

// "KH", "-KH" (face down), "KH.2" (second deck) -> code and face; "H-5" on a line of its own
// stands for Ace to 5 of Hearts.
int fixtureCard(std::string word, bool& faceUp)
{
    faceUp = true;
    if (!word.empty() && word[0] == '-') {
        faceUp = false;
        word.erase(0, 1);
    }
    int deck = 1;
    if (word.size() > 2 && word[word.size() - 2] == '.') {
        deck = word.back() - '0';
        word.resize(word.size() - 2);
    }
    FreecellBoard b;
    const std::string ranks = "A23456789TJQK", suits = "HDCS";
    if (word.size() != 2 || ranks.find(word[0]) == std::string::npos || suits.find(word[1]) == std::string::npos)
        return -1;
    return cardCode(static_cast<int>(suits.find(word[1])), static_cast<int>(ranks.find(word[0])) + 1, deck);
}

struct Fixture {
    int game = -1;
    std::string expect;
    DealResult dealt;
};

// Reads tests/fixtures/solver/NAME.txt: "game ID", "expect winnable|unwinnable", then
// "PileName: cards" lines placed on an emptied table of that game.
Fixture loadFixture(const std::string& name)
{
    std::ifstream in(std::string(CW_FIXTURES_DIR) + "/solver/" + name + ".txt");
    EXPECT_TRUE(in) << name;
    Fixture f;
    std::vector<std::pair<PileRef, std::vector<std::string>>> piles;
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#')
            continue;
        std::istringstream words(line);
        std::string head;
        words >> head;
        if (head == "game") {
            words >> f.game;
        } else if (head == "expect") {
            words >> f.expect;
        } else {
            EXPECT_EQ(head.back(), ':') << name << ": " << line;
            head.pop_back();
            const PileRef p = pileFromName(head);
            EXPECT_TRUE(p.valid()) << name << ": " << head;
            std::vector<std::string> cards;
            for (std::string w; words >> w;)
                cards.push_back(w);
            piles.emplace_back(p, cards);
        }
    }
    auto dealt = dealGame(f.game, "1");
    if (!dealt)
        return f;
    f.dealt = std::move(*dealt);
    Table& t = f.dealt.state.table;
    t.clearPiles();
    t.setAllFaceUp();
    std::set<int> used;
    for (const auto& [pile, cards] : piles) {
        for (const std::string& w : cards) {
            if (w.size() >= 3 && w[1] == '-') { // "H-5": Ace to 5 of a suit
                const int suitIndex = static_cast<int>(std::string("HDCS").find(w[0]));
                for (int r = 1; r <= std::stoi(w.substr(2)); ++r) {
                    t.append(pile, cardCode(suitIndex, r), true);
                    EXPECT_TRUE(used.insert(cardCode(suitIndex, r)).second) << name << ": twice " << w;
                }
                continue;
            }
            bool up = true;
            const int code = fixtureCard(w, up);
            EXPECT_GT(code, 0) << name << ": " << w;
            EXPECT_TRUE(used.insert(code).second) << name << ": twice " << w;
            t.append(pile, code, up);
        }
    }
    f.dealt.state.movesMade = 2;
    f.dealt.state.won = false;
    return f;
}

TEST(Solver, HandBuiltPositionsHaveTheirKnownAnswers)
{
    if (!catalogFile().ok)
        GTEST_SKIP() << "no GAMES.DAT next to the binaries";
    const char* names[] = {
        "freecell_simple_winnable",    "freecell_simple_unwinnable",  "freecell_complex_winnable",
        "freecell_complex_unwinnable", "klondike_simple_winnable",    "klondike_simple_unwinnable",
        "klondike_complex_winnable",   "klondike_complex_unwinnable", "klondike_takeback_winnable",
        "spider_simple_winnable",      "spider_simple_unwinnable",    "spider_complex_winnable",
        "spider_complex_unwinnable",   "forty_simple_winnable",       "forty_simple_unwinnable",
        "yukon_simple_winnable",       "yukon_simple_unwinnable",     "yukon_complex_winnable",
        "canfield_simple_winnable",    "canfield_simple_unwinnable",
    };
    for (const char* name : names) {
        SCOPED_TRACE(name);
        const Fixture f = loadFixture(name);
        ASSERT_GE(f.game, 0);
        SolverLimits limits;
        limits.maxStates = 2'000'000;
        const SolveResult r = solve(f.dealt.rules, f.dealt.state, limits);
        // The reductions (safe foundation moves, interchangeable piles) never change an answer.
        SolverLimits plain = limits;
        plain.reductions = false;
        plain.maxStates = 100'000;
        const Verdict unreduced = solve(f.dealt.rules, f.dealt.state, plain).verdict;
        if (unreduced != Verdict::Unknown) {
            EXPECT_EQ(unreduced, r.verdict);
        }
        // Where a quick search for wins comes first, the complete search alone must find the
        // same answer: it is the one that proves losses, so a win it cannot reach would be
        // claimed lost.
        SolverLimits complete = limits;
        complete.winsFirst = false;
        EXPECT_EQ(verdictText(r.verdict),
                  std::string(verdictText(solve(f.dealt.rules, f.dealt.state, complete).verdict)));
        if (f.expect == "winnable") {
            ASSERT_EQ(r.verdict, Verdict::Winnable);
            std::string why;
            EXPECT_TRUE(replayWins(f.dealt.rules, f.dealt.state, r.line, &why)) << why;
        } else {
            EXPECT_EQ(r.verdict, Verdict::NotWinnable);
            EXPECT_TRUE(r.line.empty());
        }
    }
}

TEST(Solver, DealtGamesAreSolvedAndTheLineReplaysToAWin)
{
    if (!catalogFile().ok)
        GTEST_SKIP() << "no GAMES.DAT next to the binaries";
    const struct {
        int game;
        const char* number;
    } deals[] = {{1, "1"}, {1, "2"}, {148, "1"}, {21, "1"}};
    for (const auto& d : deals) {
        SCOPED_TRACE(std::to_string(d.game) + " #" + d.number);
        auto dealt = dealGame(d.game, d.number);
        ASSERT_TRUE(dealt);
        SolverLimits limits;
        limits.maxStates = 500'000;
        const SolveResult r = solve(dealt->rules, dealt->state, limits);
        ASSERT_EQ(r.verdict, Verdict::Winnable);
        std::string why;
        EXPECT_TRUE(replayWins(dealt->rules, dealt->state, r.line, &why)) << why;
        // The text form of the line reads back to the same moves.
        for (const Move& m : r.line)
            EXPECT_EQ(parseMove(moveText(m)), m);
    }
}

TEST(Solver, ReplayRefusesABrokenLine)
{
    if (!catalogFile().ok)
        GTEST_SKIP() << "no GAMES.DAT next to the binaries";
    auto dealt = dealGame(1, "3");
    ASSERT_TRUE(dealt);
    const SolveResult r = solve(dealt->rules, dealt->state);
    ASSERT_EQ(r.verdict, Verdict::Winnable);
    std::vector<Move> shortLine(r.line.begin(), r.line.end() - 1);
    std::string why;
    EXPECT_FALSE(replayWins(dealt->rules, dealt->state, shortLine, &why));
    EXPECT_EQ(why, "the line ends without a won game");
    std::vector<Move> bad = r.line;
    bad.insert(bad.begin(), Move{MoveKind::Transfer, PileRef::foundation(0), 0, PileRef::tableau(0)});
    EXPECT_FALSE(replayWins(dealt->rules, dealt->state, bad, &why));
    EXPECT_NE(why.find("move 1"), std::string::npos) << why;
}

TEST(Solver, BudgetsAndCancellationGiveUnknown)
{
    if (!catalogFile().ok)
        GTEST_SKIP() << "no GAMES.DAT next to the binaries";
    auto dealt = dealGame(18, "1"); // Spider, four suits: far more than ten positions
    ASSERT_TRUE(dealt);
    SolverLimits few;
    few.maxStates = 10;
    SolveResult r = solve(dealt->rules, dealt->state, few);
    EXPECT_EQ(r.verdict, Verdict::Unknown);
    EXPECT_LE(r.states, 10U);
    EXPECT_FALSE(r.cancelled);

    std::atomic<bool> cancel{true};
    SolverLimits cancelled;
    cancelled.cancel = &cancel;
    r = solve(dealt->rules, dealt->state, cancelled);
    EXPECT_EQ(r.verdict, Verdict::Unknown);
    EXPECT_TRUE(r.cancelled);

    SolverLimits timed;
    timed.budgetMs = 50;
    r = solve(dealt->rules, dealt->state, timed);
    if (r.verdict == Verdict::Unknown) {
        EXPECT_LT(r.milliseconds, 1000.0);
    }
}

// A memory budget holds for every kind of search, at the moment a table grows too, and a search
// stopped by it never claims a loss: deals lost only after some 10^4-10^5 positions give Unknown
// within a small table; the winnable ones may still be won in attempts that fit.
TEST(Solver, TheTableBudgetHoldsForEverySearch)
{
    if (!catalogFile().ok)
        GTEST_SKIP() << "no GAMES.DAT next to the binaries";
    const struct {
        int game;
        const char* number;
        bool lost; // proved lost with enough memory
    } deals[] = {
        {1, "617", false}, {0, "2", false}, // open, without and with a stock
        {176, "2", true},                   // open, looser games for the proof
        {18, "1", false},                   // Spider
        {11, "1", false},  {35, "3", true}, // general
    };
    for (const auto& d : deals) {
        auto dealt = dealGame(d.game, d.number);
        ASSERT_TRUE(dealt);
        SolverLimits small;
        small.maxTableBytes = std::size_t{1} << 18;
        small.maxStates = 3000000;
        const SolveResult r = solve(dealt->rules, dealt->state, small);
        if (d.lost)
            EXPECT_EQ(r.verdict, Verdict::Unknown) << d.game << ' ' << d.number;
        else
            EXPECT_NE(r.verdict, Verdict::NotWinnable) << d.game << ' ' << d.number;
        EXPECT_LE(r.tableBytes, small.maxTableBytes) << d.game << ' ' << d.number;
        EXPECT_LT(r.states, small.maxStates) << d.game << ' ' << d.number;
    }
}

TEST(KeySet, StaysWithinItsLimitAndStillKnowsItsKeys)
{
    KeySet set;
    set.setLimit(std::size_t{1} << 16);
    bool allNew = true;
    for (std::uint64_t k = 1; k <= 20000; ++k)
        allNew = set.insert(k * 0x9E3779B97F4A7C15ULL) && allNew;
    EXPECT_TRUE(allNew);
    EXPECT_TRUE(set.full());
    EXPECT_LE(set.bytes(), std::size_t{1} << 16);
    EXPECT_FALSE(set.insert(3 * 0x9E3779B97F4A7C15ULL)); // stored before the table filled
    set.clear();
    EXPECT_FALSE(set.full());
    EXPECT_TRUE(set.insert(3 * 0x9E3779B97F4A7C15ULL));
}

// The per-move key update must agree with the key computed from scratch, in every kind of game.
TEST(Zobrist, UpdatedKeyEqualsTheFullKeyAlongRandomPlay)
{
    if (!catalogFile().ok)
        GTEST_SKIP() << "no GAMES.DAT next to the binaries";
    for (int id : {0, 1, 11, 18, 47, 50, 102, 148, 176}) {
        SCOPED_TRACE(id);
        auto dealt = dealGame(id, "7");
        ASSERT_TRUE(dealt);
        StateHasher hasher(dealt->rules);
        const PlayOptions options = solverPlayOptions();
        Play play{dealt->rules, dealt->state, options};
        Random rng(id + 1U);
        std::uint64_t key = hasher.full(dealt->state);
        MoveList moves;
        for (int k = 0; k < 200; ++k) {
            generateMoves(play, moves);
            if (moves.empty())
                break;
            const GameState before = dealt->state;
            applyMove(play, moves[rng.next(moves.size())]);
            key = hasher.update(key, before, dealt->state);
            ASSERT_EQ(key, hasher.full(dealt->state)) << "after move " << k;
        }
    }
}

TEST(Zobrist, InterchangeablePilesHashAlikeOnlyWhereTheRulesAllowIt)
{
    if (!catalogFile().ok)
        GTEST_SKIP() << "no GAMES.DAT next to the binaries";
    struct Case {
        int game;
        bool tableausAlike;
    } cases[] = {{1, true}, {0, true}, {18, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.game);
        auto dealt = dealGame(c.game, "3");
        ASSERT_TRUE(dealt);
        StateHasher hasher(dealt->rules);
        EXPECT_EQ(hasher.classes().tableausInterchangeable(), c.tableausAlike);
        GameState swapped = dealt->state;
        std::swap(swapped.table.tableau(0), swapped.table.tableau(1));
        EXPECT_EQ(hasher.full(swapped) == hasher.full(dealt->state), c.tableausAlike);
        // Cards moved between piles never hash like the original.
        GameState moved = dealt->state;
        moved.table.tableau(0).push(moved.table.tableau(1).pop());
        EXPECT_NE(hasher.full(moved), hasher.full(dealt->state));
    }
    // FreeCell's free cells: one card in cell 1 or in cell 4 is the same position.
    auto fc = dealGame(1, "3");
    ASSERT_TRUE(fc);
    StateHasher hasher(fc->rules);
    GameState a = fc->state, b = fc->state;
    a.table.reserve(0).push(a.table.tableau(0).pop());
    b.table.reserve(3).push(b.table.tableau(0).pop());
    EXPECT_EQ(hasher.full(a), hasher.full(b));
}

} // namespace
