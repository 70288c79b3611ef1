// Pile layout: spacing values, the tableau rows, the group placements, the 4 x 4 block and the
// fit of typical games in an 800 x 600 window.
#include <gtest/gtest.h>

#include <string>

#include "engine/card_size.h"
#include "engine/layout.h"
#include "rule_sets.h"

using namespace cw::engine;
using Rules = cw::engine::GameRules;

namespace {

struct Codes {
    int stockArr, stockRow, foundArr, foundRow, tableArr, tableRow, resArr, resRow;
};

void setCodes(Rules& r, const Codes& c)
{
    r.set(362, c.stockArr);
    r.set(363, c.stockRow);
    r.set(364, c.foundArr);
    r.set(365, c.foundRow);
    r.set(366, c.tableArr);
    r.set(367, c.tableRow);
    r.set(369, c.resArr);
    r.set(370, c.resRow);
}

Rules tableauOnly(int piles, int arrangement, int row = 1)
{
    Rules r;
    r.set(375, piles);
    r.set(366, arrangement);
    r.set(367, row);
    return r;
}

LayoutRoom room(int width, int height)
{
    LayoutRoom rm;
    rm.width = width;
    rm.clientHeight = height;
    return rm;
}

} // namespace

TEST(CardSizes, DimensionsAndLetters)
{
    struct Row {
        CardSize size;
        char letter;
        CardDims dims;
    };
    const Row rows[] = {
        {CardSize::X, 'X', {102, 138}}, {CardSize::S, 'S', {85, 115}}, {CardSize::B, 'B', {71, 96}},
        {CardSize::M, 'M', {59, 80}},   {CardSize::L, 'L', {25, 32}},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(cardDims(r.size), r.dims) << r.letter;
        EXPECT_EQ(cardSizeLetter(r.size), r.letter);
        EXPECT_EQ(cardSizeFromLetter(r.letter), r.size);
        EXPECT_EQ(cardSizeFromLetter(static_cast<char>(r.letter + 32)), r.size);
    }
    EXPECT_FALSE(cardSizeFromLetter('Q').has_value());
}

TEST(CardSizes, ForcingForSmallScreens)
{
    struct Row {
        CardSize selected;
        int screenWidth;
        int screenClass;
        ForcedSize expected;
    };
    const Row rows[] = {
        {CardSize::B, 640, 1, {CardSize::M, true, SizeAdvice::Medium640}},
        {CardSize::B, 650, 1, {CardSize::B, false, SizeAdvice::None}},
        {CardSize::S, 800, 2, {CardSize::M, true, SizeAdvice::Medium800}},
        {CardSize::B, 809, 2, {CardSize::M, true, SizeAdvice::Medium800}},
        {CardSize::S, 1024, 2, {CardSize::B, true, SizeAdvice::FromLarge}},
        {CardSize::X, 1099, 2, {CardSize::B, true, SizeAdvice::FromExtraLarge}},
        {CardSize::X, 1100, 2, {CardSize::X, false, SizeAdvice::None}},
        {CardSize::B, 1024, 2, {CardSize::B, false, SizeAdvice::None}},
        {CardSize::X, 800, 1, {CardSize::B, true, SizeAdvice::FromExtraLarge}},
        {CardSize::X, 800, 0, {CardSize::S, true, SizeAdvice::FromExtraLarge}},
        {CardSize::X, 810, 0, {CardSize::X, false, SizeAdvice::None}},
        {CardSize::M, 640, 1, {CardSize::M, false, SizeAdvice::None}}, // already small
        {CardSize::S, 640, 0, {CardSize::S, false, SizeAdvice::None}},
    };
    for (const Row& r : rows)
        EXPECT_EQ(forceCardSizeForScreen(r.selected, r.screenWidth, r.screenClass), r.expected)
            << cardSizeLetter(r.selected) << " " << r.screenWidth << " class " << r.screenClass;
}

TEST(LayoutSpacing, RowsGapsAndMargins)
{
    const CardDims b = cardDims(CardSize::B);
    Rules r = tableauOnly(7, 1);
    r.set(363, 1); // stock row digit "1" lowers the first row by 15
    r.set(373, 2);
    r.set(362, 13);

    const LayoutSpacing tall = layoutSpacing(r, room(800, 600), b);
    EXPECT_EQ(tall.rowGap, 10);
    EXPECT_EQ(tall.usable, 798);
    EXPECT_EQ(tall.margin, 5);
    EXPECT_EQ(tall.rows, (std::array<int, 4>{25, 131, 237, 343}));
    EXPECT_EQ(tall.middleRow, 131 + 53);
    EXPECT_EQ(tall.bottomRow, 600 - 96 - 5);
    EXPECT_EQ(tall.block3, (599 - 288 - 20) / 2);

    // A screen 480 pixels high: rows 5 apart, the usable width 10 narrower, margin 3 below 652.
    const LayoutSpacing small = layoutSpacing(r, room(640, 480), b);
    EXPECT_EQ(small.rowGap, 5);
    EXPECT_EQ(small.width, 630);
    EXPECT_EQ(small.usable, 628);
    EXPECT_EQ(small.margin, 3);
    EXPECT_EQ(small.wideGap, 10);
    EXPECT_EQ(small.rows[0], 20);
    EXPECT_EQ(small.rows[1], 20 + 5 + 96);

    // A window shorter than 80% of the screen puts the bottom row where a full-height window
    // would have it; shadow and stock arrangement 003 widen the margin.
    LayoutRoom lowWindow = room(800, 400);
    lowWindow.windowHeight = 430;
    lowWindow.screenHeight = 768;
    lowWindow.statusHeight = 20;
    lowWindow.shadowMargin = 9;
    r.set(362, 3);
    const LayoutSpacing low = layoutSpacing(r, lowWindow, b);
    EXPECT_EQ(low.bottomRow, 400 + (768 - 430) - 96 - 20 - 5);
    EXPECT_EQ(low.margin, 5 + 9 + 15);
    EXPECT_EQ(low.rows[1], low.rows[0] + 5 + 96 + 15); // a window under 500 pixels: V = 5
}

TEST(LayoutCodesTest, RowDigitIsTheFirstDigit)
{
    const std::pair<int, int> rows[] = {{0, 1}, {1, 1}, {2, 2}, {4, 4}, {23, 2}, {-3, 1}, {7, 4}};
    for (auto [param, row] : rows)
        EXPECT_EQ(layoutRowDigit(param), row) << param;
}

TEST(LayoutTableau, EvenlySpreadAndFixedGapRows)
{
    struct Row {
        const char* what;
        int piles;
        int arrangement;
        CardSize size;
        int width;
        int firstX;
        int pitch;
    };
    const Row rows[] = {
        // 7 x 71 on 798: gap 37 clamped to 20, row centred.
        {"seven piles", 7, 1, CardSize::B, 800, 90, 91},
        // More than 8 piles: gap at most 14.
        {"nine piles", 9, 1, CardSize::M, 800, (798 - 531 - 8 * 14) / 2, 59 + 14},
        // Ten X cards never fit: start at the margin with the minimum gap and run past the edge.
        {"ten large", 10, 1, CardSize::X, 800, 5, 106},
        {"ten large, closing up", 10, 14, CardSize::X, 800, 5, 106},
        {"fixed gap", 7, 2, CardSize::B, 800, (798 - 497 - 60) / 2, 81},
        {"fixed gap, narrow", 7, 2, CardSize::B, 640, (638 - 497 - 30) / 2, 76},
    };
    for (const Row& r : rows) {
        const Geometry g = layoutPiles(tableauOnly(r.piles, r.arrangement), room(r.width, 600), r.size);
        EXPECT_EQ(g.tableau[0].x, r.firstX) << r.what;
        EXPECT_EQ(g.tableau[1].x - g.tableau[0].x, r.pitch) << r.what;
        EXPECT_EQ(g.tableau[r.piles - 1].x - g.tableau[0].x, (r.piles - 1) * r.pitch) << r.what;
        EXPECT_EQ(g.tableau[r.piles - 1].y, g.tableau[0].y) << r.what;
        EXPECT_FALSE(g.tableau[r.piles].present()) << r.what;
        EXPECT_EQ(g.tableau[r.piles].x, kResetTableau) << r.what;
    }

    // Arrangement 015 with ten piles on a narrow screen starts at 15 with gap 3.
    LayoutRoom narrow = room(640, 480);
    const Geometry g = layoutPiles(tableauOnly(10, 15), narrow, CardSize::M);
    EXPECT_EQ(g.tableau[0].x, 15);
    EXPECT_EQ(g.tableau[1].x, 15 + 59 + 3);
    EXPECT_EQ(g.tableau[0].y, 15);
}

TEST(LayoutTableau, BlockOfSixteenWithStockAndSecondWaste)
{
    Rules r = tableauOnly(16, 51);
    r.set(373, 1);
    r.set(10, 1);
    r.set(377, 1);
    r.set(374, 4); // the block has no foundations whatever the count says
    const Geometry g = layoutPiles(r, room(800, 600), CardSize::B);
    const int x0 = (798 - 4 * 81) / 2; // 237
    const int y0 = std::max((599 - 384 - 30) / 2, 10);
    EXPECT_EQ(g.tableau[0], (Point{x0, y0}));
    EXPECT_EQ(g.tableau[5], (Point{x0 + 81, y0 + 106}));
    EXPECT_EQ(g.tableau[15], (Point{x0 + 3 * 81, y0 + 3 * 106}));
    EXPECT_EQ(g.stockGroup[0], (Point{x0 - 71 - 70, y0 + 106 + 53}));
    EXPECT_FALSE(g.stockGroup[1].present());
    EXPECT_EQ(g.stockGroup[2], (Point{x0 + 4 * 71 + 30 + 70, y0 + 106 + 53}));
    for (const Point& f : g.foundations)
        EXPECT_EQ(f.x, kNotPlaced);

    // Narrower rooms bring the stock closer, then move the block right.
    const Geometry mid = layoutPiles(r, room(586, 600), CardSize::B); // x0 = 130: 130-71-80 < 0
    EXPECT_EQ(mid.tableau[0].x, 130);
    EXPECT_EQ(mid.tableau[0].x - mid.stockGroup[0].x, 71 + 35);
    const Geometry nearer = layoutPiles(r, room(520, 600), CardSize::B); // x0 = 97 <= W + 44
    EXPECT_EQ(nearer.tableau[0].x - nearer.stockGroup[0].x, 71 + 15);
    const Geometry moved = layoutPiles(r, room(460, 600), CardSize::B); // x0 = 67 <= W + 24
    EXPECT_EQ(moved.tableau[0].x, 71 + 3 + 15);                         // margin 3 below 652
    EXPECT_EQ(moved.stockGroup[0].x, 3);
}

namespace {

// Seven piles on row 2 with stock and waste: the fixture the group placements are read against.
Rules sevenPilesWithStock(int stockArr, int foundArr, int foundations, int resArr = 0, int reserves = 0)
{
    Rules r = cw::test::klondike();
    setCodes(r, {stockArr, 1, foundArr, 1, 1, 2, resArr, 1});
    r.set(374, foundations);
    r.set(376, reserves);
    return r;
}

using Expect = Point (*)(const Geometry&);

} // namespace

TEST(LayoutGroups, StockPlacements)
{
    struct Row {
        int arrangement;
        Expect stock;
        Expect waste;
    };
    // Rows 1 and 2 are 25 and 131 (stock row digit "1"); arrangement 3 lowers row 2 by 15.
    const Row rows[] = {
        {3, [](const Geometry& g) { return Point{g.tableau[0].x - 71 - 30, 25}; },
         [](const Geometry& g) { return Point{g.tableau[0].x - 71 - 30, 146}; }},
        {4, [](const Geometry& g) { return Point{g.tableau[0].x, 25}; },
         [](const Geometry& g) { return Point{g.tableau[1].x, 25}; }},
        {5, [](const Geometry&) { return Point{20, 25}; }, [](const Geometry&) { return Point{20 + 71 + 20, 25}; }},
        {11, [](const Geometry& g) { return Point{g.tableau[0].x - 71 - 45 - 71 - 15, 25}; },
         [](const Geometry& g) { return Point{g.tableau[0].x - 71 - 45, 25}; }},
        {13, [](const Geometry&) { return Point{15, 25}; }, [](const Geometry&) { return Point{15 + 71 + 15, 25}; }},
        {16, [](const Geometry& g) { return Point{g.tableau[0].x - 71 - 30, 25}; },
         [](const Geometry& g) { return Point{g.tableau[0].x - 71 - 30, 25 + 106}; }},
        {19, [](const Geometry& g) { return Point{g.tableau[0].x - 71 - 60, 25}; },
         [](const Geometry& g) { return Point{g.tableau[0].x - 71 - 60, 25 + 106}; }},
        {21, [](const Geometry& g) { return Point{g.tableau[0].x - 71 - 15 - 71 - 5 - 15, 25}; },
         [](const Geometry& g) { return Point{g.tableau[0].x - 71 - 15, 25}; }},
        {23, [](const Geometry& g) { return Point{g.tableau[0].x, 25}; },
         [](const Geometry& g) { return Point{g.tableau[0].x + 71 + 18, 25}; }},
    };
    for (const Row& row : rows) {
        const Geometry g = layoutPiles(sevenPilesWithStock(row.arrangement, 31, 4), room(800, 600), CardSize::B);
        EXPECT_EQ(g.stockGroup[0], row.stock(g)) << "stock arrangement " << row.arrangement;
        EXPECT_EQ(g.stockGroup[1], row.waste(g)) << "stock arrangement " << row.arrangement;
        EXPECT_GE(g.stockGroup[0].x, 0) << "stock arrangement " << row.arrangement;
        EXPECT_EQ(g.unknownArrangements, 0u);
    }
}

TEST(LayoutGroups, FoundationPlacements)
{
    struct Row {
        int arrangement;
        int count;
        int index;
        Point expected;
    };
    // Tableau piles at 90 + 91 i on row 2; stock at 15 and waste at 101 on row 1 (y 25).
    const Row rows[] = {
        {22, 4, 0, {90, 25}},   {22, 4, 1, {181, 25}},
        {31, 4, 0, {489, 25}},  {31, 4, 3, {717, 25}},
        {32, 4, 0, {363, 25}},  {32, 4, 3, {636, 25}},
        {33, 4, 0, {189, 25}},  {33, 4, 1, {264, 25}},
        {34, 4, 0, {242, 25}},  {34, 4, 1, {323, 25}},
        {35, 4, 0, {363, 25}},  {35, 4, 2, {363, 25 + 212}},
        {36, 10, 0, {185, 25}}, {36, 10, 7, {717, 25}}, {36, 10, 8, {641, 131}}, {36, 10, 9, {717, 131}},
        {37, 4, 0, {5, 25}},    {37, 4, 1, {5 + 71 + 128, 25}},
    };
    for (const Row& row : rows) {
        const Geometry g = layoutPiles(sevenPilesWithStock(13, row.arrangement, row.count), room(800, 600), CardSize::B);
        ASSERT_EQ(g.tableau[0].x, 90);
        EXPECT_EQ(g.foundations[static_cast<std::size_t>(row.index)], row.expected)
            << "foundation arrangement " << row.arrangement << " pile " << row.index;
        EXPECT_EQ(g.foundations[static_cast<std::size_t>(row.count)].x, kNotPlaced);
    }
    // On a screen below 500 pixels foundations above the last piles pack from the right.
    LayoutRoom low = room(800, 480);
    const Geometry g = layoutPiles(sevenPilesWithStock(13, 32, 4), low, CardSize::M);
    EXPECT_EQ(g.foundations[3].x, g.tableau[6].x);
    EXPECT_EQ(g.foundations[2].x, g.tableau[6].x - 59 - 2);
}

TEST(LayoutGroups, ReserveAndSecondWastePlacements)
{
    {   // A column left of the tableau: the tableau closes up to leave room for it.
        Rules r = sevenPilesWithStock(13, 31, 4, 41, 3);
        r.set(373, 0);
        r.set(375, 8);
        const Geometry g = layoutPiles(r, room(800, 600), CardSize::B);
        EXPECT_EQ(g.reserves[0], (Point{5, 25}));
        EXPECT_EQ(g.reserves[2], (Point{5, 25 + 2 * 106}));
        EXPECT_EQ(g.tableau[0].x, 5 + 71 + 22); // 1.5 G with more than 7 piles
    }
    {   // Free cells from the left margin.
        const Geometry g = layoutPiles(sevenPilesWithStock(13, 31, 4, 42, 4), room(800, 600), CardSize::B);
        EXPECT_EQ(g.reserves[3], (Point{5 + 3 * 75, 25}));
    }
    {   // Above the last tableau piles.
        const Geometry g = layoutPiles(sevenPilesWithStock(13, 31, 4, 43, 2), room(800, 600), CardSize::B);
        EXPECT_EQ(g.reserves[0].x, g.tableau[5].x);
        EXPECT_EQ(g.reserves[1].x, g.tableau[6].x);
    }
    {   // One pile left of the first tableau pile, 1.5 G away with more than 7 piles.
        Rules r = sevenPilesWithStock(13, 31, 4, 44, 1);
        r.set(375, 9);
        const Geometry g = layoutPiles(r, room(800, 600), CardSize::M);
        EXPECT_EQ(g.reserves[0].x, g.tableau[0].x - 59 - 22);
    }
    {   // One wide fan on the bottom row.
        const Geometry g = layoutPiles(sevenPilesWithStock(13, 31, 4, 45, 1), room(800, 600), CardSize::B);
        EXPECT_EQ(g.reserves[0], (Point{5, 600 - 96 - 5}));
    }
    {   // Second waste right of the waste, or above the tableau pile next to the stock's.
        Rules r = sevenPilesWithStock(13, 31, 4);
        r.set(377, 1);
        r.set(371, 51);
        r.set(372, 1);
        Geometry g = layoutPiles(r, room(800, 600), CardSize::B);
        EXPECT_EQ(g.stockGroup[2], (Point{101 + 71 + 15, 25}));
        r.set(362, 4);
        r.set(371, 4);
        g = layoutPiles(r, room(800, 600), CardSize::B);
        EXPECT_EQ(g.stockGroup[2].x, g.tableau[2].x);
        EXPECT_GE(g.tableau[1].x - g.tableau[0].x - 71, 15); // gap at least 15 under the stock row
    }
}

TEST(LayoutGroups, MissingPilesAndUnknownArrangements)
{
    Rules r = cw::test::freecell();
    setCodes(r, {0, 1, 31, 1, 1, 2, 42, 1});
    Geometry g = layoutPiles(r, room(800, 600), CardSize::B);
    EXPECT_EQ(g.stockGroup[0].x, kNotPlaced);
    EXPECT_EQ(g.stockGroup[1].x, kNotPlaced);
    EXPECT_EQ(g.foundations[4].x, kNotPlaced);
    EXPECT_EQ(g.reserves[4].x, kResetReserve);
    EXPECT_FALSE(g.present(PileRef::tableau(8)));
    EXPECT_TRUE(g.present(PileRef::tableau(7)));
    EXPECT_EQ(g.unknownArrangements, 0u);

    r.set(374, 0);
    g = layoutPiles(r, room(800, 600), CardSize::B);
    for (const Point& f : g.foundations)
        EXPECT_FALSE(f.present());

    r.set(366, 99);
    r.set(369, 49);
    g = layoutPiles(r, room(800, 600), CardSize::B);
    EXPECT_EQ(g.unknownArrangements, kUnknownTable | kUnknownReserve);
    std::string why;
    EXPECT_FALSE(fitsIn(r, 800, 600, CardSize::B, &why));
    EXPECT_EQ(why, "unknown table arrangement");
}

// Typical games in every arrangement family: each pile in use lies inside an 800 x 600 room
// with standard cards, and no two piles share a corner.
TEST(LayoutFit, TypicalGamesFitTheStandardWindow)
{
    struct Game {
        const char* name;
        Rules (*base)();
        Codes codes;
        int tableau, foundations, reserves, stockPiles, secondWaste;
    };
    using cw::test::freecell;
    using cw::test::klondike;
    using cw::test::spider;
    const Game games[] = {
        {"klondike", klondike, {13, 1, 33, 1, 1, 2, 0, 0}, 7, 4, 0, 2, 0},
        {"freecell", freecell, {0, 0, 31, 1, 1, 2, 42, 1}, 8, 4, 4, 0, 0},
        {"spider", spider, {5, 1, 33, 1, 14, 2, 0, 0}, 10, 8, 0, 1, 0},
        {"stock left of the tableau", klondike, {3, 1, 31, 4, 1, 1, 0, 0}, 7, 4, 0, 2, 0},
        {"stock above the tableau, second waste", klondike, {4, 1, 31, 1, 1, 2, 0, 0}, 7, 4, 0, 2, 1},
        {"stock pair left", klondike, {11, 1, 31, 4, 1, 1, 0, 0}, 7, 4, 0, 2, 0},
        {"stock far left", klondike, {21, 1, 31, 4, 1, 1, 0, 0}, 7, 4, 0, 2, 0},
        {"stock 16", klondike, {16, 1, 31, 4, 1, 1, 0, 0}, 7, 4, 0, 2, 0},
        {"stock 19", klondike, {19, 1, 31, 4, 1, 1, 0, 0}, 7, 4, 0, 1, 0},
        {"stock 23", klondike, {23, 1, 31, 1, 1, 2, 0, 0}, 7, 4, 0, 2, 0},
        {"two rows", freecell, {0, 0, 34, 1, 3, 2, 0, 0}, 13, 4, 0, 0, 0},
        {"fan columns", freecell, {0, 0, 36, 1, 5, 2, 0, 0}, 18, 4, 0, 0, 0},
        {"side columns", freecell, {0, 0, 35, 1, 6, 1, 0, 0}, 8, 4, 0, 0, 0},
        {"cross", klondike, {13, 1, 0, 0, 7, 1, 0, 0}, 5, 4, 0, 2, 0},
        {"block", klondike, {0, 0, 0, 0, 51, 1, 0, 0}, 16, 0, 0, 1, 1},
        {"reserve column", freecell, {0, 0, 31, 1, 1, 2, 41, 2}, 8, 4, 4, 0, 0},
        {"reserves over the last piles", freecell, {0, 0, 22, 1, 1, 2, 43, 1}, 8, 4, 4, 0, 0},
        {"one reserve left", klondike, {13, 1, 33, 1, 1, 2, 44, 2}, 7, 4, 1, 2, 0},
        {"bottom reserve", klondike, {13, 1, 33, 1, 1, 2, 45, 1}, 7, 4, 1, 2, 0},
        {"eight foundations above", spider, {13, 1, 32, 1, 14, 2, 0, 0}, 10, 8, 0, 1, 0},
        {"spread foundations", freecell, {0, 0, 37, 1, 2, 2, 0, 0}, 8, 8, 0, 0, 0},
        {"second waste 51", klondike, {13, 1, 33, 1, 1, 2, 0, 0}, 7, 4, 0, 2, 1},
    };
    for (const Game& game : games) {
        Rules r = game.base();
        setCodes(r, game.codes);
        r.set(375, game.tableau);
        r.set(374, game.foundations);
        r.set(376, game.reserves);
        r.set(373, game.stockPiles);
        r.set(377, game.secondWaste);
        r.set(371, game.secondWaste ? (game.codes.stockArr == 4 ? 4 : 51) : 0);
        r.set(372, 1);
        std::string why;
        EXPECT_TRUE(fitsIn(r, 800, 600, CardSize::B, &why)) << game.name << ": " << why;
    }
}

TEST(LayoutFit, ReportsPilesOffTheTableOrOnTopOfEachOther)
{
    Rules r = cw::test::spider();
    setCodes(r, {5, 1, 31, 1, 1, 2, 0, 0}); // arrangement 1 keeps its gap and runs off the right
    r.set(373, 1);
    std::string why;
    EXPECT_FALSE(fitsIn(r, 800, 600, CardSize::B, &why));
    EXPECT_NE(why.find("Fila10"), std::string::npos) << why;
    EXPECT_NE(why.find("does not fit in 800 x 600"), std::string::npos) << why;

    r = cw::test::freecell();
    setCodes(r, {0, 0, 33, 1, 1, 2, 42, 1}); // foundations from the margin over the free cells
    EXPECT_FALSE(fitsIn(r, 800, 600, CardSize::B, &why));
    EXPECT_EQ(why, "Dest1 and Appogg1 share the corner (5, 10)");

    r.set(364, 22); // foundations over the first tableau piles, free cells from the margin
    r.set(370, 2);
    EXPECT_FALSE(fitsIn(r, 800, 600, CardSize::B, &why));
    EXPECT_NE(why.find("covers"), std::string::npos) << why;
}

TEST(LayoutTableau, RowsColumnsAndCross)
{
    struct Row {
        const char* what;
        int arrangement;
        int tableau;
        int foundations;
        int foundationArrangement;
        PileRef pile;
        Point expected;
        int rowPitch;
    };
    // B cards in 800 x 600 without a stock: rows at 10, 116, 222; the usable width 798.
    const Row rows[] = {
        // Two rows: seven on row 2, six halfway between it and the bottom.
        {"two rows, first", 3, 13, 0, 0, PileRef::tableau(6), {90 + 6 * 91, 116}, 241},
        {"two rows, second", 3, 13, 0, 0, PileRef::tableau(7), {136, 357}, 241},
        // Fan columns: three columns of six, rows H / 2 + 10 apart.
        {"fan columns", 5, 18, 0, 0, PileRef::tableau(7), {5 + 264, 10 + 58}, 58},
        {"fan columns, two", 5, 8, 0, 0, PileRef::tableau(5), {5 + 396, 10 + 58}, 58},
        // Side columns round a centre column of foundations.
        {"side columns, left", 6, 8, 4, 35, PileRef::tableau(3), {5, 10 + 3 * 106}, 106},
        {"side columns, right", 6, 8, 4, 35, PileRef::tableau(5), {363 + 71 + 20, 116}, 106},
        {"centre foundations", 6, 8, 4, 35, PileRef::foundation(2), {363, 10 + 2 * 106}, 106},
        // Cross: the centre pile and a corner foundation of the centred 3 x 3 block.
        {"cross, centre", 7, 5, 4, 0, PileRef::tableau(2), {272 + 91, 145 + 106}, 106},
        {"cross, corner", 7, 5, 4, 0, PileRef::foundation(3), {272 + 182, 145 + 212}, 106},
    };
    for (const Row& r : rows) {
        Rules rules = tableauOnly(r.tableau, r.arrangement, r.arrangement == 3 ? 2 : 1);
        rules.set(374, r.foundations);
        rules.set(364, r.foundationArrangement);
        rules.set(365, 1);
        const Geometry g = layoutPiles(rules, room(800, 600), CardSize::B);
        EXPECT_EQ(g.corner(r.pile), r.expected) << r.what;
        EXPECT_EQ(g.rowPitch, r.rowPitch) << r.what;
        EXPECT_EQ(g.unknownArrangements, 0u) << r.what;
    }
}

TEST(LayoutTableau, NarrowScreensAndTheHorizontalPitch)
{
    // Ten medium piles on a 640 x 480 screen close up and start 2 pixels left of the margin.
    const Geometry narrow = layoutPiles(tableauOnly(10, 14), room(640, 480), CardSize::M);
    EXPECT_EQ(narrow.tableau[0].x, 1);
    EXPECT_EQ(narrow.tableau[1].x - narrow.tableau[0].x, 59 + 4);

    // Rightward fans record the tableau pitch: between two piles of a row, else to the first
    // foundation.
    Rules r = tableauOnly(7, 1, 2);
    r.set(3, 2);
    EXPECT_EQ(layoutPiles(r, room(800, 600), CardSize::B).tableauPitch, 91);
    r = tableauOnly(8, 6);
    r.set(3, 2);
    r.set(374, 4);
    r.set(364, 35);
    EXPECT_EQ(layoutPiles(r, room(800, 600), CardSize::B).tableauPitch, 363 - 5);
    r.set(3, 1);
    EXPECT_EQ(layoutPiles(r, room(800, 600), CardSize::B).tableauPitch, 0);
}

#if __has_include("catalog/layout_codes.h")
#include "catalog/layout_codes.h"

// Every arrangement number the catalog may name is one the layout knows.
TEST(LayoutFit, KnowsEveryCatalogArrangement)
{
    using cw::catalog::LayoutGroup;
    for (const auto& a : cw::catalog::kLayoutArrangements) {
        Rules r = cw::test::klondike();
        r.set(376, 2);
        r.set(377, 1);
        const int param = a.group == LayoutGroup::Stock        ? 362
                          : a.group == LayoutGroup::Foundation ? 364
                          : a.group == LayoutGroup::Table      ? 366
                          : a.group == LayoutGroup::Reserve    ? 369
                                                               : 371;
        r.set(param, a.number);
        const Geometry g = layoutPiles(r, room(800, 600), CardSize::B);
        const unsigned bit = a.group == LayoutGroup::Stock        ? kUnknownStock
                             : a.group == LayoutGroup::Foundation ? kUnknownFoundation
                             : a.group == LayoutGroup::Table      ? kUnknownTable
                             : a.group == LayoutGroup::Reserve    ? kUnknownReserve
                                                                  : kUnknownSecondWaste;
        EXPECT_EQ(g.unknownArrangements & bit, 0u) << a.placement;
    }
}
#endif
