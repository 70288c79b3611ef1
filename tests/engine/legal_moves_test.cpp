// The legal-move generator: regression counts from fixed deals, the notation, and random play keeping every card on one pile.
#include <gtest/gtest.h>

#include "engine/built_catalog.h"

#include <algorithm>
#include <filesystem>
#include <functional>
#include <set>

#include "catalog/definitions.h"
#include "catalog/game_list.h"
#include "engine/deal.h"
#include "engine/legal_moves.h"
#include "engine/random.h"
#include "engine/table_text.h"
#include "rules_fixture.h"

using namespace cw::engine;
using namespace cw::test;

namespace {

struct NamedSet {
    const char* name;
    std::function<cw::engine::GameRules()> make;
};

const NamedSet kSets[] = {
    {"Klondike", playKlondike}, {"FreeCell", playFreecell},         {"Spider", playSpider},
    {"Forty Thieves", playFortyThieves}, {"Yukon", playYukon}, {"Canfield", playCanfield},
};

std::string positionKey(const GameState& st)
{
    std::string key = std::to_string(st.dealNumber);
    for (const auto& line : encodeSnapshot(st.table))
        key += line + "|";
    return key;
}

// Distinct positions after exactly `depth` moves.
std::size_t reachable(const cw::engine::GameRules& rules, const GameState& start, int depth)
{
    const PlayOptions opt;
    std::set<std::string> layer{positionKey(start)};
    std::vector<GameState> states{start};
    for (int d = 0; d < depth; ++d) {
        std::vector<GameState> next;
        std::set<std::string> keys;
        for (const GameState& s : states) {
            GameState copy = s;
            Play play{rules, copy, opt};
            MoveList moves;
            generateMoves(play, moves);
            for (const Move& m : moves) {
                GameState after = s;
                Play p{rules, after, opt};
                applyMove(p, m);
                if (keys.insert(positionKey(after)).second)
                    next.push_back(std::move(after));
            }
        }
        states = std::move(next);
    }
    return states.size();
}

// Every card code of the deal lies on exactly one pile.
::testing::AssertionResult everyCardOnOnePile(const GameState& st, const std::vector<int>& expected)
{
    std::vector<int> codes;
    for (int i = 0; i < kTablePiles; ++i)
        for (int c : st.table.pile(pileAtTableOrder(i)))
            if (c != 0)
                codes.push_back(c);
    std::sort(codes.begin(), codes.end());
    if (codes == expected)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << codes.size() << " cards on the table, " << expected.size()
                                         << " dealt, or a card on two piles";
}

std::vector<int> sortedCodes(const GameState& st)
{
    std::vector<int> codes;
    for (int i = 0; i < kTablePiles; ++i)
        for (int c : st.table.pile(pileAtTableOrder(i)))
            if (c != 0)
                codes.push_back(c);
    std::sort(codes.begin(), codes.end());
    return codes;
}

// Plays `moves` random legal moves on each of `deals` deals through the checking path (a listed
// move the rules refuse fails) and checks the table after each.
void randomPlay(const cw::catalog::Rules& loaded, const std::string& name, int deals, int moves)
{
    Random rng(12345);
    for (int d = 0; d < deals; ++d) {
        const std::string number = std::to_string(1000 + d * 7919);
        DealResult dealt = deal(loaded, number);
        if (dealt.badCardCount)
            return;
        const std::vector<int> expected = sortedCodes(dealt.state);
        PlayOptions opt;
        opt.autoplay = d % 2 == 1;
        Play play{dealt.rules, dealt.state, opt};
        MoveList list;
        for (int m = 0; m < moves; ++m) {
            generateMoves(play, list);
            if (list.empty())
                break;
            const Move mv = list[rng.next(list.size())];
            std::string reason;
            ASSERT_TRUE(playMove(play, mv, &reason))
                << name << " deal " << number << " move " << m << ": " << moveText(mv) << " listed but refused: " << reason;
            ASSERT_TRUE(everyCardOnOnePile(dealt.state, expected))
                << name << " deal " << number << " after move " << m << ": " << moveText(mv);
        }
    }
}

TEST(LegalMoves, CountsFromFixedDeals)
{
    struct Expected {
        int moves;
        std::size_t reachable3;
    };
    // Game number 1234567 of each rule set: moves of the dealt table and distinct positions
    // after exactly three moves. A change here is a change of the rules' behaviour.
    const Expected expected[] = {
        {2, 2}, {39, 7547}, {9, 259}, {4, 14}, {6, 96}, {4, 8},
    };
    for (std::size_t i = 0; i < std::size(kSets); ++i) {
        DealResult dealt = deal(kSets[i].make(), "1234567");
        ASSERT_FALSE(dealt.badCardCount) << kSets[i].name;
        const PlayOptions opt;
        Play play{dealt.rules, dealt.state, opt};
        MoveList list;
        generateMoves(play, list);
        std::string all;
        for (const Move& m : list)
            all += moveText(m) + "; ";
        EXPECT_EQ(list.size(), expected[i].moves) << kSets[i].name << ": " << all;
        EXPECT_EQ(reachable(dealt.rules, dealt.state, 3), expected[i].reachable3) << kSets[i].name;
    }
}

TEST(LegalMoves, EveryGeneratedMoveIsPlayable)
{
    for (const NamedSet& set : kSets) {
        DealResult dealt = deal(set.make(), "777");
        const PlayOptions opt;
        Play play{dealt.rules, dealt.state, opt};
        MoveList list;
        generateMoves(play, list);
        for (const Move& m : list) {
            GameState copy = dealt.state;
            Play p{dealt.rules, copy, opt};
            std::string reason;
            EXPECT_TRUE(playMove(p, m, &reason)) << set.name << " " << moveText(m) << ": " << reason;
            const auto parsed = parseMove(moveText(m));
            ASSERT_TRUE(parsed.has_value()) << moveText(m);
            EXPECT_EQ(moveText(*parsed), moveText(m));
        }
    }
}

TEST(LegalMoves, RefusedMovesSayWhy)
{
    const cw::engine::GameRules rules = basicRules();
    GameState st = stateFromText("Fila1: 9h 8h; Fila2: 9s; Fila3: *Kc");
    const PlayOptions opt;
    Play play{rules, st, opt};
    const GameState before = st;
    struct Refusal {
        const char* move;
        const char* reason;
    };
    const Refusal cases[] = {
        {"Fila1 1 Fila2", "the cards may not go there"},
        {"Fila1 5 Fila2", "no card at that position"},
        {"Fila3 0 Fila4", "that card cannot be lifted"},
        {"turn Fila1", "no face-down top card to turn"},
        {"stock", "the stock cannot be used now"},
    };
    for (const Refusal& c : cases) {
        std::string reason;
        const auto mv = parseMove(c.move);
        ASSERT_TRUE(mv.has_value()) << c.move;
        EXPECT_FALSE(playMove(play, *mv, &reason)) << c.move;
        EXPECT_EQ(reason, c.reason) << c.move;
        EXPECT_EQ(st.table, before.table) << c.move;
    }
    std::string error;
    EXPECT_FALSE(parseMove("Fila1 x Fila2", &error).has_value());
    EXPECT_FALSE(parseMove("Pile1 0 Fila2", &error).has_value());
    EXPECT_FALSE(parseMove("stock now", &error).has_value());
}

TEST(LegalMoves, RandomPlayKeepsEveryCardOnOnePile)
{
    for (const NamedSet& set : kSets)
        randomPlay(set.make(), set.name, 20, 300);
}

// The whole catalog, once the definitions file is built next to the binaries.
TEST(LegalMoves, RandomPlayOverTheCatalog)
{
    const auto catalog = cw::test::builtCatalog();
    if (!catalog)
        GTEST_SKIP() << "no GAMES.DAT next to the binaries";
    catalog->forEachGame([](const auto& entry, const auto& rules) { randomPlay(rules, entry.name, 20, 300); });
}

} // namespace

namespace {

TEST(LegalMoves, ClickToPlayListsOnlyTheTargetTheClickWouldChoose)
{
    cw::engine::GameRules rules = basicRules(3);
    GameState st = stateFromText("Fila1: 9h 8h; Fila2: 9h:2; Dest1: 7h");
    const PlayOptions opt;
    const Play play{rules, st, opt};
    MoveList list;
    generateMoves(play, list);
    std::vector<std::string> all;
    for (const Move& m : list)
        all.push_back(moveText(m));
    EXPECT_EQ(all, (std::vector<std::string>{"Fila1 1 Dest1", "Fila1 1 Fila2", "Fila1 1 Fila3", "Fila1 0 Fila3",
                                             "Fila2 0 Fila3"}));
    rules.set(39, 1);
    generateMoves(play, list);
    all.clear();
    for (const Move& m : list)
        all.push_back(moveText(m));
    EXPECT_EQ(all, (std::vector<std::string>{"Fila1 1 Dest1", "Fila1 0 Fila3", "Fila2 0 Fila3"}));
}

TEST(LegalMoves, StockFirstCodeListsNoTableauMovesWhileTheStockHasCards)
{
    cw::engine::GameRules rules = basicRules(2);
    setRange(rules, 215, 2, 129);
    rules.set(11, 1);
    rules.set(24, 1);
    GameState st = stateFromText("Mazzo: 2c; Fila1: 8h; Fila2: 9s");
    const PlayOptions opt;
    const Play play{rules, st, opt};
    MoveList list;
    generateMoves(play, list);
    ASSERT_EQ(list.size(), 1);
    EXPECT_EQ(moveText(list[0]), "stock");
    st.table.stock().clear();
    generateMoves(play, list);
    ASSERT_EQ(list.size(), 1);
    EXPECT_EQ(moveText(list[0]), "Fila1 0 Fila2");
}

} // namespace
