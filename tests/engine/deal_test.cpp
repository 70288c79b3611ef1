// The deal: frozen tables of well-known games, the one-pile-per-card property and the deal variants.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <sstream>

#include "engine/deal.h"
#include "engine/shuffle.h"
#include "engine/table_text.h"
#include "rule_sets.h"

using namespace cw::engine;
using Rules = cw::engine::GameRules;
using namespace cw::test;

namespace {

std::vector<int> codesOnTable(const Table& t)
{
    std::vector<int> codes;
    for (int i = 0; i < kTablePiles; ++i)
        for (int c : t.pile(pileAtTableOrder(i)))
            if (c != 0)
                codes.push_back(c);
    std::sort(codes.begin(), codes.end());
    return codes;
}

std::vector<int> packOf(const Rules& r, const std::string& number)
{
    std::vector<int> codes = fnGameNumberCardsArray(number, ShuffleInput::fromRules(r)).cards;
    std::sort(codes.begin(), codes.end());
    return codes;
}

// The text a frozen deal is stored as: the base ranks the deal wrote, then the 71 snapshot lines.
std::string dealText(const Rules& rules, const std::string& number)
{
    const DealResult d = deal(rules, number);
    std::string s = "# game number " + number + "\nbases:";
    for (int k = 0; k < kFoundationPiles; ++k)
        s += " " + std::to_string(d.rules.foundationBase(k));
    s += "\n";
    for (const auto& line : encodeSnapshot(d.state.table))
        s += line + "\n";
    return s;
}

struct NamedRules {
    const char* name;
    std::function<Rules()> make;
    bool keepsEveryCard = true; // false: the game's own deal leaves cards out of play
};

Rules klondikeAcesUp()
{
    Rules r = klondike();
    setRange(r, 103, 4, 93); // aces out first, then tableau cards swept up row by row
    r.set(379, 20);
    return r;
}

Rules freecellKingsToBottom()
{
    Rules r = freecell();
    r.set(33, 1);
    return r;
}

Rules klondikeReduced()
{
    Rules r = klondike();
    r.set(49, 1);
    r.set(379, 4); // 32 cards: 28 on the tableau
    return r;
}

Rules onlyPattern(int pattern, int tableau, int reserves = 0)
{
    Rules r;
    r.set(378, 52);
    r.set(7, 1);
    r.set(36, pattern);
    r.set(375, tableau);
    r.set(376, reserves);
    return r;
}

Rules klondikeAceSweep()
{
    Rules r = klondike();
    upInSuitFoundations(r, 4);
    r.set(103, 96);
    return r;
}

const NamedRules kFrozen[] = {
    {"klondike", klondike},
    {"freecell", freecell},
    {"spider", spider},
    {"canfield", canfield},
    {"klondike_aces_up", klondikeAcesUp},
    {"freecell_kings_to_bottom", freecellKingsToBottom},
    {"klondike_reduced", klondikeReduced},
    {"klondike_ace_sweep", klondikeAceSweep},
    {"pattern17_count", [] { return onlyPattern(17, 12, 1); }},
    {"pattern18_sums", [] { return onlyPattern(18, 16); }, false},
    {"pattern19_digits", [] { return onlyPattern(19, 10); }, false},
};

const char* kFrozenNumbers[] = {"1", "2", "1234567890123", "9999999999999"};

} // namespace

// Stored tables of well-known rule sets: set CW_UPDATE_FIXTURES=1 to write them afresh after a
// deliberate change, and review the difference - players' game numbers depend on them.
TEST(Deal, FrozenTables)
{
    const bool update = std::getenv("CW_UPDATE_FIXTURES") != nullptr;
    for (const auto& set : kFrozen) {
        SCOPED_TRACE(set.name);
        std::string text;
        for (const char* number : kFrozenNumbers)
            text += dealText(set.make(), number);
        const std::string path = std::string(CW_FIXTURES_DIR "/deals/") + set.name + ".txt";
        if (update) {
            std::ofstream(path, std::ios::binary) << text;
            continue;
        }
        std::ifstream in(path, std::ios::binary);
        ASSERT_TRUE(in) << "missing fixture " << path;
        std::stringstream stored;
        stored << in.rdbuf();
        EXPECT_EQ(text, stored.str());
    }
}

TEST(Deal, WellKnownShapes)
{
    const auto k = deal(klondike(), "1234567890123").state.table;
    for (int p = 0; p < 7; ++p) {
        ASSERT_EQ(k.tableau(p).size(), static_cast<std::size_t>(p + 1));
        for (std::size_t i = 0; i < k.tableau(p).size(); ++i)
            EXPECT_EQ(k.isFaceUp(k.tableau(p)[i]), i == k.tableau(p).size() - 1) << p << " " << i;
    }
    EXPECT_EQ(k.stock().size(), 24u);
    EXPECT_TRUE(std::all_of(k.stock().begin(), k.stock().end(), [&](int c) { return k.isFaceDown(c); }));

    const auto f = deal(freecell(), "2").state.table;
    for (int p = 0; p < 8; ++p) {
        EXPECT_EQ(f.tableau(p).size(), p < 4 ? 7u : 6u);
        for (int c : f.tableau(p))
            EXPECT_TRUE(f.isFaceUp(c));
    }

    const auto s = deal(spider(), "9999999999999").state.table;
    EXPECT_EQ(s.stock().size(), 50u);
    EXPECT_EQ(s.tableau(0).size(), 6u);
    EXPECT_EQ(s.tableau(9).size(), 5u);

    // Canfield: the stock takes the front of the deal array, so it is the shuffle's first 34.
    const Rules c = canfield();
    const auto cd = deal(c, "1");
    const auto array = fnGameNumberCardsArray("1", ShuffleInput::fromRules(c)).cards;
    EXPECT_EQ(cd.state.table.stock().bottom(), array[0]);
    EXPECT_EQ(cd.state.table.stock().top(), array[33]);
    EXPECT_EQ(cd.state.table.foundation(0).bottom(), array[51]);
    const int base = rank(array[51]);
    for (int f2 = 0; f2 < kFoundationPiles; ++f2)
        EXPECT_EQ(cd.rules.foundationBase(f2), base);
    EXPECT_EQ(cd.rules.tableauEmptyRule(0), base == 1 ? 13 : base - 1); // "king only" follows the base
    EXPECT_EQ(cd.rules.tableauEmptyRule(4), 0);
}

TEST(Deal, EveryCardOnExactlyOnePileAndTheSameNumberDealsTheSameTable)
{
    for (const auto& set : kFrozen) {
        SCOPED_TRACE(set.name);
        const Rules rules = set.make();
        for (int i = 0; i < 50; ++i) {
            const std::string number = std::to_string(1 + i * 199999999977LL);
            const DealResult a = deal(rules, number);
            const std::vector<int> onTable = codesOnTable(a.state.table);
            if (set.keepsEveryCard) {
                ASSERT_EQ(onTable, packOf(rules, number)) << number;
            } else {
                const std::vector<int> pack = packOf(rules, number);
                ASSERT_TRUE(std::includes(pack.begin(), pack.end(), onTable.begin(), onTable.end())) << number;
                ASSERT_EQ(std::adjacent_find(onTable.begin(), onTable.end()), onTable.end()) << number;
            }
            const DealResult b = deal(rules, number);
            ASSERT_EQ(a.state, b.state) << number;
            ASSERT_EQ(a.rules, b.rules) << number;
        }
    }
}

namespace {

// A one-deck game that deals everything to the stock unless a case says otherwise.
Rules plain(int cards = 52)
{
    Rules r;
    r.set(378, cards);
    r.set(7, 1);
    r.set(487, -1);
    r.set(488, -1);
    return r;
}

// The first game number whose deal array (before filters) satisfies pred.
std::string numberWhere(const Rules& r, const std::function<bool(const std::vector<int>&)>& pred)
{
    for (int n = 1; n < 100000; ++n) {
        const std::string number = std::to_string(n);
        if (pred(fnGameNumberCardsArray(number, ShuffleInput::fromRules(r)).cards))
            return number;
    }
    ADD_FAILURE() << "no game number found";
    return "1";
}

std::vector<int> piled(const Pile& p) { return {p.begin(), p.end()}; }

struct VariantCase {
    const char* name;
    std::function<Rules()> rules;
    std::function<std::string(const Rules&)> number; // null: "1234567890123"
    std::function<void(const DealResult&)> check;
};

} // namespace

TEST(Deal, Variants)
{
    const VariantCase cases[] = {
        {"filter 16 removes queens and kings",
         [] { Rules r = plain(); r.set(36, 16); r.set(379, 52); return r; }, nullptr,
         [](const DealResult& d) {
             EXPECT_EQ(d.state.table.stock().size(), 44u);
             for (int c : d.state.table.stock())
                 EXPECT_LT(rank(c), 12);
         }},
        {"filter 21 runs after the foundation starter",
         [] { Rules r = plain(); r.set(36, 21); r.set(374, 1); r.set(103, 63); r.set(379, 52); return r; }, nullptr,
         [](const DealResult& d) {
             // The starter took a king before the filter; the pattern of the same value then
             // sets foundations 1-4 to the aces and picture cards of the first deck.
             EXPECT_EQ(d.rules.foundationBase(0), 13);
             EXPECT_EQ(encodePileString(d.state.table.foundation(1)), "024037050011");
             EXPECT_EQ(d.state.table.stock().size(), 36u); // the aces moved up too
             for (int c : d.state.table.stock())
                 EXPECT_TRUE(rank(c) >= 2 && rank(c) <= 10) << c;
         }},
        {"filter 11 keeps one card of each rank up to the pile count",
         [] { Rules r = plain(); r.set(36, 11); r.set(375, 8); r.set(379, 52); return r; }, nullptr,
         [](const DealResult& d) {
             std::vector<int> ranks;
             for (int c : d.state.table.stock())
                 ranks.push_back(rank(c));
             std::sort(ranks.begin(), ranks.end());
             EXPECT_EQ(ranks, (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8}));
         }},
        {"filter 14 keeps ranks 1-9 of the front card's suit",
         [] { Rules r = plain(); r.set(36, 14); r.set(379, 52); return r; }, nullptr,
         [](const DealResult& d) {
             const Pile& s = d.state.table.stock();
             ASSERT_EQ(s.size(), 9u);
             for (int c : s)
                 EXPECT_EQ(suit(c), suit(s.bottom()));
         }},
        {"filter 9 keeps codes 1-13 and 27 up",
         [] { Rules r = plain(); r.set(36, 9); r.set(375, 20); r.set(379, 52); return r; }, nullptr,
         [](const DealResult& d) {
             EXPECT_EQ(d.state.table.stock().size(), 20u);
             for (int c : d.state.table.stock())
                 EXPECT_TRUE(c <= 13 || (c >= 27 && c <= 33)) << c;
         }},
        {"value 95 puts the four kings on four foundations",
         [] { Rules r = plain(); r.set(374, 4); setRange(r, 103, 4, 95); r.set(379, 48); return r; }, nullptr,
         [](const DealResult& d) {
             for (int f = 0; f < 4; ++f)
                 EXPECT_EQ(piled(d.state.table.foundation(f)), (std::vector<int>{13 * (f + 1)}));
             EXPECT_EQ(d.state.table.stock().size(), 48u);
         }},
        {"value 97 starts foundations 1-8 with ranks 2-9",
         [] { Rules r = plain(104); r.set(374, 8); r.set(103, 97); r.set(379, 96); return r; }, nullptr,
         [](const DealResult& d) {
             for (int f = 0; f < 8; ++f) {
                 EXPECT_EQ(rank(d.state.table.foundation(f).top()), f + 2);
                 EXPECT_EQ(d.rules.foundationBase(f), f + 2);
             }
         }},
        {"special game 50 doubles the base ranks of the second half",
         [] { Rules r = plain(); r.set(54, 50); r.set(374, 4); setList(r, 103, {51, 57}); r.set(379, 50); return r; },
         nullptr,
         [](const DealResult& d) {
             EXPECT_EQ(d.rules.foundationBase(2), 2);  // 2 x ace
             EXPECT_EQ(d.rules.foundationBase(3), 1);  // 2 x 7 = 14 - 13
         }},
        {"set-up 5 sends every card of the front rank to the foundations",
         [] { Rules r = plain(); r.set(1, 5); r.set(374, 4); r.set(379, 48); return r; }, nullptr,
         [](const DealResult& d) {
             const int r0 = rank(d.state.table.foundation(0).top());
             for (int f = 0; f < 4; ++f)
                 EXPECT_EQ(rank(d.state.table.foundation(f).top()), r0);
             EXPECT_EQ(d.rules.foundationBase(15), r0);
         }},
        {"set-up 6 with a three: bases 3, 2, 1, 13, 12",
         [] { Rules r = plain(); r.set(1, 6); r.set(374, 5); return r; },
         [](const Rules& r) { return numberWhere(r, [](const std::vector<int>& a) { return rank(a[0]) == 3; }); },
         [](const DealResult& d) {
             EXPECT_EQ(rank(d.state.table.foundation(0).top()), 3);
             std::vector<int> bases;
             for (int f = 0; f < 5; ++f)
                 bases.push_back(d.rules.foundationBase(f));
             EXPECT_EQ(bases, (std::vector<int>{3, 2, 1, 13, 12}));
         }},
        {"set-up 7 puts a queen on foundation 11",
         [] { Rules r = plain(); r.set(1, 7); r.set(374, 12); return r; },
         [](const Rules& r) { return numberWhere(r, [](const std::vector<int>& a) { return rank(a[0]) == 12; }); },
         [](const DealResult& d) {
             EXPECT_EQ(rank(d.state.table.foundation(10).top()), 12);
             EXPECT_EQ(d.state.gameCounters[0], suit(d.state.table.foundation(10).top()));
         }},
        {"set-up 7 puts a jack on tableau pile 1",
         [] { Rules r = plain(); r.set(1, 7); r.set(374, 12); r.set(375, 1); return r; },
         [](const Rules& r) { return numberWhere(r, [](const std::vector<int>& a) { return rank(a[0]) == 11; }); },
         [](const DealResult& d) { EXPECT_EQ(rank(d.state.table.tableau(0).top()), 11); }},
        {"set-up 8: base r on foundation 5, r+1 on 1-4, r-1 on 6-9",
         [] { Rules r = plain(); r.set(1, 8); r.set(374, 9); return r; },
         [](const Rules& r) { return numberWhere(r, [](const std::vector<int>& a) { return rank(a[0]) == 13; }); },
         [](const DealResult& d) {
             EXPECT_EQ(rank(d.state.table.foundation(4).top()), 13);
             EXPECT_EQ(d.rules.foundationBase(0), 1);
             EXPECT_EQ(d.rules.foundationBase(4), 13);
             EXPECT_EQ(d.rules.foundationBase(8), 12);
         }},
        {"set-up 3 takes bases from the reserves' bottom cards",
         [] { Rules r = plain(); r.set(1, 3); r.set(374, 2); r.set(376, 2); setList(r, 463, {3, 3}); return r; },
         nullptr,
         [](const DealResult& d) {
             for (int k = 0; k < 2; ++k) {
                 const int b = rank(d.state.table.reserve(k).bottom());
                 EXPECT_EQ(d.rules.foundationBase(k), b == 13 ? 1 : b + 1);
             }
         }},
        {"second waste start card",
         [] { Rules r = plain(); r.set(359, 140); r.set(379, 51); return r; }, nullptr,
         [](const DealResult& d) {
             EXPECT_EQ(piled(d.state.table.secondWaste()), (std::vector<int>{40}));
             EXPECT_TRUE(d.state.table.isFaceUp(40));
             EXPECT_EQ(d.state.table.stock().find(40), -1);
         }},
        {"a tableau count of 1503 puts joker 211 face up before the stock",
         [] {
             Rules r = plain();
             r.set(46, 1);
             r.set(381, 4);
             r.set(375, 1);
             r.set(382, 1503);
             r.set(379, 55);
             return r;
         },
         nullptr,
         [](const DealResult& d) {
             EXPECT_EQ(piled(d.state.table.tableau(0)), (std::vector<int>{211}));
             EXPECT_TRUE(d.state.table.isFaceUp(211));
             EXPECT_EQ(d.state.table.stock().size(), 55u);
         }},
        {"a tableau count of 1001 puts the first ace",
         [] { Rules r = plain(); r.set(375, 1); r.set(382, 1001); r.set(379, 51); return r; }, nullptr,
         [](const DealResult& d) {
             EXPECT_EQ(rank(d.state.table.tableau(0).top()), 1);
             EXPECT_TRUE(d.state.table.isFaceDown(d.state.table.tableau(0).top()));
         }},
        {"pattern 15 replaces kings by gaps and pads piles to 9",
         [] {
             Rules r = plain();
             r.set(36, 15);
             r.set(375, 8);
             setRange(r, 382, 8, 6);
             setRange(r, 422, 8, 6);
             r.set(379, 4);
             return r;
         },
         nullptr,
         [](const DealResult& d) {
             int gaps = 0;
             for (int p = 0; p < 8; ++p) {
                 EXPECT_EQ(d.state.table.tableau(p).size(), 9u);
                 for (int c : d.state.table.tableau(p)) {
                     EXPECT_NE(rank(c), 13);
                     gaps += c == 0;
                 }
             }
             int kingsInStock = 0;
             for (int c : d.state.table.stock())
                 kingsInStock += rank(c) == 13;
             EXPECT_EQ(gaps, 8 * 3 + 4 - kingsInStock);
         }},
        {"pattern 22 gives piles 1-4 twelve cards with a gap in seventh place",
         [] { Rules r = plain(); r.set(36, 22); r.set(375, 4); return r; }, nullptr,
         [](const DealResult& d) {
             for (int p = 0; p < 4; ++p) {
                 const Pile& pile = d.state.table.tableau(p);
                 ASSERT_EQ(pile.size(), 13u);
                 EXPECT_EQ(pile[6], 0);
                 EXPECT_EQ(pile.cardCount(), 12);
                 for (int c : pile)
                     EXPECT_NE(rank(c), 1);
             }
         }},
        {"pattern 21 leaves gaps for the aces and fills the foundations",
         [] {
             Rules r = plain();
             r.set(36, 21);
             r.set(375, 4);
             r.set(374, 4);
             setRange(r, 382, 4, 10);
             setRange(r, 422, 4, 10);
             return r;
         },
         nullptr,
         [](const DealResult& d) {
             EXPECT_EQ(encodePileString(d.state.table.foundation(0)), "014027040001");
             EXPECT_EQ(encodePileString(d.state.table.foundation(3)), "026039052013");
             int gaps = 0;
             for (int p = 0; p < 4; ++p)
                 gaps += static_cast<int>(d.state.table.tableau(p).size()) - d.state.table.tableau(p).cardCount();
             EXPECT_EQ(gaps, 4);
             EXPECT_EQ(codesOnTable(d.state.table).size(), 52u);
         }},
        {"kings go to the bottom of their piles",
         freecellKingsToBottom, nullptr,
         [](const DealResult& d) {
             for (int p = 0; p < 8; ++p) {
                 const Pile& pile = d.state.table.tableau(p);
                 bool pastKings = false;
                 for (int c : pile) {
                     if (rank(c) != 13)
                         pastKings = true;
                     else
                         EXPECT_FALSE(pastKings) << "pile " << p + 1;
                 }
             }
         }},
        {"special game 22 moves the king and queen of hearts",
         [] { Rules r = freecell(); r.set(54, 22); return r; }, nullptr,
         [](const DealResult& d) {
             EXPECT_EQ(d.state.table.tableau(0).top(), 12);
             EXPECT_TRUE(d.state.table.isFaceUp(12));
             EXPECT_EQ(d.state.table.stock().bottom(), 13);
             EXPECT_EQ(codesOnTable(d.state.table).size(), 52u);
         }},
        {"pattern 18 lays 16 single cards and keeps four rank sums",
         [] { Rules r = plain(); r.set(36, 18); r.set(375, 16); return r; }, nullptr,
         [](const DealResult& d) {
             for (int p = 0; p < 16; ++p)
                 EXPECT_EQ(d.state.table.tableau(p).size(), 1u);
             for (int g = 0; g < 4; ++g)
                 EXPECT_GE(d.state.gameCounters[static_cast<std::size_t>(g)], 4);
         }},
        {"pattern 19 fills piles 1-10 with cards up to ten",
         [] { Rules r = plain(); r.set(36, 19); r.set(375, 10); return r; }, nullptr,
         [](const DealResult& d) {
             for (int p = 0; p < 10; ++p) {
                 ASSERT_EQ(d.state.table.tableau(p).size(), 1u);
                 EXPECT_LE(rank(d.state.table.tableau(p).top()), 10);
             }
         }},
        {"pattern 17 deals against a running count",
         [] { Rules r = plain(); r.set(36, 17); r.set(375, 12); r.set(376, 1); return r; }, nullptr,
         [](const DealResult& d) {
             for (int p = 0; p < 12; ++p)
                 for (int c : d.state.table.tableau(p))
                     EXPECT_NE(rank(c), p + 1);
             for (int c : d.state.table.reserve(0))
                 EXPECT_NE(rank(c), 13);
             for (int c : d.state.table.stock())
                 EXPECT_TRUE(d.state.table.isFaceDown(c));
             EXPECT_EQ(codesOnTable(d.state.table).size(), 52u);
         }},
        {"pattern 3 gives every pile distinct ranks",
         [] { Rules r = klondike(); r.set(36, 3); return r; }, nullptr,
         [](const DealResult& d) {
             for (int p = 0; p < 7; ++p) {
                 std::vector<int> ranks;
                 for (int c : d.state.table.tableau(p))
                     ranks.push_back(rank(c));
                 std::sort(ranks.begin(), ranks.end());
                 EXPECT_EQ(std::adjacent_find(ranks.begin(), ranks.end()), ranks.end()) << p;
             }
             EXPECT_EQ(codesOnTable(d.state.table).size(), 52u);
         }},
        {"pattern 2 starts a pile at every king",
         [] {
             Rules r = plain();
             r.set(36, 2);
             r.set(375, 8);
             upInSuitFoundations(r, 4);
             return r;
         },
         nullptr,
         [](const DealResult& d) {
             for (int p = 0; p < 4; ++p)
                 EXPECT_EQ(rank(d.state.table.tableau(p).bottom()), 13);
             EXPECT_TRUE(d.state.table.tableau(4).empty());
             EXPECT_EQ(codesOnTable(d.state.table).size(), 52u);
         }},
        {"pattern 10 empties one pile",
         [] { Rules r = freecell(); r.set(36, 10); return r; }, nullptr,
         [](const DealResult& d) {
             int empty = 0;
             for (int p = 0; p < 8; ++p)
                 empty += d.state.table.tableau(p).empty();
             EXPECT_EQ(empty, 1);
             EXPECT_FALSE(d.state.table.tableau(7).empty());
         }},
        {"value 96 sends tableau aces up and fills from the stock",
         [] { Rules r = klondike(); r.set(103, 96); return r; }, nullptr,
         [](const DealResult& d) {
             int aces = 0;
             for (int f = 0; f < 4; ++f)
                 aces += d.state.table.foundation(f).size();
             EXPECT_GT(aces, 0);
             EXPECT_EQ(d.state.score, 5 * aces);
             for (int p = 0; p < 7; ++p)
                 for (int c : d.state.table.tableau(p))
                     EXPECT_NE(rank(c), 1);
             EXPECT_EQ(d.state.table.stock().size(), 24u - static_cast<std::size_t>(aces));
         }},
        {"tableau style 8 alternates cards and gaps in pile 1",
         [] { Rules r = plain(); r.set(3, 8); r.set(375, 1); r.set(382, 52); return r; }, nullptr,
         [](const DealResult& d) {
             const Pile& p = d.state.table.tableau(0);
             ASSERT_EQ(p.size(), 103u);
             for (std::size_t i = 0; i < p.size(); ++i)
                 EXPECT_EQ(p[i] == 0, i % 2 == 1) << i;
         }},
        {"special game 11 brings aces from reserve 1 and the waste",
         [] {
             Rules r = plain();
             r.set(54, 11);
             r.set(374, 5);
             r.set(376, 1);
             r.set(463, 20);
             r.set(380, 32);
             return r;
         },
         nullptr,
         [](const DealResult& d) {
             for (int c : d.state.table.reserve(0))
                 EXPECT_NE(rank(c), 1);
             for (int f = 0; f < 5; ++f)
                 for (int c : d.state.table.foundation(f))
                     EXPECT_EQ(rank(c), 1);
             EXPECT_EQ(codesOnTable(d.state.table).size(), 52u);
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Rules rules = c.rules();
        const std::string number = c.number ? c.number(rules) : "1234567890123";
        c.check(deal(rules, number));
    }
}

TEST(Deal, ExistingStateKeepsFlagsOfCardsTheDealDoesNotPlace)
{
    Rules r = plain();
    r.set(36, 16);
    r.set(379, 52);
    GameState s;
    s.gameNumber = "7";
    s.table.setFace(12, false); // a queen: filtered out, so never placed
    EXPECT_TRUE(dealInto(r, s));
    EXPECT_TRUE(s.table.isFaceDown(12));
    r.set(378, 60);
    GameState bad;
    bad.gameNumber = "7";
    EXPECT_FALSE(dealInto(r, bad));
}

// Definitions are data: whatever values the deal parameters hold, the deal ends, never reads
// outside its piles and never puts a card on the table twice or invents one.
TEST(Deal, OddDefinitionsNeverDoubleACard)
{
    Random g(2024);
    auto pick = [&](std::initializer_list<int> values) {
        return *(values.begin() + g.next(static_cast<int>(values.size())));
    };
    for (int i = 0; i < 400; ++i) {
        Rules r;
        r.set(378, pick({52, 104, 156, 208, 60}));
        r.set(46, g.next(2));
        r.set(381, g.next(6));
        r.set(49, g.next(3));
        r.set(1, pick({0, 1, 2, 3, 4, 5, 6, 7, 8}));
        r.set(3, pick({1, 8}));
        r.set(13, g.next(2));
        r.set(26, g.next(2));
        r.set(33, g.next(2));
        r.set(36, pick({0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22}));
        r.set(54, pick({0, 11, 22, 50}));
        r.set(374, g.next(17));
        r.set(375, g.next(41));
        r.set(376, g.next(13));
        r.set(379, g.next(60));
        r.set(380, g.next(5));
        r.set(462, g.next(3));
        r.set(359, pick({0, 40, 140, 300}));
        r.set(7, g.next(2));
        for (int k = 0; k < 16; ++k)
            r.set(103 + k, pick({0, 20, 21, 22, 51, 63, 91, 92, 93, 94, 95, 96, 97, 98, 130, 250, 5, -4}));
        for (int k = 0; k < 40; ++k) {
            r.set(382 + k, pick({0, 0, 1, 3, 7, 1001, 1013, 1020, 1502, 1600}));
            r.set(422 + k, pick({-3, -2, -1, 0, 1, 2, 9}));
        }
        for (int k = 0; k < 12; ++k) {
            r.set(463 + k, pick({0, 0, 2, 5}));
            r.set(475 + k, pick({-1, 0, 1}));
        }
        const std::string number = Random(static_cast<std::uint32_t>(i)).newGameNumber();
        const DealResult d = deal(r, number);
        const std::vector<int> onTable = codesOnTable(d.state.table);
        const auto twice = std::adjacent_find(onTable.begin(), onTable.end());
        ASSERT_TRUE(twice == onTable.end()) << "case " << i << " code " << *twice << " pattern " << r[36] << " setup " << r[1] << " family " << r[54] << " initial " << r[103];
        const std::vector<int> pack = packOf(r, number);
        for (int c : onTable)
            ASSERT_TRUE(std::binary_search(pack.begin(), pack.end(), c)) << "case " << i << " code " << c << " pattern " << r[36];
    }
}
