// The poker and cribbage hand scorers, row by row against hands whose values are known, and the square scoring.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <sstream>
#include <string>
#include <vector>

#include "engine/families/cribbage_hands.h"
#include "engine/families/poker_hands.h"
#include "engine/freecell_board.h"

namespace {

using namespace cw::engine;

// "TH JH QH" -> codes; "-" gives kNoCard.
std::vector<int> cards(const std::string& text)
{
    std::vector<int> out;
    std::istringstream in(text);
    for (std::string w; in >> w;)
        out.push_back(w == "-" ? kNoCard : freecellCardCode(w));
    return out;
}

TEST(PokerHand, EvaluatesTheTable)
{
    struct Row {
        const char* hand;
        PokerHand expected;
        int points;
    };
    // clang-format off
    const Row rows[] = {
        {"TH JH QH KH AH", PokerHand::RoyalFlush,    100},
        {"AS KS QS JS TS", PokerHand::RoyalFlush,    100}, // order of placement does not matter
        {"9C TC JC QC KC", PokerHand::StraightFlush,  75},
        {"AD 2D 3D 4D 5D", PokerHand::StraightFlush,  75},
        {"KS AS 2S 3S 4S", PokerHand::StraightFlush,  75}, // turning the corner, in suit only
        {"QS KS AS 2S 3S", PokerHand::StraightFlush,  75},
        {"JH QH KH AH 2H", PokerHand::StraightFlush,  75},
        {"TH QH KH AH 2H", PokerHand::Flush,          20}, // not five in a row even round the corner
        {"KS AH 2S 3S 4S", PokerHand::Nothing,         0}, // corner runs are no straight
        {"QS KH AS 2S 3D", PokerHand::Nothing,         0},
        {"AD TC JS QD KH", PokerHand::Straight,       15},
        {"AD 2C 3S 4D 5H", PokerHand::Straight,       15},
        {"6D 7C 8S 9D TH", PokerHand::Straight,       15},
        {"7C 7D 7H 7S 2C", PokerHand::FourOfAKind,    50},
        {"7C 7D 7H 2S 2C", PokerHand::FullHouse,      25},
        {"2C 7D 9D QD KD", PokerHand::Nothing,         0},
        {"2D 7D 9D QD KD", PokerHand::Flush,          20},
        {"7C 7D 7H 2S 3C", PokerHand::ThreeOfAKind,   10},
        {"7C 7D 3H 2S 3C", PokerHand::TwoPair,         5},
        {"7C 7D 4H 2S 3C", PokerHand::OnePair,         2},
        {"7C 8D 4H 2S 3C", PokerHand::Nothing,         0},
    };
    // clang-format on
    for (const Row& row : rows) {
        SCOPED_TRACE(row.hand);
        const auto hand = cards(row.hand);
        ASSERT_EQ(hand.size(), 5u);
        const PokerHand h = evaluatePokerHand(std::span<const int, 5>(hand.data(), 5));
        EXPECT_EQ(h, row.expected);
        EXPECT_EQ(pokerPoints(h), row.points);
    }
    EXPECT_EQ(pokerHandName(PokerHand::RoyalFlush), "Royal Flush");
    EXPECT_EQ(pokerHandName(PokerHand::TwoPair), "Two Pair");
    EXPECT_EQ(pokerHandName(PokerHand::Nothing), "");
}

TEST(PokerHand, SecondDeckCardsAndPlaceholders)
{
    // Two decks: the same card twice in one suit is a flush, never a straight flush.
    const std::array<int, 5> twin = {1, 53, 2, 3, 4};
    EXPECT_EQ(evaluatePokerHand(twin), PokerHand::Flush);
    const std::array<int, 5> mixed = {1 + 52, 2, 3 + 104, 4, 5 + 13};
    EXPECT_EQ(evaluatePokerHand(mixed), PokerHand::Straight);
    const std::array<int, 5> gap = {1, 2, 3, 4, 0};
    EXPECT_EQ(evaluatePokerHand(gap), PokerHand::Nothing);
}

TEST(PokerGrid, ScoresCompleteLinesOnly)
{
    // One gap per row and per column (the diagonal): nothing is complete and the grid scores 0.
    const auto deck = cards("TH JH QH KH AH "
                            "TD 3C 4C 5C 6C "
                            "TC 7D 8D 9D 2D "
                            "TS 3S 4S 5S 6S "
                            "2C 7H 8H 9H 3H");
    std::array<int, kPokerGridCells> grid{};
    std::copy(deck.begin(), deck.end(), grid.begin());
    for (int d = 0; d < 5; ++d)
        grid[static_cast<std::size_t>(6 * d)] = 0;
    EXPECT_EQ(scorePokerGrid(grid).total, 0);

    // The Ten of Hearts completes row 1 (a royal flush) and column 1 (four Tens).
    grid[0] = deck[0];
    const PokerGridScore s = scorePokerGrid(grid);
    EXPECT_TRUE(s.lines[0].complete);
    EXPECT_EQ(s.lines[0].hand, PokerHand::RoyalFlush);
    EXPECT_TRUE(s.lines[5].complete);
    EXPECT_EQ(s.lines[5].hand, PokerHand::FourOfAKind);
    for (int line : {1, 2, 3, 4, 6, 7, 8, 9})
        EXPECT_FALSE(s.lines[static_cast<std::size_t>(line)].complete) << line;
    EXPECT_EQ(s.total, 150);

    // The placement announces the row, then the column, with the running total.
    const auto said = announcePlacement(grid, 0, 0);
    ASSERT_EQ(said.size(), 2u);
    EXPECT_EQ(said[0].hand, PokerHand::RoyalFlush);
    EXPECT_EQ(said[0].runningTotal, 100);
    EXPECT_EQ(said[1].cells, (std::array<int, 5>{0, 5, 10, 15, 20}));
    EXPECT_EQ(said[1].runningTotal, 150);
    EXPECT_EQ(pokerBoxText(&said[1], 150), "Four of a Kind\n50 points\nTotal: 150 points");
    EXPECT_EQ(pokerBoxText(nullptr, 0), "Total: 0 points");
    EXPECT_TRUE(announcePlacement(grid, 7, 150).empty()); // an incomplete row and column

    EXPECT_EQ(pokerLineCells(0), (std::array<int, 5>{0, 1, 2, 3, 4}));
    EXPECT_EQ(pokerLineCells(7), (std::array<int, 5>{2, 7, 12, 17, 22}));
}

TEST(CribbageHand, ScoresTheTable)
{
    struct Row {
        const char* hand;
        const char* starter;
        CribbageKind kind;
        CribbageScore expected; // fifteen, pair, run, flush, nobs
    };
    const auto H = CribbageKind::Hand, C = CribbageKind::Crib;
    // clang-format off
    const Row rows[] = {
        {"5H 5D 5C JS", "5S", H, {16, 12, 0, 0, 1}},  // 29, the best hand
        {"5H 5D 5C JS", "5S", C, {16, 12, 0, 0, 1}},
        {"3C 4D 4H 5S", "KC", H, {2, 2, 6, 0, 0}},    // a double run
        {"3C 3D 4H 4S", "5C", H, {4, 4, 12, 0, 0}},   // double double run: 20
        {"2H 4H 6H 8H", "KS", H, {0, 0, 0, 4, 0}},    // four-card flush counts in the hand ...
        {"2H 4H 6H 8H", "KS", C, {0, 0, 0, 0, 0}},    // ... not in the crib
        {"2H 4H 6H 8H", "KH", H, {0, 0, 0, 5, 0}},    // five-card flush in both
        {"2H 4H 6H 8H", "KH", C, {0, 0, 0, 5, 0}},
        {"2H 4H 6H JH", "-",  H, {0, 0, 0, 4, 0}},    // last hand: no starter, no nobs, flush 4
        {"JD 2C 4H 9S", "6D", H, {4, 0, 0, 0, 1}},    // his nobs
        {"JD 2C 4H 9S", "6D", C, {4, 0, 0, 0, 1}},
        {"AC 2C 4H 9S", "JD", H, {4, 0, 0, 0, 2}},    // the starter Jack bonus, hand only
        {"AC 2C 4H 9S", "JD", C, {4, 0, 0, 0, 0}},
        {"JC 2C 4H 9S", "JD", H, {2, 2, 0, 0, 2}},
        {"QC KD AH 7S", "8D", H, {2, 0, 0, 0, 0}},    // Q K A is no run
        {"AC 2D 3H 7S", "9D", H, {2, 0, 3, 0, 0}},    // A 2 3 is
        {"AC 2D 3H 4S", "5D", H, {2, 0, 5, 0, 0}},    // five in a row
        {"AC 2D 3H 4S", "4D", H, {0, 2, 8, 0, 0}},    // two runs of four
        {"TC JD QH KS", "5D", H, {8, 0, 4, 0, 1}},
        {"2C 4D 6H 8S", "QD", H, {0, 0, 0, 0, 0}},    // nineteen: nothing at all
        {"5C 5D 5H 5S", "5C", H, {20, 20, 0, 0, 0}},  // a twin starter (two decks) pairs too
        {"- 5D 5H -",   "TS", H, {4, 2, 0, 0, 0}},    // missing cards take part in nothing
    };
    // clang-format on
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.hand) + " / " + row.starter + (row.kind == C ? " crib" : " hand"));
        const auto hand = cards(row.hand);
        const int starter = cards(row.starter).front();
        ASSERT_EQ(hand.size(), 4u);
        const CribbageScore s = scoreCribbageHand(row.kind, std::span<const int, 4>(hand.data(), 4), starter);
        EXPECT_EQ(s, row.expected) << s.fifteen << ' ' << s.pair << ' ' << s.run << ' ' << s.flush << ' ' << s.nobs;
    }
    const std::array<int, 4> best = {5, 18, 31, 50};
    EXPECT_EQ(scoreCribbageHand(CribbageKind::Hand, best, 44).total(), 29);
}

TEST(CribbageSquare, StarterJackBonusInRowOneOnlyAndNoNobsInColumns)
{
    // The starter is the Jack of Clubs: row 1 gets the bonus, rows 2-4 and the columns do not.
    const auto square = cards("JD 2C 4H 9S "
                              "AC 3D 6H 8C "
                              "JS 7D 2S 4D "
                              "KH 9D 3S 6C");
    const int starter = freecellCardCode("JC");
    const CribbageSquareScore s =
        scoreCribbageSquare(std::span<const int, kCribbageSquareCells>(square.data(), 16), starter);
    EXPECT_EQ(s.rows[0].nobs, 2); // the bonus; JD is not the starter's suit
    EXPECT_EQ(s.rows[1].nobs, 0);
    EXPECT_EQ(s.rows[2].nobs, 0); // JS is not of the starter's suit either
    for (const auto& c : s.columns)
        EXPECT_EQ(c.nobs, 0);
    int sum = 0;
    for (const auto& h : s.rows)
        sum += h.total();
    for (const auto& h : s.columns)
        sum += h.total();
    EXPECT_EQ(s.total(), sum);

    // With a Five of Spades starter the Jack of Spades gives nobs in row 3, none in column 1.
    const CribbageSquareScore t =
        scoreCribbageSquare(std::span<const int, kCribbageSquareCells>(square.data(), 16), freecellCardCode("5S"));
    EXPECT_EQ(t.rows[2].nobs, 1);
    EXPECT_EQ(t.columns[0].nobs, 0);
    EXPECT_EQ(t.rows[0].nobs, 0);
}

TEST(CribbageDealsRemaining, FromTheStockCount)
{
    const std::pair<int, const char*> rows[] = {{52, "6"}, {44, "6"}, {43, "5"}, {36, "5"}, {28, "4"}, {20, "3"},
                                                {12, "2"}, {11, "1"}, {4, "1"},  {3, "0"},  {0, "0"}};
    for (const auto& [n, text] : rows)
        EXPECT_EQ(cribbageDealsRemaining(n), text) << n;
}

} // namespace
