// Table geometry: fan steps, card positions per fan style, the hit test at band edges, the
// ranking of drop candidates and the scroll bar rule.
#include <gtest/gtest.h>

#include <string>

#include "engine/geometry.h"
#include "rule_sets.h"

using namespace cw::engine;
using Rules = cw::engine::GameRules;

namespace {

constexpr int kW = 71;
constexpr int kH = 96;
const Point kCorner{100, 50};

// A table geometry with hand-placed corners and B-size steps: face down 4, face up 18
// (vertical), 4 and 12 (horizontal), snake rows of 3.
TableGeometry fixture(int tableauStyle, int reserveStyle = 0)
{
    TableGeometry tg;
    tg.layout.cardWidth = kW;
    tg.layout.cardHeight = kH;
    tg.steps.downFaceUp = 18;
    tg.steps.downFaceDown = 4;
    tg.steps.rightFaceUp = 12;
    tg.steps.rightFaceDown = 4;
    tg.steps.style6Step = 7;
    tg.steps.snakePerRow = 3;
    tg.tableauStyle = tableauStyle;
    tg.reserveStyle = reserveStyle;
    tg.foundationStyle = 1;
    tg.tableauCount = 2;
    tg.foundationCount = 1;
    tg.reserveCount = 1;
    tg.layout.tableau[0] = kCorner;
    return tg;
}

// Cards 1 (face down), 2 and 3 (face up) on a pile, bottom first.
void deal3(Table& t, PileRef p, int first = 1)
{
    t.append(p, first, false);
    t.append(p, first + 1, true);
    t.append(p, first + 2, true);
}

} // namespace

TEST(FanSteps, BySizeAndStyle)
{
    struct Row {
        int p3, p4, p5, p6;
        CardSize size;
        int downUp, downDown, rightUp, rightDown, style6;
    };
    const Row rows[] = {
        {1, 0, 0, 0, CardSize::B, 18, 4, 0, 0, 0},
        {1, 0, 0, 0, CardSize::X, 24, 6, 0, 0, 0},
        {12, 0, 0, 0, CardSize::M, 35, 10, 0, 0, 0},  // 14 x 2.5
        {2, 0, 13, 0, CardSize::B, 36, 8, 12, 4, 0},  // reserve style 13 doubles the vertical steps
        {2, 0, 0, 0, CardSize::L, 0, 0, 3, 3, 0},
        {7, 0, 0, 0, CardSize::S, 21, 5, 0, 0, 0},
        {6, 0, 0, 0, CardSize::M, 0, 0, 0, 0, 5},
        {6, 0, 0, 0, CardSize::B, 0, 0, 0, 0, 7},
        {11, 0, 0, 1, CardSize::X, 0, 0, 16, 4, 0},
        {4, 0, 0, 0, CardSize::B, 0, 0, 0, 0, 0},
        {13, 0, 0, 0, CardSize::B, 18, 4, 0, 0, 0},   // style 13 is a downward fan of its own
        {2, 1, 0, 0, CardSize::B, 18, 4, 12, 4, 0},   // downward foundations in a game of rows
    };
    for (const Row& r : rows) {
        Rules rules;
        rules.set(3, r.p3);
        rules.set(4, r.p4);
        rules.set(5, r.p5);
        rules.set(6, r.p6);
        const FanSteps f = fanSteps(rules, r.size, 800);
        const std::string what = "style " + std::to_string(r.p3) + " size " + cardSizeLetter(r.size);
        EXPECT_EQ(f.downFaceUp, r.downUp) << what;
        EXPECT_EQ(f.downFaceDown, r.downDown) << what;
        EXPECT_EQ(f.rightFaceUp, r.rightUp) << what;
        EXPECT_EQ(f.rightFaceDown, r.rightDown) << what;
        EXPECT_EQ(f.style6Step, r.style6) << what;
    }
    Rules snake;
    snake.set(3, 8);
    snake.set(45, -1);
    EXPECT_EQ(fanSteps(snake, CardSize::B, 800).snakePerRow, 800 / (71 + 12));
    EXPECT_EQ(fanSteps(snake, CardSize::M, 640).snakePerRow, 640 / (59 + 8));
    snake.set(45, 5);
    EXPECT_EQ(fanSteps(snake, CardSize::B, 800).snakePerRow, 5);
}

TEST(CardPositionTest, EveryFanStyle)
{
    struct Row {
        int style;
        int index;
        Point expected;
    };
    // Pile of three: face down, face up, face up; index 3 is where the next card goes.
    const Row rows[] = {
        {1, 0, {100, 50}},  {1, 1, {100, 54}},  {1, 2, {100, 72}},  {1, 3, {100, 90}},
        {13, 2, {100, 72}},
        {2, 1, {104, 50}},  {2, 3, {128, 50}},
        {10, 1, {96, 50}},  {10, 2, {84, 50}},
        {4, 2, {100 + 2 * 77, 50}},
        {9, 2, {100 + 2 * 77, 50}},
        {6, 2, {114, 50}},
        {7, 1, {100, 50}},  {7, 2, {100, 68}},  {7, 3, {100, 68}},
        {8, 2, {100 + 2 * 83, 50}}, {8, 3, {100 + 2 * 83, 50 + 104}}, // the second row runs back
        {3, 2, {100, 50}},  {0, 2, {100, 50}},
    };
    for (const Row& r : rows) {
        TableGeometry tg = fixture(r.style);
        Table t;
        deal3(t, PileRef::tableau(0));
        EXPECT_EQ(cardPosition(tg, t, PileRef::tableau(0), r.index), r.expected) << "style " << r.style << " card " << r.index;
    }

    // Style 12 counts a placeholder as face up; style 1 as face down.
    for (int style : {1, 12}) {
        TableGeometry tg = fixture(style);
        Table t;
        t.append(PileRef::tableau(0), 0);
        t.append(PileRef::tableau(0), 5, true);
        EXPECT_EQ(cardPosition(tg, t, PileRef::tableau(0), 1).y, 50 + (style == 12 ? 18 : 4));
    }
    // Reserve style 5 steps by the small stacked step; irregular piles shift style 1 cards.
    TableGeometry tg = fixture(1, 5);
    tg.layout.reserves[0] = {300, 10};
    tg.irregular.enabled = true;
    tg.irregular.rows[0][2] = -1;
    Table t;
    deal3(t, PileRef::reserve(0));
    deal3(t, PileRef::tableau(0), 10);
    EXPECT_EQ(cardPosition(tg, t, PileRef::reserve(0), 2), (Point{300, 16}));
    EXPECT_EQ(cardPosition(tg, t, PileRef::tableau(0), 2), (Point{99, 72}));
    // A pile not on the table has no position.
    EXPECT_FALSE(cardPosition(tg, t, PileRef::tableau(1), 0).present());
}

TEST(HitTest, BandEdgesForEveryTableauStyle)
{
    struct Row {
        int style;
        int x, y;
        int expectedIndex; // -1: the point hits no card of the pile
        bool inArea;       // with the any-pile flag the pile itself is reported
    };
    // Three cards (down, up, up) at (100, 50); W 71, H 96; steps 4 and 18 down, 4 and 12 right.
    const Row rows[] = {
        // Downward fan: bands [50,54] [54,72] [72,167]; a border belongs to the lower card.
        {1, 100, 50, 0, true}, {1, 171, 54, 0, true}, {1, 100, 55, 1, true}, {1, 100, 72, 1, true},
        {1, 100, 73, 2, true}, {1, 100, 167, 2, true}, {1, 100, 168, -1, true}, {1, 172, 60, -1, false},
        {1, 99, 60, -1, false}, {1, 120, 169, -1, false},
        {13, 100, 73, 2, true},
        // Only the top card moved down: bands [50,68] [68,68] [68,163].
        {7, 100, 68, 0, true}, {7, 100, 69, 2, true}, {7, 100, 163, 2, true}, {7, 100, 164, -1, true},
        // Stacked: every band gives the top card at the corner; the area is one card.
        {3, 100, 50, 2, true}, {3, 100, 146, 2, true}, {3, 100, 147, -1, false},
        // Rightward fan: bands [100,104] [104,116] [116,186]; area to x 187, y 50..146.
        {2, 104, 60, 0, true}, {2, 105, 60, 1, true}, {2, 116, 146, 1, true}, {2, 117, 60, 2, true},
        {2, 186, 60, 2, true}, {2, 187, 60, -1, true}, {2, 120, 147, -1, false},
        // Leftward fan: top card at 84; only it can be found.
        {10, 84, 60, 2, true}, {10, 154, 60, 2, true}, {10, 155, 60, -1, true}, {10, 171, 60, -1, true},
        {10, 83, 60, -1, false},
        // Side by side: cards at 100, 177, 254; the gaps belong to no card.
        {4, 171, 60, 0, true}, {4, 172, 60, -1, true}, {4, 176, 60, -1, true}, {4, 177, 60, 1, true},
        {4, 325, 60, 2, true}, {4, 326, 60, -1, false},
        // One position per card in a row.
        {9, 171, 146, 0, true}, {9, 174, 60, -1, true}, {9, 254, 60, 2, true},
        // Snake rows of three: all points belong to pile 1.
        {8, 266 + 70, 50, 2, true}, {8, 500, 400, -1, true},
    };
    for (const Row& r : rows) {
        TableGeometry tg = fixture(r.style);
        Table t;
        deal3(t, PileRef::tableau(0));
        const std::string what = "style " + std::to_string(r.style) + " at " + std::to_string(r.x) + "," + std::to_string(r.y);
        const Hit h = hitTest(tg, t, r.x, r.y);
        if (r.expectedIndex >= 0) {
            EXPECT_EQ(h.pile, PileRef::tableau(0)) << what;
            EXPECT_EQ(h.index, r.expectedIndex) << what;
            EXPECT_EQ(h.code, r.expectedIndex + 1) << what;
            const Point at = r.style == 3 ? kCorner : cardPosition(tg, t, PileRef::tableau(0), r.expectedIndex);
            EXPECT_EQ(h.rect, (Rect{at.x, at.y, kW, kH})) << what;
        } else {
            EXPECT_FALSE(h.found()) << what;
        }
        const Hit any = hitTest(tg, t, r.x, r.y, true);
        EXPECT_EQ(any.found(), r.inArea || r.expectedIndex >= 0) << what << " (any pile)";
        if (any.found() && r.expectedIndex < 0) {
            EXPECT_EQ(any.code, 0) << what;
            EXPECT_EQ(any.rect, (Rect{100, 50, kW, kH})) << what;
        }
    }
}

TEST(HitTest, OverlapsPlaceholdersAndMixedStyles)
{
    {   // A later pile drawn over an earlier pile's fan wins where they overlap.
        TableGeometry tg = fixture(1);
        tg.layout.tableau[1] = {100, 120};
        Table t;
        for (int c = 1; c <= 8; ++c)
            t.append(PileRef::tableau(0), c, true);
        t.append(PileRef::tableau(1), 20, true);
        EXPECT_EQ(hitTest(tg, t, 110, 130).pile, PileRef::tableau(1));
        EXPECT_EQ(hitTest(tg, t, 110, 119).code, 4);
    }
    {   // Style 4 goes on to the earlier pile when the later one has no card under the point.
        TableGeometry tg = fixture(4);
        tg.layout.tableau[1] = {80, 50};
        Table t;
        t.append(PileRef::tableau(0), 7, true);
        t.append(PileRef::tableau(1), 8, true);
        t.append(PileRef::tableau(1), 9, true);
        const Hit h = hitTest(tg, t, 155, 60); // in pile 2's gap, on pile 1's card
        EXPECT_EQ(h.pile, PileRef::tableau(0));
        EXPECT_EQ(h.code, 7);
    }
    {   // A placeholder position counts only with the any-pile flag.
        TableGeometry tg = fixture(9);
        Table t;
        t.append(PileRef::tableau(0), 5, true);
        t.append(PileRef::tableau(0), 0);
        EXPECT_FALSE(hitTest(tg, t, 180, 60).found());
        const Hit any = hitTest(tg, t, 180, 60, true);
        EXPECT_EQ(any.index, 1);
        EXPECT_EQ(any.code, 0);
    }
    {   // Mixed style: piles 1-7 fan right, piles 8-12 fan left.
        TableGeometry tg = fixture(11);
        tg.mixedStyle = 1;
        tg.tableauCount = 9;
        tg.layout.tableau[8] = {400, 300};
        Table t;
        deal3(t, PileRef::tableau(0));
        deal3(t, PileRef::tableau(8), 20);
        EXPECT_EQ(tg.styleOf(PileRef::tableau(0)), 2);
        EXPECT_EQ(tg.styleOf(PileRef::tableau(8)), 10);
        EXPECT_EQ(hitTest(tg, t, 117, 60).code, 3);
        EXPECT_EQ(hitTest(tg, t, 384, 310).code, 22);
        tg.mixedStyle = 0;
        EXPECT_EQ(tg.styleOf(PileRef::tableau(0)), 0);
    }
}

TEST(HitTest, StockFoundationsAndReserves)
{
    TableGeometry tg = fixture(1, 1);
    tg.layout.stockGroup[0] = {10, 10};
    tg.layout.foundations[0] = {300, 10};
    tg.layout.reserves[0] = {500, 10};
    Table t;
    deal3(t, PileRef::foundation(0));
    deal3(t, PileRef::reserve(0), 10);

    // An empty stock is still reported.
    EXPECT_EQ(hitTest(tg, t, 10, 10), (Hit{PileRef::stock(), -1, 0, {10, 10, kW, kH}}));
    EXPECT_EQ(hitTest(tg, t, 81, 106).pile, PileRef::stock());
    EXPECT_FALSE(hitTest(tg, t, 82, 50).found());

    // A fanned foundation is hit only on its top card.
    EXPECT_FALSE(hitTest(tg, t, 300, 20).found());
    EXPECT_EQ(hitTest(tg, t, 300, 32), (Hit{PileRef::foundation(0), 2, 3, {300, 32, kW, kH}}));

    // A reserve card's rectangle reaches the end of the fan, or only the card with rule -11.
    EXPECT_EQ(hitTest(tg, t, 510, 15), (Hit{PileRef::reserve(0), 1, 11, {500, 14, kW, 18 + kH}}));
    tg.reservePickup = -11;
    EXPECT_EQ(hitTest(tg, t, 510, 15).rect, (Rect{500, 14, kW, kH}));

    // An empty reserve only with the any-pile flag; a pile not on the table never.
    Table empty;
    EXPECT_FALSE(hitTest(tg, empty, 510, 15).found());
    EXPECT_EQ(hitTest(tg, empty, 510, 15, true), (Hit{PileRef::reserve(0), -1, 0, {500, 10, kW, kH}}));
    tg.layout.reserves[0] = {kNotPlaced, kNotPlaced};
    EXPECT_FALSE(hitTest(tg, empty, 510, 15, true).found());
    EXPECT_EQ(hitTest(tg, empty, 5000, 5000), Hit{});
}

TEST(DropCandidatesTest, RankedByAreaThenKindThenNumber)
{
    // Four piles whose next-card places the drag rectangle overlaps: a tableau pile, a reserve,
    // a foundation and the waste.
    TableGeometry tg = fixture(1);
    tg.tableauCount = 3;
    tg.foundationCount = 2;
    tg.reserveCount = 2;
    tg.layout.tableau[0] = {0, 0};
    tg.layout.tableau[1] = {200, 0};
    tg.layout.reserves[0] = {0, 200};
    tg.layout.reserves[1] = {200, 200};
    tg.layout.foundations[0] = {400, 0};
    tg.layout.foundations[1] = {400, 200};
    tg.layout.tableau[2] = {0, 400};
    tg.layout.stockGroup[1] = {200, 400};
    Table t;

    struct Row {
        const char* what;
        Rect drag;
        std::vector<PileRef> expected;
    };
    const Row rows[] = {
        // Equal areas: reserve before foundation before tableau before waste.
        {"reserve over tableau", {0, 73, kW, 150}, {PileRef::reserve(0), PileRef::tableau(0)}},
        {"foundation over tableau", {251, 0, 169, 10}, {PileRef::foundation(0), PileRef::tableau(1)}},
        {"tableau over waste", {51, 400, 169, 10}, {PileRef::tableau(2), PileRef::waste()}},
        // Equal kind and area: the higher number first.
        {"higher number first", {51, 0, 169, 10}, {PileRef::tableau(1), PileRef::tableau(0)}},
        // A larger area beats a higher kind.
        {"area first", {0, 60, kW, 150}, {PileRef::tableau(0), PileRef::reserve(0)}},
        {"nothing", {80, 100, 100, 50}, {}},
    };
    for (const Row& r : rows) {
        const auto c = dropCandidates(tg, t, r.drag);
        std::vector<PileRef> got;
        for (const auto& d : c)
            got.push_back(d.pile);
        EXPECT_EQ(got, r.expected) << r.what;
        if (c.size() == 2 && std::string(r.what) != "area first") {
            EXPECT_EQ(c[0].area, c[1].area) << r.what;
        }
    }

    // The next card's place moves down a fanned pile; the waste can be barred as a target;
    // a game whose first move must go to a foundation keeps only foundations.
    t.append(PileRef::tableau(0), 5, true);
    const auto below = dropCandidates(tg, t, {0, 100, 10, 10});
    ASSERT_EQ(below.size(), 1u);
    EXPECT_EQ(below[0], (DropCandidate{PileRef::tableau(0), -1, 100}));
    tg.wasteNeverTarget = true;
    EXPECT_TRUE(dropCandidates(tg, t, {200, 400, 10, 10}).empty());
    const auto onlyF = dropCandidates(tg, t, {251, 0, 169, 10}, true);
    ASSERT_EQ(onlyF.size(), 1u);
    EXPECT_EQ(onlyF[0].pile, PileRef::foundation(0));
}

TEST(DropCandidatesTest, IndexPlacedPilesOfferEveryPosition)
{
    TableGeometry tg = fixture(9);
    tg.tableauCount = 1;
    Table t;
    t.append(PileRef::tableau(0), 1, true);
    t.append(PileRef::tableau(0), 0);
    // Over positions 1 and 2 (x 177 and 254): position 2 has the larger share.
    const auto c = dropCandidates(tg, t, {230, 50, kW, kH});
    ASSERT_EQ(c.size(), 2u);
    EXPECT_EQ(c[0], (DropCandidate{PileRef::tableau(0), 2, 47 * kH}));
    EXPECT_EQ(c[1], (DropCandidate{PileRef::tableau(0), 1, 18 * kH}));
}

TEST(ScrollBar, AllowedAndSettling)
{
    struct AllowRow {
        int p3, p5, p54;
        bool option, allowed;
    };
    const AllowRow allow[] = {
        {1, 0, 0, true, true},  {8, 0, 0, true, true},  {12, 0, 0, true, true}, {2, 13, 0, true, true},
        {2, 0, 53, true, true}, {2, 0, 0, true, false}, {7, 0, 0, true, false}, {1, 0, 0, false, false},
    };
    for (const AllowRow& a : allow) {
        Rules r;
        r.set(3, a.p3);
        r.set(5, a.p5);
        r.set(54, a.p54);
        EXPECT_EQ(scrollBarAllowed(r, a.option), a.allowed) << a.p3 << "/" << a.p5 << "/" << a.p54;
    }

    ScrollState s{false, 0, 100, 798};
    ScrollDecision d = evaluateScrollBar(true, 900, 600, 96, s);
    EXPECT_EQ(d.change, ScrollChange::Grown);
    EXPECT_TRUE(d.relayout);
    const int excess = 900 - 600 + 2 * 96;
    EXPECT_EQ(d.state, (ScrollState{true, 0, 100 + excess - 30, 798 + excess}));
    // Evaluating again after the relayout changes nothing.
    EXPECT_EQ(evaluateScrollBar(true, 900, 600, 96, d.state).change, ScrollChange::None);
    // A taller table grows the pictures again.
    EXPECT_EQ(evaluateScrollBar(true, 1400, 600, 96, d.state).change, ScrollChange::Grown);
    // Once the table fits, or the game does not allow the bar, it is hidden and reset.
    ScrollState scrolled = d.state;
    scrolled.position = 200;
    for (bool allowed : {true, false}) {
        const ScrollDecision h = evaluateScrollBar(allowed, allowed ? 600 : 900, 600, 96, scrolled);
        EXPECT_EQ(h.change, ScrollChange::Hidden);
        EXPECT_EQ(h.state.position, 0);
        EXPECT_EQ(h.state.maximum, 100);
        EXPECT_FALSE(h.state.shown);
    }
    EXPECT_EQ(evaluateScrollBar(true, 500, 600, 96, s).change, ScrollChange::None);
    EXPECT_EQ(evaluateScrollBar(false, 900, 600, 96, s).change, ScrollChange::None);
    EXPECT_EQ(clampScroll(-5, scrolled), 0);
    EXPECT_EQ(clampScroll(5000, scrolled), scrolled.maximum);
}

TEST(ScrollBar, NeededHeightFollowsTheLongestFan)
{
    TableGeometry tg = fixture(1);
    tg.layout.tableau[1] = {200, 50};
    Table t;
    for (int c = 1; c <= 20; ++c)
        t.append(PileRef::tableau(1), c, true);
    EXPECT_EQ(neededHeight(tg, t), 50 + 19 * 18 + kH);
    Table empty;
    EXPECT_EQ(neededHeight(tg, empty), 50 + kH); // an empty pile still shows its marker
}

// Over the laid-out typical games: a point just inside each pile's corner finds that pile.
TEST(HitTest, FindsEveryLaidOutPileAtItsCorner)
{
    auto withCodes = [](Rules r, int sa, int fa, int ta, int ra) {
        r.set(362, sa);
        r.set(363, 1);
        r.set(364, fa);
        r.set(365, 1);
        r.set(366, ta);
        r.set(367, 2);
        r.set(369, ra);
        r.set(370, 1);
        return r;
    };
    const Rules games[] = {
        withCodes(cw::test::klondike(), 13, 33, 1, 0),
        withCodes(cw::test::freecell(), 0, 31, 1, 42),
        withCodes(cw::test::spider(), 5, 33, 14, 0),
    };
    for (const Rules& r : games) {
        const Geometry g = layoutPiles(r, LayoutRoom{}, CardSize::B);
        TableGeometry tg = makeTableGeometry(r, g, CardSize::B, 800);
        Table t;
        int code = 1;
        std::vector<PileRef> piles{PileRef::stock(), PileRef::waste()};
        for (int i = 0; i < r.foundationCount(); ++i)
            piles.push_back(PileRef::foundation(i));
        for (int i = 0; i < r.tableauCount(); ++i)
            piles.push_back(PileRef::tableau(i));
        for (int i = 0; i < r.reserveCount(); ++i)
            piles.push_back(PileRef::reserve(i));
        for (PileRef p : piles) {
            if (!g.present(p))
                continue;
            t.append(p, code, true);
            const Point c = g.corner(p);
            const Hit h = hitTest(tg, t, c.x + 1, c.y + 1);
            EXPECT_EQ(h.pile, p) << pileName(p);
            EXPECT_EQ(h.code, code) << pileName(p);
            ++code;
        }
    }
}

TEST(IrregularPiles, OffsetsFollowTheDrawnSequence)
{
    // First row: prev 3, then 2 (kept after a 3), 3, 2 (the running sum reaches 3 and is pulled
    // back), 3, 3 (a second 3 becomes 0), then zeros.
    const int script[] = {3, 2, 3, 2, 3, 3};
    std::size_t k = 0;
    const IrregularOffsets o = makeIrregularOffsets([&] { return k < std::size(script) ? script[k++] : 0; });
    EXPECT_TRUE(o.enabled);
    const std::array<int, 13> first{0, 2, -1, 0, -1, 0, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(o.rows[0], first);
    // Whatever the draws, offsets stay within -1 .. 2 and every row starts at 0.
    unsigned seed = 7;
    const IrregularOffsets r = makeIrregularOffsets([&] { seed = seed * 1103515245u + 12345u; return static_cast<int>((seed >> 16) % 4); });
    for (const auto& row : r.rows) {
        EXPECT_EQ(row[0], 0);
        for (int v : row) {
            EXPECT_GE(v, -1);
            EXPECT_LE(v, 2);
        }
    }
}
