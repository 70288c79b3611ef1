// Table geometry on top of the layout: fan steps, where each card of a pile lies, which pile
// and card a point hits, the drop targets under a dragged card ranked by overlap, and the
// vertical scroll rule. All coordinates are table coordinates (Y unscrolled).
#pragma once

#include <array>
#include <vector>

#include "catalog/rules.h"
#include "engine/card_size.h"
#include "engine/game_rules.h"
#include "engine/layout.h"
#include "engine/table.h"

namespace cw::engine {

// Distances between the cards of fanned piles, for one game and card size.
struct FanSteps {
    int downFaceUp = 0;    // vertical step after a face-up card
    int downFaceDown = 0;  // vertical step after a face-down card
    int rightFaceUp = 0;   // horizontal step after a face-up card
    int rightFaceDown = 0; // horizontal step after a face-down card
    int sideGap = 6;       // gap between cards laid side by side (style 4, 9)
    int stacked = 3;       // small step of the stacked reserve style 5
    int style6Step = 0;    // horizontal step of style 6
    int snakeGapX = 12;    // gaps of the snake style 8
    int snakeGapY = 8;
    int snakePerRow = 1; // cards in one row of the snake style 8
    friend bool operator==(const FanSteps&, const FanSteps&) = default;
};

// Fan steps of a game; `screenWidth` sizes the snake rows when the game leaves it to the screen.
FanSteps fanSteps(const catalog::Rules& rules, CardSize size, int screenWidth);

// Small horizontal offsets of "irregular piles": 7 rows of 13, drawn anew for each game.
struct IrregularOffsets {
    bool enabled = false;
    std::array<std::array<int, 13>, 7> rows{};
};
// Draws the offsets; `random4()` returns a value 0..3.
template <class Random>
IrregularOffsets makeIrregularOffsets(Random&& random4);

// Everything the card positions read besides the table: layout, steps and the fan styles.
struct TableGeometry {
    Geometry layout;
    FanSteps steps;
    int tableauStyle = 0;    // rule parameter 3 (11: per pile)
    int foundationStyle = 0; // rule parameter 4
    int reserveStyle = 0;    // rule parameter 5
    int mixedStyle = 0;      // rule parameter 6
    int reservePickup = 0;   // rule parameter 15
    int tableauCount = 0;
    int foundationCount = 0;
    int reserveCount = 0;
    bool wasteNeverTarget = false; // rule parameter 361 = 4
    IrregularOffsets irregular;

    // The fan style one pile is drawn with; 0 for piles drawn stacked on their corner.
    int styleOf(PileRef pile) const;
};

TableGeometry makeTableGeometry(const catalog::Rules& rules, const Geometry& layout, CardSize size, int screenWidth);

// Top-left corner of the card at `index` (from the bottom) of a pile; an index beyond the top
// gives the place the next card would take. Not-present piles give a not-present point.
Point cardPosition(const TableGeometry& tg, const Table& table, PileRef pile, int index);

// What lies under a point.
struct Hit {
    PileRef pile{}; // kind Unknown when no pile
    int index = -1; // position in the pile, -1 when no card
    int code = 0;   // card code, 0 when none
    Rect rect{};    // the card's rectangle, else the pile's first card place; zeros for no pile
    bool found() const { return pile.kind != PileKind::Unknown; }
    friend bool operator==(const Hit&, const Hit&) = default;
};

// The pile and card under (x, y). Where cards overlap, the one drawn on top wins. With
// `anyPile` a tableau pile or reserve is reported even when no card lies under the point.
Hit hitTest(const TableGeometry& tg, const Table& table, int x, int y, bool anyPile = false);

// A pile (or, for the index-placed styles 8 and 9, one position of it) under a dragged card.
struct DropCandidate {
    PileRef pile{};
    int position = -1; // the position for styles 8 and 9, else -1
    int area = 0;      // shared pixels with the dragged card
    friend bool operator==(const DropCandidate&, const DropCandidate&) = default;
};

// Every pile whose next-card place overlaps `drag`, best first: larger area, then the higher
// pile kind (reserve, foundation, tableau, waste), then the higher pile number (and the higher
// position). `foundationsOnly` keeps only foundations (games whose first move must go there).
// The caller tries the first kMaxDropTries in turn.
inline constexpr int kMaxDropTries = 4;
std::vector<DropCandidate> dropCandidates(const TableGeometry& tg, const Table& table, const Rect& drag,
                                          bool foundationsOnly = false);

// Lowest table Y any drawn card or pile marker reaches (what the scroll bar has to show).
int neededHeight(const TableGeometry& tg, const Table& table);

// ---- Vertical scroll bar ----

// Whether the game may show a scroll bar: the option is on and the tableau fans downward
// (styles 1, 8, 12), the reserves use style 13, or it is special game 53.
bool scrollBarAllowed(const GameRules& rules, bool optionOn);

struct ScrollState {
    bool shown = false;
    int position = 0;
    int maximum = 100;
    int bitmapHeight = 0; // height of the off-screen table pictures
    friend bool operator==(const ScrollState&, const ScrollState&) = default;
};

enum class ScrollChange { None, Grown, Hidden };

struct ScrollDecision {
    ScrollChange change = ScrollChange::None;
    ScrollState state;
    bool relayout = false; // the table must be laid out and repainted again
};

// One evaluation of the scroll bar after a repaint. `needed` is the needed height, `cardHeight`
// H. The bar is shown and the pictures grown while the table is taller than the client area;
// it is hidden (position 0, maximum 100) when not allowed or no longer needed. Evaluating again
// with the same height changes nothing.
ScrollDecision evaluateScrollBar(bool allowed, int needed, int clientHeight, int cardHeight,
                                 const ScrollState& current);

// A scroll position kept within 0 .. maximum.
int clampScroll(int position, const ScrollState& state);

// ---- Template definition ----

template <class Random>
IrregularOffsets makeIrregularOffsets(Random&& random4)
{
    IrregularOffsets out;
    out.enabled = true;
    for (auto& row : out.rows) {
        row[0] = 0;
        int prev = random4();
        int sum = 0;
        for (int i = 1; i < 13; ++i) {
            int c = random4();
            if ((prev == 3 && c == 3) || (prev <= 2 && (c == 1 || c == 2)))
                c = 0;
            const int d = c <= 2 ? c : -1;
            sum += d;
            if (sum >= 3) {
                row[static_cast<std::size_t>(i)] = d - 2;
                sum -= 2;
            } else if (sum < -2) {
                row[static_cast<std::size_t>(i)] = d + 2;
                sum += 2;
            } else {
                row[static_cast<std::size_t>(i)] = d;
            }
            prev = c;
        }
    }
    return out;
}

} // namespace cw::engine
