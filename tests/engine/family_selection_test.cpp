// The selection families: which cards a click may take, which sets are valid and complete, and what a set does.
#include <gtest/gtest.h>

#include "engine/families/family_cards.h"
#include "engine/families/selection_moves.h"
#include "engine/families/selection_rules.h"
#include "engine/families/selection_sets.h"
#include "family_support.h"

using namespace cw::engine;
using namespace cw::engine::families;
using namespace cw::test;

namespace {

// A grid of one card per tableau pile, pile 1 first; "--" leaves the pile empty.
std::vector<PileSpec> grid(std::initializer_list<const char*> names)
{
    std::vector<PileSpec> out;
    int i = 0;
    for (const char* n : names) {
        ++i;
        if (std::string_view(n) != "--")
            out.push_back({"Fila" + std::to_string(i), {n}});
    }
    return out;
}

// A row game's row: tableau pile 1 as the deal writes it, a placeholder between the cards.
std::vector<PileSpec> row(std::initializer_list<const char*> names)
{
    PileSpec p{"Fila1", {}};
    for (const char* n : names) {
        if (!p.codes.empty())
            p.codes.push_back("--");
        p.codes.push_back(n);
    }
    return {p};
}

const char* stateName(SetState s)
{
    switch (s) {
    case SetState::Refused: return "refused";
    case SetState::Partial: return "partial";
    case SetState::Complete: return "complete";
    }
    return "?";
}

} // namespace

TEST(FamilySelection, SetsByFamily)
{
    struct Case {
        const char* name;
        cw::catalog::Rules rules;
        std::vector<PileSpec> piles;
        std::vector<const char*> selected; // click order, the new card last
        SetState expected;
        const char* reason = ""; // a part of the refusal's reason
    };
    const auto monte = familyRules(8, 25);
    const auto neighbour = familyRules(84, 25);
    const std::vector<PileSpec> monteGrid = grid({"7h", "9d", "7c", "2s", "3s", "4h", "7s", "Kd", "6c", "Jh"});
    const std::vector<Case> cases = {
        // Monte Carlo: equal ranks on touching piles of a five-wide grid.
        {"8: sevens two piles apart do not touch", monte, monteGrid, {"7h", "7c"}, SetState::Refused, "do not touch"},
        {"8: sevens touching diagonally", monte, monteGrid, {"7h", "7s"}, SetState::Complete},
        {"8: touching, other ranks", monte, monteGrid, {"7h", "9d"}, SetState::Refused, "same rank"},
        {"8: one card waits", monte, monteGrid, {"7h"}, SetState::Partial},
        {"84: a King leaves alone", neighbour, monteGrid, {"Kd"}, SetState::Complete},
        {"84: 7 and 6 touching", neighbour, monteGrid, {"7c", "6c"}, SetState::Complete},
        {"84: 7 and 9 do not make 13", neighbour, monteGrid, {"7h", "9d"}, SetState::Refused, "7 + 9 = 16, not 13"},
        // Tens and Fifteens.
        {"1/15: 8 4 3",
         familyRules(1, 16, {{41, 15}}),
         grid({"8h", "4c", "3d", "Th"}),
         {"8h", "4c", "3d"},
         SetState::Complete},
        {"1/15: 8 4 waits",
         familyRules(1, 16, {{41, 15}}),
         grid({"8h", "4c", "3d", "Th"}),
         {"8h", "4c"},
         SetState::Partial},
        {"1/15: no Ten with number cards",
         familyRules(1, 16, {{41, 15}}),
         grid({"8h", "4c", "3d", "Th"}),
         {"8h", "Th"},
         SetState::Refused,
         "fours of one rank"},
        {"1/15: past the total",
         familyRules(1, 16, {{41, 15}}),
         grid({"8h", "4c", "5d"}),
         {"8h", "4c", "5d"},
         SetState::Refused,
         "8 + 4 + 5 = 17, more than 15"},
        {"1/15: four Tens",
         familyRules(1, 16, {{41, 15}}),
         grid({"Th", "Tc", "Td", "Ts"}),
         {"Th", "Tc", "Td", "Ts"},
         SetState::Complete},
        {"1/15: Queens and a King",
         familyRules(1, 16, {{41, 15}}),
         grid({"Qh", "Qc", "Kd"}),
         {"Qh", "Qc", "Kd"},
         SetState::Refused},
        {"1/10: 3 and 7", familyRules(1, 13, {{41, 10}}), grid({"3h", "7c", "2d"}), {"3h", "7c"}, SetState::Complete},
        {"1/10: three small cards",
         familyRules(1, 13, {{41, 10}}),
         grid({"3h", "5c", "2d"}),
         {"3h", "5c", "2d"},
         SetState::Refused},
        // Fourteen Out, Pyramid and its sevens.
        {"3: 6 and 8", familyRules(3, 12), grid({"6h", "8c"}), {"6h", "8c"}, SetState::Complete},
        {"3: 6 and 7", familyRules(3, 12), grid({"6h", "7c"}), {"6h", "7c"}, SetState::Refused, "6 + 7 = 13, not 14"},
        {"4: a King alone", familyRules(4, 7), grid({"Kh"}), {"Kh"}, SetState::Complete},
        {"4: Queen and Ace", familyRules(4, 7), grid({"Qh", "Ac"}), {"Qh", "Ac"}, SetState::Complete},
        {"4: 7 and 5", familyRules(4, 7), grid({"7h", "5c"}), {"7h", "5c"}, SetState::Refused, "7 + 5 = 12, not 13"},
        {"83: 3 and 4", familyRules(83, 7, {{41, 1}}), grid({"3h", "4c"}), {"3h", "4c"}, SetState::Complete},
        {"83: a Seven alone", familyRules(83, 7, {{41, 1}}), grid({"7h"}), {"7h"}, SetState::Complete},
        {"83: 9 5 makes 14", familyRules(83, 7, {{41, 1}}), grid({"9h", "5c"}), {"9h", "5c"}, SetState::Complete},
        {"83: 9 alone waits", familyRules(83, 7, {{41, 1}}), grid({"9h"}), {"9h"}, SetState::Partial},
        {"7/13: a King alone", familyRules(7, 10, {{41, 13}}), grid({"Kh"}), {"Kh"}, SetState::Complete},
        // Pairs of a rank.
        {"33: two nines", familyRules(33, 9), grid({"9h", "9c"}), {"9h", "9c"}, SetState::Complete},
        {"25: nine and ten",
         familyRules(25, 13, {{41, 1}}),
         grid({"9h", "Tc"}),
         {"9h", "Tc"},
         SetState::Refused,
         "9 and 10 are not of the same rank"},
        {"14: two Jacks", familyRules(14, 13, {{41, 1}}), grid({"Jh", "Jc"}), {"Jh", "Jc"}, SetState::Complete},
        // Elevens, Nines, Eighteens and their like.
        {"17: 5 and 6", familyRules(17, 9, {{41, 1}}), grid({"5h", "6c"}), {"5h", "6c"}, SetState::Complete},
        {"17: Jack Queen King",
         familyRules(17, 9, {{41, 1}}),
         grid({"Jh", "Qc", "Kd"}),
         {"Jh", "Qc", "Kd"},
         SetState::Complete},
        {"17: Jack and 5", familyRules(17, 9, {{41, 1}}), grid({"Jh", "5c"}), {"Jh", "5c"}, SetState::Refused},
        {"17: two Jacks", familyRules(17, 9, {{41, 1}}), grid({"Jh", "Jc"}), {"Jh", "Jc"}, SetState::Refused},
        {"26: 10 and Ace", familyRules(26, 9, {{41, 1}}), grid({"Th", "Ac"}), {"Th", "Ac"}, SetState::Complete},
        {"24: a Nine alone", familyRules(24, 9, {{41, 1}}), grid({"9h"}), {"9h"}, SetState::Complete},
        {"24: 4 and 5", familyRules(24, 9, {{41, 1}}), grid({"4h", "5c"}), {"4h", "5c"}, SetState::Complete},
        {"24: Ten Jack Queen King",
         familyRules(24, 9, {{41, 1}}),
         grid({"Th", "Jc", "Qd", "Ks"}),
         {"Th", "Jc", "Qd", "Ks"},
         SetState::Complete},
        {"18: an Ace alone", familyRules(18, 12, {{41, 1}}), grid({"Ah"}), {"Ah"}, SetState::Complete},
        {"18: King 9 5 4",
         familyRules(18, 12, {{41, 1}}),
         grid({"Kh", "9c", "5d", "4s"}),
         {"Kh", "9c", "5d", "4s"},
         SetState::Complete},
        {"18: 9 and 9 cannot reach 18 with a third",
         familyRules(18, 12, {{41, 1}}),
         grid({"9h", "9c"}),
         {"9h", "9c"},
         SetState::Refused,
         "cannot reach 18"},
        {"18: two face cards", familyRules(18, 12, {{41, 1}}), grid({"Kh", "Qc"}), {"Kh", "Qc"}, SetState::Refused},
        // Face cards paid with number cards.
        {"41: King paid by 6 and 7",
         familyRules(41, 8, {{41, 1}, {374, 13}}),
         {{"Fila1", {"6h"}}, {"Fila2", {"7c"}}, {"Dest2", {"Kd"}}},
         {"Kd", "6h", "7c"},
         SetState::Complete},
        {"41: 6 and 7 wait for a King",
         familyRules(41, 8, {{41, 1}, {374, 13}}),
         {{"Fila1", {"6h"}}, {"Fila2", {"7c"}}, {"Dest2", {"Kd"}}},
         {"6h", "7c"},
         SetState::Partial},
        {"41: two face cards",
         familyRules(41, 8, {{41, 1}, {374, 13}}),
         {{"Dest2", {"Kd"}}, {"Dest3", {"Jd"}}},
         {"Kd", "Jd"},
         SetState::Refused},
        // Grids read by rows and columns.
        {"71: 6 and 8 in one row",
         familyRules(71, 25, {{41, 1}}),
         grid({"6h", "8c", "2d", "3d", "4d", "5h", "9c"}),
         {"6h", "8c"},
         SetState::Complete},
        {"45: same suit in one column",
         familyRules(45, 16, {{41, 1}}),
         grid({"6h", "8c", "2d", "3d", "9h"}),
         {"6h", "9h"},
         SetState::Complete},
        {"45: an Ace stays", familyRules(45, 16, {{41, 1}}), grid({"Ah", "8h"}), {"Ah"}, SetState::Refused, "Aces"},
        {"45: one row, other suits",
         familyRules(45, 16, {{41, 1}}),
         grid({"6h", "8c"}),
         {"6h", "8c"},
         SetState::Refused,
         "one suit"},
        {"75: neighbours past an empty pile",
         familyRules(75, 10, {{41, 1}}),
         grid({"6h", "--", "7c", "6d"}),
         {"6h", "7c"},
         SetState::Complete},
        {"75: a pile between",
         familyRules(75, 10, {{41, 1}}),
         grid({"6h", "2c", "7c"}),
         {"6h", "7c"},
         SetState::Refused,
         "neighbouring"},
        // Runs of three.
        {"85: 5 6 7", familyRules(85, 18, {{41, 1}}), grid({"5h", "6c", "7d"}), {"5h", "6c", "7d"}, SetState::Complete},
        {"85: King Ace Two",
         familyRules(85, 18, {{41, 1}}),
         grid({"Kh", "Ac", "2d"}),
         {"Kh", "Ac", "2d"},
         SetState::Complete},
        {"85: 5 then 7",
         familyRules(85, 18, {{41, 1}}),
         grid({"5h", "7c"}),
         {"5h", "7c"},
         SetState::Refused,
         "7 does not follow 5"},
        // The square puzzles take any two cards.
        {"81: two cards change places",
         familyRules(81, 9, {{41, 1}}),
         grid({"5h", "7c"}),
         {"5h", "7c"},
         SetState::Complete},
        // Row games.
        {"22: one card between two fives",
         familyRules(22, 1, {{41, 1}, {3, 8}}),
         row({"5h", "9c", "5d"}),
         {"9c"},
         SetState::Complete},
        {"22: a card that leaves only with its neighbour waits",
         familyRules(22, 1, {{41, 1}, {3, 8}}),
         row({"5h", "9c", "2s", "5d"}),
         {"9c"},
         SetState::Partial},
        {"22: the pair between two fives",
         familyRules(22, 1, {{41, 1}, {3, 8}}),
         row({"5h", "9c", "2s", "5d"}),
         {"9c", "2s"},
         SetState::Complete},
        {"21: nothing matches around",
         familyRules(21, 1, {{41, 1}, {3, 8}}),
         row({"5h", "9c", "2s", "4d"}),
         {"9c"},
         SetState::Refused,
         "does not lie between"},
        {"23: 3 and 4 side by side",
         familyRules(23, 1, {{41, 1}, {3, 8}}),
         row({"3h", "4c", "6d"}),
         {"3h", "4c"},
         SetState::Complete},
        {"23: 3 and 6 apart",
         familyRules(23, 1, {{41, 1}, {3, 8}}),
         row({"3h", "4c", "6d"}),
         {"3h", "6d"},
         SetState::Refused,
         "next to each other"},
        {"55: 4 and 6 of hearts",
         familyRules(55, 1, {{41, 1}, {3, 8}}),
         row({"4h", "6h", "5c"}),
         {"4h", "6h"},
         SetState::Complete},
        {"55: two suits",
         familyRules(55, 1, {{41, 1}, {3, 8}}),
         row({"4h", "6h", "5c"}),
         {"6h", "5c"},
         SetState::Refused,
         "one suit"},
        {"48: same rank three apart",
         familyRules(48, 1, {{41, 1}, {3, 8}}),
         row({"5h", "9c", "2s", "5d"}),
         {"5d", "5h"},
         SetState::Complete},
        {"48: two apart",
         familyRules(48, 1, {{41, 1}, {3, 8}}),
         row({"5h", "9c", "5s"}),
         {"5h", "5s"},
         SetState::Refused},
        {"70: neighbours adding up to 13",
         familyRules(70, 1, {{41, 13}, {3, 8}}),
         row({"6h", "7c", "Kd"}),
         {"6h", "7c"},
         SetState::Complete},
        // Any other family adds up to rule parameter 41.
        {"47: 6 4 3 make 13",
         familyRules(47, 16, {{41, 13}}),
         grid({"6h", "4c", "3d"}),
         {"6h", "4c", "3d"},
         SetState::Complete},
        {"47: a card off the table",
         familyRules(47, 16, {{41, 13}}),
         grid({"6h"}),
         {"6h", "7c"},
         SetState::Refused,
         "not on the table"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Table t = tableFrom(c.piles);
        std::vector<int> codes;
        for (const char* s : c.selected)
            codes.push_back(card(s));
        const SetCheck got = checkSet(c.rules, t, codes);
        EXPECT_EQ(stateName(got.state), std::string(stateName(c.expected))) << got.reason;
        EXPECT_NE(got.reason.find(c.reason), std::string::npos) << got.reason;
    }
}

TEST(FamilySelection, ExchangeIsOfferedOnlyForFamily71)
{
    const Table t = tableFrom(grid({"6h", "2c", "3d", "4d", "4h", "5h", "8c"}));
    const std::vector<int> diagonal = {card("6h"), card("8c")};
    EXPECT_TRUE(checkSet(familyRules(71, 25, {{41, 1}}), t, diagonal).offerExchange);
    EXPECT_FALSE(checkSet(familyRules(3, 25), t, diagonal).offerExchange);
}

TEST(FamilySelection, WhereCardsMayBeTaken)
{
    // A pyramid of three rows: the base is open; the apex waits for both cards under it.
    const auto pyramid = familyRules(4, 3, {{41, 0}});
    Table t = tableFrom({{"Fila1", {"Kh"}},
                         {"Fila2", {"5c", "8d"}},
                         {"Fila3", {"Ac", "2c", "3c"}},
                         {"Mazzo_Vis", {"9h"}},
                         {"Mazzo", {"4s"}}});
    EXPECT_TRUE(maySelect(pyramid, t, PileRef::tableau(2), 1));
    EXPECT_FALSE(maySelect(pyramid, t, PileRef::tableau(1), 0));
    EXPECT_FALSE(maySelect(pyramid, t, PileRef::tableau(0), 0));
    EXPECT_TRUE(maySelect(pyramid, t, PileRef::waste(), 0));
    EXPECT_FALSE(maySelect(pyramid, t, PileRef::stock(), 0)) << "the stock card only pairs with a selection";
    t.tableau(2).set(0, 0);
    t.tableau(2).set(1, 0);
    EXPECT_TRUE(maySelect(pyramid, t, PileRef::tableau(1), 0));
    EXPECT_FALSE(maySelect(pyramid, t, PileRef::tableau(1), 1));
    t.foundation(0).push(card("9h"));
    EXPECT_TRUE(maySelect(pyramid, t, PileRef::stock(), 0));

    // A triangle on its point: the single card of the last row covers the two above it.
    const auto triangle = familyRules(67, 2, {{41, 0}});
    const Table tri = tableFrom({{"Fila1", {"5c", "8d"}}, {"Fila2", {"Kh"}}});
    EXPECT_TRUE(maySelect(triangle, tri, PileRef::tableau(1), 0));
    EXPECT_FALSE(maySelect(triangle, tri, PileRef::tableau(0), 0));
    EXPECT_FALSE(maySelect(triangle, tri, PileRef::tableau(0), 1));

    // Royal Marriage never selects the Queen and King of Hearts; Fourteen Out takes top cards.
    const Table marriage = tableFrom(row({"Qh", "5c", "Kh"}));
    EXPECT_FALSE(maySelect(familyRules(22, 1, {{41, 1}, {3, 8}}), marriage, PileRef::tableau(0), 0));
    EXPECT_TRUE(maySelect(familyRules(22, 1, {{41, 1}, {3, 8}}), marriage, PileRef::tableau(0), 2));
    const Table piles = tableFrom({{"Fila1", {"5c", "9d"}}});
    EXPECT_FALSE(maySelect(familyRules(3, 12), piles, PileRef::tableau(0), 0));
    EXPECT_TRUE(maySelect(familyRules(3, 12), piles, PileRef::tableau(0), 1));
    // Isabel's face-down cards are not taken.
    const Table isabel = tableFrom({{"Fila1", {"5c", "9d"}, {"9d"}}});
    EXPECT_FALSE(maySelect(familyRules(25, 13, {{41, 1}}), isabel, PileRef::tableau(0), 1));
}

TEST(FamilySelection, DiscardRefillAndClosingGaps)
{
    // Fan style 4 keeps a placeholder where a pyramid card was; the buffer empties.
    auto pyramid = familyRules(4, 2, {{3, 4}});
    Table t = tableFrom({{"Fila1", {"Qh"}}, {"Fila2", {"Ac", "5d"}}, {"Dest1", {"Qh", "Ac"}}});
    CardMoves moves;
    ASSERT_TRUE(discardSelection(pyramid, t, false, &moves));
    EXPECT_EQ(t.tableau(0).codes(), (std::vector<std::uint8_t>{0}));
    EXPECT_EQ(t.tableau(1).codes(), (std::vector<std::uint8_t>{0, static_cast<std::uint8_t>(card("5d"))}));
    EXPECT_EQ(t.secondWaste().size(), 2U);
    EXPECT_TRUE(t.foundation(0).empty());
    EXPECT_EQ(moves.size(), 2U);

    // A buffer card that lies nowhere changes nothing.
    Table bad = tableFrom({{"Fila1", {"Qh"}}, {"Dest1", {"Qh", "Ac"}}});
    const Table before = bad;
    EXPECT_FALSE(discardSelection(pyramid, bad, false, nullptr));
    EXPECT_EQ(bad, before);

    // The row closes up, one placeholder between cards.
    auto rowRules = familyRules(22, 1, {{3, 8}});
    Table r = tableFrom(row({"5h", "9c", "5d"}));
    r.foundation(0).push(card("9c"));
    ASSERT_TRUE(discardSelection(rowRules, r, true, nullptr));
    EXPECT_EQ(r.tableau(0).codes(), (std::vector<std::uint8_t>{static_cast<std::uint8_t>(card("5h")), 0,
                                                               static_cast<std::uint8_t>(card("5d"))}));
    EXPECT_TRUE(r.isFaceDown(card("9c")));

    // Monte Carlo: the cards move up over the gaps, then the stock fills the end.
    auto monte = familyRules(8, 5);
    Table m = tableFrom({{"Fila1", {"7h"}}, {"Fila3", {"8c"}}, {"Fila5", {"9d"}}, {"Mazzo", {"2s", "3s"}}});
    ASSERT_TRUE(gapsCanClose(monte, m));
    ASSERT_TRUE(closeGaps(monte, m, nullptr));
    EXPECT_EQ(m.tableau(1).top(), card("8c"));
    EXPECT_EQ(m.tableau(2).top(), card("9d"));
    EXPECT_EQ(m.tableau(3).top(), card("3s"));
    EXPECT_EQ(m.tableau(4).top(), card("2s"));
    // With an empty stock only gaps followed by cards make it worth a click.
    Table closed = tableFrom({{"Fila1", {"7h"}}, {"Fila2", {"8c"}}});
    EXPECT_FALSE(gapsCanClose(monte, closed));
    EXPECT_FALSE(closeGaps(monte, closed, nullptr));

    // Elevens refills every empty pile from the stock.
    Table e = tableFrom({{"Fila2", {"7h"}}, {"Mazzo", {"2s", "3s", "4s"}}});
    ASSERT_TRUE(refillFromStock(familyRules(17, 3), e, nullptr));
    EXPECT_EQ(e.tableau(0).top(), card("4s"));
    EXPECT_EQ(e.tableau(2).top(), card("3s"));
    EXPECT_EQ(e.stock().size(), 1U);
}

TEST(FamilySelection, ExchangeAccordionAndKings)
{
    Table sq = tableFrom(grid({"5h", "7c", "9d"}));
    sq.foundation(0).push(card("5h"));
    sq.foundation(0).push(card("9d"));
    ASSERT_TRUE(exchangeSelection(familyRules(81, 9), sq, nullptr));
    EXPECT_EQ(sq.tableau(0).top(), card("9d"));
    EXPECT_EQ(sq.tableau(2).top(), card("5h"));
    EXPECT_TRUE(sq.foundation(0).empty());

    // Accordion: the right card covers the left one, which is put away.
    Table acc = tableFrom(row({"5h", "9c", "2s", "5d"}));
    acc.foundation(0).push(card("5d"));
    acc.foundation(0).push(card("5h"));
    ASSERT_TRUE(accordionSelection(acc, nullptr));
    EXPECT_EQ(rowCards(acc.tableau(0)).front().code, card("5d"));
    EXPECT_EQ(rowCards(acc.tableau(0)).size(), 3U);
    EXPECT_EQ(acc.foundation(1).top(), card("5h"));

    Table kings = tableFrom({{"Fila1", {"3c", "Kh"}}, {"Fila2", {"Kd"}}, {"Fila3", {"Ks", "4h"}}});
    ASSERT_TRUE(discardTopKings(familyRules(75, 3), kings, nullptr));
    EXPECT_EQ(kings.secondWaste().size(), 2U);
    EXPECT_EQ(kings.tableau(2).size(), 2U);
}

TEST(FamilySelection, CompleteSetsAreTheClickMoves)
{
    auto names = [](const SetList& sets) {
        std::vector<std::string> out;
        for (const CardSet& s : sets) {
            std::string n;
            for (int i = 0; i < s.size; ++i)
                n += (i ? " " : "") + rankWord(s.cards[static_cast<std::size_t>(i)]);
            out.push_back(n);
        }
        std::sort(out.begin(), out.end());
        return out;
    };
    SetList sets;

    // Pyramid: the free base row, the waste, and the stock card only as the second card.
    const auto pyramid = familyRules(4, 2, {{3, 4}});
    const Table t =
        tableFrom({{"Fila1", {"Jh", "2c", "Kd", "6h", "7s", "Qc", "Ah"}}, {"Mazzo_Vis", {"3d"}}, {"Mazzo", {"Tc"}}});
    completeSets(pyramid, t, sets);
    EXPECT_EQ(names(sets), (std::vector<std::string>{"3 10", "6 7", "Jack 2", "King", "Queen Ace"}));

    // Monte Carlo: only touching pairs (the two Nines lie two places apart).
    completeSets(familyRules(8, 25), tableFrom(grid({"7h", "9d", "7c", "9s", "3s", "4h", "7s"})), sets);
    EXPECT_EQ(names(sets), (std::vector<std::string>{"7 7", "7 7"}));

    // Fifteens: every way of reaching 15 with number cards, each once.
    completeSets(familyRules(1, 16, {{41, 15}}), tableFrom(grid({"8h", "4c", "3d", "7s", "Th"})), sets);
    EXPECT_EQ(names(sets), (std::vector<std::string>{"8 4 3", "8 7"}));

    // Triple Alliance reads the click order; Eighteens keeps an Ace for a set of four.
    completeSets(familyRules(85, 4, {{41, 1}}), tableFrom(grid({"Kh", "2c", "Ad", "5s"})), sets);
    EXPECT_EQ(names(sets), (std::vector<std::string>{"King Ace 2"}));
    completeSets(familyRules(18, 4, {{41, 1}}), tableFrom(grid({"Ah", "Kc", "9d", "8s"})), sets);
    EXPECT_EQ(names(sets), (std::vector<std::string>{"Ace", "King 9 8 Ace"}));
}
